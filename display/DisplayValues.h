// The display values shared by every trace view of the process: the zero-current
// line flag and the colours of the highlighted traces, the zero line and the six
// sample regions. The general settings fill them when they are read and when a
// colour button reports a new colour; the views only read them.
#pragma once

#include "platform/ColourRef.h"

#include <array>
#include <cstddef>
#include <cstdint>

// Regions of a view, also the indices of their colours in g_selectionColour: the
// ramps, their sub-sections, and the ramp colours laid once more over the
// sub-sections.
enum ViewRegion : int {
    kRamp1Region = 0,
    kRamp2Region = 1,
    kSubsection1Region = 2,
    kSubsection2Region = 3,
    kRamp1OverlayRegion = 4,
    kRamp2OverlayRegion = 5,
};
constexpr size_t kRegionCount = 6;

// The sub-section region of ramp region `rampRegion` (kRamp1Region or
// kRamp2Region), and the region that lays the ramp's colour over it once more.
constexpr int SubsectionRegionOf(int rampRegion) {
    return rampRegion + kSubsection1Region;
}
constexpr int OverlayRegionOf(int rampRegion) {
    return rampRegion + kRamp1OverlayRegion;
}

// Draw the zero-current line (default on).
extern bool g_showZeroCurrentLine;
// Colour of the current trace (default green).
extern ColourRef g_currentTraceColour;
// Colour of the control trace (default red).
extern ColourRef g_controlTraceColour;
// Colour of the zero-current line (default red).
extern ColourRef g_zeroLineColour;
// Colours of the six regions; entries 4 and 5 always repeat entries 0 and 1.
extern std::array<ColourRef, kRegionCount> g_selectionColour;

// Initial values, before any settings are read.
constexpr bool kInitialShowZeroCurrentLine = true;
constexpr ColourRef kInitialCurrentTraceColour = MakeColourRef(0, 255, 0);
constexpr ColourRef kInitialControlTraceColour = MakeColourRef(255, 0, 0);
constexpr ColourRef kInitialZeroLineColour = MakeColourRef(255, 0, 0);
constexpr std::array<ColourRef, kRegionCount> kInitialSelectionColours = {
    MakeColourRef(255, 225, 255),
    MakeColourRef(225, 225, 255),
    MakeColourRef(225, 255, 225),
    MakeColourRef(255, 225, 255),
    0,
    0};

// Puts every display value back to its initial value (for tests and a fresh start).
void ResetDisplayValues();
