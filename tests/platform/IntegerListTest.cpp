#include "platform/IntegerList.h"

#include <gtest/gtest.h>

namespace {

using Runs = std::vector<IntegerRun>;
using Values = std::vector<int32_t>;

TEST(IntegerList, ReadsBothStoredFormsAndNamesTheFirstBadToken) {
    const struct {
        const char* text;
        bool ranges;
        Runs runs;
        const char* bad;
    } cases[] = {
        {"10,15,20,", false, {{10, 10}, {15, 15}, {20, 20}}, ""},
        {" 1, 2;;3 ", false, {{1, 1}, {2, 2}, {3, 3}}, ""},
        {"2147483647", false, {{2147483647, 2147483647}}, ""},
        // Every token that is no whole positive number is an error, named;
        // the good ones around it are still read.
        {"10,-5,20", false, {{10, 10}, {20, 20}}, "-5"},
        {"3x4,5", false, {{5, 5}}, "3x4"},
        {"0", false, {}, "0"},
        {"2147483648", false, {}, "2147483648"},
        {"99999999999999999999", false, {}, "99999999999999999999"},
        {"2-5", false, {}, "2-5"},
        // Runs where the field takes them.
        {"2-5,7,9-9", true, {{2, 5}, {7, 7}, {9, 9}}, ""},
        {"5-2", true, {}, "5-2"},
        {"-5", true, {}, "-5"},
        {"1-", true, {}, "1-"},
    };
    for (const auto& c : cases) {
        const IntegerListParse parsed = ParseIntegerListText(c.text, c.ranges);
        EXPECT_EQ(parsed.runs, c.runs) << c.text;
        EXPECT_EQ(parsed.badToken, c.bad) << c.text;
    }
}

TEST(IntegerList, FormatsWithTrailingCommasRunsWhereAskedAndReadsItsOwnText) {
    EXPECT_EQ(FormatIntegerListText({1, 2, 3, 4}), "1,2,3,4,");
    EXPECT_EQ(FormatIntegerListText({1, 2, 3, 4}, true), "1-4,");
    EXPECT_EQ(FormatIntegerListText({7, 8, 1, 2, 3, 9, 5}, true), "7,8,1-3,9,5,");
    for (bool ranges : {false, true}) {
        const Values values = {3, 1, 2, 3080, 3081, 3082, 5};
        EXPECT_EQ(ExpandIntegerRuns(
                      ParseIntegerListText(FormatIntegerListText(values, ranges), ranges).runs),
                  values);
    }
    EXPECT_EQ(ExpandIntegerRuns({{30, 30}, {10, 12}, {11, 11}, {30, 31}}),
              (Values{30, 10, 11, 12, 31}))
        << "each value once, first occurrence kept";
}

} // namespace
