#include "platform/qt/IniProfileStore.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <utility>

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
    // Windows line ends, a byte order mark and a key outside any section, names
    // that match ignoring case like the registry's, broken lines, and values
    // that are no 32-bit integer.
    WriteFile(path, "\xEF\xBB\xBForphan=1\n; edited by hand\r\n[Slope conductance]\r\n"
                    "Ramp1 Start=1400\r\nRamp1 End = 2600\r\nReversal Potential=-45\r\n\r\n"
                    "[CURRENT traces]\nsample points=10,15,20,\n"
                    "[settings\nnonsense line\n[settings]\n=5\nSweep Max Range=1234.5\n"
                    "Colour Ramp1=4294967295\nspaced= 42 \nplus=+7\ntrailing=12abc\n"
                    "tooBig=4294967296\ntooSmall=-2147483649\nempty=\nsigns=+-7\n");
    IniProfileStore store("Tessaran", path);
    EXPECT_EQ(store.ReadInt("Slope conductance", "Ramp1 Start", 1), 1400);
    EXPECT_EQ(store.ReadInt("Slope conductance", "Ramp1 End", 1), 2600);
    EXPECT_EQ(store.ReadInt("Slope conductance", "Reversal Potential", 0), -45);
    EXPECT_EQ(store.ReadInt("Other section", "Ramp1 Start", 5), 5);
    EXPECT_EQ(store.ReadString("Current Traces", "Sample Points", "x"), "10,15,20,");
    EXPECT_EQ(store.ReadString("settings", "Sweep Max Range", "5000"), "1234.5");
    EXPECT_EQ(store.ReadString("settings", "empty", "d"), "");
    // 4294967295 reads as its 32-bit pattern; values that are no 32-bit integer
    // read as the default, 9.
    const std::pair<const char*, int> integers[] = {
        {"Colour Ramp1", -1}, {"spaced", 42}, {"plus", 7},     {"orphan", 9}, {"Missing", 9},
        {"trailing", 9},      {"tooBig", 9},  {"tooSmall", 9}, {"empty", 9},  {"signs", 9}};
    for (const auto& [key, value] : integers)
        EXPECT_EQ(store.ReadInt("settings", key, 9), value) << key;
}

TEST(IniProfileStore, WrittenValuesReadBackThroughASecondStore) {
    TempDir dir;
    const std::string path = dir.file("sub/dir/Tessaran.ini");
    {
        IniProfileStore store("Tessaran", path);
        EXPECT_TRUE(store.WriteInt("Cl Current Time course", "Ramp1 Start", 1350));
        EXPECT_TRUE(store.WriteInt("settings", "Colour Ramp1", static_cast<int>(0xFFE1FFu)));
        EXPECT_TRUE(store.WriteInt("settings", "Min", INT32_MIN));
        EXPECT_TRUE(store.WriteString("Current Traces", "Sample Points", "10,15,"));
        EXPECT_TRUE(store.WriteString("settings", "Odd", "a=b;c \"q\" %20 \\ /x"));
    }
    IniProfileStore again("Tessaran", path);
    EXPECT_EQ(again.ReadInt("Cl Current Time course", "Ramp1 Start", 0), 1350);
    EXPECT_EQ(again.ReadInt("settings", "Colour Ramp1", 0), 0xFFE1FF);
    EXPECT_EQ(again.ReadInt("settings", "Min", 0), INT32_MIN);
    EXPECT_EQ(again.ReadString("Current Traces", "Sample Points", ""), "10,15,");
    EXPECT_EQ(again.ReadString("settings", "Odd", ""), "a=b;c \"q\" %20 \\ /x");
    // Names are written as they are, so the file stays easy to edit by hand.
    const std::string text = ReadFile(path);
    EXPECT_NE(text.find("[Cl Current Time course]\nRamp1 Start=1350\n"), std::string::npos);
    EXPECT_NE(text.find("Sample Points=10,15,\n"), std::string::npos);
}

