#include "abf/SynchArray.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

SynchEntry Entry(uint32_t i) {
    return {i * 10, i + 1, i * 100};
}

void ExpectEntry(SynchArray& array, uint32_t i) {
    SynchEntry e{};
    ASSERT_TRUE(array.Get(i, &e)) << i;
    EXPECT_EQ(e.start, i * 10) << i;
    EXPECT_EQ(e.length, i + 1) << i;
    EXPECT_EQ(e.offset, i * 100) << i;
}

TEST(SynchArray, EntriesBeyondTheWindowComeBackFromTheTemporaryFile) {
    SynchArray array;
    ASSERT_TRUE(array.Create());
    for (uint32_t i = 0; i < 250; ++i)
        ASSERT_TRUE(array.Append(Entry(i)));
    EXPECT_EQ(array.Count(), 250u);
    for (uint32_t i : {0u, 99u, 100u, 249u, 150u, 1u, 200u, 199u})
        ExpectEntry(array, i);
    SynchEntry e;
    EXPECT_FALSE(array.Get(250, &e));
}

TEST(SynchArray, AppendingAfterReadingAnOlderWindowKeepsEverything) {
    SynchArray array;
    ASSERT_TRUE(array.Create());
    for (uint32_t i = 0; i < 130; ++i)
        ASSERT_TRUE(array.Append(Entry(i)));
    ExpectEntry(array, 5);
    for (uint32_t i = 130; i < 320; ++i)
        ASSERT_TRUE(array.Append(Entry(i)));
    ExpectEntry(array, 120);
    ASSERT_TRUE(array.Append(Entry(320)));
    for (uint32_t i = 0; i <= 320; ++i)
        ExpectEntry(array, i);
}

TEST(SynchArray, TemporaryFileIsRemovedWithTheArray) {
    std::string path;
    {
        SynchArray array;
        ASSERT_TRUE(array.Create());
        path = array.TempPath();
        EXPECT_TRUE(std::filesystem::exists(path));
    }
    EXPECT_FALSE(std::filesystem::exists(path));
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
