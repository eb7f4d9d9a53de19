#pragma once

#include <limits>
#include <optional>

namespace kelpo::ui {

// All lengths are layout points (1/72 inch at 1x).
struct Point {
  double x = 0;
  double y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  double width = 0;
  double height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
  Point origin;
  Size size;
  [[nodiscard]] double minX() const { return origin.x; }
  [[nodiscard]] double minY() const { return origin.y; }
  [[nodiscard]] double maxX() const { return origin.x + size.width; }
  [[nodiscard]] double maxY() const { return origin.y + size.height; }
  [[nodiscard]] Point center() const {
    return {origin.x + size.width / 2, origin.y + size.height / 2};
  }
  [[nodiscard]] bool contains(Point p) const {
    return p.x >= minX() && p.x < maxX() && p.y >= minY() && p.y < maxY();
  }
  friend bool operator==(const Rect&, const Rect&) = default;
};

enum class Axis { horizontal, vertical };

// A point in a view's bounds in unit coordinates: (0, 0) top leading,
// (1, 1) bottom trailing.
struct UnitPoint {
  double x = 0.5;
  double y = 0.5;
  static constexpr UnitPoint topLeading() { return {0, 0}; }
  static constexpr UnitPoint top() { return {0.5, 0}; }
  static constexpr UnitPoint topTrailing() { return {1, 0}; }
  static constexpr UnitPoint leading() { return {0, 0.5}; }
  static constexpr UnitPoint center() { return {0.5, 0.5}; }
  static constexpr UnitPoint trailing() { return {1, 0.5}; }
  static constexpr UnitPoint bottomLeading() { return {0, 1}; }
  static constexpr UnitPoint bottom() { return {0.5, 1}; }
  static constexpr UnitPoint bottomTrailing() { return {1, 1}; }
  friend bool operator==(const UnitPoint&, const UnitPoint&) = default;
};

enum class HorizontalAlignment { leading, center, trailing };
enum class VerticalAlignment { top, center, bottom };

// The fraction of the free space that goes before a child placed with this
// alignment: 0 leading/top, 0.5 centre, 1 trailing/bottom.
[[nodiscard]] constexpr double alignmentFraction(HorizontalAlignment a) {
  return a == HorizontalAlignment::leading ? 0 : a == HorizontalAlignment::trailing ? 1 : 0.5;
}
[[nodiscard]] constexpr double alignmentFraction(VerticalAlignment a) {
  return a == VerticalAlignment::top ? 0 : a == VerticalAlignment::bottom ? 1 : 0.5;
}

struct Alignment {
  HorizontalAlignment horizontal = HorizontalAlignment::center;
  VerticalAlignment vertical = VerticalAlignment::center;
  static constexpr Alignment topLeading() {
    return {HorizontalAlignment::leading, VerticalAlignment::top};
  }
  static constexpr Alignment top() { return {HorizontalAlignment::center, VerticalAlignment::top}; }
  static constexpr Alignment topTrailing() {
    return {HorizontalAlignment::trailing, VerticalAlignment::top};
  }
  static constexpr Alignment leading() {
    return {HorizontalAlignment::leading, VerticalAlignment::center};
  }
  static constexpr Alignment center() { return {}; }
  static constexpr Alignment trailing() {
    return {HorizontalAlignment::trailing, VerticalAlignment::center};
  }
  static constexpr Alignment bottomLeading() {
    return {HorizontalAlignment::leading, VerticalAlignment::bottom};
  }
  static constexpr Alignment bottom() {
    return {HorizontalAlignment::center, VerticalAlignment::bottom};
  }
  static constexpr Alignment bottomTrailing() {
    return {HorizontalAlignment::trailing, VerticalAlignment::bottom};
  }
  friend bool operator==(const Alignment&, const Alignment&) = default;
};

// A set of edges, combinable with |.
enum class Edge : unsigned { top = 1, leading = 2, bottom = 4, trailing = 8 };
struct Edges {
  unsigned bits = 0;
  constexpr Edges() = default;
  constexpr Edges(Edge e) : bits(static_cast<unsigned>(e)) {}  // NOLINT: a single edge is a set
  [[nodiscard]] constexpr bool contains(Edge e) const {
    return (bits & static_cast<unsigned>(e)) != 0;
  }
  static constexpr Edges all() {
    Edges e;
    e.bits = 15;
    return e;
  }
  static constexpr Edges horizontal() {
    Edges e;
    e.bits = 2 | 8;
    return e;
  }
  static constexpr Edges vertical() {
    Edges e;
    e.bits = 1 | 4;
    return e;
  }
};
constexpr Edges operator|(Edges a, Edges b) {
  Edges e;
  e.bits = a.bits | b.bits;
  return e;
}
constexpr Edges operator|(Edge a, Edge b) {
  return Edges(a) | Edges(b);
}

struct EdgeInsets {
  double top = 0;
  double leading = 0;
  double bottom = 0;
  double trailing = 0;
  friend bool operator==(const EdgeInsets&, const EdgeInsets&) = default;
};

// A length a layout may be offered along one axis: a finite length, infinity
// ("as much as you like") or nothing ("your ideal size").
struct ProposedLength {
  std::optional<double> value;  // nullopt = unspecified (ideal)
  static ProposedLength unspecified() { return {}; }
  static ProposedLength infinity() { return {std::numeric_limits<double>::infinity()}; }
  static ProposedLength exactly(double v) { return {v}; }
  [[nodiscard]] bool isSpecified() const { return value.has_value(); }
  [[nodiscard]] bool isInfinite() const {
    return value && *value == std::numeric_limits<double>::infinity();
  }
  friend bool operator==(const ProposedLength&, const ProposedLength&) = default;
};

// The size a parent offers a child; each axis may be unspecified.
struct ProposedSize {
  ProposedLength width;
  ProposedLength height;
  static ProposedSize unspecified() { return {}; }
  static ProposedSize zero() { return {ProposedLength::exactly(0), ProposedLength::exactly(0)}; }
  static ProposedSize infinity() {
    return {ProposedLength::infinity(), ProposedLength::infinity()};
  }
  static ProposedSize of(Size s) {
    return {ProposedLength::exactly(s.width), ProposedLength::exactly(s.height)};
  }
  [[nodiscard]] ProposedLength& operator[](Axis a) {
    return a == Axis::horizontal ? width : height;
  }
  [[nodiscard]] const ProposedLength& operator[](Axis a) const {
    return a == Axis::horizontal ? width : height;
  }
  // Shrinks each specified axis by the insets (negative insets enlarge it),
  // never below zero.
  [[nodiscard]] ProposedSize inset(const EdgeInsets& insets) const;
  friend bool operator==(const ProposedSize&, const ProposedSize&) = default;
};

}  // namespace kelpo::ui
