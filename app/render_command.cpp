// kelpo-widget render: answers a request as the desktop would and draws the
// entry to image files.

#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "command_error.h"
#include "entry_options.h"
#include "entry_renderer.h"
#include "font_report.h"
#include "platform/ui/output/render_output.h"
#include "platform/ui/text/pango_text_measurer.h"
#include "verbs.h"

namespace kelpo::app {
namespace {

struct RenderOptions {
  EntryOptions entry;
  std::string family = "both";
  double scale = 2;
  std::string format = "png";
  std::filesystem::path output = "out/widget.png";
};

[[nodiscard]] ui::ImageFormat imageFormatNamed(const std::string& name) {
  if (name == "svg") return ui::ImageFormat::svg;
  if (name == "pdf") return ui::ImageFormat::pdf;
  return ui::ImageFormat::png;
}

struct FamilyChoice {
  ui::WidgetFamily family;
  std::string name;
};

[[nodiscard]] std::vector<FamilyChoice> familiesNamed(const std::string& name) {
  std::vector<FamilyChoice> families;
  if (name != "medium") families.push_back({ui::WidgetFamily::systemSmall, "small"});
  if (name != "small") families.push_back({ui::WidgetFamily::systemMedium, "medium"});
  return families;
}

// With both families, each goes to its own file: widget.png becomes
// widget-small.png and widget-medium.png. The extension follows the format.
[[nodiscard]] std::filesystem::path outputPath(const RenderOptions& options,
                                               const FamilyChoice& family, bool several) {
  std::filesystem::path path = options.output;
  path.replace_extension("." + options.format);
  if (!several) return path;
  const std::string stem = path.stem().string() + "-" + family.name;
  return path.replace_filename(stem + "." + options.format);
}

int runRender(const RenderOptions& options) {
  const CommandContext context = resolveContext(options.entry.common);
  const ResolvedEntry resolved = resolveEntry(options.entry, context);
  const ui::PangoTextMeasurer measurer;
  const auto families = familiesNamed(options.family);

  for (const FamilyChoice& family : families) {
    const EntryDrawing drawing = drawingFor(options.entry, family.family);
    const ui::LaidOutWidget widget =
        layOutEntry(resolved.entry, resolved.accent, context.calendar, drawing, measurer);
    const std::filesystem::path path = outputPath(options, family, families.size() > 1);
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
    std::string error;
    if (!ui::renderToFile(widget, imageFormatNamed(options.format), options.scale, path, &error)) {
      throw CommandError(path.string() + ": " + error);
    }
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
      ->check(CLI::IsMember({"small", "medium", "both"}))
      ->capture_default_str();
  verb.add_option("--scale", options->scale, "Pixels per point")
      ->check(CLI::Range(0.25, 8.0))
      ->capture_default_str();
  verb.add_option("--format", options->format, "png, svg or pdf")
      ->check(CLI::IsMember({"png", "svg", "pdf"}))
      ->capture_default_str();
  verb.add_option("--output", options->output,
                  "Output file; with both families, -small and -medium are added to its name")
      ->type_name("FILE")
      ->capture_default_str();
  return Verb{&verb, [options] { return runRender(*options); }};
}

}  // namespace kelpo::app
