// examples/sample.abf is written by examples/make-sample; after changing the
// tool, run it with the path of the committed file to rewrite it.
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

std::vector<char> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(SampleFile, CommittedFileIsWhatTheToolMakes) {
    TempDir dir;
    const std::string made = dir.file("sample.abf");
    const std::string command = "'" TESSARAN_BINARY_DIR "/examples/make-sample' '" + made + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    std::vector<char> built = ReadAll(made);
    std::vector<char> committed = ReadAll(TESSARAN_SOURCE_DIR "/examples/sample.abf");
    EXPECT_TRUE(committed == built);
    EXPECT_LT(built.size(), 1u << 20);
}

} // namespace
