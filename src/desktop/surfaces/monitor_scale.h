#pragma once

// The scale the desktop gave the monitor a window shows on, for the host's
// report: GTK 3 gives only the whole number it draws at.

#include <gtk/gtk.h>

#include <functional>
#include <memory>
#include <optional>

namespace kelpo::desktop {

class WaylandOutputsQuestion;
class MutterLayoutQuestion;

// The monitor's scale: on Wayland its mode over its logical size, asked of
// the compositor without holding up the main loop (a compositor drawing in
// software can take seconds to answer while it draws); on X11 what the
// session's settings say (desktop/settings/display_scale.h), at once, but
// under XWayland what mutter says, asked likewise.
// `answered` is called once, with nothing when the compositor does not say
// or the window is not yet on a monitor; on X11 before the constructor
// returns (not under XWayland). Dropping the question drops its answer.
class MonitorScaleQuestion {
 public:
  using Answer = std::function<void(std::optional<double>)>;
  MonitorScaleQuestion(GtkWidget* window, Answer answered);
  MonitorScaleQuestion(const MonitorScaleQuestion&) = delete;
  MonitorScaleQuestion& operator=(const MonitorScaleQuestion&) = delete;
  ~MonitorScaleQuestion();

 private:
  std::unique_ptr<WaylandOutputsQuestion> asked_;
  std::unique_ptr<MutterLayoutQuestion> mutterAsked_;
};

}  // namespace kelpo::desktop
