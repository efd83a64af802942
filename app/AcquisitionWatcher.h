// What the acquisition program tells us after a recording, and where it leaves
// the path of the new file. The program broadcasts "ClampexBroadcastMsg" with
// one integer; for 20 it has just written the path of the new file into the
// value file below (the Linux stand-in for its registry value).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

inline constexpr char kClampexBroadcastName[] = "ClampexBroadcastMsg";

// Message parameters of the broadcast.
inline constexpr int32_t kClampexNotification4 = 4;
inline constexpr int32_t kClampexNotification5 = 5;
inline constexpr int32_t kClampexNewAcquisitionFile = 20;

enum class ClampexBroadcast {
    Ignored,           // a parameter we do not know
    Recognised,        // 4 or 5: known, nothing to do
    NewAcquisitionFile // 20: analyse the announced file
};

ClampexBroadcast ClassifyClampexBroadcast(int32_t parameter);

// The value buffer of the acquisition program's registry value, in bytes,
// the terminating zero included: a path of up to 511 bytes fits.
inline constexpr size_t kLastAcquiredFileBufferSize = 512;

// The value file: $XDG_CONFIG_HOME/Axon/Common Settings/LastAcquiredFile/ABF,
// with ~/.config for XDG_CONFIG_HOME when that is unset, empty or relative.
std::string LastAcquiredFileValuePath();

// Reads the path of the last acquired file from `valueFile` (UTF-8, one
// trailing line break ignored) into `path`. False, with `path` untouched, when
// the value is missing: the file does not exist or cannot be read, is empty,
// does not fit the value buffer, holds a zero byte or a line break inside, or
// is not valid UTF-8.
bool ReadLastAcquiredFile(const std::string& valueFile, std::string& path);
