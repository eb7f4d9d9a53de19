// kelpo-widget validate: checks a widget.json the way the widget reads it and
// says "ok" or where the first problem is.

#include <filesystem>
#include <iostream>
#include <memory>

#include "command/command_error.h"
#include "command/common_options.h"
#include "command/snapshot_file.h"
#include "command/verbs.h"
#include "snapshot/snapshot_json.h"
#include "snapshot/snapshot_store.h"
#include "widget/shared_container.h"

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

int runValidate(const ValidateOptions& options) {
  // The common options change nothing here, but bad values are still
  // reported like everywhere else.
  (void)resolveContext(options.common);
  const std::filesystem::path file = options.file.empty() ? defaultSnapshotFile() : options.file;
  const DecodeResult result = decodeSnapshot(readSnapshotFileContent(file));
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
