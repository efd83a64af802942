#include "abf/Abf.h"
#include "platform/Messages.h"
#include "recording/TraceStore.h"
#include "tests/support/AbfTestWriter.h"
#include "tests/support/RecordingMessageSink.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>

namespace {

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

// Loading and appending as the window does: a failure is shown through the
// message interface.
LoadResult Load(TraceStore& store, const std::string& path) {
    LoadResult result = TraceStore::LoadInto(store, path);
    if (!result)
        ShowNotice(result.ToNotice());
    return result;
}

LoadResult Append(TraceStore& store, const std::string& path) {
    LoadResult result = TraceStore::AppendFrom(store, path);
    if (!result)
        ShowNotice(result.ToNotice());
    return result;
}

class LoadTest : public ::testing::Test {
protected:
    // Writes `writer`'s recording into the test folder as `name`; returns its path.
    std::string Write(const AbfTestWriter& writer, const std::string& name) {
        writer.Write(dir.file(name));
        return dir.file(name);
    }
    TempDir dir;
    RecordingMessageSink messages;
};

TEST_F(LoadTest, LoadsChannelOneWhereverItIsScannedOrElseChannelZero) {
    const std::pair<std::vector<int16_t>, int> cases[] = {{{0, 1}, 1}, {{1, 0, 5}, 1}, {{0}, 0}};
    for (const auto& [channels, expected] : cases) {
        const std::string path =
            Write(Writer(channels).SetSampleInterval(50).SetStartToStart(2.5f), "a.abf");
        TraceStore store;
        ASSERT_TRUE(Load(store, path));
        ASSERT_EQ(store.traces.size(), 3u);
        EXPECT_EQ(store.SamplesPerTrace(), 1000u);
        EXPECT_EQ(store.commandWaveform.size(), 1000u);
        EXPECT_EQ(store.commandWaveform[0], -80.0f); // holding level, no epochs
        for (uint32_t episode = 1; episode <= 3; ++episode)
            for (uint32_t i = 0; i < 1000; i += 37)
                ASSERT_NEAR(store.traces[episode - 1][i], Signal(episode, expected, i), kCount);
        // The interval of the header lies between multiplexed samples.
        EXPECT_EQ(store.timeAxis[1], 50.0f * channels.size());
        EXPECT_EQ(store.timeAxis[999], 999 * 50.0f * channels.size());
        // (2500 ms - 0 ms) x 0.001f, in double, then held as float.
        EXPECT_EQ(store.episodeInterval, static_cast<float>(2500.0 * static_cast<double>(0.001f)));
    }
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(LoadTest, UnreadableRecordingsShowTheReadersTextAndLeaveTheStoreEmpty) {
    const std::string good = Write(Writer({0, 1}), "good.abf");
    const std::string other = Write(Writer({2, 3}), "other.abf");
    // No second episode to take the interval from:
    const std::string single = Write(Writer({0, 1}, 1), "single.abf");
    const std::string nowave =
        Write(Writer({0}).Set<int16_t>(AbfOffset::kWaveformSource, 0), "nowave.abf");
    const std::string missing = dir.file("missing.abf");
    const std::pair<std::string, std::string> cases[] = {
        {other, "INTERNAL ERROR: File '" + other + "': invalid channel number."},
        {single, "INTERNAL ERROR: File '" + single + "': episode out of range."},
        {nowave, "INTERNAL ERROR: No waveform defined."},
        {missing, "Cannot open file '" + missing + "'."}};
    for (const auto& [path, text] : cases) {
        TraceStore store;
        ASSERT_TRUE(Load(store, good));
        EXPECT_FALSE(Load(store, path));
        ASSERT_EQ(messages.messages.size(), 1u) << path;
        // The reader's text cut at 79 characters.
        EXPECT_EQ(messages.messages[0].text,
                  "The Axon data file could not be read.\r\n" + text.substr(0, 79));
        EXPECT_EQ(messages.messages[0].caption, kCaption);
        EXPECT_EQ(messages.messages[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(messages.messages[0].buttons, MessageButtons::Ok);
        EXPECT_TRUE(store.traces.empty() && store.timeAxis.empty() &&
                    store.commandWaveform.empty());
        EXPECT_EQ(store.episodeInterval, 0.0f);
        messages.messages.clear();
    }
    int error = 0; // no file is left open
    for (int handle = 0; handle < ABF_MAXFILES; ++handle)
        EXPECT_FALSE(AbfCloseFile(handle, &error)) << handle;
}

TEST_F(LoadTest, FailuresComeBackAsValuesAndTheLoaderShowsNothing) {
    const std::pair<std::string, int> cases[] = {
        {Write(Writer({2, 3}), "other.abf"), ABF_EINVALIDCHANNEL},
        {Write(Writer({0, 1}, 1), "single.abf"), ABF_EEPISODERANGE},
        {Write(Writer({0}).Set<int16_t>(AbfOffset::kWaveformSource, 0), "nowave.abf"),
         ABF_ENOWAVEFORM},
        {dir.file("missing.abf"), ABF_EOPENFILE}};
    for (const auto& [path, error] : cases) {
        TraceStore store;
        const LoadResult result = TraceStore::LoadInto(store, path);
        EXPECT_EQ(result.failure, LoadResult::Failure::Reader) << path;
        EXPECT_EQ(result.readerError, error) << path;
        EXPECT_EQ(result.fileName, path);
        const Notice notice = result.ToNotice();
        EXPECT_EQ(notice.text, "The Axon data file could not be read.\r\n" +
                                   ComposeReaderErrorText(error, path));
        EXPECT_EQ(notice.caption, kCaption);
        EXPECT_EQ(notice.icon, MessageIcon::Exclamation);
    }
    TraceStore store;
    ASSERT_TRUE(TraceStore::LoadInto(store, Write(Writer({0, 1}), "good.abf")));
    const LoadResult longer =
        TraceStore::AppendFrom(store, Write(Writer({0, 1}, 3, 1200), "longer.abf"));
    EXPECT_EQ(longer.failure, LoadResult::Failure::OtherProtocol);
    EXPECT_EQ(longer.ToNotice().caption, "Error: Add Data Failed");
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(LoadTest, TheStoreCarriesTheUnitOfTheLoadedChannel) {
    const std::pair<AbfTestWriter, std::string> cases[] = {
        {Writer({0, 1}), "mV"}, // the writer's channel 1
        {Writer({0}), "pA"},
        {Writer({1, 0}).SetText(AbfOffset::kAdcUnits + 8, " nA ", 8), "nA"},
        {Writer({0}).SetText(AbfOffset::kAdcUnits, "", 8), ""}};
    for (const auto& [writer, unit] : cases) {
        TraceStore store;
        ASSERT_TRUE(TraceStore::LoadInto(store, Write(writer, "unit.abf")));
        EXPECT_EQ(store.unit, unit);
        ASSERT_FALSE(TraceStore::LoadInto(store, dir.file("missing.abf")));
        EXPECT_EQ(store.unit, "");
    }
}

TEST_F(LoadTest, HeaderClaimingMoreThanTheFileHoldsIsRefusedBeforeAnythingIsAllocated) {
    const std::string paths[] = {
        Write(Writer({0}).Set<int32_t>(AbfOffset::kEpisodeCount, 0x7FFFFFFF), "episodes.abf"),
        Write(Writer({0}).Set<int32_t>(AbfOffset::kSamplesPerEpisode, 0x7FFFFFF0), "samples.abf"),
        Write(Writer({0, 1})
                  .Set<int32_t>(AbfOffset::kEpisodeCount, 1000000)
                  .Set<int32_t>(AbfOffset::kAcquiredSamples, 2000000000),
              "acquired.abf")};
    for (const std::string& path : paths) {
        TraceStore store;
        EXPECT_FALSE(Load(store, path)) << path;
        // The reader refuses them at opening, before the traces could be allocated.
        AbfHeader header;
        uint32_t samples = 0, episodes = 0;
        int handle = -1, error = 0;
        EXPECT_FALSE(
            AbfOpenForReading(path.c_str(), &handle, 0, &header, &samples, &episodes, &error));
    }
    EXPECT_EQ(messages.messages.size(), 3u);
}

TEST_F(LoadTest, EpisodeIntervalOfAnEventDrivenRecordingComesFromItsSynchArray) {
    TraceStore store;
    const std::string synch = Write(
        Writer({0}).SetSynchArray({{0, 1000}, {70000, 1000}, {140000, 1000}}, 100.0f).SetMode(2),
        "synch.abf");
    ASSERT_TRUE(Load(store, synch)) << messages.messages.back().text;
    EXPECT_FLOAT_EQ(store.episodeInterval, 7.0f); // 70000 x 100 us
}

TEST_F(LoadTest, AppendingAddsTheTracesOfAFileOfTheSameLengthOnly) {
    TraceStore store; // an empty store just loads
    ASSERT_TRUE(Append(
        store, Write(Writer({0, 1}, 3).SetSampleInterval(50).SetStartToStart(1), "first.abf")));
    const std::vector<float> timeAxis = store.timeAxis;
    const std::vector<float> command = store.commandWaveform;
    const float* firstTrace = store.traces[0].data();

    ASSERT_TRUE(Append(
        store, Write(Writer({0, 1}, 2).SetSampleInterval(80).SetStartToStart(4).SetHolding(-40),
                     "further.abf")));
    EXPECT_TRUE(messages.messages.empty());
    ASSERT_EQ(store.traces.size(), 5u);
    EXPECT_EQ(store.traces[0].data(), firstTrace);
    EXPECT_EQ(store.traces[3].ownerCount(), 1); // the temporary store is gone; nothing copied
    // The appended traces follow the old ones; the time axis and command stay the first file's.
    EXPECT_NEAR(store.traces[3][5], Signal(1, 1, 5), kCount);
    EXPECT_NEAR(store.traces[4][5], Signal(2, 1, 5), kCount);
    EXPECT_EQ(store.commandWaveform, command);
    EXPECT_FLOAT_EQ(store.episodeInterval, 4.0f); // the further file's

    // A file of another length, or none, changes nothing.
    EXPECT_FALSE(Append(store, Write(Writer({0, 1}, 3, 1200), "longer.abf")));
    EXPECT_FALSE(Append(store, dir.file("missing.abf")));
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_EQ(messages.messages[0].text,
              "This additional data was not recorded using the same protocol and cannot be "
              "added.");
    EXPECT_EQ(messages.messages[0].caption, "Error: Add Data Failed");
    EXPECT_EQ(messages.messages[0].icon, MessageIcon::Stop);
    EXPECT_EQ(messages.messages[1].caption, kCaption);
    EXPECT_EQ(store.traces.size(), 5u);
    EXPECT_EQ(store.timeAxis, timeAxis);
    EXPECT_FLOAT_EQ(store.episodeInterval, 4.0f);
}

// The three published recordings in tests/data/real: how many traces, their
// length, the episode interval and the time between samples of one channel.
TEST(RealRecordings, LoadWithTheirShape) {
    // name, traces, samples per trace, episode interval (s), sampling interval x channels (us)
    const std::tuple<const char*, uint32_t, uint32_t, double, float> recordings[] = {
        {"19d22010.abf", 10, 10322, 10.0, 500.0f},
        {"20917000.abf", 3, 103224, 105.0, 1000.0f},
        {"20917001.abf", 9, 51612, 28.0, 500.0f}};
    for (const auto& [name, traces, samples, interval, scanUs] : recordings) {
        SCOPED_TRACE(name);
        RecordingMessageSink messages;
        TraceStore store;
        ASSERT_TRUE(Load(store, std::string(TESSARAN_TESTDATA_DIR) + "/" + name));
        EXPECT_TRUE(messages.messages.empty());
        EXPECT_EQ(store.traces.size(), traces);
        EXPECT_EQ(store.SamplesPerTrace(), samples);
        EXPECT_EQ(store.commandWaveform.size(), samples);
        EXPECT_NEAR(store.episodeInterval, interval, 1e-3);
        EXPECT_EQ(store.timeAxis[0], 0.0f);
        EXPECT_FLOAT_EQ(store.timeAxis[1], scanUs);
    }
}

} // namespace
