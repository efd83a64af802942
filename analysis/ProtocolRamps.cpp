#include "analysis/ProtocolRamps.h"

std::optional<RampSamples> ProtocolRamp(const TraceStore& store, uint32_t k, int32_t number,
                                        std::string& why) {
    const std::string trace = "trace " + std::to_string(k + 1) + ": ";
    if (!store.HasCommand()) {
        why = trace + "the recording has no command waveform";
        return std::nullopt;
    }
    const size_t count =
        k < store.commands.size() && store.commands[k] ? store.commands[k]->ramps.size() : 0;
    if (number < 1 || static_cast<size_t>(number) > count) {
        why = trace + "its protocol has " + std::to_string(count) +
              (count == 1 ? " ramp" : " ramps") + "; ramp " + std::to_string(number) + " is needed";
        return std::nullopt;
    }
    const EpisodeCommand::Ramp& ramp = store.commands[k]->ramps[static_cast<size_t>(number) - 1];
    return RampSamples{static_cast<int32_t>(ramp.first + 1), static_cast<int32_t>(ramp.last + 1)};
}

std::optional<RampSamples> TraceRamp(const TraceStore& store, const AnalysisPageSettings& record,
                                     uint32_t k, int which, std::string& why) {
    if (record.rampsFromProtocol != 0)
        return ProtocolRamp(store, k,
                            which == 1 ? record.ramp1ProtocolRamp : record.ramp2ProtocolRamp, why);
    return which == 1 ? RampSamples{record.ramp1Start, record.ramp1End}
                      : RampSamples{record.ramp2Start, record.ramp2End};
}

bool NeedsTraceWindows(const TraceStore& store, const AnalysisPageSettings& record) {
    if (record.rampsFromProtocol != 0)
        return true;
    for (size_t k = 1; k < store.commands.size(); ++k)
        if (store.commands[k] != store.commands[0])
            return true;
    return false;
}
