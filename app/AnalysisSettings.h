// The general settings record (held by the General Settings page), the main
// window's zoom and scroll values, and the whole profile in its read and write
// order. All of them live in the profile section "settings" except the pages'.
#pragma once

#include "analysis/ExportChoicesFromRecords.h"
#include "analysis/PageSettings.h"
#include "display/DisplayValues.h"
#include "platform/ProfileStore.h"

#include <array>
#include <cstdint>
#include <string>

inline constexpr char kGeneralSettingsSection[] = "settings";
inline constexpr double kDefaultSweepMaxRange = 5000.0; // pA

struct AnalysisSettings {
    // Every field at its default; the colours are the present display values.
    AnalysisSettings();

    int32_t selectAllSlopes = 1;         // "SelectAllSlopes"
    int32_t selectAllCurrent = 1;        // "SelectAllCurent" (sic)
    int32_t selectAllCapacitance = 1;    // "SelectAllCapacitance"
    int32_t selectAllIV = 1;             // "SelectAllIV"
    int32_t useZeroCurrentLine = 1;      // "UseZeroCurrentLine"
    int32_t autoPrint = 1;               // "AutoPrint"
    int32_t autoSave = 1;                // "AutoSave"
    int32_t sameControlTrace = 0;        // not stored
    int32_t plotTraceNumber = 1;         // "PlotTimeTraceNum": 0 plot times, 1 trace numbers
    int32_t selectAllTraces = 1;         // "SelectAllTraces"
    int32_t analyseAllCategories = 0;    // not stored
    int32_t autoAnalyseAcquisitions = 1; // "AutoAnalyseAcquisitions"
    double sweepMaxRange = kDefaultSweepMaxRange; // pA, "Sweep Max Range" (text)
    bool sweepMaxRangeChanged = false;            // not stored
    // "Colour Ramp1", "Colour Ramp2", "Colour subRamp1", "Colour subRamp2".
    std::array<ColourRef, 4> selectionColours;
    ColourRef zeroLineColour;     // "Colour Zero Line"
    ColourRef currentTraceColour; // "Colour Current Trace"
    ColourRef controlTraceColour; // "Colour Control Trace"

    // Reads every stored field from section "settings" in the fixed order (the
    // present field values are the defaults of the colours), then copies the
    // colours into the display values (ApplyColours). The caller then applies
    // sweepMaxRange to the display model and sets the zero-line flag
    // (ApplyZeroCurrentLine).
    void Load(IProfileStore& profile);
    // Writes every stored field in the fixed order; "Sweep Max Range" as "%.8g".
    void Save(IProfileStore& profile) const;

    // Selection colours 0..3 into g_crSelection 0..3, and 0 and 1 into 4 and 5;
    // the trace and zero-line colours into their display values.
    void ApplyColours() const;
    // g_bShowZeroCurrentLine = (useZeroCurrentLine != 0).
    void ApplyZeroCurrentLine() const;
};

// The leading decimal number of `text` (blanks skipped, the rest ignored, the
// decimal point always '.'); 5000 when there is none, or it is 0, infinite or
// not a number.
double ParseSweepMaxRange(const std::string& text);
// `value` as printf's "%.8g" gives it, with '.' as the decimal point.
std::string FormatSweepMaxRange(double value);

// The zoom levels and scroll position that the display model keeps between runs.
struct ViewPositionSettings {
    int32_t xZoom = 0;      // "xZoom"
    int32_t yZoom = 0;      // "yZoom"
    int32_t scrollPosX = 0; // "ScrollPosx"
    int32_t scrollPosY = 0; // "ScrollPosy"

    void Load(IProfileStore& profile);
    void Save(IProfileStore& profile) const;
};

// Every stored setting of the program. Load and Save go through them in the
// main window's order: the five pages, the general settings, the view position.
struct ProgramSettings {
    AnalysisPageRecords pages;
    AnalysisSettings general;
    ViewPositionSettings viewPosition;

    // Reads everything (AnalysisSettings::Load also sets the colours' display values).
    void Load(IProfileStore& profile);
    void Save(IProfileStore& profile) const;
};
