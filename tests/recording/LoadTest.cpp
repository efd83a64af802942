#include "abf/Abf.h"
#include "recording/TraceStore.h"
#include "tests/support/AbfTestWriter.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>

namespace {

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
    // No channel is named a current: the channel is chosen by number.
    for (int channel = 0; channel < 6; ++channel)
        writer.SetText(AbfOffset::kAdcUnits + 8 * size_t(channel), "mV", 8);
    return writer;
}

class LoadTest : public ::testing::Test {
protected:
    // Writes `writer`'s recording into the test folder as `name`; returns its path.
    std::string Write(const AbfTestWriter& writer, const std::string& name) {
        writer.Write(dir.file(name));
        return dir.file(name);
    }
    TempDir dir;
};

TEST_F(LoadTest, LoadsTheFirstCurrentChannelElseChannelOneElseChannelZeroWithItsUnit) {
    const struct {
        std::vector<int16_t> channels;
        int currentChannel; // named `unit`; -1: none is a current (all "mV")
        const char* unit;   // of the current channel
        int expected;       // the channel loaded
        std::string expectedUnit;
    } cases[] = {{{0, 1}, -1, "", 1, "mV"},
                 {{0}, 0, "", 0, ""},
                 {{2, 0, 1}, 2, "pA", 2, "pA"},
                 {{1, 0, 5}, 1, " nA ", 1, "nA"}};
    for (const auto& [channels, currentChannel, unit, expected, expectedUnit] : cases) {
        const float scan = 50.0f * static_cast<float>(channels.size());
        AbfTestWriter writer = Writer(channels).SetSampleInterval(50).SetStartToStart(2.5f);
        if (currentChannel >= 0)
            writer.SetText(AbfOffset::kAdcUnits + 8 * size_t(currentChannel), unit, 8);
        TraceStore store;
        ASSERT_TRUE(TraceStore::LoadInto(store, Write(writer, "a.abf")));
        EXPECT_EQ(std::tie(store.channel.index, store.unit, store.channel.unit),
                  std::tie(expected, expectedUnit, expectedUnit));
        ASSERT_EQ(store.traces.size(), 3u);
        EXPECT_EQ(store.commandWaveform, std::vector<float>(1000, -80.0f)); // holding, no epochs
        for (uint32_t episode = 1; episode <= 3; ++episode)
            for (uint32_t i = 0; i < 1000; i += 37)
                ASSERT_NEAR(store.traces[episode - 1][i], Signal(episode, expected, i), kCount);
        // The interval of the header lies between multiplexed samples.
        EXPECT_EQ(store.timeAxis[999], 999 * scan);
        // (2500 ms - 0 ms) x 0.001f, in double, then held as float.
        EXPECT_EQ(store.episodeInterval, static_cast<float>(2500.0 * static_cast<double>(0.001f)));
    }
}

// The failure comes back as a value; the window and the command line show its notice.
TEST_F(LoadTest, UnreadableRecordingsGiveTheReadersErrorAndLeaveTheStoreEmpty) {
    const std::string good = Write(Writer({0, 1}), "good.abf");
    const std::string other = Write(Writer({2, 3}), "other.abf");
    const std::string missing = dir.file("missing.abf");
    // (path, channel request, error, text)
    const std::tuple<std::string, int, int, std::string> cases[] = {
        {other, kAutoChannel, ABF_EINVALIDCHANNEL,
         "INTERNAL ERROR: File '" + other + "': invalid channel number."},
        {good, 2, ABF_HECHANNELNOTSAMPLED, "The requested Analog IN channel was not sampled."},
        {other, 0, ABF_HECHANNELNOTSAMPLED, "The requested Analog IN channel was not sampled."},
        {missing, 1, ABF_EOPENFILE, "Cannot open file '" + missing + "'."}};
    for (const auto& [path, request, error, text] : cases) {
        TraceStore store;
        ASSERT_TRUE(TraceStore::LoadInto(store, good));
        const LoadResult result = TraceStore::LoadInto(store, path, request);
        EXPECT_EQ(std::tie(result.failure, result.readerError, result.fileName),
                  std::tuple(LoadResult::Failure::Reader, error, path));
        // The reader's text cut at 79 characters.
        const Notice notice = result.ToNotice();
        EXPECT_EQ(notice.text, "The Axon data file could not be read.\r\n" + text.substr(0, 79));
        EXPECT_EQ(notice.caption, "Error Reading Axon Data");
        EXPECT_EQ(notice.icon, MessageIcon::Exclamation);
        EXPECT_TRUE(store.traces.empty() && store.timeAxis.empty() &&
                    store.commandWaveform.empty() && store.unit.empty());
        EXPECT_EQ(store.episodeInterval, 0.0f);
    }
    int error = 0; // no file is left open
    for (int handle = 0; handle < ABF_MAXFILES; ++handle)
        EXPECT_FALSE(AbfCloseFile(handle, &error)) << handle;
}

TEST_F(LoadTest, OneEpisodeNoWaveformAndChosenChannelsLoad) {
    TraceStore store;
    ASSERT_TRUE(TraceStore::LoadInto(store, Write(Writer({0, 1}, 1), "single.abf")));
    EXPECT_EQ(store.traces.size(), 1u);
    EXPECT_EQ(store.episodeInterval, 0.0f) << "no second episode to take it from";

    ASSERT_TRUE(TraceStore::LoadInto(
        store, Write(Writer({0}).Set<int16_t>(AbfOffset::kWaveformSource, 0), "nowave.abf")));
    EXPECT_EQ(store.traces.size(), 3u);
    EXPECT_FALSE(store.HasCommand());
    EXPECT_EQ(store.SamplesPerTrace(), 1000u);

    const std::string two = Write(Writer({0, 1}), "two.abf");
    ASSERT_TRUE(TraceStore::LoadInto(store, two, 0));
    EXPECT_EQ(store.channel.index, 0);
    EXPECT_NEAR(store.traces[1][5], Signal(2, 0, 5), kCount);
}

