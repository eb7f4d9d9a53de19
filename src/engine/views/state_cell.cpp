#include "engine/views/state_cell.h"

#include <iterator>

#include "engine/views/animation_curve.h"

namespace kelpo::ui {

double StateHandle::Cell::valueAt(double seconds) const {
  if (!animation) return target;
  const double progress = animationProgress(*animation, seconds - changedAt);
  return from + (target - from) * progress;
}

double StateHandle::value() const {
  return cell_->valueAt(cell_->clock->seconds);
}

void StateHandle::set(double target, const Transaction& transaction) const {
  const double now = cell_->clock->seconds;
  if (transaction.animation || cell_->animation || target != cell_->target) ++cell_->revision;
  cell_->from = cell_->valueAt(now);
  cell_->target = target;
  cell_->changedAt = now;
  cell_->animation = transaction.animation;
}

std::shared_ptr<StateHandle::Cell> StateStore::cell(const std::string& identity, double initial) {
  Entry& entry = cells_[identity];
  if (!entry.cell) {
    entry.cell = std::make_shared<StateHandle::Cell>();
    entry.cell->clock = clock_;
    entry.cell->from = initial;
    entry.cell->target = initial;
    entry.cell->changedAt = clock_->seconds;
  }
  entry.used = true;
  return entry.cell;
}

bool StateStore::isAnimatingAt(double seconds) const {
  for (const auto& [identity, entry] : cells_) {
    const auto& animation = entry.cell->animation;
    if (animation && seconds - entry.cell->changedAt < animation->duration) return true;
  }
  return false;
}

void StateStore::beginBuild() {
  for (auto& [identity, entry] : cells_) entry.used = false;
}

void StateStore::dropUnused() {
  for (auto it = cells_.begin(); it != cells_.end();)
    it = it->second.used ? std::next(it) : cells_.erase(it);
}

std::uint64_t StateStore::revision() const {
  std::uint64_t sum = 0;
  for (const auto& [identity, entry] : cells_) sum += entry.cell->revision;
  return sum;
}

}  // namespace kelpo::ui
