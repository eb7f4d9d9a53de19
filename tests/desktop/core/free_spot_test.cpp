#include "desktop/handling/free_spot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace kelpo::desktop {
namespace {

constexpr double margin = 24;
constexpr ui::Size small{170, 170};
constexpr ui::Size medium{364, 170};

std::string text(const std::optional<ui::Rect>& frame) {
  if (!frame) return "nothing";
  return std::to_string(frame->minX()) + "," + std::to_string(frame->minY()) + " " +
         std::to_string(frame->size.width) + "x" + std::to_string(frame->size.height);
}

// `--family small --family medium` as the host stacks them at the top
// right: the small one in the corner, the medium one a margin below it.
std::vector<ui::Rect> readmePair(const ui::Rect& area) {
  return {{{area.maxX() - margin - small.width, area.minY() + margin}, small},
          {{area.maxX() - margin - medium.width, area.minY() + margin + small.height + margin},
           medium}};
}

// "Ajouter un widget" › `size` chosen `times` times from the menu of
// `shown[asker]`; each new frame joins the shown ones.
std::vector<std::optional<ui::Rect>> add(const ui::Rect& area, std::vector<ui::Rect>& shown,
                                         std::size_t asker, ui::Size size, int times) {
  std::vector<std::optional<ui::Rect>> added;
  for (int i = 0; i < times; ++i) {
    const auto spot = freeSpot({area, shown, size, margin, shown[asker]});
    added.push_back(spot);
    if (spot) shown.push_back(*spot);
  }
  return added;
}

// Every frame wholly inside the area and at least the margin from every
// other one.
void expectApartInside(const std::vector<ui::Rect>& frames, const ui::Rect& area) {
  for (std::size_t i = 0; i < frames.size(); ++i) {
    const ui::Rect& a = frames[i];
    EXPECT_TRUE(a.minX() >= area.minX() && a.maxX() <= area.maxX() && a.minY() >= area.minY() &&
                a.maxY() <= area.maxY())
        << "frame " << i << " at " << text(a) << " leaves the work area";
    for (std::size_t j = 0; j < i; ++j) {
      const ui::Rect& b = frames[j];
      const bool apart = a.maxX() + margin <= b.minX() || b.maxX() + margin <= a.minX() ||
                         a.maxY() + margin <= b.minY() || b.maxY() + margin <= a.minY();
      EXPECT_TRUE(apart) << "frame " << i << " at " << text(a) << " is within the margin of frame "
                         << j << " at " << text(b);
    }
  }
}

// Next to the asking widget when there is room there: below it, else
// above, else left, else right; lined up with its edge on the screen's side
// it sits on.
TEST(FreeSpot, NextToTheAskingWidgetWhenThereIsRoom) {
  struct Case {
    const char* what;
    ui::Rect area;
    std::vector<ui::Rect> shown;  // the first one asks
    ui::Size size;
    ui::Point expected;
  };
  const ui::Rect screen{{0, 0}, {1280, 800}};
  const ui::Rect low{{0, 0}, {1280, 300}};
  const Case cases[] = {
      {"README pair plus one, 1280x800: left of the small one, not over the medium one",
       screen,
       readmePair(screen),
       small,
       {892, 24}},
      {"README pair plus one, 1920x1080 under a 27-point bar",
       {{0, 27}, {1920, 1053}},
       readmePair({{0, 27}, {1920, 1053}}),
       small,
       {1532, 51}},
      {"alone at the top right: below it", screen, {{{1086, 24}, small}}, small, {1086, 218}},
      {"a medium one below a small one on the right: right edges lined up",
       screen,
       {{{1086, 24}, small}},
       medium,
       {892, 218}},
      {"at the bottom left: above it", screen, {{{24, 606}, small}}, small, {24, 412}},
      {"no room above or below, on the right: left of it",
       low,
       {{{1086, 24}, small}},
       small,
       {892, 24}},
      {"no room above, below or left: right of it", low, {{{24, 24}, small}}, small, {218, 24}},
      {"low on the right of a low screen: left of it",
       low,
       {{{1086, 106}, small}},
       small,
       {892, 106}},
  };
  for (const Case& c : cases) {
    const auto spot = freeSpot({c.area, c.shown, c.size, margin, c.shown.front()});
    EXPECT_EQ(spot, (ui::Rect{c.expected, c.size})) << c.what << ": " << text(spot);
  }
}

// Six additions in a row from the README's first widget: each one found a
// free spot, none over another or over the first two.
TEST(FreeSpot, SixAdditionsInARowNeverOverlap) {
  for (const ui::Rect area : {ui::Rect{{0, 0}, {1280, 800}}, ui::Rect{{0, 0}, {1920, 1080}}}) {
    SCOPED_TRACE(text(area));
    std::vector<ui::Rect> shown = readmePair(area);
    for (const auto& spot : add(area, shown, 0, small, 6)) EXPECT_TRUE(spot) << "no spot left";
    EXPECT_EQ(shown.size(), 8u);
    expectApartInside(shown, area);
  }
  // The mixed sizes the menu offers, asked from the medium one.
  const ui::Rect area{{0, 0}, {1280, 800}};
  std::vector<ui::Rect> shown = readmePair(area);
  for (int i = 0; i < 3; ++i) {
    for (const ui::Size size : {medium, small}) {
      EXPECT_TRUE(add(area, shown, 1, size, 1).front()) << "no spot for addition " << i;
    }
  }
  expectApartInside(shown, area);
}

// On a small screen the right column is full at once: the additions fill
// the columns to the left, lined up with the widgets already there, in a
// predictable order; then there is no spot left, and none is made up.
TEST(FreeSpot, ASmallScreenFillsTheLeftColumnsThenGivesNothing) {
  const ui::Rect area{{0, 0}, {800, 600}};
  std::vector<ui::Rect> shown = readmePair(area);
  const auto added = add(area, shown, 0, small, 6);
  const std::optional<ui::Rect> expected[] = {
      ui::Rect{{412, 24}, small}, ui::Rect{{218, 24}, small}, ui::Rect{{218, 218}, small},
      ui::Rect{{24, 24}, small},  ui::Rect{{24, 218}, small}, std::nullopt,
  };
  ASSERT_EQ(added.size(), std::size(expected));
  for (std::size_t i = 0; i < added.size(); ++i) {
    EXPECT_EQ(added[i], expected[i]) << "addition " << i << ": " << text(added[i]);
  }
  expectApartInside(shown, area);
}

TEST(FreeSpot, NothingWhenNoSpotFitsOrTheQuestionMakesNoSense) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const ui::Rect screen{{0, 0}, {1280, 800}};
  const ui::Rect one{{24, 24}, small};
  // A screen tiled with small widgets a margin apart.
  std::vector<ui::Rect> tiled;
  for (double x = 24; x + 170 <= 1280 - 24; x += 194) {
    for (double y = 24; y + 170 <= 800 - 24; y += 194) tiled.push_back({{x, y}, small});
  }
  struct Case {
    const char* what;
    ui::Rect area;
    std::vector<ui::Rect> shown;
    ui::Size size;
    double gap;
  };
  const Case cases[] = {
      {"a screen full of widgets", screen, tiled, small, margin},
      {"a screen the size of one widget", {{0, 0}, {218, 218}}, {one}, small, margin},
      {"a widget larger than the screen", {{0, 0}, {300, 100}}, {one}, medium, margin},
      {"an area of no size", {{0, 0}, {0, 0}}, {one}, small, margin},
      {"a new widget of no size", screen, {one}, {0, 0}, margin},
      {"a work area not a number", {{nan, 0}, {1280, 800}}, {one}, small, margin},
      {"an infinite work area", {{0, 0}, {inf, 800}}, {one}, small, margin},
      {"a margin not a number", screen, {one}, small, nan},
  };
  for (const Case& c : cases) {
    const auto spot = freeSpot({c.area, c.shown, c.size, c.gap, c.shown.front()});
    EXPECT_EQ(spot, std::nullopt) << c.what << ": " << text(spot);
  }
}

