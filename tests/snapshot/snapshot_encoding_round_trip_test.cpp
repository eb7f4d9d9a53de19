#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "snapshot/snapshot_json.h"

namespace kelpo {
namespace {

[[nodiscard]] WidgetSnapshot::Item item(const char* id, std::string title, Gallery gallery) {
  return {*Uuid::parse(id), std::move(title), 8, gallery, "Pixelbarn · 30 min", true};
}

[[nodiscard]] WidgetSnapshot fullSnapshot() {
  WidgetSnapshot snapshot;
  snapshot.toSort = {item("3f2504e0-4f89-41d3-9a0c-0305e82c3301", "Nuages", Gallery::stack),
                     item("7C9E6679-7425-40DE-944B-E07FC1F90AE7", "Boucles", Gallery::list)};
  snapshot.toSortCount = 12;
  snapshot.program = {item("16FD2706-8BAF-433B-82EB-8C7FADA847DA", "Typo", Gallery::surface)};
  snapshot.programCount = 1;
  snapshot.weekDone = 135;
  snapshot.weekPlanned = -45;
  snapshot.weekBudget = std::numeric_limits<std::int64_t>::max();
  snapshot.weekDoneCount = std::numeric_limits<std::int64_t>::min();
  snapshot.weekLabel = "2 h 15 / 5 h";
  snapshot.weekLeftLabel = "2 h 45";
  snapshot.weekBudgetLabel = "5 h";
  snapshot.nextSearch = std::chrono::sys_days(std::chrono::year(2025) / 3 / 10) +
                        std::chrono::hours(8) + std::chrono::microseconds(250);
  snapshot.searching = true;
  snapshot.accent = "Framboise";
  return snapshot;
}

// Every field, then text that needs escaping in each text field, in both
// forms; no control character reaches the output unescaped.
TEST(SnapshotEncoding, RoundTripsEveryFieldAndTextThatNeedsEscaping) {
  WidgetSnapshot snapshot = fullSnapshot();
  for (const std::string& text :
       {std::string("Nuages"), std::string("\"quoted\" \\ back\\slash /"),
        std::string("new\nline\ttab\rreturn\b\f"), std::string("nul\0inside", 10),
        std::string("\x01\x1f\x7f"), std::string("L’été · 30 min — ✓ 🦭"),
        std::string("\u2028\u2029"), std::string()}) {
    snapshot.toSort[0].title = text;
    snapshot.toSort[0].detail = text;
    snapshot.weekLabel = text;
    snapshot.weekLeftLabel = text;
    snapshot.accent = text;
    for (const bool pretty : {true, false}) {
      const std::string json = encodeSnapshot(snapshot, pretty);
      for (const char c : json)
        ASSERT_TRUE(static_cast<unsigned char>(c) >= 0x20 || (pretty && c == '\n')) << json;
      const auto decoded = decodeSnapshot(json);
      ASSERT_TRUE(decoded.ok()) << decoded.error().describe() << "\n" << json;
      EXPECT_EQ(decoded.value(), snapshot);
    }
  }
}

// The pretty form's layout is the typical file's, which the decoding test
// writes back byte for byte.
TEST(SnapshotEncoding, LeavesAbsentOptionalFieldsOut) {
  EXPECT_EQ(encodeSnapshot(WidgetSnapshot{}).find("null"), std::string::npos);
}

}  // namespace
}  // namespace kelpo
