#include "analysis/TraceRows.h"

#include <gtest/gtest.h>

namespace {

using List = std::vector<int32_t>;

TEST(TraceRows, RowTextRightAlignsTheNumber) {
    EXPECT_EQ(TraceRowText(1, "cell7"), "#    1   : cell7");
    EXPECT_EQ(TraceRowText(12345, "x"), "#12345   : x");
    EXPECT_EQ(TraceRowText(123456, ""), "#123456   : ");
}

TEST(TraceRows, SelectableRowsDropIndicesBeyondTheList) {
    EXPECT_EQ(TraceIndicesFromNumbers({2, 5, 0}), (List{1, 4, -1}));
    EXPECT_EQ(SelectableRows({1, 4, -1, 1, 3}, 4), (List{1, 3}));
    EXPECT_TRUE(SelectableRows({0, 1}, 0).empty());
}

TEST(TraceRows, LeadingUnsignedNumber) {
    EXPECT_EQ(LeadingUnsignedNumber("10"), 10u);
    EXPECT_EQ(LeadingUnsignedNumber("5 mV"), 5u);
    EXPECT_EQ(LeadingUnsignedNumber("mV"), 0u);
    EXPECT_EQ(LeadingUnsignedNumber(""), 0u);
    EXPECT_EQ(LeadingUnsignedNumber("99999999999"), 4294967295u);
}

} // namespace
