#include "platform/qt/IniProfileStore.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(IniProfileStore, ReadsAFileEditedByHand) {
    TempDir dir;
    const std::string path = dir.file("Tessaran.ini");
    WriteFile(path, "; edited by hand\r\n"
                    "[Slope conductance]\r\n"
                    "Ramp1 Start=1400\r\n"
                    "Ramp1 End = 2600\r\n"
                    "Reversal Potential=-45\r\n"
                    "\r\n"
                    "[Current Traces]\n"
                    "Sample Points=10,15,20,\n"
                    "[settings]\n"
                    "Sweep Max Range=1234.5\n"
                    "Colour Ramp1=4294967295\n"
                    "SelectAllCurent=0\n");
    IniProfileStore store("Tessaran", path);
    EXPECT_EQ(store.ReadInt("Slope conductance", "Ramp1 Start", 1), 1400);
    EXPECT_EQ(store.ReadInt("Slope conductance", "Ramp1 End", 1), 2600);
    EXPECT_EQ(store.ReadInt("Slope conductance", "Reversal Potential", 0), -45);
    EXPECT_EQ(store.ReadString("Current Traces", "Sample Points", "x"), "10,15,20,");
    EXPECT_EQ(store.ReadString("settings", "Sweep Max Range", "5000"), "1234.5");
    EXPECT_EQ(store.ReadInt("settings", "Colour Ramp1", 0), -1); // the 32-bit pattern
    EXPECT_EQ(store.ReadInt("settings", "SelectAllCurent", 1), 0);
    EXPECT_EQ(store.ReadInt("settings", "Missing", 77), 77);
    EXPECT_EQ(store.ReadInt("Other section", "Ramp1 Start", 5), 5);
}

TEST(IniProfileStore, MatchesNamesIgnoringCaseLikeTheRegistry) {
    TempDir dir;
    const std::string path = dir.file("p.ini");
    WriteFile(path, "[SLOPE Conductance]\nramp1 start=1401\n");
    IniProfileStore store("p", path);
    EXPECT_EQ(store.ReadInt("Slope conductance", "Ramp1 Start", 1), 1401);
}

TEST(IniProfileStore, ValuesOfAnotherTypeReadAsTheDefault) {
    TempDir dir;
    const std::string path = dir.file("p.ini");
    WriteFile(path, "[s]\n"
                    "text=abc\n"
                    "trailing=12abc\n"
                    "tooBig=4294967296\n"
                    "tooSmall=-2147483649\n"
                    "list=1,2\n"
                    "empty=\n"
                    "spaced= 42 \n"
                    "plus=+7\n"
                    "signs=+-7\n"
                    "bytes=@ByteArray(12)\n");
    IniProfileStore store("p", path);
    EXPECT_EQ(store.ReadInt("s", "text", 9), 9);
    EXPECT_EQ(store.ReadInt("s", "trailing", 9), 9);
    EXPECT_EQ(store.ReadInt("s", "tooBig", 9), 9);
    EXPECT_EQ(store.ReadInt("s", "tooSmall", 9), 9);
    EXPECT_EQ(store.ReadInt("s", "list", 9), 9);
    EXPECT_EQ(store.ReadInt("s", "empty", 9), 9);
    EXPECT_EQ(store.ReadInt("s", "spaced", 9), 42);
    EXPECT_EQ(store.ReadInt("s", "plus", 9), 7);
    EXPECT_EQ(store.ReadInt("s", "signs", 9), 9);
    EXPECT_EQ(store.ReadInt("s", "bytes", 9), 9);
    EXPECT_EQ(store.ReadString("s", "bytes", "d"), "@ByteArray(12)");
    EXPECT_EQ(store.ReadString("s", "list", "d"), "1,2");
    EXPECT_EQ(store.ReadString("s", "empty", "d"), "");
}

