#pragma once

// The layout primitives. A view tree is first resolved (layout_resolver.h)
// into a tree of these nodes, each knowing its style and children; layout
// then follows the proposal/answer model: a parent proposes a size, the
// child answers the size it takes (sizeThatFits), and the parent places it
// (place), which yields the laid-out node with its absolute frame.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/layout/layout_tree.h"
#include "engine/text/text_layout.h"
#include "engine/views/view.h"

namespace kelpo::ui {

class LayoutNode;
using LayoutNodePtr = std::unique_ptr<const LayoutNode>;
using LayoutList = std::vector<LayoutNodePtr>;

class LayoutNode {
 public:
  LayoutNode() = default;
  LayoutNode(const LayoutNode&) = delete;
  LayoutNode& operator=(const LayoutNode&) = delete;
  virtual ~LayoutNode() = default;

  // The size this node takes when offered `proposal`. Answers are cached per
  // proposal: stacks ask every child several times while sharing out space.
  [[nodiscard]] Size sizeThatFits(const ProposedSize& proposal) const;

  // Lays the node out in `bounds` (absolute widget points), the size it
  // answered for `proposal`.
  [[nodiscard]] virtual LaidOutNode place(const Rect& bounds,
                                          const ProposedSize& proposal) const = 0;

  // Spacers are shared out last by the stack that holds them.
  [[nodiscard]] virtual bool isSpacer() const { return false; }

 protected:
  [[nodiscard]] virtual Size computeSize(const ProposedSize& proposal) const = 0;

 private:
  mutable std::vector<std::pair<ProposedSize, Size>> cache_;
};

// Where a child of size `child` goes inside `bounds` for `alignment`.
[[nodiscard]] Point alignedOrigin(Size child, const Rect& bounds, Alignment alignment);
// Asks `child` for its size under `proposal` and places it at `origin`.
[[nodiscard]] LaidOutNode placeAt(const LayoutNode& child, Point origin,
                                  const ProposedSize& proposal);
// Asks `child` for its size under `proposal` and aligns it inside `bounds`.
[[nodiscard]] LaidOutNode placeAligned(const LayoutNode& child, const Rect& bounds,
                                       Alignment alignment, const ProposedSize& proposal);

}  // namespace kelpo::ui
