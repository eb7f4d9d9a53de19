#include <gtest/gtest.h>

#include <limits>

#include "base/locale/phrases.h"

namespace kelpo {
namespace {

struct FormatCase {
  const char* format;
  std::vector<PhraseArgument> arguments;
  const char* expected;
};

using Args = std::vector<PhraseArgument>;
using namespace std::string_literals;

TEST(PhraseFormatting, FillsDirectivesWithTheirArgumentsAndNeverInterpretsThem) {
  for (const auto& [format, arguments, expected] : std::vector<FormatCase>{
           // Directives this system fills.
           {"%lld à trier", Args{std::int64_t{3}}, "3 à trier"},
           {"%lld", Args{std::int64_t{1234567}}, "1234567"},  // no digit grouping
           {"%lld", Args{std::numeric_limits<std::int64_t>::min()}, "-9223372036854775808"},
           {"Fouille %@", Args{"demain 9:05"s}, "Fouille demain 9:05"},
           {"%@ et %lld", Args{"a"s, std::int64_t{2}}, "a et 2"},
           {"100 %%", Args{}, "100 %"},
           {"%%lld", Args{std::int64_t{1}}, "%lld"},
           // Translations may reorder their arguments.
           {"%2$@, %1$lld", Args{std::int64_t{7}, "x"s}, "x, 7"},
           {"%1$@%1$@", Args{"ab"s}, "abab"},
           // Arguments are inserted as they are, never expanded again.
           {"Tes %@ sont faites.", Args{"%@ %lld %% %s"s}, "Tes %@ %lld %% %s sont faites."},
           {"%@ %@", Args{"%@"s, "b"s}, "%@ b"},
           // Missing arguments and arguments of the other kind leave the
           // directive as written; later directives keep their own slot.
           {"Note %lld sur 10", Args{}, "Note %lld sur 10"},
           {"%@", Args{std::int64_t{5}}, "%@"},
           {"%lld / %@", Args{"x"s, "y"s}, "%lld / y"},
           {"%3$@ %0$@", Args{"a"s}, "%3$@ %0$@"},
           // Any other percent sequence is text, never a C format.
           {"%s %n %d %x %ld %1$s %", Args{"a"s, std::int64_t{1}}, "%s %n %d %x %ld %1$s %"},
           {"50% off %", Args{}, "50% off %"},
           {"", Args{"a"s}, ""}}) {
    SCOPED_TRACE(format);
    EXPECT_EQ(formatPhrase(format, arguments), expected);
  }
}

}  // namespace
}  // namespace kelpo
