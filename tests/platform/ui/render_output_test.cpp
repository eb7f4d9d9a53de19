// Rendering whole widgets to pixels and files.

#include "platform/ui/output/render_output.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
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
    std::string error;
    EXPECT_TRUE(renderToFile(redWidget(), format, 2, directory / "w", &error)) << error;
    EXPECT_GT(std::filesystem::file_size(directory / "w"), 100U);
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
  // Two columns of 30-point cells with 16-point margins, two rows.
  const Size sheet = pngPixelSize(path);
  EXPECT_EQ(sheet.width, 16 + 2 * (30 + 16));
  EXPECT_GT(sheet.height, 2 * 20 + 16);
  EXPECT_FALSE(renderContactSheet({}, 2, 1, path, &error));
}

}  // namespace
}  // namespace kelpo::ui
