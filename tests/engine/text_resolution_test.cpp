// How texts are resolved before measuring: localisation, inherited and
// run-level styles, text case, and the fit they are given.

#include <gtest/gtest.h>

#include "engine/layout_test_support.h"
#include "engine/views/text_environment.h"

namespace kelpo::ui {
namespace {

using testing::expectFrames;
using testing::layOut;
using testing::rect;

const Color accent(Rgba{0.1, 0.5, 0.5, 1});
const Color ink(Rgba{0.12, 0.09, 0.13, 1});

TEST(TextResolution, DefaultStyleIsTheBodyFontInThePrimaryLabelColour) {
  const LaidOutNode text = layOut(Text::verbatim("x"), {100, 100});
  ASSERT_EQ(text.text.runs.size(), 1u);
  EXPECT_EQ(text.text.runs[0].font, Font::system(13));
  EXPECT_EQ(std::get<Color>(text.text.runs[0].foreground), primaryLabelColor());
  EXPECT_EQ(text.text.style.language, "fr");
}

TEST(TextResolution, RunStylesWinOverInheritedOnesAndConcatenationKeepsThem) {
  const Text message = Text("Il te reste %@ cette semaine. ") +
                       Text("Compléter ma semaine ›").bold().foregroundStyle(accent) +
                       Text::verbatim(" 20").font(Font::system(20));
  const LaidOutNode text =
      layOut(message.font(Font::system(12.5)).foregroundStyle(ink), {1000, 100});
  ASSERT_EQ(text.text.runs.size(), 3u);
  EXPECT_EQ(text.text.runs[0].font, Font::system(12.5));
  EXPECT_EQ(std::get<Color>(text.text.runs[0].foreground), ink);
  EXPECT_EQ(text.text.runs[1].font, Font::system(12.5, FontWeight::bold));
  EXPECT_EQ(std::get<Color>(text.text.runs[1].foreground), accent);
  EXPECT_EQ(text.text.runs[2].font, Font::system(20));  // its own font, not the text's
}

TEST(TextResolution, PhrasesAreFilledAndVerbatimTextIsLeftAlone) {
  const LaidOutNode score = layOut(Text(LocalizedPhrase{"%lld", {std::int64_t{12}}}), {100, 100});
  EXPECT_EQ(score.text.runs[0].text, "12");
  const LaidOutNode title = layOut(Text::verbatim("100 %lld <b>&amp;</b>"), {1000, 100});
  EXPECT_EQ(title.text.runs[0].text, "100 %lld <b>&amp;</b>");
}

TEST(TextResolution, UpperCaseFollowsTheLocale) {
  const View eyebrow = Text("À lire ensuite").textCase(TextCase::uppercase).tracking(0.6);
  const LaidOutNode text = layOut(eyebrow, {1000, 100});
  EXPECT_EQ(text.text.runs[0].text, "À LIRE ENSUITE");
  EXPECT_EQ(text.text.style.tracking, 0.6);

  Environment turkish = testing::testEnvironment();
  turkish.locale = "tr_TR";
  const LaidOutNode dotted = layoutView(Text::verbatim("istanbul").textCase(TextCase::uppercase),
                                        {1000, 100}, turkish, testing::fakeMeasurer());
  EXPECT_EQ(dotted.text.runs[0].text, "İSTANBUL");
}

TEST(TextFitting, LineLimitCutsAfterTheLastAllowedLineAndLineSpacingAddsBetween) {
  const std::string title(40, 'x');  // 260 wide: three lines of 15 in 100
  const LaidOutNode free = layOut(Text::verbatim(title), {100, 300});
  EXPECT_EQ(free.textFit.lineCount, 3);
  const LaidOutNode two = layOut(Text::verbatim(title).lineLimit(2), {100, 300});
  EXPECT_EQ(two.textFit.lineCount, 2);
  EXPECT_TRUE(two.textFit.truncated);
  expectFrames(two, {{{}, rect(0, 0, 97.5, 31.2)}});
  // Line spacing adds between the lines.
  expectFrames(layOut(Text::verbatim(std::string(20, 'x')).lineSpacing(2), {100, 300}),
               {{{}, rect(0, 0, 97.5, 33.2)}});
}

}  // namespace
}  // namespace kelpo::ui
