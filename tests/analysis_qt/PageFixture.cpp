#include "tests/analysis_qt/PageFixture.h"

#include "display/CommandVoltage.h"
#include "tests/support/ModelCell.h"

#include <algorithm>

namespace pages_test {

double DefaultProtocol(uint32_t i) {
    if (i <= kRamp2First)
        return 50.0;
    if (i <= kRamp2Last)
        return 50.0 - 150.0 * (i - kRamp2First) / double(kRamp2Last - kRamp2First);
    if (i <= kRamp1First)
        return -100.0;
    if (i <= kRamp1Last)
        return -100.0 + 150.0 * (i - kRamp1First) / double(kRamp1Last - kRamp1First);
    return -80.0;
}

TraceStore MakeStore(uint32_t traceCount, uint32_t samples,
                     const std::function<double(uint32_t)>& command) {
    return model::MakeMemoryStore(traceCount, samples, command,
                                  [](uint32_t k, uint32_t) { return k + 1.0; });
}

std::shared_ptr<TraceDisplayModel> MakeModel(const TraceStore& store) {
    auto model = std::make_shared<TraceDisplayModel>();
    model->SetViewSize(500, 300);
    model->SetMaxZoomRange(5000.0f);
    model->SetData(store.timeAxis, store.commandWaveform, store.traces, store.SamplesPerTrace());
    return model;
}

std::vector<int32_t> Tenths(const TraceStore& store) {
    return CommandVoltageTenths(store.commandWaveform);
}

} // namespace pages_test
