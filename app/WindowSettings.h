// What the main window keeps between runs besides the analysis settings: its
// place and size on the screen and the recordings opened last. Both live in
// profile section "settings", declared as rows of the settings table
// (VisitWindowPlacement and VisitRecentFileSlots in app/AnalysisSettings.h).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class IProfileStore;

// The window's normal (not maximised) frame in screen pixels; width 0 means
// never stored (the window then takes its default size).
struct WindowPlacement {
    int32_t x = 0;         // "WindowX"
    int32_t y = 0;         // "WindowY"
    int32_t width = 0;     // "WindowWidth"
    int32_t height = 0;    // "WindowHeight"
    int32_t maximised = 0; // "WindowMaximized"

    bool IsStored() const { return width > 0 && height > 0; }
    void Load(IProfileStore& profile);
    void Save(IProfileStore& profile) const;
};

// The most recently opened recordings, newest first, without repeats.
class RecentFiles {
public:
    static constexpr size_t kMaxFiles = 8;
    using Slots = std::array<std::string, kMaxFiles>;

    // Puts `path` first (moving it up when it is already listed) and drops the
    // oldest beyond kMaxFiles. An empty path is ignored.
    void Add(const std::string& path);
    // Takes `path` off the list (e.g. a file that no longer opens).
    void Remove(const std::string& path);
    const std::vector<std::string>& Files() const { return m_files; }

    // Keys "Recent File 1" .. "Recent File 8"; empty values end the list.
    void Load(IProfileStore& profile);
    void Save(IProfileStore& profile) const;

private:
    std::vector<std::string> m_files;
};
