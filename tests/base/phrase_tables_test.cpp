#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "base/locale/phrases.h"
#include "base/locale/po_reader.h"

namespace kelpo {
namespace {

const std::filesystem::path phraseDirectory = std::filesystem::path(KELPO_RESOURCE_DIR) / "phrases";

[[nodiscard]] std::string readFile(const std::filesystem::path& path) {
  std::ifstream stream(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

// Which arguments a phrase shows, and how often, for each way of filling two
// arguments with numbers or texts: the same for two phrases that take the
// same arguments, in whatever order they place them.
[[nodiscard]] std::vector<std::multiset<std::string>> argumentsShown(std::string_view phrase) {
  std::vector<std::multiset<std::string>> shown;
  for (const bool firstIsNumber : {false, true}) {
    for (const bool secondIsNumber : {false, true}) {
      const PhraseArgument arguments[] = {
          firstIsNumber ? PhraseArgument{std::int64_t{90001}} : PhraseArgument{"⟪1⟫"},
          secondIsNumber ? PhraseArgument{std::int64_t{90002}} : PhraseArgument{"⟪2⟫"}};
      const std::string text = formatPhrase(phrase, arguments);
      std::multiset<std::string>& found = shown.emplace_back();
      for (const std::string marker : {"90001", "90002", "⟪1⟫", "⟪2⟫"}) {
        for (auto at = text.find(marker); at != std::string::npos; at = text.find(marker, at + 1))
          found.insert(marker);
      }
    }
  }
  return shown;
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
    EXPECT_EQ(argumentsShown(translation), argumentsShown(key));
    // Phrases are joined to the text around them by their outer spaces.
    EXPECT_EQ(translation.ends_with(' '), key.ends_with(' '));
    EXPECT_EQ(translation.starts_with(' '), key.starts_with(' '));
  }
}

}  // namespace
}  // namespace kelpo
