#include "engine/output/render_output.h"

#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstring>
#include <exception>
#include <functional>
#include <span>
#include <system_error>
#include <thread>

#include "base/files/replacing_file.h"
#include "engine/drawing/cairo_handles.h"
#include "engine/drawing/device_pixels.h"
#include "engine/drawing/painter.h"
#include "engine/output/completed_count.h"
#include "engine/output/png_encoder.h"
#include "engine/text/pango_fonts.h"
#include "engine/text/pango_text_layout.h"

namespace kelpo::ui {

namespace {

// Contact sheet spacing, in points.
constexpr double sheetMargin = 16;
constexpr double captionGap = 6;
constexpr double captionFontSize = 11;
constexpr double captionHeight = 16;
// Threads drawing a contact sheet, beside the one that lays out and encodes.
constexpr std::size_t drawingThreads = 2;

[[nodiscard]] Failure cannotWrite(const std::filesystem::path& path, const std::string& reason) {
  return Failure{"cannot write " + path.string() + ": " + reason};
}

[[nodiscard]] SurfaceHandle drawnSurface(const LaidOutWidget& widget, PixelSize pixels,
                                         double scale) {
  SurfaceHandle surface(
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pixels.width, pixels.height));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
  const CairoHandle cr(cairo_create(surface.get()));
  cairo_scale(cr.get(), scale, scale);
  paintWidget(cr.get(), widget);
  cairo_surface_flush(surface.get());
  return surface;
}

[[nodiscard]] RasterImage imageOf(cairo_surface_t* surface) {
  const int width = cairo_image_surface_get_width(surface);
  const int height = cairo_image_surface_get_height(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  std::vector<std::uint32_t> argb(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    std::memcpy(&argb[static_cast<std::size_t>(y) * width],
                data + static_cast<std::ptrdiff_t>(y) * stride,
                static_cast<std::size_t>(width) * 4);
  }
  return {width, height, std::move(argb)};
}

[[nodiscard]] PremultipliedPixels pixelsOf(cairo_surface_t* surface) {
  return {cairo_image_surface_get_data(surface), cairo_image_surface_get_width(surface),
          cairo_image_surface_get_height(surface), cairo_image_surface_get_stride(surface)};
}

[[nodiscard]] std::vector<unsigned char> encode(cairo_surface_t* surface) {
  return encodePngBytes(pixelsOf(surface));
}

// Cairo's stream callback: the bytes go to the file, and a failed write
// fails the surface, which the status check after finishing reports.
cairo_status_t appendToFile(void* closure, const unsigned char* data, unsigned int length) {
  auto* file = static_cast<ReplacingFile*>(closure);
  return file->write({data, length}) ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_WRITE_ERROR;
}

// Draws the widget as one SVG or PDF page into `file`. The surface status
// is read only after finishing, when Cairo has written the whole document.
[[nodiscard]] Status writeVectorFile(ImageFormat format, const LaidOutWidget& widget, double scale,
                                     ReplacingFile& file) {
  const double width = widget.size.width * scale;
  const double height = widget.size.height * scale;
  const SurfaceHandle surface(
      format == ImageFormat::svg
          ? cairo_svg_surface_create_for_stream(appendToFile, &file, width, height)
          : cairo_pdf_surface_create_for_stream(appendToFile, &file, width, height));
  if (cairo_surface_status(surface.get()) == CAIRO_STATUS_SUCCESS) {
    const CairoHandle cr(cairo_create(surface.get()));
    cairo_scale(cr.get(), scale, scale);
    paintWidget(cr.get(), widget);
    cairo_show_page(cr.get());
  }
  cairo_surface_finish(surface.get());
  if (const cairo_status_t status = cairo_surface_status(surface.get());
      status != CAIRO_STATUS_SUCCESS) {
    // A failed write fails the surface too; the file knows why it failed.
    return Failure{file.writeFailure().value_or(cairo_status_to_string(status))};
  }
  return Done{};
}

[[nodiscard]] Status writeVector(ImageFormat format, const LaidOutWidget& widget, double scale,
                                 const std::filesystem::path& path) {
  auto file = ReplacingFile::open(path);
  if (!file) return cannotWrite(path, file.error());
  // A file not wholly drawn is never committed: it goes with `file`.
  if (const Status drawn = writeVectorFile(format, widget, scale, *file); !drawn) {
    return cannotWrite(path, drawn.error());
  }
  if (const Status committed = file->commit(); !committed) {
    return cannotWrite(path, committed.error());
  }
  return Done{};
}

// Rows are encoded straight into a replacing file: the destination changes
// only once the whole image is on disk.
[[nodiscard]] Status writePng(const std::filesystem::path& path,
                              const std::function<bool(const PngByteSink&)>& encode) {
  auto file = ReplacingFile::open(path);
  if (!file) return cannotWrite(path, file.error());
  const bool encoded =
      encode([&file](std::span<const unsigned char> chunk) { return file->write(chunk); });
  if (!encoded) return cannotWrite(path, file->writeFailure().value_or("the PNG encoder failed"));
  if (const Status committed = file->commit(); !committed) {
    return cannotWrite(path, committed.error());
  }
  return Done{};
}

[[nodiscard]] Status writePng(cairo_surface_t* surface, const std::filesystem::path& path) {
  return writePng(
      path, [surface](const PngByteSink& sink) { return encodePng(pixelsOf(surface), sink); });
}

void drawCaption(cairo_t* cr, PangoContext* context, const std::string& caption, const Rect& box) {
  StyledText text{{StyledRun{caption, Font::system(captionFontSize), Color::black()}}, {}};
  text.style.lineLimit = 1;
  text.style.alignment = 1;
  pango_cairo_update_context(cr, context);
  const TextLayout layout =
      makeTextLayout(context, text, {box.size.width, 1, 1, ColorScheme::light});
  cairo_set_source_rgb(cr, 0.2, 0.2, 0.22);
  cairo_move_to(cr, box.origin.x, box.origin.y);
  pango_cairo_show_layout(cr, layout.layout.get());
}

// Where the cells go: a grid of equal cells, each as large as the largest
// widget, with its caption beneath.
struct SheetGrid {
  int columns = 1;
  int rows = 1;
  Size cell;
  double pitchX = 0;
  double pitchY = 0;
  Size sheet;
};

[[nodiscard]] SheetGrid sheetGrid(const std::vector<ContactSheetCell>& cells, int columns) {
  SheetGrid grid;
  grid.columns = std::clamp(columns, 1, static_cast<int>(cells.size()));
  grid.rows = static_cast<int>((cells.size() + grid.columns - 1) / grid.columns);
  for (const ContactSheetCell& cell : cells) {
    grid.cell.width = std::max(grid.cell.width, cell.size.width);
    grid.cell.height = std::max(grid.cell.height, cell.size.height);
  }
  grid.pitchX = grid.cell.width + sheetMargin;
  grid.pitchY = grid.cell.height + captionGap + captionHeight + sheetMargin;
  grid.sheet = {sheetMargin + grid.columns * grid.pitchX, sheetMargin + grid.rows * grid.pitchY};
  return grid;
}

// The sheet's widgets, laid out on one thread and drawn on others: a cell
// is drawn once the count says it is laid out. A cell left empty (its
// layout failed) ends the drawing.
struct LaidOutCells {
  std::vector<std::optional<LaidOutWidget>> widgets;
  CompletedCount laidOut;
};

// A widget larger than the cell it announced is kept inside that cell.
void clipToCell(cairo_t* cr, Size widget, Size cell) {
  if (widget.width <= cell.width && widget.height <= cell.height) return;
  cairo_rectangle(cr, 0, 0, cell.width, cell.height);
  cairo_clip(cr);
}

// Fills pixel rows [top, bottom) with the sheet's grey.
void fillBand(cairo_t* cr, int width, int top, int bottom) {
  const SavedState saved(cr);
  cairo_identity_matrix(cr);
  cairo_rectangle(cr, 0, top, width, bottom - top);
  cairo_set_source_rgb(cr, 0.87, 0.87, 0.89);
  cairo_fill(cr);
}

// What the threads drawing a sheet share. The sheet is cut into bands, one
// row of cells each with its captions and the margin below; a thread takes
// the next band not yet taken, draws it and marks it drawn. A widget is
// clipped to its own shape and a caption stays inside the margin below it,
// so nothing drawn for one band reaches another's pixel rows: bands are
// drawn side by side, and every band above the first undrawn one is final.
struct SheetDrawing {
  const std::vector<ContactSheetCell>& cells;
  LaidOutCells& laidOut;
  const SheetGrid& grid;
  double scale = 1;
  cairo_surface_t* target = nullptr;  // the sheet's image surface
  std::vector<int> bandBottoms;       // the pixel row after each band
  std::atomic<int> nextBand = 0;
  CompletedCount drawnBands{};
  std::atomic<bool> failed = false;
};

[[nodiscard]] std::vector<int> bandBottoms(const SheetGrid& grid, double scale, int height) {
  std::vector<int> bottoms;
  for (int row = 0; row < grid.rows; ++row) {
    const double nextTop = sheetMargin + (row + 1) * grid.pitchY;
    bottoms.push_back(row + 1 == grid.rows ? height
                                           : std::min(height, static_cast<int>(nextTop * scale)));
  }
  return bottoms;
}

// Draws one band's cells and captions on its grey. False when a cell was
// never laid out.
[[nodiscard]] bool drawBand(cairo_t* cr, PangoContext* captions, SheetDrawing& sheet, int band) {
  const SheetGrid& grid = sheet.grid;
  fillBand(cr, cairo_image_surface_get_width(sheet.target),
           band == 0 ? 0 : sheet.bandBottoms[band - 1], sheet.bandBottoms[band]);
  for (int column = 0; column < grid.columns; ++column) {
    const int index = band * grid.columns + column;
    if (static_cast<std::size_t>(index) >= sheet.cells.size()) break;
    sheet.laidOut.laidOut.await(index);
    const std::optional<LaidOutWidget>& widget =
        sheet.laidOut.widgets[static_cast<std::size_t>(index)];
    if (!widget) return false;
    const SavedState saved(cr);
    cairo_translate(cr, sheetMargin + column * grid.pitchX, sheetMargin + band * grid.pitchY);
    {
      const SavedState clipped(cr);
      clipToCell(cr, widget->size, grid.cell);
      paintWidget(cr, *widget);
    }
    drawCaption(cr, captions, sheet.cells[static_cast<std::size_t>(index)].caption,
                {{0, grid.cell.height + captionGap}, {grid.cell.width, captionHeight}});
  }
  return true;
}

// One drawing thread's work: bands until none is left. Each thread draws
// through a surface of its own over the sheet's pixels, so that no Cairo
// object is shared but the fonts and pictures Cairo guards itself.
[[nodiscard]] bool drawBands(SheetDrawing& sheet) {
  cairo_surface_t* target = sheet.target;
  const SurfaceHandle surface(cairo_image_surface_create_for_data(
      cairo_image_surface_get_data(target), CAIRO_FORMAT_ARGB32,
      cairo_image_surface_get_width(target), cairo_image_surface_get_height(target),
      cairo_image_surface_get_stride(target)));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return false;
  const CairoHandle cr(cairo_create(surface.get()));
  cairo_scale(cr.get(), sheet.scale, sheet.scale);
  const PangoContextHandle captions = makeWidgetPangoContext();
  for (int band = sheet.nextBand++; band < sheet.grid.rows; band = sheet.nextBand++) {
    if (!drawBand(cr.get(), captions.get(), sheet, band)) return false;
    cairo_surface_flush(surface.get());
    sheet.drawnBands.complete(band);
  }
  return true;
}

// Lays out every cell in order, publishing each as it is done; on failure
// the cells left are published empty, so the drawing ends, and the failure
// is passed on.
void layOutCells(const std::vector<ContactSheetCell>& cells, LaidOutCells& laidOut) {
  const int count = static_cast<int>(cells.size());
  try {
    for (int index = 0; index < count; ++index) {
      laidOut.widgets[static_cast<std::size_t>(index)] =
          cells[static_cast<std::size_t>(index)].layOut();
      laidOut.laidOut.publish(index + 1);
    }
  } catch (...) {
    laidOut.laidOut.publish(count);
    throw;
  }
}

}  // namespace

RasterImage::RasterImage(int width, int height, std::vector<std::uint32_t> premultipliedArgb)
    : width_(width), height_(height), argb_(std::move(premultipliedArgb)) {
  if (width_ <= 0 || height_ <= 0 ||
      argb_.size() != static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_)) {
    *this = RasterImage();
  }
}

