#include "display/DisplayValues.h"

bool g_bShowZeroCurrentLine = kInitialShowZeroCurrentLine;
ColourRef g_crCurrentTrace = kInitialCurrentTraceColour;
ColourRef g_crControlTrace = kInitialControlTraceColour;
ColourRef g_crZeroLine = kInitialZeroLineColour;
std::array<ColourRef, kRegionCount> g_crSelection = kInitialSelectionColours;

void ResetDisplayValues() {
    g_bShowZeroCurrentLine = kInitialShowZeroCurrentLine;
    g_crCurrentTrace = kInitialCurrentTraceColour;
    g_crControlTrace = kInitialControlTraceColour;
    g_crZeroLine = kInitialZeroLineColour;
    g_crSelection = kInitialSelectionColours;
}
