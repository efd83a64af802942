#include "abf/Abf.h"
#include "platform/Messages.h"
#include "recording/TraceStore.h"
#include "tests/support/AbfTestWriter.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

constexpr char kIntro[] = "The Axon data file could not be read.\r\n";
constexpr char kCaption[] = "Error Reading Axon Data";
constexpr float kCount = 10.0f / 32768.0f; // one count of the writer's default scaling

// The value the writer stores for (episode, channel, sample): distinct per
// channel and episode, well within the input range.
double Signal(uint32_t episode, int channel, uint32_t sample) {
    return channel * 3.0 + episode * 0.25 + (sample % 100) * 0.01 - 4.0;
}

AbfTestWriter Writer(std::vector<int16_t> channels, uint32_t episodes = 3,
                     uint32_t samples = 1000) {
    AbfTestWriter writer;
    writer.SetChannels(std::move(channels))
        .SetEpisodes(episodes)
        .SetSamplesPerChannel(samples)
        .SetSignal(Signal);
    return writer;
}

// The text the reader gives for `error` on `path`, as shown: cut at 79 characters.
std::string Shown(const std::string& text) {
    return kIntro + text.substr(0, 79);
}

void ExpectTraceHolds(const TraceStore& store, uint32_t episode, int channel) {
    const SharedFloatArray& trace = store.traces.at(episode - 1);
    for (uint32_t i = 0; i < store.samplesPerTrace(); i += 37)
        ASSERT_NEAR(trace[i], Signal(episode, channel, i), kCount) << "sample " << i;
}

class LoadTest : public ::testing::Test {
protected:
    TempDir dir;
    RecordingMessageSink messages;
};

TEST_F(LoadTest, TwoChannelRecordingReadsChannelOne) {
    const std::string path = dir.file("two.abf");
    Writer({0, 1}).SetSampleInterval(50).Write(path);
    TraceStore store;
    ASSERT_TRUE(TraceStore::LoadInto(store, path));
    EXPECT_TRUE(messages.messages.empty());
    ASSERT_EQ(store.traces.size(), 3u);
    EXPECT_EQ(store.samplesPerTrace(), 1000u);
    EXPECT_EQ(store.commandWaveform.size(), 1000u);
    for (uint32_t episode = 1; episode <= 3; ++episode)
        ExpectTraceHolds(store, episode, 1);
    // The interval of the header lies between multiplexed samples.
    EXPECT_EQ(store.timeAxis[1], 100.0f);
    EXPECT_EQ(store.timeAxis[999], 99900.0f);
}

TEST_F(LoadTest, RecordingOfChannelZeroOnlyFallsBackToIt) {
    const std::string path = dir.file("one.abf");
    Writer({0}).Write(path);
    TraceStore store;
    ASSERT_TRUE(TraceStore::LoadInto(store, path));
    ASSERT_EQ(store.traces.size(), 3u);
    ExpectTraceHolds(store, 2, 0);
    EXPECT_EQ(store.commandWaveform.size(), 1000u);
    EXPECT_EQ(store.commandWaveform[0], -80.0f); // holding level, no epochs
    EXPECT_EQ(store.timeAxis[1], 100.0f);
}

TEST_F(LoadTest, ChannelOneIsFoundWhereverItIsInTheScan) {
    const std::string path = dir.file("order.abf");
    Writer({1, 0, 5}).Write(path);
    TraceStore store;
    ASSERT_TRUE(TraceStore::LoadInto(store, path));
    ExpectTraceHolds(store, 3, 1);
}

TEST_F(LoadTest, RecordingOfNeitherChannelFailsWithTheInvalidChannelText) {
    const std::string path = dir.file("other.abf");
    Writer({2, 3}).Write(path);
    TraceStore store;
    EXPECT_FALSE(TraceStore::LoadInto(store, path));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text,
              Shown("INTERNAL ERROR: File '" + path + "': invalid channel number."));
    EXPECT_EQ(messages.messages[0].caption, kCaption);
    EXPECT_EQ(messages.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(messages.messages[0].buttons, MessageButtons::Ok);
    EXPECT_TRUE(store.traces.empty());
}

