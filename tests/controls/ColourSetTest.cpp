#include "controls/ColourSet.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

// Item index of the first standard colour, after "None" and "Automatic".
constexpr int kStandard = 2;

TEST(ColourSet, FortyDistinctStandardColoursInGridOrderBetweenTheTextItems) {
    const TLColourSet set;
    std::set<ColourRef> distinct;
    for (const TLStandardColour& c : set.standardColours)
        distinct.insert(c.colour);
    EXPECT_EQ(distinct.size(), 40u);
    for (const auto& [index, name, colour] :
         {std::tuple{0, "Black", MakeColourRef(0, 0, 0)},
          std::tuple{31, "Grey-25%", MakeColourRef(192, 192, 192)},
          std::tuple{39, "White", MakeColourRef(255, 255, 255)}}) {
        EXPECT_EQ(set.ItemToolTip(kStandard + index), name);
        EXPECT_EQ(set.ItemColour(kStandard + index), colour) << name;
    }
}

TEST(ColourSet, OnlyANonStandardColourBecomesACustomColour) {
    TLColourSet set;
    EXPECT_EQ(set.SelectColour(MakeColourRef(255, 0, 0), false), kStandard + 16);
    EXPECT_EQ(set.SelectColour(kColourAutomatic, false), 1);
    EXPECT_EQ(set.SelectColour(kColourNone, false), 0);
    // No row is added while the popup is open.
    EXPECT_FALSE(set.AddCustomColour(MakeColourRef(1, 2, 3), true));
    EXPECT_EQ(set.FindItem(MakeColourRef(1, 2, 3)), -1);
    EXPECT_TRUE(set.customColours.empty());

    const ColourRef odd = MakeColourRef(1, 2, 3);
    const int item = set.SelectColour(odd, false);
    EXPECT_EQ(set.customColours, std::vector<ColourRef>{odd});
    EXPECT_EQ(item, kStandard + 40);
    EXPECT_EQ(set.ItemToolTip(item), "Custom Colour :[Red =   1, Blue =   3, Green =   2] ");
    EXPECT_EQ(CustomColourToolTip(MakeColourRef(255, 0, 7)),
              "Custom Colour :[Red = 255, Blue =   7, Green =   0] ");
    // Selecting it again adds nothing.
    EXPECT_EQ(set.SelectColour(odd, false), item);
    EXPECT_EQ(set.customColours, std::vector<ColourRef>{odd});
}

TEST(ColourSet, NinthCustomColourReplacesTheFirst) {
    TLColourSet set;
    for (std::uint8_t i = 1; i <= 8; ++i)
        EXPECT_TRUE(set.AddCustomColour(MakeColourRef(i, 1, 1), false));
    EXPECT_EQ(set.customColours.size(), 8u);
    EXPECT_TRUE(set.AddCustomColour(MakeColourRef(9, 1, 1), false));
    EXPECT_EQ(set.customColours.size(), 8u);
    EXPECT_EQ(set.customColours[0], MakeColourRef(9, 1, 1));
    EXPECT_EQ(set.customColours[1], MakeColourRef(2, 1, 1));
    EXPECT_TRUE(set.AddCustomColour(MakeColourRef(10, 1, 1), false));
    EXPECT_EQ(set.customColours[1], MakeColourRef(10, 1, 1));
    // Present colours are not added twice.
    EXPECT_FALSE(set.AddCustomColour(MakeColourRef(9, 1, 1), false));
    EXPECT_EQ(set.customColours[2], MakeColourRef(3, 1, 1));
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
