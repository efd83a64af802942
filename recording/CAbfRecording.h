// The program's one wrapper of the reader: an ABF file opened for the length of
// one load (or one command-line command). It opens the file, reads traces of a
// channel, command waveforms, the sample times and the episode start times, and
// closes the file when it goes away. Every operation that calls the reader
// returns how it ended as a LoadResult: the reader's error number and its text.
#pragma once

#include "abf/AbfHeader.h"
#include "recording/LoadResult.h"
#include "recording/SharedFloatArray.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CAbfRecording {
public:
    CAbfRecording();
    // Closes this object's file (only it: other threads may be reading theirs).
    ~CAbfRecording();
    CAbfRecording(const CAbfRecording&) = delete;
    CAbfRecording& operator=(const CAbfRecording&) = delete;

    // Opens `fileName` for reading (closing a file opened before). On success
    // SamplesPerTrace and EpisodeCount hold the reader's counts; a file with no
    // samples per episode fails as having invalid parameters.
    LoadResult Open(const std::string& fileName);

    // The channel a recording is analysed on: physical channel 1, which holds
    // the current in these recordings, or channel 0 when the file did not
    // sample channel 1. Reading a file that sampled neither fails with the
    // reader's "invalid channel number".
    int AnalysedChannel() const;

    // True when the file sampled physical channel `channel`.
    bool IsSampled(int channel) const;

    // The unit text of physical `channel` (e.g. "pA"), spaces trimmed; empty
    // when the header gives none or there is no such channel.
    std::string Unit(int channel) const;

    // Reads physical channel `channel` (0..15) of every episode, in physical
    // units, into `traces` (one freshly allocated array of SamplesPerTrace
    // floats per episode). Fails with the reader's error at the first episode
    // that cannot be read (earlier traces stay filled), or with 1008 when the
    // arrays cannot be allocated.
    LoadResult ReadAllTraces(std::vector<SharedFloatArray>& traces, int channel);

    // Reads channel `channel` of episode `episode` (from 1) into `values`,
    // resized to the samples read.
    LoadResult ReadTrace(int channel, uint32_t episode, std::vector<float>& values);

    // The command waveform of `episode` (from 1) as seen with `channel`
    // (SamplesPerTrace values, in the analog-output channel's units).
    LoadResult ReadCommandWaveform(std::vector<float>& waveform, int channel, uint32_t episode = 1);

    // The time of each of the SamplesPerTrace samples of one channel (see SampleTimes).
    std::vector<float> TimeAxis() const { return SampleTimes(*m_header, m_samplesPerTrace); }

    // Start time in milliseconds of the episode with 0-based index `episodeIndex`.
    LoadResult GetEpisodeStartTime(uint32_t episodeIndex, double& startMs, int channel);

    // Closes the file.
    void Close();

    bool IsOpen() const { return m_isOpen; }
    uint32_t SamplesPerTrace() const { return m_samplesPerTrace; }
    uint32_t EpisodeCount() const { return m_episodeCount; }
    const AbfHeader& Header() const { return *m_header; }
    int Handle() const { return m_fileHandle; }
    const std::string& FileName() const { return m_fileName; }

    // The time of each of `samplesPerTrace` samples of one channel, in
    // microseconds from the episode start, for a header's sample intervals,
    // clock-change point and channel count. Sample i of a channel lies at
    // multiplexed index i x (channels sampled); the first interval holds up to
    // the clock-change point, the second (the first when it is 0) after it.
    static std::vector<float> SampleTimes(const AbfHeader& header, uint32_t samplesPerTrace);

private:
    LoadResult Failed(int error) const { return LoadResult::FromReader(error, m_fileName); }

    bool m_isOpen = false;
    std::unique_ptr<AbfHeader> m_header;
    int32_t m_fileHandle = -1;
    std::string m_fileName;
    uint32_t m_samplesPerTrace = 0;
    uint32_t m_episodeCount = 0;
};
