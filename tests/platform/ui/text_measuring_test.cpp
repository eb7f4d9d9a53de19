// Fitting texts with the real fonts: sizes in points, wrapping, line
// limits, shrinking before cutting, tracking, tabular digits, and text that
// looks like markup measured as the characters it is.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui/text/pango_text_layout.h"
#include "platform/ui/text/pango_text_measurer.h"

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

TEST_F(TextMeasuring, LineHeightIsInPointsNotScaledByScreenResolution) {
  const TextFit line = fit(styled("Fouille demain 9:05", Font::system(12.5)));
  EXPECT_GT(line.size.height, 14);
  EXPECT_LT(line.size.height, 16.5);
  EXPECT_EQ(line.lineCount, 1);
}

TEST_F(TextMeasuring, WrapsAtTheProposedWidthAndNeverExceedsIt) {
  for (const double width : {40.0, 150.0}) {
    const TextFit wrapped = fit(styled(longSentence), proposal(width));
    EXPECT_LE(wrapped.size.width, width);
    EXPECT_GT(wrapped.lineCount, 1);
    EXPECT_NEAR(wrapped.size.height, lineHeight() * wrapped.lineCount, 0.5);
    EXPECT_FALSE(wrapped.truncated);
  }
}

TEST_F(TextMeasuring, LinesAreLimitedByTheLineLimitOrTheProposedHeight) {
  const TextFit cut = fit(styled(longSentence, Font::system(12), lineLimit(1)), proposal(120));
  EXPECT_TRUE(cut.truncated);
  EXPECT_EQ(cut.lineCount, 1);
  EXPECT_LE(cut.size.width, 120);
  EXPECT_GT(cut.size.width, 100);  // the line is filled up to the "…"
  const TextFit paragraphs =
      fit(styled("première\nseconde\ntroisième", Font::system(12), lineLimit(1)));
  EXPECT_EQ(paragraphs.lineCount, 1);
  EXPECT_TRUE(paragraphs.truncated);

  const TextFit fitted = fit(styled(longSentence), proposal(80, lineHeight() * 2.5));
  EXPECT_EQ(fitted.lineCount, 2);
  EXPECT_TRUE(fitted.truncated);
  // Even a height smaller than one line shows one line.
  EXPECT_EQ(fit(styled(longSentence), proposal(80, lineHeight() / 3)).lineCount, 1);
}

TEST_F(TextMeasuring, MinimumScaleFactorShrinksBeforeCutting) {
  struct Case {
    const char* name;
    std::string text;
    std::optional<int> lineLimit;
    double minimumScaleFactor;
    double widthOfNatural;  // the proposed width, as a share of the natural one
    double scale;
    double tolerance;
    bool truncated;
  };
  const std::string title = "Fouille aujourd’hui 14:30";
  // clang-format off
  for (const Case& c : {
           Case{"shrinks to fit",                  title,                       1,            0.5, 0.8, 0.8, 0.02, false},
           Case{"cuts below the minimum",          title,                       1,            0.9, 0.8, 0.9, 0,    true},
           Case{"a word too long for any line",    "Anticonstitutionnellement", std::nullopt, 0.5, 0.7, 0.7, 0.02, false},
           Case{"a text that fits keeps its size", "7",                         1,            0.5, 10,  1,   0,    false}}) {
    // clang-format on
    SCOPED_TRACE(c.name);
    TextStyle style;
    style.lineLimit = c.lineLimit;
    style.minimumScaleFactor = c.minimumScaleFactor;
    const double width = naturalWidth(c.text) * c.widthOfNatural;
    const TextFit fitted = fit(styled(c.text, Font::system(12), style), proposal(width));
    EXPECT_NEAR(fitted.scale, c.scale, c.tolerance);
    EXPECT_EQ(fitted.truncated, c.truncated);
    EXPECT_EQ(fitted.lineCount, 1);
    EXPECT_LE(fitted.size.width, width);
  }
}

TEST_F(TextMeasuring, TrackingRunsAndTabularDigitsChangeTheWidth) {
  TextStyle tracked;
  tracked.tracking = 2;
  EXPECT_NEAR(fit(styled("ABCD", Font::system(12), tracked)).size.width - naturalWidth("ABCD"), 8,
              2.5);

  StyledText mixed = styled("3 ", Font::system(12, FontWeight::heavy));
  mixed.runs.push_back(StyledRun{"à trier", Font::system(12), Color::black()});
  EXPECT_NEAR(fit(mixed).size.width,
              naturalWidth("3 ", Font::system(12, FontWeight::heavy)) + naturalWidth("à trier"),
              0.5);

  const Font display = Font::custom("Bricolage Grotesque", 20, FontWeight::heavy);
  EXPECT_LT(naturalWidth("111", display), naturalWidth("000", display) - 1);
  for (const Font& tabular :
       {display.withMonospacedDigits(), Font::system(12).withMonospacedDigits()}) {
    EXPECT_NEAR(naturalWidth("111", tabular), naturalWidth("000", tabular), 0.01);
  }
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
  EXPECT_GT(naturalWidth(std::string("ab\xff\xfe"
                                     "cd\0ef",
                                     9)),
            0);
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

TEST_F(TextMeasuring, SymbolsAreSquaresSizedByTheirFont) {
  const Size clock = measurer.symbolSize("clock", Font::system(9.5, FontWeight::semibold));
  EXPECT_GT(clock.width, 9.5);
  EXPECT_DOUBLE_EQ(clock.height, clock.width);
  EXPECT_EQ(measurer.symbolSize("no.such.symbol", Font::system(10)), (Size{0, 0}));
}

}  // namespace
}  // namespace kelpo::ui
