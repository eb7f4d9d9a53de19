#pragma once

// What the desktop host is asked to show and how: read from the command line
// and from desktop.ini, checked before any window opens.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/desktop/settings/instance_place.h"
#include "platform/widget/widget_family.h"

namespace kelpo::desktop {

// `automatic` follows the desktop's preference.
enum class AppearanceChoice { automatic, light, dark };
enum class MotionChoice { automatic, on, off };

// Where the instances sit: stacked from one corner of a monitor, `margin`
// points from its edges and from each other.
struct Placement {
  Corner corner = Corner::topRight;
  double margin = 24;
  std::optional<int> monitor;  // none: the primary monitor (else the first)
};

struct HostSettings {
  std::vector<WidgetFamily> families{WidgetFamily::systemMedium};
  Placement placement;
  AppearanceChoice appearance = AppearanceChoice::automatic;
  MotionChoice reduceMotion = MotionChoice::automatic;
};

// The settings as words, the way a person wrote them; what is not given stays
// empty, so that the command line can win over the file key by key.
struct SettingWords {
  std::vector<std::string> families;
  std::optional<std::string> corner;
  std::optional<std::string> margin;
  std::optional<std::string> monitor;
  std::optional<std::string> appearance;
  std::optional<std::string> reduceMotion;
};

// $XDG_CONFIG_HOME/app.kelpo.widget/desktop.ini.
[[nodiscard]] std::filesystem::path defaultSettingsFile();

// The [desktop] group of a key file. A missing file gives no words; a file
// that cannot be parsed gives nothing and says why in `error`.
[[nodiscard]] std::optional<SettingWords> readSettingsFile(const std::filesystem::path& file,
                                                           std::string& error);

// The settings from the command line's words, else the file's, else the
// defaults. A word that names no value gives nothing and says which and why
// in `error`.
[[nodiscard]] std::optional<HostSettings> resolveSettings(const SettingWords& commandLine,
                                                          const SettingWords& file,
                                                          std::string& error);

}  // namespace kelpo::desktop
