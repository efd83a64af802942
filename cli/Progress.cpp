#include "cli/Progress.h"

#include <cstdio>
#include <unistd.h>

Progress::Progress(size_t total) : active_(total > 1 && isatty(STDERR_FILENO)), total_(total) {}

void Progress::Done(size_t done) {
    done_ = done;
    Draw();
}

void Progress::Show(const std::string& name) {
    name_ = name;
    Draw();
}

void Progress::Clear() {
    if (!drawn_)
        return;
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    drawn_ = false;
}

void Progress::Draw() {
    if (!active_)
        return;
    std::fprintf(stderr, "\r\033[K[%zu/%zu] %s", done_, total_, name_.c_str());
    std::fflush(stderr);
    drawn_ = true;
}
