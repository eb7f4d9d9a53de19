#include "command/verb.h"

namespace kelpo::app {

CLI::App& addVerbCommand(CLI::App& parent, const std::string& name,
                         const std::string& description) {
  CLI::App* verb = parent.add_subcommand(name, description);
  verb->set_version_flag("--version", KELPO_VERSION);
  return *verb;
}

}  // namespace kelpo::app
