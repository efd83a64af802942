// The five analyses of the program and everything that names them: one row per
// analysis, in the main window's page order, which is also the export order.
// Every stored or shown name of an analysis (tab, profile section, select-all
// key and check box, sheet, chart title) is read from here; the strings are
// data that stored profiles and workbooks rely on, kept exactly as they were
// first written ("SelectAllCurent" included). It lives in export/ because the
// result builders, the lowest of its users, name their sheets from it.
#pragma once

#include <array>
#include <cstddef>

enum class Analysis : int {
    SlopeConductance,       // slope conductance over the ramp sub-section
    CurrentAtTestPotential, // mean current over the same sub-section, over time
    CurrentVoltage,         // mean current per voltage bin along ramp 1
    Capacitance,            // cell capacitance from two ramps
    ContinuousRecord,       // the current at chosen sample points, strung together
};

inline constexpr std::size_t kAnalysisCount = 5;

struct AnalysisRow {
    Analysis analysis;
    const char* tabCaption;       // the page's tab
    const char* profileSection;   // the page record's profile section
    const char* selectAllKey;     // general settings key: select every trace on a new recording
    const char* selectAllCaption; // its check box on the General Settings page
    const char* selectAllName;    // the check box's objectName
    int selectAllControlId;       // the check box's control id
    // The data sheet is sheetName + " Data", the chart sheet sheetName + " Graph".
    const char* sheetName;
    const char* chartTitleSuffix; // after the recording's base name
};

inline constexpr std::array<AnalysisRow, kAnalysisCount> kAnalysisRows = {{
    {Analysis::SlopeConductance, "Slope Conductance", "Slope conductance", "SelectAllSlopes",
     "Slope Time Course", "selectAllSlopes", 143, "Slope Conductance",
     " Slope Conductance Time Course"},
    {Analysis::CurrentAtTestPotential, "Sample Current", "Cl Current Time course",
     "SelectAllCurent", "Sample Current Time Course", "selectAllCurrent", 145, "ICl Time Course",
     " Current Time Course"},
    {Analysis::CurrentVoltage, "Current Voltage", "IV", "SelectAllIV", "Current Voltage Diagrams",
     "selectAllIV", 146, "IV", "  IV"},
    {Analysis::Capacitance, "Cell Capacitance", "Capacitance", "SelectAllCapacitance",
     "Capacitance Time Course", "selectAllCapacitance", 147, "Capacitance", " Capacitance"},
    {Analysis::ContinuousRecord, "Continuous Record", "Current Traces", "SelectAllTraces",
     "Continuous Record Time Course", "selectAllTraces", 157, "Traces", " Traces"},
}};

// The analysis's position in page and export order (0 to 4).
constexpr std::size_t IndexOf(Analysis analysis) {
    return static_cast<std::size_t>(analysis);
}

// The analysis's row.
constexpr const AnalysisRow& RowOf(Analysis analysis) {
    return kAnalysisRows[IndexOf(analysis)];
}

// A value per analysis, indexed by IndexOf.
template <class T> using PerAnalysis = std::array<T, kAnalysisCount>;

// Each row stands at its analysis's index.
constexpr bool AnalysisRowsInOrder() {
    for (std::size_t i = 0; i < kAnalysisCount; ++i) {
        if (IndexOf(kAnalysisRows[i].analysis) != i)
            return false;
    }
    return true;
}
static_assert(AnalysisRowsInOrder());
