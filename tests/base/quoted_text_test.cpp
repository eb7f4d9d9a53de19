#include "base/text/quoted_text.h"

#include <gtest/gtest.h>

#include <string>

namespace kelpo {
namespace {

TEST(QuotedText, EscapesQuotesBackslashesAndControlsAndKeepsTheRest) {
  const struct {
    std::string text;
    std::string quoted;
  } table[] = {
      {"", R"("")"},
      {"Fouille lun. 18:00", R"("Fouille lun. 18:00")"},
      {"L’été · 30 min 🦭", R"("L’été · 30 min 🦭")"},
      {"say \"hi\" \\o/", R"("say \"hi\" \\o/")"},
      {"one\ntwo\r\tthree", R"("one\ntwo\r\tthree")"},
      {"\x1B[31mred\x1B[0m", R"("\u001B[31mred\u001B[0m")"},
      {std::string("nul\0end", 7), R"("nul\u0000end")"},
      {"del\x7F", R"("del\u007F")"},
      {"csi\xC2\x9B", R"("csi\u009B")"},      // C1 controls, as UTF-8
      {"\xC2\xA0nbsp", "\"\xC2\xA0nbsp\""},   // U+00A0 is text
      {"bad\xFF\xC3", R"("bad\xFF\xC3")"},    // bytes that are not UTF-8
      {"\xE0\x80\xAF", R"("\xE0\x80\xAF")"},  // an overlong '/'
  };
  for (const auto& [text, quoted] : table) EXPECT_EQ(quotedText(text), quoted) << quoted;
}

}  // namespace
}  // namespace kelpo
