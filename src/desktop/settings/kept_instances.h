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

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "desktop/settings/instance_place.h"
#include "base/errors/result.h"
#include "widget/widget_family.h"

namespace kelpo::desktop {

struct KeptInstance {
  WidgetFamily family = WidgetFamily::systemMedium;
  std::optional<std::string> monitor;  // a connector name, or a monitor's number
  std::optional<InstancePlace> place;  // none: stacked at the configured corner

  friend bool operator==(const KeptInstance&, const KeptInstance&) = default;
};

// The instance groups of desktop.ini's `text`, in order; none when it has
// none. A group that names no size, or a word no value has, fails naming
// the group and key.
[[nodiscard]] Result<std::vector<KeptInstance>> readKeptInstances(std::string_view text);

// A number of points from 0 to `largest` written as `word`, as margins and
// offsets are in desktop.ini and on the command line.
[[nodiscard]] std::optional<double> pointsNamed(std::string_view word, double largest);

// A key of the [desktop] group and its new value.
struct DesktopKey {
  std::string key;
  std::string value;
};

// `text` with its instance groups replaced by `instances` and `keys` set in
// its [desktop] group; every other group, key and comment is kept as
// written. Text that is not a key file fails, so a hand-edited file with a
// typo is never overwritten.
[[nodiscard]] Result<std::string> withKeptInstances(std::string_view text,
                                                    std::span<const KeptInstance> instances,
                                                    std::span<const DesktopKey> keys = {});

}  // namespace kelpo::desktop