Pixel RasterImage::pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return {};
  const std::uint32_t word = argb_[static_cast<std::size_t>(y) * width_ + x];
  const auto alpha = static_cast<std::uint8_t>(word >> 24);
  if (alpha == 0) return {};
  const auto straight = [alpha](std::uint32_t premultiplied) {
    return static_cast<std::uint8_t>(
        std::min<std::uint32_t>(255, (premultiplied * 255 + alpha / 2) / alpha));
  };
  return {straight((word >> 16) & 0xFF), straight((word >> 8) & 0xFF), straight(word & 0xFF),
          alpha};
}

std::vector<unsigned char> RasterImage::encodePng() const {
  if (empty()) return {};
  // Cairo only reads the pixels; the surface does not outlive this call.
  auto* data = reinterpret_cast<unsigned char*>(const_cast<std::uint32_t*>(argb_.data()));
  const SurfaceHandle surface(
      cairo_image_surface_create_for_data(data, CAIRO_FORMAT_ARGB32, width_, height_, width_ * 4));
  return encode(surface.get());
}

RasterImage renderToImage(const LaidOutWidget& widget, double scale) {
  const std::optional<PixelSize> pixels = pixelSizeOf(widget.size, scale);
  if (!pixels) return {};
  const SurfaceHandle surface = drawnSurface(widget, *pixels, scale);
  return surface ? imageOf(surface.get()) : RasterImage();
}

