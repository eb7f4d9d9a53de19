// kelpo-widget gallery: every mode, in both sizes and both appearances, on
// one contact sheet, so the whole widget can be seen at a glance.

#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <system_error>

#include "command/command_error.h"
#include "command/common_options.h"
#include "command/font_report.h"
#include "command/verbs.h"
#include "engine/layout/widget_geometry.h"
#include "engine/output/render_output.h"
#include "engine/text/pango_text_measurer.h"
#include "layouts/extension_context.h"
#include "verbs/gallery_examples.h"

namespace kelpo::app {
namespace {

struct GalleryOptions {
  CommonOptions common;
  std::filesystem::path output = "out/gallery.png";
  double scale = 2;
  bool reduceMotion = false;
};

struct Appearance {
  ui::ColorScheme scheme;
  const char* name;
};

// Each example's row: every size in light, then every size in dark.
constexpr Appearance appearances[] = {{ui::ColorScheme::light, "light"},
                                      {ui::ColorScheme::dark, "dark"}};

int runGallery(const GalleryOptions& options) {
  const CommandContext context = resolveContext(options.common);
  const Instant now = context.clock->now();
  const ui::PangoTextMeasurer measurer;

  // Each cell is laid out when the sheet asks for it, so that the first rows
  // are drawn while the later ones are still being laid out.
  std::vector<ui::ContactSheetCell> sheet;
  for (const GalleryExample& example : galleryExamples(now)) {
    const auto entry = std::make_shared<const Entry>(Entry{now, example.snapshot});
    const ExtensionContext extension = ExtensionContext::afterLoading(example.snapshot);
    const std::string caption = example.name + " · " + std::string(rawValue(extension.accent()));
    for (const Appearance& appearance : appearances) {
      for (const WidgetSize& size : widgetSizes) {
        const EntryDrawing drawing{size.family, appearance.scheme, options.reduceMotion, 0};
        sheet.push_back({caption + " · " + std::string(size.name) + " · " + appearance.name,
                         ui::widgetGeometry({size.width, size.height}).size,
                         [entry, extension, drawing, &context, &measurer] {
                           return extension.layOut(*entry, context.calendar, drawing, measurer);
                         }});
      }
    }
  }

  if (options.output.has_parent_path()) {
    std::error_code error;
    std::filesystem::create_directories(options.output.parent_path(), error);
    if (error) throw CommandError(options.output.parent_path().string() + ": " + error.message());
  }
  if (const Status drawn = ui::renderContactSheet(sheet, 4, options.scale, options.output);
      !drawn) {
    throw CommandError(options.output.string() + ": " + drawn.error());
  }
  std::cout << options.output.string() << '\n';
  reportMissingFonts(std::cerr);
  return 0;
}

}  // namespace

Verb addGalleryVerb(CLI::App& parent) {
  auto options = std::make_shared<GalleryOptions>();
  CLI::App& verb = addVerbCommand(
      parent, "gallery", "Draw every mode in both sizes and appearances on one contact sheet");
  addCommonOptions(verb, options->common);
  verb.add_option("--output", options->output, "The contact sheet, a PNG file")
      ->type_name("FILE")
      ->capture_default_str();
  verb.add_option("--scale", options->scale, "Pixels per point")
      ->check(CLI::Range(0.25, 4.0))
      ->capture_default_str();
  verb.add_flag("--reduce-motion", options->reduceMotion, "Draw with reduced motion");
  return Verb{&verb, [options] { return runGallery(*options); }};
}

}  // namespace kelpo::app
