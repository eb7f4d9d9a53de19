#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>

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
using testing_support::utc;

[[nodiscard]] std::string itemWith(const std::string& key, const std::string& json) {
  return objectJson(with(validItem(), key, json));
}

[[nodiscard]] std::string snapshotWithFirstItem(const std::string& itemJson) {
  return objectJson(with(validSnapshot(), "toSort", "[" + itemJson + "]"));
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

  ASSERT_EQ(snapshot.toSort.size(), 3u);
  const auto& first = snapshot.toSort[0];
  EXPECT_EQ(first.id.string(), "3F2504E0-4F89-41D3-9A0C-0305E82C3301");
  EXPECT_EQ(first.title, "Rendu volumétrique des nuages en temps réel");
  EXPECT_EQ(first.score, 9);
  EXPECT_EQ(first.gallery, Gallery::stack);
  EXPECT_EQ(first.detail, "Pixelbarn · 30 min");
  EXPECT_TRUE(first.unread);
  EXPECT_EQ(snapshot.toSort[1].gallery, Gallery::suggestion);
  EXPECT_EQ(snapshot.toSort[2].gallery, Gallery::surface);
  EXPECT_FALSE(snapshot.toSort[2].unread);
  EXPECT_EQ(snapshot.toSortCount, 3);
  ASSERT_EQ(snapshot.program.size(), 1u);
  EXPECT_EQ(snapshot.program[0].gallery, Gallery::list);
  EXPECT_EQ(snapshot.programCount, 1);
  EXPECT_EQ(snapshot.weekDone, 135);
  EXPECT_EQ(snapshot.weekPlanned, 45);
  EXPECT_EQ(snapshot.weekBudget, 300);
  EXPECT_EQ(snapshot.weekDoneCount, 4);
  EXPECT_EQ(snapshot.weekLabel, "2 h 15 / 5 h");
  EXPECT_EQ(snapshot.weekLeftLabel, "2 h 45");
  EXPECT_EQ(snapshot.weekBudgetLabel, "5 h");
  EXPECT_EQ(snapshot.nextSearch, utc(2025, 3, 10, 8, 0, 0));
  EXPECT_FALSE(snapshot.searching);
  EXPECT_EQ(snapshot.accent, "Lagune");
}

TEST(SnapshotDecoding, OptionalKeysAbsentOrNullLeaveTheFieldAbsent) {
  const auto onlyRequired = decodeOrFail(validSnapshotJson());
  EXPECT_EQ(onlyRequired.weekDoneCount, std::nullopt);
  EXPECT_EQ(onlyRequired.weekLeftLabel, std::nullopt);
  EXPECT_EQ(onlyRequired.weekBudgetLabel, std::nullopt);

  Members nulls = validSnapshot();
  nulls = with(nulls, "weekDoneCount", "null");
  nulls = with(nulls, "weekLeftLabel", "null");
  nulls = with(nulls, "weekBudgetLabel", "null");
  EXPECT_EQ(decodeOrFail(objectJson(nulls)), onlyRequired);

  // Counts are taken as they are, whatever the lists hold.
  Members counted = with(validSnapshot(), "toSortCount", "12");
  counted = with(counted, "program", "[ ]");
  const auto snapshot = decodeOrFail(objectJson(counted));
  EXPECT_EQ(snapshot.toSortCount, 12);
  EXPECT_EQ(snapshot.toSort.size(), 1u);
  EXPECT_TRUE(snapshot.program.empty());
}

TEST(SnapshotDecoding, IgnoresUnknownKeysAnywhere) {
  const std::string item = objectJson(with(validItem(), "thumbnail", R"({"url": [1, 2]})"));
  Members members = with(validSnapshot(item), "version", "3");
  members = with(members, "Accent", "\"Indigo\"");
  const auto snapshot = decodeOrFail(objectJson(members));
  EXPECT_EQ(snapshot, decodeOrFail(validSnapshotJson()));
  EXPECT_EQ(snapshot.accent, "Lagune");
}

