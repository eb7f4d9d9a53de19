// Loading pictures: special files, broken and oversized ones are refused
// (the header is read first and a picture declaring more than it may is
// never decoded); a picture replaced on disk is read again.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "engine/cairo/bitmap.h"
#include "engine/painting_probes.h"
#include "support/temporary_directory.h"

namespace kelpo::ui {
namespace {

using testing::writeSolidPng;

TEST(BitmapLoading, BrokenMissingAndOversizedPicturesAreRefused) {
  const testing_support::TemporaryDirectory directory;
  const struct {
    int width;
    int height;
    bool loads;
  } table[] = {{4096, 1, true}, {1, 4096, true}, {4097, 1, false}, {1, 23000, false}};
  for (const auto& [width, height, loads] : table) {
    const auto file =
        directory.path() / (std::to_string(width) + "x" + std::to_string(height) + ".png");
    ASSERT_TRUE(writeSolidPng(file, width, height, {0, 0, 0, 0}));
    EXPECT_EQ(Bitmap::loadPng(file) != nullptr, loads) << width << " x " << height;
  }
  // A header declaring 23000 x 23000 ahead of no pixels at all.
  const auto bomb = directory.path() / "bomb.png";
  std::ofstream(bomb, std::ios::binary) << std::string(
      "\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\x59\xD8\0\0\x59\xD8\x08\x06\0\0\0\0\0\0\0", 33);
  EXPECT_EQ(Bitmap::loadPng(bomb), nullptr);
  const auto corrupt = directory.path() / "corrupt.png";
  std::ofstream(corrupt) << "\x89PNG\r\n\x1a\n not really a picture";
  EXPECT_EQ(Bitmap::loadPng(corrupt), nullptr);
  EXPECT_EQ(Bitmap::loadPng(directory.path() / "missing.png"), nullptr);
  EXPECT_EQ(Bitmap::loadPng(directory.path()), nullptr);
}

// Views are rebuilt on every frame: an unchanged picture is decoded once, and
// one replaced on disk between two frames shows its new pixels.
TEST(BitmapLoading, DecodesOncePerFileVersionAndSeesAReplacedFile) {
  const testing_support::TemporaryDirectory directory;
  const auto mascot = directory.path() / "mascot-found.png";
  ASSERT_TRUE(writeSolidPng(mascot, 10, 12, {0, 0, 0, 0}));
  const auto first = Bitmap::loadPng(mascot);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->size(), (Size{10, 12}));
  EXPECT_EQ(Bitmap::loadPng(mascot), first) << "the same pixels, not a second decode";

  const auto replacement = directory.path() / "replacement.png";
  ASSERT_TRUE(writeSolidPng(replacement, 20, 24, {0, 0, 0, 0}));
  std::filesystem::rename(replacement, mascot);
  const auto second = Bitmap::loadPng(mascot);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->size(), (Size{20, 24}));

  std::filesystem::remove(mascot);
  EXPECT_EQ(Bitmap::loadPng(mascot), nullptr) << "a removed picture is gone";
}

}  // namespace
}  // namespace kelpo::ui
