// The adapters that bring outside events into the host's main loop: the
// wall-clock deadline, the shared directory's watch and the portal's value.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "platform/desktop/color_scheme_watch.h"
#include "platform/desktop/directory_watch.h"
#include "platform/desktop/wall_clock_deadline.h"
#include "platform/time/clock.h"
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
