#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "platform/phrases.h"
#include "platform/po_reader.h"

namespace kelpo {
namespace {

TEST(PoReading, JoinsContinuationLinesAndUnescapes) {
  const auto book = PhraseBook::parse(
      "msgid \"\"\n"
      "\"Deux \"\n"
      "\"lignes\"\n"
      "msgstr \"Two\\n\"\n"
      "   \"lines \\\"quoted\\\" \\\\ \\t tab\"\n");
  EXPECT_EQ(book.lookup("Deux lignes"), "Two\nlines \"quoted\" \\ \t tab");
}

TEST(PoReading, ReadsOctalAndHexEscapes) {
  const auto book = PhraseBook::parse("msgid \"a\"\nmsgstr \"\\101\\x42\\x43d\\0610\"\n");
  EXPECT_EQ(book.lookup("a"), "ABCd10");
}

TEST(PoReading, LeavesOutHeaderFuzzyAndUntranslatedEntries) {
  const auto book = PhraseBook::parse(
      "msgid \"\"\n"
      "msgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n"
      "\n"
      "#: views/small.cpp:12\n"
      "#, fuzzy, c-format\n"
      "msgid \"à trier\"\n"
      "msgstr \"to sort\"\n"
      "\n"
      "msgid \"à lire\"\n"
      "msgstr \"\"\n"
      "\n"
      "#. kept\n"
      "#, c-format\n"
      "msgid \"Ta semaine\"\n"
      "msgstr \"Your week\"\n");
  EXPECT_EQ(book.size(), 1u);
  EXPECT_EQ(book.lookup(""), "");
  EXPECT_EQ(book.lookup("à trier"), "à trier");
  EXPECT_EQ(book.lookup("à lire"), "à lire");
  EXPECT_EQ(book.lookup("Ta semaine"), "Your week");
}

TEST(PoReading, FuzzyFlagBelongsOnlyToTheEntryItPrecedes) {
  const auto book = PhraseBook::parse(
      "#, fuzzy\nmsgid \"a\"\nmsgstr \"A\"\n"
      "msgid \"b\"\nmsgstr \"B\"\n");  // no blank line between the entries
  EXPECT_EQ(book.lookup("a"), "a");
  EXPECT_EQ(book.lookup("b"), "B");
}

TEST(PoReading, PluralEntriesTranslateWithTheirFirstForm) {
  const auto book = PhraseBook::parse(
      "msgid \"sujet fait\"\nmsgid_plural \"sujets faits\"\n"
      "msgstr[0] \"topic done\"\nmsgstr[1] \"topics done\"\n");
  EXPECT_EQ(book.lookup("sujet fait"), "topic done");
  EXPECT_EQ(book.lookup("sujets faits"), "sujets faits");
}

TEST(PoReading, ContextEntriesDoNotAnswerPlainLookups) {
  const auto book = PhraseBook::parse(
      "msgctxt \"menu\"\nmsgid \"Fouille\"\nmsgstr \"Dig\"\n\n"
      "msgid \"Fouille\"\nmsgstr \"Search\"\n");
  EXPECT_EQ(book.lookup("Fouille"), "Search");
  EXPECT_EQ(book.size(), 2u);
}

TEST(PoReading, CarriageReturnsAndByteOrderMarkAreIgnored) {
  const auto book = PhraseBook::parse("\xEF\xBB\xBFmsgid \"a\"\r\nmsgstr \"A\"\r\n");
  EXPECT_EQ(book.lookup("a"), "A");
}

TEST(PoReading, FirstOfTwoTranslationsWins) {
  const auto book = PhraseBook::parse("msgid \"a\"\nmsgstr \"1\"\n\nmsgid \"a\"\nmsgstr \"2\"\n");
  EXPECT_EQ(book.lookup("a"), "1");
}

// Each broken entry is left out, and the good entry after it still reads.
TEST(PoReading, UnreadableEntriesAreSkippedWithoutLosingTheNextOne) {
  const std::vector<std::string> brokenEntries = {
      "msgid \"open\nmsgstr \"x\"\n",              // unterminated string
      "msgid \"a\" trailing\nmsgstr \"x\"\n",      // text after the string
      "msgid \"a\"\nmsgstr \"bad \\q escape\"\n",  // unknown escape
      "msgid \"a\"\nmsgstr x\n",                   // value not quoted
      "msgid \"a\"\nbogus \"b\"\nmsgstr \"x\"\n",  // unknown keyword
      "msgid \"a\"\nmsgstr[99] \"x\"\n",           // absurd plural index
      "msgid \"a\"\nmsgstr \"x\\",                 // cut inside an escape
      "msgid \"a\"\n",                             // no msgstr
  };
  for (const auto& broken : brokenEntries) {
    SCOPED_TRACE(broken);
    const auto book = PhraseBook::parse(broken + "\nmsgid \"ok\"\nmsgstr \"OK\"\n");
    EXPECT_EQ(book.lookup("a"), "a");
    EXPECT_EQ(book.lookup("ok"), "OK");
  }
}

TEST(PoReading, UnreadableEntryDoesNotSpoilTheOneBeforeIt) {
  const auto book = PhraseBook::parse("msgid \"ok\"\nmsgstr \"OK\"\nmsgid \"open\nmsgstr \"x\"\n");
  EXPECT_EQ(book.lookup("ok"), "OK");
  EXPECT_EQ(book.size(), 1u);
}

TEST(PoReading, GarbageBetweenEntriesIsPassedOver) {
  const auto book = PhraseBook::parse(
      "\"stray continuation\"\nnot a po file at all\n\xFF\xFE\n"
      "msgid \"ok\"\nmsgstr \"OK\"\n");
  EXPECT_EQ(book.lookup("ok"), "OK");
}

TEST(PoReading, ArbitraryBytesNeverCrash) {
  std::mt19937 random(7);
  const std::string alphabet = "msgidtrx_[]0123\"\\#, \n\r\t\xC3\xA9";
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    const auto length = random() % 200;
    for (std::size_t i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
    (void)readPoEntries(text);
    (void)PhraseBook::parse(text);
  }
}

TEST(PoReading, EntriesKeepEveryField) {
  const auto entries = readPoEntries(
      "#, fuzzy\nmsgctxt \"c\"\nmsgid \"one\"\nmsgid_plural \"many\"\n"
      "msgstr[0] \"1\"\nmsgstr[1] \"n\"\n");
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0], (PoEntry{"c", "one", "many", {"1", "n"}, true}));
}

