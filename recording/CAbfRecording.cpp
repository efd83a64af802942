#include "recording/CAbfRecording.h"

#include "abf/Abf.h"
#include "platform/TextTrim.h"
#include "recording/ChannelChoice.h"

#include <algorithm>
#include <iterator>
#include <new>

CAbfRecording::CAbfRecording() : m_header(std::make_unique<AbfHeader>()) {}

// Only this object's file is closed: the reader's other files may belong to
// loads running on other threads at the same time.
CAbfRecording::~CAbfRecording() {
    if (m_isOpen)
        Close();
}

LoadResult CAbfRecording::Open(const std::string& fileName) {
    if (m_isOpen)
        Close();
    // Always ask for the reader's default chunk length, whatever a file opened
    // before left in samplesPerTrace.
    uint32_t samples = 0;
    uint32_t episodes = 0;
    int handle = -1;
    int error = 0;
    m_samplesPerTrace = 0;
    m_episodeCount = 0;
    m_fileName = fileName;
    if (!AbfOpenForReading(fileName.c_str(), &handle, 0, m_header.get(), &samples, &episodes,
                           &error))
        return Failed(error);
    m_fileHandle = handle;
    if (samples == 0) {
        // Nothing later could be indexed: treat the file as having invalid parameters.
        int ignored = 0;
        AbfCloseFile(m_fileHandle, &ignored);
        return Failed(ABF_EINVALIDFILE);
    }
    m_samplesPerTrace = samples;
    m_episodeCount = episodes;
    m_isOpen = true;
    return {};
}

int CAbfRecording::AnalysedChannel() const {
    return IsSampled(1) ? 1 : 0;
}

bool CAbfRecording::IsSampled(int channel) const {
    return IsSampledChannel(*m_header, channel);
}

std::string CAbfRecording::Unit(int channel) const {
    if (channel < 0 || channel >= static_cast<int>(std::size(m_header->adcUnits)))
        return {};
    return std::string(FieldTextOf(m_header->adcUnits[channel], sizeof m_header->adcUnits[0]));
}

LoadResult CAbfRecording::ReadAllTraces(std::vector<SharedFloatArray>& traces, int channel) {
    try {
        traces.resize(m_episodeCount);
        for (SharedFloatArray& trace : traces) {
            // Zeroed, so a trace the reader fills only partly never holds garbage.
            float* samples = new float[m_samplesPerTrace]();
            trace = samples;
        }
    } catch (const std::bad_alloc&) {
        return Failed(ABF_EOUTOFMEMORY);
    }
    for (uint32_t episode = 1; episode <= m_episodeCount; ++episode) {
        uint32_t sampleCount = m_samplesPerTrace;
        int error = 0;
        if (!AbfReadEpisodeChannel(m_fileHandle, m_header.get(), channel, episode,
                                   traces[episode - 1].data(), &sampleCount, &error))
            return Failed(error);
    }
    return {};
}

LoadResult CAbfRecording::ReadTrace(int channel, uint32_t episode, std::vector<float>& values) {
    try {
        values.assign(m_samplesPerTrace, 0.0f);
    } catch (const std::bad_alloc&) {
        return Failed(ABF_EOUTOFMEMORY);
    }
    uint32_t sampleCount = 0;
    int error = 0;
    if (!AbfReadEpisodeChannel(m_fileHandle, m_header.get(), channel, episode, values.data(),
                               &sampleCount, &error))
        return Failed(error);
    values.resize(std::min<size_t>(sampleCount, values.size()));
    return {};
}

LoadResult CAbfRecording::ReadCommandWaveform(std::vector<float>& waveform, int channel,
                                              uint32_t episode) {
    try {
        waveform.assign(m_samplesPerTrace, 0.0f);
    } catch (const std::bad_alloc&) {
        return Failed(ABF_EOUTOFMEMORY);
    }
    int error = 0;
    if (!AbfGetCommandWaveform(m_fileHandle, m_header.get(), channel, episode, waveform.data(),
                               &error))
        return Failed(error);
    return {};
}

std::vector<float> CAbfRecording::SampleTimes(const AbfHeader& header, uint32_t samplesPerTrace) {
    const uint64_t n = samplesPerTrace;
    const uint64_t channels =
        header.channelCount > 1 ? static_cast<uint64_t>(header.channelCount) : 1;
    const uint64_t multiplexed = n * channels; // samples of all channels in one episode
    const double d1 = header.firstSampleInterval;
    const double d2 = header.secondSampleInterval == 0.0f ? d1 : header.secondSampleInterval;

    // Clock-change point, counted in multiplexed samples. A negative number
    // from a damaged header means no change, like one beyond the episode.
    const int64_t clockChange = header.clockChangeSample;
    uint64_t split = 0;
    if (clockChange == 0)
        split = multiplexed / 2;
    else if (clockChange < 0 || static_cast<uint64_t>(clockChange) > multiplexed ||
             clockChange == 1)
        split = multiplexed;
    else
        split = static_cast<uint64_t>(clockChange) - 1;
    const float base = static_cast<float>(static_cast<double>(split) * d1);

    std::vector<float> times;
    times.reserve(samplesPerTrace);
    for (uint64_t i = 0; i < n; ++i) {
        const uint64_t index = i * channels;
        if (index < split)
            times.push_back(static_cast<float>(static_cast<double>(index) * d1));
        else
            times.push_back(static_cast<float>(static_cast<double>(index - split) * d2 + base));
    }
    return times;
}

LoadResult CAbfRecording::GetEpisodeStartTime(uint32_t episodeIndex, double& startMs, int channel) {
    int error = 0;
    if (!AbfGetEpisodeStartTime(m_fileHandle, m_header.get(), channel, episodeIndex + 1, &startMs,
                                &error))
        return Failed(error);
    return {};
}

void CAbfRecording::Close() {
    // Nothing is written, so closing cannot lose anything; a failure only means
    // the slot was not open.
    AbfCloseFile(m_fileHandle, nullptr);
    m_isOpen = false;
}
