#pragma once

#include <functional>
#include <vector>

#include "platform/ui/layout_tree.h"

namespace kelpo::ui::testing {

// Every node under `root` (itself included), depth first, that `matches`.
inline std::vector<const LaidOutNode*> findNodes(
    const LaidOutNode& root, const std::function<bool(const LaidOutNode&)>& matches) {
  std::vector<const LaidOutNode*> found;
  std::function<void(const LaidOutNode&)> visit = [&](const LaidOutNode& node) {
    if (matches(node)) found.push_back(&node);
    for (const LaidOutNode& child : node.children) visit(child);
  };
  visit(root);
  return found;
}

inline std::vector<const LaidOutNode*> nodesOfKind(const LaidOutNode& root,
                                                   LaidOutNode::Kind kind) {
  return findNodes(root, [kind](const LaidOutNode& node) { return node.kind == kind; });
}

}  // namespace kelpo::ui::testing
