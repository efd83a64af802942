// The choices held by each analysis page, as plain records: the page shows and
// edits a record's fields, the export and the command line read them, and each
// record reads and writes its persisted fields under its own profile section.
// The fields are the user's numbers only: nothing here checks them against a
// recording, and no reader of them may index with them unchecked.
#pragma once

#include "analysis/SubsectionSearch.h"
#include "export/AnalysisTable.h"
#include "platform/ProfileStore.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// Read and write a record's stored fields, each declared once in
// PageSettings.cpp as (key, field, default): the base fields, then the kind's own.
template <class Record> void LoadStoredFields(Record& record, IProfileStore& profile);
template <class Record> void SaveStoredFields(const Record& record, IProfileStore& profile);

// What every analysis page holds: the ramps (1-based sample numbers), the
// control and current traces (1-based trace numbers) and the traces to analyse.
struct AnalysisPageSettings {
    explicit AnalysisPageSettings(std::string section = {});
    virtual ~AnalysisPageSettings() = default;
    AnalysisPageSettings(const AnalysisPageSettings&) = default;
    AnalysisPageSettings& operator=(const AnalysisPageSettings&) = default;

    int32_t ramp1End = 2625;             // "Ramp1 End"
    int32_t ramp1Start = 1350;           // "Ramp1 Start"
    int32_t ramp2End = 1;                // "Ramp2 End"
    int32_t ramp2Start = 1;              // "Ramp2 Start"
    int32_t controlTraceNumber = 1;      // not stored
    int32_t currentTraceNumber = 1;      // not stored
    int32_t useControl = 1;              // "Use Control", 0 or 1
    std::vector<int32_t> selectedTraces; // 0-based trace indices; not stored
    std::string settingsSection;         // profile section of this page
    // Ramps taken from each trace's own protocol instead of the sample numbers:
    // ramp 1 is the trace's ramp epoch number ramp1ProtocolRamp (counted from
    // 1), ramp 2 number ramp2ProtocolRamp. Pages without ramps keep no such keys.
    bool hasRamps = true;
    int32_t rampsFromProtocol = 0; // "Ramps From Protocol", 0 or 1
    int32_t ramp1ProtocolRamp = 1; // "Ramp1 Protocol Ramp"
    int32_t ramp2ProtocolRamp = 2; // "Ramp2 Protocol Ramp"

    // Reads "Ramp1 Start", "Ramp1 End", "Ramp2 Start", "Ramp2 End", "Use Control"
    // from settingsSection, in that order; the defaults are 1350, 2625, the
    // present ramp 2 values and 1; then, on pages with ramps, "Ramps From
    // Protocol" (0), "Ramp1 Protocol Ramp" (1) and "Ramp2 Protocol Ramp" (2).
    // A page kind reads its own keys after these.
    virtual void Load(IProfileStore& profile) { LoadStoredFields(*this, profile); }
    // Writes the same keys in the same order, then the page kind's own.
    virtual void Save(IProfileStore& profile) const { SaveStoredFields(*this, profile); }
};

// Slope conductance and current-at-test-potential pages: a test potential ± a
// range and the sub-section of each ramp whose command voltage lies within that window.
struct SlopeConductanceSettings : AnalysisPageSettings {
    explicit SlopeConductanceSettings(
        std::string section = RowOf(Analysis::SlopeConductance).profileSection);

    Subsection subsection1;      // within ramp 1; not stored
    Subsection subsection2;      // within ramp 2; not stored
    int32_t potentialRange = 5;  // mV, "Reversal Potential Range"
    int32_t testPotential = -45; // mV, "Reversal Potential" (stored default 0)

    // The base keys, then "Reversal Potential" (default 0) and
    // "Reversal Potential Range" (default 5).
    void Load(IProfileStore& profile) override { LoadStoredFields(*this, profile); }
    void Save(IProfileStore& profile) const override { SaveStoredFields(*this, profile); }

    // Searches both ramps for their sub-sections (the page does this on a new
    // recording); a ramp whose search does not run keeps its sub-section.
    // `commandTenths` is the command voltage in tenths of mV (CommandVoltageTenths).
    void RecomputeSubsections(const std::vector<int32_t>& commandTenths);
};

// Capacitance page: a slope conductance record whose ramp 2 starts at 700..1300.
struct CapacitanceSettings : SlopeConductanceSettings {
    explicit CapacitanceSettings(std::string section = RowOf(Analysis::Capacitance).profileSection);
};

// Current-voltage page: the voltage step the voltages are rounded to and the
// spacing of the tabulated voltages, each one of kCurrentVoltageSteps (mV).
struct CurrentVoltageSettings : AnalysisPageSettings {
    explicit CurrentVoltageSettings(
        std::string section = RowOf(Analysis::CurrentVoltage).profileSection);

    uint32_t sampleEvery = 1; // mV, "Sample Frequency"
    uint32_t roundTo = 1;     // mV, "Round To"

    // The base keys, then "Sample Frequency" and "Round To" (default 1 each). A
    // stored value that is not one of the listed steps reads as 1, the step the
    // page would show and save for it.
    void Load(IProfileStore& profile) override { LoadStoredFields(*this, profile); }
    void Save(IProfileStore& profile) const override { SaveStoredFields(*this, profile); }
};

// The items of the current-voltage page's two lists, in their order.
inline constexpr std::array<uint32_t, 4> kCurrentVoltageSteps = {1, 2, 5, 10};

// Continuous record page: the sample numbers at which the current is tabulated.
// On this page ramp1Start holds the current sample number.
struct ContinuousRecordSettings : AnalysisPageSettings {
    explicit ContinuousRecordSettings(
        std::string section = RowOf(Analysis::ContinuousRecord).profileSection);

    std::vector<int32_t> samplePoints; // 1-based sample numbers, "Sample Points"
    // Not stored: set by Load when "Sample Points" holds a token that is no
    // whole positive number (naming it; the good numbers are kept), else empty.
    std::string loadProblem;

    // The base keys, then the text "Sample Points", read with or without the
    // trailing comma (ParseIntegerListText, strictly; repeated numbers kept once).
    void Load(IProfileStore& profile) override { LoadStoredFields(*this, profile); }
    // The base keys, then "Sample Points" as each number followed by a comma.
    void Save(IProfileStore& profile) const override { SaveStoredFields(*this, profile); }
};

inline constexpr char kDefaultSamplePoints[] = "10,15,20,25,30,35,40,45,50,55,1330,2630,2700,3080";
