#include "app/qt/WatchedFolder.h"

#include "app/FolderWatchRules.h"
#include "export/WorkbookFiles.h"

CWatchedFolder::CWatchedFolder(std::function<void(const std::string&)> analyse,
                               std::chrono::milliseconds settlingPeriod)
    : m_analyse(std::move(analyse)),
      m_watcher([](const std::string& path) { return IsRecordingFileName(path); },
                [this](const std::string& path) { return OnSettled(path); }, settlingPeriod) {}

bool CWatchedFolder::Watch(const std::string& folder, std::string& error) {
    return m_watcher.Watch(folder, error);
}

bool CWatchedFolder::OnSettled(const std::string& path) {
    std::string reason;
    switch (DecideWatchedRecording(path, WorkbookPathFor(path), reason)) {
    case WatchedRecording::Incomplete:
        return false;
    case WatchedRecording::Analyse:
        m_analyse(path);
        break;
    case WatchedRecording::WorkbookExists:
        break;
    }
    return true;
}
