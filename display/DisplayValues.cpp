#include "display/DisplayValues.h"

bool g_showZeroCurrentLine = kInitialShowZeroCurrentLine;
ColourRef g_currentTraceColour = kInitialCurrentTraceColour;
ColourRef g_controlTraceColour = kInitialControlTraceColour;
ColourRef g_zeroLineColour = kInitialZeroLineColour;
std::array<ColourRef, kRegionCount> g_selectionColour = kInitialSelectionColours;

void ResetDisplayValues() {
    g_showZeroCurrentLine = kInitialShowZeroCurrentLine;
    g_currentTraceColour = kInitialCurrentTraceColour;
    g_controlTraceColour = kInitialControlTraceColour;
    g_zeroLineColour = kInitialZeroLineColour;
    g_selectionColour = kInitialSelectionColours;
}
