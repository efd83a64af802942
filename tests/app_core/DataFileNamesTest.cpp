#include "app/DataFileNames.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

TEST(DataFileNamesTest, TitleIsTheNameWithoutFolderAndExtension) {
    EXPECT_EQ(FileTitle("/data/2024/cell 3.abf"), "cell 3");
    EXPECT_EQ(FileTitle("/data/a.b.dat"), "a.b");
    EXPECT_EQ(FileTitle("noextension"), "noextension");
    EXPECT_EQ(FileTitle(""), "");
}

class ChosenFileNameTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::ofstream(dir.file("cell.abf")) << "x";
        std::ofstream(dir.file("plain")) << "x";
        fs::create_directory(dir.path() / "sub");
    }
    std::string Canonical(const std::string& name) {
        return fs::canonical(dir.path() / name).string();
    }
    TempDir dir;
};

TEST_F(ChosenFileNameTest, QuotesAreDroppedAndTheNameMadeAbsolute) {
    const std::string folder = dir.path().string();
    EXPECT_EQ(NormaliseChosenFileName("\"cell.abf\"", folder), Canonical("cell.abf"));
    EXPECT_EQ(NormaliseChosenFileName("\"cell.abf", folder), Canonical("cell.abf"));
    EXPECT_EQ(NormaliseChosenFileName("cell.abf", folder), Canonical("cell.abf"));
    EXPECT_EQ(NormaliseChosenFileName("sub/../cell.abf", folder), Canonical("cell.abf"));
    EXPECT_EQ(NormaliseChosenFileName("\"" + dir.file("cell.abf") + "\"", "/nowhere"),
              Canonical("cell.abf"));
    EXPECT_EQ(NormaliseChosenFileName("\"\"", folder), "");
}

TEST_F(ChosenFileNameTest, ANameWithoutExtensionFindsTheAbfFile) {
    const std::string folder = dir.path().string();
    EXPECT_EQ(NormaliseChosenFileName("cell", folder), Canonical("cell.abf"));
    // A file that exists under the name typed is taken as typed.
    EXPECT_EQ(NormaliseChosenFileName("plain", folder), Canonical("plain"));
    // Neither exists: the name stays, for the loader to report.
    EXPECT_EQ(NormaliseChosenFileName("other", folder), (dir.path() / "other").string());
}

TEST_F(ChosenFileNameTest, SymbolicLinksAreResolved) {
    fs::create_symlink(dir.path() / "cell.abf", dir.path() / "link.abf");
    fs::create_directory_symlink(dir.path() / "sub", dir.path() / "sublink");
    std::ofstream(dir.file("sub/inner.abf")) << "x";
    const std::string folder = dir.path().string();
    EXPECT_EQ(NormaliseChosenFileName("link.abf", folder), Canonical("cell.abf"));
    EXPECT_EQ(NormaliseChosenFileName("sublink/inner.abf", folder), Canonical("sub/inner.abf"));
}

} // namespace
