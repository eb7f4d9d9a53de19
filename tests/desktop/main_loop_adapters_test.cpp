// The adapters that bring outside events into the host's main loop: the
// wall-clock deadline, the shared directory's watch and the portal's value.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>

#include "base/time/clock.h"
#include "desktop/session/color_scheme_watch.h"
#include "desktop/watches/directory_watch.h"
#include "desktop/watches/wall_clock_deadline.h"
#include "support/temporary_directory.h"

namespace kelpo::desktop {
namespace {

// Runs the default main context until `done` or a generous time limit, so
// that a fault shows as a failed expectation rather than a hang.
template <typename Done>
void runUntil(Done done, std::chrono::milliseconds limit = std::chrono::seconds(5)) {
  const gint64 end = g_get_monotonic_time() + limit.count() * 1000;
  while (!done() && g_get_monotonic_time() < end) g_main_context_iteration(nullptr, FALSE);
}

void runFor(std::chrono::milliseconds span) {
  const gint64 end = g_get_monotonic_time() + span.count() * 1000;
  while (g_get_monotonic_time() < end) g_main_context_iteration(nullptr, FALSE);
}

TEST(WallClockDeadline, AnInstantAlreadyPastFiresAtOnceAndOnlyOnce) {
  int fired = 0;
  WallClockDeadline deadline([&] { ++fired; });
  ASSERT_TRUE(deadline.arm(SystemClock().now() - std::chrono::hours(24)));
  runUntil([&] { return fired > 0; });
  EXPECT_EQ(fired, 1);
  EXPECT_FALSE(deadline.armedAt());
  runFor(std::chrono::milliseconds(50));
  EXPECT_EQ(fired, 1);

  // Re-armed far ahead, then disarmed: nothing.
  ASSERT_TRUE(deadline.arm(SystemClock().now() + std::chrono::hours(1)));
  deadline.disarm();
  ASSERT_TRUE(deadline.arm(Instant{}));  // the epoch itself counts as past
  runUntil([&] { return fired > 1; });
  EXPECT_EQ(fired, 2);
}

TEST(DirectoryWatch, SeesCreationRenameAndDeletionAndGathersBursts) {
  const testing_support::TemporaryDirectory temporary;
  const std::filesystem::path& directory = temporary.path();
  int calls = 0;
  const DirectoryWatch watch(
      directory, "widget.json", [&] { ++calls; }, std::chrono::milliseconds(50));
  ASSERT_TRUE(watch.watching());

  const auto expectOneCall = [&](const char* what, auto change) {
    const int before = calls;
    change();
    runUntil([&] { return calls > before; });
    runFor(std::chrono::milliseconds(150));
    EXPECT_EQ(calls, before + 1) << what;
  };
  const auto target = directory / "widget.json";
  expectOneCall("first creation", [&] { std::ofstream(target) << "{}"; });
  expectOneCall("atomic rename over it", [&] {
    std::ofstream(directory / ".widget.json.tmp") << "{\"toSortCount\": 1}";
    std::filesystem::rename(directory / ".widget.json.tmp", target);
  });
  expectOneCall("a burst of writes", [&] {
    for (int i = 0; i < 20; ++i) std::ofstream(target) << i;
  });
  expectOneCall("deletion", [&] { std::filesystem::remove(target); });

  // Other files of the directory do not concern the widget.
  const int before = calls;
  std::ofstream(directory / "other.txt") << "x";
  runFor(std::chrono::milliseconds(200));
  EXPECT_EQ(calls, before);
}

// Counts the calls of one watch and checks, change by change, that each
// makes exactly one (or none).
struct CallCounter {
  int calls = 0;

