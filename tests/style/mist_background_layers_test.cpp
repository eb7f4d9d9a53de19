#include <gtest/gtest.h>

#include <variant>
#include <vector>

#include "engine/layout_test_support.h"
#include "style/mist_background.h"
#include "support/laid_out_queries.h"

namespace kelpo {
namespace {

using ui::ColorScheme;
using ui::LaidOutNode;
using ui::Rgba;

// The base colour under glows, each filling the whole area and fading
// out completely in its own hue, in both schemes; the dark mist is darker.
TEST(MistBackground, LaysFadingGlowsOverAnOpaqueBase) {
  double baseLightness[2] = {};
  for (const ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
    ui::Environment environment = ui::testing::testEnvironment();
    environment.colorScheme = scheme;
    const LaidOutNode mist = ui::layoutView(MistBackground{}.body(), {170, 90}, environment,
                                            ui::testing::fakeMeasurer());
    const auto layers = testing_support::nodesOfKind(mist, LaidOutNode::Kind::paint);
    ASSERT_GE(layers.size(), 2u) << "a base and at least one glow\n" << ui::dumpNode(mist, scheme);
    const Rgba base = std::get<ui::Color>(*layers[0]->paint).resolve(scheme);
    EXPECT_EQ(base.alpha, 1);
    baseLightness[scheme == ColorScheme::dark] = base.red + base.green + base.blue;
    for (const LaidOutNode* glow : std::vector(layers.begin() + 1, layers.end())) {
      EXPECT_EQ(glow->frame, ui::testing::rect(0, 0, 170, 90)) << "fills the area";
      const auto& colors = std::get<ui::RadialGradient>(*glow->paint).colors;
      ASSERT_EQ(colors.size(), 2u);
      const Rgba start = colors[0].resolve(scheme);
      EXPECT_GT(start.alpha, 0);
      EXPECT_EQ((Rgba{start.red, start.green, start.blue, 0}), colors[1].resolve(scheme));
    }
  }
  EXPECT_LT(baseLightness[1], baseLightness[0]);
}

}  // namespace
}  // namespace kelpo
