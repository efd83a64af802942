#include "recording/CAbfRecording.h"

#include "abf/Abf.h"

#include <new>
#include <utility>

namespace {

constexpr uint32_t kErrorBufferSize = 80; // every shown text is cut at 79 characters

} // namespace

std::string ComposeReaderErrorText(int error, const std::string& name) {
    char buffer[kErrorBufferSize] = {};
    if (AbfFormatErrorText(error, name.c_str(), buffer, kErrorBufferSize))
        return buffer;
    return "An unknown Error seems to have occurred within " + name + ".";
}

CAbfRecording::CAbfRecording() : header_(std::make_unique<AbfHeader>()) {}

CAbfRecording::~CAbfRecording() {
    if (isOpen_)
        Close();
    AbfCloseAllFiles();
}

void CAbfRecording::SetReaderError(int error, const std::string& name) {
    lastError_ = error;
    errorText_ = ComposeReaderErrorText(error, name);
}

bool CAbfRecording::Open(const std::string& fileName) {
    if (isOpen_)
        Close();
    // Always ask for the reader's default chunk length, whatever a file opened
    // before left in samplesPerTrace.
    uint32_t samples = 0;
    uint32_t episodes = 0;
    int handle = -1;
    int error = 0;
    samplesPerTrace_ = 0;
    episodeCount_ = 0;
    if (!AbfOpenForReading(fileName.c_str(), &handle, 0, header_.get(), &samples, &episodes,
                           &error)) {
        SetReaderError(error, fileName);
        return false;
    }
    fileHandle_ = handle;
    if (samples == 0) {
        // Nothing later could be indexed: treat the file as having invalid parameters.
        int ignored = 0;
        AbfCloseFile(fileHandle_, &ignored);
        SetReaderError(ABF_EINVALIDFILE, fileName);
        return false;
    }
    fileName_ = fileName;
    samplesPerTrace_ = samples;
    episodeCount_ = episodes;
    isOpen_ = true;
    return true;
}

bool CAbfRecording::ReadAllTraces(std::vector<SharedFloatArray>& traces, int channel) {
    if (!isOpen_) {
        errorText_ = "No ABF file has been specified.";
        return false;
    }
    try {
        traces.resize(episodeCount_);
        for (SharedFloatArray& trace : traces) {
            // Zeroed, so a trace the reader fills only partly never holds garbage.
            float* samples = new float[samplesPerTrace_]();
            trace = samples;
        }
    } catch (const std::bad_alloc&) {
        SetReaderError(ABF_EOUTOFMEMORY, fileName_);
        return false;
    }
    for (uint32_t episode = 1; episode <= episodeCount_; ++episode) {
        uint32_t sampleCount = samplesPerTrace_;
        int error = 0;
        if (!AbfReadEpisodeChannel(fileHandle_, header_.get(), channel, episode,
                                   traces[episode - 1].data(), &sampleCount, &error)) {
            SetReaderError(error, fileName_);
            return false;
        }
    }
    return true;
}

bool CAbfRecording::ReadCommandWaveform(std::vector<float>& waveform, int channel) {
    try {
        waveform.assign(samplesPerTrace_, 0.0f);
    } catch (const std::bad_alloc&) {
        SetReaderError(ABF_EOUTOFMEMORY, fileName_);
        return false;
    }
    int error = 0;
    if (!AbfGetCommandWaveform(fileHandle_, header_.get(), channel, 1, waveform.data(), &error)) {
        SetReaderError(error, fileName_);
        return false;
    }
    return true;
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

bool CAbfRecording::BuildTimeAxis(std::vector<float>& timeAxis) const {
    std::vector<float> times = SampleTimes(*header_, samplesPerTrace_);
    if (timeAxis.empty())
        timeAxis = std::move(times);
    else
        timeAxis.insert(timeAxis.end(), times.begin(), times.end());
    return true;
}

bool CAbfRecording::GetEpisodeStartTime(uint32_t episodeIndex, double& startMs, int channel) {
    int error = 0;
    if (!AbfGetEpisodeStartTime(fileHandle_, header_.get(), channel, episodeIndex + 1, &startMs,
                                &error)) {
        SetReaderError(error, fileName_);
        return false;
    }
    return true;
}

bool CAbfRecording::IsInvalidChannelError() const {
    return lastError_ == ABF_EINVALIDCHANNEL;
}

void CAbfRecording::Close() {
    int error = 0;
    if (!AbfCloseFile(fileHandle_, &error))
        SetReaderError(error, fileName_);
    isOpen_ = false;
}
