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

ProposedSize widthOnly(double width) {
  return {ProposedLength::exactly(width), ProposedLength::unspecified()};
}

class TextMeasuring : public ::testing::Test {
 protected:
  [[nodiscard]] TextFit fit(const StyledText& text,
                            const ProposedSize& proposal = ProposedSize::unspecified()) const {
    return measurer.fit(text, proposal);
  }
  [[nodiscard]] double naturalWidth(const std::string& text, Font font = Font::system(12)) const {
    return fit(styled(text, std::move(font))).size.width;
  }
  PangoTextMeasurer measurer;
};

TEST_F(TextMeasuring, LineHeightIsInPointsNotScaledByScreenResolution) {
  const TextFit line = fit(styled("Fouille demain 9:05", Font::system(12.5)));
  EXPECT_GT(line.size.height, 14);
  EXPECT_LT(line.size.height, 16.5);
  EXPECT_EQ(line.lineCount, 1);
  EXPECT_FALSE(line.truncated);
}

TEST_F(TextMeasuring, WrapsAtTheProposedWidthAndNeverExceedsIt) {
  const double oneLine = fit(styled("Ta semaine")).size.height;
  for (const double width : {40.0, 90.0, 150.0}) {
    SCOPED_TRACE(width);
    const TextFit wrapped = fit(styled(longSentence), widthOnly(width));
    EXPECT_LE(wrapped.size.width, width);
    EXPECT_GT(wrapped.lineCount, 1);
    EXPECT_NEAR(wrapped.size.height, oneLine * wrapped.lineCount, 0.5);
    EXPECT_FALSE(wrapped.truncated);
  }
}

TEST_F(TextMeasuring, LineLimitOfOneCutsWithAnEllipsisAcrossParagraphsToo) {
  TextStyle style;
  style.lineLimit = 1;
  const TextFit cut = fit(styled(longSentence, Font::system(12), style), widthOnly(120));
  EXPECT_TRUE(cut.truncated);
  EXPECT_EQ(cut.lineCount, 1);
  EXPECT_LE(cut.size.width, 120);
  EXPECT_GT(cut.size.width, 100);  // the line is filled up to the "…"
  const TextFit paragraphs = fit(styled("première\nseconde\ntroisième", Font::system(12), style));
  EXPECT_EQ(paragraphs.lineCount, 1);
  EXPECT_TRUE(paragraphs.truncated);
}

TEST_F(TextMeasuring, ProposedHeightLimitsTheLinesToThoseThatFit) {
  const double oneLine = fit(styled("Ta semaine")).size.height;
  const TextFit fitted = fit(styled(longSentence),
                             {ProposedLength::exactly(80), ProposedLength::exactly(oneLine * 2.5)});
  EXPECT_EQ(fitted.lineCount, 2);
  EXPECT_TRUE(fitted.truncated);
  // Even a height smaller than one line shows one line.
  const TextFit tiny = fit(styled(longSentence),
                           {ProposedLength::exactly(80), ProposedLength::exactly(oneLine / 3)});
  EXPECT_EQ(tiny.lineCount, 1);
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
  for (const Case& c : {
           Case{"shrinks to fit", title, 1, 0.5, 0.8, 0.8, 0.02, false},
           Case{"cuts below the minimum", title, 1, 0.9, 0.8, 0.9, 0, true},
           Case{"a word too long for any line",
                "Anticonstitutionnellement",
                {},
                0.5,
                0.7,
                0.7,
                0.02,
                false},
           Case{"a text that fits keeps full size", "7", 1, 0.5, 10, 1, 0, false},
       }) {
    SCOPED_TRACE(c.name);
    TextStyle style;
    style.lineLimit = c.lineLimit;
    style.minimumScaleFactor = c.minimumScaleFactor;
    const double width = naturalWidth(c.text) * c.widthOfNatural;
    const TextFit fitted = fit(styled(c.text, Font::system(12), style), widthOnly(width));
    EXPECT_NEAR(fitted.scale, c.scale, c.tolerance);
    EXPECT_EQ(fitted.truncated, c.truncated);
    EXPECT_EQ(fitted.lineCount, 1);
    EXPECT_LE(fitted.size.width, width);
  }
}

TEST_F(TextMeasuring, TrackingWidensEachCharacter) {
  TextStyle tracked;
  tracked.tracking = 2;
  const double plain = naturalWidth("ABCD");
  const double wide = fit(styled("ABCD", Font::system(12), tracked)).size.width;
  EXPECT_NEAR(wide - plain, 8, 2.5);
}

