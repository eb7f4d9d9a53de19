#include <cairo.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/ui/drawing/bitmap.h"
#include "support/temporary_directory.h"

namespace kelpo::ui {
namespace {

using testing_support::TemporaryDirectory;

// A real PNG of the given size, so that only its size can make it refused.
void writePng(const std::filesystem::path& file, int width, int height) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  ASSERT_EQ(cairo_surface_write_to_png(surface, file.c_str()), CAIRO_STATUS_SUCCESS);
  cairo_surface_destroy(surface);
}

// Refusing special files and oversized pictures: the header is read first
// and a picture declaring more than it may is never decoded.
TEST(BitmapLoading, PicturesAboveTheLargestSideAreRefused) {
  const TemporaryDirectory directory;
  const struct {
    int width;
    int height;
    bool loads;
  } table[] = {{4096, 1, true}, {1, 4096, true}, {4097, 1, false}, {1, 23000, false}};
  for (const auto& [width, height, loads] : table) {
    const auto file =
        directory.path() / (std::to_string(width) + "x" + std::to_string(height) + ".png");
    writePng(file, width, height);
    EXPECT_EQ(Bitmap::loadPng(file) != nullptr, loads) << width << " x " << height;
  }
  // A header declaring 23000 x 23000 ahead of no pixels at all.
  const auto bomb = directory.path() / "bomb.png";
  std::ofstream(bomb, std::ios::binary) << std::string(
      "\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\x59\xD8\0\0\x59\xD8\x08\x06\0\0\0\0\0\0\0", 33);
  EXPECT_EQ(Bitmap::loadPng(bomb), nullptr);
}

// Views are rebuilt on every frame: an unchanged picture is decoded once, and
// one replaced on disk between two frames shows its new pixels.
TEST(BitmapLoading, DecodesOncePerFileVersionAndSeesAReplacedFile) {
  const TemporaryDirectory directory;
  const auto mascot = directory.path() / "mascot-found.png";
  writePng(mascot, 10, 12);
  const auto first = Bitmap::loadPng(mascot);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(Bitmap::loadPng(mascot), first) << "the same pixels, not a second decode";

  const auto replacement = directory.path() / "replacement.png";
  writePng(replacement, 20, 24);
  std::filesystem::rename(replacement, mascot);
  const auto second = Bitmap::loadPng(mascot);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->size(), (Size{20, 24}));

  std::filesystem::remove(mascot);
  EXPECT_EQ(Bitmap::loadPng(mascot), nullptr) << "a removed picture is gone";
}

}  // namespace
}  // namespace kelpo::ui
