#include "platform/qt/StableFileWatcher.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <vector>

StableFileWatcher::StableFileWatcher(std::function<bool(const std::string&)> wanted,
                                     std::function<bool(const std::string&)> onStable,
                                     std::chrono::milliseconds settlingPeriod)
    : m_wanted(std::move(wanted)), m_onStable(std::move(onStable)), m_period(settlingPeriod) {
    m_check.setSingleShot(true);
    QObject::connect(&m_check, &QTimer::timeout, [this] { ReportSettled(); });
    QObject::connect(&m_watcher, &QFileSystemWatcher::directoryChanged, [this] { Rescan(); });
    // Writes into a file already listed change no directory entry.
    QObject::connect(&m_watcher, &QFileSystemWatcher::fileChanged, [this](const QString& path) {
        Update(QFileInfo(path), Clock::now());
        ScheduleCheck();
    });
}

bool StableFileWatcher::Watch(const std::string& folder, std::string& error) {
    if (!m_watcher.files().isEmpty())
        m_watcher.removePaths(m_watcher.files());
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    m_files.clear();
    m_check.stop();
    m_folder.clear();
    if (folder.empty())
        return true;
    const QString path = QFile::decodeName(QByteArray::fromStdString(folder));
    if (!QFileInfo(path).isDir()) {
        error = "'" + folder + "' is not a folder";
        return false;
    }
    if (!m_watcher.addPath(path)) {
        error = "'" + folder + "' cannot be watched";
        return false;
    }
    m_folder = folder;
    Rescan();
    return true;
}

void StableFileWatcher::Rescan() {
    if (m_folder.empty())
        return;
    const QDir dir(QFile::decodeName(QByteArray::fromStdString(m_folder)));
    const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::Hidden, QDir::Name);
    const Clock::time_point now = Clock::now();
    std::map<std::string, Seen> known = std::move(m_files);
    m_files.clear();
    for (const QFileInfo& entry : entries) {
        const std::string path = QFile::encodeName(entry.absoluteFilePath()).toStdString();
        if (!m_wanted(path))
            continue;
        if (auto it = known.find(path); it != known.end()) {
            m_files.emplace(path, it->second);
            known.erase(it);
        }
        Update(entry, now);
    }
    // Files gone from the folder are forgotten (and so reported anew if they come back).
    for (const auto& [path, seen] : known)
        if (!seen.reported)
            m_watcher.removePath(QFile::decodeName(QByteArray::fromStdString(path)));
    ScheduleCheck();
}

void StableFileWatcher::Update(const QFileInfo& entry, Clock::time_point now) {
    const std::string path = QFile::encodeName(entry.absoluteFilePath()).toStdString();
    if (!entry.exists()) {
        m_files.erase(path);
        return;
    }
    Seen& seen = m_files[path];
    const qint64 modified = entry.lastModified().toMSecsSinceEpoch();
    if (seen.size != entry.size() || seen.modified != modified) {
        // (Re)watched while it may still be written: appends change no directory entry.
        if (seen.reported || seen.size < 0)
            m_watcher.addPath(entry.absoluteFilePath());
        seen = {entry.size(), modified, now, false};
    }
}

void StableFileWatcher::ReportSettled() {
    const Clock::time_point now = Clock::now();
    std::vector<std::string> pending;
    for (const auto& [path, seen] : m_files)
        if (!seen.reported)
            pending.push_back(path);
    for (const std::string& path : pending)
        Update(QFileInfo(QFile::decodeName(QByteArray::fromStdString(path))), now);
    std::vector<std::string> settled;
    for (auto& [path, seen] : m_files) {
        if (!seen.reported && now - seen.changedAt >= m_period) {
            seen.reported = true;
            settled.push_back(path);
        }
    }
    for (const std::string& path : settled) {
        // A file stays watched only while it may still be written.
        if (m_onStable(path))
            if (const auto it = m_files.find(path); it != m_files.end() && it->second.reported)
                m_watcher.removePath(QFile::decodeName(QByteArray::fromStdString(path)));
    }
    ScheduleCheck();
}

void StableFileWatcher::ScheduleCheck() {
    Clock::time_point earliest = Clock::time_point::max();
    for (const auto& [path, seen] : m_files)
        if (!seen.reported)
            earliest = std::min(earliest, seen.changedAt + m_period);
    if (earliest == Clock::time_point::max()) {
        m_check.stop();
        return;
    }
    const auto wait =
        std::chrono::duration_cast<std::chrono::milliseconds>(earliest - Clock::now());
    m_check.start(std::max<std::chrono::milliseconds::rep>(wait.count(), 0) + 1);
}
