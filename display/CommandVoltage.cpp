#include "display/CommandVoltage.h"

std::vector<int32_t> CommandVoltageTenths(const std::vector<float>& commandWaveform) {
    std::vector<int32_t> tenths;
    tenths.reserve(commandWaveform.size());
    for (float millivolts : commandWaveform) {
        const float product = static_cast<float>(static_cast<double>(millivolts) * 10.0);
        tenths.push_back(RoundHalfEvenToInt32(product));
    }
    return tenths;
}
