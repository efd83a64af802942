#include "display/CommandVoltage.h"

#include <cmath>
#include <limits>

int32_t RoundHalfEvenToInt32(float value) {
    if (std::isnan(value))
        return 0;
    // nearbyint rounds in the current mode, which is to nearest, ties to even.
    const double rounded = std::nearbyint(static_cast<double>(value));
    if (rounded <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    if (rounded >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(rounded);
}

std::vector<int32_t> CommandVoltageTenths(const std::vector<float>& commandWaveform) {
    std::vector<int32_t> tenths;
    tenths.reserve(commandWaveform.size());
    for (float millivolts : commandWaveform) {
        const float product = static_cast<float>(static_cast<double>(millivolts) * 10.0);
        tenths.push_back(RoundHalfEvenToInt32(product));
    }
    return tenths;
}
