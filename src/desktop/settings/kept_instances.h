#pragma once

// The widget instances a person set up, as desktop.ini keeps them between
// sessions: one group per instance, in the order they were added.
//
//   [instance 1]
//   size=medium
//   monitor=HDMI-A-1
//   corner=bottom-left
//   offset-x=24
//   offset-y=40
//
// "monitor" and the place (corner and both offsets) may be left out: the
// instance then shows on the primary monitor, stacked at the corner of the
// [desktop] group like the instances listed there by "family".
//
// A person may edit the file: a bad word costs that word only (a bad place
// stacks the instance, a bad monitor puts it on the primary one), a group
// with no size it can be costs that instance only, and the host's writes
// keep every comment and key it does not own where it stands.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/errors/result.h"
#include "desktop/settings/instance_place.h"
#include "desktop/settings/key_file_document.h"
#include "widget/widget_family.h"

namespace kelpo::desktop {

// The most instances shown at once: a file of thousands of groups would
// otherwise open thousands of windows. The rest are not shown, and a save
// drops them; adding one beyond this is refused.
inline constexpr std::size_t maxInstances = 12;

struct KeptInstance {
  WidgetFamily family = WidgetFamily::systemMedium;
  std::optional<std::string> monitor;  // a connector name, or a monitor's number
  std::optional<InstancePlace> place;  // none: stacked at the configured corner
  // The N of its [instance N] group in desktop.ini; 0 until it is saved.
  int group = 0;

  friend bool operator==(const KeptInstance&, const KeptInstance&) = default;
};

// The instance groups of a desktop.ini, in number order, and what in them
// could not be used, one phrase each ("[instance 2] size: ...").
struct ReadInstances {
  std::vector<KeptInstance> instances;
  std::vector<std::string> ignored;
};
[[nodiscard]] ReadInstances readKeptInstances(const KeyFileDocument& document);
[[nodiscard]] ReadInstances readKeptInstances(std::string_view text);

// A number of points from 0 to `largest` written as `word`, as margins and
// offsets are in desktop.ini and on the command line.
[[nodiscard]] std::optional<double> pointsNamed(std::string_view word, double largest);

// A key of the [desktop] group and its new value.
struct DesktopKey {
  std::string key;
  std::string value;
};

// `document` holding `instances` and `keys`: each instance's group gets its
// keys (a new instance a new group, at the end, numbered after the others);
// the groups of instances no longer there are removed with their comments;
// a group that could be no instance (no size it knows) stays as written, for
// the person to mend. Returns the instances with their groups.
[[nodiscard]] std::vector<KeptInstance> keepInstances(KeyFileDocument& document,
                                                      std::span<const KeptInstance> instances,
                                                      std::span<const DesktopKey> keys = {});

}  // namespace kelpo::desktop
