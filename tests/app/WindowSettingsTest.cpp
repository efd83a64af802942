#include "app/WindowSettings.h"
#include "platform/ProfileStore.h"

#include <gtest/gtest.h>

#include <string>

TEST(RecentFiles, NewestFirstNoRepeatsAtMostEight) {
    RecentFiles recent;
    for (int i = 1; i <= 9; ++i)
        recent.Add("/data/" + std::to_string(i) + ".abf");
    ASSERT_EQ(recent.Files().size(), RecentFiles::kMaxFiles); // the first is gone
    EXPECT_EQ(recent.Files().back(), "/data/2.abf");
    recent.Add("/data/10.abf");
    recent.Add("");
    ASSERT_EQ(recent.Files().size(), RecentFiles::kMaxFiles);
    EXPECT_EQ(recent.Files().front(), "/data/10.abf");
    EXPECT_EQ(recent.Files().back(), "/data/3.abf");
    recent.Add("/data/5.abf");
    EXPECT_EQ(recent.Files()[0], "/data/5.abf");
    EXPECT_EQ(recent.Files()[6], "/data/4.abf");

    MemoryProfileStore profile;
    recent.Save(profile);
    EXPECT_EQ(profile.ReadString("settings", "Recent File 8", ""), "/data/3.abf");
    // A hand-edited profile: a repeat is read once, an empty value ends the list.
    profile.WriteString("settings", "Recent File 2", "/data/5.abf");
    profile.WriteString("settings", "Recent File 4", "");
    RecentFiles read;
    read.Load(profile);
    EXPECT_EQ(read.Files(), (std::vector<std::string>{"/data/5.abf", "/data/9.abf"}));
    read.Save(profile);
    EXPECT_EQ(profile.ReadString("settings", "Recent File 3", "x"), "");
}

TEST(WindowPlacement, StoredOnlyWithASize) {
    MemoryProfileStore profile;
    WindowPlacement placement;
    placement.Load(profile);
    EXPECT_FALSE(placement.IsStored());
    placement = {10, -20, 1300, 800, 1};
    placement.Save(profile);
    WindowPlacement read;
    read.Load(profile);
    EXPECT_TRUE(read.IsStored());
    EXPECT_EQ(read.y, -20);
    EXPECT_EQ(read.height, 800);
    EXPECT_EQ(read.maximised, 1);
    profile.WriteInt("settings", "WindowWidth", -5);
    read.Load(profile);
    EXPECT_FALSE(read.IsStored());
}

// Profiles written by earlier versions keep working: every key by its name.
TEST(WindowSettingsKeys, EveryValueLivesUnderItsStoredName) {
    MemoryProfileStore profile;
    const WindowPlacement placement{11, 12, 1300, 800, 1};
    placement.Save(profile);
    RecentFiles recent;
    for (int i = 8; i >= 1; --i)
        recent.Add("/data/" + std::to_string(i) + ".abf");
    recent.Save(profile);
    const std::pair<const char*, const char*> stored[] = {{"WindowX", "11"},
                                                          {"WindowY", "12"},
                                                          {"WindowWidth", "1300"},
                                                          {"WindowHeight", "800"},
                                                          {"WindowMaximized", "1"},
                                                          {"Recent File 1", "/data/1.abf"},
                                                          {"Recent File 2", "/data/2.abf"},
                                                          {"Recent File 3", "/data/3.abf"},
                                                          {"Recent File 4", "/data/4.abf"},
                                                          {"Recent File 5", "/data/5.abf"},
                                                          {"Recent File 6", "/data/6.abf"},
                                                          {"Recent File 7", "/data/7.abf"},
                                                          {"Recent File 8", "/data/8.abf"}};
    for (const auto& [key, text] : stored)
        EXPECT_EQ(profile.ReadString("settings", key, "missing"), text) << key;
}