class PhraseBookForLocale : public ::testing::Test {
 protected:
  void SetUp() override {
    directory_ = std::filesystem::temp_directory_path() /
                 ("kelpo-phrases-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(directory_);
    write("en.po", "msgid \"Ta semaine\"\nmsgstr \"Your week\"\n");
    write("en_GB.po", "msgid \"Ta semaine\"\nmsgstr \"Your week, love\"\n");
    write("fr.po", "msgid \"Ta semaine\"\nmsgstr \"should never be read\"\n");
  }
  void TearDown() override { std::filesystem::remove_all(directory_); }

  void write(const std::string& name, const std::string& text) const {
    std::ofstream(directory_ / name, std::ios::binary) << text;
  }

  [[nodiscard]] std::string weekIn(std::string_view locale) const {
    return std::string(PhraseBook::forLocale(locale, directory_).lookup("Ta semaine"));
  }

  std::filesystem::path directory_;
};

TEST_F(PhraseBookForLocale, PicksTheMostSpecificTableThatExists) {
  EXPECT_EQ(weekIn("en_US"), "Your week");
  EXPECT_EQ(weekIn("en"), "Your week");
  EXPECT_EQ(weekIn("en-US"), "Your week");
  EXPECT_EQ(weekIn("en_US@calendar=gregorian"), "Your week");
  EXPECT_EQ(weekIn("en_GB"), "Your week, love");
  EXPECT_EQ(weekIn("en_GB.UTF-8"), "Your week, love");
}

TEST_F(PhraseBookForLocale, FrenchAndUnknownLocalesShowTheKeys) {
  for (const auto* locale : {"", "fr", "fr_FR", "fr_CA", "de_DE", "C", "../en", "en/../en"}) {
    SCOPED_TRACE(locale);
    EXPECT_EQ(weekIn(locale), "Ta semaine");
  }
}

TEST_F(PhraseBookForLocale, FallsBackWhenATableCannotBeRead) {
  std::filesystem::create_directory(directory_ / "en_AU.po");  // a directory, not a file
  EXPECT_EQ(weekIn("en_AU"), "Your week");
}

TEST(PhraseBookForLocaleMissingDirectory, GivesAnEmptyBook) {
  const auto book = PhraseBook::forLocale("en_US", "/nonexistent/kelpo/phrases");
  EXPECT_EQ(book.size(), 0u);
  EXPECT_EQ(book.lookup("Ta semaine"), "Ta semaine");
}

}  // namespace
}  // namespace kelpo
