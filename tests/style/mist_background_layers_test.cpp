#include <gtest/gtest.h>

#include <variant>

#include "platform/ui/layout_test_support.h"
#include "style/mist_background.h"
#include "support/laid_out_queries.h"

namespace kelpo {
namespace {

using ui::ColorScheme;
using ui::LaidOutNode;
using ui::Rgba;

// The base colour under three glows, each filling the whole area and fading
// out completely in its own hue, in both schemes; the dark mist is darker.
TEST(MistBackground, LaysThreeFadingGlowsOverAnOpaqueBase) {
  static const ui::testing::FakeTextMeasurer measurer;
  Rgba bases[2];
  for (const ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
    ui::Environment environment = ui::testing::testEnvironment();
    environment.colorScheme = scheme;
    const LaidOutNode mist =
        ui::layoutView(MistBackground{}.body(), {170, 90}, environment, measurer);
    const std::string dump = ui::dumpNode(mist, scheme);

    const auto layers = testing_support::nodesOfKind(mist, LaidOutNode::Kind::paint);
    ASSERT_EQ(layers.size(), 4u) << dump;
    for (const LaidOutNode* layer : layers) {
      EXPECT_EQ(layer->frame, ui::testing::rect(0, 0, 170, 90)) << "fills the area\n" << dump;
    }
    const Rgba base = std::get<ui::Color>(*layers[0]->paint).resolve(scheme);
    EXPECT_EQ(base.alpha, 1) << dump;
    bases[scheme == ColorScheme::dark] = base;
    for (int i = 1; i < 4; ++i) {
      const auto& gradient = std::get<ui::RadialGradient>(*layers[i]->paint);
      ASSERT_EQ(gradient.colors.size(), 2u) << dump;
      const Rgba start = gradient.colors[0].resolve(scheme);
      const Rgba end = gradient.colors[1].resolve(scheme);
      EXPECT_GT(start.alpha, 0) << i;
      EXPECT_EQ((Rgba{start.red, start.green, start.blue, 0}), end) << i;
    }
  }
  EXPECT_LT(bases[1].red + bases[1].green + bases[1].blue,
            bases[0].red + bases[0].green + bases[0].blue);
}

}  // namespace
}  // namespace kelpo