// A huge work area (a bogus monitor) is scanned in a bounded number of
// steps, and a shown frame that is not a number is never overlapped.
TEST(FreeSpot, HugeAreasAndBrokenFramesStayBounded) {
  const ui::Rect huge{{0, 0}, {1e12, 1e12}};
  std::vector<ui::Rect> shown{{{0, 0}, {1e12 - 100, 1e12}}};
  EXPECT_EQ(freeSpot({huge, shown, small, margin, shown.front()}), std::nullopt);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  shown.push_back({{nan, nan}, small});
  EXPECT_EQ(freeSpot({{{0, 0}, {1280, 800}}, shown, small, margin, {{24, 24}, small}}),
            std::nullopt);
}

// "Taille" from the menu: a widget grows where its kept place puts it
// unless it would land there on a neighbour; then on another corner of its
// old frame, else on a free spot next to it, else in place all the same.
TEST(ResizedFrame, GrowsWhereItsPlacePutsItUnlessThatLandsOnANeighbour) {
  struct Case {
    const char* what;
    ui::Rect current;
    ui::Rect inPlace;
    std::vector<ui::Rect> others;
    ui::Point expected;
  };
  const ui::Rect screen{{0, 0}, {1280, 800}};
  const Case cases[] = {
      {"shrunk beside a close neighbour: in place",
       {{892, 24}, medium},
       {{1086, 24}, small},
       {{{698, 24}, small}},
       {1086, 24}},
      {"grown with room: in place",
       {{1086, 24}, small},
       {{892, 24}, medium},
       {{{1086, 218}, small}},
       {892, 24}},
      {"grown over the neighbour on its left: it grows to the right instead",
       {{600, 24}, small},
       {{406, 24}, medium},
       {{{380, 24}, small}},
       {600, 24}},
      {"grown in the corner over the neighbour on its left: below its old frame",
       {{1086, 24}, small},
       {{892, 24}, medium},
       {{{892, 24}, small}},
       {892, 218}},
      {"already over a neighbour (dragged there) and over no other: in place",
       {{1000, 24}, small},
       {{806, 24}, medium},
       {{{900, 24}, small}},
       {806, 24}},
  };
  for (const Case& c : cases) {
    const ui::Rect frame = resizedFrame({screen, c.others, c.current, c.inPlace, margin});
    EXPECT_EQ(frame, (ui::Rect{c.expected, c.inPlace.size})) << c.what << ": " << text(frame);
  }
}

