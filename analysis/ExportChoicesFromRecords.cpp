#include "analysis/ExportChoicesFromRecords.h"

#include "analysis/ProtocolRamps.h"
#include "analysis/SettingsDescription.h"
#include "display/CommandVoltage.h"

#include <limits>
#include <map>

PerAnalysis<AnalysisPageSettings*> AnalysisPageRecords::All() {
    return {&slopeConductance, &currentAtTestPotential, &currentVoltage, &capacitance,
            &continuousRecord};
}

PerAnalysis<const AnalysisPageSettings*> AnalysisPageRecords::All() const {
    return {&slopeConductance, &currentAtTestPotential, &currentVoltage, &capacitance,
            &continuousRecord};
}

void AnalysisPageRecords::Load(IProfileStore& profile) {
    for (AnalysisPageSettings* record : All())
        record->Load(profile);
}

void AnalysisPageRecords::Save(IProfileStore& profile) const {
    for (const AnalysisPageSettings* record : All())
        record->Save(profile);
}

void ApplyNewRecording(AnalysisPageSettings& record, uint32_t traceCount, bool selectAll) {
    record.selectedTraces.clear();
    if (selectAll) {
        record.selectedTraces.reserve(traceCount);
        for (uint32_t k = 0; k < traceCount; ++k)
            record.selectedTraces.push_back(static_cast<int32_t>(k));
    }
    record.controlTraceNumber = 1;
    record.currentTraceNumber = 1;
}

void ApplyNewRecording(AnalysisPageRecords& records, uint32_t traceCount,
                       const std::vector<int32_t>& commandTenths, const SelectAllFlags& selectAll) {
    const PerAnalysis<AnalysisPageSettings*> all = records.All();
    for (size_t i = 0; i < all.size(); ++i)
        ApplyNewRecording(*all[i], traceCount, selectAll[i]);
    records.slopeConductance.RecomputeSubsections(commandTenths);
    records.currentAtTestPotential.RecomputeSubsections(commandTenths);
    records.capacitance.RecomputeSubsections(commandTenths);
}

namespace {

SampleWindow Window(const Subsection& s) {
    return {s.start, s.end};
}

// A 1-based sample number as a 0-based index; numbers below 1 name no sample.
uint32_t SampleIndex(int32_t number) {
    return number >= 1 ? static_cast<uint32_t>(number - 1) : std::numeric_limits<uint32_t>::max();
}

TimeCourseChoices TimeCourse(const SlopeConductanceSettings& record) {
    TimeCourseChoices c;
    c.selectedTraces = record.selectedTraces;
    c.subsection = Window(record.subsection1);
    c.testPotential = record.testPotential;
    c.useControl = record.useControl != 0;
    c.controlTraceNumber = record.controlTraceNumber;
    return c;
}

} // namespace

ExportChoices ExportChoicesFromRecords(const AnalysisPageRecords& records, int plotTraceNumber) {
    ExportChoices choices;
    choices.plotTraceNumber = plotTraceNumber;
    choices.slopeConductance = TimeCourse(records.slopeConductance);
    choices.currentAtTestPotential = TimeCourse(records.currentAtTestPotential);

    const CurrentVoltageSettings& iv = records.currentVoltage;
    choices.currentVoltage.selectedTraces = iv.selectedTraces;
    choices.currentVoltage.ramp = {SampleIndex(iv.ramp1Start), SampleIndex(iv.ramp1End)};
    choices.currentVoltage.roundTo = iv.roundTo;
    choices.currentVoltage.sampleEvery = iv.sampleEvery;
    choices.currentVoltage.useControl = iv.useControl != 0;
    choices.currentVoltage.controlTraceNumber = iv.controlTraceNumber;

    const CapacitanceSettings& capacitance = records.capacitance;
    choices.capacitance.selectedTraces = capacitance.selectedTraces;
    choices.capacitance.subsection1 = Window(capacitance.subsection1);
    choices.capacitance.subsection2 = Window(capacitance.subsection2);

    choices.continuousRecord.selectedTraces = records.continuousRecord.selectedTraces;
    choices.continuousRecord.samplePoints = records.continuousRecord.samplePoints;
    choices.settingsUsed = DescribeSettings(records);
    return choices;
}

namespace {

// Each command's voltage in tenths of mV, computed once per shared command.
class TenthsCache {
public:
    explicit TenthsCache(const TraceStore& store) : m_store(store) {}
    const std::vector<int32_t>& Of(uint32_t k) {
        const std::vector<float>* command = &m_store.CommandOf(k);
        auto found = m_cache.find(command);
        if (found == m_cache.end())
            found = m_cache.emplace(command, CommandVoltageTenths(*command)).first;
        return found->second;
    }

private:
    const TraceStore& m_store;
    std::map<const std::vector<float>*, std::vector<int32_t>> m_cache;
};

// Sub-section of ramp `which` of every trace by `record`.
TraceWindows TraceSubsections(const TraceStore& store, const SlopeConductanceSettings& record,
                              int which, TenthsCache& tenths) {
    TraceWindows result;
    const uint32_t count = static_cast<uint32_t>(store.traces.size());
    result.windows.resize(count);
    result.skipped.resize(count);
    for (uint32_t k = 0; k < count; ++k) {
        std::optional<RampSamples> ramp = TraceRamp(store, record, k, which, result.skipped[k]);
        if (!ramp)
            continue;
        Subsection found = which == 1 ? record.subsection1 : record.subsection2;
        FindSubsection(tenths.Of(k), record.testPotential, record.potentialRange, ramp->start,
                       ramp->end, found);
        result.windows[k] = Window(found);
    }
    return result;
}

// Ramp 1 of every trace as 0-based indices, both ends included.
TraceWindows TraceRampWindows(const TraceStore& store, const CurrentVoltageSettings& record) {
    TraceWindows result;
    const uint32_t count = static_cast<uint32_t>(store.traces.size());
    result.windows.resize(count);
    result.skipped.resize(count);
    for (uint32_t k = 0; k < count; ++k)
        if (std::optional<RampSamples> ramp = TraceRamp(store, record, k, 1, result.skipped[k]))
            result.windows[k] = SampleWindow{SampleIndex(ramp->start), SampleIndex(ramp->end)};
    return result;
}

} // namespace

ExportChoices ExportChoicesFromRecords(const AnalysisPageRecords& records, int plotTraceNumber,
                                       const TraceStore& store) {
    ExportChoices choices = ExportChoicesFromRecords(records, plotTraceNumber);
    TenthsCache tenths(store);
    if (NeedsTraceWindows(store, records.slopeConductance))
        choices.slopeConductance.traceSubsections =
            TraceSubsections(store, records.slopeConductance, 1, tenths);
    if (NeedsTraceWindows(store, records.currentAtTestPotential))
        choices.currentAtTestPotential.traceSubsections =
            TraceSubsections(store, records.currentAtTestPotential, 1, tenths);
    if (records.currentVoltage.rampsFromProtocol != 0)
        choices.currentVoltage.traceRamps = TraceRampWindows(store, records.currentVoltage);
    if (NeedsTraceWindows(store, records.capacitance)) {
        choices.capacitance.traceSubsections1 =
            TraceSubsections(store, records.capacitance, 1, tenths);
        choices.capacitance.traceSubsections2 =
            TraceSubsections(store, records.capacitance, 2, tenths);
    }
    return choices;
}
