#include "analysis/ExportChoicesFromRecords.h"

#include <limits>

void AnalysisPageRecords::Load(IProfileStore& profile) {
    slopeConductance.Load(profile);
    sampleCurrent.Load(profile);
    currentVoltage.Load(profile);
    capacitance.Load(profile);
    continuousRecord.Load(profile);
}

void AnalysisPageRecords::Save(IProfileStore& profile) const {
    slopeConductance.Save(profile);
    sampleCurrent.Save(profile);
    currentVoltage.Save(profile);
    capacitance.Save(profile);
    continuousRecord.Save(profile);
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
    ApplyNewRecording(records.slopeConductance, traceCount, selectAll[0]);
    records.slopeConductance.RecomputeSubsections(commandTenths);
    ApplyNewRecording(records.sampleCurrent, traceCount, selectAll[1]);
    records.sampleCurrent.RecomputeSubsections(commandTenths);
    ApplyNewRecording(records.currentVoltage, traceCount, selectAll[2]);
    ApplyNewRecording(records.capacitance, traceCount, selectAll[3]);
    records.capacitance.RecomputeSubsections(commandTenths);
    ApplyNewRecording(records.continuousRecord, traceCount, selectAll[4]);
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
    choices.currentAtTestPotential = TimeCourse(records.sampleCurrent);

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

    choices.samplePoints.selectedTraces = records.continuousRecord.selectedTraces;
    choices.samplePoints.samplePoints = records.continuousRecord.samplePoints;
    return choices;
}
