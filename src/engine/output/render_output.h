#pragma once

// Rendering laid-out widgets to pixels and files.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "base/errors/result.h"
#include "engine/layout/layout_tree.h"

namespace kelpo::ui {

enum class ImageFormat { png, svg, pdf };

// One pixel with straight (not premultiplied) 8-bit sRGB components.
struct Pixel {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  std::uint8_t alpha = 0;
  friend bool operator==(const Pixel&, const Pixel&) = default;
};

// A rendered image: width x height pixels, transparent where nothing drew.
class RasterImage {
 public:
  RasterImage() = default;
  RasterImage(int width, int height, std::vector<std::uint32_t> premultipliedArgb);

  [[nodiscard]] int width() const { return width_; }
  [[nodiscard]] int height() const { return height_; }
  [[nodiscard]] bool empty() const { return width_ == 0 || height_ == 0; }
  // The pixel at (x, y); a transparent pixel outside the image.
  [[nodiscard]] Pixel pixel(int x, int y) const;
  // The image as a PNG file's bytes (empty for an empty image).
  [[nodiscard]] std::vector<unsigned char> encodePng() const;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t> argb_;  // Cairo's ARGB32: premultiplied, one word per pixel
};

// The widget drawn at `scale` pixels per point: its size times the scale,
// rounded up. An empty image for an unusable scale or size (see
// largestImageSide in drawing/device_pixels.h).
[[nodiscard]] RasterImage renderToImage(const LaidOutWidget& widget, double scale);

// The same as a PNG file's bytes (empty when nothing could be drawn).
[[nodiscard]] std::vector<unsigned char> renderToPngBytes(const LaidOutWidget& widget,
                                                          double scale);

// Writes the widget to `path`: a PNG of size x scale pixels, or an SVG or
// PDF page of size x scale points. The file appears whole or not at all (see
// ReplacingFile): a full disk, or a `path` naming a directory or a device,
// fails with nothing left behind, saying what went wrong.
[[nodiscard]] Status renderToFile(const LaidOutWidget& widget, ImageFormat format, double scale,
                                  const std::filesystem::path& path);

// One cell of a contact sheet: its caption, the size of its widget, and how
// to lay the widget out.
struct ContactSheetCell {
  std::string caption;
  Size size;
  std::function<LaidOutWidget()> layOut;
};

// A PNG of the widgets in a grid of `columns` columns (at least one), each
// in a cell as large as the largest widget with its caption beneath, on a
// neutral grey, at `scale` pixels per point. The cells are laid out in
// order on the calling thread while the rows already laid out are drawn;
// a layout that throws is passed on, with nothing written.
[[nodiscard]] Status renderContactSheet(const std::vector<ContactSheetCell>& cells, int columns,
                                        double scale, const std::filesystem::path& path);

}  // namespace kelpo::ui
