// kelpo-widget reload: asks the widget shown on the desktop to read its
// snapshot again now.

#include <iostream>
#include <memory>
#include <string>

#include "command/command_error.h"
#include "desktop/desktop_host.h"
#include "host/host_verbs.h"
#include "launcher/desktop_options.h"

namespace kelpo::app {

Verb addReloadHostVerb(CLI::App& parent) {
  CLI::App& verb = addReloadVerbCommand(parent);
  return Verb{&verb, [] {
                if (const Status asked = desktop::askRunningHostToReload(); !asked) {
                  throw CommandError(asked.error());
                }
                return 0;
              }};
}

}  // namespace kelpo::app
