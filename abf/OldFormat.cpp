// Import of the old-format data files (kinds 2 and 3) into an ABF header.
//
// The layout of their parameter block is not documented anywhere at hand, so
// the mapping below is provisional: it covers what episodic analysis needs and
// is the one place to change when real files show otherwise. The files start
// with a block of 80 floats (IEEE or Microsoft Binary Format), a 77-byte
// comment block and an 80-byte channel block, whose first 16 bytes are the
// sampling sequence (physical channel per scan position, signed bytes).
#include "abf/Abf.h"
#include "abf/AbfInternal.h"

#include <cmath>
#include <cstring>

namespace {

constexpr size_t kParameterCount = 80;
constexpr size_t kCommentBytes = 77;
constexpr size_t kChannelBytes = 80;

enum class Field {
    OperationMode,
    ChannelCount,
    SamplesPerEpisode,
    EpisodeCount,
    FirstSampleInterval,
    AdcRange,
    AdcResolution,
    DataFirstBlock,
    SynchFirstBlock,
    SynchEntryCount,
    AcquiredSamples,
    StartToStart,
    ProgrammableGain, // 16 values, physical channels 0..15
};

struct OldParameter {
    size_t index; // into the 80-float block
    Field field;
};

// The provisional mapping: parameter index -> header field. Index 0 is the
// file kind (1 or 10) and index 8 the format version; neither is listed.
constexpr OldParameter kOldParameters[] = {
    {1, Field::OperationMode},     {2, Field::ChannelCount},        {3, Field::SamplesPerEpisode},
    {4, Field::EpisodeCount},      {5, Field::FirstSampleInterval}, {6, Field::AdcRange},
    {7, Field::AdcResolution},     {9, Field::DataFirstBlock},      {10, Field::SynchFirstBlock},
    {11, Field::SynchEntryCount},  {12, Field::AcquiredSamples},    {13, Field::StartToStart},
    {14, Field::ProgrammableGain},
};

int16_t ToInt16(float value) {
    int32_t v = AbfClampToInt32(value);
    return int16_t(v < INT16_MIN ? INT16_MIN : v > INT16_MAX ? INT16_MAX : v);
}

void Apply(AbfHeader* h, const float* p, const OldParameter& parameter) {
    const float v = p[parameter.index];
    switch (parameter.field) {
    case Field::OperationMode:
        h->operationMode = v == 0 ? ABF_MODE_EPISODIC : ToInt16(v);
        break;
    case Field::ChannelCount:
        h->channelCount = ToInt16(v);
        break;
    case Field::SamplesPerEpisode:
        h->samplesPerEpisode = AbfClampToInt32(v);
        break;
    case Field::EpisodeCount:
        h->episodeCount = AbfClampToInt32(v);
        break;
    case Field::FirstSampleInterval:
        h->firstSampleInterval = v;
        break;
    case Field::AdcRange:
        h->adcRange = v;
        break;
    case Field::AdcResolution:
        h->adcResolution = AbfClampToInt32(v);
        break;
    case Field::DataFirstBlock:
        h->dataFirstBlock = v == 0 ? 1 : AbfClampToInt32(v);
        break;
    case Field::SynchFirstBlock:
        h->synchFirstBlock = AbfClampToInt32(v);
        break;
    case Field::SynchEntryCount:
        h->synchEntryCount = AbfClampToInt32(v);
        break;
    case Field::AcquiredSamples:
        h->acquiredSampleCount = AbfClampToInt32(v);
        break;
    case Field::StartToStart:
        h->episodeStartToStart = v;
        break;
    case Field::ProgrammableGain:
        for (size_t j = 0; j < ABF_MAXCHANNELS; ++j)
            h->programmableGain[j] = p[parameter.index + j] == 0 ? 1.0f : p[parameter.index + j];
        break;
    }
}

// Version-dependent defaults: files before 5.0 did not record the acquired
// sample count, and files before 5.2 came from 12-bit converters.
void ApplyVersionDefaults(AbfHeader* h, int16_t kind, float version) {
    const bool kind3 = kind == ABF_KIND_OLD1;
    if (kind3 && version < 5.0f)
        h->acquiredSampleCount = AbfClampToInt32(double(h->episodeCount) * h->samplesPerEpisode);
    if (!(h->adcRange > 1e-10f))
        h->adcRange = 10.0f;
    if (h->adcResolution < 1)
        h->adcResolution = kind3 && version >= 5.2f ? 32768 : 2048;
}

} // namespace

int AbfImportOldFormat(AbfFile* file, AbfHeader* h, int16_t kind, bool msBinaryFormat) {
    float p[kParameterCount];
    char comment[kCommentBytes];
    unsigned char channels[kChannelBytes];
    if (!AbfReadAt(file->fd, 0, p, sizeof p) ||
        !AbfReadAt(file->fd, sizeof p, comment, sizeof comment) ||
        !AbfReadAt(file->fd, sizeof p + sizeof comment, channels, sizeof channels))
        return ABF_HEHEADERREAD;
    if (msBinaryFormat)
        for (float& value : p) {
            uint32_t bits;
            std::memcpy(&bits, &value, 4);
            value = AbfMsBinaryToIeee(bits);
        }
    const float version = p[8];

    std::memset(h, 0, sizeof *h);
    std::memcpy(h->signature, "ABF ", 4);
    h->fileVersion = 1.0f;
    for (const OldParameter& parameter : kOldParameters)
        Apply(h, p, parameter);
    ApplyVersionDefaults(h, kind, version);
    for (size_t i = 0; i < ABF_MAXCHANNELS; ++i)
        // One signed byte per entry: 0x80 and above are the negative "unused" marks.
        h->samplingSequence[i] =
            static_cast<int16_t>(channels[i] < 0x80 ? channels[i] : channels[i] - 0x100);
    std::memcpy(h->fileComment, comment, sizeof h->fileComment);
    for (size_t j = 0; j < ABF_MAXCHANNELS; ++j) {
        h->instrumentScaleFactor[j] = 1.0f;
        h->channelSetting1178[j] = 100000.0f;
    }
    for (size_t d = 0; d < ABF_MAXDACS; ++d)
        h->dacScaleFactor[d] = 1.0f;
    h->dacResolution = h->adcResolution;
    h->sampleFormat = 0;
    h->waveformSource = 0;
    h->fileKind = kind;
    h->msBinaryFormat = msBinaryFormat ? 1 : 0;
    AbfNormaliseSections(h);

    // The recording may have been cut short: keep what the file holds.
    const int64_t headerBytes =
        int64_t(h->dataFirstBlock) * ABF_BLOCKSIZE + int64_t(h->synchEntryCount) * 8;
    int64_t available = (int64_t(file->fileSize) - headerBytes) / 2;
    if (available < 0)
        available = 0;
    if (h->acquiredSampleCount > available) {
        if (h->operationMode != ABF_MODE_VARLENEVENTS && h->operationMode != ABF_MODE_GAPFREE) {
            if (h->samplesPerEpisode >= 1) {
                h->episodeCount = int32_t(available / h->samplesPerEpisode);
                if (h->synchEntryCount > 0)
                    h->synchEntryCount = h->episodeCount;
                h->acquiredSampleCount = h->episodeCount * h->samplesPerEpisode;
            }
        } else {
            h->acquiredSampleCount = int32_t(available);
        }
    }
    AbfUpgradeHeader(h, h->fileVersion, file->name);
    return 0;
}
