// What the acquisition program tells us after a recording, and where it leaves
// the path of the new file. The program broadcasts "ClampexBroadcastMsg" with
// one integer; for 20 it has just written the path of the new file into the
// value file below (the Linux stand-in for its registry value).
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
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

// A file's path, size and modification time: an announced file whose stamp
// has not changed holds nothing new.
struct FileStamp {
    std::string path;
    uint64_t size = 0;
    int64_t modifiedNs = 0;
    bool operator==(const FileStamp&) const = default;
};

// The stamp of `path`; nothing when the file cannot be looked at.
std::optional<FileStamp> StampOf(const std::string& path);

// Coalesces announcements: the acquisition program may announce the same file
// many times in a row, and each analysis writes and hands over a workbook. A
// file analysed with an unchanged stamp less than kRepeatWindow ago is a repeat.
class AnnouncementFilter {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::seconds kRepeatWindow{10};

    bool IsRepeat(const FileStamp& stamp, Clock::time_point now) const;
    // Notes that `stamp` has just been analysed (or tried), at `now`.
    void Analysed(const FileStamp& stamp, Clock::time_point now);

private:
    std::optional<FileStamp> m_last;
    Clock::time_point m_lastTime{};
};
