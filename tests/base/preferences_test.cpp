#include "base/preferences/preferences.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "support/temporary_directory.h"

namespace kelpo {
namespace {

using testing_support::TemporaryDirectory;

class PreferencesTest : public ::testing::Test {
 protected:
  TemporaryDirectory root_;
  const std::filesystem::path file_ = root_.path() / "app.kelpo.widget" / "preferences.ini";
  Preferences preferences_{file_};
};

TEST_F(PreferencesTest, AMissingFileHoldsNothing) {
  EXPECT_EQ(preferences_.string("accent"), std::nullopt);
  EXPECT_FALSE(std::filesystem::exists(file_)) << "reading never creates the file";
}

TEST_F(PreferencesTest, RoundTripsArbitraryText) {
  const std::string values[] = {
      "", "  leading and trailing spaces  ", "# not a comment\n[widget]\nkey = value ; semi",
      "line one\nline two\r\ntab\there \\ backslash \\n literal", "L’été · 30 min 🦭"};
  for (const auto& value : values) {
    preferences_.setString("accent", value);
    EXPECT_EQ(preferences_.string("accent"), value);
    EXPECT_EQ(Preferences(file_).string("accent"), value) << "a fresh reader";
  }
  preferences_.setString("accent", std::string("La\0gune", 7));
  EXPECT_EQ(preferences_.string("accent"), "La\uFFFDgune") << "NUL becomes U+FFFD";
}

TEST_F(PreferencesTest, KeysOutsideThePlainAlphabetAreRefused) {
  for (const char* key : {"", "a=b", "a b", "a\nb", "[x]", "é"}) {
    preferences_.setString(key, "value");
    EXPECT_EQ(preferences_.string(key), std::nullopt) << key;
  }
}

TEST_F(PreferencesTest, AnUnreadableOrMalformedFileCountsAsEmpty) {
  std::filesystem::create_directories(file_.parent_path());
  const auto write = [&](const std::string& content) {
    std::ofstream(file_, std::ios::binary | std::ios::trunc) << content;
  };
  const std::string malformed[] = {"accent=Lagune\n",  // no group
                                   "[widget\naccent=Lagune\n", "[widget]\n=Lagune\n",
                                   "[widget]\naccent=\xC3\n"};
  for (const auto& content : malformed) {
    write(content);
    EXPECT_EQ(preferences_.string("accent"), std::nullopt) << content;
    preferences_.setString("accent", "Braise");
    EXPECT_EQ(preferences_.string("accent"), "Braise") << "a write replaces a malformed file";
  }

  std::filesystem::remove(file_);
  std::filesystem::create_directory(file_);
  EXPECT_EQ(preferences_.string("accent"), std::nullopt);
  Preferences writer(file_);
  writer.setString("accent", "Lagune");  // cannot replace a directory: silently kept in memory
  EXPECT_EQ(writer.string("accent"), "Lagune") << "the writer reads back what it wrote";
  EXPECT_EQ(preferences_.string("accent"), std::nullopt) << "nothing reached the file";

  std::filesystem::remove(file_);
  ASSERT_EQ(::mkfifo(file_.c_str(), 0600), 0);
  EXPECT_EQ(preferences_.string("accent"), std::nullopt) << "a FIFO is not waited on";

  Preferences nowhere(std::filesystem::path("/proc/self/kelpo/preferences.ini"));
  nowhere.setString("accent", "Lagune");
  EXPECT_EQ(Preferences(*nowhere.file()).string("accent"), std::nullopt)
      << "an unwritable place is silent";
}

// Readers take no lock, so only an atomic replace lets every read see a
// whole file holding one written value while writers replace it.
TEST_F(PreferencesTest, ConcurrentReadersNeverSeeATornFile) {
  constexpr int writerCount = 4;
  constexpr int writesPerWriter = 40;
  constexpr int readerCount = 3;
  const auto valueOf = [](int writer, int write) {
    return "writer " + std::to_string(writer) + " write " + std::to_string(write) + " " +
           std::string(static_cast<std::size_t>(4000 + 1000 * writer),
                       static_cast<char>('a' + writer));
  };
  std::set<std::string> written;
  for (int writer = 0; writer < writerCount; ++writer) {
    for (int write = 0; write < writesPerWriter; ++write) written.insert(valueOf(writer, write));
  }

  preferences_.setString("accent", valueOf(0, 0));
  std::atomic<bool> writing{true};
  std::atomic<int> reads{0};
  std::atomic<int> tornReads{0};
  std::vector<std::thread> readers;
  readers.reserve(readerCount);
  for (int reader = 0; reader < readerCount; ++reader) {
    readers.emplace_back([&] {
      const Preferences own(file_);
      while (writing.load()) {
        const auto value = own.string("accent");
        if (!value || written.count(*value) == 0) ++tornReads;
        ++reads;
      }
    });
  }
  std::vector<std::thread> writers;
  writers.reserve(writerCount);
  for (int writer = 0; writer < writerCount; ++writer) {
    writers.emplace_back([&, writer] {
      Preferences own(file_);
      for (int write = 0; write < writesPerWriter; ++write) {
        own.setString("accent", valueOf(writer, write));
      }
    });
  }
  for (auto& thread : writers) thread.join();
  writing = false;
  for (auto& thread : readers) thread.join();

  EXPECT_GT(reads.load(), 0);
  EXPECT_EQ(tornReads.load(), 0);
  EXPECT_EQ(written.count(preferences_.string("accent").value_or("")), 1u);
}

// Writers of different keys hold the directory lock around their
// read-modify-write, so none drops another's key. The writers are patient
// here: on a busy machine six writers' syncs can keep one waiting past the
// tenth of a second a window's write gives the lock, and this is about what
// the lock keeps, not how long a write waits (the next test is).
TEST_F(PreferencesTest, ConcurrentWritersOfDifferentKeysKeepEveryKey) {
  constexpr int writerCount = 6;
  constexpr std::chrono::minutes patient{1};
  std::vector<std::thread> writers;
  writers.reserve(writerCount);
  for (int writer = 0; writer < writerCount; ++writer) {
    writers.emplace_back([&, writer] {
      Preferences own(file_, patient);
      for (int write = 0; write < 10; ++write) {
        own.setString("key" + std::to_string(writer), std::to_string(write));
      }
    });
  }
  for (auto& thread : writers) thread.join();
  for (int writer = 0; writer < writerCount; ++writer) {
    EXPECT_EQ(preferences_.string("key" + std::to_string(writer)), "9");
  }
}

// A lock held by any other process of the user (here another descriptor of
// this one, which flock treats alike) costs a write a moment, then the write
// gives up and leaves the file as it was; a later write, once the lock is
// free, records the value.
TEST_F(PreferencesTest, AWriteGivesUpOnALockHeldElsewhere) {
  preferences_.setString("accent", "Lagune");
  const int holder = ::open(file_.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  ASSERT_GE(holder, 0);
  ASSERT_EQ(::flock(holder, LOCK_EX), 0);
  std::atomic<bool> done{false};
  std::thread writer([&] {
    preferences_.setString("accent", "Indigo");
    done = true;
  });
  const auto started = std::chrono::steady_clock::now();
  while (!done && std::chrono::steady_clock::now() - started < std::chrono::seconds(4)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  const bool gaveUpByItself = done;
  ::close(holder);  // frees a writer still stuck on the lock, so the join returns
  writer.join();
  EXPECT_TRUE(gaveUpByItself) << "the write waited on the lock for more than 4 s";
  EXPECT_EQ(Preferences(file_).string("accent"), "Lagune") << "the write gave up";
  preferences_.setString("accent", "Indigo");
  EXPECT_EQ(Preferences(file_).string("accent"), "Indigo");
}

// A writer killed between writing its temporary file and renaming it leaves
// the temporary behind; the next write clears it. An unchanged value is not
// written again (the file keeps its inode).
TEST_F(PreferencesTest, WritesClearLeftoversAndSkipUnchangedValues) {
  preferences_.setString("accent", "Lagune");
  const auto leftover = file_.parent_path() / "preferences.ini.A1b2C3";
  std::ofstream(leftover) << "[widget]\naccent=Indigo\n";
  const auto inode = [&] {
    struct stat status {};
    ::stat(file_.c_str(), &status);
    return status.st_ino;
  };
  const auto before = inode();
  preferences_.setString("accent", "Lagune");
  EXPECT_EQ(inode(), before) << "an unchanged value was rewritten";
  EXPECT_TRUE(std::filesystem::exists(leftover)) << "nothing written, nothing cleared";
  preferences_.setString("accent", "Indigo");
  EXPECT_FALSE(std::filesystem::exists(leftover));
  EXPECT_EQ(Preferences(file_).string("accent"), "Indigo");
}

TEST(PreferencesWithoutAFile, KeepValuesInMemoryAndWriteNowhere) {
  const TemporaryDirectory directory;
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(directory.path());
  Preferences none(std::nullopt);
  EXPECT_EQ(none.string("accent"), std::nullopt);
  none.setString("accent", "Lagune");
  EXPECT_EQ(none.string("accent"), "Lagune");
  std::filesystem::current_path(previous);
  EXPECT_TRUE(std::filesystem::is_empty(directory.path())) << "nothing written where we stood";
}

}  // namespace
}  // namespace kelpo