TEST(SnapshotDecoding, TheFirstOfRepeatedKeysCounts) {
  Members members = validSnapshot();
  members.push_back({"accent", "\"Indigo\""});
  members.push_back({"weekBudget", "\"not a number\""});
  const auto snapshot = decodeOrFail(objectJson(members));
  EXPECT_EQ(snapshot.accent, "Lagune");
  EXPECT_EQ(snapshot.weekBudget, 300);

  Members item = validItem();
  item.push_back({"gallery", "\"Stack\""});
  EXPECT_EQ(decodeOrFail(snapshotWithFirstItem(objectJson(item))).toSort[0].gallery,
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

TEST(SnapshotDecoding, IntegerFormsDecodeToTheirWholeValue) {
  const std::pair<const char*, std::int64_t> table[] = {
      {"7", 7},
      {"7.0", 7},
      {"1e2", 100},
      {"2.5e1", 25},
      {"-1e2", -100},
      {"-0.0", 0},
      {"9223372036854775807", std::numeric_limits<std::int64_t>::max()},
      {"-9223372036854775808", std::numeric_limits<std::int64_t>::min()},
      {"-9.223372036854775808e18", std::numeric_limits<std::int64_t>::min()},
  };
  for (const auto& [json, expected] : table) {
    SCOPED_TRACE(json);
    EXPECT_EQ(decodeOrFail(objectJson(with(validSnapshot(), "weekDone", json))).weekDone, expected);
    EXPECT_EQ(decodeOrFail(snapshotWithFirstItem(itemWith("score", json))).toSort[0].score,
              expected);
    EXPECT_EQ(decodeOrFail(objectJson(with(validSnapshot(), "weekDoneCount", json))).weekDoneCount,
              expected);
  }
}

// One broken rule each: the decode fails as a whole, pointing at the value.
struct RejectionCase {
  const char* name;
  std::string json;
  std::string path;
  DecodeErrorKind kind;
  std::string message;
};

void PrintTo(const RejectionCase& rejection, std::ostream* out) {
  *out << rejection.name;
}

class Rejections : public ::testing::TestWithParam<RejectionCase> {};

TEST_P(Rejections, FailTheWholeDecodeWithPathAndReason) {
  const auto& expected = GetParam();
  const auto result = decodeSnapshot(expected.json);
  ASSERT_FALSE(result.ok()) << expected.json;
  EXPECT_EQ(result.error().path, expected.path);
  EXPECT_EQ(result.error().kind, expected.kind) << result.error().describe();
  EXPECT_EQ(result.error().message, expected.message);
}

[[nodiscard]] std::string snapshotWith(const std::string& key, const std::string& json) {
  return objectJson(with(validSnapshot(), key, json));
}

[[nodiscard]] std::string snapshotWithout(const std::string& key) {
  return objectJson(without(validSnapshot(), key));
}

using enum DecodeErrorKind;

INSTANTIATE_TEST_SUITE_P(
    IntegerFields, Rejections,
    ::testing::Values(
        RejectionCase{"Fraction", snapshotWith("toSortCount", "7.5"), "toSortCount", wrongType,
                      "expected an integer, found 7.5"},
        RejectionCase{"PastInt64", snapshotWith("weekBudget", "9223372036854775808"), "weekBudget",
                      integerOutOfRange, "integer out of range, found 9223372036854775808"},
        RejectionCase{"LargestUnsigned", snapshotWith("weekBudget", "18446744073709551615"),
                      "weekBudget", integerOutOfRange,
                      "integer out of range, found 18446744073709551615"},
        RejectionCase{"WholeDoublePastInt64", snapshotWith("weekDone", "9.3e18"), "weekDone",
                      integerOutOfRange, "integer out of range, found 9.3e+18"},
        RejectionCase{"Boolean", snapshotWith("programCount", "true"), "programCount", wrongType,
                      "expected an integer, found true"},
        RejectionCase{"String", snapshotWith("weekPlanned", "\"45\""), "weekPlanned", wrongType,
                      "expected an integer, found a string"},
        RejectionCase{"NullRequired", snapshotWith("weekDone", "null"), "weekDone", wrongType,
                      "expected an integer, found null"},
        RejectionCase{"OptionalWithFraction", snapshotWith("weekDoneCount", "0.5"), "weekDoneCount",
                      wrongType, "expected an integer, found 0.5"},
        RejectionCase{"ItemScoreFraction", snapshotWithFirstItem(itemWith("score", "7.5")),
                      "toSort[0].score", wrongType, "expected an integer, found 7.5"}),
    testing_support::CaseName());

INSTANTIATE_TEST_SUITE_P(
    OtherFields, Rejections,
    ::testing::Values(
        RejectionCase{"NumberForBoolean", snapshotWith("searching", "0"), "searching", wrongType,
                      "expected true or false, found 0"},
        RejectionCase{"NumberForText", snapshotWith("weekLabel", "5"), "weekLabel", wrongType,
                      "expected a string, found 5"},
        RejectionCase{"NullAccent", snapshotWith("accent", "null"), "accent", wrongType,
                      "expected a string, found null"},
        RejectionCase{"MissingAccent", snapshotWithout("accent"), "accent", missingKey,
                      "missing required key"},
        RejectionCase{"OptionalTextWrongType", snapshotWith("weekLeftLabel", "[]"), "weekLeftLabel",
                      wrongType, "expected a string, found an array"},
        RejectionCase{"ListIsObject", snapshotWith("program", "{}"), "program", wrongType,
                      "expected an array, found an object"},
        RejectionCase{"DateMissingSeconds", snapshotWith("nextSearch", "\"2025-03-10T08:00Z\""),
                      "nextSearch", malformedDate, "not a date-time: \"2025-03-10T08:00Z\""},
        RejectionCase{"FirstFailureInDeclaredOrder",
                      objectJson(with(without(validSnapshot(), "accent"), "toSortCount", "1.5")),
                      "toSortCount", wrongType, "expected an integer, found 1.5"}),
    testing_support::CaseName());

INSTANTIATE_TEST_SUITE_P(
    Items, Rejections,
    ::testing::Values(
        RejectionCase{"CapitalisedGallery", snapshotWithFirstItem(itemWith("gallery", "\"Stack\"")),
                      "toSort[0].gallery", unknownGallery, "unknown value \"Stack\""},
        RejectionCase{"MissingUnread",
                      snapshotWithFirstItem(objectJson(without(validItem(), "unread"))),
                      "toSort[0].unread", missingKey, "missing required key"},
        RejectionCase{"ItemNotObject", snapshotWithFirstItem("\"item\""), "toSort[0]", wrongType,
                      "expected an object, found a string"},
        RejectionCase{"SecondProgramItem",
                      objectJson(with(validSnapshot(), "program",
                                      "[" + objectJson(validItem()) + "," +
                                          itemWith("gallery", "\"Surface\"") + "]")),
                      "program[1].gallery", unknownGallery, "unknown value \"Surface\""}),
    testing_support::CaseName());

[[nodiscard]] RejectionCase badUuid(const char* name, const std::string& text) {
  return {name, snapshotWithFirstItem(itemWith("id", "\"" + text + "\"")), "toSort[0].id",
          malformedUuid, "not a UUID: \"" + text + "\""};
}

INSTANTIATE_TEST_SUITE_P(
    Uuids, Rejections,
    ::testing::Values(badUuid("Short", "3F2504E0-4F89-41D3-9A0C-0305E82C330"),
                      badUuid("NoHyphens", "3F2504E04F8941D39A0C0305E82C3301"),
                      badUuid("NotHex", "3F2504E0-4F89-41D3-9A0C-0305E82C330G"),
                      badUuid("Braced", "{3F2504E0-4F89-41D3-9A0C-0305E82C33}"),
                      RejectionCase{"NumberId", snapshotWithFirstItem(itemWith("id", "42")),
                                    "toSort[0].id", wrongType, "expected a string, found 42"}),
    testing_support::CaseName());

INSTANTIATE_TEST_SUITE_P(
    Documents, Rejections,
    ::testing::Values(
        RejectionCase{"TopLevelArray", "[" + validSnapshotJson() + "]", "", notAnObject,
                      "top-level value is not an object"},
        RejectionCase{"TopLevelNull", "null", "", notAnObject, "top-level value is not an object"},
        RejectionCase{"EmptyObject", "{}", "toSort", missingKey, "missing required key"}),
    testing_support::CaseName());

TEST(SnapshotDecoding, RefusesWhatIsNotJson) {
  const std::string valid = validSnapshotJson();
  const std::string invalidUtf8 = objectJson(with(validSnapshot(), "weekLabel", "\"2 h \xC3\""));
  const std::string documents[] = {
      "",
      "   ",
      valid.substr(0, valid.size() - 1),
      valid + "}",
      valid + " {}",
      invalidUtf8,
      objectJson(with(validSnapshot(), "weekDone", "NaN")),
      objectJson(with(validSnapshot(), "weekDone", "1e400")),
      objectJson(with(validSnapshot(), "weekDone", "99999999999999999999999"))};
  for (const auto& document : documents) {
    const auto result = decodeSnapshot(document);
    ASSERT_FALSE(result.ok()) << document;
    EXPECT_EQ(result.error().kind, DecodeErrorKind::malformedJson) << document;
    EXPECT_TRUE(result.error().describe().starts_with("malformed JSON: ")) << document;
  }
}

TEST(SnapshotDecoding, DescribesErrorsAsPathThenMessage) {
  const auto nested = decodeSnapshot(snapshotWithFirstItem(itemWith("gallery", "\"Stack\"")));
  ASSERT_FALSE(nested.ok());
  EXPECT_EQ(nested.error().describe(), "toSort[0].gallery: unknown value \"Stack\"");
  const auto top = decodeSnapshot("[]");
  ASSERT_FALSE(top.ok());
  EXPECT_EQ(top.error().describe(), "top-level value is not an object");
}

}  // namespace
}  // namespace kelpo
