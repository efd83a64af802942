#include "controls/ColourSet.h"

#include <algorithm>
#include <cstdio>

const std::array<TLStandardColour, 40> kTLStandardColours = {{
    {MakeColourRef(0, 0, 0), "Black"},
    {MakeColourRef(153, 51, 0), "Brown"},
    {MakeColourRef(51, 51, 0), "Olive Green"},
    {MakeColourRef(0, 51, 0), "Dark Green"},
    {MakeColourRef(0, 51, 102), "Dark Teal"},
    {MakeColourRef(0, 0, 128), "Dark Blue"},
    {MakeColourRef(51, 51, 153), "Indigo"},
    {MakeColourRef(51, 51, 51), "Grey-80%"},
    {MakeColourRef(128, 0, 0), "Dark Red"},
    {MakeColourRef(255, 102, 0), "Orange"},
    {MakeColourRef(128, 128, 0), "Dark Yellow"},
    {MakeColourRef(0, 128, 0), "Green"},
    {MakeColourRef(0, 128, 128), "Teal"},
    {MakeColourRef(0, 0, 255), "Blue"},
    {MakeColourRef(102, 102, 153), "Blue-Grey"},
    {MakeColourRef(128, 128, 128), "Grey-50%"},
    {MakeColourRef(255, 0, 0), "Red"},
    {MakeColourRef(255, 153, 0), "Light Orange"},
    {MakeColourRef(153, 204, 0), "Lime"},
    {MakeColourRef(51, 153, 102), "Sea Green"},
    {MakeColourRef(51, 204, 204), "Aqua"},
    {MakeColourRef(51, 102, 255), "Light Blue"},
    {MakeColourRef(128, 0, 128), "Violet"},
    {MakeColourRef(150, 150, 150), "Grey-40%"},
    {MakeColourRef(255, 0, 255), "Pink"},
    {MakeColourRef(255, 204, 0), "Gold"},
    {MakeColourRef(255, 255, 0), "Yellow"},
    {MakeColourRef(0, 255, 0), "Bright Green"},
    {MakeColourRef(0, 255, 255), "Turquoise"},
    {MakeColourRef(0, 204, 255), "Sky Blue"},
    {MakeColourRef(153, 51, 102), "Plum"},
    {MakeColourRef(192, 192, 192), "Grey-25%"},
    {MakeColourRef(255, 153, 204), "Rose"},
    {MakeColourRef(255, 204, 153), "Tan"},
    {MakeColourRef(255, 255, 153), "Light Yellow"},
    {MakeColourRef(204, 255, 204), "Light Green"},
    {MakeColourRef(204, 255, 255), "Light Turquoise"},
    {MakeColourRef(153, 204, 255), "Pale Blue"},
    {MakeColourRef(204, 153, 255), "Lavender"},
    {MakeColourRef(255, 255, 255), "White"},
}};

namespace {

int ModeCount(int mode) {
    return (mode & 1) + ((mode >> 1) & 1);
}

int CeilDiv(int a, int b) {
    return b > 0 ? (a + b - 1) / b : 0;
}

} // namespace

std::string CustomColourToolTip(ColourRef colour) {
    char text[80];
    std::snprintf(text, sizeof text, "Custom Colour :[Red = %3u, Blue = %3u, Green = %3u] ",
                  unsigned(ColourRefRed(colour)), unsigned(ColourRefBlue(colour)),
                  unsigned(ColourRefGreen(colour)));
    return text;
}

TLColourSet::TLColourSet()
    : standardColours(kTLStandardColours.begin(), kTLStandardColours.end()) {}

int TLColourSet::TopCount() const {
    return ModeCount(topMode & 3);
}

int TLColourSet::BottomCount() const {
    return ModeCount(bottomMode & 3);
}

bool TLColourSet::AddCustomColour(ColourRef colour, bool popupOpen) {
    if (colour == kColourNone || colour == kColourAutomatic)
        return false;
    const auto isStandard = [colour](const TLStandardColour& s) { return s.colour == colour; };
    if (std::any_of(standardColours.begin(), standardColours.end(), isStandard))
        return false;
    if (std::find(customColours.begin(), customColours.end(), colour) != customColours.end())
        return false;
    if (customRows == 0 && !popupOpen)
        customRows = 1;
    const int capacity = CustomCapacity();
    // An open popup has no room laid out for a first row; the colour is not
    // kept rather than written into a slot that does not exist.
    if (capacity <= 0)
        return false;
    if (int(customColours.size()) >= capacity) {
        lastWrittenSlot = (lastWrittenSlot + 1) % capacity;
        customColours[std::size_t(lastWrittenSlot)] = colour;
    } else {
        customColours.push_back(colour);
        lastWrittenSlot = int(customColours.size()) - 1;
    }
    return true;
}

int TLColourSet::SelectColour(ColourRef colour, bool popupOpen) {
    AddCustomColour(colour, popupOpen);
    return FindItem(colour);
}

