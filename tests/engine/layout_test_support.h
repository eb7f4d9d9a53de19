#pragma once

// Helpers for layout tests: lay a view or a whole widget out with the fake
// measurer, reach nodes of the result by their child indices and compare
// tables of expected frames.

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "engine/fake_text_measurer.h"
#include "engine/layout/widget_layout.h"
#include "engine/output/tree_dump.h"

namespace kelpo::ui::testing {

// The outlines of the widget's two sizes, which the engine takes as given.
inline constexpr Size smallOutline{170, 170};
inline constexpr Size mediumOutline{364, 170};

inline Environment testEnvironment(Size outline = smallOutline) {
  Environment environment;
  environment.locale = "fr_FR";
  environment.widgetSize = outline;
  return environment;
}

inline const FakeTextMeasurer& fakeMeasurer() {
  static const FakeTextMeasurer measurer;
  return measurer;
}

inline LaidOutNode layOut(const View& view, Size available) {
  return layoutView(view, available, testEnvironment(), fakeMeasurer());
}

inline LaidOutWidget layOutWidget(const View& root,
                                  const Environment& environment = testEnvironment()) {
  return layoutWidget(root, environment, fakeMeasurer());
}

// A frame that takes all it is offered and places its child by `alignment`.
inline FlexibleFrame filling(Alignment alignment = Alignment::topLeading()) {
  return {.maxWidth = infinity, .maxHeight = infinity, .alignment = alignment};
}

// The node reached from `root` by child indices, in order.
inline const LaidOutNode& nodeAt(const LaidOutNode& root, const std::vector<std::size_t>& path) {
  const LaidOutNode* node = &root;
  for (std::size_t index : path) {
    if (index >= node->children.size()) {
      ADD_FAILURE() << "no child " << index << " under:\n" << dumpNode(*node, ColorScheme::light);
      return root;
    }
    node = &node->children[index];
  }
  return *node;
}

// One row of a frame table: the node at `path` has `frame`.
struct ExpectedFrame {
  std::vector<std::size_t> path;
  Rect frame;
};

inline void expectFrames(const LaidOutNode& root, const std::vector<ExpectedFrame>& table) {
  for (const ExpectedFrame& row : table) {
    const LaidOutNode& node = nodeAt(root, row.path);
    const std::array actual{node.frame.minX(), node.frame.minY(), node.frame.size.width,
                            node.frame.size.height};
    const std::array expected{row.frame.minX(), row.frame.minY(), row.frame.size.width,
                              row.frame.size.height};
    for (std::size_t i = 0; i < actual.size(); ++i) {
      EXPECT_NEAR(actual[i], expected[i], 1e-9)
          << node.name << " (x, y, width, height)[" << i << "]\n"
          << dumpNode(root, ColorScheme::light);
    }
  }
}

// One row of a layout table: `view` offered `available` lays out as `frames`.
struct LayoutCase {
  std::string name;
  View view;
  Size available;
  std::vector<ExpectedFrame> frames;
};

inline void expectLayouts(const std::vector<LayoutCase>& cases) {
  for (const LayoutCase& c : cases) {
    SCOPED_TRACE(c.name);
    expectFrames(layOut(c.view, c.available), c.frames);
  }
}

inline Rect rect(double x, double y, double w, double h) {
  return {{x, y}, {w, h}};
}

}  // namespace kelpo::ui::testing
