#include "abf/Abf.h"
#include "abf/AbfMessageTable.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(ErrorText, EveryReaderErrorHasATextAndHeaderErrorsNameNoFile) {
    for (int n = 1001; n <= 2033; ++n) {
        if (n == 1007 || n == 1024 || (n > 1037 && n < 2001))
            continue;
        const AbfMessage* message = AbfFindMessage(n);
        ASSERT_NE(message, nullptr) << n;
        if (n > 2000) {
            EXPECT_EQ(std::strchr(message->text, '%'), nullptr) << n;
        }
    }
}

// The file name replaces only "%s" in the file errors; header errors are copied
// whole (longer than the file errors' working buffer); unknown numbers get a
// fallback; every text is cut to the buffer, and one below two is left alone.
TEST(ErrorText, FormatsTextsCutToTheBuffer) {
    const std::string longName(300, 'n');
    const struct {
        int number;
        const char* name;
        uint32_t size;
        std::string text;
        bool found;
    } rows[] = {
        {1001, nullptr, 256, "File '' is of unknown file type.", true},
        {1004, "%s%d%n.abf", 256, "Cannot open file '%s%d%n.abf'.", true},
        {2014, "x", 256, AbfFindMessage(2014)->text, true},
        {1007, "a", 256, "INTERNAL ERROR: No message string assigned to error 1007.", false},
        {1004, longName.c_str(), 80, "Cannot open file '" + longName.substr(0, 61), true},
        {2014, "x", 20, "There is an error i", true},
        {3000, "x", 10, "INTERNAL ", false},
        {2003, "x", 2, "N", true},
        {1004, "x", 1, "X", false},
    };
    for (const auto& row : rows) {
        std::string buffer(row.size, 'X');
        EXPECT_EQ(AbfFormatErrorText(row.number, row.name, buffer.data(), row.size), row.found)
            << row.number;
        EXPECT_EQ(std::string(buffer.c_str()), row.text) << row.number << " " << row.size;
    }
}

} // namespace
