#include "app/AcquisitionWatcher.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(ClampexBroadcastTest, OnlyTwentyAsksForAnAnalysis) {
    EXPECT_EQ(ClassifyClampexBroadcast(20), ClampexBroadcast::NewAcquisitionFile);
    EXPECT_EQ(ClassifyClampexBroadcast(4), ClampexBroadcast::Recognised);
    EXPECT_EQ(ClassifyClampexBroadcast(5), ClampexBroadcast::Recognised);
    for (int32_t other : {0, 1, 3, 6, 19, 21, -20, 0x7FFFFFFF})
        EXPECT_EQ(ClassifyClampexBroadcast(other), ClampexBroadcast::Ignored) << other;
}

TEST(LastAcquiredFileTest, ValuePathFollowsXdgConfigHome) {
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string savedValue = saved ? saved : "";
    setenv("XDG_CONFIG_HOME", "/tmp/cfg", 1);
    EXPECT_EQ(LastAcquiredFileValuePath(), "/tmp/cfg/Axon/Common Settings/LastAcquiredFile/ABF");
    setenv("XDG_CONFIG_HOME", "relative/cfg", 1);
    EXPECT_EQ(LastAcquiredFileValuePath(),
              std::string(std::getenv("HOME")) +
                  "/.config/Axon/Common Settings/LastAcquiredFile/ABF");
    if (saved)
        setenv("XDG_CONFIG_HOME", savedValue.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}

TEST(LastAcquiredFileTest, ReadsThePathWithOrWithoutALineBreak) {
    TempDir dir;
    const std::string value = dir.file("ABF");
    std::string path = "unchanged";

    WriteBytes(value, "/data/cell 1.abf\n");
    ASSERT_TRUE(ReadLastAcquiredFile(value, path));
    EXPECT_EQ(path, "/data/cell 1.abf");

    WriteBytes(value, "/data/Zelle_\xC3\xA4.abf\r\n");
    ASSERT_TRUE(ReadLastAcquiredFile(value, path));
    EXPECT_EQ(path, "/data/Zelle_\xC3\xA4.abf");

    WriteBytes(value, "/data/x.abf");
    ASSERT_TRUE(ReadLastAcquiredFile(value, path));
    EXPECT_EQ(path, "/data/x.abf");
}

TEST(LastAcquiredFileTest, TheLongestPathThatFitsTheBufferIsRead) {
    TempDir dir;
    const std::string value = dir.file("ABF");
    const std::string longest = "/" + std::string(kLastAcquiredFileBufferSize - 2, 'a');
    std::string path;
    WriteBytes(value, longest + "\n");
    ASSERT_TRUE(ReadLastAcquiredFile(value, path));
    EXPECT_EQ(path, longest);
    // One byte more no longer leaves room for the terminating zero.
    WriteBytes(value, longest + "b\n");
    path = "unchanged";
    EXPECT_FALSE(ReadLastAcquiredFile(value, path));
    EXPECT_EQ(path, "unchanged");
}

TEST(LastAcquiredFileTest, MissingOrUnusableValuesReadAsMissing) {
    TempDir dir;
    const std::string value = dir.file("ABF");
    std::string path = "unchanged";
    EXPECT_FALSE(ReadLastAcquiredFile(value, path)) << "no file";
    EXPECT_FALSE(ReadLastAcquiredFile(dir.path().string(), path)) << "a folder";

    const std::pair<const char*, std::string> cases[] = {
        {"empty", ""},
        {"only a line break", "\n"},
        {"far too long", std::string(100000, 'x')},
        {"zero byte", std::string("/data/a\0b.abf", 13)},
        {"two lines", "/data/a.abf\n/data/b.abf\n"},
        {"Latin-1, not UTF-8", "/data/Zelle_\xE4.abf"},
        {"overlong UTF-8", "/data/\xC0\xAF.abf"},
        {"truncated UTF-8", "/data/\xE2\x82"},
        {"binary", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16)},
    };
    for (const auto& [what, bytes] : cases) {
        WriteBytes(value, bytes);
        EXPECT_FALSE(ReadLastAcquiredFile(value, path)) << what;
        EXPECT_EQ(path, "unchanged") << what;
    }
}

} // namespace
