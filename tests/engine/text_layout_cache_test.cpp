// A painter's layouts kept from frame to frame: a text is laid out again
// whenever anything that changes its pixels changes, and a frame keeps only
// the layouts it drew.

#include "engine/text/text_layout_cache.h"

#include <gtest/gtest.h>

#include <string>

namespace kelpo::ui {
namespace {

StyledText styled(std::string text, Paint foreground = Color::black()) {
  return StyledText{{StyledRun{std::move(text), Font::system(12), std::move(foreground)}}, {}};
}

const TextLayoutRequest drawn{std::nullopt, 1, 1, ColorScheme::light};

TEST(TextLayoutCache, ALayoutIsKeptOnlyForWhatDrawsTheSame) {
  struct Case {
    const char* name;
    StyledText text;
    TextLayoutRequest request;
  };
  const Case cases[] = {
      {"another text", styled("9"), drawn},
      {"another colour", styled("10", Color::white()), drawn},
      {"another appearance", styled("10"), {std::nullopt, 1, 1, ColorScheme::dark}},
      {"a wrapping width", styled("10"), {40.0, 1, 1, ColorScheme::light}},
      {"a smaller scale", styled("10"), {std::nullopt, 0.8, 1, ColorScheme::light}},
      {"more lines", styled("10"), {std::nullopt, 1, 2, ColorScheme::light}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TextLayoutCache cache;
    PangoLayout* first = cache.layoutFor(styled("10"), drawn);
    EXPECT_EQ(cache.layoutFor(styled("10"), drawn), first) << "the same text, drawn the same";
    EXPECT_NE(cache.layoutFor(c.text, c.request), first);
    EXPECT_EQ(cache.size(), 2U);
  }
}

TEST(TextLayoutCache, AFrameKeepsTheLayoutsItDrew) {
  TextLayoutCache cache;
  (void)cache.layoutFor(styled("badge"), drawn);
  (void)cache.layoutFor(styled("title"), drawn);
  cache.endFrame();
  (void)cache.layoutFor(styled("badge"), drawn);  // the next frame draws the badge alone
  cache.endFrame();
  EXPECT_EQ(cache.size(), 1U);
  cache.endFrame();
  EXPECT_EQ(cache.size(), 0U) << "a frame that drew no text keeps none";

  (void)cache.layoutFor(styled("badge"), drawn);
  cache.clear();
  EXPECT_EQ(cache.size(), 0U);
}

}  // namespace
}  // namespace kelpo::ui
