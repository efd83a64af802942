// The units of the result columns, derived from the unit of the analysed
// channel (the current, e.g. "pA") and the unit of the command (e.g. "mV"):
// conductance current/voltage (pA/mV = nS), capacitance current x µs /
// voltage (pA µs/mV = fF). Units whose prefix is not known are combined as
// text ("V/mV").
#pragma once

#include <string>

struct ChannelUnits {
    std::string current = "pA"; // unit of the analysed channel
    std::string command = "mV"; // unit of the command waveform
};

// current / command, as a siemens unit with its prefix where both are known.
std::string ConductanceUnit(const ChannelUnits& units);

// current x microseconds / command, as a farad unit where both are known.
std::string CapacitanceUnit(const ChannelUnits& units);
