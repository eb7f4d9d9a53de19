#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "base/time/clock.h"
#include "layouts/extension_context.h"
#include "snapshot/snapshot_json.h"
#include "snapshot/snapshot_store.h"
#include "support/temporary_directory.h"

namespace kelpo {
namespace {

using testing_support::TemporaryDirectory;

// A context started after a load draws the accent that load recorded, also
// when the preference file could not take it: a "Lagune" snapshot is never
// drawn in the previous or the default accent.
TEST(ExtensionContext, DrawsTheAccentTheLoadRecordedEvenWhenTheFileRefusedIt) {
  struct Case {
    const char* name;
    // Makes the preference file at `file` refuse writes; returns what undoes
    // it, so the file can be checked afterwards.
    std::function<std::function<void()>(const std::filesystem::path& file)> refuse;
  };
  const Case cases[] = {
      {"preferences.ini is a directory",
       [](const std::filesystem::path& file) {
         std::filesystem::create_directories(file);
         return std::function<void()>([] {});
       }},
      {"the configuration directory is a file",
       [](const std::filesystem::path& file) {
         std::filesystem::remove_all(file.parent_path());
         std::ofstream(file.parent_path()) << "not a directory";
         return std::function<void()>([] {});
       }},
      {"another process holds the lock",
       [](const std::filesystem::path& file) {
         Preferences(file).setString("accent", "Indigo");
         const int holder = ::open(file.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
         EXPECT_EQ(::flock(holder, LOCK_EX), 0);
         return std::function<void()>([holder] { ::close(holder); });
       }},
  };
  for (const Case& c : cases) {
    const TemporaryDirectory root;
    const auto container = root.path() / "container";
    std::filesystem::create_directories(container);
    WidgetSnapshot lagune;
    lagune.accent = "Lagune";
    std::ofstream(container / "widget.json") << encodeSnapshot(lagune);
    const auto file = root.path() / "config" / "preferences.ini";
    std::filesystem::create_directories(root.path() / "config");
    const auto undo = c.refuse(file);

    Preferences preferences(file);
    const FixedClock clock{Instant{}};
    EXPECT_EQ(SnapshotStore(container, preferences, clock).loadSnapshot().accent, "Lagune")
        << c.name;
    EXPECT_EQ(ExtensionContext(preferences).accent(), AccentTheme::lagune) << c.name;
    undo();
    EXPECT_NE(Preferences(file).string("accent"), "Lagune") << c.name << ": the file was left";
  }
}

}  // namespace
}  // namespace kelpo
