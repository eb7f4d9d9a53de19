// Fitting texts with the real fonts: every fit fits, text that looks like
// markup is measured as the characters it is, bad input measures as
// nothing, and remembered fits never go stale.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/text/pango_text_layout.h"
#include "engine/text/pango_text_measurer.h"

namespace kelpo::ui {
namespace {

const std::string longSentence =
    "Une veille qui ramène bien plus d’articles que ce qui tient sur une ligne";

StyledText styled(std::string text, Font font = Font::system(12), TextStyle style = {}) {
  return StyledText{{StyledRun{std::move(text), std::move(font), Color::black()}}, style};
}

TextStyle lineLimit(int lines) {
  TextStyle style;
  style.lineLimit = lines;
  return style;
}

ProposedSize proposal(double width, std::optional<double> height = std::nullopt) {
  return {ProposedLength::exactly(width),
          height ? ProposedLength::exactly(*height) : ProposedLength::unspecified()};
}

class TextMeasuring : public ::testing::Test {
 protected:
  [[nodiscard]] TextFit fit(const StyledText& text,
                            const ProposedSize& proposed = ProposedSize::unspecified()) const {
    return measurer.fit(text, proposed);
  }
  [[nodiscard]] double naturalWidth(const std::string& text, Font font = Font::system(12)) const {
    return fit(styled(text, std::move(font))).size.width;
  }
  [[nodiscard]] double lineHeight() const { return fit(styled("Ta semaine")).size.height; }
  PangoTextMeasurer measurer;
};

TEST_F(TextMeasuring, EveryFitFitsItsWidthLinesAndScale) {
  // Lines are in points, whatever the screen's resolution.
  EXPECT_GT(lineHeight(), 14);
  EXPECT_LT(lineHeight(), 16);
  struct Case {
    const char* name;
    std::string text;
    TextStyle style;
    double width;                  // as a share of the natural width
    std::optional<double> height;  // in lines
    int lines;
    bool truncated;
  };
  TextStyle shrinks = lineLimit(1);
  shrinks.minimumScaleFactor = 0.5;
  TextStyle shrinksLittle = lineLimit(1);
  shrinksLittle.minimumScaleFactor = 0.9;
  TextStyle wordShrinks;
  wordShrinks.minimumScaleFactor = 0.5;
  const std::string title = "Fouille aujourd’hui 14:30";
  // clang-format off
  for (const Case& c : {
           Case{"wraps",                         longSentence,                   {},             0.3,  {},   4, false},
           Case{"cut by the line limit",         longSentence,                   lineLimit(1),   0.3,  {},   1, true},
           Case{"paragraphs past the limit",     "première\nseconde\ntroisième", lineLimit(1),   1,    {},   1, true},
           Case{"cut by the height",             longSentence,                   {},             0.2,  2.5,  2, true},
           Case{"one line below any height",     longSentence,                   {},             0.2,  0.3,  1, true},
           Case{"shrinks to fit",                title,                          shrinks,        0.8,  {},   1, false},
           Case{"cut below the minimum scale",   title,                          shrinksLittle,  0.8,  {},   1, true},
           Case{"a word too long for any line",  "Anticonstitutionnellement",    wordShrinks,    0.7,  {},   1, false}}) {
    // clang-format on
    SCOPED_TRACE(c.name);
    const double width = naturalWidth(c.text) * c.width;
    const std::optional<double> height =
        c.height ? std::optional(*c.height * lineHeight()) : std::nullopt;
    const TextFit fitted = fit(styled(c.text, Font::system(12), c.style), proposal(width, height));
    EXPECT_LE(fitted.size.width, width);
    EXPECT_GT(fitted.size.width, width * 0.6);  // lines are filled, up to the "…"
    EXPECT_EQ(fitted.lineCount, c.lines);
    EXPECT_EQ(fitted.truncated, c.truncated);
    EXPECT_NEAR(fitted.size.height, lineHeight() * fitted.scale * fitted.lineCount, 0.5);
    EXPECT_GE(fitted.scale, c.style.minimumScaleFactor);
    EXPECT_EQ(fitted.scale < 1, c.style.minimumScaleFactor < 1);
  }
  EXPECT_EQ(fit(styled("7", Font::system(12), shrinks), proposal(100)).scale, 1);
}

TEST_F(TextMeasuring, MarkupLookingTextIsMeasuredAsItsCharacters) {
  const double whole = naturalWidth("<b>&amp;</b>");
  EXPECT_NEAR(whole, naturalWidth("<b>") + naturalWidth("&amp;") + naturalWidth("</b>"), 1.0);
  EXPECT_GT(whole, naturalWidth("&") * 4);
  EXPECT_GT(naturalWidth("<span foreground='red'>unclosed"), 0);
}

TEST_F(TextMeasuring, EmptyTextBadBytesAndZeroSizesDoNotBreakMeasuring) {
  const TextFit empty = fit(styled(""));
  EXPECT_EQ(empty.size, (Size{0, 0}));
  EXPECT_EQ(empty.lineCount, 0);
  EXPECT_GT(naturalWidth(std::string("ab\xff\xfe-cd\0ef", 10)), 0);
  EXPECT_GE(fit(styled("abc", Font::system(0))).size.width, 0);
  EXPECT_LE(fit(styled(longSentence), proposal(0)).size.width, 0);
  EXPECT_LE(fit(styled(longSentence), proposal(-5)).size.width, 0);
}

TEST_F(TextMeasuring, RememberedFitsDependOnEverythingThatShapesTheText) {
  // The measurer remembers its fits; asking again with any input changed
  // must give that input's own answer, as a fresh measurer would.
  TextStyle tracked;
  tracked.tracking = 2;
  const StyledText oneLine = styled(longSentence, Font::system(12), lineLimit(1));
  const std::vector<std::pair<StyledText, ProposedSize>> asks = {
      {styled(longSentence), proposal(300)},
      {styled(longSentence), proposal(120)},
      {oneLine, proposal(120)},
      {styled(longSentence, Font::system(12, FontWeight::heavy)), proposal(120)},
      {styled(longSentence, Font::system(14)), proposal(120)},
      {styled(longSentence, Font::system(12), tracked), proposal(120)},
      {styled(longSentence + "!"), proposal(120)},
      // Heights: a one-line text is remembered across them, a text of
      // several lines is not.
      {oneLine, proposal(120, 0)},
      {oneLine, proposal(120, 400)},
      {styled(longSentence), proposal(120, 400)},
      {styled(longSentence), proposal(120, 30)},
  };
  for (int round = 0; round < 2; ++round) {
    for (const auto& [text, proposed] : asks) {
      const TextFit fresh = PangoTextMeasurer().fit(text, proposed);
      const TextFit remembered = measurer.fit(text, proposed);
      EXPECT_EQ(remembered.size, fresh.size) << "round " << round;
      EXPECT_EQ(remembered.lineCount, fresh.lineCount);
      EXPECT_EQ(remembered.truncated, fresh.truncated);
    }
  }
}

TEST_F(TextMeasuring, UnboundedTextsAreCutToWhatAWidgetCouldShowBeforeLayout) {
  // A snapshot's title may run to megabytes; laying it all out would take
  // minutes. It is cut, with "…", to what its lines could ever show.
  const std::string huge(1'000'000, 'W');
  const StyledText title = styled(huge, Font::system(12.5, FontWeight::bold), lineLimit(2));
  const StyledText shown = laidOutText(title);
  ASSERT_EQ(shown.runs.size(), 1U);
  EXPECT_LT(shown.runs[0].text.size(), 1000U);
  EXPECT_TRUE(shown.runs[0].text.ends_with("…"));
  EXPECT_LT(laidOutText(styled(huge)).runs[0].text.size(), 10'000U);  // no line limit

  const TextFit fitted = fit(title, proposal(138));
  EXPECT_TRUE(fitted.truncated);
  EXPECT_EQ(fitted.lineCount, 2);
  EXPECT_LE(fitted.size.width, 138);
}

}  // namespace
}  // namespace kelpo::ui