int TLColourSet::FindItem(ColourRef colour) const {
    const int count = ItemCount();
    for (int item = 0; item < count; ++item) {
        const TLWellItem it = ItemAt(item);
        if (it.kind == TLWellItemKind::MoreColours || it.kind == TLWellItemKind::Undefined)
            continue;
        if (ItemColour(item) == colour)
            return item;
    }
    return -1;
}

int TLColourSet::ItemCount() const {
    return TopCount() + int(standardColours.size()) + int(customColours.size()) + BottomCount();
}

TLWellItem TLColourSet::ItemAt(int item) const {
    if (item < 0 || item >= ItemCount())
        return {TLWellItemKind::Undefined, 0};
    const int top = TopCount();
    if (item < top) {
        const bool none = (topMode & 1) && item == 0;
        return {none ? TLWellItemKind::None : TLWellItemKind::Automatic, 0};
    }
    item -= top;
    if (item < int(standardColours.size()))
        return {TLWellItemKind::Standard, item};
    item -= int(standardColours.size());
    if (item < int(customColours.size()))
        return {TLWellItemKind::Custom, item};
    item -= int(customColours.size());
    const bool more = (bottomMode & 1) && item == 0;
    return {more ? TLWellItemKind::MoreColours : TLWellItemKind::Undefined, 0};
}

ColourRef TLColourSet::ItemColour(int item) const {
    const TLWellItem it = ItemAt(item);
    switch (it.kind) {
    case TLWellItemKind::None:
        return kColourNone;
    case TLWellItemKind::Automatic:
        return kColourAutomatic;
    case TLWellItemKind::Standard:
        return standardColours[std::size_t(it.index)].colour;
    case TLWellItemKind::Custom:
        return customColours[std::size_t(it.index)];
    default:
        return kColourAutomatic;
    }
}

std::string TLColourSet::ItemToolTip(int item) const {
    const TLWellItem it = ItemAt(item);
    switch (it.kind) {
    case TLWellItemKind::None:
        return topLabels[0];
    case TLWellItemKind::Automatic:
        return topLabels[1];
    case TLWellItemKind::MoreColours:
        return bottomLabels[0];
    case TLWellItemKind::Undefined:
        return bottomLabels[1];
    case TLWellItemKind::Standard: {
        const TLStandardColour& s = standardColours[std::size_t(it.index)];
        return s.name && *s.name ? s.name : CustomColourToolTip(s.colour);
    }
    case TLWellItemKind::Custom:
        return CustomColourToolTip(customColours[std::size_t(it.index)]);
    }
    return {};
}

int TLColourSet::StandardRows() const {
    return CeilDiv(int(standardColours.size()), columns);
}

int TLColourSet::CustomItemRows() const {
    return CeilDiv(int(customColours.size()), columns);
}

int TLColourSet::RowCount() const {
    return TopCount() + StandardRows() + CustomItemRows() + BottomCount();
}

TLColourSet::GridPosition TLColourSet::PositionOf(int item) const {
    const int top = TopCount();
    if (item < top)
        return {item, 0};
    const TLWellItem it = ItemAt(item);
    if (it.kind == TLWellItemKind::Standard)
        return {top + it.index / columns, it.index % columns};
    if (it.kind == TLWellItemKind::Custom)
        return {top + StandardRows() + it.index / columns, it.index % columns};
    const int firstBottom = top + int(standardColours.size()) + int(customColours.size());
    return {top + StandardRows() + CustomItemRows() + (item - firstBottom), 0};
}

int TLColourSet::RowLength(int row) const {
    const int top = TopCount();
    if (row < top)
        return 1;
    row -= top;
    if (row < StandardRows())
        return std::min(columns, int(standardColours.size()) - row * columns);
    row -= StandardRows();
    if (row < CustomItemRows())
        return std::min(columns, int(customColours.size()) - row * columns);
    return 1;
}

int TLColourSet::ItemInRow(int row, int column) const {
    const int top = TopCount();
    column = std::clamp(column, 0, RowLength(row) - 1);
    if (row < top)
        return row;
    row -= top;
    if (row < StandardRows())
        return top + row * columns + column;
    row -= StandardRows();
    const int firstCustom = top + int(standardColours.size());
    if (row < CustomItemRows())
        return firstCustom + row * columns + column;
    row -= CustomItemRows();
    return firstCustom + int(customColours.size()) + row;
}

int TLColourSet::Navigate(int item, TLWellKey key) const {
    const int count = ItemCount();
    if (count == 0)
        return -1;
    if (item < 0 || item >= count)
        return 0;
    switch (key) {
    case TLWellKey::Left:
        return (item + count - 1) % count;
    case TLWellKey::Right:
        return (item + 1) % count;
    case TLWellKey::Up:
    case TLWellKey::Down: {
        const GridPosition pos = PositionOf(item);
        const int row = pos.row + (key == TLWellKey::Up ? -1 : 1);
        if (row < 0 || row >= RowCount())
            return item;
        return ItemInRow(row, pos.column);
    }
    }
    return item;
}
