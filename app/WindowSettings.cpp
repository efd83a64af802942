#include "app/WindowSettings.h"

#include "platform/ProfileStore.h"

#include <algorithm>

namespace {

constexpr char kSection[] = "settings";

std::string RecentKey(size_t index) {
    return "Recent File " + std::to_string(index + 1);
}

} // namespace

void WindowPlacement::Load(IProfileStore& profile) {
    x = profile.ReadInt(kSection, "WindowX", 0);
    y = profile.ReadInt(kSection, "WindowY", 0);
    width = std::max(0, profile.ReadInt(kSection, "WindowWidth", 0));
    height = std::max(0, profile.ReadInt(kSection, "WindowHeight", 0));
    maximised = profile.ReadInt(kSection, "WindowMaximized", 0) != 0 ? 1 : 0;
}

void WindowPlacement::Save(IProfileStore& profile) const {
    profile.WriteInt(kSection, "WindowX", x);
    profile.WriteInt(kSection, "WindowY", y);
    profile.WriteInt(kSection, "WindowWidth", width);
    profile.WriteInt(kSection, "WindowHeight", height);
    profile.WriteInt(kSection, "WindowMaximized", maximised);
}

void RecentFiles::Add(const std::string& path) {
    if (path.empty())
        return;
    Remove(path);
    m_files.insert(m_files.begin(), path);
    if (m_files.size() > kMaxFiles)
        m_files.resize(kMaxFiles);
}

void RecentFiles::Remove(const std::string& path) {
    m_files.erase(std::remove(m_files.begin(), m_files.end(), path), m_files.end());
}

void RecentFiles::Load(IProfileStore& profile) {
    m_files.clear();
    for (size_t i = 0; i < kMaxFiles; ++i) {
        const std::string path = profile.ReadString(kSection, RecentKey(i), "");
        if (path.empty())
            break;
        if (std::find(m_files.begin(), m_files.end(), path) == m_files.end())
            m_files.push_back(path);
    }
}

void RecentFiles::Save(IProfileStore& profile) const {
    for (size_t i = 0; i < kMaxFiles; ++i)
        profile.WriteString(kSection, RecentKey(i), i < m_files.size() ? m_files[i] : "");
}
