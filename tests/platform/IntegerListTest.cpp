#include "platform/IntegerList.h"

#include <gtest/gtest.h>

namespace {

using List = std::vector<int64_t>;

TEST(IntegerList, ReadsBothStoredFormsAnySeparatorAndNeverOverflows) {
    EXPECT_EQ(ParseIntegerListText("10,15,20"), (List{10, 15, 20}));
    EXPECT_EQ(ParseIntegerListText("10,15,20,"), (List{10, 15, 20}));
    EXPECT_EQ(ParseIntegerListText(" 1, 2;;3x4 "), (List{1, 2, 3, 4}));
    EXPECT_EQ(ParseIntegerListText(""), List{});
    EXPECT_EQ(ParseIntegerListText(",,-"), List{});
    EXPECT_EQ(ParseIntegerListText("007"), List{7});
    // A run ends once its value reaches 429496729; the next digits start anew.
    EXPECT_EQ(ParseIntegerListText("4294967295"), (List{429496729, 5}));
    EXPECT_EQ(ParseIntegerListText("429496728"), List{429496728});
    // 4294967289 is the largest value a run can reach; it is kept, not wrapped.
    EXPECT_EQ(ParseIntegerListText("4294967289"), List{4294967289});
    EXPECT_EQ(ParseIntegerListText("99999999999999999999").size(), 3u);
}

TEST(IntegerList, FormatsWithTrailingCommasAndKeepsRepeatedValuesOnce) {
    EXPECT_EQ(FormatIntegerListText({10, 15}), "10,15,");
    EXPECT_EQ(FormatIntegerListText({}), "");
    EXPECT_EQ(ParseIntegerListText(FormatIntegerListText({1, 2, 3080})), (List{1, 2, 3080}));
    EXPECT_EQ(WithoutRepeatedValues({30, 10, 30, 20, 10}), (List{30, 10, 20}));
}

} // namespace