// A screen tiled with small widgets: one grown to medium finds no room and
// takes the size in place; every other outcome keeps clear of the rest.
TEST(ResizedFrame, NoRoomAnywhereGrowsInPlaceAndEveryMoveKeepsClear) {
  const ui::Rect screen{{0, 0}, {1280, 800}};
  std::vector<ui::Rect> tiled;
  for (double x = 24; x + 170 <= 1280 - 24; x += 194) {
    for (double y = 24; y + 170 <= 800 - 24; y += 194) tiled.push_back({{x, y}, small});
  }
  const std::vector<ui::Rect> rest(tiled.begin() + 1, tiled.end());
  const ui::Rect inPlace{{24, 24}, medium};
  EXPECT_EQ(resizedFrame({screen, rest, tiled.front(), inPlace, margin}), inPlace);

  // Each widget of a row, a margin and more apart, grown in turn from its top-right
  // corner (kept inside the screen, as a place is): wherever it goes, it is
  // inside and clear of the others.
  std::vector<ui::Rect> sparse;
  for (double x = 24; x + 170 <= 1280 - 24; x += 218) sparse.push_back({{x, 24}, small});
  for (std::size_t i = 0; i < sparse.size(); ++i) {
    std::vector<ui::Rect> others = sparse;
    others.erase(others.begin() + static_cast<std::ptrdiff_t>(i));
    const ui::Rect grown{{std::max(0.0, sparse[i].maxX() - medium.width), 24}, medium};
    const ui::Rect frame = resizedFrame({screen, others, sparse[i], grown, margin});
    others.push_back(frame);
    SCOPED_TRACE("widget " + std::to_string(i) + " grown to " + text(frame));
    expectApartInside(others, screen);
  }
}

}  // namespace
}  // namespace kelpo::desktop
