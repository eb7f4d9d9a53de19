// kelpo-widget tree: the laid-out tree of an entry as text, what a screen
// reader would announce, or the link a click at a point opens.

#include <cmath>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "base/text/quoted_text.h"
#include "command/command_error.h"
#include "command/entry_options.h"
#include "command/font_report.h"
#include "command/verbs.h"
#include "engine/output/accessibility_dump.h"
#include "engine/output/hit_testing.h"
#include "engine/output/tree_dump.h"
#include "engine/text/pango_text_measurer.h"

namespace kelpo::app {
namespace {

struct TreeOptions {
  EntryOptions entry;
  std::string family{widgetSize(WidgetFamily::systemMedium).name};
  bool accessibility = false;
  std::string hit;  // "X,Y" in points from the widget's top-left corner
};

[[nodiscard]] ui::Point parsePoint(const std::string& text) {
  const auto comma = text.find(',');
  try {
    if (comma == std::string::npos) throw std::invalid_argument("no comma");
    std::size_t usedX = 0;
    std::size_t usedY = 0;
    const std::string xText = text.substr(0, comma);
    const std::string yText = text.substr(comma + 1);
    const double x = std::stod(xText, &usedX);
    const double y = std::stod(yText, &usedY);
    if (usedX != xText.size() || usedY != yText.size() || !std::isfinite(x) || !std::isfinite(y)) {
      throw std::invalid_argument("trailing text");
    }
    return {x, y};
  } catch (const std::exception&) {
    throw CommandError("--hit: \"" + text + "\" is not a point X,Y in points (such as 40,80)");
  }
}

void printAccessibility(const ui::LaidOutWidget& widget) {
  for (const auto& element : ui::accessibilityElements(widget)) {
    // Quoted and escaped: labels are snapshot text, which must not reach the
    // terminal as control codes nor split one element over two lines.
    std::cout << quotedText(element.label);
    if (element.value) std::cout << " — " << quotedText(*element.value);
    std::cout << '\n';
  }
}

int runTree(const TreeOptions& options) {
  const std::optional<ui::Point> hit =
      options.hit.empty() ? std::nullopt : std::optional(parsePoint(options.hit));
  const CommandContext context = resolveContext(options.entry.common);
  const ResolvedEntry resolved = resolveEntry(options.entry, context);
  const ui::PangoTextMeasurer measurer;
  const EntryDrawing drawing =
      drawingFor(options.entry, widgetFamilyNamed(options.family).value_or(WidgetFamily{}));
  const ui::LaidOutWidget widget =
      resolved.context.layOut(resolved.entry, context.calendar, drawing, measurer);

  if (hit) {
    const auto link = ui::linkAt(widget, *hit);
    std::cout << (link ? *link : std::string("(outside the widget)")) << '\n';
  } else if (options.accessibility) {
    printAccessibility(widget);
  } else {
    std::cout << ui::dumpTree(widget);
  }
  reportMissingFonts(std::cerr);
  return 0;
}

}  // namespace

Verb addTreeVerb(CLI::App& parent) {
  auto options = std::make_shared<TreeOptions>();
  CLI::App& verb =
      addVerbCommand(parent, "tree", "Print the laid-out view tree of the widget for a request");
  addEntryOptions(verb, options->entry);
  verb.add_option("--family", options->family, "small or medium")
      ->check(CLI::IsMember(widgetSizeNames()))
      ->capture_default_str();
  auto* accessibility = verb.add_flag("--accessibility", options->accessibility,
                                      "Print what a screen reader announces instead");
  verb.add_option("--hit", options->hit,
                  "Print the link a click at X,Y (points from the top-left corner) opens")
      ->type_name("X,Y")
      ->excludes(accessibility);
  return Verb{&verb, [options] { return runTree(*options); }};
}

}  // namespace kelpo::app
