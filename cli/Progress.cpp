#include "cli/Progress.h"

#include <cstdio>
#include <unistd.h>

Progress::Progress(size_t total) : m_active(total > 1 && isatty(STDERR_FILENO)), m_total(total) {}

void Progress::Done(size_t done) {
    m_done = done;
    Draw();
}

void Progress::Show(const std::string& name) {
    m_name = name;
    Draw();
}

void Progress::Clear() {
    if (!m_drawn)
        return;
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    m_drawn = false;
}

void Progress::Draw() {
    if (!m_active)
        return;
    std::fprintf(stderr, "\r\033[K[%zu/%zu] %s", m_done, m_total, m_name.c_str());
    std::fflush(stderr);
    m_drawn = true;
}
