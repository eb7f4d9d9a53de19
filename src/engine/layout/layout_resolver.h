#pragma once

// Resolution: turns a view tree into layout nodes for one build. It runs the
// readers and state holders, applies the inherited text style, localises
// texts, flattens groups, and gathers what the widget as a whole needs (its
// link, its container background, the appear and hover callbacks).

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/layout/layout_node.h"
#include "engine/views/environment.h"
#include "engine/views/state_cell.h"
#include "engine/views/text_environment.h"
#include "engine/views/view.h"

namespace kelpo::ui {

// An onAppear callback of a view in the tree, by the view's identity.
struct AppearRequest {
  std::string identity;
  Action action;
};

// Where an onHover callback listens, in widget points.
struct HoverRegion {
  std::string identity;
  Rect frame;
  HoverAction action;
};

// Everything one build shares: inputs, state and what it gathers.
struct BuildSession {
  BuildSession(const Environment& env, const TextMeasurer& textMeasurer, StateStore& stateStore)
      : environment(env), measurer(textMeasurer), state(stateStore) {}

  const Environment& environment;
  const TextMeasurer& measurer;
  StateStore& state;

  // Gathered while resolving; for the widget link and the container
  // background the outermost modifier wins.
  std::optional<std::string> widgetURL;
  struct ContainerBackground {
    LayoutList content;
    Alignment alignment;
  };
  std::optional<ContainerBackground> containerBackground;
  std::vector<AppearRequest> appears;
  // Gathered while placing.
  std::vector<HoverRegion> hovers;

  // A key unique within the build for the n-th `kind` callback or cell of
  // the view at `identity`.
  [[nodiscard]] std::string occurrenceKey(const std::string& identity, const char* kind);

 private:
  std::unordered_map<std::string, int> occurrences_;
};

// Where a view sits while it is resolved.
struct ResolveScope {
  TextEnvironment text;
  // The view's identity: the child indices from the root joined by "/",
  // an `.id(...)` replacing the index of the view it is applied to.
  std::string identity;
  // The axis of the stack the view is a direct child of (spacers need it).
  std::optional<Axis> stackAxis;
};

// The layout nodes of `view`: none for an empty view, one per child for a
// group, one otherwise. Modifiers apply to each node of their content.
[[nodiscard]] LayoutList resolveView(const View& view, const ResolveScope& scope,
                                     BuildSession& session);

// Exactly one node: several are layered (centred), none is an empty group.
[[nodiscard]] LayoutNodePtr asSingleNode(LayoutList list);

}  // namespace kelpo::ui
