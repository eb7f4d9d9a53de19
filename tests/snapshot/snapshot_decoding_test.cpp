// Reading widget.json: every field of a real file, the forms an integer may
// take, what is ignored, and the first broken rule with where it is broken.

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <tuple>

#include "snapshot/snapshot_documents.h"
#include "snapshot/snapshot_json.h"
#include "support/case_names.h"
#include "support/instants.h"

namespace kelpo {
namespace {

using testing::Members;
using testing::objectJson;
using testing::validItem;
using testing::validSnapshot;
using testing::validSnapshotJson;
using testing::with;
using testing::without;

[[nodiscard]] std::string itemWith(const std::string& key, const std::string& json) {
  return objectJson(with(validItem(), key, json));
}

[[nodiscard]] std::string snapshotWithFirstItem(const std::string& itemJson) {
  return objectJson(with(validSnapshot(), "toSort", "[" + itemJson + "]"));
}

[[nodiscard]] std::string snapshotWith(const std::string& key, const std::string& json) {
  return objectJson(with(validSnapshot(), key, json));
}

[[nodiscard]] WidgetSnapshot decodeOrFail(const std::string& json) {
  const auto result = decodeSnapshot(json);
  EXPECT_TRUE(result.ok()) << (result.ok() ? "" : result.error().describe()) << "\n" << json;
  return result.ok() ? result.value() : WidgetSnapshot{};
}

TEST(SnapshotDecoding, ReadsEveryFieldOfTheTypicalFile) {
  std::ifstream file(KELPO_TEST_DATA_DIR "/widget.json", std::ios::binary);
  const std::string json{std::istreambuf_iterator<char>(file), {}};
  const auto snapshot = decodeOrFail(json);
  EXPECT_EQ(encodeSnapshot(snapshot), json) << "a field dropped or misread on the way in";
  // Read back literally too, so that a mistake made alike both ways shows.
  ASSERT_EQ(snapshot.toSort.size(), 3u);
  EXPECT_EQ(snapshot.toSort[0],
            (WidgetSnapshot::Item{*Uuid::parse("3F2504E0-4F89-41D3-9A0C-0305E82C3301"),
                                  "Rendu volumétrique des nuages en temps réel", 9, Gallery::stack,
                                  "Pixelbarn · 30 min", true}));
  EXPECT_EQ(snapshot.program.at(0).gallery, Gallery::list);
  EXPECT_EQ(std::tuple(snapshot.toSortCount, snapshot.programCount, snapshot.weekDone,
                       snapshot.weekPlanned, snapshot.weekBudget, *snapshot.weekDoneCount),
            std::tuple(3, 1, 135, 45, 300, 4));
  EXPECT_EQ(snapshot.weekLeftLabel, "2 h 45");
  EXPECT_EQ(snapshot.nextSearch, testing_support::utc(2025, 3, 10, 8));
  EXPECT_EQ(snapshot.accent, "Lagune");
}

TEST(SnapshotDecoding, OptionalKeysAbsentOrNullLeaveTheFieldAbsent) {
  const auto onlyRequired = decodeOrFail(validSnapshotJson());
  EXPECT_EQ(onlyRequired.weekDoneCount, std::nullopt);
  EXPECT_EQ(onlyRequired.weekLeftLabel, std::nullopt);
  EXPECT_EQ(onlyRequired.weekBudgetLabel, std::nullopt);
  Members nulls = validSnapshot();
  for (const char* key : {"weekDoneCount", "weekLeftLabel", "weekBudgetLabel"}) {
    nulls = with(nulls, key, "null");
  }
  EXPECT_EQ(decodeOrFail(objectJson(nulls)), onlyRequired);

  // Counts are taken as they are, whatever the lists hold.
  const auto counted =
      decodeOrFail(objectJson(with(with(validSnapshot(), "toSortCount", "12"), "program", "[]")));
  EXPECT_EQ(counted.toSortCount, 12);
  EXPECT_EQ(counted.toSort.size(), 1u);
  EXPECT_TRUE(counted.program.empty());
}

TEST(SnapshotDecoding, IgnoresUnknownKeysAnywhereAndTheSecondOfRepeatedOnes) {
  const std::string item = objectJson(with(validItem(), "thumbnail", R"({"url": [1, 2]})"));
  Members members = with(with(validSnapshot(item), "version", "3"), "Accent", "\"Indigo\"");
  members.push_back({"accent", "\"Indigo\""});
  members.push_back({"weekBudget", "\"not a number\""});
  EXPECT_EQ(decodeOrFail(objectJson(members)), decodeOrFail(validSnapshotJson()));

  Members repeatedInItem = validItem();
  repeatedInItem.push_back({"gallery", "\"Stack\""});
  EXPECT_EQ(decodeOrFail(snapshotWithFirstItem(objectJson(repeatedInItem))).toSort[0].gallery,
            Gallery::stack);
  Members brokenFirst = validSnapshot();
  brokenFirst.insert(brokenFirst.begin(), {"searching", "1"});
  EXPECT_FALSE(decodeSnapshot(objectJson(brokenFirst)).ok());
}

TEST(SnapshotDecoding, SkipsALeadingByteOrderMarkOnly) {
  EXPECT_TRUE(decodeSnapshot("\xEF\xBB\xBF" + validSnapshotJson()).ok());
  EXPECT_FALSE(decodeSnapshot("\xEF\xBB\xBF\xEF\xBB\xBF" + validSnapshotJson()).ok());
  EXPECT_FALSE(decodeSnapshot(" \xEF\xBB\xBF" + validSnapshotJson()).ok());
}

// Required, optional and item integers are read alike.
TEST(SnapshotDecoding, IntegerFormsDecodeToTheirWholeValue) {
  constexpr auto int64Min = std::numeric_limits<std::int64_t>::min();
  const std::pair<const char*, std::int64_t> table[] = {
      {"7", 7},
      {"7.0", 7},
      {"2.5e1", 25},
      {"-1e2", -100},
      {"-0.0", 0},
      {"9223372036854775807", std::numeric_limits<std::int64_t>::max()},
      {"-9223372036854775808", int64Min},
      {"-9.223372036854775808e18", int64Min},
  };
  for (const auto& [json, expected] : table) {
    SCOPED_TRACE(json);
    EXPECT_EQ(decodeOrFail(snapshotWith("weekDone", json)).weekDone, expected);
    EXPECT_EQ(decodeOrFail(snapshotWith("weekDoneCount", json)).weekDoneCount, expected);
    EXPECT_EQ(decodeOrFail(snapshotWithFirstItem(itemWith("score", json))).toSort[0].score,
              expected);
  }
}

// One broken rule each: the decode fails as a whole, pointing at the value.
struct RejectionCase {
  const char* name;
  std::string json;
  std::string path;
  DecodeErrorKind kind;
};

void PrintTo(const RejectionCase& rejection, std::ostream* out) {
  *out << rejection.name;
}

class Rejections : public ::testing::TestWithParam<RejectionCase> {};

TEST_P(Rejections, FailTheWholeDecodeAtTheBrokenValue) {
  const auto& expected = GetParam();
  const auto result = decodeSnapshot(expected.json);
  ASSERT_FALSE(result.ok()) << expected.json;
  EXPECT_EQ(result.error().path, expected.path);
  EXPECT_EQ(result.error().kind, expected.kind) << result.error().describe();
}

[[nodiscard]] RejectionCase badUuid(const char* name, const std::string& text) {
  return {name, snapshotWithFirstItem(itemWith("id", "\"" + text + "\"")), "toSort[0].id",
          DecodeErrorKind::malformedUuid};
}

using enum DecodeErrorKind;

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Fields, Rejections,
    ::testing::Values(
        RejectionCase{"Fraction", snapshotWith("toSortCount", "7.5"), "toSortCount", wrongType},
        RejectionCase{"ItemScoreFraction", snapshotWithFirstItem(itemWith("score", "7.5")), "toSort[0].score", wrongType},
        RejectionCase{"PastInt64", snapshotWith("weekBudget", "9223372036854775808"), "weekBudget", integerOutOfRange},
        RejectionCase{"WholeDoublePastInt64", snapshotWith("weekDone", "9.3e18"), "weekDone", integerOutOfRange},
        RejectionCase{"StringForInteger", snapshotWith("weekPlanned", "\"45\""), "weekPlanned", wrongType},
        RejectionCase{"NullRequired", snapshotWith("weekDone", "null"), "weekDone", wrongType},
        RejectionCase{"NumberForBoolean", snapshotWith("searching", "0"), "searching", wrongType},
        RejectionCase{"NumberForText", snapshotWith("weekLabel", "5"), "weekLabel", wrongType},
        RejectionCase{"MissingAccent", objectJson(without(validSnapshot(), "accent")), "accent", missingKey},
        RejectionCase{"OptionalTextWrongType", snapshotWith("weekLeftLabel", "[]"), "weekLeftLabel", wrongType},
        RejectionCase{"ListIsObject", snapshotWith("program", "{}"), "program", wrongType},
        RejectionCase{"DateMissingSeconds", snapshotWith("nextSearch", "\"2025-03-10T08:00Z\""), "nextSearch", malformedDate},
        RejectionCase{"FirstFailureInDeclaredOrder", objectJson(with(without(validSnapshot(), "accent"), "toSortCount", "1.5")), "toSortCount", wrongType}),
    testing_support::CaseName());

INSTANTIATE_TEST_SUITE_P(
    Items, Rejections,
    ::testing::Values(
        RejectionCase{"CapitalisedGallery", snapshotWithFirstItem(itemWith("gallery", "\"Stack\"")), "toSort[0].gallery", unknownGallery},
        RejectionCase{"MissingUnread", snapshotWithFirstItem(objectJson(without(validItem(), "unread"))), "toSort[0].unread", missingKey},
        RejectionCase{"ItemNotObject", snapshotWithFirstItem("\"item\""), "toSort[0]", wrongType},
        RejectionCase{"SecondProgramItem",
                      snapshotWith("program", "[" + objectJson(validItem()) + "," + itemWith("gallery", "\"Surface\"") + "]"),
                      "program[1].gallery", unknownGallery},
        badUuid("ShortUuid", "3F2504E0-4F89-41D3-9A0C-0305E82C330"),
        badUuid("UuidNotHex", "3F2504E0-4F89-41D3-9A0C-0305E82C330G"),
        badUuid("BracedUuid", "{3F2504E0-4F89-41D3-9A0C-0305E82C33}"),
        RejectionCase{"NumberId", snapshotWithFirstItem(itemWith("id", "42")), "toSort[0].id", wrongType},
        RejectionCase{"TopLevelArray", "[" + validSnapshotJson() + "]", "", notAnObject},
        RejectionCase{"EmptyObject", "{}", "toSort", missingKey}),
    testing_support::CaseName());
// clang-format on

TEST(SnapshotDecoding, RefusesWhatIsNotJson) {
  const std::string valid = validSnapshotJson();
  for (const std::string& document :
       {std::string(), std::string("   "), valid.substr(0, valid.size() - 1), valid + "}",
        valid + " {}", snapshotWith("weekLabel", "\"2 h \xC3\""), snapshotWith("weekDone", "NaN"),
        snapshotWith("weekDone", "1e400"), snapshotWith("weekDone", "99999999999999999999999")}) {
    const auto result = decodeSnapshot(document);
    ASSERT_FALSE(result.ok()) << document;
    EXPECT_EQ(result.error().kind, DecodeErrorKind::malformedJson) << document;
    EXPECT_TRUE(result.error().describe().starts_with("malformed JSON: ")) << document;
  }
}

// What `validate` prints: the path, then the rule and the value found.
TEST(SnapshotDecoding, DescribesErrorsAsPathThenWhatWasFound) {
  const std::pair<std::string, const char*> table[] = {
      {snapshotWithFirstItem(itemWith("gallery", "\"Stack\"")),
       "toSort[0].gallery: unknown value \"Stack\""},
      {snapshotWith("toSortCount", "7.5"), "toSortCount: expected an integer, found 7.5"},
      {snapshotWith("weekDone", "9.3e18"), "weekDone: integer out of range, found 9.3e+18"},
      {snapshotWith("weekPlanned", "\"45\""), "weekPlanned: expected an integer, found a string"},
      {badUuid("", "42").json, "toSort[0].id: not a UUID: \"42\""},
      {"null", "top-level value is not an object"},
  };
  for (const auto& [json, description] : table) {
    const auto result = decodeSnapshot(json);
    ASSERT_FALSE(result.ok()) << json;
    EXPECT_EQ(result.error().describe(), description);
  }
}

}  // namespace
}  // namespace kelpo
