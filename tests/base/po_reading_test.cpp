#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <utility>
#include <vector>

#include "base/locale/phrases.h"
#include "base/locale/po_reader.h"
#include "support/temporary_directory.h"

namespace kelpo {
namespace {

// A phrase table, what some keys look up to in it, and how many entries it
// holds when that matters.
struct PoCase {
  const char* name;
  std::string po;
  std::vector<std::pair<std::string, std::string>> lookups;
  std::optional<std::size_t> size = std::nullopt;
};

TEST(PoReading, ReadsEntriesAsGettextWritesThem) {
  // clang-format off
  const std::vector<PoCase> table = {
      {"continuation lines and escapes",
       "msgid \"\"\n\"Deux \"\n\"lignes\"\nmsgstr \"Two\\n\"\n   \"lines \\\"quoted\\\" \\\\ \\t tab\"\n",
       {{"Deux lignes", "Two\nlines \"quoted\" \\ \t tab"}}},
      {"octal and hex escapes", "msgid \"a\"\nmsgstr \"\\101\\x42\\x43d\\0610\"\n", {{"a", "ABCd10"}}},
      {"header, fuzzy and untranslated entries left out",
       "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n"
       "#: views/small.cpp:12\n#, fuzzy, c-format\nmsgid \"à trier\"\nmsgstr \"to sort\"\n\n"
       "msgid \"à lire\"\nmsgstr \"\"\n\n#. kept\n#, c-format\nmsgid \"Ta semaine\"\nmsgstr \"Your week\"\n",
       {{"", ""}, {"à trier", "à trier"}, {"à lire", "à lire"}, {"Ta semaine", "Your week"}}, 1},
      {"a fuzzy flag belongs only to the entry it precedes",
       "#, fuzzy\nmsgid \"a\"\nmsgstr \"A\"\nmsgid \"b\"\nmsgstr \"B\"\n", {{"a", "a"}, {"b", "B"}}},
      {"plural entries translate with their first form",
       "msgid \"sujet fait\"\nmsgid_plural \"sujets faits\"\nmsgstr[0] \"topic done\"\nmsgstr[1] \"topics done\"\n",
       {{"sujet fait", "topic done"}, {"sujets faits", "sujets faits"}}},
      {"context entries do not answer plain lookups",
       "msgctxt \"menu\"\nmsgid \"Fouille\"\nmsgstr \"Dig\"\n\nmsgid \"Fouille\"\nmsgstr \"Search\"\n",
       {{"Fouille", "Search"}}, 2},
      {"carriage returns and byte order mark ignored", "\xEF\xBB\xBFmsgid \"a\"\r\nmsgstr \"A\"\r\n", {{"a", "A"}}},
      {"the first of two translations wins", "msgid \"a\"\nmsgstr \"1\"\n\nmsgid \"a\"\nmsgstr \"2\"\n", {{"a", "1"}}},
      {"garbage between entries is passed over",
       "\"stray continuation\"\nnot a po file at all\n\xFF\xFE\nmsgid \"ok\"\nmsgstr \"OK\"\n", {{"ok", "OK"}}},
  };
  // clang-format on
  for (const auto& c : table) {
    SCOPED_TRACE(c.name);
    const auto book = PhraseBook::parse(c.po);
    for (const auto& [key, expected] : c.lookups) EXPECT_EQ(book.lookup(key), expected) << key;
    EXPECT_EQ(book.size(), c.size.value_or(book.size()));
  }
}

// Each broken entry is left out; the good entries around it still read.
TEST(PoReading, UnreadableEntriesAreSkippedWithoutLosingTheNextOne) {
  const std::vector<std::string> brokenEntries = {
      "msgid \"open\nmsgstr \"x\"\n",              // not one quoted string
      "msgid \"a\"\nmsgstr \"bad \\q escape\"\n",  // unknown escape
      "msgid \"a\"\nbogus \"b\"\nmsgstr \"x\"\n",  // unknown keyword
      "msgid \"a\"\nmsgstr[99] \"x\"\n",           // absurd plural index
      "msgid \"a\"\n",                             // no msgstr
  };
  for (const auto& broken : brokenEntries) {
    SCOPED_TRACE(broken);
    const auto book = PhraseBook::parse("msgid \"before\"\nmsgstr \"B\"\n" + broken +
                                        "\nmsgid \"ok\"\nmsgstr \"OK\"\n");
    EXPECT_EQ(book.lookup("a"), "a");
    EXPECT_EQ(book.lookup("before"), "B");
    EXPECT_EQ(book.lookup("ok"), "OK");
  }
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

// The most specific readable table for the locale; French, unknown and
// path-like locales show the keys.
TEST(PhraseBookForLocale, PicksTheMostSpecificTableThatExists) {
  const testing_support::TemporaryDirectory directory;
  const auto write = [&](const std::string& name, const std::string& text) {
    std::ofstream(directory.path() / name, std::ios::binary) << text;
  };
  write("en.po", "msgid \"Ta semaine\"\nmsgstr \"Your week\"\n");
  write("en_GB.po", "msgid \"Ta semaine\"\nmsgstr \"Your week, love\"\n");
  write("fr.po", "msgid \"Ta semaine\"\nmsgstr \"should never be read\"\n");
  std::filesystem::create_directory(directory.path() / "en_AU.po");  // not a file
  const std::pair<const char*, const char*> table[] = {
      {"en_US", "Your week"},
      {"en-US", "Your week"},
      {"en_US@calendar=gregorian", "Your week"},
      {"en_AU", "Your week"},
      {"en_GB.UTF-8", "Your week, love"},
      {"", "Ta semaine"},
      {"fr", "Ta semaine"},
      {"../en", "Ta semaine"},
  };
  for (const auto& [locale, expected] : table) {
    EXPECT_EQ(PhraseBook::forLocale(locale, directory.path()).lookup("Ta semaine"), expected)
        << locale;
  }
  const auto none = PhraseBook::forLocale("en_US", "/nonexistent/kelpo/phrases");
  EXPECT_EQ(none.size(), 0u);
  EXPECT_EQ(none.lookup("Ta semaine"), "Ta semaine");
}

}  // namespace
}  // namespace kelpo
