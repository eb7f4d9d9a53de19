#pragma once

// Helpers for layout tests: lay a view out with the fake measurer and reach
// nodes of the result by their child indices.

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "platform/ui/fake_text_measurer.h"
#include "platform/ui/tree_dump.h"
#include "platform/ui/widget_layout.h"

namespace kelpo::ui::testing {

inline Environment testEnvironment() {
  Environment environment;
  environment.locale = "fr_FR";
  return environment;
}

inline LaidOutNode layOut(const View& view, Size available) {
  static const FakeTextMeasurer measurer;
  return layoutView(view, available, testEnvironment(), measurer);
}

// The node reached from `root` by child indices, in order.
inline const LaidOutNode& nodeAt(const LaidOutNode& root, std::initializer_list<std::size_t> path) {
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
  std::initializer_list<std::size_t> path;
  Rect frame;
};

inline void expectFrames(const LaidOutNode& root, std::initializer_list<ExpectedFrame> table) {
  for (const ExpectedFrame& row : table) {
    const LaidOutNode& node = nodeAt(root, row.path);
    constexpr double tolerance = 1e-9;
    EXPECT_NEAR(node.frame.minX(), row.frame.minX(), tolerance)
        << node.name << "\n"
        << dumpNode(root, ColorScheme::light);
    EXPECT_NEAR(node.frame.minY(), row.frame.minY(), tolerance)
        << node.name << "\n"
        << dumpNode(root, ColorScheme::light);
    EXPECT_NEAR(node.frame.size.width, row.frame.size.width, tolerance)
        << node.name << "\n"
        << dumpNode(root, ColorScheme::light);
    EXPECT_NEAR(node.frame.size.height, row.frame.size.height, tolerance)
        << node.name << "\n"
        << dumpNode(root, ColorScheme::light);
  }
}

inline Rect rect(double x, double y, double w, double h) {
  return {{x, y}, {w, h}};
}

}  // namespace kelpo::ui::testing
