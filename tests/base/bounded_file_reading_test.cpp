#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "base/files/bounded_file.h"
#include "support/temporary_directory.h"

namespace kelpo {
namespace {

using testing_support::TemporaryDirectory;

void writeFile(const std::filesystem::path& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

TEST(BoundedFileReading, ReadsARegularFileUpToTheLimit) {
  const TemporaryDirectory directory;
  const auto file = directory.path() / "data";
  std::string content(100'000, 'x');
  content[0] = '\0';  // binary content is kept as it is
  writeFile(file, content);
  EXPECT_EQ(readSmallRegularFile(file, content.size()), content);
  EXPECT_EQ(readSmallRegularFile(file, content.size() - 1), std::nullopt);

  writeFile(file, "");
  EXPECT_EQ(readSmallRegularFile(file, 0), "");
}

TEST(BoundedFileReading, RefusesEverythingButARegularFile) {
  const TemporaryDirectory directory;
  const auto fifo = directory.path() / "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(readSmallRegularFile(fifo, 1024), std::nullopt) << "a FIFO with no writer";
  EXPECT_EQ(readSmallRegularFile(directory.path(), 1024), std::nullopt) << "a directory";
  EXPECT_EQ(readSmallRegularFile(directory.path() / "missing", 1024), std::nullopt);
  EXPECT_EQ(readSmallRegularFile("/dev/zero", 1024), std::nullopt) << "an endless device";
}

TEST(BoundedFileReading, FollowsSymbolicLinksToRegularFiles) {
  const TemporaryDirectory directory;
  writeFile(directory.path() / "target", "content");
  std::filesystem::create_symlink(directory.path() / "target", directory.path() / "link");
  EXPECT_EQ(readSmallRegularFile(directory.path() / "link", 1024), "content");
}

}  // namespace
}  // namespace kelpo
