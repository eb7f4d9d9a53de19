#include "style/score_heat.h"

#include <algorithm>

#include "style/color_literal.h"

namespace kelpo {
namespace {

constexpr std::int64_t unreadScore = 5;
constexpr std::int64_t lowestScore = 1;
constexpr std::int64_t highestScore = 10;

// A heat drawn with adaptive colours: neither solid nor gold.
ScoreHeat adaptiveHeat(std::string_view baseLight, std::string_view baseDark,
                       std::string_view foregroundLight, std::string_view foregroundDark,
                       std::string_view backgroundLight, std::string_view backgroundDark) {
  return ScoreHeat{adaptiveColor(baseLight, baseDark),
                   adaptiveColor(foregroundLight, foregroundDark),
                   adaptiveColor(backgroundLight, backgroundDark), false, false};
}

}  // namespace

const ui::Color& heatNine() {
  static const ui::Color color = fixedColor("#D9542F");
  return color;
}

const ui::Color& heatTen() {
  static const ui::Color color = fixedColor("#E0A526");
  return color;
}

const ui::Color& goldInk() {
  static const ui::Color color = fixedColor("#5A3900");
  return color;
}

const ui::LinearGradient& goldGradient() {
  static const ui::LinearGradient gradient{
      {fixedColor("#FFE7A1"), fixedColor("#F5C451"), fixedColor("#D99A1E"), fixedColor("#F3C75A")},
      ui::UnitPoint::topLeading(),
      ui::UnitPoint::bottomTrailing()};
  return gradient;
}

ScoreHeat ScoreHeat::forScore(std::int64_t score) {
  if (score >= 10) return ScoreHeat{heatTen(), goldInk(), heatTen(), true, true};
  switch (score) {
    case 9:
      return ScoreHeat{heatNine(), ui::Color::white(), heatNine(), true, false};
    case 8:
      return adaptiveHeat("#EF7A2E", "#FF9A57", "#B04E10", "#FFB27E", "#FFE2CF",
                          "rgba(255,140,80,0.22)");
    case 7:
      return adaptiveHeat("#E3A12B", "#F5BE5B", "#9A6409", "#F7CC7E", "#FCF1DE",
                          "rgba(245,190,91,0.17)");
    case 6:
      return adaptiveHeat("#A89A86", "#C9BBA6", "#6B5F50", "#D9CDBB", "#F1ECE5",
                          "rgba(201,187,166,0.14)");
    case 5:
      return adaptiveHeat("#8A939F", "#A9B8CC", "#555F6E", "#C2CEDD", "#EDEFF3",
                          "rgba(169,184,204,0.12)");
    case 4:
      return adaptiveHeat("#7B93B4", "#96B2D6", "#4A6488", "#AFC2DB", "#EBF0F6",
                          "rgba(150,178,214,0.13)");
    case 3:
      return adaptiveHeat("#6E95CC", "#82AFE8", "#3B67A3", "#A3C2EA", "#E5EEF8",
                          "rgba(130,175,232,0.16)");
    case 2:
      return adaptiveHeat("#5A8FD8", "#6EA6EE", "#2A5DA6", "#A9CBF6", "#DCE9FA",
                          "rgba(110,166,238,0.22)");
    default:  // 1, 0 and negative scores
      return adaptiveHeat("#3F7FD6", "#5C9CF0", "#1F4F96", "#BFDAFF", "#CFE2FB",
                          "rgba(92,156,240,0.30)");
  }
}

const std::array<ScoreHeat, 10>& heatTable() {
  static const std::array<ScoreHeat, 10> table = [] {
    std::array<ScoreHeat, 10> heats;
    for (std::int64_t score = lowestScore; score <= highestScore; ++score) {
      heats[static_cast<std::size_t>(score - lowestScore)] = ScoreHeat::forScore(score);
    }
    return heats;
  }();
  return table;
}

const ScoreHeat& heatForBadge(std::int64_t score, bool unread) {
  const std::int64_t shown = unread ? unreadScore : std::clamp(score, lowestScore, highestScore);
  return heatTable()[static_cast<std::size_t>(shown - lowestScore)];
}

}  // namespace kelpo
