// The display values shared by every trace view of the process: the zero-current
// line flag and the colours of the highlighted traces, the zero line and the six
// sample regions. The general settings fill them when they are read and when a
// colour button reports a new colour; the views only read them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// A colour as 0x00BBGGRR (red in the low byte).
using ColourRef = uint32_t;

constexpr ColourRef MakeRgb(uint8_t red, uint8_t green, uint8_t blue) {
    return static_cast<ColourRef>(red) | (static_cast<ColourRef>(green) << 8) |
           (static_cast<ColourRef>(blue) << 16);
}
constexpr uint8_t RedOf(ColourRef colour) {
    return static_cast<uint8_t>(colour & 0xFF);
}
constexpr uint8_t GreenOf(ColourRef colour) {
    return static_cast<uint8_t>((colour >> 8) & 0xFF);
}
constexpr uint8_t BlueOf(ColourRef colour) {
    return static_cast<uint8_t>((colour >> 16) & 0xFF);
}

// Regions of a view: 0 and 1 the ramps, 2 and 3 their sub-sections, 4 and 5 the
// ramp colours laid once more over the sub-sections.
constexpr size_t kRegionCount = 6;

// Draw the zero-current line (default on).
extern bool g_bShowZeroCurrentLine;
// Colour of the current trace (default green).
extern ColourRef g_crCurrentTrace;
// Colour of the control trace (default red).
extern ColourRef g_crControlTrace;
// Colour of the zero-current line (default red).
extern ColourRef g_crZeroLine;
// Colours of the six regions; entries 4 and 5 always repeat entries 0 and 1.
extern std::array<ColourRef, kRegionCount> g_crSelection;

// Initial values, before any settings are read.
constexpr bool kInitialShowZeroCurrentLine = true;
constexpr ColourRef kInitialCurrentTraceColour = MakeRgb(0, 255, 0);
constexpr ColourRef kInitialControlTraceColour = MakeRgb(255, 0, 0);
constexpr ColourRef kInitialZeroLineColour = MakeRgb(255, 0, 0);
constexpr std::array<ColourRef, kRegionCount> kInitialSelectionColours = {MakeRgb(255, 225, 255),
                                                                          MakeRgb(225, 225, 255),
                                                                          MakeRgb(225, 255, 225),
                                                                          MakeRgb(255, 225, 255),
                                                                          0,
                                                                          0};

// Puts every display value back to its initial value (for tests and a fresh start).
void ResetDisplayValues();
