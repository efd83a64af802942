#include "export/WorkbookFiles.h"

#include "export/XlsxWriter.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <string_view>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

std::string RecordingBaseName(const std::string& recordingPath) {
    return fs::path(recordingPath).stem().string();
}

std::string WorkbookPathFor(const std::string& recordingPath) {
    return recordingPath + ".xlsx";
}

std::string ChartsPdfPathFor(const std::string& workbookPath) {
    const std::string extension = ".xlsx";
    std::string stem = workbookPath;
    if (stem.size() > extension.size() && stem.ends_with(extension))
        stem.resize(stem.size() - extension.size());
    return stem + ".charts.pdf";
}

namespace {

std::string SystemText(int error) {
    return std::generic_category().message(error);
}

// Creates an empty file with a fresh name next to `path`; returns its name, or
// an empty text with errno set.
std::string CreateTempBeside(const std::string& path) {
    const fs::path target(path);
    std::string hidden(1, '.');
    hidden += target.filename().string();
    const std::string stem = (target.parent_path() / hidden).string();
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, ".%06x.tmp",
                      static_cast<unsigned>(random() & 0xFFFFFF));
        std::string candidate = stem + suffix;
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            return candidate;
        }
        if (errno != EEXIST)
            return {};
    }
    errno = EEXIST;
    return {};
}

int FlushFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const int result = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    return result;
}

void FlushFolderOf(const std::string& path) {
    fs::path folder = fs::path(path).parent_path();
    if (folder.empty())
        folder = fs::path(".");
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd); // best effort: the data itself is already on disk
        ::close(fd);
    }
}

// Moves `from` to `to` unless `to` exists; 0, EEXIST or another errno.
int RenameNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    // File systems without the no-replace rename: a hard link fails on an existing name.
    if (::link(from.c_str(), to.c_str()) != 0)
        return errno;
    ::unlink(from.c_str());
    return 0;
}

// ".NAME.xlsx.1a2b3c.tmp" (or ".pdf"): the temporary files CreateTempBeside makes.
bool IsOwnTempName(const std::string& name) {
    constexpr size_t kSuffix = 11; // ".1a2b3c.tmp"
    if (name.size() < 2 + kSuffix || name[0] != '.' || !name.ends_with(".tmp") ||
        name[name.size() - kSuffix] != '.')
        return false;
    for (size_t i = name.size() - kSuffix + 1; i < name.size() - 4; ++i)
        if (std::strchr("0123456789abcdef", name[i]) == nullptr || name[i] == '\0')
            return false;
    const std::string target = name.substr(1, name.size() - kSuffix - 1);
    auto endsWith = [&target](std::string_view extension) {
        return target.size() > extension.size() && target.ends_with(extension);
    };
    return endsWith(".xlsx") || endsWith(".pdf");
}

// Removes the regular files (not links) of `folder` that `wanted` picks by
// name and that were last written before `limit`; quietly skips what it cannot.
void RemoveFilesWrittenBefore(const fs::path& folder, fs::file_time_type limit,
                              const std::function<bool(const fs::path& name)>& wanted) {
    std::error_code error;
    for (fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, error), end;
         !error && it != end; it.increment(error)) {
        std::error_code ignored;
        if (wanted(it->path().filename()) && it->is_regular_file(ignored) &&
            !it->is_symlink(ignored) && it->last_write_time(ignored) < limit)
            fs::remove(it->path(), ignored);
    }
}

// A write killed between creating its temporary file and renaming it leaves
// the file behind; those of this writer older than an hour (no write takes
// that long) are removed whenever another file is written into the folder.
void RemoveStaleTempFiles(const fs::path& folder) {
    RemoveFilesWrittenBefore(folder, fs::file_time_type::clock::now() - std::chrono::hours(1),
                             [](const fs::path& name) { return IsOwnTempName(name.string()); });
}

// The per-user temporary folder's path, whether it exists or not.
fs::path UserTempFolderPath() {
    std::error_code error;
    fs::path base = fs::temp_directory_path(error);
    if (error)
        base = "/tmp";
    return base / ("tessaran-" + std::to_string(::getuid()));
}

