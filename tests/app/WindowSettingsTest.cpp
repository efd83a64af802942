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

// Profiles written by earlier versions keep working: every key by its name.
TEST(WindowPlacement, StoredUnderItsNamesAndOnlyWithASize) {
    MemoryProfileStore profile;
    WindowPlacement placement;
    placement.Load(profile);
    EXPECT_FALSE(placement.IsStored());
    placement = {11, -12, 1300, 800, 1};
    placement.Save(profile);
    const std::pair<const char*, const char*> stored[] = {
        {"WindowX", "11"},       {"WindowY", "-12"},       {"WindowWidth", "1300"},
        {"WindowHeight", "800"}, {"WindowMaximized", "1"},
    };
    for (const auto& [key, text] : stored)
        EXPECT_EQ(profile.ReadString("settings", key, "missing"), text) << key;
    WindowPlacement read;
    read.Load(profile);
    EXPECT_TRUE(read.IsStored());
    EXPECT_EQ(read.y, -12);
    EXPECT_EQ(read.height, 800);
    EXPECT_EQ(read.maximised, 1);
    profile.WriteInt("settings", "WindowWidth", -5);
    read.Load(profile);
    EXPECT_FALSE(read.IsStored());
}
