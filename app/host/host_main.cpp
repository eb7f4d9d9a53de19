// kelpo-widget-desktop: the desktop host's own program. `kelpo-widget
// desktop` and `kelpo-widget reload` hand their command line over to it
// unchanged, so it answers those two verbs exactly as the command would.

#include <array>

#include "command/run_command.h"
#include "host/host_verbs.h"

int main(int argc, char** argv) {
  using namespace kelpo::app;
  constexpr std::array<VerbRegistrar, 2> registrars{&addDesktopHostVerb, &addReloadHostVerb};
  return runCommand(argc, argv, registrars);
}
