#include "snapshot/snapshot_store.h"

#include <utility>

#include "base/files/bounded_file.h"
#include "snapshot/snapshot_json.h"
#include "widget/widget_preferences.h"

namespace kelpo {

WidgetSnapshot defaultSnapshot(Instant now) {
  WidgetSnapshot snapshot;
  snapshot.nextSearch = now;
  return snapshot;
}

SnapshotStore::SnapshotStore(std::optional<std::filesystem::path> container,
                             Preferences& preferences, const Clock& clock)
    : container_(std::move(container)), preferences_(preferences), clock_(clock) {}

std::optional<std::filesystem::path> SnapshotStore::snapshotFilePath() const {
  if (!container_) return std::nullopt;
  return *container_ / snapshotFileName;
}

std::optional<WidgetSnapshot> SnapshotStore::readStoredSnapshot() const {
  const auto location = snapshotFilePath();
  if (!location) return std::nullopt;
  const auto content = readSmallRegularFile(*location, maxSnapshotBytes);
  if (!content) return std::nullopt;
  auto decoded = decodeSnapshot(*content);
  if (!decoded.ok()) return std::nullopt;
  return std::move(decoded).value();
}

WidgetSnapshot SnapshotStore::loadSnapshot() const {
  auto stored = readStoredSnapshot();
  WidgetSnapshot snapshot = stored ? std::move(*stored) : defaultSnapshot(clock_.now());
  preferences_.setString(accentPreferenceKey, snapshot.accent);
  return snapshot;
}

}  // namespace kelpo
