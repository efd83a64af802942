// examples/sample.abf is made by SampleRecording::Writer(). Set
// TESSARAN_WRITE_SAMPLE=1 to rewrite it after changing the generator.
#include "tests/abf/SampleRecording.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace {

TEST(SampleRecording, CommittedFileMatchesItsGenerator) {
    const char* path = TESSARAN_SOURCE_DIR "/examples/sample.abf";
    std::vector<uint8_t> built = SampleRecording::Writer().Build();
    if (std::getenv("TESSARAN_WRITE_SAMPLE"))
        SampleRecording::Writer().Write(path);
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> committed((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
    EXPECT_EQ(committed.size(), built.size());
    EXPECT_TRUE(committed == built);
    EXPECT_LT(built.size(), 1u << 20);
}

} // namespace
