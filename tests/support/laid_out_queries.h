#pragma once

// Small queries over a laid-out tree for component and layout tests: find
// texts, symbols, shapes and links by what they show rather than by their
// position in the tree, so tests survive harmless restructuring.

#include <functional>
#include <string>
#include <vector>

#include "engine/layout/layout_tree.h"

namespace kelpo::testing_support {

// Every node under `root` (included), in drawing order.
inline std::vector<const ui::LaidOutNode*> allNodes(const ui::LaidOutNode& root) {
  std::vector<const ui::LaidOutNode*> nodes{&root};
  for (const auto& child : root.children) {
    const auto below = allNodes(child);
    nodes.insert(nodes.end(), below.begin(), below.end());
  }
  return nodes;
}

inline std::vector<const ui::LaidOutNode*> nodesWhere(
    const ui::LaidOutNode& root, const std::function<bool(const ui::LaidOutNode&)>& keep) {
  std::vector<const ui::LaidOutNode*> kept;
  for (const auto* node : allNodes(root)) {
    if (keep(*node)) kept.push_back(node);
  }
  return kept;
}

// The text a text node shows: its runs joined.
inline std::string shownText(const ui::LaidOutNode& node) {
  std::string text;
  for (const auto& run : node.text.runs) text += run.text;
  return text;
}

// The texts under `root`, in drawing order.
inline std::vector<std::string> shownTexts(const ui::LaidOutNode& root) {
  std::vector<std::string> texts;
  for (const auto* node : allNodes(root)) {
    if (node->kind == ui::LaidOutNode::Kind::text) texts.push_back(shownText(*node));
  }
  return texts;
}

// The first text node showing exactly `text`, or null.
inline const ui::LaidOutNode* findText(const ui::LaidOutNode& root, const std::string& text) {
  for (const auto* node : allNodes(root)) {
    if (node->kind == ui::LaidOutNode::Kind::text && shownText(*node) == text) return node;
  }
  return nullptr;
}

inline std::vector<std::string> symbolNames(const ui::LaidOutNode& root) {
  std::vector<std::string> names;
  for (const auto* node : allNodes(root)) {
    if (node->kind == ui::LaidOutNode::Kind::symbol) names.push_back(node->symbolName);
  }
  return names;
}

inline std::vector<const ui::LaidOutNode*> nodesOfKind(const ui::LaidOutNode& root,
                                                       ui::LaidOutNode::Kind kind) {
  return nodesWhere(root, [kind](const ui::LaidOutNode& n) { return n.kind == kind; });
}

inline std::vector<const ui::LaidOutNode*> shapes(const ui::LaidOutNode& root) {
  return nodesOfKind(root, ui::LaidOutNode::Kind::shape);
}

inline std::vector<const ui::LaidOutNode*> bitmaps(const ui::LaidOutNode& root) {
  return nodesOfKind(root, ui::LaidOutNode::Kind::bitmap);
}

// The links of the nodes under `root`, in drawing order.
inline std::vector<std::string> links(const ui::LaidOutNode& root) {
  std::vector<std::string> found;
  for (const auto* node : allNodes(root)) {
    if (node->link) found.push_back(*node->link);
  }
  return found;
}

}  // namespace kelpo::testing_support
