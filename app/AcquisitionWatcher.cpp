#include "app/AcquisitionWatcher.h"

#include "platform/UserConfigDirectory.h"

#include <filesystem>
#include <fstream>

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
    std::error_code error;
    if (!std::filesystem::is_regular_file(valueFile, error))
        return false;
    std::ifstream in(valueFile, std::ios::binary);
    if (!in)
        return false;
    // One byte more than the buffer holds is enough to know the value is too long.
    std::string text(kLastAcquiredFileBufferSize + 2, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (in.bad())
        return false;
    text.resize(static_cast<size_t>(in.gcount()));

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
