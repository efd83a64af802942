// The recording file reader: a procedural library over a process-wide table of
// 64 open files. Every function reports success as true and, on failure, an
// error number (see AbfErrors.h) through its `error` out-parameter when that is
// given. Nothing is thrown across this boundary. Not thread-safe: one thread.
#pragma once

#include "abf/AbfErrors.h"
#include "abf/AbfHeader.h"

#include <cstdint>

constexpr int ABF_MAXFILES = 64;

// Flags of AbfOpenForReading.
constexpr int ABF_OPEN_HEADER_ONLY = 1;  // read the header, set up no episodes
constexpr int ABF_OPEN_KEEP_OVERLAP = 2; // keep overlapping event-driven episodes at full length

// Opens `fileName` into the lowest free slot and reads, normalises and upgrades
// its header into `header`. On entry `samplesPerChannel` is the requested chunk
// length of a continuous recording (0: default); on success it is the samples
// of one channel in one episode (AbfHeader::samplesPerEpisode counts the
// samples of all channels) and `episodeCount` the number of episodes (both
// untouched with ABF_OPEN_HEADER_ONLY). On failure `handle` is -1 and no slot
// stays occupied.
bool AbfOpenForReading(const char* fileName, int* handle, int flags, AbfHeader* header,
                       uint32_t* samplesPerChannel, uint32_t* episodeCount, int* error);

// Closes the file in slot `handle` and removes its temporary file. 1002 for a
// handle that is not an open slot.
bool AbfCloseFile(int handle, int* error);

// Closes every open slot.
void AbfCloseAllFiles();

// Reads physical channel `channel` of `episode` (from 1) in physical units into
// `buffer`, which holds at least the samples per channel of one episode.
// `sampleCount` (may be null) receives the samples per channel read.
bool AbfReadEpisodeChannel(int handle, const AbfHeader* header, int channel, uint32_t episode,
                           float* buffer, uint32_t* sampleCount, int* error);

// Generates the command waveform of `episode` (from 1) as seen with analog-input
// channel `channel` into `buffer` (samples per channel of one episode), in the
// analog-output channel's units.
bool AbfGetCommandWaveform(int handle, const AbfHeader* header, int channel, uint32_t episode,
                           float* buffer, int* error);

// One enabled epoch of an episode's epoch waveform as one analog-input channel
// sees it.
struct AbfEpochSpan {
    int epoch = 0;           // the protocol's epoch number, 0..9
    int type = 0;            // 1 step, 2 ramp (every type but a step is generated as a ramp)
    uint32_t first = 0;      // first sample of the channel in the epoch, 0-based
    uint32_t count = 0;      // samples of the channel in the epoch (0: none, or cut off)
    double startLevel = 0.0; // level before the epoch: where a ramp starts from
    double level = 0.0;      // the epoch's level: where a ramp ends
};
constexpr int ABF_MAXEPOCHSPANS = 10;

// The enabled epochs of `episode` (from 1), in protocol order, with their
// sample positions for analog-input `channel`, cut at the end of the episode
// as the waveform is. `spans` holds ABF_MAXEPOCHSPANS elements; `count`
// receives how many were filled. A stimulus file waveform has no epochs (true,
// count 0). 1020 when the recording has no waveform, 1021 when the epoch
// waveform cannot be generated (as AbfGetCommandWaveform).
bool AbfGetEpochSpans(const AbfHeader* header, int channel, uint32_t episode, AbfEpochSpan* spans,
                      int* count, int* error);

// Start time of `episode` (from 1) in milliseconds, for channel `channel`.
bool AbfGetEpisodeStartTime(int handle, const AbfHeader* header, int channel, uint32_t episode,
                            double* startMs, int* error);

// Formats the text of error number `errorNumber` with `fileName` into `buffer`
// of `bufferSize` characters (cut at bufferSize - 1, terminated). False when no
// text is assigned to the number (the buffer then holds the fallback text) or
// when bufferSize is below 2 (the buffer is untouched).
bool AbfFormatErrorText(int errorNumber, const char* fileName, char* buffer, uint32_t bufferSize);
