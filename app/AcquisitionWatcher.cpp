#include "app/AcquisitionWatcher.h"

#include "platform/RegularFile.h"
#include "platform/UserConfigDirectory.h"

#include <sys/stat.h>

namespace {

// Strict UTF-8: no overlong forms, no surrogates, nothing beyond U+10FFFF.
bool IsValidUtf8(const std::string& text) {
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        size_t extra = 0;
        uint32_t minimum = 0;
        uint32_t code = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1, minimum = 0x80, code = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2, minimum = 0x800, code = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3, minimum = 0x10000, code = lead & 0x07;
        } else {
            return false;
        }
        if (text.size() - i <= extra)
            return false;
        for (size_t k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (next & 0x3F);
        }
        if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

} // namespace

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
