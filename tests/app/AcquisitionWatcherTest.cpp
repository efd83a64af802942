#include "app/AcquisitionWatcher.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <optional>

namespace {

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

TEST(LastAcquiredFileTest, ReadsOneTextLineThatFitsTheBufferAndNothingElse) {
    TempDir dir;
    const std::string value = dir.file("ABF");
    std::string path = "unchanged";
    EXPECT_FALSE(ReadLastAcquiredFile(value, path)) << "no file";
    EXPECT_FALSE(ReadLastAcquiredFile(dir.path().string(), path)) << "a folder";

    // The longest path that leaves room for the terminating zero.
    const std::string longest = "/" + std::string(kLastAcquiredFileBufferSize - 2, 'a');
    const struct {
        const char* what;
        std::string bytes;
        std::optional<std::string> read;
    } cases[] = {
        {"line break", "/data/cell 1.abf\n", "/data/cell 1.abf"},
        {"CR LF, UTF-8", "/data/Zelle_\xC3\xA4.abf\r\n", "/data/Zelle_\xC3\xA4.abf"},
        {"no line break", "/data/x.abf", "/data/x.abf"},
        {"longest", longest + "\n", longest},
        {"one byte too long", longest + "b\n", std::nullopt},
        {"empty", "", std::nullopt},
        {"only a line break", "\n", std::nullopt},
        {"far too long", std::string(100000, 'x'), std::nullopt},
        {"zero byte", std::string("/data/a\0b.abf", 13), std::nullopt},
        {"two lines", "/data/a.abf\n/data/b.abf\n", std::nullopt},
        {"Latin-1, not UTF-8", "/data/Zelle_\xE4.abf", std::nullopt},
        {"overlong UTF-8", "/data/\xC0\xAF.abf", std::nullopt},
        {"truncated UTF-8", "/data/\xE2\x82", std::nullopt},
        {"U+10FFFF, U+D7FF, U+E000", "/\xF4\x8F\xBF\xBF\xED\x9F\xBF\xEE\x80\x80",
         "/\xF4\x8F\xBF\xBF\xED\x9F\xBF\xEE\x80\x80"},
        {"beyond U+10FFFF", "/data/\xF4\x90\x80\x80.abf", std::nullopt},
        {"surrogate U+D800", "/data/\xED\xA0\x80.abf", std::nullopt},
        {"surrogate U+DFFF", "/data/\xED\xBF\xBF.abf", std::nullopt},
    };
    for (const auto& c : cases) {
        std::ofstream(value, std::ios::binary) << c.bytes;
        path = "unchanged";
        EXPECT_EQ(ReadLastAcquiredFile(value, path), c.read.has_value()) << c.what;
        EXPECT_EQ(path, c.read.value_or("unchanged")) << c.what;
    }
}

TEST(AnnouncementFilterTest, AnUnchangedFileIsARepeatForTenSeconds) {
    using namespace std::chrono_literals;
    AnnouncementFilter filter;
    const AnnouncementFilter::Clock::time_point t0{};
    const FileStamp a{"/data/a.abf", 1000, 5};
    EXPECT_FALSE(filter.IsRepeat(a, t0)) << "nothing analysed yet";
    filter.Analysed(a, t0);
    EXPECT_TRUE(filter.IsRepeat(a, t0 + 9999ms));
    EXPECT_FALSE(filter.IsRepeat(a, t0 + 10s));
    for (const FileStamp& other :
         {FileStamp{"/data/b.abf", 1000, 5}, FileStamp{"/data/a.abf", 1001, 5},
          FileStamp{"/data/a.abf", 1000, 6}})
        EXPECT_FALSE(filter.IsRepeat(other, t0 + 1s)) << other.path << other.size;

    TempDir dir;
    std::ofstream(dir.file("f")) << "12345";
    const std::optional<FileStamp> stamp = StampOf(dir.file("f"));
    ASSERT_TRUE(stamp);
    EXPECT_EQ(stamp->size, 5u);
    EXPECT_FALSE(StampOf(dir.file("missing")));
}

} // namespace