TEST_F(LoadTest, EachEpisodeKeepsItsOwnCommandSharedWhereEqual) {
    TraceStore store;
    // Epoch 1 grows by 10 samples from episode to episode; episode 3 is cut
    // back to episode 1's length by the user list, so it shares episode 1's.
    ASSERT_TRUE(TraceStore::LoadInto(store, Write(Writer({0, 1}, 4)
                                                      .SetEpoch(0, 1, -20, 0, 100, 0)
                                                      .SetEpoch(1, 2, 40, 0, 200, 0)
                                                      .SetEpoch(2, 2, -60, 0, 50, 0)
                                                      .SetUserList(31, "100,110,100,100"),
                                                  "moving.abf")));
    ASSERT_EQ(store.commands.size(), 4u);
    EXPECT_NE(store.commands[0], store.commands[1]);
    EXPECT_EQ(store.commands[2], store.commands[0]);
    EXPECT_EQ(store.commands[3], store.commands[2]);
    EXPECT_EQ(store.commandWaveform, store.commands[0]->waveform);
    // 1000 / 64 = 15 samples of holding, then epoch 0, then the two ramps.
    using Ramp = EpisodeCommand::Ramp;
    EXPECT_EQ(store.commands[0]->ramps, (std::vector<Ramp>{{115, 314}, {315, 364}}));
    EXPECT_EQ(store.commands[1]->ramps, (std::vector<Ramp>{{125, 324}, {325, 374}}));
    EXPECT_EQ(&store.CommandOf(1), &store.commands[1]->waveform);
    EXPECT_FLOAT_EQ(store.CommandOf(1)[124], -20.0f);
    EXPECT_FLOAT_EQ(store.CommandOf(1)[324], 40.0f);
    ASSERT_EQ(store.sources.size(), 1u);
    EXPECT_EQ(store.sources[0].traces, 4u);
    EXPECT_EQ(store.sources[0].sha256.size(), 64u);
    EXPECT_EQ(store.sources[0].format, "ABF 1.65");
}

TEST_F(LoadTest, HeaderClaimingMoreThanTheFileHoldsIsRefusedBeforeAnythingIsAllocated) {
    const AbfTestWriter writers[] = {Writer({0}).Set<int32_t>(AbfOffset::kEpisodeCount, 0x7FFFFFFF),
                                     Writer({0, 1})
                                         .Set<int32_t>(AbfOffset::kEpisodeCount, 1000000)
                                         .Set<int32_t>(AbfOffset::kAcquiredSamples, 2000000000)};
    for (const AbfTestWriter& writer : writers) {
        TraceStore store;
        EXPECT_EQ(TraceStore::LoadInto(store, Write(writer, "lies.abf")).failure,
                  LoadResult::Failure::Reader);
    }
}

TEST_F(LoadTest, EpisodeIntervalOfAnEventDrivenRecordingComesFromItsSynchArray) {
    TraceStore store;
    const std::string synch = Write(
        Writer({0}).SetSynchArray({{0, 1000}, {70000, 1000}, {140000, 1000}}, 100.0f).SetMode(2),
        "synch.abf");
    ASSERT_TRUE(TraceStore::LoadInto(store, synch));
    EXPECT_FLOAT_EQ(store.episodeInterval, 7.0f); // 70000 x 100 us
}

TEST_F(LoadTest, AppendingAddsTheTracesOfAFileOfTheSameLengthOnly) {
    TraceStore store; // an empty store just loads
    ASSERT_TRUE(TraceStore::AppendFrom(
        store, Write(Writer({0, 1}, 3).SetSampleInterval(50).SetStartToStart(1), "first.abf")));
    const std::vector<float> timeAxis = store.timeAxis;
    const std::vector<float> command = store.commandWaveform;
    const float* firstTrace = store.traces[0].data();

    ASSERT_TRUE(TraceStore::AppendFrom(
        store, Write(Writer({0, 1}, 2).SetSampleInterval(80).SetStartToStart(4).SetHolding(-40),
                     "further.abf")));
    ASSERT_EQ(store.traces.size(), 5u);
    EXPECT_EQ(store.traces[0].data(), firstTrace);
    EXPECT_EQ(store.traces[3].OwnerCount(), 1); // the temporary store is gone; nothing copied
    // The appended traces follow the old ones; the time axis and command stay the first file's.
    EXPECT_NEAR(store.traces[3][5], Signal(1, 1, 5), kCount);
    EXPECT_NEAR(store.traces[4][5], Signal(2, 1, 5), kCount);
    EXPECT_EQ(store.commandWaveform, command);
    EXPECT_FLOAT_EQ(store.episodeInterval, 4.0f); // the further file's

    // A file of another length, or none, changes nothing.
    const Notice longer =
        TraceStore::AppendFrom(store, Write(Writer({0, 1}, 3, 1200), "longer.abf")).ToNotice();
    EXPECT_EQ(longer.text, "This additional data was not recorded using the same protocol and "
                           "cannot be added.");
    EXPECT_EQ(longer.caption, "Error: Add Data Failed");
    EXPECT_EQ(longer.icon, MessageIcon::Stop);
    EXPECT_EQ(TraceStore::AppendFrom(store, dir.file("missing.abf")).failure,
              LoadResult::Failure::Reader);
    EXPECT_EQ(store.traces.size(), 5u);
    EXPECT_EQ(store.timeAxis, timeAxis);
    EXPECT_FLOAT_EQ(store.episodeInterval, 4.0f);
}

} // namespace
