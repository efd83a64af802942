#include "abf/SynchArray.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

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

TEST(SynchArray, UnwritableTemporaryFolderFallsBackToTmp) {
    const char* old = std::getenv("TMPDIR");
    std::string saved = old ? old : "";
    setenv("TMPDIR", "/nonexistent-folder-for-tessaran", 1);
    SynchArray array;
    EXPECT_TRUE(array.Create());
    EXPECT_EQ(std::filesystem::path(array.TempPath()).parent_path(), "/tmp");
    if (old)
        setenv("TMPDIR", saved.c_str(), 1);
    else
        unsetenv("TMPDIR");
}

} // namespace
