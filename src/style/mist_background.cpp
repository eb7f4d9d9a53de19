#include "style/mist_background.h"

#include <array>
#include <string>
#include <vector>

#include "style/transparent_stop.h"

namespace kelpo {
namespace {

struct Glow {
  ui::Rgba color;
  ui::UnitPoint center;
};

constexpr double glowEndRadius = 900;
constexpr double lightGlowOpacity = 0.85;
constexpr double darkGlowOpacity = 0.45;

constexpr ui::Rgba rgb(double red, double green, double blue) {
  return ui::Rgba{red / 255, green / 255, blue / 255, 1};
}

constexpr ui::Rgba lightBase = rgb(248, 245, 243);
constexpr ui::Rgba darkBase = rgb(21, 19, 28);

// In drawing order: the bottom glow lies on top of the other two.
constexpr std::array<Glow, 3> lightGlows{{
    {rgb(255, 196, 170), ui::UnitPoint::topLeading()},
    {rgb(214, 200, 250), ui::UnitPoint::trailing()},
    {rgb(190, 220, 250), ui::UnitPoint::bottom()},
}};
constexpr std::array<Glow, 3> darkGlows{{
    {rgb(190, 80, 70), ui::UnitPoint::topLeading()},
    {rgb(110, 90, 200), ui::UnitPoint::trailing()},
    {rgb(60, 110, 190), ui::UnitPoint::bottom()},
}};

ui::View glowLayer(const Glow& glow, double opacity) {
  const ui::Color color = ui::Color(glow.color).opacity(opacity);
  return ui::PaintView(
      ui::RadialGradient{{color, transparentStop(color)}, glow.center, 0, glowEndRadius});
}

ui::View mist(ui::ColorScheme scheme) {
  const bool dark = scheme == ui::ColorScheme::dark;
  const auto& glows = dark ? darkGlows : lightGlows;
  const double opacity = dark ? darkGlowOpacity : lightGlowOpacity;

  std::vector<ui::View> layers{ui::PaintView(ui::Color(dark ? darkBase : lightBase))};
  for (std::size_t position = 0; position < glows.size(); ++position) {
    layers.push_back(glowLayer(glows[position], opacity).id(std::to_string(position)));
  }
  return ui::ZStack(ui::Alignment::center(), std::move(layers)).ignoresSafeArea();
}

}  // namespace

ui::View MistBackground::body() const {
  return ui::EnvironmentReader(
      [](const ui::Environment& environment) { return mist(environment.colorScheme); });
}

}  // namespace kelpo