TEST_F(TextMeasuring, MonospacedDigitsMakeOnesAsWideAsZeros) {
  const Font proportional = Font::custom("Bricolage Grotesque", 20, FontWeight::heavy);
  const Font tabular = proportional.withMonospacedDigits();
  EXPECT_NEAR(naturalWidth("111", tabular), naturalWidth("000", tabular), 0.01);
  EXPECT_LT(naturalWidth("111", proportional), naturalWidth("000", proportional) - 1);
  const Font systemTabular = Font::system(12).withMonospacedDigits();
  EXPECT_NEAR(naturalWidth("111", systemTabular), naturalWidth("000", systemTabular), 0.01);
}

TEST_F(TextMeasuring, MarkupLookingTextIsMeasuredAsItsCharacters) {
  const std::string markup = "<b>&amp;</b>";
  const double whole = naturalWidth(markup);
  const double parts = naturalWidth("<b>") + naturalWidth("&amp;") + naturalWidth("</b>");
  EXPECT_NEAR(whole, parts, 1.0);
  EXPECT_GT(whole, naturalWidth("&") * 4);
  EXPECT_GT(naturalWidth("<span foreground='red'>unclosed"), 0);
}

TEST_F(TextMeasuring, RunsKeepTheirOwnFonts) {
  StyledText mixed = styled("3 ", Font::system(12, FontWeight::heavy));
  mixed.runs.push_back(StyledRun{"à trier", Font::system(12), Color::black()});
  const double heavyRun = naturalWidth("3 ", Font::system(12, FontWeight::heavy));
  EXPECT_NEAR(fit(mixed).size.width, heavyRun + naturalWidth("à trier"), 0.5);
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
  EXPECT_LE(fit(styled(longSentence), widthOnly(0)).size.width, 0);
  EXPECT_LE(fit(styled(longSentence), widthOnly(-5)).size.width, 0);
}

TEST_F(TextMeasuring, RememberedFitsDependOnEverythingThatShapesTheText) {
  // The measurer remembers its fits; asking again with any input changed
  // must give that input's own answer, as a fresh measurer would.
  TextStyle oneLine;
  oneLine.lineLimit = 1;
  TextStyle tracked;
  tracked.tracking = 2;
  const std::vector<std::pair<StyledText, ProposedSize>> asks = {
      {styled(longSentence), widthOnly(300)},
      {styled(longSentence), widthOnly(120)},
      {styled(longSentence, Font::system(12), oneLine), widthOnly(120)},
      {styled(longSentence, Font::system(12, FontWeight::heavy)), widthOnly(120)},
      {styled(longSentence, Font::system(14)), widthOnly(120)},
      {styled(longSentence, Font::system(12), tracked), widthOnly(120)},
      {styled(longSentence + "!"), widthOnly(120)},
      // Heights: a one-line text is remembered across them, a text of
      // several lines is not.
      {styled(longSentence, Font::system(12), oneLine),
       {ProposedLength::exactly(120), ProposedLength::exactly(0)}},
      {styled(longSentence, Font::system(12), oneLine),
       {ProposedLength::exactly(120), ProposedLength::exactly(400)}},
      {styled(longSentence), {ProposedLength::exactly(120), ProposedLength::exactly(400)}},
      {styled(longSentence), {ProposedLength::exactly(120), ProposedLength::exactly(30)}},
      {styled(longSentence), {ProposedLength::exactly(120), ProposedLength::exactly(0)}},
  };
  for (int round = 0; round < 2; ++round) {
    for (const auto& [text, proposal] : asks) {
      const TextFit fresh = PangoTextMeasurer().fit(text, proposal);
      const TextFit remembered = measurer.fit(text, proposal);
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
  TextStyle twoLines;
  twoLines.lineLimit = 2;
  const StyledText title = styled(huge, Font::system(12.5, FontWeight::bold), twoLines);
  const StyledText shown = laidOutText(title);
  ASSERT_EQ(shown.runs.size(), 1U);
  EXPECT_LT(shown.runs[0].text.size(), 1000U);
  EXPECT_TRUE(shown.runs[0].text.ends_with("…"));
  EXPECT_LT(laidOutText(styled(huge)).runs[0].text.size(), 10'000U);  // no line limit

  const TextFit fitted = fit(title, widthOnly(138));
  EXPECT_TRUE(fitted.truncated);
  EXPECT_EQ(fitted.lineCount, 2);
  EXPECT_LE(fitted.size.width, 138);
}

TEST_F(TextMeasuring, SymbolsAreSquaresSizedByTheirFont) {
  const Size clock = measurer.symbolSize("clock", Font::system(9.5, FontWeight::semibold));
  EXPECT_DOUBLE_EQ(clock.width, 9.5 * 1.15);
  EXPECT_DOUBLE_EQ(clock.height, clock.width);
  EXPECT_EQ(measurer.symbolSize("no.such.symbol", Font::system(10)), (Size{0, 0}));
}

}  // namespace
}  // namespace kelpo::ui
