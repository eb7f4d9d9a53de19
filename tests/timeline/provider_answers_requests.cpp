#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "platform/preferences.h"
#include "snapshot/snapshot_json.h"
#include "snapshot/snapshot_store.h"
#include "timeline/provider.h"
#include "support/temporary_directory.h"

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

struct ReloadCase {
  std::string name;
  seconds nextSearchFromNow;
  seconds expectedReloadFromNow;
};

class ProviderReloadDate : public ProviderTest, public testing::WithParamInterface<ReloadCase> {};

TEST_P(ProviderReloadDate, IsTheNextSearchButNeverSoonerThanFifteenMinutes) {
  const ReloadCase& c = GetParam();
  const WidgetSnapshot stored = fileSnapshot(monday0659Utc + c.nextSearchFromNow);
  writeSnapshot(stored);

  const Timeline timeline = requestTimeline();

  ASSERT_EQ(timeline.entries.size(), 1u);
  EXPECT_EQ(timeline.entries[0].date, monday0659Utc);
  EXPECT_EQ(timeline.entries[0].snapshot, stored);
  EXPECT_EQ(timeline.reloadDate, monday0659Utc + c.expectedReloadFromNow);
}

INSTANTIATE_TEST_SUITE_P(
    Provider, ProviderReloadDate,
    testing::Values(ReloadCase{"ThreeDaysAheadWaitsForTheSearch", days{3}, days{3}},
                    ReloadCase{"AnHourPastReloadsInFifteenMinutes", -hours{1}, seconds{900}},
                    ReloadCase{"TenMinutesAheadReloadsInFifteenMinutes", minutes{10}, seconds{900}},
                    ReloadCase{"ExactlyFifteenMinutesAhead", seconds{900}, seconds{900}},
                    ReloadCase{"JustPastFifteenMinutesWaitsForTheSearch", seconds{901},
                               seconds{901}}),
    [](const testing::TestParamInfo<ReloadCase>& info) { return info.param.name; });

TEST_F(ProviderTest, WithoutAFileTheTimelineHoldsTheDefaultRecord) {
  const Timeline timeline = requestTimeline();

  ASSERT_EQ(timeline.entries.size(), 1u);
  EXPECT_EQ(timeline.entries[0].snapshot, defaultSnapshot(monday0659Utc));
  EXPECT_EQ(timeline.entries[0].snapshot.accent, "Braise");
  EXPECT_EQ(timeline.reloadDate, monday0659Utc + seconds{900});
  EXPECT_EQ(preferences_.string("accent"), "Braise");
}

TEST_F(ProviderTest, TimelineRecordsTheFilesAccent) {
  writeSnapshot(fileSnapshot(monday0659Utc + days{1}));
  (void)requestTimeline();
  EXPECT_EQ(preferences_.string("accent"), "Lagune");
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
  const Entry second = provider_.placeholder(TimelineContext{});

  EXPECT_EQ(first.date, monday0659Utc);
  ASSERT_EQ(first.snapshot.toSort.size(), 3u);
  ASSERT_EQ(second.snapshot.toSort.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    const auto& a = first.snapshot.toSort[i];
    const auto& b = second.snapshot.toSort[i];
    EXPECT_NE(a.id, b.id);
    EXPECT_EQ(a.title, b.title);
    EXPECT_EQ(a.score, b.score);
    EXPECT_EQ(a.gallery, b.gallery);
    EXPECT_EQ(a.detail, b.detail);
  }
  EXPECT_EQ(preferences_.string("accent"), std::nullopt);
}

TEST_F(ProviderTest, FamilyDoesNotChangeTheAnswer) {
  const Entry small = requestSnapshot(false);
  std::vector<Entry> medium;
  provider_.snapshot(TimelineContext{.isPreview = false, .family = ui::WidgetFamily::systemMedium},
                     [&](Entry e) { medium.push_back(std::move(e)); });
  ASSERT_EQ(medium.size(), 1u);
  EXPECT_EQ(medium[0], small);
}

}  // namespace
}  // namespace kelpo
