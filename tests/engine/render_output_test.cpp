// Rendering whole widgets to pixels and files.

#include "engine/output/render_output.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <stdexcept>

#include "engine/drawing/cairo_handles.h"
#include "engine/painting_probes.h"
#include "support/temporary_directory.h"

namespace kelpo::ui {
namespace {

using namespace kelpo::ui::testing;

LaidOutWidget redWidget() {
  LaidOutWidget widget = widgetOf({30, 20}, group({{0, 0}, {30, 20}}, {}), 6);
  widget.containerBackground = paintNode({{0, 0}, {30, 20}}, red);
  return widget;
}

class RenderOutput : public ::testing::Test {
 protected:
  // Each test gets its own directory: CTest runs tests in parallel processes.
  testing_support::TemporaryDirectory temporary;
  const std::filesystem::path& directory = temporary.path();
};

TEST_F(RenderOutput, PngAtTwiceTheScaleHasTwiceThePixels) {
  const std::vector<unsigned char> png = renderToPngBytes(redWidget(), 2);
  ASSERT_FALSE(png.empty());
  const auto path = directory / "w.png";
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
  EXPECT_EQ(pngPixelSize(path), (Size{60, 40}));

  const RasterImage image = renderToImage(redWidget(), 2);
  EXPECT_EQ(image.width(), 60);
  EXPECT_EQ(image.pixel(0, 0).alpha, 0);  // outside the rounded outline
  EXPECT_EQ(image.pixel(30, 20), (Pixel{255, 0, 0, 255}));
  EXPECT_EQ(image.encodePng().size(), png.size());
}

TEST_F(RenderOutput, EveryFormatWritesItsFileOrSaysWhyNot) {
  for (const ImageFormat format : {ImageFormat::png, ImageFormat::svg, ImageFormat::pdf}) {
    const Status written = renderToFile(redWidget(), format, 2, directory / "w");
    EXPECT_TRUE(written.ok()) << written.error();
    EXPECT_GT(std::filesystem::file_size(directory / "w"), 100U);
    const Status refused = renderToFile(redWidget(), format, 1, directory / "no/such/dir/w");
    ASSERT_FALSE(refused.ok());
    EXPECT_FALSE(refused.error().empty());
  }
  for (const double scale : {0.0, -1.0, std::numeric_limits<double>::quiet_NaN(), 1e9}) {
    const Status refused = renderToFile(redWidget(), ImageFormat::png, scale, directory / "w.png");
    ASSERT_FALSE(refused.ok());
    EXPECT_FALSE(refused.error().empty());
    EXPECT_TRUE(renderToImage(redWidget(), scale).empty());
  }
}

// The sheet is drawn a row of cells at a time while earlier rows are being
// encoded: every cell must reach the file whole, on the grey, at a scale
// whose band edges fall inside pixels too.
TEST_F(RenderOutput, ContactSheetPlacesEveryWidgetInAGrid) {
  const auto path = directory / "sheet.png";
  const std::vector<ContactSheetCell> cells(5, {"cellule", redWidget().size, redWidget});
  const Status drawn = renderContactSheet(cells, 2, 1.5, path);
  ASSERT_TRUE(drawn.ok()) << drawn.error();
  const SurfaceHandle sheet(cairo_image_surface_create_from_png(path.c_str()));
  ASSERT_EQ(cairo_surface_status(sheet.get()), CAIRO_STATUS_SUCCESS);
  // Two columns of 30-point cells with 16-point margins; three rows.
  EXPECT_EQ(cairo_image_surface_get_width(sheet.get()), 162);
  const auto pixelAt = [&](double x, double y) {
    const unsigned char* data = cairo_image_surface_get_data(sheet.get());
    const int stride = cairo_image_surface_get_stride(sheet.get());
    std::uint32_t word = 0;
    std::memcpy(&word, data + static_cast<int>(y * 1.5) * stride + static_cast<int>(x * 1.5) * 4,
                sizeof word);
    return word & 0xFFFFFF;
  };
  constexpr std::uint32_t redPixel = 0xFF0000;
  constexpr std::uint32_t grey = 0xDEDEE3;
  const double pitch = 20 + 6 + 16 + 16;
  for (int row = 0; row < 3; ++row) {
    const double middle = 16 + row * pitch + 10;
    EXPECT_EQ(pixelAt(31, middle), redPixel) << "row " << row;
    EXPECT_EQ(pixelAt(77, middle), row < 2 ? redPixel : grey) << "row " << row;
    EXPECT_EQ(pixelAt(31, 16 + row * pitch - 1), grey) << "above row " << row;
  }
  EXPECT_FALSE(renderContactSheet({}, 2, 1, path).ok());
}

// Cells are laid out while earlier rows are drawn: a layout that fails must
// reach the caller, not leave the drawing waiting, nor leave a file behind.
TEST_F(RenderOutput, ContactSheetPassesOnAFailedLayout) {
  const auto path = directory / "failed.png";
  std::vector<ContactSheetCell> cells(5, {"cellule", redWidget().size, redWidget});
  cells[3].layOut = []() -> LaidOutWidget { throw std::runtime_error("no layout"); };
  EXPECT_THROW((void)renderContactSheet(cells, 2, 1, path), std::runtime_error);
  EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
}  // namespace kelpo::ui
