// The command voltage in whole tenths of a millivolt, as the display model holds
// it and the ramp sub-section search reads it.
#pragma once

#include <cstdint>
#include <vector>

// Rounds `value` to the nearest integer, ties to even. NaN gives 0; values beyond
// the 32-bit range give the nearest end of the range (a hostile file cannot make
// the conversion undefined).
int32_t RoundHalfEvenToInt32(float value);

// One entry per command-waveform value (mV): the value times 10, the product taken
// in double precision, held as a 32-bit float, then rounded half to even.
std::vector<int32_t> CommandVoltageTenths(const std::vector<float>& commandWaveform);
