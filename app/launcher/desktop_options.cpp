#include "launcher/desktop_options.h"

#include "command/verb.h"

namespace kelpo::app {

CLI::App& addDesktopVerbCommand(CLI::App& parent, DesktopOptions& options) {
  CLI::App& verb = addVerbCommand(parent, "desktop", "Show the widget on the desktop");
  verb.footer(
      "Options not given are read from $XDG_CONFIG_HOME/app.kelpo.widget/desktop.ini, group "
      "[desktop], keys family (a list: family=small;medium shows two instances), corner, margin, "
      "monitor, appearance and reduce-motion; the command line wins key by key. The widgets a "
      "person placed (menu, drags) are kept there as [instance N] groups (size, monitor, corner, "
      "offset-x, offset-y) and come back at the next start unless --family, --corner, --margin "
      "or --monitor say otherwise.\n"
      "One host runs per session: a second `desktop` asks the first to reload and exits with "
      "status 1. `kelpo-widget reload` does the same on its own. SIGINT or SIGTERM stop it "
      "(status 0).");
  addCommonOptions(verb, options.common);
  verb.add_option("--family", options.families,
                  "small or medium; repeat it for several instances (default: medium)")
      ->type_name("FAMILY")
      ->take_last()
      ->expected(1)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  verb.add_option("--corner", options.corner,
                  "top-left, top-right, bottom-left or bottom-right (default: top-right)")
      ->type_name("CORNER");
  verb.add_option("--margin", options.margin,
                  "Points from the screen's edges, and between instances (default: 24)")
      ->type_name("N");
  verb.add_option("--monitor", options.monitor,
                  "Monitor connector name (HDMI-1) or number (default: the primary one)")
      ->type_name("MONITOR");
  verb.add_option("--appearance", options.appearance,
                  "auto (the desktop's preference), light or dark (default: auto)")
      ->type_name("MODE");
  verb.add_option("--reduce-motion", options.reduceMotion,
                  "auto (GTK's animation setting), on or off (default: auto)")
      ->type_name("MODE");
  CLI::Option* install =
      verb.add_flag("--install-autostart", options.installAutostart,
                    "Start the widget at login, with the options given alongside, and exit");
  verb.add_flag("--remove-autostart", options.removeAutostart,
                "Stop starting the widget at login, and exit")
      ->excludes(install);
  return verb;
}

CLI::App& addReloadVerbCommand(CLI::App& parent) {
  return addVerbCommand(parent, "reload", "Ask the widget on the desktop to reload now");
}

}  // namespace kelpo::app
