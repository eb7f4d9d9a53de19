#include <gtest/gtest.h>

#include <limits>

#include "platform/phrases.h"

namespace kelpo {
namespace {

struct FormatCase {
  const char* format;
  std::vector<PhraseArgument> arguments;
  const char* expected;
};

class PhraseFormatting : public ::testing::TestWithParam<FormatCase> {};

TEST_P(PhraseFormatting, FillsDirectivesWithTheirArguments) {
  const auto& [format, arguments, expected] = GetParam();
  EXPECT_EQ(formatPhrase(format, arguments), expected);
}

using Args = std::vector<PhraseArgument>;
using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(
    Cases, PhraseFormatting,
    ::testing::Values(
        // Directives this system fills.
        FormatCase{"%lld à trier", Args{std::int64_t{3}}, "3 à trier"},
        FormatCase{"%lld", Args{std::int64_t{-12}}, "-12"},
        FormatCase{"%lld", Args{std::int64_t{1234567}}, "1234567"},  // no digit grouping
        FormatCase{"%lld", Args{std::numeric_limits<std::int64_t>::min()}, "-9223372036854775808"},
        FormatCase{"Fouille %@", Args{"demain 9:05"s}, "Fouille demain 9:05"},
        FormatCase{"%@ et %lld", Args{"a"s, std::int64_t{2}}, "a et 2"},
        FormatCase{"100 %%", Args{}, "100 %"}, FormatCase{"%%lld", Args{std::int64_t{1}}, "%lld"},
        // Translations may reorder their arguments.
        FormatCase{"%2$@, %1$lld", Args{std::int64_t{7}, "x"s}, "x, 7"},
        FormatCase{"%1$@%1$@", Args{"ab"s}, "abab"},
        // Arguments are inserted as they are, never expanded again.
        FormatCase{"Tes %@ sont faites.", Args{"%@ %lld %% %s"s}, "Tes %@ %lld %% %s sont faites."},
        FormatCase{"%@ %@", Args{"%@"s, "b"s}, "%@ b"},
        // Missing arguments and arguments of the other kind leave the
        // directive as written; later directives keep their own slot.
        FormatCase{"Note %lld sur 10", Args{}, "Note %lld sur 10"},
        FormatCase{"%@", Args{std::int64_t{5}}, "%@"},
        FormatCase{"%lld / %@", Args{"x"s, "y"s}, "%lld / y"},
        FormatCase{"%3$@ %0$@", Args{"a"s}, "%3$@ %0$@"},
        // Any other percent sequence is text, never a C format.
        FormatCase{"%s %n %d %x %ld %1$s %", Args{"a"s, std::int64_t{1}}, "%s %n %d %x %ld %1$s %"},
        FormatCase{"50% off %", Args{}, "50% off %"}, FormatCase{"", Args{"a"s}, ""}));

TEST(Localize, LooksTheKeyUpThenFillsTheTranslation) {
  const auto book =
      PhraseBook::parse("msgid \"Note %lld sur 10\"\nmsgstr \"Score %lld out of 10\"\n");
  const LocalizedPhrase phrase{"Note %lld sur 10", {std::int64_t{7}}};
  EXPECT_EQ(localize(phrase, &book), "Score 7 out of 10");
  EXPECT_EQ(localize(phrase, nullptr), "Note 7 sur 10");
  EXPECT_EQ(localize({"Ta semaine", {}}, &book), "Ta semaine");
}

}  // namespace
}  // namespace kelpo
