// Drawing cost of a medium widget at 2x: a hand-made tree of about a
// hundred nodes (texts, shapes, gradients, one shadow), its PNG encoding,
// and the text measurer that layout calls for every text.

#include <benchmark/benchmark.h>
#include <cairo.h>

#include <string>

#include "engine/drawing/painter.h"
#include "engine/output/render_output.h"
#include "engine/text/pango_text_measurer.h"

namespace kelpo::ui {
namespace {

constexpr Size mediumWidget{364, 170};
constexpr double renderScale = 2;

const Color ink = Color(Rgba{0.16, 0.1, 0.16, 1});
const Color accent = Color(Rgba{0.05, 0.52, 0.51, 1});

LaidOutNode textNode(const PangoTextMeasurer& measurer, std::string text, Font font, Point at,
                     double width) {
  LaidOutNode node;
  node.kind = LaidOutNode::Kind::text;
  node.text = StyledText{{StyledRun{std::move(text), std::move(font), ink}}, {}};
  node.text.style.lineLimit = 1;
  node.textFit =
      measurer.fit(node.text, {ProposedLength::exactly(width), ProposedLength::unspecified()});
  node.frame = {at, node.textFit.size};
  return node;
}

LaidOutNode shapeNode(ShapeGeometry shape, Rect frame, Paint fill) {
  LaidOutNode node;
  node.kind = LaidOutNode::Kind::shape;
  node.shape = shape;
  node.frame = frame;
  node.fill = std::move(fill);
  return node;
}

// Background glows, a ring of three circles, a heading and six rows of a
// badge (plate + number), a title, a detail and a separator, repeated to
// reach about a hundred nodes.
LaidOutWidget hundredNodeWidget() {
  const PangoTextMeasurer measurer;
  LaidOutWidget widget;
  widget.size = mediumWidget;
  widget.cornerRadius = 22;
  LaidOutNode background;
  background.frame = {{0, 0}, mediumWidget};
  LaidOutNode base;
  base.kind = LaidOutNode::Kind::paint;
  base.frame = background.frame;
  base.paint = Color(Rgba{0.97, 0.96, 0.95, 1});
  background.children.push_back(base);
  for (const UnitPoint centre :
       {UnitPoint::topLeading(), UnitPoint::trailing(), UnitPoint::bottom()}) {
    LaidOutNode glow = base;
    glow.paint = RadialGradient{{accent.opacity(0.85), Color::clear()}, centre, 0, 900};
    background.children.push_back(glow);
  }
  widget.containerBackground = background;

  LaidOutNode& content = widget.content;
  content.frame = {{16, 16}, {332, 138}};
  for (const double trim : {1.0, 0.7, 0.45}) {
    LaidOutNode ring;
    ring.kind = LaidOutNode::Kind::shape;
    ring.shape.kind = ShapeGeometry::Kind::circle;
    ring.shape.trimTo = trim;
    ring.frame = {{20, 20}, {76, 76}};
    ring.strokePaint = trim == 1.0 ? ink.opacity(0.1) : accent;
    ring.strokeStyle.lineWidth = 7.6;
    ring.strokeStyle.lineCap = LineCap::round;
    ring.rotationDegrees = -90;
    content.children.push_back(ring);
  }
  content.children.push_back(
      textNode(measurer, "Ta semaine", Font::system(13, FontWeight::semibold), {20, 110}, 100));
  content.children.push_back(textNode(measurer, "3 à trier",
                                      Font::custom("Bricolage Grotesque", 20, FontWeight::heavy),
                                      {140, 16}, 200));
  for (int row = 0; row < 15; ++row) {
    const double y = 44 + row * 7;
    LaidOutNode badge;
    badge.frame = {{140, y}, {16, 16}};
    badge.children.push_back(
        shapeNode({ShapeGeometry::Kind::roundedRectangle, 5.12}, badge.frame,
                  LinearGradient{{Color(Rgba{1, 0.8, 0.3, 1}), Color(Rgba{0.9, 0.6, 0.1, 1})}}));
    badge.children.push_back(
        textNode(measurer, std::to_string(row % 11),
                 Font::custom("Bricolage Grotesque", 7.5, FontWeight::heavy).withMonospacedDigits(),
                 {144, y + 3}, 16));
    if (row == 0) badge.shadow = Shadow{Color(Rgba{0.85, 0.33, 0.18, 0.45}), 6, 0, 4};
    content.children.push_back(badge);
    content.children.push_back(textNode(measurer, "Un article au titre plutôt long, coupé net",
                                        Font::system(12, FontWeight::semibold), {162, y}, 170));
    content.children.push_back(
        textNode(measurer, "Veille · 12 min", Font::system(10), {162, y + 14}, 170));
    content.children.push_back(shapeNode({}, {{162, y + 26}, {170, 0.5}}, ink.opacity(0.08)));
  }
  return widget;
}

int countNodes(const LaidOutNode& node) {
  int count = 1;
  for (const LaidOutNode& child : node.children) count += countNodes(child);
  return count;
}

void paintHundredNodesAt2x(benchmark::State& state) {
  const LaidOutWidget widget = hundredNodeWidget();
  cairo_surface_t* surface = cairo_image_surface_create(
      CAIRO_FORMAT_ARGB32, static_cast<int>(mediumWidget.width * renderScale),
      static_cast<int>(mediumWidget.height * renderScale));
  for (auto _ : state) {
    cairo_t* cr = cairo_create(surface);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_paint(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    cairo_scale(cr, renderScale, renderScale);
    paintWidget(cr, widget);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
  }
  cairo_surface_destroy(surface);
  state.counters["nodes"] = countNodes(widget.content) + countNodes(*widget.containerBackground);
}
BENCHMARK(paintHundredNodesAt2x)->Unit(benchmark::kMillisecond);

void encodeMediumPngAt2x(benchmark::State& state) {
  const RasterImage image = renderToImage(hundredNodeWidget(), renderScale);
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::vector<unsigned char> png = image.encodePng();
    bytes = png.size();
    benchmark::DoNotOptimize(png.data());
  }
  state.counters["png_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(encodeMediumPngAt2x)->Unit(benchmark::kMillisecond);

void measureOneLineText(benchmark::State& state) {
  const PangoTextMeasurer measurer;
  StyledText text{{StyledRun{"Fouille aujourd’hui 14:30", Font::system(11), ink}}, {}};
  text.style.lineLimit = 1;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        measurer.fit(text, {ProposedLength::exactly(150), ProposedLength::unspecified()}));
  }
}
BENCHMARK(measureOneLineText)->Unit(benchmark::kMicrosecond);

void measureShrinkingText(benchmark::State& state) {
  const PangoTextMeasurer measurer;
  StyledText text{{StyledRun{"Fouille aujourd’hui 14:30", Font::system(11), ink}}, {}};
  text.style.lineLimit = 1;
  text.style.minimumScaleFactor = 0.5;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        measurer.fit(text, {ProposedLength::exactly(90), ProposedLength::unspecified()}));
  }
}
BENCHMARK(measureShrinkingText)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kelpo::ui

BENCHMARK_MAIN();
