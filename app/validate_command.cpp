// kelpo-widget validate: checks a widget.json the way the widget reads it and
// says "ok" or where the first problem is.

#include <filesystem>
#include <iostream>
#include <memory>
#include <system_error>

#include "command_error.h"
#include "common_options.h"
#include "platform/bounded_file.h"
#include "platform/shared_container.h"
#include "snapshot/snapshot_json.h"
#include "snapshot/snapshot_store.h"
#include "verbs.h"

namespace kelpo::app {
namespace {

struct ValidateOptions {
  CommonOptions common;
  std::filesystem::path file;
};

[[nodiscard]] std::filesystem::path defaultSnapshotFile() {
  const auto container = sharedContainerDirectory();
  if (!container) {
    throw CommandError(
        "no shared directory: set KELPO_APP_GROUP_DIR or create "
        "$XDG_DATA_HOME/group.app.kelpo, or name a file");
  }
  return *container / snapshotFileName;
}

// Why the widget would not read `file`, worked out after the fact from its
// status (which never opens it, so a FIFO cannot block here either).
[[nodiscard]] std::string unreadableReason(const std::filesystem::path& file) {
  std::error_code error;
  const auto status = std::filesystem::status(file, error);
  if (status.type() == std::filesystem::file_type::not_found) return "no such file";
  if (error) return error.message();
  if (status.type() != std::filesystem::file_type::regular) return "not a regular file";
  const auto size = std::filesystem::file_size(file, error);
  if (!error && size > maxSnapshotBytes) return "larger than 8 MiB";
  return "cannot be read";
}

int runValidate(const ValidateOptions& options) {
  // The common options change nothing here, but bad values are still
  // reported like everywhere else.
  (void)resolveContext(options.common);
  const std::filesystem::path file = options.file.empty() ? defaultSnapshotFile() : options.file;
  const auto content = readSmallRegularFile(file, maxSnapshotBytes);
  if (!content) throw CommandError(file.string() + ": " + unreadableReason(file));

  const DecodeResult result = decodeSnapshot(*content);
  if (!result.ok()) {
    std::cerr << file.filename().string() << ": " << result.error().describe() << '\n';
    return 1;
  }
  std::cout << "ok\n";
  return 0;
}

}  // namespace

Verb addValidateVerb(CLI::App& parent) {
  auto options = std::make_shared<ValidateOptions>();
  CLI::App& verb = addVerbCommand(
      parent, "validate",
      "Check a widget.json (default: the shared directory's) and print \"ok\" or the first "
      "problem");
  addCommonOptions(verb, options->common);
  verb.add_option("file", options->file, "The file to check")->type_name("FILE");
  return Verb{&verb, [options] { return runValidate(*options); }};
}

}  // namespace kelpo::app
