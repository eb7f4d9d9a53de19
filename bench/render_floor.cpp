// The floor for one medium widget rendered at 2x: the same texts, shapes,
// gradients and picture drawn with Cairo and Pango directly, and written
// with libpng at the widget's settings (Paeth filter, zlib's run-length
// strategy, row by row), with nothing of the widget (no snapshot, no views,
// no layout). bench/render_process.sh runs it beside `kelpo-widget render`
// to show what the widget adds.

#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>
#include <pango/pangofc-fontmap.h>
#include <png.h>
#include <zlib.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

void text(cairo_t* cr, PangoLayout* layout, const char* family, double size, int weight,
          const char* content, double x, double y, double width, double r, double g, double b) {
  PangoFontDescription* font = pango_font_description_new();
  pango_font_description_set_family(font, family);
  pango_font_description_set_absolute_size(font, size * PANGO_SCALE);
  pango_font_description_set_weight(font, static_cast<PangoWeight>(weight));
  pango_layout_set_font_description(layout, font);
  pango_font_description_free(font);
  pango_layout_set_width(layout, static_cast<int>(width * PANGO_SCALE));
  pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
  pango_layout_set_text(layout, content, -1);
  cairo_set_source_rgb(cr, r, g, b);
  cairo_move_to(cr, x, y);
  pango_cairo_show_layout(cr, layout);
}

void ring(cairo_t* cr, double cx, double cy, double radius, double from, double to, double alpha) {
  cairo_set_line_width(cr, 7.6);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_source_rgba(cr, 0.91, 0.33, 0.18, alpha);
  cairo_new_sub_path(cr);
  cairo_arc(cr, cx, cy, radius, -M_PI / 2 + from * 2 * M_PI, -M_PI / 2 + to * 2 * M_PI);
  cairo_stroke(cr);
}

void glow(cairo_t* cr, double x, double y, double r, double g, double b) {
  cairo_pattern_t* pattern = cairo_pattern_create_radial(x, y, 0, x, y, 900);
  cairo_pattern_add_color_stop_rgba(pattern, 0, r, g, b, 0.85);
  cairo_pattern_add_color_stop_rgba(pattern, 1, r, g, b, 0);
  cairo_set_source(cr, pattern);
  cairo_paint(cr);
  cairo_pattern_destroy(pattern);
}

// Unpremultiplies each row into straight RGBA as it goes to the encoder.
bool writePng(cairo_surface_t* surface, const char* path) {
  std::FILE* file = std::fopen(path, "wb");
  if (file == nullptr) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  const int width = cairo_image_surface_get_width(surface);
  const int height = cairo_image_surface_get_height(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  std::vector<unsigned char> row(static_cast<std::size_t>(width) * 4);
  bool written = false;
  if (setjmp(png_jmpbuf(png)) == 0) {
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_PAETH);
    png_set_compression_strategy(png, Z_RLE);
    png_set_compression_buffer_size(png, 64 * 1024);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        std::uint32_t pixel = 0;
        std::memcpy(&pixel, data + y * stride + x * 4, 4);
        const std::uint32_t a = pixel >> 24;
        unsigned char* out = &row[x * 4];
        for (int c = 0; c < 3; ++c) {
          const std::uint32_t v = (pixel >> (16 - 8 * c)) & 0xFF;
          out[c] = a == 0 ? 0 : static_cast<unsigned char>((v * 255 + a / 2) / a);
        }
        out[3] = static_cast<unsigned char>(a);
      }
      png_write_row(png, row.data());
    }
    png_write_end(png, info);
    written = true;
  }
  png_destroy_write_struct(&png, &info);
  return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
  const char* output = argc > 1 ? argv[1] : "floor.png";
  const char* fontFile = argc > 2 ? argv[2] : nullptr;
  const char* mascot = argc > 3 ? argv[3] : nullptr;
  if (fontFile != nullptr) {
    FcConfigAppFontAddFile(FcConfigGetCurrent(), reinterpret_cast<const FcChar8*>(fontFile));
  }

  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 728, 340);
  cairo_t* cr = cairo_create(surface);
  cairo_scale(cr, 2, 2);
  cairo_new_path(cr);
  cairo_rectangle(cr, 0, 0, 364, 170);
  cairo_clip(cr);
  cairo_set_source_rgb(cr, 248 / 255.0, 245 / 255.0, 243 / 255.0);
  cairo_paint(cr);
  glow(cr, 0, 0, 1.0, 0.77, 0.67);
  glow(cr, 364, 85, 0.84, 0.78, 0.98);
  glow(cr, 182, 170, 0.75, 0.86, 0.98);

  ring(cr, 66, 54, 34.2, 0, 1, 0.1);
  ring(cr, 66, 54, 34.2, 0, 0.7, 0.35);
  ring(cr, 66, 54, 34.2, 0, 0.45, 1);
  if (mascot != nullptr) {
    cairo_surface_t* picture = cairo_image_surface_create_from_png(mascot);
    if (cairo_surface_status(picture) == CAIRO_STATUS_SUCCESS) {
      cairo_save(cr);
      cairo_translate(cr, 32, 14);
      cairo_scale(cr, 68.4 / 256, 68.4 / 256);
      cairo_set_source_surface(cr, picture, 0, 0);
      cairo_paint(cr);
      cairo_restore(cr);
    }
    cairo_surface_destroy(picture);
  }

  PangoLayout* layout = pango_cairo_create_layout(cr);
  text(cr, layout, "Inter", 10.5, 400, "Ta semaine", 38, 108, 100, 0.4, 0.37, 0.43);
  text(cr, layout, "Inter", 13, 700, "2 h 15 / 5 h", 32, 121, 100, 0.12, 0.09, 0.13);
  text(cr, layout, "Inter", 11, 400, "demain 8:00", 41, 141, 80, 0.6, 0.56, 0.61);
  text(cr, layout, "Bricolage Grotesque", 16, 800, "3 à trier", 130, 16, 218, 0.73, 0.25, 0.12);
  const char* titles[] = {"AGP 9.5 : mapping.txt corrigé", "Blender 4.5 : support des GPU Apple",
                          "Swift 6.2 : concurrence stricte par défaut"};
  for (int row = 0; row < 3; ++row) {
    const double y = 43 + row * 36;
    cairo_set_source_rgb(cr, 0.85, 0.33, 0.18);
    cairo_rectangle(cr, 130, y + 3, 22, 22);
    cairo_fill(cr);
    text(cr, layout, "Bricolage Grotesque", 10.34, 800, std::to_string(9 - row).c_str(), 138, y + 8,
         20, 1, 1, 1);
    text(cr, layout, "Inter", 12.5, 600, titles[row], 161, y, 187, 0.12, 0.09, 0.13);
    text(cr, layout, "Inter", 10.5, 400, "Pixelbarn · 30 min", 161, y + 15, 187, 0.6, 0.56, 0.61);
  }
  g_object_unref(layout);

  cairo_surface_flush(surface);
  const bool written = writePng(surface, output);
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  if (!written) {
    std::fprintf(stderr, "render_floor: cannot write %s\n", output);
    return 1;
  }
  return 0;
}
