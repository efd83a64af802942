#include "analysis/SettingsDescription.h"

#include "platform/IntegerList.h"

namespace {

using Settings = ExportChoices::Settings;

std::string RampText(const AnalysisPageSettings& record, int which) {
    if (record.rampsFromProtocol != 0)
        return "ramp epoch " +
               std::to_string(which == 1 ? record.ramp1ProtocolRamp : record.ramp2ProtocolRamp) +
               " of each trace's own protocol";
    const int32_t start = which == 1 ? record.ramp1Start : record.ramp2Start;
    const int32_t end = which == 1 ? record.ramp1End : record.ramp2End;
    return "samples " + std::to_string(start) + " to " + std::to_string(end);
}

std::string ControlText(const AnalysisPageSettings& record) {
    return record.useControl != 0
               ? "trace " + std::to_string(record.controlTraceNumber) + ", subtracted"
               : "not used";
}

std::string TestWindowText(const SlopeConductanceSettings& record) {
    return std::to_string(record.testPotential) + " \xC2\xB1 " +
           std::to_string(record.potentialRange) + " mV";
}

Settings TimeCourse(const SlopeConductanceSettings& record) {
    return {{"Traces", TraceNumbersText(record.selectedTraces)},
            {"Control trace", ControlText(record)},
            {"Ramp", RampText(record, 1)},
            {"Test potential", TestWindowText(record)}};
}

} // namespace

std::string TraceNumbersText(const std::vector<int32_t>& traces) {
    std::string text;
    for (size_t i = 0; i < traces.size();) {
        size_t j = i;
        while (j + 1 < traces.size() && traces[j + 1] == traces[j] + 1)
            ++j;
        if (!text.empty())
            text += ", ";
        text += std::to_string(traces[i] + 1);
        if (j > i) {
            text += '-';
            text += std::to_string(traces[j] + 1);
        }
        i = j + 1;
    }
    return text.empty() ? "(none)" : text;
}

std::vector<ExportChoices::Settings> DescribeSettings(const AnalysisPageRecords& records) {
    const CurrentVoltageSettings& iv = records.currentVoltage;
    const CapacitanceSettings& capacitance = records.capacitance;
    const ContinuousRecordSettings& continuous = records.continuousRecord;
    return {TimeCourse(records.slopeConductance),
            TimeCourse(records.currentAtTestPotential),
            {{"Traces", TraceNumbersText(iv.selectedTraces)},
             {"Control trace", ControlText(iv)},
             {"Ramp", RampText(iv, 1)},
             {"Round to", std::to_string(iv.roundTo) + " mV"},
             {"Every", std::to_string(iv.sampleEvery) + " mV"}},
            {{"Traces", TraceNumbersText(capacitance.selectedTraces)},
             {"Ramp 1", RampText(capacitance, 1)},
             {"Ramp 2", RampText(capacitance, 2)},
             {"Test potential", TestWindowText(capacitance)}},
            {{"Traces", TraceNumbersText(continuous.selectedTraces)},
             {"Sample points", FormatIntegerListText(continuous.samplePoints)}}};
}
