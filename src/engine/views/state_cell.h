#pragma once

// View state kept by a view host: each cell holds one number and reads the
// host's clock, so that a value animating toward its target is interpolated
// at the time of the frame being built.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

#include "engine/views/view.h"

namespace kelpo::ui {

// The time of the frame being built, in seconds since the host's views
// appeared. Owned by the host and shared with its cells.
struct HostClock {
  double seconds = 0;
};

struct StateHandle::Cell {
  std::shared_ptr<const HostClock> clock;
  double from = 0;    // the value shown when the last change began
  double target = 0;  // the value set
  double changedAt = 0;
  std::optional<Animation> animation;
  // Counts the sets that changed what frames show (a value set to what it
  // already holds, with no animation either side, changes nothing).
  std::uint64_t revision = 0;

  [[nodiscard]] double valueAt(double seconds) const;
};

// The cells of one host, by view identity. A cell not asked for during a
// build is dropped, as state is when its view goes away.
class StateStore {
 public:
  explicit StateStore(std::shared_ptr<const HostClock> clock) : clock_(std::move(clock)) {}

  // The cell for `identity`, made with `initial` the first time.
  [[nodiscard]] std::shared_ptr<StateHandle::Cell> cell(const std::string& identity,
                                                        double initial);
  // Whether any cell's value still changes after `seconds`.
  [[nodiscard]] bool isAnimatingAt(double seconds) const;
  void beginBuild();
  void dropUnused();
  // Grows whenever a cell's shown value changes; unchanged between two
  // builds means a new build would read the same state.
  [[nodiscard]] std::uint64_t revision() const;

 private:
  struct Entry {
    std::shared_ptr<StateHandle::Cell> cell;
    bool used = false;
  };
  std::shared_ptr<const HostClock> clock_;
  std::unordered_map<std::string, Entry> cells_;
};

}  // namespace kelpo::ui
