#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/time/instant.h"
#include "snapshot/uuid.h"

namespace kelpo {

// The gallery (kind) an item belongs to. Decoded and checked, never drawn.
enum class Gallery { stack, suggestion, list, surface };

inline constexpr std::array<Gallery, 4> allGalleries{Gallery::stack, Gallery::suggestion,
                                                     Gallery::list, Gallery::surface};

[[nodiscard]] std::string_view rawValue(Gallery gallery);
// Exact, case-sensitive match of the four raw values; nothing for any other text.
[[nodiscard]] std::optional<Gallery> galleryFromRawValue(std::string_view text);

// The record the host application writes as widget.json. Fields are in the
// order of the file format; every field but the next search has the default
// the fallback record uses. A value never reads the clock: defaultSnapshot()
// dates the fallback record with the instant its caller passes.
struct WidgetSnapshot {
  struct Item {
    Uuid id;
    std::string title;
    std::int64_t score = 0;
    Gallery gallery = Gallery::stack;
    std::string detail;
    bool unread = false;

    friend bool operator==(const Item&, const Item&) = default;
  };

  std::vector<Item> toSort;
  std::int64_t toSortCount = 0;
  std::vector<Item> program;
  std::int64_t programCount = 0;
  std::int64_t weekDone = 0;
  std::int64_t weekPlanned = 0;
  std::int64_t weekBudget = 300;
  std::optional<std::int64_t> weekDoneCount;
  std::string weekLabel;
  std::optional<std::string> weekLeftLabel;
  std::optional<std::string> weekBudgetLabel;
  Instant nextSearch{};
  bool searching = false;
  std::string accent = "Braise";

  friend bool operator==(const WidgetSnapshot&, const WidgetSnapshot&) = default;
};

}  // namespace kelpo