  void expectCalls(const char* what, int expected, const std::function<void()>& change) {
    const int before = calls;
    change();
    if (expected > 0) runUntil([&] { return calls > before; });
    runFor(std::chrono::milliseconds(150));
    EXPECT_EQ(calls, before + expected) << what;
  }
};

void writeFile(const std::filesystem::path& file, const char* text) {
  std::ofstream(file) << text;
}

TEST(DirectoryWatch, FollowsAMissingDirectoryFromItsNearestExistingParent) {
  const testing_support::TemporaryDirectory temporary;
  const auto shared = temporary.path() / "data" / "group";
  CallCounter counter;
  const DirectoryWatch watch(
      shared, "widget.json", [&] { ++counter.calls; }, std::chrono::milliseconds(30));
  ASSERT_TRUE(watch.watching());
  EXPECT_EQ(watch.watchedDirectory(), temporary.path());

  counter.expectCalls("the parent made", 0,
                      [&] { std::filesystem::create_directory(temporary.path() / "data"); });
  EXPECT_EQ(watch.watchedDirectory(), temporary.path() / "data");
  counter.expectCalls("the directory made", 1, [&] { std::filesystem::create_directory(shared); });
  EXPECT_EQ(watch.watchedDirectory(), shared);
  counter.expectCalls("the snapshot written", 1, [&] { writeFile(shared / "widget.json", "{}"); });
  counter.expectCalls("the directory removed", 1, [&] { std::filesystem::remove_all(shared); });
  EXPECT_EQ(watch.watchedDirectory(), temporary.path() / "data");
  counter.expectCalls("made again, snapshot and all, by a rename", 1, [&] {
    std::filesystem::create_directory(temporary.path() / "staged");
    writeFile(temporary.path() / "staged" / "widget.json", "{}");
    std::filesystem::rename(temporary.path() / "staged", shared);
  });
  counter.expectCalls("written in the directory made again", 1,
                      [&] { writeFile(shared / "widget.json", "{\"toSortCount\": 2}"); });
}

TEST(DirectoryWatch, FollowsALinkPointedAtAnotherDirectory) {
  const testing_support::TemporaryDirectory temporary;
  const auto first = temporary.path() / "first";
  const auto second = temporary.path() / "second";
  const auto shared = temporary.path() / "group";
  std::filesystem::create_directory(first);
  std::filesystem::create_directory(second);
  std::filesystem::create_directory_symlink(first, shared);
  CallCounter counter;
  const DirectoryWatch watch(
      shared, "widget.json", [&] { ++counter.calls; }, std::chrono::milliseconds(30));
  counter.expectCalls("written through the link", 1,
                      [&] { writeFile(first / "widget.json", "1"); });

  // As `ln -s second group.new && mv -T group.new group` does it.
  counter.expectCalls("the link replaced", 1, [&] {
    std::filesystem::create_directory_symlink(second, temporary.path() / "group.new");
    std::filesystem::rename(temporary.path() / "group.new", shared);
  });
  counter.expectCalls("written in the new target", 1,
                      [&] { writeFile(second / "widget.json", "2"); });
  counter.expectCalls("written in the old target", 0,
                      [&] { writeFile(first / "widget.json", "3"); });
  counter.expectCalls("another entry beside the link", 0,
                      [&] { writeFile(temporary.path() / "unrelated", "x"); });
}

TEST(DirectoryWatch, EventsLostToAFullQueueCountAsAChange) {
  const testing_support::TemporaryDirectory temporary;
  CallCounter counter;
  const DirectoryWatch watch(
      temporary.path(), "widget.json", [&] { ++counter.calls; }, std::chrono::milliseconds(30));
  // More events than the kernel queues (16384 by default) while the loop
  // is busy elsewhere: the last of them, the one that mattered, is dropped.
  counter.expectCalls("an overflowed queue", 1, [&] {
    const auto other = temporary.path() / "other";
    for (int i = 0; i < 7000; ++i) {
      writeFile(other, "x");  // created (once), modified, closed
      std::filesystem::remove(other);
    }
    writeFile(temporary.path() / "widget.json", "{}");
  });
}

TEST(DirectoryWatch, AWatchThatCannotBeMadeIsTriedAgainAndThenCountsAsAChange) {
  const testing_support::TemporaryDirectory temporary;
  // The main loop's own descriptor first, then none left to open:
  // inotify_init1 fails as it does once the user's inotify instances are
  // all taken.
  g_main_context_iteration(nullptr, FALSE);
  rlimit limits{};
  ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &limits), 0);
  rlimit exhausted = limits;
  exhausted.rlim_cur = 0;
  ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &exhausted), 0);
  CallCounter counter;
  const DirectoryWatch watch(
      temporary.path(), "widget.json", [&] { ++counter.calls; }, std::chrono::milliseconds(30),
      std::chrono::milliseconds(100));
  const bool watchingWithoutDescriptors = watch.watching();
  ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &limits), 0);
  EXPECT_FALSE(watchingWithoutDescriptors);

  // Tried again later: what changed meanwhile is unknown, so it is one call.
  runUntil([&] { return counter.calls > 0; });
  EXPECT_TRUE(watch.watching());
  EXPECT_EQ(counter.calls, 1);
  counter.expectCalls("written once watched", 1,
                      [&] { writeFile(temporary.path() / "widget.json", "{}"); });
}

TEST(ColorSchemeWatch, PortalValuesUnwrapAnyNumberOfVariants) {
  const auto scheme = [](GVariant* value) {
    const VariantHandle owned(g_variant_ref_sink(value));
    return colorSchemeFromPortalValue(owned.get());
  };
  EXPECT_EQ(scheme(g_variant_new_uint32(1)), ui::ColorScheme::dark);
  EXPECT_EQ(scheme(g_variant_new_variant(g_variant_new_uint32(1))), ui::ColorScheme::dark);
  EXPECT_EQ(scheme(g_variant_new_variant(g_variant_new_variant(g_variant_new_uint32(2)))),
            ui::ColorScheme::light);
  EXPECT_EQ(scheme(g_variant_new_uint32(0)), std::nullopt);
  EXPECT_EQ(scheme(g_variant_new_uint32(7)), std::nullopt);
  EXPECT_EQ(scheme(g_variant_new_string("dark")), std::nullopt);
  EXPECT_EQ(colorSchemeFromPortalValue(nullptr), std::nullopt);
}

}  // namespace
}  // namespace kelpo::desktop
