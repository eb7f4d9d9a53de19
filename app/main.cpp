// kelpo-widget: the widget's command. Each verb answers one question the
// desktop or a developer asks of the widget; see verbs.h for the list.

#include <vector>

#include "command/run_command.h"
#include "command/verbs.h"

int main(int argc, char** argv) {
  using namespace kelpo::app;
  std::vector<VerbRegistrar> registrars(verbRegistrars.begin(), verbRegistrars.end());
  registrars.push_back(&addGenerateVerb);
  return runCommand(argc, argv, registrars);
}
