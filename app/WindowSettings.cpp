#include "app/WindowSettings.h"

#include "app/AnalysisSettings.h"
#include "platform/ProfileStore.h"

#include <algorithm>

void WindowPlacement::Load(IProfileStore& profile) {
    VisitWindowPlacement(*this, ProfileFieldReader(profile, kGeneralSettingsSection));
    width = std::max(0, width);
    height = std::max(0, height);
    maximised = maximised != 0 ? 1 : 0;
}

void WindowPlacement::Save(IProfileStore& profile) const {
    VisitWindowPlacement(*this, ProfileFieldWriter(profile, kGeneralSettingsSection));
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
    Slots files;
    VisitRecentFileSlots(files, ProfileFieldReader(profile, kGeneralSettingsSection));
    m_files.clear();
    for (const std::string& path : files) {
        if (path.empty())
            break;
        if (std::find(m_files.begin(), m_files.end(), path) == m_files.end())
            m_files.push_back(path);
    }
}

void RecentFiles::Save(IProfileStore& profile) const {
    Slots files;
    std::copy(m_files.begin(), m_files.end(), files.begin());
    VisitRecentFileSlots(files, ProfileFieldWriter(profile, kGeneralSettingsSection));
}
