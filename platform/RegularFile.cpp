#include "platform/RegularFile.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

RegularFileRead ReadRegularFile(const std::string& path, std::string& contents, std::string& reason,
                                size_t limit) {
    contents.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        const int error = errno;
        reason = std::generic_category().message(error);
        return error == ENOENT ? RegularFileRead::Missing : RegularFileRead::Failed;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        reason = "not a regular file";
        return RegularFileRead::NotRegular;
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
