// Watches one folder through the platform's file notifications (inotify on
// Linux, through QFileSystemWatcher) and reports each wanted file once its size
// and modification time have stayed the same for a settling period: a file
// still being written or copied is reported after its last byte. A file is
// reported again only after it changes, and noticed changing only while its
// receiver has not taken it as complete. Runs on the thread's Qt event loop;
// the only timer is the one re-check at the end of the settling period.
#pragma once

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

#include <chrono>
#include <functional>
#include <map>
#include <string>

class StableFileWatcher {
public:
    using Clock = std::chrono::steady_clock;

    // `wanted` picks the files to watch by path; `onStable` receives each one
    // once it has settled and returns false when the file is not complete yet
    // (it is then reported again after its next change; a writer may pause
    // longer than the settling period). The callbacks run on the event loop's thread.
    StableFileWatcher(std::function<bool(const std::string& path)> wanted,
                      std::function<bool(const std::string& path)> onStable,
                      std::chrono::milliseconds settlingPeriod = std::chrono::seconds(2));
    StableFileWatcher(const StableFileWatcher&) = delete;
    StableFileWatcher& operator=(const StableFileWatcher&) = delete;

    // Starts watching `folder` (stops watching the previous one); the files
    // already there are taken as new. Empty: watch nothing. False with `error`
    // set when the folder cannot be watched.
    bool Watch(const std::string& folder, std::string& error);

    const std::string& Folder() const { return m_folder; }

private:
    struct Seen {
        qint64 size = -1;
        qint64 modified = 0; // ms since the epoch
        Clock::time_point changedAt;
        bool reported = false;
    };

    void Rescan();
    void Update(const QFileInfo& entry, Clock::time_point now);
    void ReportSettled();
    void ScheduleCheck();

    std::function<bool(const std::string&)> m_wanted;
    std::function<bool(const std::string&)> m_onStable;
    std::chrono::milliseconds m_period;
    std::string m_folder;
    QFileSystemWatcher m_watcher;
    QTimer m_check;
    std::map<std::string, Seen> m_files;
};
