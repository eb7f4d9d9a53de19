#include "engine/output/tree_dump.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "base/text/quoted_text.h"
#include "engine/cairo/bitmap.h"

namespace kelpo::ui {

namespace {

int channel(double component) {
  return static_cast<int>(std::lround(std::clamp(component, 0.0, 1.0) * 255));
}

std::string hexChannel(double component) {
  char buffer[3];
  std::snprintf(buffer, sizeof buffer, "%02X", channel(component));
  return buffer;
}

std::string formatPoint(Point p) {
  return "(" + formatLength(p.x) + ", " + formatLength(p.y) + ")";
}

std::string formatUnitPoint(UnitPoint p) {
  return "(" + formatLength(p.x) + ", " + formatLength(p.y) + ")";
}

std::string formatFrame(const Rect& r) {
  return "(" + formatLength(r.minX()) + ", " + formatLength(r.minY()) + ", " +
         formatLength(r.size.width) + " × " + formatLength(r.size.height) + ")";
}

std::string colorList(const std::vector<Color>& colors, ColorScheme scheme) {
  std::string out;
  for (const Color& c : colors) out += (out.empty() ? "" : ", ") + formatColor(c.resolve(scheme));
  return out;
}

const char* weightName(FontWeight weight) {
  switch (weight) {
    case FontWeight::regular:
      return "regular";
    case FontWeight::medium:
      return "medium";
    case FontWeight::semibold:
      return "semibold";
    case FontWeight::bold:
      return "bold";
    case FontWeight::heavy:
      return "heavy";
  }
  return "regular";
}

// The font as drawn: its size times the scale the text was fitted at.
std::string formatFont(const Font& font, double scale) {
  std::string out = font.isSystem() ? "system" : quotedText(font.family);
  out += " " + formatLength(font.size * scale) + " " + weightName(font.weight);
  if (font.monospacedDigits) out += " monospacedDigits";
  return out;
}

std::string shapeGeometry(const ShapeGeometry& shape) {
  std::string out;
  if (shape.kind == ShapeGeometry::Kind::roundedRectangle) {
    out += " radius " + formatLength(shape.cornerRadius);
    out += shape.cornerStyle == CornerStyle::continuous ? " continuous" : " circular";
  }
  if (shape.trimFrom != 0 || shape.trimTo != 1)
    out += " trim " + formatLength(shape.trimFrom) + "…" + formatLength(shape.trimTo);
  return out;
}

const char* shapeKindName(ShapeGeometry::Kind kind) {
  switch (kind) {
    case ShapeGeometry::Kind::rectangle:
      return "rectangle";
    case ShapeGeometry::Kind::roundedRectangle:
      return "roundedRectangle";
    case ShapeGeometry::Kind::circle:
      return "circle";
  }
  return "shape";
}

const char* capName(LineCap cap) {
  switch (cap) {
    case LineCap::butt:
      return "butt";
    case LineCap::round:
      return "round";
    case LineCap::square:
      return "square";
  }
  return "butt";
}

// Texts come from the snapshot: quoted and escaped, a title can neither add
// a line that reads as a node of its own nor send control codes to a terminal.
std::string textDetails(const LaidOutNode& node, ColorScheme scheme) {
  std::string all;
  for (const StyledRun& run : node.text.runs) all += run.text;
  std::string out = " " + quotedText(all);
  const double scale = node.textFit.scale;
  const auto style = [&](const StyledRun& run) {
    return formatFont(run.font, scale) + " " + formatPaint(run.foreground, scheme);
  };
  const bool uniform =
      std::all_of(node.text.runs.begin(), node.text.runs.end(), [&](const auto& r) {
        return r.font == node.text.runs.front().font &&
               r.foreground == node.text.runs.front().foreground;
      });
  if (!node.text.runs.empty() && uniform) {
    out += " " + style(node.text.runs.front());
  } else {
    for (const StyledRun& run : node.text.runs)
      out += " [" + quotedText(run.text) + " " + style(run) + "]";
  }
  const TextStyle& s = node.text.style;
  if (s.lineLimit) out += " lineLimit " + std::to_string(*s.lineLimit);
  if (s.tracking != 0) out += " tracking " + formatLength(s.tracking);
  if (s.lineSpacing != 0) out += " lineSpacing " + formatLength(s.lineSpacing);
  if (s.alignment == 1) out += " centered";
  if (s.alignment == 2) out += " trailing";
  if (scale != 1) out += " scale " + formatLength(scale);
  if (node.textFit.truncated) out += " truncated";
  return out;
}

std::string contentDetails(const LaidOutNode& node, ColorScheme scheme) {
  switch (node.kind) {
    case LaidOutNode::Kind::group:
      return "";
    case LaidOutNode::Kind::text:
      return textDetails(node, scheme);
    case LaidOutNode::Kind::symbol:
      return " symbol " + quotedText(node.symbolName) + " " + formatFont(node.symbolFont, 1) + " " +
             formatPaint(node.foreground, scheme);
    case LaidOutNode::Kind::bitmap: {
      if (!node.bitmap) return " bitmap empty";
      const Size pixels = node.bitmap->size();
      return " bitmap " + formatLength(pixels.width) + " × " + formatLength(pixels.height);
    }
    case LaidOutNode::Kind::shape: {
      std::string out =
          std::string(" ") + shapeKindName(node.shape.kind) + shapeGeometry(node.shape);
      if (node.fill) out += " fill " + formatPaint(*node.fill, scheme);
      if (node.strokePaint) {
        out += std::string(node.strokeInside ? " strokeBorder " : " stroke ") +
               formatPaint(*node.strokePaint, scheme) + " width " +
               formatLength(node.strokeStyle.lineWidth);
        if (node.strokeStyle.lineCap != LineCap::butt)
          out += std::string(" cap ") + capName(node.strokeStyle.lineCap);
      }
      return out;
    }
    case LaidOutNode::Kind::paint:
      return node.paint ? " paint " + formatPaint(*node.paint, scheme) : "";
  }
  return "";
}

std::string effectDetails(const LaidOutNode& node, ColorScheme scheme) {
  std::string out;
  if (node.offset != Point{}) out += " offset " + formatPoint(node.offset);
  if (node.rotationDegrees != 0) out += " rotation " + formatLength(node.rotationDegrees) + "°";
  if (node.shadow) {
    out += " shadow " + formatColor(node.shadow->color.resolve(scheme)) + " radius " +
           formatLength(node.shadow->radius) + " " + formatPoint({node.shadow->x, node.shadow->y});
  }
  if (node.opacity != 1) out += " opacity " + formatLength(node.opacity);
  if (node.clip)
    out += std::string(" clip ") + shapeKindName(node.clip->kind) + shapeGeometry(*node.clip);
  if (node.link) out += " link " + quotedText(*node.link);
  if (!node.hitTestable) out += " noHitTesting";
  const AccessibilityInfo& a = node.accessibility;
  if (a.isElement || a.hidden || a.label || a.value) {
    out += " a11y[";
    std::string parts;
    const auto add = [&](const std::string& part) { parts += (parts.empty() ? "" : " ") + part; };
    if (a.isElement) add("element");
    if (a.hidden) add("hidden");
    if (a.label) add("label " + quotedText(*a.label));
    if (a.value) add("value " + quotedText(*a.value));
    out += parts + "]";
  }
  return out;
}

void dumpInto(std::string& out, const LaidOutNode& node, ColorScheme scheme, int depth) {
  out += std::string(static_cast<std::size_t>(depth) * 2, ' ');
  out += node.name.empty() ? "node" : node.name;
  out += " " + formatFrame(node.frame);
  out += contentDetails(node, scheme);
  out += effectDetails(node, scheme);
  out += "\n";
  for (const LaidOutNode& child : node.children) dumpInto(out, child, scheme, depth + 1);
}

}  // namespace

std::string formatLength(double value) {
  if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
  if (std::isnan(value)) return "nan";
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.2f", value);
  std::string text = buffer;
  while (text.back() == '0') text.pop_back();
  if (text.back() == '.') text.pop_back();
  if (text == "-0") text = "0";
  return text;
}

std::string formatColor(const Rgba& color) {
  if (channel(color.alpha) == 255) {
    return "#" + hexChannel(color.red) + hexChannel(color.green) + hexChannel(color.blue);
  }
  return "rgba(" + std::to_string(channel(color.red)) + ", " +
         std::to_string(channel(color.green)) + ", " + std::to_string(channel(color.blue)) + ", " +
         formatLength(std::clamp(color.alpha, 0.0, 1.0)) + ")";
}

std::string formatPaint(const Paint& paint, ColorScheme scheme) {
  if (const auto* color = std::get_if<Color>(&paint)) return formatColor(color->resolve(scheme));
  if (const auto* linear = std::get_if<LinearGradient>(&paint)) {
    return "linearGradient(" + colorList(linear->colors, scheme) + " from " +
           formatUnitPoint(linear->startPoint) + " to " + formatUnitPoint(linear->endPoint) + ")";
  }
  const auto& radial = std::get<RadialGradient>(paint);
  return "radialGradient(" + colorList(radial.colors, scheme) + " at " +
         formatUnitPoint(radial.center) + " radius " + formatLength(radial.startRadius) + "…" +
         formatLength(radial.endRadius) + ")";
}

std::string dumpNode(const LaidOutNode& node, ColorScheme scheme) {
  std::string out;
  dumpInto(out, node, scheme, 0);
  return out;
}

std::string dumpTree(const LaidOutWidget& widget) {
  std::string out = "widget " + formatLength(widget.size.width) + " × " +
                    formatLength(widget.size.height) + " corner " +
                    formatLength(widget.cornerRadius) +
                    (widget.colorScheme == ColorScheme::dark ? " dark" : " light");
  if (widget.widgetURL) out += " url " + quotedText(*widget.widgetURL);
  out += "\n";
  if (widget.containerBackground) {
    out += "containerBackground\n";
    dumpInto(out, *widget.containerBackground, widget.colorScheme, 1);
  }
  out += "content\n";
  dumpInto(out, widget.content, widget.colorScheme, 1);
  return out;
}

}  // namespace kelpo::ui
