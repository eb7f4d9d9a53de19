#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "base/preferences/preferences.h"
#include "snapshot/snapshot_json.h"
#include "snapshot/snapshot_store.h"
#include "support/temporary_directory.h"
#include "timeline/provider.h"

namespace kelpo {
namespace {

using namespace std::chrono;
using testing_support::TemporaryDirectory;

constexpr Instant monday0659Utc{sys_days{year{2026} / March / 9} + hours{6} + minutes{59}};

// A provider over a temporary shared directory and preferences file, with
// a clock the test sets.
class ProviderTest : public testing::Test {
 protected:
  void writeSnapshot(const WidgetSnapshot& snapshot) {
    std::ofstream(directory_.path() / "widget.json") << encodeSnapshot(snapshot);
  }

  [[nodiscard]] WidgetSnapshot fileSnapshot(Instant nextSearch) const {
    WidgetSnapshot snapshot;
    snapshot.toSortCount = 12;
    snapshot.weekDone = 42;
    snapshot.nextSearch = nextSearch;
    snapshot.accent = "Lagune";
    return snapshot;
  }

  [[nodiscard]] Timeline requestTimeline() const {
    std::vector<Timeline> answers;
    provider_.timeline(TimelineContext{}, [&](Timeline t) { answers.push_back(std::move(t)); });
    EXPECT_EQ(answers.size(), 1u);
    return answers.at(0);
  }

  [[nodiscard]] Entry requestSnapshot(bool isPreview) const {
    std::vector<Entry> answers;
    provider_.snapshot(TimelineContext{.isPreview = isPreview},
                       [&](Entry e) { answers.push_back(std::move(e)); });
    EXPECT_EQ(answers.size(), 1u);
    return answers.at(0);
  }

  TemporaryDirectory directory_;
  Preferences preferences_{directory_.path() / "preferences.ini"};
  FixedClock clock_{monday0659Utc};
  SnapshotStore store_{directory_.path(), preferences_, clock_};
  Provider provider_{store_, clock_, CalendarContext("fr_FR", "Europe/Paris")};
};

// The timeline shows the file now and reloads at its next search, but never
// sooner than fifteen minutes from now; loading records the file's accent.
TEST_F(ProviderTest, ReloadsAtTheNextSearchButNeverSoonerThanFifteenMinutes) {
  const struct {
    const char* name;
    seconds nextSearchFromNow;
    seconds expectedReloadFromNow;
  } table[] = {
      {"three days ahead", days{3}, days{3}},
      {"an hour past", -hours{1}, seconds{900}},
      {"ten minutes ahead", minutes{10}, seconds{900}},
      {"exactly fifteen minutes ahead", seconds{900}, seconds{900}},
      {"just past fifteen minutes", seconds{901}, seconds{901}},
  };
  for (const auto& c : table) {
    SCOPED_TRACE(c.name);
    const WidgetSnapshot stored = fileSnapshot(monday0659Utc + c.nextSearchFromNow);
    writeSnapshot(stored);
    const Timeline timeline = requestTimeline();
    ASSERT_EQ(timeline.entries.size(), 1u);
    EXPECT_EQ(timeline.entries[0].date, monday0659Utc);
    EXPECT_EQ(timeline.entries[0].snapshot, stored);
    EXPECT_EQ(timeline.reloadDate, monday0659Utc + c.expectedReloadFromNow);
    EXPECT_EQ(preferences_.string("accent"), "Lagune");
  }
}

TEST_F(ProviderTest, PreviewShowsTheSampleEvenWithAFileAndOtherwiseTheFile) {
  const WidgetSnapshot stored = fileSnapshot(monday0659Utc + days{1});
  writeSnapshot(stored);
  const Entry preview = requestSnapshot(true);
  EXPECT_EQ(preview.date, monday0659Utc);
  EXPECT_EQ(preview.snapshot.toSortCount, 3);
  EXPECT_EQ(preview.snapshot.weekLabel, "2 h 15 / 5 h");
  EXPECT_EQ(preferences_.string("accent"), std::nullopt);  // previews never load

  const Entry real = requestSnapshot(false);
  EXPECT_EQ(real.date, monday0659Utc);
  EXPECT_EQ(real.snapshot, stored);
}

TEST_F(ProviderTest, PlaceholdersAreSamplesWithFreshIdsAndNeverLoad) {
  writeSnapshot(fileSnapshot(monday0659Utc + days{1}));
  const Entry first = provider_.placeholder(TimelineContext{});
  WidgetSnapshot second = provider_.placeholder(TimelineContext{}).snapshot;
  EXPECT_EQ(first.date, monday0659Utc);
  ASSERT_EQ(first.snapshot.toSort.size(), 3u);
  ASSERT_EQ(second.toSort.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_NE(first.snapshot.toSort[i].id, second.toSort[i].id);
    second.toSort[i].id = first.snapshot.toSort[i].id;
  }
  EXPECT_EQ(first.snapshot, second) << "only the ids differ";
  EXPECT_EQ(preferences_.string("accent"), std::nullopt);
}

}  // namespace
}  // namespace kelpo
