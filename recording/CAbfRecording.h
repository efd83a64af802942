// One ABF file opened through the reader for the length of one load: it opens
// the file, reads the traces of one channel, the command waveform, the sample
// times and the episode start times, and closes the file when it goes away.
// Every operation that calls the reader and fails keeps the reader's error
// number and a ready-made message text for it.
#pragma once

#include "abf/AbfHeader.h"
#include "recording/SharedFloatArray.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CAbfRecording {
public:
    CAbfRecording();
    // Closes this object's file, then every file the reader still has open.
    ~CAbfRecording();
    CAbfRecording(const CAbfRecording&) = delete;
    CAbfRecording& operator=(const CAbfRecording&) = delete;

    // Opens `fileName` for reading (closing a file opened before). On success
    // samplesPerTrace and episodeCount hold the reader's counts.
    bool Open(const std::string& fileName);

    // Reads physical channel `channel` (0..15) of every episode, in physical
    // units, into `traces` (one freshly allocated array of samplesPerTrace
    // floats per episode). Fails with "No ABF file has been specified." when
    // nothing is open, with the reader's error at the first episode that cannot
    // be read (earlier traces stay filled), or with 1008 when the arrays cannot
    // be allocated.
    bool ReadAllTraces(std::vector<SharedFloatArray>& traces, int channel);

    // The command waveform of episode 1 as seen with `channel` (samplesPerTrace
    // values, in the analog-output channel's units).
    bool ReadCommandWaveform(std::vector<float>& waveform, int channel);

    // Appends the time of each of the samplesPerTrace samples of one channel,
    // in microseconds from the episode start. Sample i of a channel lies at
    // multiplexed index i x (channels sampled); the first interval holds up to
    // the clock-change point, the second (the first when it is 0) after it.
    // Reads only the header; always succeeds.
    bool BuildTimeAxis(std::vector<float>& timeAxis) const;

    // Start time in milliseconds of the episode with 0-based index `episodeIndex`.
    bool GetEpisodeStartTime(uint32_t episodeIndex, double& startMs, int channel);

    // True when the last failure was the reader's "invalid channel number".
    bool IsInvalidChannelError() const;
    std::string ErrorText() const { return errorText_; }
    int LastError() const { return lastError_; }

    // Closes the file; a failure only sets the error text.
    void Close();

    bool IsOpen() const { return isOpen_; }
    uint32_t SamplesPerTrace() const { return samplesPerTrace_; }
    uint32_t EpisodeCount() const { return episodeCount_; }
    const AbfHeader& Header() const { return *header_; }
    const std::string& FileName() const { return fileName_; }

    // The sample times of one channel for a header's sample intervals, clock
    // change point and channel count, samplesPerTrace values (see BuildTimeAxis).
    static std::vector<float> SampleTimes(const AbfHeader& header, uint32_t samplesPerTrace);

private:
    // Keeps `error` and its message text for `name`.
    void SetReaderError(int error, const std::string& name);

    bool isOpen_ = false;
    std::unique_ptr<AbfHeader> header_;
    int32_t fileHandle_ = -1;
    std::string fileName_;
    uint32_t samplesPerTrace_ = 0;
    uint32_t episodeCount_ = 0;
    std::string errorText_;
    int32_t lastError_ = 0;
};

// The text shown for reader error `error` on file `name`: the reader's text cut
// at 79 characters, or "An unknown Error seems to have occurred within <name>."
// when the reader assigns no text to the number.
std::string ComposeReaderErrorText(int error, const std::string& name);