std::vector<unsigned char> renderToPngBytes(const LaidOutWidget& widget, double scale) {
  const std::optional<PixelSize> pixels = pixelSizeOf(widget.size, scale);
  if (!pixels) return {};
  const SurfaceHandle surface = drawnSurface(widget, *pixels, scale);
  return surface ? encode(surface.get()) : std::vector<unsigned char>();
}

Status renderToFile(const LaidOutWidget& widget, ImageFormat format, double scale,
                    const std::filesystem::path& path) {
  const std::optional<PixelSize> pixels = pixelSizeOf(widget.size, scale);
  if (!pixels) return Failure{"the widget cannot be drawn at scale " + std::to_string(scale)};
  switch (format) {
    case ImageFormat::png: {
      const SurfaceHandle surface = drawnSurface(widget, *pixels, scale);
      if (!surface) {
        return Failure{"out of memory for a " + std::to_string(pixels->width) + " x " +
                       std::to_string(pixels->height) + " image"};
      }
      return writePng(surface.get(), path);
    }
    case ImageFormat::svg:
    case ImageFormat::pdf:
      return writeVector(format, widget, scale, path);
  }
  return Failure{"unknown image format"};
}

Status renderContactSheet(const std::vector<ContactSheetCell>& cells, int columns, double scale,
                          const std::filesystem::path& path) {
  if (cells.empty()) return Failure{"nothing to put on the contact sheet"};
  const SheetGrid grid = sheetGrid(cells, columns);
  const std::optional<PixelSize> pixels = pixelSizeOf(grid.sheet, scale);
  if (!pixels) return Failure{"the contact sheet is too large at scale " + std::to_string(scale)};
  const SurfaceHandle surface(
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pixels->width, pixels->height));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) {
    return Failure{"out of memory for the contact sheet"};
  }
  // A sheet is tens of megabytes: two threads draw it a band at a time, as
  // soon as the band's cells are laid out, while this one lays out the cells
  // and then encodes the rows already drawn.
  LaidOutCells laidOut{std::vector<std::optional<LaidOutWidget>>(cells.size()), {}};
  SheetDrawing sheet{cells, laidOut,       grid,
                     scale, surface.get(), bandBottoms(grid, scale, pixels->height)};
  const auto draw = [&sheet] {
    try {
      if (!drawBands(sheet)) sheet.failed = true;
    } catch (const std::exception&) {
      sheet.failed = true;
    }
    // A thread that stops early lets the encoder through to the end.
    if (sheet.failed) sheet.drawnBands.publish(sheet.grid.rows);
  };
  std::array<std::jthread, drawingThreads> drawing;
  for (std::jthread& thread : drawing) {
    try {
      thread = std::jthread(draw);
    } catch (const std::system_error&) {
      break;  // fewer threads, or none: then this one draws after laying out
    }
  }
  layOutCells(cells, laidOut);
  if (!drawing.front().joinable()) draw();
  return writePng(path, [&](const PngByteSink& sink) {
    const auto awaitRow = [&](int y) {
      const auto band = std::upper_bound(sheet.bandBottoms.begin(), sheet.bandBottoms.end(), y);
      sheet.drawnBands.await(static_cast<int>(band - sheet.bandBottoms.begin()));
    };
    const bool encoded = encodeOpaquePngAsDrawn(pixelsOf(surface.get()), sink, awaitRow);
    for (std::jthread& thread : drawing) {
      if (thread.joinable()) thread.join();
    }
    return encoded && !sheet.failed;
  });
}

}  // namespace kelpo::ui
