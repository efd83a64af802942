#include "abf/SynchArray.h"

#include <gtest/gtest.h>

namespace {

// More entries than the in-memory window of 100, appended after reading back
// older windows: every entry must survive the spilling to the temporary file.
TEST(SynchArray, AppendingAfterReadingAnOlderWindowKeepsEverything) {
    SynchArray array;
    ASSERT_TRUE(array.Create());
    auto append = [&](uint32_t from, uint32_t to) {
        for (uint32_t i = from; i < to; ++i)
            ASSERT_TRUE(array.Append({i * 10, i + 1, i * 100}));
    };
    auto expectEntry = [&](uint32_t i) {
        SynchEntry e{};
        ASSERT_TRUE(array.Get(i, &e)) << i;
        EXPECT_EQ(e.start, i * 10) << i;
        EXPECT_EQ(e.length, i + 1) << i;
        EXPECT_EQ(e.offset, i * 100) << i;
    };
    append(0, 130);
    expectEntry(5);
    append(130, 320);
    expectEntry(120);
    append(320, 321);
    for (uint32_t i : {0u, 99u, 100u, 320u, 150u, 1u, 200u, 199u})
        expectEntry(i);
    for (uint32_t i = 0; i <= 320; ++i)
        expectEntry(i);
    EXPECT_EQ(array.Count(), 321u);
    SynchEntry e;
    EXPECT_FALSE(array.Get(321, &e));
}

} // namespace
