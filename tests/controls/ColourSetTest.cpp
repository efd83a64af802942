#include "controls/ColourSet.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// Item index of standard colour `i` in a set with both top items.
int Standard(int i) {
    return 2 + i;
}

} // namespace

TEST(ColourSet, StartsWithTheButtonDefaults) {
    const TLColourSet set;
    EXPECT_EQ(set.TopCount(), 2);
    EXPECT_EQ(set.BottomCount(), 1);
    EXPECT_EQ(set.columns, 8);
    EXPECT_EQ(set.cellWidth, 18);
    EXPECT_EQ(set.cellHeight, 18);
    EXPECT_EQ(set.customRows, 0);
    EXPECT_EQ(set.lastWrittenSlot, -1);
    EXPECT_EQ(set.ItemCount(), 2 + 40 + 1);
    EXPECT_EQ(set.ItemAt(0).kind, TLWellItemKind::None);
    EXPECT_EQ(set.ItemAt(1).kind, TLWellItemKind::Automatic);
    EXPECT_EQ(set.ItemAt(42).kind, TLWellItemKind::MoreColours);
    EXPECT_EQ(set.ItemColour(0), kColourNone);
    EXPECT_EQ(set.ItemColour(1), kColourAutomatic);
    EXPECT_EQ(set.ItemToolTip(42), "More Colours...");
    EXPECT_EQ(set.bottomLabels[1], "Undefined!!");
}

TEST(ColourSet, StandardColoursInGridOrderWithTheirNames) {
    const TLColourSet set;
    ASSERT_EQ(set.standardColours.size(), 40u);
    std::set<ColourRef> distinct;
    for (const TLStandardColour& c : set.standardColours)
        distinct.insert(c.colour);
    EXPECT_EQ(distinct.size(), 40u);
    EXPECT_EQ(set.ItemToolTip(Standard(0)), "Black");
    EXPECT_EQ(set.ItemColour(Standard(1)), MakeColourRef(153, 51, 0));
    EXPECT_EQ(set.ItemToolTip(Standard(9)), "Orange");
    EXPECT_EQ(set.ItemColour(Standard(9)), MakeColourRef(255, 102, 0));
    EXPECT_EQ(set.ItemToolTip(Standard(23)), "Grey-40%");
    EXPECT_EQ(set.ItemColour(Standard(23)), MakeColourRef(150, 150, 150));
    EXPECT_EQ(set.ItemToolTip(Standard(31)), "Grey-25%");
    EXPECT_EQ(set.ItemColour(Standard(31)), MakeColourRef(192, 192, 192));
    EXPECT_EQ(set.ItemToolTip(Standard(36)), "Light Turquoise");
    EXPECT_EQ(set.ItemColour(Standard(38)), MakeColourRef(204, 153, 255));
    EXPECT_EQ(set.ItemToolTip(Standard(39)), "White");
    EXPECT_EQ(set.ItemColour(Standard(39)), MakeColourRef(255, 255, 255));
}

TEST(ColourSet, CustomColourToolTipIsFixedWidth) {
    EXPECT_EQ(CustomColourToolTip(MakeColourRef(10, 20, 30)),
              "Custom Colour :[Red =  10, Blue =  30, Green =  20] ");
    EXPECT_EQ(CustomColourToolTip(MakeColourRef(255, 0, 7)),
              "Custom Colour :[Red = 255, Blue =   7, Green =   0] ");
}

TEST(ColourSet, SelectingANonStandardColourMakesItTheFirstCustomColour) {
    TLColourSet set;
    const ColourRef odd = MakeColourRef(1, 2, 3);
    const int item = set.SelectColour(odd, false);
    EXPECT_EQ(set.customRows, 1);
    ASSERT_EQ(set.customColours.size(), 1u);
    EXPECT_EQ(set.customColours[0], odd);
    EXPECT_EQ(item, 2 + 40);
    EXPECT_EQ(set.ItemAt(item).kind, TLWellItemKind::Custom);
    EXPECT_EQ(set.ItemToolTip(item), "Custom Colour :[Red =   1, Blue =   3, Green =   2] ");
    // Selecting it again adds nothing.
    EXPECT_EQ(set.SelectColour(odd, false), item);
    EXPECT_EQ(set.customColours.size(), 1u);
}

