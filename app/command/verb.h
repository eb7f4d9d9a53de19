#pragma once

#include <CLI/CLI.hpp>
#include <functional>
#include <string>

namespace kelpo::app {

// One verb of the command: its parser and what it does once parsed. `run`
// returns the exit status; it may throw CommandError for a message to the
// user.
struct Verb {
  CLI::App* command = nullptr;
  std::function<int()> run;
};

// Adds a verb named `name` to `parent`, with --help and --version.
[[nodiscard]] CLI::App& addVerbCommand(CLI::App& parent, const std::string& name,
                                       const std::string& description);

}  // namespace kelpo::app
