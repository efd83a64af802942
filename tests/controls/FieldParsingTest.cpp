#include "controls/FieldParsing.h"
#include "controls/FieldMessages.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(FieldParsing, FloatAcceptsNumbersWithBlanksAround) {
    EXPECT_EQ(ParseFloatField("0.5"), 0.5);
    EXPECT_EQ(ParseFloatField("5e3"), 5000.0);
    EXPECT_EQ(ParseFloatField(" \t12.25\t "), 12.25);
    EXPECT_EQ(ParseFloatField("-3"), -3.0);
    EXPECT_EQ(ParseFloatField("+2.5E-1"), 0.25);
    EXPECT_EQ(ParseFloatField("0"), 0.0);
    EXPECT_EQ(ParseFloatField("0e7"), 0.0);
    EXPECT_EQ(ParseFloatField(".5"), 0.5);
    EXPECT_EQ(ParseFloatField("5."), 5.0);
}

TEST(FieldParsing, FloatRejectsWhatIsNoNumber) {
    // A zero only counts when the text starts with '0'.
    EXPECT_FALSE(ParseFloatField(".0"));
    EXPECT_FALSE(ParseFloatField("-0"));
    EXPECT_FALSE(ParseFloatField("+0"));
    for (const char* text : {"", "  ", "-", "+", ".", "e5", "1e", "1.5.2", "1 2", "+-1", "--1",
                             "inf", "nan", "0x10", "1,5"})
        EXPECT_FALSE(ParseFloatField(text)) << '"' << text << '"';
    // Overflow gives no infinite value.
    EXPECT_FALSE(ParseFloatField("1e999"));
}

TEST(FieldParsing, IntegerRules) {
    EXPECT_EQ(ParseIntegerField("42"), 42);
    EXPECT_EQ(ParseIntegerField(" -17 "), -17);
    EXPECT_EQ(ParseIntegerField("+5"), 5);
    EXPECT_EQ(ParseIntegerField("00"), 0);
    EXPECT_EQ(ParseIntegerField("2147483646"), 2147483646);
    EXPECT_EQ(ParseIntegerField("-2147483647"), -2147483647);
    for (const char* text : {"", "-", "+", "-0", "+0", "12a", "1 2", "1.0", "2147483647",
                             "-2147483648", "99999999999", "-99999999999"})
        EXPECT_FALSE(ParseIntegerField(text)) << '"' << text << '"';
}

TEST(FieldParsing, ListTakesDigitRunsAndDropsRepeats) {
    using List = std::vector<std::int64_t>;
    EXPECT_EQ(ParseIntegerListField("1,2,3,"), (List{1, 2, 3}));
    EXPECT_EQ(ParseIntegerListField(",,7,,3"), (List{7, 3}));
    EXPECT_EQ(ParseIntegerListField("5,1,5,2,1"), (List{5, 1, 2}));
    EXPECT_EQ(ParseIntegerListField(""), List{});
    EXPECT_EQ(ParseIntegerListField(","), List{});
    // A run ends once it reaches 429496729; the next digits start a new number.
    EXPECT_EQ(ParseIntegerListField("4294967295"), (List{429496729, 5}));
    EXPECT_EQ(ParseIntegerListField("429496728"), (List{429496728}));
    EXPECT_EQ(ParseIntegerListField("3000000000"), (List{3000000000}));
}

TEST(FieldParsing, FormatsListsAndFloats) {
    EXPECT_EQ(FormatIntegerList({1, 12, 3}), "1,12,3,");
    EXPECT_EQ(FormatIntegerList({}), "");
    EXPECT_EQ(FormatFloatField(3.14159265, 5), "3.1416");
    EXPECT_EQ(FormatFloatField(200.0, 5), "200");
    EXPECT_EQ(FormatFloatField(1234567.0, 5), "1.2346e+06");
    EXPECT_EQ(FormatFloatField(std::nan(""), 5), "");
    EXPECT_EQ(FormatFloatField(std::numeric_limits<double>::infinity(), 5), "");
}

TEST(FieldParsing, BoundsByMode) {
    EXPECT_TRUE(IsOutOfBounds(0.0, kBoundStrict, 0.0, kBoundNone, 0.0));
    EXPECT_FALSE(IsOutOfBounds(0.0, kBoundInclusive, 0.0, kBoundNone, 0.0));
    EXPECT_TRUE(IsOutOfBounds(100, kBoundNone, 0, kBoundStrict, 100));
    EXPECT_FALSE(IsOutOfBounds(100, kBoundNone, 0, kBoundInclusive, 100));
    EXPECT_TRUE(IsOutOfBounds(101, kBoundNone, 0, kBoundInclusive, 100));
    EXPECT_FALSE(IsOutOfBounds(-5, kBoundNone, 0, kBoundNone, 0));
}

