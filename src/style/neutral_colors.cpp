#include "style/neutral_colors.h"

#include "style/color_literal.h"

namespace kelpo {

const ui::Color& ink() {
  static const ui::Color color = adaptiveColor("#1E1622", "#F5F1F4");
  return color;
}

const ui::Color& inkSecondary() {
  static const ui::Color color = adaptiveColor("#6A5F6E", "#B3A9B6");
  return color;
}

const ui::Color& inkTertiary() {
  static const ui::Color color = adaptiveColor("#998F9C", "#9C91A3");
  return color;
}

const ui::Color& tileFill() {
  static const ui::Color color = adaptiveColor("rgba(40,24,40,0.055)", "rgba(255,255,255,0.08)");
  return color;
}

const ui::Color& ringTrack() {
  static const ui::Color color = adaptiveColor("rgba(40,24,40,0.10)", "rgba(255,255,255,0.12)");
  return color;
}

}  // namespace kelpo
