#include "abf/SynchArray.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <unistd.h>

namespace {

constexpr size_t kEntryBytes = 12;
static_assert(sizeof(SynchEntry) == kEntryBytes);

// The file is unlinked as soon as it is open: only the descriptor refers to
// it, so nothing is left behind when the process is killed.
int MakeTempFile(const std::string& folder) {
    std::string pattern = (std::filesystem::path(folder) / "synchXXXXXX").string();
    int fd = mkstemp(pattern.data());
    if (fd >= 0)
        unlink(pattern.c_str());
    return fd;
}

} // namespace

SynchArray::~SynchArray() {
    if (fd_ >= 0)
        close(fd_);
}

bool SynchArray::Create() {
    std::error_code ec;
    std::filesystem::path folder = std::filesystem::temp_directory_path(ec);
    if (!ec)
        fd_ = MakeTempFile(folder.string());
    if (fd_ < 0)
        fd_ = MakeTempFile("/tmp");
    window_.reserve(kWindow);
    return fd_ >= 0;
}

bool SynchArray::Flush() {
    if (!windowDirty_)
        return true;
    const size_t bytes = window_.size() * kEntryBytes;
    const off_t at = static_cast<off_t>(windowFirst_) * static_cast<off_t>(kEntryBytes);
    const char* from = reinterpret_cast<const char*>(window_.data());
    size_t done = 0;
    while (done < bytes) {
        ssize_t n = pwrite(fd_, from + done, bytes - done, at + static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    windowDirty_ = false;
    return true;
}

bool SynchArray::Load(uint32_t first) {
    const uint32_t n = count_ - first < kWindow ? count_ - first : kWindow;
    window_.resize(n);
    const size_t bytes = size_t(n) * kEntryBytes;
    const off_t at = static_cast<off_t>(first) * static_cast<off_t>(kEntryBytes);
    char* into = reinterpret_cast<char*>(window_.data());
    size_t done = 0;
    while (done < bytes) {
        ssize_t got = pread(fd_, into + done, bytes - done, at + static_cast<off_t>(done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            window_.clear();
            windowFirst_ = count_; // nothing valid in memory
            return false;
        }
        done += static_cast<size_t>(got);
    }
    windowFirst_ = first;
    return true;
}

bool SynchArray::Append(const SynchEntry& entry) {
    if (fd_ < 0 || count_ == UINT32_MAX)
        return false;
    // Appends always go to the newest window.
    if (windowFirst_ + window_.size() != count_) {
        if (!Flush() || !Load(count_ / kWindow * kWindow))
            return false;
    }
    if (window_.size() == kWindow) {
        windowDirty_ = true;
        if (!Flush())
            return false;
        windowFirst_ = count_;
        window_.clear();
    }
    window_.push_back(entry);
    windowDirty_ = true;
    ++count_;
    return true;
}

bool SynchArray::Get(uint32_t index, SynchEntry* entry) {
    if (index >= count_)
        return false;
    if (index < windowFirst_ || index - windowFirst_ >= window_.size()) {
        if (!Flush() || !Load(index / kWindow * kWindow))
            return false;
    }
    *entry = window_[index - windowFirst_];
    return true;
}
