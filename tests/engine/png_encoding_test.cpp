// The PNG encoder: decoded files hold exactly the pixels drawn, straight
// alpha rounded as Cairo rounds it; opaque images lose their alpha channel;
// a failing output is reported.

#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "engine/drawing/cairo_handles.h"
#include "engine/output/png_encoder.h"

namespace kelpo::ui {
namespace {

struct ByteReader {
  std::span<const unsigned char> bytes;
  std::size_t offset = 0;
};

cairo_status_t readBytes(void* closure, unsigned char* data, unsigned int length) {
  auto* reader = static_cast<ByteReader*>(closure);
  if (reader->offset + length > reader->bytes.size()) return CAIRO_STATUS_READ_ERROR;
  std::copy_n(reader->bytes.begin() + static_cast<std::ptrdiff_t>(reader->offset), length, data);
  reader->offset += length;
  return CAIRO_STATUS_SUCCESS;
}

// Decodes with Cairo's own reader, which premultiplies again.
std::vector<std::uint32_t> decoded(const std::vector<unsigned char>& png, int width, int height) {
  ByteReader reader{png};
  const SurfaceHandle surface(cairo_image_surface_create_from_png_stream(readBytes, &reader));
  EXPECT_EQ(cairo_surface_status(surface.get()), CAIRO_STATUS_SUCCESS);
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return pixels;
  const int stride = cairo_image_surface_get_stride(surface.get());
  for (int y = 0; y < height; ++y) {
    std::memcpy(&pixels[static_cast<std::size_t>(y) * width],
                cairo_image_surface_get_data(surface.get()) + y * stride,
                static_cast<std::size_t>(width) * 4);
  }
  return pixels;
}

// PNG colour type, from the header chunk: 2 RGB, 6 RGBA.
int colourType(const std::vector<unsigned char>& png) {
  return png.size() > 25 ? png[25] : -1;
}

TEST(PngEncoding, DecodedPixelsAreThoseDrawn) {
  struct Case {
    const char* name;
    std::vector<std::uint32_t> pixels;  // premultiplied ARGB, 3 x 2
    int colourType;
  };
  for (const Case& c : {
           Case{"clear, translucent and opaque",
                {0x00000000, 0x80400000, 0xFF00FF00, 0x01010101, 0x7F7F7F7F, 0xFF123456},
                6},
           Case{"all opaque",
                {0xFF000000, 0xFFFFFFFF, 0xFF102030, 0xFF010203, 0xFF808080, 0xFFABCDEF},
                2},
       }) {
    SCOPED_TRACE(c.name);
    const PremultipliedPixels pixels{reinterpret_cast<const unsigned char*>(c.pixels.data()), 3, 2,
                                     12};
    const std::vector<unsigned char> png = encodePngBytes(pixels);
    EXPECT_EQ(colourType(png), c.colourType);
    EXPECT_EQ(decoded(png, 3, 2), c.pixels);
  }
}

TEST(PngEncoding, UnusablePixelsAndRefusingOutputsFail) {
  const std::vector<std::uint32_t> pixels(16, 0xFF000000);
  const PremultipliedPixels image{reinterpret_cast<const unsigned char*>(pixels.data()), 4, 4, 16};
  EXPECT_FALSE(encodePng(image, [](std::span<const unsigned char>) { return false; }));
  EXPECT_TRUE(encodePngBytes({nullptr, 4, 4, 16}).empty());
  EXPECT_TRUE(encodePngBytes({image.data, 4, 4, 8}).empty()) << "a stride shorter than a row";
}

}  // namespace
}  // namespace kelpo::ui