TEST_F(LoadTest, SingleEpisodeFailsForWantOfASecondStartTime) {
    const std::string path = dir.file("single.abf");
    Writer({0, 1}, 1).Write(path);
    TraceStore store;
    EXPECT_FALSE(TraceStore::LoadInto(store, path));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text,
              Shown("INTERNAL ERROR: File '" + path + "': episode out of range."));
    // A failed load leaves nothing to index.
    EXPECT_TRUE(store.traces.empty());
    EXPECT_TRUE(store.timeAxis.empty());
    EXPECT_TRUE(store.commandWaveform.empty());
    EXPECT_EQ(store.episodeInterval, 0.0f);
}

TEST_F(LoadTest, ProtocolWithoutWaveformFails) {
    const std::string path = dir.file("nowave.abf");
    Writer({0}).Set<int16_t>(AbfOffset::WaveformSource, 0).Write(path);
    TraceStore store;
    EXPECT_FALSE(TraceStore::LoadInto(store, path));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text,
              std::string(kIntro) + "INTERNAL ERROR: No waveform defined.");
}

TEST_F(LoadTest, MissingAndUnknownFilesFailWithTheReadersTexts) {
    TraceStore store;
    const std::string missing = dir.file("missing.abf");
    EXPECT_FALSE(TraceStore::LoadInto(store, missing));
    const std::string junk = dir.file("junk.abf");
    {
        std::FILE* f = std::fopen(junk.c_str(), "wb");
        std::fputs("ATF 1.0 this is a text file and no recording at all, 1 2 3 4 5 6", f);
        std::fclose(f);
    }
    EXPECT_FALSE(TraceStore::LoadInto(store, junk));
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_EQ(messages.messages[0].text, Shown("Cannot open file '" + missing + "'."));
    EXPECT_EQ(messages.messages[1].text, Shown("File '" + junk + "' is of unknown file type."));
}

TEST_F(LoadTest, EpisodeIntervalIsTheStartToStartTimeInSeconds) {
    const std::string path = dir.file("interval.abf");
    Writer({0, 1}).SetStartToStart(2.5f).Write(path);
    TraceStore store;
    ASSERT_TRUE(TraceStore::LoadInto(store, path));
    // (2500 ms - 0 ms) x 0.001f, in double, then held as float.
    EXPECT_EQ(store.episodeInterval, static_cast<float>(2500.0 * static_cast<double>(0.001f)));

    const std::string synch = dir.file("synch.abf");
    Writer({0}, 3, 1000)
        .SetSynchArray({{0, 1000}, {70000, 1000}, {140000, 1000}}, 100.0f)
        .SetMode(2)
        .Write(synch);
    ASSERT_TRUE(TraceStore::LoadInto(store, synch)) << messages.messages.back().text;
    EXPECT_FLOAT_EQ(store.episodeInterval, 7.0f); // 70000 x 100 us
}

TEST_F(LoadTest, HeaderClaimingMoreThanTheFileHoldsFailsWithoutExhaustingMemory) {
    const std::string episodes = dir.file("episodes.abf");
    Writer({0}).Set<int32_t>(AbfOffset::EpisodeCount, 0x7FFFFFFF).Write(episodes);
    const std::string samples = dir.file("samples.abf");
    Writer({0}).Set<int32_t>(AbfOffset::SamplesPerEpisode, 0x7FFFFFF0).Write(samples);
    const std::string acquired = dir.file("acquired.abf");
    Writer({0, 1})
        .Set<int32_t>(AbfOffset::EpisodeCount, 1000000)
        .Set<int32_t>(AbfOffset::AcquiredSamples, 2000000000)
        .Write(acquired);
    for (const std::string& path : {episodes, samples, acquired}) {
        TraceStore store;
        EXPECT_FALSE(TraceStore::LoadInto(store, path)) << path;
        EXPECT_TRUE(store.traces.empty());
    }
    EXPECT_EQ(messages.messages.size(), 3u);
    // The reader refuses them at opening, before anything is allocated for the traces.
    for (const std::string& path : {episodes, samples, acquired}) {
        AbfHeader header;
        uint32_t samplesPerEpisode = 0;
        uint32_t episodeCount = 0;
        int handle = -1;
        int error = 0;
        EXPECT_FALSE(AbfOpenForReading(path.c_str(), &handle, 0, &header, &samplesPerEpisode,
                                       &episodeCount, &error))
            << path;
    }
}

