#include "command/run_command.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "command/command_error.h"

namespace kelpo::app {
namespace {

// CLI11 reports a first word that names no verb as a missing verb; say what
// the word was instead.
[[nodiscard]] bool namesUnknownVerb(std::string_view word, const std::vector<Verb>& verbs) {
  if (word.empty() || word.starts_with('-')) return false;
  for (const auto& verb : verbs) {
    if (verb.command->check_name(std::string(word))) return false;
  }
  return true;
}

[[nodiscard]] std::string verbNames(const std::vector<Verb>& verbs) {
  std::string names;
  for (const auto& verb : verbs) {
    if (verb.command->get_group().empty()) continue;  // hidden, for the build
    names += (names.empty() ? "" : ", ") + verb.command->get_name();
  }
  return names;
}

// Ends the process once a verb is done. What is left (the font
// configuration and font maps, ICU's data, the caches) is memory the system
// takes back at once, so after the output is flushed the process leaves
// without running the destructors that would free it piece by piece.
// Sanitizer builds return normally, so that the leak checker still sees
// every allocation released or suppressed.
[[nodiscard]] int leave(int status) {
#if defined(__SANITIZE_ADDRESS__)
  return status;
#else
  std::cout.flush();
  std::cerr.flush();
  if (std::fflush(nullptr) != 0 && status == 0) status = 1;
  std::_Exit(status);
#endif
}

}  // namespace

int runCommand(int argc, char** argv, std::span<const VerbRegistrar> registrars) {
  CLI::App command("The kelpo desktop widget: timelines, snapshots and checks.", "kelpo-widget");
  command.set_version_flag("--version", KELPO_VERSION);
  command.require_subcommand(1);

  std::vector<Verb> verbs;
  for (const auto addVerb : registrars) verbs.push_back(addVerb(command));

  if (argc > 1 && namesUnknownVerb(argv[1], verbs)) {
    std::cerr << "kelpo-widget: unknown verb \"" << argv[1] << "\" (verbs: " << verbNames(verbs)
              << ")\n";
    return 2;
  }

  try {
    command.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    return command.exit(error);
  }

  for (const Verb& verb : verbs) {
    if (!verb.command->parsed()) continue;
    try {
      return leave(verb.run());
    } catch (const CommandError& error) {
      std::cerr << "kelpo-widget " << verb.command->get_name() << ": " << error.what() << '\n';
    } catch (const std::exception& error) {
      std::cerr << "kelpo-widget " << verb.command->get_name() << ": " << error.what() << '\n';
    }
    return leave(1);
  }
  return 1;
}

}  // namespace kelpo::app
