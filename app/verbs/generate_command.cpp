// kelpo-widget generate: the files an install puts beside the command (the
// desktop entries and the manual page), written by the build from the same
// texts the command itself uses, so they never drift from it. Hidden: it is
// for the build, not for people.

#include <fstream>
#include <iostream>
#include <memory>
#include <string>

#include "base/files/resource_directory.h"
#include "command/command_error.h"
#include "command/verbs.h"
#include "launcher/desktop_entry.h"
#include "launcher/man_page.h"

namespace kelpo::app {
namespace {

struct GenerateOptions {
  std::string what;
  std::string output;  // empty: standard output
};

[[nodiscard]] std::string generatedText(const std::string& what, const CLI::App& command) {
  const auto phrases = widgetResourceDirectory() / "phrases";
  if (what == "application-entry") {
    return desktopEntryText(DesktopEntryRole::application, {}, phrases);
  }
  if (what == "autostart-entry") return desktopEntryText(DesktopEntryRole::autostart, {}, phrases);
  return manPage(command, KELPO_VERSION);
}

int runGenerate(const GenerateOptions& options, const CLI::App& command) {
  const std::string text = generatedText(options.what, command);
  if (options.output.empty()) {
    std::cout << text;
    return 0;
  }
  std::ofstream file(options.output, std::ios::binary | std::ios::trunc);
  file << text;
  file.close();
  if (!file) throw CommandError("cannot write " + options.output);
  return 0;
}

}  // namespace

Verb addGenerateVerb(CLI::App& parent) {
  auto options = std::make_shared<GenerateOptions>();
  CLI::App& verb = addVerbCommand(parent, "generate", "Write a file the install puts in place");
  verb.group("");
  verb.add_option("what", options->what, "application-entry, autostart-entry or man-page")
      ->required()
      ->check(CLI::IsMember({"application-entry", "autostart-entry", "man-page"}));
  verb.add_option("--output", options->output, "The file to write (default: standard output)")
      ->type_name("FILE");
  return Verb{&verb, [options, &parent] { return runGenerate(*options, parent); }};
}

}  // namespace kelpo::app