TEST_F(LoadTest, AppendingAFileOfTheSameProtocolAddsItsTraces) {
    const std::string first = dir.file("first.abf");
    const std::string further = dir.file("further.abf");
    Writer({0, 1}, 3).SetSampleInterval(50).SetStartToStart(1).Write(first);
    Writer({0, 1}, 2).SetSampleInterval(80).SetStartToStart(4).SetHolding(-40).Write(further);
    TraceStore store;
    ASSERT_TRUE(TraceStore::LoadInto(store, first));
    const std::vector<float> timeAxis = store.timeAxis;
    const std::vector<float> command = store.commandWaveform;
    const float* firstTrace = store.traces[0].data();

    ASSERT_TRUE(TraceStore::AppendFrom(store, further));
    EXPECT_TRUE(messages.messages.empty());
    ASSERT_EQ(store.traces.size(), 5u);
    EXPECT_EQ(store.traces[0].data(), firstTrace);
    EXPECT_EQ(store.traces[3].ownerCount(), 1); // the temporary store is gone; nothing copied
    // The appended traces follow the old ones; the time axis and command stay the first file's.
    EXPECT_NEAR(store.traces[3][5], Signal(1, 1, 5), kCount);
    EXPECT_NEAR(store.traces[4][5], Signal(2, 1, 5), kCount);
    EXPECT_EQ(store.timeAxis, timeAxis);
    EXPECT_EQ(store.commandWaveform, command);
    EXPECT_FLOAT_EQ(store.episodeInterval, 4.0f); // the further file's
}

TEST_F(LoadTest, AppendingAFileOfAnotherLengthChangesNothing) {
    const std::string first = dir.file("first.abf");
    const std::string longer = dir.file("longer.abf");
    Writer({0, 1}, 3, 1000).Write(first);
    Writer({0, 1}, 3, 1200).Write(longer);
    TraceStore store;
    ASSERT_TRUE(TraceStore::LoadInto(store, first));
    const float interval = store.episodeInterval;
    EXPECT_FALSE(TraceStore::AppendFrom(store, longer));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text,
              "This additional data was not recorded using the same protocol and cannot be "
              "added.");
    EXPECT_EQ(messages.messages[0].caption, "Error: Add Data Failed");
    EXPECT_EQ(messages.messages[0].icon, MessageIcon::Stop);
    EXPECT_EQ(store.traces.size(), 3u);
    EXPECT_EQ(store.samplesPerTrace(), 1000u);
    EXPECT_EQ(store.episodeInterval, interval);
}

TEST_F(LoadTest, AppendingAFileThatCannotBeReadChangesNothing) {
    const std::string first = dir.file("first.abf");
    Writer({0, 1}).Write(first);
    TraceStore store;
    ASSERT_TRUE(TraceStore::LoadInto(store, first));
    EXPECT_FALSE(TraceStore::AppendFrom(store, dir.file("missing.abf")));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].caption, kCaption);
    EXPECT_EQ(store.traces.size(), 3u);
}

TEST_F(LoadTest, AppendingToAnEmptyStoreLoads) {
    const std::string path = dir.file("a.abf");
    Writer({0, 1}).Write(path);
    TraceStore store;
    ASSERT_TRUE(TraceStore::AppendFrom(store, path));
    EXPECT_EQ(store.traces.size(), 3u);
}

TEST_F(LoadTest, LoadingLeavesNoFileOpen) {
    const std::string path = dir.file("a.abf");
    Writer({0, 1}).Write(path);
    TraceStore store;
    ASSERT_TRUE(TraceStore::LoadInto(store, path));
    ASSERT_FALSE(TraceStore::LoadInto(store, dir.file("missing.abf")));
    int error = 0;
    for (int handle = 0; handle < ABF_MAXFILES; ++handle)
        EXPECT_FALSE(AbfCloseFile(handle, &error)) << handle;
    EXPECT_EQ(error, 1002);
}

} // namespace
