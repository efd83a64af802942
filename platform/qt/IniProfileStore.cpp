#include "platform/qt/IniProfileStore.h"

#include "platform/RegularFile.h"
#include "platform/UserConfigDirectory.h"

#include <QSaveFile>
#include <QString>

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>

namespace {

// Decimal text of a 32-bit value, signed or unsigned; false for anything else.
bool ParseInt32(const std::string& text, int& value) {
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (first != last && *first == '+')
        ++first;
    if (first != last && *first == '-' && first != text.data())
        return false; // "+-5"
    int64_t parsed = 0;
    const auto [end, ec] = std::from_chars(first, last, parsed);
    if (ec != std::errc() || end != last || first == last)
        return false;
    if (parsed < INT32_MIN || parsed > static_cast<int64_t>(UINT32_MAX))
        return false;
    value = static_cast<int>(static_cast<uint32_t>(parsed));
    return true;
}

bool Exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

} // namespace

IniProfileStore::IniProfileStore(const std::string& applicationName,
                                 const std::string& explicitPath)
    : m_path(explicitPath.empty() ? DefaultPath(applicationName) : explicitPath) {
    std::string text;
    std::string reason;
    switch (ReadRegularFile(m_path, text, reason)) {
    case RegularFileRead::Read:
        m_values = IniValues::Parse(text);
        break;
    case RegularFileRead::Missing:
        m_missing = true;
        break;
    case RegularFileRead::NotRegular:
    case RegularFileRead::Failed:
        m_unusable = true;
        m_readProblem = reason;
        break;
    }
}

IniProfileStore::~IniProfileStore() {
    Sync();
}

std::string IniProfileStore::DefaultPath(const std::string& applicationName) {
    return (UserConfigDirectory() / "Tessaran" / (applicationName + ".ini")).string();
}

std::string IniProfileStore::ApplicationNameFromExecutable(const std::string& executablePath) {
    return std::filesystem::path(executablePath).stem().string();
}

int IniProfileStore::ReadInt(const std::string& section, const std::string& key, int defaultValue) {
    const std::string* stored = m_values.Find(section, key);
    int parsed = 0;
    return stored && ParseInt32(*stored, parsed) ? parsed : defaultValue;
}

std::string IniProfileStore::ReadString(const std::string& section, const std::string& key,
                                        const std::string& defaultValue) {
    const std::string* stored = m_values.Find(section, key);
    return stored ? *stored : defaultValue;
}

bool IniProfileStore::WriteInt(const std::string& section, const std::string& key, int value) {
    return WriteString(section, key, std::to_string(value));
}

bool IniProfileStore::WriteString(const std::string& section, const std::string& key,
                                  const std::string& value) {
    if (m_unusable && m_keptCopy.empty())
        MoveUnusableFileAside();
    m_values.Set(section, key, value);
    m_written = true;
    return true;
}

std::string IniProfileStore::KeptCopyPath() const {
    if (!m_keptCopy.empty())
        return m_keptCopy;
    const std::string base = m_path + ".unreadable";
    std::string candidate = base;
    for (int number = 2; Exists(candidate) && number < 100000; ++number)
        candidate = base + "." + std::to_string(number);
    return candidate;
}

// Never replaces an earlier copy: a name taken meanwhile moves on to the next.
void IniProfileStore::MoveUnusableFileAside() {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string target = KeptCopyPath();
        if (::renameat2(AT_FDCWD, m_path.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) ==
            0) {
            m_keptCopy = target;
            return;
        }
        if (errno == EINVAL || errno == ENOSYS) { // no such rename on this file system
            if (!Exists(target) && std::rename(m_path.c_str(), target.c_str()) == 0)
                m_keptCopy = target;
            return;
        }
        if (errno != EEXIST)
            return; // Sync reports the file that cannot be written
    }
}

bool IniProfileStore::Sync() {
    if (!m_written) // a store that was only read creates nothing
        return true;
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(m_path).parent_path(), ignored);
    QSaveFile file(QString::fromStdString(m_path));
    const std::string text = m_values.Format();
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), static_cast<qint64>(text.size())) !=
            static_cast<qint64>(text.size()) ||
        !file.commit()) {
        m_writeError = file.errorString().toStdString();
        return false;
    }
    m_written = false;
    m_writeError.clear();
    return true;
}

std::string IniProfileStore::UnusableFileMessage() const {
    return "The settings file " + Quoted(m_path) + " cannot be read (" + m_readProblem +
           "). The default settings are used; the file will be kept as " + Quoted(KeptCopyPath()) +
           " when the settings are saved.";
}

std::string IniProfileStore::WriteFailureMessage() const {
    return "The settings could not be saved to " + Quoted(m_path) + ":\n" + m_writeError;
}
