#pragma once

#include <span>

#include "command/verb.h"

namespace kelpo::app {

using VerbRegistrar = Verb (*)(CLI::App& parent);

// Parses the command line against the verbs `registrars` add, in that order,
// runs the one named and leaves the process with its status. Messages go to
// stderr as "kelpo-widget VERB: what is wrong".
[[nodiscard]] int runCommand(int argc, char** argv, std::span<const VerbRegistrar> registrars);

}  // namespace kelpo::app
