#include "snapshot/uuid.h"

#include <gtest/gtest.h>

#include <set>

namespace kelpo {
namespace {

TEST(Uuid, ParsesEitherCaseAndWritesUpperCase) {
  const auto lower = Uuid::parse("3f2504e0-4f89-41d3-9a0c-0305e82c3301");
  const auto upper = Uuid::parse("3F2504E0-4F89-41D3-9A0C-0305E82C3301");
  ASSERT_TRUE(lower && upper);
  EXPECT_EQ(*lower, *upper);
  EXPECT_EQ(lower->string(), "3F2504E0-4F89-41D3-9A0C-0305E82C3301");
  EXPECT_EQ(lower->bytes()[0], 0x3F);
  EXPECT_EQ(lower->bytes()[15], 0x01);
  EXPECT_EQ(Uuid::parse("00000000-0000-0000-0000-000000000000"), Uuid());
}

TEST(Uuid, RandomOnesAreVersionFourAndDistinct) {
  std::set<std::string> seen;
  for (int count = 0; count < 200; ++count) {
    const Uuid uuid = Uuid::random();
    EXPECT_EQ(uuid.bytes()[6] >> 4, 4);
    EXPECT_EQ(uuid.bytes()[8] >> 6, 2);
    EXPECT_EQ(Uuid::parse(uuid.string()), uuid);
    seen.insert(uuid.string());
  }
  EXPECT_EQ(seen.size(), 200u);
}

}  // namespace
}  // namespace kelpo
