#include "app/AcquisitionWatcher.h"

#include "platform/RegularFile.h"
#include "platform/UserConfigDirectory.h"
#include "platform/Utf8.h"

#include <sys/stat.h>

ClampexBroadcast ClassifyClampexBroadcast(int32_t parameter) {
    switch (parameter) {
    case kClampexNewAcquisitionFile:
        return ClampexBroadcast::NewAcquisitionFile;
    case kClampexNotification4:
    case kClampexNotification5:
        return ClampexBroadcast::Recognised;
    default:
        return ClampexBroadcast::Ignored;
    }
}

std::string LastAcquiredFileValuePath() {
    return (UserConfigDirectory() / "Axon" / "Common Settings" / "LastAcquiredFile" / "ABF")
        .string();
}

bool ReadLastAcquiredFile(const std::string& valueFile, std::string& path) {
    // One byte more than the buffer holds is enough to know the value is too long.
    std::string text;
    std::string reason;
    if (ReadRegularFile(valueFile, text, reason, kLastAcquiredFileBufferSize + 2) !=
        RegularFileRead::Read)
        return false;

    if (!text.empty() && text.back() == '\n') {
        text.pop_back();
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
    }
    if (text.empty() || text.size() >= kLastAcquiredFileBufferSize)
        return false;
    if (text.find_first_of(std::string("\0\r\n", 3)) != std::string::npos)
        return false;
    if (!IsValidUtf8(text))
        return false;
    path = text;
    return true;
}

std::optional<FileStamp> StampOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return std::nullopt;
    return FileStamp{path, static_cast<uint64_t>(info.st_size),
                     int64_t(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

bool AnnouncementFilter::IsRepeat(const FileStamp& stamp, Clock::time_point now) const {
    return m_last && *m_last == stamp && now - m_lastTime < kRepeatWindow;
}

void AnnouncementFilter::Analysed(const FileStamp& stamp, Clock::time_point now) {
    m_last = stamp;
    m_lastTime = now;
}
