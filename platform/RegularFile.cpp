#include "platform/RegularFile.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

int OpenRegularFile(const char* path, uint64_t& size, int& error) {
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        error = errno;
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        error = 0;
        return -1;
    }
    size = static_cast<uint64_t>(info.st_size);
    return fd;
}

RegularFileRead ReadRegularFile(const std::string& path, std::string& contents, std::string& reason,
                                size_t limit) {
    contents.clear();
    uint64_t size = 0;
    int error = 0;
    const int fd = OpenRegularFile(path.c_str(), size, error);
    if (fd < 0 && error == 0) {
        reason = "not a regular file";
        return RegularFileRead::NotRegular;
    }
    if (fd < 0) {
        reason = std::generic_category().message(error);
        return error == ENOENT ? RegularFileRead::Missing : RegularFileRead::Failed;
    }
    char buffer[65536];
    while (contents.size() < limit) {
        const size_t wanted = std::min(sizeof buffer, limit - contents.size());
        const ssize_t got = ::read(fd, buffer, wanted);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            reason = std::generic_category().message(errno);
            ::close(fd);
            contents.clear();
            return RegularFileRead::Failed;
        }
        if (got == 0)
            break;
        contents.append(buffer, static_cast<size_t>(got));
    }
    ::close(fd);
    return RegularFileRead::Read;
}