TEST(IniProfileStore, WrittenValuesReadBackThroughASecondStore) {
    TempDir dir;
    const std::string path = dir.file("sub/dir/Tessaran.ini");
    {
        IniProfileStore store("Tessaran", path);
        EXPECT_TRUE(store.WriteInt("Cl Current Time course", "Ramp1 Start", 1350));
        EXPECT_TRUE(store.WriteInt("settings", "Colour Ramp1", static_cast<int>(0xFFE1FFu)));
        EXPECT_TRUE(store.WriteInt("settings", "Neg", -45));
        EXPECT_TRUE(store.WriteInt("settings", "Min", INT32_MIN));
        EXPECT_TRUE(store.WriteString("Current Traces", "Sample Points", "10,15,"));
        EXPECT_TRUE(store.WriteString("settings", "Odd", "a=b;c \"q\" %20 \\ /x"));
        EXPECT_TRUE(store.WriteString("General", "Key", "v"));
    }
    IniProfileStore again("Tessaran", path);
    EXPECT_EQ(again.ReadInt("Cl Current Time course", "Ramp1 Start", 0), 1350);
    EXPECT_EQ(again.ReadInt("settings", "Colour Ramp1", 0), 0xFFE1FF);
    EXPECT_EQ(again.ReadInt("settings", "Neg", 0), -45);
    EXPECT_EQ(again.ReadInt("settings", "Min", 0), INT32_MIN);
    EXPECT_EQ(again.ReadString("Current Traces", "Sample Points", ""), "10,15,");
    EXPECT_EQ(again.ReadString("settings", "Odd", ""), "a=b;c \"q\" %20 \\ /x");
    // A section named General keeps its own place in the file.
    EXPECT_EQ(again.ReadString("General", "Key", ""), "v");
    // Names are written as they are, so the file stays easy to edit by hand.
    const std::string text = ReadFile(path);
    EXPECT_NE(text.find("[Cl Current Time course]\nRamp1 Start=1350\n"), std::string::npos);
    EXPECT_NE(text.find("Sample Points=10,15,\n"), std::string::npos);
}

TEST(IniProfileStore, SkipsLinesThatAreNoSettingAndKeepsTheRest) {
    TempDir dir;
    const std::string path = dir.file("p.ini");
    WriteFile(path, "\xEF\xBB\xBForphan=1\n[settings\nnonsense line\n[settings]\n=5\nAutoSave=0\n");
    IniProfileStore store("p", path);
    EXPECT_EQ(store.ReadInt("settings", "AutoSave", 1), 0);
    EXPECT_EQ(store.ReadInt("settings", "orphan", 7), 7);
}

TEST(IniProfileStore, ACorruptFileGivesDefaultsAndIsKeptWhenReplaced) {
    TempDir dir;
    const std::string path = dir.file("p.ini");
    std::string garbage;
    for (int i = 0; i < 4096; ++i)
        garbage.push_back(static_cast<char>((i * 7919 + 13) & 0xFF));
    garbage += "\n[settings]\nAutoSave=0\n";
    WriteFile(path, garbage);
    {
        IniProfileStore store("p", path);
        EXPECT_EQ(store.ReadInt("settings", "AutoSave", 1), 1);
        EXPECT_EQ(store.ReadString("settings", "Sweep Max Range", "5000"), "5000");
        store.WriteInt("settings", "AutoSave", 0);
    }
    IniProfileStore again("p", path);
    EXPECT_EQ(again.ReadInt("settings", "AutoSave", 1), 0);
    EXPECT_EQ(ReadFile(path + ".unreadable"), garbage);
}

TEST(IniProfileStore, AMissingOrUnreadableFileGivesDefaults) {
    TempDir dir;
    {
        IniProfileStore missing("p", dir.file("sub/none.ini"));
        EXPECT_EQ(missing.ReadInt("settings", "AutoSave", 3), 3);
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("sub"))); // reading creates nothing

    std::filesystem::create_directory(dir.file("folder.ini"));
    IniProfileStore folder("p", dir.file("folder.ini"));
    EXPECT_EQ(folder.ReadString("settings", "Sweep Max Range", "5000"), "5000");
    folder.WriteInt("settings", "AutoSave", 0);
    EXPECT_FALSE(folder.Sync());
}

TEST(IniProfileStore, DefaultPathFollowsXdgConfigHome) {
    const char* old = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = old ? old : "";
    setenv("XDG_CONFIG_HOME", "/tmp/xdg-test", 1);
    EXPECT_EQ(IniProfileStore::DefaultPath("tessaran"), "/tmp/xdg-test/Tessaran/tessaran.ini");
    setenv("XDG_CONFIG_HOME", "relative/dir", 1);
    const char* home = std::getenv("HOME");
    if (home) {
        EXPECT_EQ(IniProfileStore::DefaultPath("x"), std::string(home) + "/.config/Tessaran/x.ini");
    }
    if (old)
        setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(IniProfileStore::ApplicationNameFromExecutable("/usr/bin/tessaran-cli"),
              "tessaran-cli");
    EXPECT_EQ(IniProfileStore::ApplicationNameFromExecutable("C/Tessaran.exe"), "Tessaran");
}

} // namespace
