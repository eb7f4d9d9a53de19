#pragma once

// Runs a widget's views over time: keeps their state, drives their
// animations and scheduled tasks on a clock of its own, fires their appear
// and hover callbacks, and lays them out for any moment.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "engine/layout/layout_tree.h"
#include "engine/layout/widget_layout.h"
#include "engine/text/text_layout.h"
#include "engine/views/environment.h"
#include "engine/views/state_cell.h"
#include "engine/views/view.h"

namespace kelpo::ui {

class ViewHost {
 public:
  using RootBuilder = std::function<View(const Environment&)>;

  // `measurer` must outlive the host.
  ViewHost(RootBuilder root, Environment environment, const TextMeasurer& measurer);
  ViewHost(View root, Environment environment, const TextMeasurer& measurer);
  ViewHost(const ViewHost&) = delete;
  ViewHost& operator=(const ViewHost&) = delete;
  ~ViewHost();

  // Moves the clock to `secondsSinceAppear` (never backwards), running the
  // tasks due by then in time order, and lays the views out at that time.
  // Views that appear in a frame get their onAppear callbacks right after
  // it is built, and the frame is built again when they changed any state.
  [[nodiscard]] LaidOutWidget frameAt(double secondsSinceAppear);

  // Moves the clock to `secondsSinceAppear` without building a frame, so
  // that what the next callback starts begins now, not at the last frame.
  void advanceTo(double secondsSinceAppear) { runTasksDueBy(secondsSinceAppear); }

  // The pointer is at `location` (widget points) / left the widget: views
  // it entered or left, in the last frame built, get onHover(true / false).
  void hover(Point location);
  void hoverEnd();

  [[nodiscard]] double secondsSinceAppear() const { return clock_->seconds; }

  // Later frames are built in `environment` (a new appearance, say); the
  // views' state, their tasks and the clock carry on.
  void setEnvironment(Environment environment) { environment_ = std::move(environment); }
  [[nodiscard]] const Environment& environment() const { return environment_; }

  // Whether a later frame could differ from the last one without any outside
  // event: a task is waiting or a value is still animating. A host draws
  // frames on its display's clock only while this holds.
  [[nodiscard]] bool isMoving() const;

 private:
  class Context;
  struct ScheduledTask {
    double due = 0;
    std::uint64_t order = 0;
    std::function<void(ActionContext&)> task;
  };

  void schedule(double delaySeconds, std::function<void(ActionContext&)> task);
  void runTasksDueBy(double seconds);
  void updateHovered(const std::unordered_set<std::string>& nowHovered);

  RootBuilder root_;
  Environment environment_;
  const TextMeasurer& measurer_;
  std::shared_ptr<HostClock> clock_;
  StateStore state_;
  std::vector<ScheduledTask> tasks_;
  std::uint64_t nextTaskOrder_ = 0;
  std::unordered_set<std::string> appeared_;
  std::vector<HoverRegion> hoverRegions_;
  std::unordered_set<std::string> hovered_;
};

}  // namespace kelpo::ui
