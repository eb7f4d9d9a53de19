#pragma once

// PNG encoding of drawn pixels, tuned for speed: the widget's images are
// written every time the desktop asks for one, and zlib's defaults with
// adaptive filtering spend four times as long for files only a tenth
// smaller. Rows are converted and handed to the encoder one at a time, so
// no second copy of a large image (a contact sheet) is ever made.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace kelpo::ui {

// Pixels in Cairo's ARGB32 layout: premultiplied, one native-endian 32-bit
// word per pixel, rows `stride` bytes apart.
struct PremultipliedPixels {
  const unsigned char* data = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;
};

// Receives the encoded bytes in order; returns false to stop the encoding.
using PngByteSink = std::function<bool(std::span<const unsigned char>)>;

// Encodes `pixels` as an 8-bit RGBA PNG with straight alpha (what Cairo's
// own writer produces, pixel for pixel) into `sink`. False when the pixels
// are unusable, the encoder fails or the sink refuses bytes.
[[nodiscard]] bool encodePng(const PremultipliedPixels& pixels, const PngByteSink& sink);

// Waits until row `y` of a picture being drawn on another thread is final.
using RowWait = std::function<void(int y)>;

// As encodePng, for a picture still being drawn top to bottom on another
// thread (a contact sheet): each row is encoded once `awaitRow` says it is
// final, so encoding overlaps the drawing. The picture must be opaque: it is
// written without alpha, as encodePng writes an opaque picture.
[[nodiscard]] bool encodeOpaquePngAsDrawn(const PremultipliedPixels& pixels,
                                          const PngByteSink& sink, const RowWait& awaitRow);

// The PNG file's bytes, or nothing on failure.
[[nodiscard]] std::vector<unsigned char> encodePngBytes(const PremultipliedPixels& pixels);

}  // namespace kelpo::ui