// The replaced file's permission bits go to its replacement, so a workbook
// kept private stays private.
void KeepPermissionsOf(const std::string& path, const std::string& temp) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0)
        ::chmod(temp.c_str(), info.st_mode & 07777);
}

} // namespace

SaveStatus SaveFileAtomically(const std::string& path, bool replace,
                              const std::function<bool(const std::string&, std::string&)>& write,
                              std::string& reason) {
    std::error_code ignored;
    if (fs::is_directory(path, ignored)) {
        reason = SystemText(EISDIR);
        return SaveStatus::Failed;
    }
    // A device, FIFO or socket under the name is never replaced by a file.
    const fs::file_status existing = fs::status(path, ignored);
    if (fs::exists(existing) && !fs::is_regular_file(existing)) {
        reason = "it exists and is not a regular file";
        return SaveStatus::Failed;
    }
    if (!replace && fs::exists(fs::symlink_status(path, ignored)))
        return SaveStatus::Exists;
    RemoveStaleTempFiles(fs::path(path).parent_path());

    const std::string temp = CreateTempBeside(path);
    if (temp.empty()) {
        reason = SystemText(errno);
        return SaveStatus::Failed;
    }
    int error = 0;
    if (!write(temp, reason)) {
        ::unlink(temp.c_str());
        return SaveStatus::Failed;
    }
    if ((error = FlushFile(temp)) != 0) {
        ::unlink(temp.c_str());
        reason = SystemText(error);
        return SaveStatus::Failed;
    }
    if (replace) {
        KeepPermissionsOf(path, temp);
        error = ::rename(temp.c_str(), path.c_str()) == 0 ? 0 : errno;
    } else
        error = RenameNoReplace(temp, path);
    if (error != 0) {
        ::unlink(temp.c_str());
        if (error == EEXIST && !replace)
            return SaveStatus::Exists;
        reason = SystemText(error);
        return SaveStatus::Failed;
    }
    FlushFolderOf(path);
    return SaveStatus::Saved;
}

SaveStatus SaveWorkbookFile(const Workbook& workbook, const std::string& path, bool replace,
                            std::string& reason, const RowProgress& progress) {
    return SaveFileAtomically(
        path, replace,
        [&](const std::string& temp, std::string& why) {
            return WriteXlsxFile(workbook, temp, why, progress);
        },
        reason);
}

bool UserTempFolder(std::string& folder, std::string& reason) {
    const fs::path path = UserTempFolderPath();
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
        reason = SystemText(errno);
        return false;
    }
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        reason = SystemText(errno);
        return false;
    }
    // Another user's folder (or a link planted in its place) must not receive our files.
    if (!S_ISDIR(info.st_mode) || info.st_uid != ::getuid() || (info.st_mode & 077) != 0) {
        reason = SystemText(EACCES);
        return false;
    }
    folder = path.string();
    return true;
}

SaveStatus SaveWorkbookUnderFreeName(const Workbook& workbook, const std::string& folder,
                                     const std::string& fileName, std::string& path,
                                     std::string& reason) {
    const fs::path name(fileName);
    const std::string stem = name.stem().string();
    const std::string extension = name.extension().string();
    for (int number = 1; number <= 1000; ++number) {
        const std::string candidate =
            number == 1 ? fileName : stem + " (" + std::to_string(number) + ")" + extension;
        path = (fs::path(folder) / candidate).string();
        const SaveStatus status = SaveWorkbookFile(workbook, path, false, reason);
        if (status != SaveStatus::Exists)
            return status;
    }
    reason = SystemText(EEXIST);
    return SaveStatus::Failed;
}

void RemoveOldShownWorkbooks() {
    std::string folder;
    std::string reason;
    std::error_code error;
    // Only look at a folder that exists; UserTempFolder would create it.
    if (!fs::is_directory(UserTempFolderPath(), error) || !UserTempFolder(folder, reason))
        return;
    RemoveFilesWrittenBefore(folder, fs::file_time_type::clock::now() - std::chrono::hours(24),
                             [](const fs::path& name) { return name.extension() == ".xlsx"; });
}
