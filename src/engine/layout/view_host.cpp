#include "engine/layout/view_host.h"

#include <algorithm>

namespace kelpo::ui {

namespace {

// Bounds on callbacks that keep triggering each other, so that a view that
// changes its state on every appearance or a task that reschedules itself
// at once cannot hang a frame.
constexpr int maximumRebuildsPerFrame = 8;
constexpr int maximumTasksPerAdvance = 10000;

}  // namespace

// What callbacks see of the host: its clock and its task queue.
class ViewHost::Context final : public ActionContext {
 public:
  explicit Context(ViewHost& host) : host_(host) {}
  [[nodiscard]] double secondsSinceAppear() const override { return host_.clock_->seconds; }
  void schedule(double delaySeconds, std::function<void(ActionContext&)> task) override {
    host_.schedule(delaySeconds, std::move(task));
  }

 private:
  ViewHost& host_;
};

ViewHost::ViewHost(RootBuilder root, Environment environment, const TextMeasurer& measurer)
    : root_(std::move(root)),
      environment_(std::move(environment)),
      measurer_(measurer),
      clock_(std::make_shared<HostClock>()),
      state_(clock_) {}

ViewHost::ViewHost(View root, Environment environment, const TextMeasurer& measurer)
    : ViewHost([root = std::move(root)](const Environment&) { return root; },
               std::move(environment), measurer) {}

ViewHost::~ViewHost() = default;

void ViewHost::schedule(double delaySeconds, std::function<void(ActionContext&)> task) {
  tasks_.push_back(
      {clock_->seconds + std::max(0.0, delaySeconds), nextTaskOrder_++, std::move(task)});
}

void ViewHost::runTasksDueBy(double seconds) {
  for (int run = 0; run < maximumTasksPerAdvance; ++run) {
    const auto next =
        std::min_element(tasks_.begin(), tasks_.end(), [](const auto& a, const auto& b) {
          return a.due != b.due ? a.due < b.due : a.order < b.order;
        });
    if (next == tasks_.end() || next->due > seconds) break;
    ScheduledTask task = std::move(*next);
    tasks_.erase(next);
    clock_->seconds = std::max(clock_->seconds, task.due);
    Context context(*this);
    task.task(context);
  }
  clock_->seconds = std::max(clock_->seconds, seconds);
}

LaidOutWidget ViewHost::frameAt(double secondsSinceAppear) {
  runTasksDueBy(secondsSinceAppear);
  WidgetBuild build;
  for (int attempt = 0; attempt < maximumRebuildsPerFrame; ++attempt) {
    build = buildWidget(root_(environment_), environment_, measurer_, state_);
    std::vector<AppearRequest> appearing;
    std::unordered_set<std::string> present;
    for (auto& request : build.appears) {
      present.insert(request.identity);
      if (!appeared_.contains(request.identity)) appearing.push_back(std::move(request));
    }
    appeared_ = std::move(present);
    if (appearing.empty()) break;
    // Cells are dropped only while building, so the sum of their
    // revisions grows exactly when a callback changed one.
    const std::uint64_t revisionBefore = state_.revision();
    Context context(*this);
    for (const auto& request : appearing) request.action(context);
    runTasksDueBy(clock_->seconds);
    // A callback that only scheduled work (a badge resetting its sweep to
    // where it already is, then waiting) leaves this frame as it was.
    if (state_.revision() == revisionBefore) break;
  }
  hoverRegions_ = std::move(build.hovers);
  return std::move(build.widget);
}

bool ViewHost::isMoving() const {
  return !tasks_.empty() || state_.isAnimatingAt(clock_->seconds);
}

void ViewHost::updateHovered(const std::unordered_set<std::string>& nowHovered) {
  Context context(*this);
  // Leaving first, then entering, each in the order of the tree.
  for (const auto& region : hoverRegions_)
    if (hovered_.contains(region.identity) && !nowHovered.contains(region.identity))
      region.action(false, context);
  for (const auto& region : hoverRegions_)
    if (!hovered_.contains(region.identity) && nowHovered.contains(region.identity))
      region.action(true, context);
  hovered_ = nowHovered;
}

void ViewHost::hover(Point location) {
  std::unordered_set<std::string> under;
  for (const auto& region : hoverRegions_)
    if (region.frame.contains(location)) under.insert(region.identity);
  updateHovered(under);
}

void ViewHost::hoverEnd() {
  updateHovered({});
}

}  // namespace kelpo::ui
