// A small card built from the view layer's primitives alone, drawn to PNG at
// 2x in the light and the dark appearance: a way to look at what the layout
// engine and the renderer do, without the widget around them.
//   primitives_card [OUTPUT_DIRECTORY]

#include <filesystem>
#include <iostream>
#include <string>

#include "engine/layout/widget_layout.h"
#include "engine/output/render_output.h"
#include "engine/text/pango_text_measurer.h"

namespace {

using namespace kelpo::ui;

const Color ink(Rgba{0.12, 0.09, 0.13, 1}, Rgba{0.96, 0.95, 0.96, 1});
const Color muted(Rgba{0.42, 0.37, 0.43, 1}, Rgba{0.70, 0.66, 0.71, 1});
const Color accent(Rgba{0.91, 0.33, 0.18, 1}, Rgba{1.0, 0.48, 0.33, 1});

View background() {
  return EnvironmentReader([](const Environment& environment) {
    const bool dark = environment.colorScheme == ColorScheme::dark;
    const Color base(dark ? Rgba{0.08, 0.07, 0.11, 1} : Rgba{0.97, 0.96, 0.95, 1});
    const Color glow(Rgba{0.75, 0.86, 0.98, dark ? 0.35 : 0.8});
    return ZStack(Alignment::center(),
                  {PaintView(base), PaintView(RadialGradient{
                                        {glow, glow.opacity(0)}, UnitPoint::bottom(), 0, 300})});
  });
}

View progressRing(double fraction) {
  StrokeStyle track;
  track.lineWidth = 6;
  StrokeStyle arc = track;
  arc.lineCap = LineCap::round;
  return ZStack(Alignment::center(),
                {stroke(Circle(), ink.opacity(0.1), track),
                 stroke(trim(Circle(), 0, fraction), accent, arc).rotationEffect(-90),
                 Text::verbatim(std::to_string(static_cast<int>(fraction * 100)) + " %")
                     .font(Font::custom("Bricolage Grotesque", 13, FontWeight::heavy))
                     .foregroundStyle(ink)})
      .padding(3)
      .frame(60, 60);
}

View badge(const std::string& score) {
  const ShapeGeometry plate = RoundedRectangle(7.04);
  return Text::verbatim(score)
      .font(Font::custom("Bricolage Grotesque", 10.34, FontWeight::heavy).withMonospacedDigits())
      .foregroundStyle(Color(Rgba{0.35, 0.22, 0, 1}))
      .frame(22, 22)
      .background(fill(
          plate, LinearGradient{{Color(Rgba{1, 0.91, 0.63, 1}), Color(Rgba{0.85, 0.6, 0.12, 1})},
                                UnitPoint::topLeading(),
                                UnitPoint::bottomTrailing()}))
      .shadow(Color(Rgba{0.88, 0.65, 0.15, 0.45}), 6, 0, 4);
}

View card() {
  FlexibleFrame fill;
  fill.maxWidth = infinity;
  fill.maxHeight = infinity;
  fill.alignment = Alignment::topLeading();
  return VStack(HorizontalAlignment::leading, 0,
                {HStack(VerticalAlignment::top, std::nullopt,
                        {progressRing(0.45), Spacer(6),
                         VStack(HorizontalAlignment::trailing, 2,
                                {Text::verbatim("3").font(
                                     Font::custom("Bricolage Grotesque", 44, FontWeight::heavy)),
                                 Text::verbatim("primitives")
                                     .font(Font::system(14, FontWeight::bold))
                                     .foregroundStyle(ink)})
                             .foregroundStyle(accent)}),
                 Spacer(6),
                 Text::verbatim("<b>Stacks, spacers, frames</b> & texts cut after two lines…")
                     .font(Font::system(12.5, FontWeight::semibold))
                     .foregroundStyle(ink)
                     .lineLimit(2),
                 HStack(VerticalAlignment::center, 5,
                        {badge("10"), Image::systemName("clock").font(Font::system(9.5)),
                         Text::verbatim("demain 9:05").font(Font::system(10.5))})
                     .foregroundStyle(muted)
                     .padding(Edge::top, 4)})
      .frame(fill)
      .containerBackground(background());
}

}  // namespace

int main(int argc, char** argv) {
  const std::filesystem::path directory = argc > 1 ? argv[1] : "out";
  std::filesystem::create_directories(directory);
  const PangoTextMeasurer measurer;
  for (const ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
    Environment environment;
    environment.widgetSize = {170, 170};
    environment.colorScheme = scheme;
    const LaidOutWidget widget = layoutWidget(card(), environment, measurer);
    const auto path =
        directory / (scheme == ColorScheme::dark ? "card-dark.png" : "card-light.png");
    if (const kelpo::Status drawn = renderToFile(widget, ImageFormat::png, 2, path); !drawn) {
      std::cerr << "primitives_card: " << path.string() << ": " << drawn.error() << '\n';
      return 1;
    }
    std::cout << path.string() << '\n';
  }
  return 0;
}
