// Building and laying out a widget-sized view tree (about a hundred view
// nodes: stacks, texts, shapes, frames, paddings, backgrounds, links, state)
// with the fixed-metric measurer and with the Pango measurer.

#include <benchmark/benchmark.h>

#include <string>

#include "engine/fake_text_measurer.h"
#include "engine/layout/widget_layout.h"
#include "engine/text/pango_text_measurer.h"

namespace kelpo::ui {
namespace {

FlexibleFrame filling(Alignment alignment) {
  FlexibleFrame frame;
  frame.maxWidth = infinity;
  frame.maxHeight = infinity;
  frame.alignment = alignment;
  return frame;
}

View badge(int score) {
  const ShapeGeometry shape = RoundedRectangle(7.04);
  return Stateful(-1, [score, shape](const StateHandle& sheen, const Environment&) {
    return Text(LocalizedPhrase{"%lld", {std::int64_t{score}}})
        .font(Font::custom("Bricolage Grotesque", 10.34, FontWeight::heavy).withMonospacedDigits())
        .frame(22, 22)
        .background(fill(shape, Color::black()).overlay(strokeBorder(shape, Color::white(), 0.5)))
        .overlay(GeometryReader([sheen](Size size) {
                   return PaintView(LinearGradient{{Color::clear(), Color::white(), Color::clear()},
                                                   UnitPoint::leading(),
                                                   UnitPoint::trailing()})
                       .frame(size.width * 0.55, size.height * 2)
                       .rotationEffect(20)
                       .offset(size.width * 0.22 + sheen.value() * size.width * 1.2,
                               -size.height / 2);
                 })
                     .allowsHitTesting(false)
                     .clipShape(shape))
        .shadow(Color::black().opacity(0.45), 6, 0, 4)
        .accessibilityLabel(Text("Note 10 sur 10, pépite"));
  });
}

View row(int index) {
  return Link(
      "kelpo://topic/" + std::to_string(index),
      HStack(
          VerticalAlignment::center, 9,
          {badge(index + 7),
           VStack(
               HorizontalAlignment::leading, 0,
               {Text::verbatim("Un titre assez long pour être coupé à la fin " +
                               std::to_string(index))
                    .font(Font::system(12.5, FontWeight::semibold))
                    .lineLimit(1),
                Text::verbatim("Le Monde · il y a 2 h").font(Font::system(10.5)).lineLimit(1)})}));
}

View ring() {
  StrokeStyle arc;
  arc.lineWidth = 7.6;
  arc.lineCap = LineCap::round;
  return ZStack(
             Alignment::center(),
             {stroke(Circle(), Color::black(), arc),
              stroke(trim(Circle(), 0, 0.7), Color::black().opacity(0.35), arc).rotationEffect(-90),
              stroke(trim(Circle(), 0, 0.45), Color::black(), arc).rotationEffect(-90),
              Image::file("/nonexistent/mascot-found.png")
                  .resizable()
                  .aspectRatio(std::nullopt, ContentMode::fit)
                  .accessibilityHidden(true)
                  .frame(68.4, 68.4)
                  .offset(0, -6.08)})
      .padding(3.8)
      .frame(76, 76)
      .accessibilityElementIgnoringChildren()
      .accessibilityLabel(Text("Ta semaine"))
      .accessibilityValue(Text::verbatim("2 h 15 / 5 h"));
}

View mediumWidget() {
  const View sidebar =
      VStack(HorizontalAlignment::center, 0,
             {ring(), Spacer(4), Text("Ta semaine").font(Font::system(10.5)),
              Text::verbatim("2 h 15 / 5 h")
                  .font(Font::system(13, FontWeight::bold))
                  .lineLimit(1)
                  .minimumScaleFactor(0.8),
              HStack(VerticalAlignment::center, 4,
                     {Image::systemName("clock").font(Font::system(9.5, FontWeight::semibold)),
                      Text::verbatim("lun. 8:00").lineLimit(1)})
                  .font(Font::system(11))
                  .padding(Edge::top, 4)});
  std::vector<View> rows;
  for (int i = 0; i < 5; ++i) rows.push_back(row(i));
  const View main = VStack(HorizontalAlignment::leading, 8,
                           {Text(LocalizedPhrase{"%lld à trier", {std::int64_t{3}}})
                                .font(Font::custom("Bricolage Grotesque", 16, FontWeight::heavy))
                                .lineLimit(1),
                            Group(std::move(rows)), Spacer(0)});
  return HStack(VerticalAlignment::top, 14,
                {sidebar.frame(100, std::nullopt).frame(FlexibleFrame{.maxHeight = infinity}),
                 main.frame(filling(Alignment::topLeading()))})
      .containerBackground(ZStack(Alignment::center(), {PaintView(Color::white())}))
      .widgetURL("kelpo://inbox");
}

int countNodes(const LaidOutNode& node) {
  int count = 1;
  for (const auto& child : node.children) count += countNodes(child);
  return count;
}

void layOutMedium(benchmark::State& state, const TextMeasurer& measurer) {
  Environment environment;
  environment.widgetSize = {364, 170};  // the medium widget
  int nodes = 0;
  for (auto _ : state) {
    LaidOutWidget widget = layoutWidget(mediumWidget(), environment, measurer);
    nodes = countNodes(widget.content);
    benchmark::DoNotOptimize(widget);
  }
  state.counters["nodes"] = nodes;
}

void BM_LayoutMediumWidgetFakeMeasurer(benchmark::State& state) {
  const testing::FakeTextMeasurer measurer;
  layOutMedium(state, measurer);
}
BENCHMARK(BM_LayoutMediumWidgetFakeMeasurer)->Unit(benchmark::kMicrosecond);

// The measurer remembers its fits: every layout after the first finds its
// texts already measured, as a widget host redrawing the same entry would.
void BM_LayoutMediumWidgetPangoMeasurer(benchmark::State& state) {
  const PangoTextMeasurer measurer;
  layOutMedium(state, measurer);
}
BENCHMARK(BM_LayoutMediumWidgetPangoMeasurer)->Unit(benchmark::kMicrosecond);

// A first layout: a measurer that has measured nothing yet (its making is
// not timed).
void BM_LayoutMediumWidgetFreshPangoMeasurer(benchmark::State& state) {
  Environment environment;
  environment.widgetSize = {364, 170};  // the medium widget
  for (auto _ : state) {
    state.PauseTiming();
    const PangoTextMeasurer measurer;
    state.ResumeTiming();
    LaidOutWidget widget = layoutWidget(mediumWidget(), environment, measurer);
    benchmark::DoNotOptimize(widget);
  }
}
BENCHMARK(BM_LayoutMediumWidgetFreshPangoMeasurer)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kelpo::ui

BENCHMARK_MAIN();