TEST(FieldParsing, SpinRangeFollowsBoundModes) {
    const SpinRange strict = SpinRangeForBounds(kBoundStrict, 0, kBoundStrict, 10);
    EXPECT_EQ(strict.lower, 1);
    EXPECT_EQ(strict.upper, 9);
    const SpinRange inclusive = SpinRangeForBounds(kBoundInclusive, 1, kBoundInclusive, 3000);
    EXPECT_EQ(inclusive.lower, 1);
    EXPECT_EQ(inclusive.upper, 3000);
    const SpinRange none = SpinRangeForBounds(kBoundNone, 5, kBoundNone, 5);
    EXPECT_EQ(none.lower, std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(none.upper, std::numeric_limits<std::int32_t>::max());
    // No wrap-around at the 32-bit limits.
    const SpinRange edge =
        SpinRangeForBounds(kBoundStrict, std::numeric_limits<std::int32_t>::max(), kBoundStrict,
                           std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(edge.lower, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(edge.upper, std::numeric_limits<std::int32_t>::min());
}

TEST(FieldMessages, NotANumber) {
    EXPECT_EQ(NotANumberMessage("Control Trace"),
              "Please enter a valid number for the Control Trace.");
    EXPECT_STREQ(kInvalidEntryCaption, "Invalid Entry");
    EXPECT_EQ(OutOfBoundsCaption("Control Trace"), "Control Trace Out of Bounds");
}

TEST(FieldMessages, FloatOutOfBounds) {
    EXPECT_EQ(FloatOutOfBoundsMessage("Range", 5, kBoundStrict, 0.0, kBoundInclusive, 100.0),
              "Please enter a number for the Range which is\r\n"
              "less than or equal to 100 \r\nand greater than 0 ");
    EXPECT_EQ(FloatOutOfBoundsMessage("Range", 5, kBoundInclusive, 0.5, kBoundStrict, 2.0),
              "Please enter a number for the Range which is\r\n"
              "less than 2 \r\nand greater than or equal to 0.5 ");
    // The General Settings range field: lower bound only, no name.
    EXPECT_EQ(FloatOutOfBoundsMessage("", 5, kBoundStrict, 0.0, kBoundNone, 0.0),
              "Please enter a number for the  which is\r\n\r\n greater than 0 ");
    EXPECT_EQ(FloatOutOfBoundsMessage("X", 3, kBoundNone, 0.0, kBoundStrict, 3.14159),
              "Please enter a number for the X which is\r\nless than 3.14 ");
}

TEST(FieldMessages, IntegerOutOfBounds) {
    EXPECT_EQ(IntegerOutOfBoundsMessage("Ramp1 Start", kBoundInclusive, 0, kBoundInclusive, 3000),
              "[0 <= \"Ramp1 Start\" <= 3000]\r\n\r\n"
              "Please enter a value for the Ramp1 Start which is\r\n"
              "more than or equal to 0 and\r\nless than or equal to 3000");
    EXPECT_EQ(IntegerOutOfBoundsMessage("Current Trace", kBoundInclusive, 1, kBoundNone, 0),
              "[1 <= \"Current Trace\"]\r\n\r\n"
              "Please enter a value for the Current Trace which is\r\nmore than or equal to 1");
    EXPECT_EQ(IntegerOutOfBoundsMessage("N", kBoundNone, 0, kBoundStrict, 10),
              "[\"N\" < 10]\r\n\r\nPlease enter a value for the N which is\r\nless than 10");
    EXPECT_EQ(IntegerOutOfBoundsMessage("N", kBoundStrict, -3, kBoundNone, 0),
              "[-3 < \"N\"]\r\n\r\nPlease enter a value for the N which is\r\nmore than -3");
}

TEST(FieldMessages, ListOutOfBounds) {
    EXPECT_EQ(
        IntegerListOutOfBoundsMessage("Sample Points", kBoundInclusive, 1, kBoundInclusive, 4),
        "[1 <= \"Sample Points\" <= 4]\r\n"
        "Please enter numbers for the Sample Points which are\r\n"
        "more than or equal to 1 and\r\nless than or equal to 4");
}
