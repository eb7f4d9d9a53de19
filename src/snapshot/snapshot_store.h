#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "base/preferences/preferences.h"
#include "base/time/clock.h"
#include "base/time/instant.h"
#include "snapshot/widget_snapshot.h"
#include "widget/shared_container.h"

namespace kelpo {

// The fallback record: every field at its default, the next search at `now`.
[[nodiscard]] WidgetSnapshot defaultSnapshot(Instant now);

// Reads widget.json from the shared container. Holds no state between loads:
// every load reads the file anew, and nothing is ever written into the
// container.
class SnapshotStore {
 public:
  // `container` is the shared container directory, or nothing when there is
  // none; `clock` dates the fallback record.
  SnapshotStore(std::optional<std::filesystem::path> container, Preferences& preferences,
                const Clock& clock);

  // The container with "widget.json" appended, or nothing without a container.
  [[nodiscard]] std::optional<std::filesystem::path> snapshotFilePath() const;

  // The decoded file, or the default record when there is no container, no
  // file, an unreadable or oversized file, or a document that does not decode;
  // never fails and says nothing. Either way the record's accent is written
  // to the "accent" preference before it is returned.
  WidgetSnapshot loadSnapshot() const;

 private:
  [[nodiscard]] std::optional<WidgetSnapshot> readStoredSnapshot() const;

  std::optional<std::filesystem::path> container_;
  Preferences& preferences_;
  const Clock& clock_;
};

}  // namespace kelpo
