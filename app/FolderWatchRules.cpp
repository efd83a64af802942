#include "app/FolderWatchRules.h"

#include "abf/Abf.h"
#include "platform/TextTrim.h"
#include "recording/LoadResult.h"

#include <filesystem>

bool IsRecordingFileName(const std::string& path) {
    return EndsWithNoCase(path, ".abf") || EndsWithNoCase(path, ".dat");
}

WatchedRecording DecideWatchedRecording(const std::string& path, const std::string& workbookPath,
                                        std::string& reason) {
    std::error_code ignored;
    if (std::filesystem::exists(std::filesystem::symlink_status(workbookPath, ignored)))
        return WatchedRecording::WorkbookExists;
    int handle = -1;
    int error = 0;
    if (!AbfOpenForReading(path.c_str(), &handle, 0, nullptr, nullptr, nullptr, &error)) {
        reason = LoadResult::FromReader(error, path).ReaderText();
        return WatchedRecording::Incomplete;
    }
    AbfCloseFile(handle, nullptr);
    return WatchedRecording::Analyse;
}
