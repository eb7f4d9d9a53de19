// kelpo-widget reload: asks the widget shown on the desktop to read its
// snapshot again now.

#include <iostream>
#include <memory>
#include <string>

#include "command/command_error.h"
#include "command/verbs.h"
#include "desktop/desktop_options.h"
#include "platform/desktop/desktop_host.h"

namespace kelpo::app {

Verb addReloadVerb(CLI::App& parent) {
  CLI::App& verb = addReloadVerbCommand(parent);
  return Verb{&verb, [] {
                if (const Status asked = desktop::askRunningHostToReload(); !asked) {
                  throw CommandError(asked.error());
                }
                return 0;
              }};
}

}  // namespace kelpo::app
