// Rendering whole widgets to pixels and files.

#include "platform/ui/render_output.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>

#include "platform/ui/painting_probes.h"
#include "support/temporary_directory.h"

namespace kelpo::ui {
namespace {

using namespace kelpo::ui::testing;

LaidOutWidget redWidget() {
  LaidOutWidget widget = widgetOf({30, 20}, group({{0, 0}, {30, 20}}, {}), 6);
  widget.containerBackground = paintNode({{0, 0}, {30, 20}}, red);
  return widget;
}

struct PngReader {
  const std::vector<unsigned char>* bytes;
  std::size_t offset = 0;
  static cairo_status_t read(void* closure, unsigned char* data, unsigned int length) {
    auto* self = static_cast<PngReader*>(closure);
    if (self->offset + length > self->bytes->size()) return CAIRO_STATUS_READ_ERROR;
    std::copy_n(self->bytes->begin() + static_cast<std::ptrdiff_t>(self->offset), length, data);
    self->offset += length;
    return CAIRO_STATUS_SUCCESS;
  }
};

class RenderOutput : public ::testing::Test {
 protected:
  // Each test gets its own directory: CTest runs tests in parallel processes.
  testing_support::TemporaryDirectory temporary;
  const std::filesystem::path& directory = temporary.path();
};

TEST_F(RenderOutput, PngAtTwiceTheScaleHasTwiceThePixels) {
  const std::vector<unsigned char> png = renderToPngBytes(redWidget(), 2);
  ASSERT_FALSE(png.empty());
  PngReader reader{&png};
  cairo_surface_t* decoded = cairo_image_surface_create_from_png_stream(PngReader::read, &reader);
  ASSERT_EQ(cairo_surface_status(decoded), CAIRO_STATUS_SUCCESS);
  EXPECT_EQ(cairo_image_surface_get_width(decoded), 60);
  EXPECT_EQ(cairo_image_surface_get_height(decoded), 40);
  cairo_surface_destroy(decoded);

  const RasterImage image = renderToImage(redWidget(), 2);
  EXPECT_EQ(image.width(), 60);
  EXPECT_EQ(image.pixel(0, 0).alpha, 0);  // outside the rounded outline
  EXPECT_EQ(image.pixel(30, 20), (Pixel{255, 0, 0, 255}));
  EXPECT_EQ(image.encodePng().size(), png.size());
}

TEST_F(RenderOutput, EveryFormatWritesANonEmptyFile) {
  for (const auto& [format, name] : {std::pair{ImageFormat::png, "w.png"},
                                     {ImageFormat::svg, "w.svg"},
                                     {ImageFormat::pdf, "w.pdf"}}) {
    const auto path = directory / name;
    std::string error;
    EXPECT_TRUE(renderToFile(redWidget(), format, 2, path, &error)) << error;
    ASSERT_TRUE(std::filesystem::exists(path)) << name;
    EXPECT_GT(std::filesystem::file_size(path), 100U) << name;
  }
}

TEST_F(RenderOutput, UnwritablePathsAndBadScalesAreReported) {
  for (const ImageFormat format : {ImageFormat::png, ImageFormat::svg, ImageFormat::pdf}) {
    std::string error;
    EXPECT_FALSE(renderToFile(redWidget(), format, 1, directory / "no/such/dir/w", &error));
    EXPECT_FALSE(error.empty());
  }
  for (const double scale : {0.0, -1.0, std::numeric_limits<double>::quiet_NaN(), 1e9}) {
    std::string error;
    EXPECT_FALSE(renderToFile(redWidget(), ImageFormat::png, scale, directory / "w.png", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(renderToImage(redWidget(), scale).empty());
  }
}

TEST_F(RenderOutput, ContactSheetPlacesEveryWidgetInAGrid) {
  const auto path = directory / "sheet.png";
  std::string error;
  ASSERT_TRUE(renderContactSheet(
      {{"un", redWidget()}, {"deux", redWidget()}, {"trois", redWidget()}}, 2, 1, path, &error))
      << error;
  cairo_surface_t* sheet = cairo_image_surface_create_from_png(path.c_str());
  ASSERT_EQ(cairo_surface_status(sheet), CAIRO_STATUS_SUCCESS);
  // Two columns of 30-point cells with 16-point margins, two rows.
  EXPECT_EQ(cairo_image_surface_get_width(sheet), 16 + 2 * (30 + 16));
  EXPECT_GT(cairo_image_surface_get_height(sheet), 2 * 20 + 16);
  cairo_surface_destroy(sheet);
  EXPECT_FALSE(renderContactSheet({}, 2, 1, path, &error));
}

}  // namespace
}  // namespace kelpo::ui
