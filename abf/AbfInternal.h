// Steps of the reader shared between its source files.
#pragma once

#include "abf/AbfFile.h"
#include "abf/AbfHeader.h"

#include <cstdint>
#include <string>

// File kinds.
constexpr int16_t ABF_KIND_ABF = 1;
constexpr int16_t ABF_KIND_OLD10 = 2; // old format, first parameter 10
constexpr int16_t ABF_KIND_OLD1 = 3;  // old format, first parameter 1

// Operation modes.
constexpr int16_t ABF_MODE_VARLENEVENTS = 1;
constexpr int16_t ABF_MODE_FIXLENEVENTS = 2;
constexpr int16_t ABF_MODE_GAPFREE = 3;
constexpr int16_t ABF_MODE_OSCILLOSCOPE = 4;
constexpr int16_t ABF_MODE_EPISODIC = 5;

// Recognises the kind of the file open as `fd` from its first 40 bytes.
// Returns 0 with the kind, version and binary-format flag, or 2004.
int AbfRecogniseFile(int fd, int16_t* kind, float* version, bool* msBinaryFormat);

// Reads, normalises and upgrades the header of `file` into `header`.
// Returns 0 or a header error (2001, 2003, 2004).
int AbfReadHeader(AbfFile* file, AbfHeader* header);

// The section normalisation of a freshly read header: synch array and stimulus
// section counts below 1 remove the section, input and output ranges that are
// not above 1e-10 become 10 V.
void AbfNormaliseSections(AbfHeader* header);

// Brings a header of version `version` (below 1.5) up to 1.5. `fileName` is the
// recording's path (its folder completes a relative stimulus file path).
void AbfUpgradeHeader(AbfHeader* header, float version, const std::string& fileName);

// Builds the header of an old-format file (kinds 2 and 3). Returns 0 or 2001.
int AbfImportOldFormat(AbfFile* file, AbfHeader* header, int16_t kind, bool msBinaryFormat);

// Converts a Microsoft Binary Format single (as its little-endian bits) to IEEE.
float AbfMsBinaryToIeee(uint32_t bits);

// Converts `size` characters of `text` in place from code page 437 to Windows-1252.
void AbfOemToAnsi(char* text, size_t size);

// Sets up the episodes of an opened file (synch array, chunks). Returns 0 or
// an error number.
int AbfSetUpEpisodes(AbfFile* file, AbfHeader* header, uint32_t* samplesPerChannel, int flags);

// Checks the counts and offsets of a header before anything relies on them.
// Returns 0, 1005 (invalid header), 1006 (data beyond the file) or 1010
// (synch array beyond the file).
int AbfValidateLayout(const AbfHeader& header, uint64_t fileSize);

// Checks the scaling of every sampled channel: the input range, resolution,
// gains and scale factors in use must be finite and above 0, and a full-scale
// count must still give a finite value. Returns 0 or 1005.
int AbfValidateScaling(const AbfHeader& header);

// Byte offset of the data section and the sample size of `header`.
uint64_t AbfDataStart(const AbfHeader& header);
uint32_t AbfSampleSize(const AbfHeader& header);

// Position of physical channel `channel` in the scan; false when not sampled
// (or the header's channel count is out of range).
bool AbfChannelPosition(const AbfHeader& header, int channel, uint32_t* position);

// Factor and offset turning raw counts of physical channel `channel` (0..15)
// into physical units.
bool AbfAdcScaling(const AbfHeader& header, int channel, float* factor, float* offset);

// Factor turning raw counts of the active analog output into its units; false
// when the active output is not 0..3.
bool AbfDacFactor(const AbfHeader& header, float* factor);

// Reads the raw samples of `episode` (from 1) into `buffer` of
// file->samplesPerEpisode * file->sampleSize bytes, zero-filling past the
// episode's length. Returns 0 or an error number.
int AbfReadRawEpisode(AbfFile* file, uint32_t episode, void* buffer, uint32_t* length);

// Where episode `episode` (from 1) lies: length (samples, all channels) and
// byte offset from the data section start. Returns 0 or an error number.
int AbfLocateEpisode(AbfFile* file, uint32_t episode, uint32_t* length, uint64_t* offset);

// Float -> integer conversions that are defined for every input (NaN -> 0,
// out of range -> clamped).
int32_t AbfClampToInt32(double value);
