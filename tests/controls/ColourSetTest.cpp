#include "controls/ColourSet.h"

#include <gtest/gtest.h>

// Item index of the first standard colour, after "None" and "Automatic".
constexpr int kStandard = 2;

TEST(ColourSet, OnlyNonStandardColoursBecomeCustomAndTheNinthReplacesTheFirst) {
    TLColourSet set;
    EXPECT_EQ(set.SelectColour(MakeColourRef(255, 0, 0), false), kStandard + 16);
    EXPECT_EQ(set.SelectColour(kColourAutomatic, false), 1);
    EXPECT_EQ(set.SelectColour(kColourNone, false), 0);
    // No row is added while the popup is open.
    const ColourRef odd = MakeColourRef(1, 2, 3);
    EXPECT_FALSE(set.AddCustomColour(odd, true));
    EXPECT_EQ(set.FindItem(odd), -1);
    const int item = set.SelectColour(odd, false);
    EXPECT_EQ(set.customColours, std::vector<ColourRef>{odd});
    EXPECT_EQ(item, kStandard + 40);
    EXPECT_EQ(set.ItemToolTip(item), "Custom Colour :[Red =   1, Blue =   3, Green =   2] ");

    for (std::uint8_t i = 2; i <= 9; ++i)
        EXPECT_TRUE(set.AddCustomColour(MakeColourRef(i, 1, 1), false));
    EXPECT_EQ(set.customColours[0], MakeColourRef(9, 1, 1));
    EXPECT_TRUE(set.AddCustomColour(MakeColourRef(10, 1, 1), false));
    EXPECT_EQ(set.customColours[1], MakeColourRef(10, 1, 1));
    // Present colours are not added twice.
    EXPECT_FALSE(set.AddCustomColour(MakeColourRef(9, 1, 1), false));
    EXPECT_EQ(set.customColours[2], MakeColourRef(3, 1, 1));
    EXPECT_EQ(set.customColours.size(), 8u);
}

TEST(ColourSet, NavigationWrapsSidewaysAndKeepsTheColumnUpAndDown) {
    TLColourSet set;
    using K = TLWellKey;
    EXPECT_EQ(set.Navigate(kStandard + 7, K::Right), kStandard + 8);
    // Both ends of the well join sideways; up and down stop there.
    EXPECT_EQ(set.Navigate(42, K::Right), 0);
    EXPECT_EQ(set.Navigate(0, K::Left), 42);
    EXPECT_EQ(set.Navigate(0, K::Up), 0);
    EXPECT_EQ(set.Navigate(42, K::Down), 42);
    EXPECT_EQ(set.Navigate(kStandard + 35, K::Down), 42);
    // With three custom colours the row below the grid holds them.
    for (std::uint8_t i = 1; i <= 3; ++i)
        set.AddCustomColour(MakeColourRef(i, 2, 3), false);
    EXPECT_EQ(set.Navigate(kStandard + 33, K::Down), 42 + 1);
    EXPECT_EQ(set.Navigate(kStandard + 37, K::Down), 42 + 2);
    EXPECT_EQ(set.Navigate(42 + 2, K::Down), 45);
    EXPECT_EQ(set.Navigate(45, K::Up), 42);
}
