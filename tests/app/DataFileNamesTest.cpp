#include "app/DataFileNames.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

TEST(ChosenFileNameTest, QuotesGoLinkedFoldersResolveAndAMissingExtensionFindsTheAbfFile) {
    TempDir dir;
    std::ofstream(dir.file("cell.abf")) << "x";
    std::ofstream(dir.file("plain")) << "x";
    fs::create_directory(dir.path() / "sub");
    std::ofstream(dir.file("sub/inner.abf")) << "x";
    fs::create_directory_symlink(dir.path() / "sub", dir.path() / "sublink");
    const std::string folder = dir.path().string();
    const std::string cell = fs::canonical(dir.path() / "cell.abf").string();

    const std::pair<std::string, std::string> cases[] = {
        {"\"cell.abf\"", cell},
        {"\"cell.abf", cell},
        {"sub/../cell.abf", cell},
        {"\"\"", ""},
        {"cell", cell},
        // A file that exists under the name typed is taken as typed.
        {"plain", fs::canonical(dir.path() / "plain").string()},
        // Neither exists: the name stays, for the loader to report.
        {"other", (dir.path() / "other").string()},
        {"sublink/inner.abf", fs::canonical(dir.path() / "sub/inner.abf").string()},
    };
    for (const auto& [typed, expected] : cases)
        EXPECT_EQ(NormaliseChosenFileName(typed, folder), expected) << typed;
}

} // namespace
