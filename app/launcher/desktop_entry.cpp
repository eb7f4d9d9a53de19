#include "launcher/desktop_entry.h"

#include <glib.h>

#include <algorithm>
#include <system_error>
#include <vector>

#include "base/locale/phrases.h"
#include "command/command_error.h"
#include "timeline/widget_declaration.h"

namespace kelpo::app {
namespace {

// Characters that make an Exec argument need quotes.
constexpr std::string_view reservedInExec = " \t\n\"'\\><~|&;$*?#()`";
// Characters escaped with a backslash inside a quoted Exec argument.
constexpr std::string_view escapedInQuotes = "\"`$\\";

void checkArgument(std::string_view argument) {
  if (!g_utf8_validate(argument.data(), static_cast<gssize>(argument.size()), nullptr)) {
    throw CommandError("option \"" + std::string(argument) +
                       "\" is not UTF-8 text, which a desktop entry cannot hold");
  }
  const bool hasControl = std::ranges::any_of(argument, [](unsigned char c) {
    return (c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0x7f;
  });
  if (hasControl) {
    throw CommandError("option \"" + std::string(argument) +
                       "\" holds a control character, which a desktop entry cannot hold");
  }
}

[[nodiscard]] std::string quotedArgument(std::string_view argument) {
  const bool needsQuotes =
      argument.empty() || argument.find_first_of(reservedInExec) != std::string_view::npos;
  std::string quoted = needsQuotes ? "\"" : "";
  for (const char c : argument) {
    if (needsQuotes && escapedInQuotes.find(c) != std::string_view::npos) quoted += '\\';
    if (c == '%') quoted += '%';
    quoted += c;
  }
  if (needsQuotes) quoted += '"';
  return quoted;
}

// The escapes of a string value; a leading space would otherwise be dropped
// by readers.
[[nodiscard]] std::string escapedValue(std::string_view text) {
  std::string escaped;
  for (const char c : text) {
    switch (c) {
      case '\\':
        escaped += "\\\\";
        break;
      case '\n':
        escaped += "\\n";
        break;
      case '\t':
        escaped += "\\t";
        break;
      case '\r':
        escaped += "\\r";
        break;
      case ' ':
        escaped += escaped.empty() ? "\\s" : " ";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

// The locales of the phrase tables in `directory`, in name order ("en").
[[nodiscard]] std::vector<std::string> phraseTableLocales(const std::filesystem::path& directory) {
  std::vector<std::string> locales;
  std::error_code error;
  for (const auto& file : std::filesystem::directory_iterator(directory, error)) {
    if (file.path().extension() == ".po") locales.push_back(file.path().stem().string());
  }
  std::ranges::sort(locales);
  return locales;
}

// "Key=value" and, for each phrase table that translates the value,
// "Key[locale]=translation".
void addLocalizedKey(std::string& entry, std::string_view key, std::string_view text,
                     const std::filesystem::path& phrasesDirectory) {
  entry.append(key).append("=").append(escapedValue(text)).append("\n");
  for (const std::string& locale : phraseTableLocales(phrasesDirectory)) {
    const PhraseBook book = PhraseBook::forLocale(locale, phrasesDirectory);
    const std::string_view translation = book.lookup(text);
    if (translation == text) continue;
    entry.append(key).append("[" + locale + "]=").append(escapedValue(translation)).append("\n");
  }
}

}  // namespace

std::string desktopExecValue(std::span<const std::string> arguments) {
  std::string line;
  for (const std::string& argument : arguments) {
    checkArgument(argument);
    if (!line.empty()) line += ' ';
    line += quotedArgument(argument);
  }
  return escapedValue(line);
}

std::string desktopEntryText(DesktopEntryRole role, std::span<const std::string> desktopOptions,
                             const std::filesystem::path& phrasesDirectory) {
  std::vector<std::string> command{"kelpo-widget", "desktop"};
  command.insert(command.end(), desktopOptions.begin(), desktopOptions.end());

  std::string entry = "[Desktop Entry]\nType=Application\nVersion=1.4\n";
  addLocalizedKey(entry, "Name", KelpoWidget::displayName, phrasesDirectory);
  addLocalizedKey(entry, "Comment", KelpoWidget::description, phrasesDirectory);
  entry += "Icon=kelpo-widget\n";
  // Without the command (a package removed, its autostart entry kept as a
  // configuration file), the desktop skips the entry instead of failing.
  entry += "TryExec=kelpo-widget\n";
  entry += "Exec=" + desktopExecValue(command) + "\n";
  entry += "Terminal=false\n";
  switch (role) {
    case DesktopEntryRole::application:
      entry += "Categories=Utility;\nStartupNotify=false\n";
      break;
    case DesktopEntryRole::autostart:
      // Not NoDisplay: settings that list startup programs skip such entries,
      // and the user could no longer turn this one off there.
      entry += "X-GNOME-Autostart-enabled=true\n";
      break;
    case DesktopEntryRole::hiddenAutostart:
      entry += "Hidden=true\n";
      break;
  }
  return entry;
}

}  // namespace kelpo::app
