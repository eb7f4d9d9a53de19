// The widget's fonts with the real font files: the system family's weights
// pick their own faces, the display family comes from the application font
// file, and a family that is not there falls back and is reported.

#include "engine/text/fonts.h"

#include <gtest/gtest.h>
#include <pango/pangocairo.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

#include "engine/cairo/handles.h"
#include "engine/text/pango_fonts.h"
#include "support/temporary_directory.h"

namespace kelpo::ui {
namespace {

const std::filesystem::path displayFontFile =
    std::filesystem::path(KELPO_RESOURCE_DIR) / "fonts/BricolageGrotesque_800ExtraBold.ttf";

struct ChosenFace {
  std::string family;
  int weight = 0;
};

// The face Pango actually loads for `font`, described from its font file.
ChosenFace chosenFace(const Font& font) {
  const PangoContextHandle context = makeWidgetPangoContext();
  const FontDescriptionHandle asked = makeFontDescription(font, 1);
  const PangoFontHandle loaded(
      pango_font_map_load_font(widgetFontMap(), context.get(), asked.get()));
  if (!loaded) return {};
  const FontDescriptionHandle described(pango_font_describe(loaded.get()));
  return {pango_font_description_get_family(described.get()),
          static_cast<int>(pango_font_description_get_weight(described.get()))};
}

bool isMissing(const std::string& family) {
  const auto missing = missingFonts();
  return std::ranges::count(missing, family) > 0;
}

TEST(WidgetFonts, WeightsPickTheirOwnFacesAndTheDisplayFontComesFromItsFile) {
  for (const auto& [weight, faceWeight] :
       {std::pair{FontWeight::regular, 400}, std::pair{FontWeight::semibold, 600},
        std::pair{FontWeight::heavy, 800}}) {
    const ChosenFace face = chosenFace(Font::system(12, weight));
    EXPECT_EQ(face.family, "Inter");
    EXPECT_EQ(face.weight, faceWeight);
  }
  if (!std::filesystem::exists(displayFontFile)) {
    GTEST_SKIP() << "run scripts/fetch-fonts.sh to fetch the display font";
  }
  const ChosenFace face = chosenFace(Font::custom("Bricolage Grotesque", 10, FontWeight::heavy));
  EXPECT_EQ(face.family, "Bricolage Grotesque");
  EXPECT_EQ(face.weight, 800);
  EXPECT_FALSE(isMissing("Bricolage Grotesque"));
}

TEST(MissingFont, FallsBackToABoldSansAndIsReportedOnce) {
  const std::string family = "Kelpo Absent Family";
  const Font font = Font::custom(family, 10, FontWeight::regular);
  const FontDescriptionHandle first = makeFontDescription(font, 1);
  const FontDescriptionHandle second = makeFontDescription(font, 2);

  EXPECT_STREQ(pango_font_description_get_family(first.get()), "sans-serif");
  EXPECT_GE(pango_font_description_get_weight(first.get()), PANGO_WEIGHT_BOLD);
  const auto missing = missingFonts();
  EXPECT_EQ(std::ranges::count(missing, family), 1);
  EXPECT_FALSE(isMissing("Inter"));
}

TEST(ApplicationFontFile, OnlyABoundedRegularFileReachesFontconfig) {
  // Fontconfig would open whatever it is given and block on a FIFO with no
  // writer, or read a device without end.
  const testing_support::TemporaryDirectory directory;
  const std::filesystem::path fifo = directory.path() / "fifo.ttf";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::filesystem::path empty = directory.path() / "empty.ttf";
  std::ofstream{empty};
  const std::filesystem::path huge = directory.path() / "huge.ttf";
  std::ofstream{huge};
  std::filesystem::resize_file(huge, largestFontFileBytes + 1);  // sparse: takes no space
  for (const std::filesystem::path& unusable :
       {fifo, empty, huge, directory.path(), std::filesystem::path("/dev/zero"),
        directory.path() / "missing.ttf"}) {
    EXPECT_FALSE(isUsableFontFile(unusable)) << unusable;
  }
  EXPECT_EQ(isUsableFontFile(displayFontFile), std::filesystem::exists(displayFontFile));
}

}  // namespace
}  // namespace kelpo::ui
