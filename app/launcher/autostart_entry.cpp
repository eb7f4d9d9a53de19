#include "launcher/autostart_entry.h"

#include <glib.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string_view>
#include <system_error>

#include "base/files/bounded_file.h"
#include "base/files/resource_directory.h"
#include "base/files/user_directories.h"
#include "command/command_error.h"
#include "launcher/desktop_entry.h"

namespace kelpo::app {
namespace {

struct ErrorRelease {
  void operator()(GError* error) const { g_error_free(error); }
};

[[nodiscard]] std::filesystem::path userEntry(const AutostartDirectories& directories) {
  return directories.user / desktopEntryFileName;
}

// The first system-wide entry a session would start, if any.
[[nodiscard]] std::optional<std::filesystem::path> systemEntry(
    const AutostartDirectories& directories) {
  for (const auto& directory : directories.system) {
    const auto entry = directory / desktopEntryFileName;
    std::error_code error;
    if (std::filesystem::is_regular_file(entry, error)) return entry;
  }
  return std::nullopt;
}

// g_file_set_contents_full writes a temporary file beside the target, syncs
// it and renames it over the target: a session starting meanwhile reads the
// old entry or the new one, never half of one.
void writeEntry(const AutostartDirectories& directories, const std::string& text) {
  std::error_code error;
  std::filesystem::create_directories(directories.user, error);
  if (error) {
    throw CommandError("cannot create the autostart directory " + directories.user.string() + ": " +
                       error.message());
  }
  const auto file = userEntry(directories);
  GError* rawError = nullptr;
  if (!g_file_set_contents_full(file.c_str(), text.data(), static_cast<gssize>(text.size()),
                                G_FILE_SET_CONTENTS_CONSISTENT, 0644, &rawError)) {
    const std::unique_ptr<GError, ErrorRelease> failure(rawError);
    throw CommandError("cannot write " + file.string() + ": " +
                       (failure ? failure->message : "unknown error"));
  }
}

[[nodiscard]] std::filesystem::path phrasesDirectory() {
  return widgetResourceDirectory() / "phrases";
}

}  // namespace

AutostartDirectories AutostartDirectories::fromEnvironment() {
  const auto config = userConfigDirectory();
  if (!config) {
    throw CommandError("no configuration directory: neither XDG_CONFIG_HOME nor a home is set");
  }
  AutostartDirectories directories{*config / "autostart", {}};
  const char* configDirs = std::getenv("XDG_CONFIG_DIRS");
  const std::string_view list =
      configDirs != nullptr && *configDirs != '\0' ? configDirs : "/etc/xdg";
  std::size_t start = 0;
  while (start <= list.size()) {
    const std::size_t end = std::min(list.find(':', start), list.size());
    const std::filesystem::path directory(list.substr(start, end - start));
    // Relative entries are ignored, as the XDG base-directory rules ask.
    if (directory.is_absolute()) directories.system.push_back(directory / "autostart");
    start = end + 1;
  }
  return directories;
}

bool startsAtLogin(const AutostartDirectories& directories) {
  // Read as every settings file is: a FIFO in its place is no entry.
  constexpr std::size_t largestEntry = 64 * 1024;
  if (const auto text = readSmallRegularFile(userEntry(directories), largestEntry)) {
    return text->find("\nHidden=true") == std::string::npos;
  }
  return systemEntry(directories).has_value();
}

void installAutostart(std::span<const std::string> desktopOptions,
                      const AutostartDirectories& directories, std::ostream& out) {
  const std::string text =
      desktopEntryText(DesktopEntryRole::autostart, desktopOptions, phrasesDirectory());
  writeEntry(directories, text);
  out << "autostart on: wrote " << userEntry(directories).string()
      << "; the widget starts at the next login\n";
}

void removeAutostart(const AutostartDirectories& directories, std::ostream& out) {
  const auto file = userEntry(directories);
  if (const auto shared = systemEntry(directories)) {
    writeEntry(directories,
               desktopEntryText(DesktopEntryRole::hiddenAutostart, {}, phrasesDirectory()));
    out << "autostart off: wrote " << file.string() << ", which keeps " << shared->string()
        << " from starting the widget\n";
    return;
  }
  std::error_code error;
  if (std::filesystem::remove(file, error)) {
    out << "autostart off: removed " << file.string() << '\n';
  } else if (error) {
    throw CommandError("cannot remove " + file.string() + ": " + error.message());
  } else {
    out << "autostart already off: there is no " << file.string() << '\n';
  }
}

void installAutostart(std::span<const std::string> desktopOptions, std::ostream& out) {
  installAutostart(desktopOptions, AutostartDirectories::fromEnvironment(), out);
}

void removeAutostart(std::ostream& out) {
  removeAutostart(AutostartDirectories::fromEnvironment(), out);
}

}  // namespace kelpo::app
