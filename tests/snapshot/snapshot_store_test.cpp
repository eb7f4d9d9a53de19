#include "snapshot/snapshot_store.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "base/files/bounded_file.h"
#include "snapshot/snapshot_documents.h"
#include "snapshot/snapshot_json.h"
#include "support/temporary_directory.h"

namespace kelpo {
namespace {

using testing_support::TemporaryDirectory;

const Instant loadTime = std::chrono::sys_days(std::chrono::year(2025) / 3 / 12) +
                         std::chrono::hours(17) + std::chrono::minutes(5);

void writeFile(const std::filesystem::path& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

[[nodiscard]] std::string withAccent(const std::string& accent) {
  return objectJson(testing::with(testing::validSnapshot(), "accent", "\"" + accent + "\""));
}

// A container directory, a preference file beside it and a clock fixed at
// the load time.
class SnapshotStoreTest : public ::testing::Test {
 protected:
  [[nodiscard]] std::filesystem::path container() const { return root_.path() / "container"; }
  [[nodiscard]] std::filesystem::path snapshotFile() const { return container() / "widget.json"; }

  void SetUp() override { std::filesystem::create_directory(container()); }

  [[nodiscard]] WidgetSnapshot load() {
    return SnapshotStore(container(), preferences_, clock_).loadSnapshot();
  }
  [[nodiscard]] std::optional<std::string> storedAccent() const {
    return preferences_.string("accent");
  }
  void expectFallback(const WidgetSnapshot& snapshot) const {
    EXPECT_EQ(snapshot, defaultSnapshot(loadTime));
    EXPECT_EQ(storedAccent(), "Braise");
  }

  TemporaryDirectory root_;
  Preferences preferences_{root_.path() / "config" / "preferences.ini"};
  FixedClock clock_{loadTime};
};

TEST_F(SnapshotStoreTest, DefaultRecordHoldsEveryDefault) {
  WidgetSnapshot expected;  // empty lists and labels, zero counts, not searching
  expected.weekBudget = 300;
  expected.nextSearch = loadTime;
  expected.accent = "Braise";
  EXPECT_EQ(defaultSnapshot(loadTime), expected);
}

TEST_F(SnapshotStoreTest, NoContainerGivesTheDefaultRecord) {
  preferences_.setString("accent", "Indigo");
  expectFallback(SnapshotStore(std::nullopt, preferences_, clock_).loadSnapshot());
}

TEST_F(SnapshotStoreTest, DecodesAValidFileAndStoresItsAccent) {
  writeFile(snapshotFile(), withAccent("Lagune"));
  const WidgetSnapshot snapshot = load();
  EXPECT_EQ(snapshot, decodeSnapshot(withAccent("Lagune")).value());
  EXPECT_EQ(storedAccent(), "Lagune");
  EXPECT_EQ(load(), snapshot) << "a decoded record does not depend on the time of loading";

  writeFile(snapshotFile(), withAccent("Émeraude #2"));
  EXPECT_EQ(load().accent, "Émeraude #2");
  EXPECT_EQ(storedAccent(), "Émeraude #2") << "an unknown accent is stored unchanged";
}

TEST_F(SnapshotStoreTest, EveryUnreadableFileGivesTheDefaultRecord) {
  const auto check = [&](const char* what) {
    SCOPED_TRACE(what);
    preferences_.setString("accent", "Lagune");
    expectFallback(load());
    std::filesystem::remove_all(snapshotFile());
  };
  check("no file");
  writeFile(snapshotFile(), "");
  check("empty file");
  writeFile(snapshotFile(), "{\"toSort\": [");
  check("truncated JSON");
  std::filesystem::create_directory(snapshotFile());
  check("directory in its place");
  std::filesystem::create_directory_symlink(container(), snapshotFile());
  check("symlink to a directory");
}

TEST_F(SnapshotStoreTest, AFileOverTheSizeLimitGivesTheDefaultRecord) {
  // A valid document padded with whitespace past the limit: only the size
  // can be the reason to refuse it.
  std::string padded = withAccent("Lagune");
  padded.append(maxSnapshotBytes - padded.size(), ' ');
  writeFile(snapshotFile(), padded);
  EXPECT_EQ(load().accent, "Lagune") << "exactly at the limit is still read";
  padded += ' ';
  writeFile(snapshotFile(), padded);
  expectFallback(load());
}

}  // namespace
}  // namespace kelpo
