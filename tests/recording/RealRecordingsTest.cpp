// The three published recordings in tests/data/real: which channel loads, how
// many traces, their length and the episode interval.
#include "abf/Abf.h"
#include "platform/Messages.h"
#include "recording/TraceStore.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct RealRecording {
    const char* name;
    int channelsSampled;
    int expectedChannel;
    uint32_t traces;
    uint32_t samplesPerTrace;
    double intervalSeconds;
};

class RealRecordingTest : public ::testing::TestWithParam<RealRecording> {};

TEST_P(RealRecordingTest, LoadsTheExpectedChannelAndShape) {
    const RealRecording& r = GetParam();
    const std::string path = std::string(TESSARAN_TESTDATA_DIR) + "/" + r.name;
    RecordingMessageSink messages;
    TraceStore store;
    ASSERT_TRUE(TraceStore::LoadInto(store, path))
        << (messages.messages.empty() ? "" : messages.messages[0].text);
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(store.traces.size(), r.traces);
    EXPECT_EQ(store.samplesPerTrace(), r.samplesPerTrace);
    EXPECT_EQ(store.commandWaveform.size(), r.samplesPerTrace);
    EXPECT_NEAR(store.episodeInterval, r.intervalSeconds, 1e-3);

    // The same samples as the reader gives for the expected channel, and the
    // sample times spaced by one whole scan of every channel.
    AbfHeader header;
    uint32_t samples = 0;
    uint32_t episodes = 0;
    int handle = -1;
    int error = 0;
    ASSERT_TRUE(AbfOpenForReading(path.c_str(), &handle, 0, &header, &samples, &episodes, &error));
    std::vector<float> direct(samples);
    const uint32_t last = episodes;
    ASSERT_TRUE(AbfReadEpisodeChannel(handle, &header, r.expectedChannel, last, direct.data(),
                                      nullptr, &error));
    AbfCloseFile(handle, &error);
    EXPECT_EQ(header.channelCount, r.channelsSampled);
    for (uint32_t i = 0; i < samples; i += 97)
        ASSERT_EQ(store.traces[last - 1][i], direct[i]) << i;
    const float scan = static_cast<float>(r.channelsSampled * double(header.firstSampleInterval));
    EXPECT_FLOAT_EQ(store.timeAxis[1] - store.timeAxis[0], scan);
    EXPECT_EQ(store.timeAxis[0], 0.0f);
}

INSTANTIATE_TEST_SUITE_P(Recordings, RealRecordingTest,
                         ::testing::Values(RealRecording{"19d22010.abf", 2, 1, 10, 10322, 10.0},
                                           RealRecording{"20917000.abf", 1, 0, 3, 103224, 105.0},
                                           RealRecording{"20917001.abf", 2, 1, 9, 51612, 28.0}),
                         [](const auto& info) {
                             return "abf" + std::string(info.param.name).substr(0, 8);
                         });

} // namespace
