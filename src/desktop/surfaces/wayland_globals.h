#pragma once

// Asks a Wayland compositor, before GTK opens its display, which globals it
// offers: the host chooses GDK's backend from the answer.

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "desktop/settings/display_scale.h"

namespace kelpo::desktop {

// Whether the compositor named by WAYLAND_DISPLAY offers the global
// `interfaceName`; none when no compositor answers within `patience` (no
// socket, or a peer that is not a Wayland compositor).
[[nodiscard]] std::optional<bool> waylandOffers(std::string_view interfaceName,
                                                std::chrono::milliseconds patience);

// The outputs of the compositor named by WAYLAND_DISPLAY, in the order it
// announces them, asked on a connection of our own: GTK 3 gives only an
// output's model, the same for every output of a kind. An output's name is
// empty when the compositor does not tell it (wl_output before version 4);
// the list is empty when no compositor answers within `patience`.
[[nodiscard]] std::vector<WaylandOutput> waylandOutputs(std::chrono::milliseconds patience);

// The same question, asked without waiting: the answer comes from GLib's
// main loop as soon as the compositor has told every output, or as nothing
// once it has taken `patience` (a compositor stuck, which must not keep the
// answer from coming) or the connection failed. Never within the
// constructor. Dropping the question drops its answer.
class WaylandOutputsQuestion {
 public:
  using Answer = std::function<void(std::optional<std::vector<WaylandOutput>>)>;
  WaylandOutputsQuestion(Answer answered, std::chrono::milliseconds patience);
  WaylandOutputsQuestion(const WaylandOutputsQuestion&) = delete;
  WaylandOutputsQuestion& operator=(const WaylandOutputsQuestion&) = delete;
  ~WaylandOutputsQuestion();

 private:
  struct Asking;
  std::unique_ptr<Asking> asking_;
};

}  // namespace kelpo::desktop
