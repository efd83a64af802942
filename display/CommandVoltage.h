// The command voltage in whole tenths of a millivolt, as the display model holds
// it and the ramp sub-section search reads it, and the rounding both use.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

// Rounds `value` to the nearest integer, ties to even. NaN gives 0; values beyond
// the 32-bit range give the nearest end of the range (a hostile file cannot make
// the conversion undefined). Inline: the views call it for every pixel column.
inline int32_t RoundHalfEvenToInt32(float value) {
    if (std::isnan(value))
        return 0;
    // Below 2^22 adding and taking away 1.5 * 2^23 leaves the float rounded to
    // an integer (its last bit is then worth 1), half to even: no library call.
    constexpr float kRounder = 12582912.0f;
    if (value > -4194304.0f && value < 4194304.0f)
        return static_cast<int32_t>((value + kRounder) - kRounder);
    // nearbyint rounds in the current mode, which is to nearest, ties to even.
    const double rounded = std::nearbyint(static_cast<double>(value));
    if (rounded <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    if (rounded >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(rounded);
}

// One entry per command-waveform value (mV): the value times 10, the product taken
// in double precision, held as a 32-bit float, then rounded half to even.
std::vector<int32_t> CommandVoltageTenths(const std::vector<float>& commandWaveform);
