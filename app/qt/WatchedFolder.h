// The window's watched folder: each recording that turns up there is handed
// on once it is complete (its size has settled and the reader opens it) and
// only when its workbook does not exist yet, so a restart redoes nothing.
// Runs on the window's event loop through the platform's file notifications.
#pragma once

#include "platform/qt/StableFileWatcher.h"

#include <chrono>
#include <functional>
#include <string>

class CWatchedFolder {
public:
    // `analyse` receives the path of each complete recording without a
    // workbook; `settlingPeriod` is how long its size must stay the same.
    explicit CWatchedFolder(std::function<void(const std::string& path)> analyse,
                            std::chrono::milliseconds settlingPeriod = std::chrono::seconds(2));

    // Watches `folder` instead of the present one (empty: none); the
    // recordings already there count as new. False with `error` set when the
    // folder cannot be watched (nothing is watched then).
    bool Watch(const std::string& folder, std::string& error);
    const std::string& Folder() const { return m_watcher.Folder(); }

private:
    // False while the recording is not complete: it is looked at again after
    // its next change.
    bool OnSettled(const std::string& path);

    std::function<void(const std::string&)> m_analyse;
    StableFileWatcher m_watcher;
};
