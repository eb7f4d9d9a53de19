// Stacks share their length out among children: least flexible first,
// spacers last, with the default spacing of 8 between neighbours.
// Fake metrics: a character is 0.5 x the font size wide, a line 1.2 x high;
// the default font is 13 points (6.5 wide, 15.6 high).

#include <gtest/gtest.h>

#include "engine/layout_test_support.h"

namespace kelpo::ui {
namespace {

using testing::expectLayouts;
using testing::rect;

const Paint black = Color::black();

TEST(StackLayout, SpacingSpacersAndFlexibleChildren) {
  FlexibleFrame wide;
  wide.maxWidth = infinity;
  const auto frameSpacerText = [](std::optional<double> spacing, View spacer, View text) {
    return HStack(VerticalAlignment::center, spacing,
                  {PaintView(black).frame(50, 20), std::move(spacer), std::move(text)});
  };
  const auto aOverLongText = [](HorizontalAlignment alignment) {
    return VStack(alignment, 0, {Text::verbatim("A"), Text::verbatim("ABCDEFG")});
  };
  const std::vector<std::string> words{"un", "deux", "trois"};
  // clang-format off
  expectLayouts({
      // No default spacing beside a spacer: its minimum length is the whole
      // gap. The frame takes 50, the text 32.5, the spacer the other 117.5.
      {"no default spacing beside a spacer", frameSpacerText(std::nullopt, Spacer(), Text::verbatim("Hello")), {200, 100},
       {{{}, rect(0, 0, 200, 20)}, {{0}, rect(0, 0, 50, 20)}, {{1}, rect(50, 10, 117.5, 0)}, {{2}, rect(167.5, 2.2, 32.5, 15.6)}}},
      // Explicit spacing does apply: 200 - 2 x 8 leaves the spacer 101.5.
      {"explicit spacing separates spacers too", frameSpacerText(8, Spacer(), Text::verbatim("Hello")), {200, 100},
       {{{0}, rect(0, 0, 50, 20)}, {{1}, rect(58, 10, 101.5, 0)}, {{2}, rect(167.5, 2.2, 32.5, 15.6)}}},
      // Offered 60: the frame keeps 50, the spacer its 6, the text the last 4.
      {"squeezed spacer keeps its minimum", frameSpacerText(std::nullopt, Spacer(6), Text::verbatim("Hello").lineLimit(1)), {60, 100},
       {{{0}, rect(0, 0, 50, 20)}, {{1}, rect(50, 10, 6, 0)}}},
      {"overflowing row still gives the spacer its minimum",
       HStack(VerticalAlignment::top, 0, {PaintView(black).frame(60, 10), Spacer(6), PaintView(black).frame(60, 10)}), {124, 10},
       {{{}, rect(0, 0, 126, 10)}, {{1}, rect(60, 0, 6, 0)}, {{2}, rect(66, 0, 60, 10)}}},
      {"default spacing is 8 between every pair",
       VStack(HorizontalAlignment::leading, std::nullopt, {Text::verbatim("A"), Text::verbatim("BB"), Text::verbatim("C")}), {100, 100},
       {{{}, rect(0, 0, 13, 62.8)}, {{0}, rect(0, 0, 6.5, 15.6)}, {{1}, rect(0, 23.6, 13, 15.6)}, {{2}, rect(0, 47.2, 6.5, 15.6)}}},
      {"spacer takes the rest and pushes the last child to the end",
       VStack(HorizontalAlignment::leading, 0, {Text::verbatim("A"), Spacer(6), Text::verbatim("B")}), {100, 100},
       {{{0}, rect(0, 0, 6.5, 15.6)}, {{1}, rect(0, 15.6, 0, 68.8)}, {{2}, rect(0, 84.4, 6.5, 15.6)}}},
      // The text is offered half of 100 before the flexible paint, which
      // then takes everything left.
      {"less flexible children are sized first",
       HStack(VerticalAlignment::top, 0, {PaintView(black).frame(wide), Text::verbatim("AB")}), {100, 20},
       {{{0}, rect(0, 0, 87, 20)}, {{1}, rect(87, 0, 13, 15.6)}}},
      {"cross axis leading", aOverLongText(HorizontalAlignment::leading), {100, 100}, {{{0}, rect(0, 0, 6.5, 15.6)}}},
      {"cross axis centre", aOverLongText(HorizontalAlignment::center), {100, 100}, {{{0}, rect(19.5, 0, 6.5, 15.6)}}},
      {"cross axis trailing", aOverLongText(HorizontalAlignment::trailing), {100, 100}, {{{0}, rect(39, 0, 6.5, 15.6)}}},
      {"negative padding pulls the next child closer",
       VStack(HorizontalAlignment::leading, 0, {Text::verbatim("7").font(Font::system(44)).padding(Edge::bottom, -4),
                                                Text::verbatim("à trier").font(Font::system(14))}), {100, 200},
       {{{}, rect(0, 0, 49, 65.6)}, {{0}, rect(0, 0, 22, 48.8)}, {{0, 0}, rect(0, 0, 22, 52.8)}, {{1}, rect(0, 48.8, 49, 16.8)}}},
      {"modifiers on a group apply to each child",
       VStack(HorizontalAlignment::leading, 0, {Group({Text::verbatim("A"), Text::verbatim("B")}).padding(Edge::top, 5)}), {100, 100},
       {{{0}, rect(0, 0, 6.5, 20.6)}, {{1}, rect(0, 20.6, 6.5, 20.6)}}},
      {"for-each makes one child per element",
       VStack(HorizontalAlignment::leading, 0, {ForEach(words, [](const std::string& w) { return w; },
                                                        [](const std::string& w) { return Text::verbatim(w); })}), {100, 100},
       {{{0}, rect(0, 0, 13, 15.6)}, {{1}, rect(0, 15.6, 26, 15.6)}, {{2}, rect(0, 31.2, 32.5, 15.6)}}},
      {"unspecified length gives every child its ideal length",
       HStack(VerticalAlignment::top, 4, {Text::verbatim("ABC"), Spacer(), Text::verbatim("D")}).fixedSize(), {20, 20},
       {{{0}, rect(0, 0, 42, 15.6)}, {{0, 1}, rect(23.5, 0, 8, 0)}, {{0, 2}, rect(35.5, 0, 6.5, 15.6)}}},
      // An empty view or group taking a slot would push C 10 further right.
      {"group children join the stack, empty views take no spacing",
       HStack(VerticalAlignment::top, 10, {Group({Text::verbatim("A"), Text::verbatim("B")}), View(), Group({}), Text::verbatim("C")}), {200, 50},
       {{{}, rect(0, 0, 39.5, 15.6)}, {{0}, rect(0, 0, 6.5, 15.6)}, {{1}, rect(16.5, 0, 6.5, 15.6)}, {{2}, rect(33, 0, 6.5, 15.6)}}},
  });
  // clang-format on
}

}  // namespace
}  // namespace kelpo::ui
