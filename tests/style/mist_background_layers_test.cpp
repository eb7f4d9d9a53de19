#include <gtest/gtest.h>

#include <variant>

#include "platform/ui/layout_test_support.h"
#include "style/mist_background.h"
#include "support/colors.h"
#include "support/laid_out_queries.h"

namespace kelpo {
namespace {

using testing_support::channels;
using ui::ColorScheme;
using ui::LaidOutNode;
using ui::Rgba;
using ui::UnitPoint;

struct Glow {
  Rgba color;
  UnitPoint centre;
};

struct MistCase {
  ColorScheme scheme;
  Rgba base;
  Glow glows[3];  // in drawing order
};

TEST(MistBackground, LaysTheGlowsOverTheBaseInOrder) {
  for (const MistCase& expected :
       {MistCase{ColorScheme::light,
                 channels(248, 245, 243),
                 {{channels(255, 196, 170, 0.85), UnitPoint::topLeading()},
                  {channels(214, 200, 250, 0.85), UnitPoint::trailing()},
                  {channels(190, 220, 250, 0.85), UnitPoint::bottom()}}},
        MistCase{ColorScheme::dark,
                 channels(21, 19, 28),
                 {{channels(190, 80, 70, 0.45), UnitPoint::topLeading()},
                  {channels(110, 90, 200, 0.45), UnitPoint::trailing()},
                  {channels(60, 110, 190, 0.45), UnitPoint::bottom()}}}}) {
    SCOPED_TRACE(expected.scheme == ColorScheme::dark ? "dark" : "light");
    static const ui::testing::FakeTextMeasurer measurer;
    ui::Environment environment = ui::testing::testEnvironment();
    environment.colorScheme = expected.scheme;
    const LaidOutNode mist =
        ui::layoutView(MistBackground{}.body(), {170, 90}, environment, measurer);
    const std::string dump = ui::dumpNode(mist, expected.scheme);

    const auto layers = testing_support::nodesOfKind(mist, LaidOutNode::Kind::paint);
    ASSERT_EQ(layers.size(), 4u) << dump;
    for (const LaidOutNode* layer : layers) {
      EXPECT_EQ(layer->frame, ui::testing::rect(0, 0, 170, 90)) << "fills the area\n" << dump;
    }
    EXPECT_EQ(std::get<ui::Color>(*layers[0]->paint).resolve(expected.scheme), expected.base);

    for (int i = 0; i < 3; ++i) {
      const auto& gradient = std::get<ui::RadialGradient>(*layers[i + 1]->paint);
      const Glow& glow = expected.glows[i];
      ASSERT_EQ(gradient.colors.size(), 2u);
      EXPECT_EQ(gradient.colors[0].resolve(expected.scheme), glow.color) << i;
      const Rgba end = gradient.colors[1].resolve(expected.scheme);
      EXPECT_EQ(end.alpha, 0) << "fades out completely at its end radius";
      EXPECT_EQ((Rgba{end.red, end.green, end.blue, glow.color.alpha}), glow.color)
          << "keeps its hue while fading";
      EXPECT_EQ(gradient.center, glow.centre) << i;
      EXPECT_EQ(gradient.startRadius, 0);
      EXPECT_EQ(gradient.endRadius, 900);
    }
  }
}

}  // namespace
}  // namespace kelpo
