#include "controls/FieldParsing.h"
#include "controls/FieldMessages.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>

TEST(FieldParsing, NumbersAndWhatIsNoNumber) {
    const std::pair<const char*, double> floats[] = {
        {"0.5", 0.5}, {"5e3", 5000.0},   {" \t12.25\t ", 12.25},
        {"-3", -3.0}, {"+2.5E-1", 0.25}, {"0", 0.0},
        {"0e7", 0.0}, {".5", 0.5},       {"5.", 5.0}};
    for (const auto& [text, value] : floats)
        EXPECT_EQ(ParseFloatField(text), value) << '"' << text << '"';
    // A zero only counts when the text starts with '0'; overflow gives no infinite value.
    for (const char* text : {".0", "-0", "+0", "", "  ", "-", "+", ".", "e5", "1e", "1.5.2", "1 2",
                             "+-1", "--1", "inf", "nan", "0x10", "1,5", "1e999"})
        EXPECT_FALSE(ParseFloatField(text)) << '"' << text << '"';

    const std::pair<const char*, int> integers[] = {
        {"42", 42}, {"+5", 5}, {"00", 0}, {" -17 ", -17}};
    for (const auto& [text, value] : integers)
        EXPECT_EQ(ParseIntegerField(text), value) << '"' << text << '"';
    EXPECT_EQ(ParseIntegerField("2147483646"), 2147483646);
    EXPECT_EQ(ParseIntegerField("-2147483647"), -2147483647);
    for (const char* text : {"", "-", "+", "-0", "+0", "12a", "1 2", "1.0", "2147483647",
                             "-2147483648", "99999999999", "-99999999999"})
        EXPECT_FALSE(ParseIntegerField(text)) << '"' << text << '"';

    // A value that is no number shows as an empty field.
    EXPECT_EQ(FormatFloatField(std::nan(""), 5), "");
    EXPECT_EQ(FormatFloatField(std::numeric_limits<double>::infinity(), 5), "");
}

TEST(FieldMessages, FloatLowerBoundOnlyWithoutAName) {
    // The General Settings range field.
    EXPECT_EQ(FloatOutOfBoundsMessage("", 5, kBoundStrict, 0.0, kBoundNone, 0.0),
              "Please enter a number for the  which is\r\n\r\n greater than 0 ");
}
