// Files that lie: every count, offset and index is checked before use, and
// nothing is read or allocated beyond what the file holds.
#include "tests/abf/ReaderFixture.h"

#include <cmath>

namespace {

using namespace AbfOffset;
using W = AbfTestWriter;

TEST_F(ReaderTest, HeadersThatLieAreRefused) {
    auto events = [] { return W().SetMode(2).SetSamplesPerChannel(100); };
    auto old = [] { return W().SetOldFormat(3, 5.2f).SetSamplesPerChannel(100); };
    const struct {
        W writer;
        int error;
    } cases[] = {
        // clang-format off
        {W().SetVersion(2.0f), ABF_EINVALIDFILE},
        {W().SetVersion(0.9f), ABF_EINVALIDFILE},
        {W().Set<float>(kFileVersion, NAN), ABF_EINVALIDFILE},
        {W().Set<int16_t>(kChannelCount, 0), ABF_EINVALIDFILE},
        {W().Set<int16_t>(kChannelCount, 17), ABF_EINVALIDFILE},
        {W().Set<int16_t>(kChannelCount, -3), ABF_EINVALIDFILE},
        {W().SetChannels({0, 16}), ABF_EINVALIDFILE},
        {W().SetChannels({-1, 1}), ABF_EINVALIDFILE},
        {W().SetChannels({0, 1}).Set<int16_t>(kSamplingSequence + 4, 99), 0}, // unused position
        {W().SetChannels({0, 1, 2}).Set<int32_t>(kSamplesPerEpisode, 2), ABF_EINVALIDFILE},
        {W().Set<int32_t>(kSamplesPerEpisode, -1000), ABF_EINVALIDFILE},
        {W().Set<int32_t>(kAcquiredSamples, 0), ABF_EINVALIDFILE},
        {W().SetGapFree(1000).Set<int32_t>(kAcquiredSamples, 0x7FFFFFFF), ABF_EREADDATA},
        {W().SetGapFree(1000).Set<int16_t>(kSamplesToSkip, -5), ABF_EINVALIDFILE},
        {W().SetGapFree(1000).Set<int16_t>(kSamplesToSkip, 30000), ABF_EREADDATA},
        {W().SetChannels({0, 1, 2}).SetGapFree(10).Set<int32_t>(kAcquiredSamples, 2),
         ABF_EINVALIDFILE}, // not even one scan
        {W().EnableSynchArray().Set<int32_t>(kSynchEntries, 1000000), ABF_EBADSYNCH},
        {W().EnableSynchArray().Set<int32_t>(kSynchFirstBlock, 0x7FFFFFFF), ABF_EBADSYNCH},
        // An episode longer than the episode buffer; more samples than were
        // acquired, also in the last entry; continuous or event starts going back.
        {W().SetMode(4).SetSynchArray({{0, 1000}, {2000, 5000}}), ABF_EBADSYNCH},
        {W().SetMode(4).SetSynchArray({{0, 1000}, {2000, 1000}})
             .Set<int32_t>(kAcquiredSamples, 1500), ABF_EBADSYNCH},
        {W().SetGapFree(0).SetSynchArray({{100, 10}, {50, 10}}), ABF_EBADSYNCH},
        {events().SetSynchArray({{500, 100}, {400, 100}}), ABF_EBADSYNCH},
        {events().SetSynchArray({{0x80000000u, 100}, {0x80000100u, 100}}), ABF_EBADSYNCH},
        {W().SetMode(5).SetSamplesPerChannel(100).SetSynchArray({{500, 100}, {400, 100}}), 0},
        {W().SetMode(2).Set<int32_t>(kSynchEntries, 0), ABF_ENOSYNCHPRESENT},
        {W().SetOldFormat(2, 5.2f).Set<float>(0, 7.0f), ABF_EUNKNOWNFILETYPE},
        {W().SetOldFormat(2, 5.2f).Set<float>(4, -5.0f), ABF_EUNKNOWNFILETYPE},
        // Scaling that could only give values that are not numbers.
        {W().Set<float>(kAdcRange, INFINITY), ABF_EINVALIDFILE},
        {W().Set<float>(kAdcRange, 0), ABF_EINVALIDFILE},
        {W().Set<float>(kAdcRange, -10), ABF_EINVALIDFILE},
        {W().SetAdcRange(3.4e38f, 1), ABF_EINVALIDFILE},
        {W().SetAdcRange(10, -1), ABF_EINVALIDFILE},
        {W().SetAdcRange(10, 0), ABF_EINVALIDFILE},
        {W().SetChannelScaling(0, 0, 1, 0), ABF_EINVALIDFILE},
        {W().SetChannelScaling(0, 1, -2, 0), ABF_EINVALIDFILE},
        {W().SetChannelScaling(0, 1, 1, INFINITY), ABF_EINVALIDFILE},
        {W().SetChannelScaling(0, 1e-30f, 1e-10f, 0), ABF_EINVALIDFILE}, // full scale overflows
        {W().Set<int16_t>(kConditionerInUse, 1).Set<float>(kConditionerGain, 0), ABF_EINVALIDFILE},
        {W().SetChannels({0, 1}).SetChannelScaling(1, 1, 0, 0), ABF_EINVALIDFILE},
        {W().SetChannelScaling(3, 0, 0, NAN), 0}, // a channel that was not sampled
        {W().Set<float>(kConditionerGain, 0), 0},  // a conditioner that is not in use
        {W().SetOldFormat(2, 20.0f), ABF_EUNKNOWNFILETYPE},
        {W().SetOldFormat(2, 0.01f), ABF_EUNKNOWNFILETYPE},
        {old().SetOldSynchArray({{0, 250}}), ABF_EBADSYNCH}, // beyond its slot
        {old().SetEpisodes(3).SetOldSynchArray({{1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}}),
         ABF_EBADSYNCH}, // the sixth episode would lie in the file's last kilobyte
        // clang-format on
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(Open(cases[i].writer), cases[i].error) << "case " << i;
    }
}

// Empty synch entries pass every size check one by one, yet each would become a
// full trace: a small file must not make the loader allocate gigabytes.
TEST_F(ReaderTest, ManyEmptyEpisodesAreRefusedBeforeAnythingIsAllocated) {
    auto events = [](uint32_t count) {
        std::vector<AbfSynchEntry> entries(count);
        for (uint32_t i = 0; i < count; ++i)
            entries[i] = {i * 20000, 0};
        entries[0].length = 16000;
        return W().SetMode(2).SetSamplesPerChannel(16000).SetSynchArray(entries);
    };
    EXPECT_EQ(Open(events(1100)), ABF_EBADSYNCH) << "17.6 M samples from a 25 kB file";
    EXPECT_EQ(Open(events(100)), 0) << "a few empty episodes cost little";
}

// Byte-level damage the writer cannot express: huge claims in a small file must
// fail without allocating what they claim.
TEST_F(ReaderTest, DamagedFilesAreRefused) {
    std::vector<uint8_t> small = W().SetSamplesPerChannel(100).Build();
    small.resize(10 * 1024, 0);
    auto patched = [](std::vector<uint8_t> bytes, size_t offset, int32_t value) {
        std::memcpy(&bytes[offset], &value, 4);
        return bytes;
    };
    std::vector<uint8_t> whole = W().Build();
    std::vector<uint8_t> reversed = whole;
    std::memcpy(reversed.data(), " FBA", 4);
    std::string atf = "ATF\t1.0\n8\t3\n\"AcquisitionMode=Episodic\"\n\"Comment=\"\n";
    // A synch entry whose samples lie beyond the end: the array moved to the
    // data's place and the data dropped behind it.
    std::vector<uint8_t> synch =
        W().SetMode(4).SetSamplesPerChannel(100).SetSynchArray({{0, 100}, {500, 100}}).Build();
    int32_t synchBlock;
    std::memcpy(&synchBlock, &synch[kSynchFirstBlock], 4);
    std::memmove(&synch[2048], &synch[size_t(synchBlock) * 512], 16);
    synch.resize(2048 + 16 + 250);
    const struct {
        const char* what;
        std::vector<uint8_t> bytes;
        int error;
    } files[] = {
        {"reversed signature", reversed, ABF_EUNKNOWNFILETYPE},
        {"text file", {atf.begin(), atf.end()}, ABF_EUNKNOWNFILETYPE},
        {"six bytes", {'A', 'B', 'F', ' ', 0, 0}, ABF_EUNKNOWNFILETYPE},
        {"empty", {}, ABF_EUNKNOWNFILETYPE},
        {"short header", {whole.begin(), whole.begin() + 2000}, ABF_EINVALIDFILE},
        {"one byte short", {whole.begin(), whole.end() - 1}, ABF_EREADDATA},
        {"huge episodes", patched(small, kSamplesPerEpisode, 0x7FFFFFFF), ABF_EREADDATA},
        {"huge episode count", patched(small, kEpisodeCount, 0x7FFFFFFF), ABF_EREADDATA},
        {"negative episode count", patched(small, kEpisodeCount, -2), ABF_EINVALIDFILE},
        {"data beyond the file", patched(small, kDataFirstBlock, 0x7FFFFFFF), ABF_EREADDATA},
        {"data before the file", patched(small, kDataFirstBlock, -4), ABF_EINVALIDFILE},
        {"synch entry beyond the file", patched(synch, kSynchFirstBlock, 4), ABF_EREADDATA},
    };
    for (const auto& f : files) {
        EXPECT_EQ(Open(WriteBytes(f.bytes)), f.error) << f.what;
        EXPECT_EQ(handle, -1) << f.what;
    }
}

TEST_F(ReaderTest, CallerHeaderThatLiesCannotMisleadTheReader) {
    ASSERT_EQ(Open(W().SetChannels({0, 1}).SetEpoch(0, 1, 5, 0, 10, 0)), 0);
    std::vector<float> v(samples + 1, 7.0f);
    int error = 0;
    AbfHeader bad = header;
    bad.samplesPerEpisode = 0x7FFFFFFF;
    bad.channelCount = 1;
    ASSERT_TRUE(AbfReadEpisodeChannel(handle, &bad, 1, 1, v.data(), nullptr, &error));
    EXPECT_EQ(v[samples], 7.0f) << "the read layout is the file's own";

    bad = header;
    bad.channelCount = 0;
    EXPECT_FALSE(AbfGetCommandWaveform(handle, &bad, 0, 1, v.data(), &error));
    bad = header;
    bad.samplingSequence[0] = -5;
    EXPECT_FALSE(AbfGetCommandWaveform(handle, &bad, -5, 1, v.data(), &error));
    bad = header;
    bad.samplesPerEpisode = -1;
    EXPECT_FALSE(AbfGetCommandWaveform(handle, &bad, 0, 1, v.data(), &error));
    EXPECT_EQ(error, ABF_EBADWAVEFORM);
    bad = header;
    bad.waveformSource = 2;
    bad.stimulusFirstBlock = 1;
    bad.stimulusEpisodeCount = 1;
    bad.samplesPerEpisode = 0x7FFFFFFF;
    EXPECT_FALSE(AbfGetCommandWaveform(handle, &bad, 0, 1, v.data(), &error));
    EXPECT_EQ(error, ABF_EREADDACEPISODE);
}

} // namespace
