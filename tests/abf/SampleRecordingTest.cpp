// examples/sample.abf is made by SampleRecording::Writer(). Set
// TESSARAN_WRITE_SAMPLE=1 to rewrite it after changing the generator.
#include "tests/abf/SampleRecording.h"
#include "tests/abf/ReaderFixture.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace {

const char* kSamplePath = TESSARAN_SOURCE_DIR "/examples/sample.abf";

TEST(SampleRecording, CommittedFileMatchesItsGenerator) {
    std::vector<uint8_t> built = SampleRecording::Writer().Build();
    if (std::getenv("TESSARAN_WRITE_SAMPLE"))
        SampleRecording::Writer().Write(kSamplePath);
    std::ifstream in(kSamplePath, std::ios::binary);
    std::vector<uint8_t> committed((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
    EXPECT_EQ(committed.size(), built.size());
    EXPECT_TRUE(committed == built);
    EXPECT_LT(built.size(), 1u << 20);
}

class SampleRecordingRead : public ReaderTest {};

TEST_F(SampleRecordingRead, ReadsAsTheModelCell) {
    ASSERT_EQ(Open(std::string(kSamplePath)), 0);
    ASSERT_EQ(episodes, SampleRecording::kEpisodes);
    ASSERT_EQ(samples, SampleRecording::kSamplesPerChannel);
    std::vector<float> command, current, potential;
    for (uint32_t k : {1u, 5u, 10u}) {
        ASSERT_EQ(Command(1, k, &command), 0);
        ASSERT_EQ(Read(1, k, &current), 0);
        ASSERT_EQ(Read(0, k, &potential), 0);
        for (uint32_t i = 0; i < samples; i += 7) {
            ASSERT_NEAR(command[i], SampleRecording::CommandMv(i), 1e-3) << k << " " << i;
            EXPECT_NEAR(current[i], SampleRecording::ModelCurrentPa(k, i), 3.1) << k << " " << i;
            EXPECT_NEAR(potential[i], command[i], 0.2);
        }
    }
    double first = 0, second = 0;
    ASSERT_TRUE(AbfGetEpisodeStartTime(handle, &header, 1, 1, &first, nullptr));
    ASSERT_TRUE(AbfGetEpisodeStartTime(handle, &header, 1, 2, &second, nullptr));
    EXPECT_NEAR(second - first, 5000.0, 1e-6);
}

} // namespace
