#include "launcher/man_page.h"

namespace kelpo::app {
namespace {

[[nodiscard]] std::string verbatimBlock(std::string_view text) {
  return ".nf\n" + roffVerbatim(text) + ".fi\n";
}

// What `usage --help` prints. The formatter is asked directly: App::help
// would describe the verb that was parsed (the one writing this page).
[[nodiscard]] std::string helpText(const CLI::App& app, const std::string& usage) {
  return app.get_formatter()->make_help(&app, usage, CLI::AppFormatMode::Normal);
}

}  // namespace

std::string roffVerbatim(std::string_view text) {
  std::string roff;
  bool lineStart = true;
  for (const char c : text) {
    if (lineStart && (c == '.' || c == '\'')) roff += "\\&";
    lineStart = c == '\n';
    switch (c) {
      case '\\':
        roff += "\\e";
        break;
      case '-':
        roff += "\\-";
        break;
      default:
        roff += c;
    }
  }
  if (!roff.empty() && roff.back() != '\n') roff += '\n';
  return roff;
}

std::string manPage(const CLI::App& command, std::string_view version) {
  const std::string& name = command.get_name();
  std::string page = ".TH " + roffVerbatim(name);
  page.pop_back();
  page += R"( 1 "" ")" + roffVerbatim(name + " " + std::string(version));
  page.pop_back();
  page += "\" \"User Commands\"\n";
  page += ".SH NAME\n" + roffVerbatim(name + " - " + command.get_description());
  page += ".SH SYNOPSIS\n.B " + roffVerbatim(name) + ".I VERB\n[\\fIOPTIONS\\fR]\n";
  page += ".SH DESCRIPTION\n" + verbatimBlock(helpText(command, name));
  page += ".SH VERBS\n";
  const auto verbs =
      command.get_subcommands([](const CLI::App* verb) { return !verb->get_group().empty(); });
  for (const CLI::App* verb : verbs) {
    page += ".SS " + roffVerbatim(verb->get_name()) +
            verbatimBlock(helpText(*verb, name + " " + verb->get_name()));
  }
  return page;
}

}  // namespace kelpo::app