TEST(ColourSet, StandardAndSpecialColoursAddNothing) {
    TLColourSet set;
    EXPECT_EQ(set.SelectColour(MakeColourRef(255, 0, 0), false), Standard(16));
    EXPECT_EQ(set.SelectColour(kColourAutomatic, false), 1);
    EXPECT_EQ(set.SelectColour(kColourNone, false), 0);
    EXPECT_TRUE(set.customColours.empty());
    EXPECT_EQ(set.customRows, 0);
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
    EXPECT_EQ(set.lastWrittenSlot, 1);
    // Present colours are not added twice.
    EXPECT_FALSE(set.AddCustomColour(MakeColourRef(9, 1, 1), false));
    EXPECT_EQ(set.customColours[2], MakeColourRef(3, 1, 1));
}

TEST(ColourSet, NoRowIsAddedWhileThePopupIsOpen) {
    TLColourSet set;
    EXPECT_FALSE(set.AddCustomColour(MakeColourRef(1, 2, 3), true));
    EXPECT_TRUE(set.customColours.empty());
    EXPECT_EQ(set.FindItem(MakeColourRef(1, 2, 3)), -1);
}

TEST(ColourSet, LeftAndRightWrapAtTheRowEnds) {
    const TLColourSet set;
    EXPECT_EQ(set.Navigate(-1, TLWellKey::Right), 0);
    EXPECT_EQ(set.Navigate(0, TLWellKey::Right), 1);
    EXPECT_EQ(set.Navigate(1, TLWellKey::Right), Standard(0));
    EXPECT_EQ(set.Navigate(Standard(0), TLWellKey::Left), 1);
    EXPECT_EQ(set.Navigate(Standard(7), TLWellKey::Right), Standard(8));
    EXPECT_EQ(set.Navigate(Standard(8), TLWellKey::Left), Standard(7));
    EXPECT_EQ(set.Navigate(Standard(39), TLWellKey::Right), 42);
    // Both ends of the well join.
    EXPECT_EQ(set.Navigate(42, TLWellKey::Right), 0);
    EXPECT_EQ(set.Navigate(0, TLWellKey::Left), 42);
}

TEST(ColourSet, UpAndDownKeepTheColumn) {
    TLColourSet set;
    EXPECT_EQ(set.Navigate(Standard(3), TLWellKey::Down), Standard(11));
    EXPECT_EQ(set.Navigate(Standard(11), TLWellKey::Up), Standard(3));
    EXPECT_EQ(set.Navigate(Standard(3), TLWellKey::Up), 1);
    EXPECT_EQ(set.Navigate(1, TLWellKey::Up), 0);
    EXPECT_EQ(set.Navigate(0, TLWellKey::Up), 0);
    EXPECT_EQ(set.Navigate(1, TLWellKey::Down), Standard(0));
    EXPECT_EQ(set.Navigate(Standard(35), TLWellKey::Down), 42);
    EXPECT_EQ(set.Navigate(42, TLWellKey::Down), 42);
    // With three custom colours the row below the grid holds them.
    for (std::uint8_t i = 1; i <= 3; ++i)
        set.AddCustomColour(MakeColourRef(i, 2, 3), false);
    EXPECT_EQ(set.Navigate(Standard(33), TLWellKey::Down), 42 + 1);
    EXPECT_EQ(set.Navigate(Standard(37), TLWellKey::Down), 42 + 2);
    EXPECT_EQ(set.Navigate(42 + 2, TLWellKey::Down), 45);
    EXPECT_EQ(set.Navigate(45, TLWellKey::Up), 42);
}
