#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <tuple>

#include "platform/phrases.h"
#include "platform/po_reader.h"

namespace kelpo {
namespace {

const std::filesystem::path phraseDirectory = std::filesystem::path(KELPO_RESOURCE_DIR) / "phrases";

[[nodiscard]] std::string readFile(const std::filesystem::path& path) {
  std::ifstream stream(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

// The arguments a phrase takes, as (argument number, 'i' or 't') pairs, with
// sequential directives numbered in order like positional ones.
[[nodiscard]] std::multiset<std::pair<int, char>> placeholdersOf(std::string_view format) {
  std::multiset<std::pair<int, char>> found;
  int next = 1;
  for (std::size_t at = format.find('%'); at != std::string_view::npos; at = format.find('%', at)) {
    auto rest = format.substr(at + 1);
    if (rest.starts_with('%')) {
      at += 2;
      continue;
    }
    int position = 0;
    std::size_t digits = 0;
    while (digits < rest.size() && rest[digits] >= '0' && rest[digits] <= '9')
      position = position * 10 + (rest[digits++] - '0');
    if (digits > 0 && digits < rest.size() && rest[digits] == '$') {
      rest.remove_prefix(digits + 1);
    } else {
      position = next++;
    }
    if (rest.starts_with("lld")) found.emplace(position, 'i');
    if (rest.starts_with("@")) found.emplace(position, 't');
    ++at;
  }
  return found;
}

[[nodiscard]] std::vector<std::string> templateKeys() {
  std::vector<std::string> keys;
  for (const auto& entry : readPoEntries(readFile(phraseDirectory / "kelpo.pot")))
    if (!entry.id.empty()) keys.push_back(entry.id);
  return keys;
}

TEST(PhraseTables, TemplateListsTheWidgetPhrasesOnce) {
  const auto keys = templateKeys();
  EXPECT_GE(keys.size(), 30u);
  EXPECT_EQ(std::set<std::string>(keys.begin(), keys.end()).size(), keys.size());
  for (const auto& key : keys) {
    SCOPED_TRACE(key);
    EXPECT_EQ(key.find('\''), std::string::npos) << "French apostrophes are typographic (’)";
  }
}

TEST(PhraseTables, EnglishTranslatesEveryPhraseWithTheSameArguments) {
  const auto book = PhraseBook::forLocale("en_US", phraseDirectory);
  const auto keys = templateKeys();
  EXPECT_EQ(book.size(), keys.size()) << "a translation for a phrase the widget no longer uses";
  for (const auto& key : keys) {
    SCOPED_TRACE(key);
    const auto translation = book.lookup(key);
    const bool translated = translation != key || key == "%lld" || key == "?" || key == "kelpo";
    EXPECT_TRUE(translated);
    EXPECT_EQ(placeholdersOf(translation), placeholdersOf(key));
    // Phrases are joined to the text around them by their outer spaces.
    EXPECT_EQ(translation.ends_with(' '), key.ends_with(' '));
    EXPECT_EQ(translation.starts_with(' '), key.starts_with(' '));
  }
}

TEST(PhraseTables, PlaceholderComparisonSeesReorderingAndKinds) {
  EXPECT_EQ(placeholdersOf("%2$@ %1$lld"), placeholdersOf("%lld %@"));
  EXPECT_NE(placeholdersOf("%@"), placeholdersOf("%lld"));
  EXPECT_NE(placeholdersOf("%@ %@"), placeholdersOf("%@"));
  EXPECT_TRUE(placeholdersOf("100 %% done").empty());
}

}  // namespace
}  // namespace kelpo
