#include "platform/qt/StableFileWatcher.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <vector>

StableFileWatcher::StableFileWatcher(std::function<bool(const std::string&)> wanted,
                                     std::function<bool(const std::string&)> onStable,
                                     std::chrono::milliseconds settlingPeriod)
    : wanted_(std::move(wanted)), onStable_(std::move(onStable)), period_(settlingPeriod) {
    check_.setSingleShot(true);
    QObject::connect(&check_, &QTimer::timeout, [this] { ReportSettled(); });
    QObject::connect(&watcher_, &QFileSystemWatcher::directoryChanged, [this] { Rescan(); });
    // Writes into a file already listed change no directory entry.
    QObject::connect(&watcher_, &QFileSystemWatcher::fileChanged, [this](const QString& path) {
        Update(QFileInfo(path), Clock::now());
        ScheduleCheck();
    });
}

bool StableFileWatcher::Watch(const std::string& folder, std::string& error) {
    if (!watcher_.files().isEmpty())
        watcher_.removePaths(watcher_.files());
    if (!watcher_.directories().isEmpty())
        watcher_.removePaths(watcher_.directories());
    files_.clear();
    check_.stop();
    folder_.clear();
    if (folder.empty())
        return true;
    const QString path = QFile::decodeName(QByteArray::fromStdString(folder));
    if (!QFileInfo(path).isDir()) {
        error = "'" + folder + "' is not a folder";
        return false;
    }
    if (!watcher_.addPath(path)) {
        error = "'" + folder + "' cannot be watched";
        return false;
    }
    folder_ = folder;
    Rescan();
    return true;
}

void StableFileWatcher::Rescan() {
    if (folder_.empty())
        return;
    const QDir dir(QFile::decodeName(QByteArray::fromStdString(folder_)));
    const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::Hidden, QDir::Name);
    const Clock::time_point now = Clock::now();
    std::map<std::string, Seen> known = std::move(files_);
    files_.clear();
    for (const QFileInfo& entry : entries) {
        const std::string path = QFile::encodeName(entry.absoluteFilePath()).toStdString();
        if (!wanted_(path))
            continue;
        if (auto it = known.find(path); it != known.end()) {
            files_.emplace(path, it->second);
            known.erase(it);
        }
        Update(entry, now);
    }
    // Files gone from the folder are forgotten (and so reported anew if they come back).
    for (const auto& [path, seen] : known)
        if (!seen.reported)
            watcher_.removePath(QFile::decodeName(QByteArray::fromStdString(path)));
    ScheduleCheck();
}

void StableFileWatcher::Update(const QFileInfo& entry, Clock::time_point now) {
    const std::string path = QFile::encodeName(entry.absoluteFilePath()).toStdString();
    if (!entry.exists()) {
        files_.erase(path);
        return;
    }
    Seen& seen = files_[path];
    const qint64 modified = entry.lastModified().toMSecsSinceEpoch();
    if (seen.size != entry.size() || seen.modified != modified) {
        // (Re)watched while it may still be written: appends change no directory entry.
        if (seen.reported || seen.size < 0)
            watcher_.addPath(entry.absoluteFilePath());
        seen = {entry.size(), modified, now, false};
    }
}

void StableFileWatcher::ReportSettled() {
    const Clock::time_point now = Clock::now();
    std::vector<std::string> pending;
    for (const auto& [path, seen] : files_)
        if (!seen.reported)
            pending.push_back(path);
    for (const std::string& path : pending)
        Update(QFileInfo(QFile::decodeName(QByteArray::fromStdString(path))), now);
    std::vector<std::string> settled;
    for (auto& [path, seen] : files_) {
        if (!seen.reported && now - seen.changedAt >= period_) {
            seen.reported = true;
            settled.push_back(path);
        }
    }
    for (const std::string& path : settled) {
        // A file stays watched only while it may still be written.
        if (onStable_(path))
            if (const auto it = files_.find(path); it != files_.end() && it->second.reported)
                watcher_.removePath(QFile::decodeName(QByteArray::fromStdString(path)));
    }
    ScheduleCheck();
}

void StableFileWatcher::ScheduleCheck() {
    Clock::time_point earliest = Clock::time_point::max();
    for (const auto& [path, seen] : files_)
        if (!seen.reported)
            earliest = std::min(earliest, seen.changedAt + period_);
    if (earliest == Clock::time_point::max()) {
        check_.stop();
        return;
    }
    const auto wait =
        std::chrono::duration_cast<std::chrono::milliseconds>(earliest - Clock::now());
    check_.start(std::max<std::chrono::milliseconds::rep>(wait.count(), 0) + 1);
}
