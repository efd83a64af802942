// The display values shared by every trace view of the process: the zero-current
// line flag and the colours of the highlighted traces, the zero line and the six
// sample regions. The general settings fill them when they are read and when a
// colour button reports a new colour; the views only read them.
#pragma once

#include "platform/ColourRef.h"

#include <array>
#include <cstddef>
#include <cstdint>

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
