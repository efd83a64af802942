#include "abf/Abf.h"
#include "abf/AbfMessageTable.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

namespace {

std::string Format(int number, const char* name, uint32_t size = 256, bool* result = nullptr) {
    std::string buffer(size, 'X');
    bool ok = AbfFormatErrorText(number, name, buffer.data(), size);
    if (result)
        *result = ok;
    return std::string(buffer.c_str());
}

TEST(ErrorTable, HoldsEveryNumberOnceInTheFixedOrder) {
    std::vector<int> expected;
    for (int n = 1001; n <= 1037; ++n)
        if (n != 1007 && n != 1024)
            expected.push_back(n);
    for (int n = 2001; n <= 2022; ++n)
        expected.push_back(n);
    for (int n : {2033, 2023, 2024, 2025, 2026, 2027, 2028, 2029, 2030, 2032, 2031, 4, 1, 2, 3, 5})
        expected.push_back(n);
    ASSERT_EQ(kAbfMessageCount, 73u);
    ASSERT_EQ(expected.size(), kAbfMessageCount);
    for (size_t i = 0; i < kAbfMessageCount; ++i)
        EXPECT_EQ(kAbfMessages[i].id, expected[i]) << "entry " << i;
}

TEST(ErrorTable, TextsThatAreEasyToMistype) {
    EXPECT_STREQ(AbfFindMessage(2014)->text,
                 "There is an error in the User List.\n\nThe conditioning train duration is too "
                 "long.  Either reduce the duration or increase the sweep start to start time.");
    EXPECT_NE(std::strstr(AbfFindMessage(2028)->text, "too long.  Either"), nullptr);
    EXPECT_STREQ(AbfFindMessage(1025)->text,
                 "No DOS file handles were available - too many files open.");
    EXPECT_STREQ(AbfFindMessage(1010)->text, "File '%s': has a corrupted synch array.");
    EXPECT_STREQ(AbfFindMessage(2033)->text, "The User List contains invalid characters.\n\n"
                                             "Valid characters for binary values are: 0 1 ,");
    for (int n = 2001; n <= 2033; ++n)
        EXPECT_EQ(std::strchr(AbfFindMessage(n)->text, '%'), nullptr) << n;
}

TEST(ErrorText, FileErrorTakesTheFileName) {
    bool ok = false;
    EXPECT_EQ(Format(1004, "cell.abf", 256, &ok), "Cannot open file 'cell.abf'.");
    EXPECT_TRUE(ok);
    EXPECT_EQ(Format(1002, "cell.abf"), "INTERNAL ERROR: bad file index.");
    EXPECT_EQ(Format(1001, nullptr), "File '' is of unknown file type.");
}

TEST(ErrorText, HeaderErrorIgnoresTheFileName) {
    bool ok = false;
    EXPECT_EQ(Format(2003, "cell.abf", 256, &ok), "Not a valid ABF file.");
    EXPECT_TRUE(ok);
    EXPECT_EQ(Format(2001, "x"), "Error reading file header.");
}

TEST(ErrorText, UnassignedNumbersGiveTheFallbackAndFalse) {
    bool ok = true;
    EXPECT_EQ(Format(1007, "a", 256, &ok),
              "INTERNAL ERROR: No message string assigned to error 1007.");
    EXPECT_FALSE(ok);
    ok = true;
    EXPECT_EQ(Format(3000, "a", 256, &ok),
              "INTERNAL ERROR: No message string assigned to error 3000.");
    EXPECT_FALSE(ok);
    EXPECT_EQ(Format(-5, "a"), "INTERNAL ERROR: No message string assigned to error -5.");
}

TEST(ErrorText, BufferBelowTwoIsLeftUntouched) {
    char buffer[4] = {'a', 'b', 'c', 'd'};
    EXPECT_FALSE(AbfFormatErrorText(1004, "x", buffer, 1));
    EXPECT_FALSE(AbfFormatErrorText(1004, "x", buffer, 0));
    EXPECT_EQ(std::string(buffer, 4), "abcd");
}

TEST(ErrorText, LongTextsAreCutAndTerminated) {
    std::string name(300, 'n');
    std::string text = Format(1004, name.c_str(), 80);
    EXPECT_EQ(text.size(), 79u);
    EXPECT_EQ(text.substr(0, 17), "Cannot open file ");
    EXPECT_EQ(Format(2014, "x", 20), "There is an error i");
    EXPECT_EQ(Format(3000, "x", 10), "INTERNAL ");
    EXPECT_EQ(Format(2003, "x", 2), "N");
}

TEST(ErrorText, PercentSignsInTheNameAreCopiedNotInterpreted) {
    EXPECT_EQ(Format(1004, "%s%d%n.abf"), "Cannot open file '%s%d%n.abf'.");
}

TEST(ErrorText, SmallIdentifiersAreTextsToo) {
    EXPECT_EQ(Format(3, "x"), "<none>");
    EXPECT_EQ(Format(5, "x"), "Math");
    EXPECT_EQ(Format(1, "x"), "Tag #    Time (s)  Episode  Comment");
}

} // namespace
