// kelpo-widget render: answers a request as the desktop would and draws the
// entry to image files.

#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "command/command_error.h"
#include "command/entry_options.h"
#include "command/font_report.h"
#include "command/verbs.h"
#include "engine/output/render_output.h"
#include "engine/text/pango_text_measurer.h"

namespace kelpo::app {
namespace {

constexpr std::string_view everySize = "both";

struct RenderOptions {
  EntryOptions entry;
  std::string family{everySize};
  double scale = 2;
  std::string format = "png";
  std::string output;  // empty: out/widget.FORMAT, or out/widget-{family}.FORMAT for both
};

constexpr std::string_view familyPlaceholder = "{family}";

[[nodiscard]] ui::ImageFormat imageFormatNamed(const std::string& name) {
  if (name == "svg") return ui::ImageFormat::svg;
  if (name == "pdf") return ui::ImageFormat::pdf;
  return ui::ImageFormat::png;
}

// The sizes --family names: one, or every size.
[[nodiscard]] std::vector<WidgetSize> sizesNamed(const std::string& name) {
  std::vector<WidgetSize> sizes;
  for (const WidgetSize& size : widgetSizes) {
    if (name == everySize || name == size.name) sizes.push_back(size);
  }
  return sizes;
}

// --output is the file name as given, never decorated: "{family}" in it
// becomes the size's name, which --family both requires so that the two
// images do not overwrite one another.
[[nodiscard]] std::string outputPattern(const RenderOptions& options, bool several) {
  if (options.output.empty()) {
    return std::string("out/widget") + (several ? "-{family}." : ".") + options.format;
  }
  if (several && options.output.find(familyPlaceholder) == std::string::npos) {
    throw CommandError(
        "--output: with --family both, the name must hold {family}, such as "
        "out/widget-{family}." +
        options.format);
  }
  return options.output;
}

[[nodiscard]] std::filesystem::path outputPath(std::string pattern, const WidgetSize& size) {
  for (auto at = pattern.find(familyPlaceholder); at != std::string::npos;
       at = pattern.find(familyPlaceholder, at + size.name.size())) {
    pattern.replace(at, familyPlaceholder.size(), size.name);
  }
  return pattern;
}

int runRender(const RenderOptions& options) {
  const CommandContext context = resolveContext(options.entry.common);
  const ResolvedEntry resolved = resolveEntry(options.entry, context);
  const ui::PangoTextMeasurer measurer;
  const auto sizes = sizesNamed(options.family);
  const std::string pattern = outputPattern(options, sizes.size() > 1);

  for (const WidgetSize& size : sizes) {
    const EntryDrawing drawing = drawingFor(options.entry, size.family);
    const ui::LaidOutWidget widget =
        resolved.context.layOut(resolved.entry, context.calendar, drawing, measurer);
    const std::filesystem::path path = outputPath(pattern, size);
    if (path.has_parent_path()) {
      std::error_code ignored;  // a directory that cannot be made fails the write, which says why
      std::filesystem::create_directories(path.parent_path(), ignored);
    }
    const Status drawn =
        ui::renderToFile(widget, imageFormatNamed(options.format), options.scale, path);
    if (!drawn) throw CommandError(drawn.error());
    std::cout << path.string() << '\n';
  }
  reportMissingFonts(std::cerr);
  return 0;
}

}  // namespace

Verb addRenderVerb(CLI::App& parent) {
  auto options = std::make_shared<RenderOptions>();
  CLI::App& verb =
      addVerbCommand(parent, "render", "Draw the widget for a request into image files");
  addEntryOptions(verb, options->entry);
  verb.add_option("--family", options->family, "small, medium or both")
      ->check(CLI::IsMember([] {
        auto names = widgetSizeNames();
        names.emplace_back(everySize);
        return names;
      }()))
      ->capture_default_str();
  verb.add_option("--scale", options->scale, "Pixels per point")
      ->check(CLI::Range(0.25, 8.0))
      ->capture_default_str();
  verb.add_option("--format", options->format, "png, svg or pdf")
      ->check(CLI::IsMember({"png", "svg", "pdf"}))
      ->capture_default_str();
  verb.add_option("--output", options->output,
                  "Output file, used as given; {family} in it becomes small or medium, and "
                  "--family both needs it (default: out/widget.FORMAT, "
                  "out/widget-{family}.FORMAT for both)")
      ->type_name("FILE");
  return Verb{&verb, [options] { return runRender(*options); }};
}

}  // namespace kelpo::app
