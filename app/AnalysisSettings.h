// The general settings record (held by the General Settings page), the main
// window's zoom and scroll values, and the whole profile in its read and write
// order. All of them live in the profile section "settings" except the pages'.
#pragma once

#include "analysis/ExportChoicesFromRecords.h"
#include "analysis/PageSettings.h"
#include "app/WindowSettings.h"
#include "display/DisplayValues.h"
#include "display/TraceDisplayModel.h"
#include "export/AnalysisTable.h"
#include "platform/ProfileStore.h"
#include "recording/ChannelChoice.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>

inline constexpr char kGeneralSettingsSection[] = "settings";
// The display model's own largest zoom-in range, until the settings give one.
inline constexpr double kDefaultSweepMaxRange = TraceDisplayModel::kDefaultMaxRange; // pA

// The channel the analyses read: kAutoChannel (the first sampled channel with a
// current unit, else 1 when sampled, else 0) or a channel number 0..15. Stored
// as "auto" or the number; any other stored text reads as auto
// (ChannelRequestOrAuto).
struct ChannelSetting {
    int request = kAutoChannel;
    bool operator==(const ChannelSetting&) const = default;
};

// The stored fields and their defaults are declared once, in
// VisitGeneralSettings below; the constructor, Load, Save and the tests go
// through that list.
struct AnalysisSettings {
    // Every field at its default; the colours are the present display values.
    AnalysisSettings();

    PerAnalysis<int32_t> selectAll{}; // select every trace on a new recording (IndexOf)
    int32_t useZeroCurrentLine = 0;
    int32_t autoPrint = 0;
    int32_t autoSave = 0;
    int32_t sameControlTrace = 0;     // not stored
    int32_t plotTraceNumber = 0;      // 0 plot times, 1 trace numbers
    int32_t analyseAllCategories = 0; // not stored
    int32_t autoAnalyseAcquisitions = 0;
    // Recordings that turn up complete in this folder are analysed as new
    // acquisitions are; empty: no folder is watched.
    std::string watchFolder;
    ChannelSetting currentChannel;     // "Current Channel"
    double sweepMaxRange = 0.0;        // pA, stored as text
    bool sweepMaxRangeChanged = false; // not stored
    // Descending ramp, ascending ramp and their sub-sections.
    std::array<ColourRef, 4> selectionColours{};
    ColourRef zeroLineColour = 0;
    ColourRef currentTraceColour = 0;
    ColourRef controlTraceColour = 0;

    // The select-all flags as booleans, per analysis.
    PerAnalysis<bool> SelectAllFlags() const;

    // Reads every stored field from section "settings" (the present field
    // values are the defaults of the colours), then copies the colours into
    // the display values (ApplyColours). The caller then applies sweepMaxRange
    // to the display model and sets the zero-line flag (ApplyZeroCurrentLine).
    void Load(IProfileStore& profile);
    // Writes every stored field in the list's order; "Sweep Max Range" as "%.8g".
    void Save(IProfileStore& profile) const;

    // Selection colours 0..3 into g_selectionColour 0..3, and 0 and 1 into 4 and 5;
    // the trace and zero-line colours into their display values.
    void ApplyColours() const;
    // g_showZeroCurrentLine = (useZeroCurrentLine != 0).
    void ApplyZeroCurrentLine() const;
};

// The leading decimal number of `text` (blanks skipped, the rest ignored, the
// decimal point always '.'); 5000 when there is none, or it is 0, infinite or
// not a number.
double ParseSweepMaxRange(const std::string& text);
// `value` as printf's "%.8g" gives it, with '.' as the decimal point.
std::string FormatSweepMaxRange(double value);

// The general settings' stored fields, each declared once as (key, field,
// default), in the order they are written to section "settings".
// `visit(key, field, defaultValue)` is called for each; fields are int32_t,
// ColourRef, double, std::string or ChannelSetting. A colour's default is its present value: the
// display value the record was made with.
template <class Settings, class Visit> void VisitGeneralSettings(Settings& s, Visit&& visit) {
    const auto selectAll = [&](Analysis analysis) {
        visit(RowOf(analysis).selectAllKey, s.selectAll[IndexOf(analysis)], int32_t{1});
    };
    selectAll(Analysis::Capacitance);
    visit("UseZeroCurrentLine", s.useZeroCurrentLine, int32_t{1});
    selectAll(Analysis::SlopeConductance);
    selectAll(Analysis::CurrentAtTestPotential);
    selectAll(Analysis::CurrentVoltage);
    selectAll(Analysis::ContinuousRecord);
    visit("AutoPrint", s.autoPrint, int32_t{1});
    visit("AutoSave", s.autoSave, int32_t{1});
    visit("PlotTimeTraceNum", s.plotTraceNumber, int32_t{1});
    visit("AutoAnalyseAcquisitions", s.autoAnalyseAcquisitions, int32_t{1});
    const char* const selectionKeys[] = {"Colour Ramp1", "Colour Ramp2", "Colour subRamp1",
                                         "Colour subRamp2"};
    for (size_t i = 0; i < s.selectionColours.size(); ++i)
        visit(selectionKeys[i], s.selectionColours[i], ColourRef{s.selectionColours[i]});
    visit("Colour Current Trace", s.currentTraceColour, ColourRef{s.currentTraceColour});
    visit("Colour Zero Line", s.zeroLineColour, ColourRef{s.zeroLineColour});
    visit("Colour Control Trace", s.controlTraceColour, ColourRef{s.controlTraceColour});
    visit("Sweep Max Range", s.sweepMaxRange, kDefaultSweepMaxRange);
    visit("WatchFolder", s.watchFolder, std::string());
    visit("Current Channel", s.currentChannel, ChannelSetting{});
}

// The zoom levels and scroll position that the display model keeps between runs.
struct ViewPositionSettings {
    int32_t xZoom = 0;
    int32_t yZoom = 0;
    int32_t scrollPosX = 0;
    int32_t scrollPosY = 0;

    void Load(IProfileStore& profile);
    void Save(IProfileStore& profile) const;
};

// The view position's stored fields, as VisitGeneralSettings (all default 0).
template <class Settings, class Visit> void VisitViewPositionSettings(Settings& s, Visit&& visit) {
    visit("xZoom", s.xZoom, int32_t{0});
    visit("yZoom", s.yZoom, int32_t{0});
    visit("ScrollPosx", s.scrollPosX, int32_t{0});
    visit("ScrollPosy", s.scrollPosY, int32_t{0});
}

// The main window's normal frame, as VisitGeneralSettings (all default 0).
template <class Placement, class Visit> void VisitWindowPlacement(Placement& p, Visit&& visit) {
    visit("WindowX", p.x, int32_t{0});
    visit("WindowY", p.y, int32_t{0});
    visit("WindowWidth", p.width, int32_t{0});
    visit("WindowHeight", p.height, int32_t{0});
    visit("WindowMaximized", p.maximised, int32_t{0});
}

// The recent files' slots, newest first, as VisitGeneralSettings: texts,
// default empty (an empty slot ends the list).
template <class Slots, class Visit> void VisitRecentFileSlots(Slots& files, Visit&& visit) {
    static constexpr const char* kKeys[] = {"Recent File 1", "Recent File 2", "Recent File 3",
                                            "Recent File 4", "Recent File 5", "Recent File 6",
                                            "Recent File 7", "Recent File 8"};
    static_assert(std::size(kKeys) == RecentFiles::kMaxFiles);
    for (size_t i = 0; i < RecentFiles::kMaxFiles; ++i)
        visit(kKeys[i], files[i], std::string());
}

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
