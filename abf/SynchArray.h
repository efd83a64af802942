// The virtual synch array of an open file: one (start, length, offset) entry
// per episode. The newest up to 100 entries live in memory; the others are
// spilled in order to a temporary file and read back a window at a time.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct SynchEntry {
    uint32_t start;  // synch time units
    uint32_t length; // samples, all channels
    uint32_t offset; // bytes from the start of the data section
};

class SynchArray {
public:
    static constexpr uint32_t kWindow = 100;

    SynchArray() = default;
    ~SynchArray();
    SynchArray(const SynchArray&) = delete;
    SynchArray& operator=(const SynchArray&) = delete;

    // Creates the backing temporary file ("synch" prefix, system temp folder,
    // unlinked at once so it cannot outlive the process); false when it cannot.
    bool Create();

    bool Append(const SynchEntry& entry);
    // Entry `index` (from 0); false when it is out of range or cannot be read.
    bool Get(uint32_t index, SynchEntry* entry);
    uint32_t Count() const { return m_count; }
    bool Empty() const { return m_count == 0; }

private:
    bool Flush();
    bool Load(uint32_t first);

    int m_fd = -1;
    uint32_t m_count = 0;
    std::vector<SynchEntry> m_window; // entries m_windowFirst .. m_windowFirst + size - 1
    uint32_t m_windowFirst = 0;
    bool m_windowDirty = false; // holds entries not yet written to the file
};
