#pragma once

#include "command/verb.h"

namespace kelpo::app {

// The desktop host's two verbs: they take the same command line as the
// command's `desktop` and `reload`, which hand it over unchanged, and do the
// work.
Verb addDesktopHostVerb(CLI::App& parent);
Verb addReloadHostVerb(CLI::App& parent);

}  // namespace kelpo::app
