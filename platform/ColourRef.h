// Colours as the program stores them: 32-bit 0x00BBGGRR values, red in the
// low byte. Widgets convert at their boundary (controls/qt/QtColour.h); the
// profile stores them as integers, the display values hold them.
#pragma once

#include <cstdint>

using ColourRef = std::uint32_t;

// The colour picker's two values that are not colours.
constexpr ColourRef kColourNone = 0xFEFFFFFFu;
constexpr ColourRef kColourAutomatic = 0xFFFFFFFFu;

// Builds 0x00BBGGRR from the three 0-255 components.
constexpr ColourRef MakeColourRef(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return ColourRef(red) | (ColourRef(green) << 8) | (ColourRef(blue) << 16);
}
constexpr std::uint8_t ColourRefRed(ColourRef c) {
    return std::uint8_t(c & 0xFFu);
}
constexpr std::uint8_t ColourRefGreen(ColourRef c) {
    return std::uint8_t((c >> 8) & 0xFFu);
}
constexpr std::uint8_t ColourRefBlue(ColourRef c) {
    return std::uint8_t((c >> 16) & 0xFFu);
}
