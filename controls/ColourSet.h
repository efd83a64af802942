// The colours a colour button offers: "None"/"Automatic" items, the 40 named
// standard colours, a row of custom colours and "More Colours...". One set per
// button unless several buttons share one. Plain C++; the popup well
// (controls/qt/CustWell.h) lays it out and draws it.
#pragma once

#include "platform/ColourRef.h"

#include <array>
#include <string>
#include <vector>

class ITLWellOwner;

struct TLStandardColour {
    ColourRef colour;
    const char* name;
};

// The 40 standard colours in grid order (8 per row).
extern const std::array<TLStandardColour, 40> kTLStandardColours;

// What an item of the well stands for.
enum class TLWellItemKind { None, Automatic, Standard, Custom, MoreColours, Undefined };

struct TLWellItem {
    TLWellItemKind kind;
    int index; // into the standard table or the custom colours; 0 otherwise
};

// Keys that move the highlight in the well.
enum class TLWellKey { Left, Right, Up, Down };

class TLColourSet {
public:
    // The set a colour button starts with: "None" and "Automatic" on top,
    // "More Colours..." below, the 40 standard colours, 8 columns, 18 x 18
    // cells, no custom rows.
    TLColourSet();

    int topMode = 3;    // 0 none, 1 "None", 2 "Automatic", 3 both ("None" first)
    int bottomMode = 1; // 0 none, 1 "More Colours...", 2 "Undefined!!", 3 both
    std::array<std::string, 2> topLabels{"None", "Automatic"};
    std::array<std::string, 2> bottomLabels{"More Colours...", "Undefined!!"};
    std::vector<TLStandardColour> standardColours;
    int columns = 8;
    int cellWidth = 18; // dialog units
    int cellHeight = 18;
    int customRows = 0;
    std::vector<ColourRef> customColours; // the count used is its size
    int lastWrittenSlot = -1;
    ITLWellOwner* owner = nullptr; // the button whose popup is open

    int TopCount() const;
    int BottomCount() const;
    int CustomCapacity() const { return columns * customRows; }

    // Adds `colour` as a custom colour unless it is a standard or present
    // custom colour or one of the two special values. A set without custom
    // rows gets one (unless its popup is open). When the row is full the slot
    // after the one written last is overwritten, so the oldest goes first.
    // Returns true when the custom colours changed.
    bool AddCustomColour(ColourRef colour, bool popupOpen);

    // Selects `colour` for the next opening of the well: adds it as a custom
    // colour when needed and returns its item index (-1 when it has none).
    int SelectColour(ColourRef colour, bool popupOpen);

    // Item index of `colour` without changing the set; -1 when absent.
    int FindItem(ColourRef colour) const;

    // Items in layout order: top items, standard cells, custom cells, bottom items.
    int ItemCount() const;
    TLWellItem ItemAt(int item) const;
    // The colour an item gives when chosen (the special values for the top items).
    ColourRef ItemColour(int item) const;
    // Tooltip: the standard colour's name, else the "Custom Colour :[...]" text;
    // the label for the text items.
    std::string ItemToolTip(int item) const;

    // Row and column of an item in the well's grid (top and bottom items fill a row each).
    struct GridPosition {
        int row;
        int column;
    };
    GridPosition PositionOf(int item) const;
    int RowCount() const;

    // The item the highlight moves to from `item` (-1: none highlighted yet).
    // Left and Right step through the items and wrap at the row ends and at
    // both ends of the well; Up and Down keep the column and stop at the
    // first and last row.
    int Navigate(int item, TLWellKey key) const;

private:
    int ItemInRow(int row, int column) const;
    int RowLength(int row) const;
    int StandardRows() const;
    int CustomItemRows() const;
};

// "Custom Colour :[Red = %3u, Blue = %3u, Green = %3u] " for `colour`.
std::string CustomColourToolTip(ColourRef colour);
