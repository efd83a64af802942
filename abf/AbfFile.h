// The per-file state of the reader and the process-wide table of open files.
#pragma once

#include "abf/AbfHeader.h"
#include "abf/SynchArray.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

constexpr uint32_t ABF_BLOCKSIZE = 512;
constexpr uint32_t ABF_MAXCHANNELS = 16;
constexpr uint32_t ABF_MAXDACS = 4;
constexpr uint32_t ABF_MAXEPOCHS = 10;
constexpr uint32_t ABF_NOSTART = 0xFFFFFFFFu; // synch entry start: not recorded

struct AbfFile {
    AbfFile() = default;
    ~AbfFile();
    AbfFile(const AbfFile&) = delete;
    AbfFile& operator=(const AbfFile&) = delete;

    std::string name; // whole path, never cut
    int fd = -1;
    uint64_t fileSize = 0;
    std::unique_ptr<SynchArray> synch;
    uint32_t episodeCount = 0;
    uint32_t acquiredSamples = 0; // all channels
    bool hasSynchArray = false;
    bool overlapped = false;
    std::vector<int16_t> cache; // raw samples of one episode (floats are 2 elements each)
    int64_t cachedEpisode = -1;
    uint32_t cachedLength = 0;
    uint32_t lastEpisodeSamples = 0; // last chunk of a continuous recording, all channels

    // Layout captured at opening; reads rely on these, not on the caller's header.
    AbfHeader header{};
    uint64_t dataStart = 0;         // bytes from the start of the file
    uint32_t sampleSize = 2;        // 2 or 4 bytes
    uint32_t channels = 1;          // 1..16
    uint32_t samplesPerEpisode = 0; // all channels

    // Bytes from the data section start to the end of the file.
    uint64_t DataBytesAvailable() const { return fileSize > dataStart ? fileSize - dataStart : 0; }
};

// The file in slot `handle`, or null (and *error = 1002) when the handle is not
// an open slot.
AbfFile* AbfGetOpenFile(int handle, int* error);

// Reads exactly `size` bytes at `offset`; false on a failed or short read.
bool AbfReadAt(int fd, uint64_t offset, void* buffer, size_t size);

// Writes `value` to `*error` when error is given; returns false for chaining.
inline bool AbfFail(int* error, int value) {
    if (error)
        *error = value;
    return false;
}
