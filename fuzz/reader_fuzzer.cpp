// Fuzz target: any byte sequence opened as a recording and read completely.
#include "fuzz/ReadEverything.h"

#include <cstdio>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    int fd = memfd_create("recording", MFD_CLOEXEC);
    if (fd < 0)
        return 0;
    size_t done = 0;
    while (done < size) {
        ssize_t n = write(fd, data + done, size - done);
        if (n <= 0)
            break;
        done += size_t(n);
    }
    const std::string path = "/proc/self/fd/" + std::to_string(fd);
    // Vary the open flags and the requested chunk length with the input.
    const int flags = size % 2 ? ABF_OPEN_KEEP_OVERLAP : 0;
    const uint32_t requested = size ? uint32_t(data[size - 1]) * 67 : 0;
    ReadEverything(path.c_str(), flags, requested);
    close(fd);
    return 0;
}
