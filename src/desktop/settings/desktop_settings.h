#pragma once

// What the desktop host is asked to show and how: read from the command line
// and from desktop.ini, checked before any window opens, and written back
// when a person changes it from the widget's menu or by moving it.

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/errors/result.h"
#include "desktop/settings/instance_place.h"
#include "desktop/settings/kept_instances.h"
#include "widget/widget_family.h"

namespace kelpo::desktop {

// `automatic` follows the desktop's preference.
enum class AppearanceChoice { automatic, light, dark };
enum class MotionChoice { automatic, on, off };

// Where the instances with no place of their own sit: stacked from one
// corner of a monitor, `margin` points from its edges and from each other.
struct Placement {
  Corner corner = Corner::topRight;
  double margin = 24;
  // A monitor's connector name ("HDMI-A-1") or number; none: the primary
  // monitor (else the first).
  std::optional<std::string> monitor;
};

struct HostSettings {
  std::vector<KeptInstance> instances{KeptInstance{}};
  Placement placement;
  AppearanceChoice appearance = AppearanceChoice::automatic;
  MotionChoice reduceMotion = MotionChoice::automatic;
  // What the file held that the widgets show without, and how many
  // instances beyond maxInstances are not shown: told once at the start.
  std::vector<std::string> ignored;
  std::size_t unshownInstances = 0;
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
  // The file's [instance N] groups; the command line has none.
  std::vector<KeptInstance> instances;
  // What the file held that could not be used, one phrase each; its words
  // above are only the good ones.
  std::vector<std::string> ignored;
};

// $XDG_CONFIG_HOME/app.kelpo.widget/desktop.ini.
[[nodiscard]] std::filesystem::path defaultSettingsFile();

// The [desktop] and [instance N] groups of a key file, opened as every
// settings file of ours is (non-blocking, a regular file, bounded). Never
// fails, so that a typo never costs a person their widgets at login: a
// missing file gives no words; a file that cannot be read (a directory,
// over 64 KiB) gives none and says so; a bad word, line or instance group
// is left out and said in `ignored`.
[[nodiscard]] SettingWords readSettingsFile(const std::filesystem::path& file);

// The settings from the command line's words, else the file's, else the
// defaults. The instances are the command line's --family ones, else the
// file's instance groups, else its family list, at most maxInstances of
// them; a --corner or --margin on the command line puts them all at that
// corner, a --monitor on that monitor. A word of the command line that
// names no value fails, saying which and why; one of the file is left out.
[[nodiscard]] Result<HostSettings> resolveSettings(const SettingWords& commandLine,
                                                   const SettingWords& file);

// Why a save was refused for a file of mode 0444 and the like, at the end
// of the failure's message.
inline constexpr std::string_view readOnlyReason = "the file is read-only";

// Records `instances` and `appearance` in desktop.ini, atomically and with
// the file's mode; whatever else the file holds stays as written (see
// keepInstances). A link is written through to its target. A file that
// cannot be read, or that is read-only, is left alone and the save fails.
// Returns the instances with the groups they were saved in.
[[nodiscard]] Result<std::vector<KeptInstance>> saveSettings(
    const std::filesystem::path& file, std::span<const KeptInstance> instances,
    AppearanceChoice appearance);

// The word for an appearance in desktop.ini and on the command line.
[[nodiscard]] std::string_view appearanceName(AppearanceChoice appearance);

}  // namespace kelpo::desktop