// One byte that is not UTF-8, or a NUL, costs nothing but itself: the line is
// read as Latin-1, or up to the NUL, and every other line as written.
TEST(IniProfileStore, ALineThatIsNotUtf8OrHoldsANulLosesNothingElse) {
    TempDir dir;
    const std::string path = dir.file("p.ini");
    static const char text[] = "[settings]\n; caf\xE9 au lait\nAutoSave=0\nName=caf\xE9\n"
                               "Cut=12\0junk\nAutoPrint=0\n";
    WriteFile(path, std::string(text, sizeof text - 1));
    IniProfileStore store("p", path);
    EXPECT_FALSE(store.IsUnusable());
    EXPECT_EQ(store.ReadInt("settings", "AutoSave", 1), 0);
    EXPECT_EQ(store.ReadString("settings", "Name", ""), "caf\xC3\xA9");
    EXPECT_EQ(store.ReadInt("settings", "Cut", 1), 12);
    EXPECT_EQ(store.ReadInt("settings", "AutoPrint", 1), 0);
}

// A file that cannot be used at all (here a FIFO and a folder, neither of which
// may block or be taken for a profile) gives defaults; it is moved aside under
// a name no earlier copy has before the first value is written.
TEST(IniProfileStore, AnUnusableFileGivesDefaultsAndEveryEarlierCopyIsKept) {
    TempDir dir;
    const std::string path = dir.file("p.ini");
    WriteFile(path + ".unreadable", "first copy");
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    {
        IniProfileStore store("p", path);
        EXPECT_TRUE(store.IsUnusable());
        EXPECT_EQ(store.ReadInt("settings", "AutoSave", 1), 1);
        EXPECT_EQ(store.UnusableFileMessage(),
                  "The settings file \"" + path +
                      "\" cannot be read (not a regular file). The default settings are used; "
                      "the file will be kept as \"" +
                      path +
                      ".unreadable.2\" when the settings "
                      "are saved.");
        store.WriteInt("settings", "AutoSave", 0);
        EXPECT_TRUE(store.Sync()) << store.WriteError();
    }
    EXPECT_EQ(ReadFile(path + ".unreadable"), "first copy");
    EXPECT_EQ(std::filesystem::status(path + ".unreadable.2").type(),
              std::filesystem::file_type::fifo);
    EXPECT_EQ(IniProfileStore("p", path).ReadInt("settings", "AutoSave", 1), 0);

    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    {
        IniProfileStore folder("p", path);
        EXPECT_TRUE(folder.IsUnusable());
        folder.WriteInt("settings", "AutoSave", 0);
    }
    EXPECT_TRUE(std::filesystem::is_directory(path + ".unreadable.3"));
    EXPECT_EQ(IniProfileStore("p", path).ReadInt("settings", "AutoSave", 1), 0);

    EXPECT_EQ(IniProfileStore("p", dir.file("sub/none.ini")).ReadInt("settings", "AutoSave", 3), 3);
    EXPECT_FALSE(std::filesystem::exists(dir.file("sub"))); // reading creates nothing
}

TEST(IniProfileStore, AFileThatCannotBeWrittenSaysSo) {
    TempDir dir;
    WriteFile(dir.file("file"), "a file, not a folder");
    IniProfileStore store("p", dir.file("file/p.ini"));
    store.WriteInt("settings", "AutoSave", 0);
    EXPECT_FALSE(store.Sync());
    EXPECT_FALSE(store.WriteError().empty());
    EXPECT_EQ(store.WriteFailureMessage().substr(0, 30), "The settings could not be save");
}

// A profile of 200,000 sections is read at the pace of its size: each read is
// one lookup, not a walk over every section.
TEST(IniValues, ManySectionsAndFoldedNamesAndItsOwnTextReadsBackTheSame) {
    std::string text;
    for (int i = 0; i < 200000; ++i)
        text += "[Section " + std::to_string(i) + "]\nKey=" + std::to_string(i) + "\n";
    IniValues values = IniValues::Parse(text);
    EXPECT_EQ(values.SectionCount(), 200000u);
    for (int i = 0; i < 200000; i += 997)
        ASSERT_NE(values.Find("section " + std::to_string(i), "KEY"), nullptr) << i;
    EXPECT_EQ(*values.Find("SECTION 1234", "key"), "1234");
    EXPECT_EQ(IniValues::Parse(values.Format()).Format(), values.Format());
}

} // namespace
