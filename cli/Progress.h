// Progress of a batch on stderr ("[12/47] cell.abf"), drawn only when stderr
// is a terminal and more than one recording is analysed; nothing otherwise.
#pragma once

#include <cstddef>
#include <string>

class Progress {
public:
    explicit Progress(size_t total);

    // `done` recordings have finished.
    void Done(size_t done);
    // `name` is the recording whose result has just been printed.
    void Show(const std::string& name);
    // Removes the progress line (before other output, and at the end).
    void Clear();

private:
    void Draw();

    bool m_active;
    bool m_drawn = false;
    size_t m_total;
    size_t m_done = 0;
    std::string m_name;
};
