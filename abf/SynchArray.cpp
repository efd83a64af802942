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
    if (m_fd >= 0)
        close(m_fd);
}

bool SynchArray::Create() {
    std::error_code ec;
    std::filesystem::path folder = std::filesystem::temp_directory_path(ec);
    if (!ec)
        m_fd = MakeTempFile(folder.string());
    if (m_fd < 0)
        m_fd = MakeTempFile("/tmp");
    m_window.reserve(kWindow);
    return m_fd >= 0;
}

bool SynchArray::Flush() {
    if (!m_windowDirty)
        return true;
    const size_t bytes = m_window.size() * kEntryBytes;
    const off_t at = static_cast<off_t>(m_windowFirst) * static_cast<off_t>(kEntryBytes);
    const char* from = reinterpret_cast<const char*>(m_window.data());
    size_t done = 0;
    while (done < bytes) {
        ssize_t n = pwrite(m_fd, from + done, bytes - done, at + static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    m_windowDirty = false;
    return true;
}

bool SynchArray::Load(uint32_t first) {
    const uint32_t n = m_count - first < kWindow ? m_count - first : kWindow;
    m_window.resize(n);
    const size_t bytes = size_t(n) * kEntryBytes;
    const off_t at = static_cast<off_t>(first) * static_cast<off_t>(kEntryBytes);
    char* into = reinterpret_cast<char*>(m_window.data());
    size_t done = 0;
    while (done < bytes) {
        ssize_t got = pread(m_fd, into + done, bytes - done, at + static_cast<off_t>(done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            m_window.clear();
            m_windowFirst = m_count; // nothing valid in memory
            return false;
        }
        done += static_cast<size_t>(got);
    }
    m_windowFirst = first;
    return true;
}

bool SynchArray::Append(const SynchEntry& entry) {
    if (m_fd < 0 || m_count == UINT32_MAX)
        return false;
    // Appends always go to the newest window.
    if (m_windowFirst + m_window.size() != m_count) {
        if (!Flush() || !Load(m_count / kWindow * kWindow))
            return false;
    }
    if (m_window.size() == kWindow) {
        m_windowDirty = true;
        if (!Flush())
            return false;
        m_windowFirst = m_count;
        m_window.clear();
    }
    m_window.push_back(entry);
    m_windowDirty = true;
    ++m_count;
    return true;
}

bool SynchArray::Get(uint32_t index, SynchEntry* entry) {
    if (index >= m_count)
        return false;
    if (index < m_windowFirst || index - m_windowFirst >= m_window.size()) {
        if (!Flush() || !Load(index / kWindow * kWindow))
            return false;
    }
    *entry = m_window[index - m_windowFirst];
    return true;
}
