// The help texts of tessaran-cli's analysing commands, with the profile keys
// that the analyses read (one place, so `analyse` and `watch` agree).
#pragma once

// Sections and keys of the profile (or --settings INI file) that the analyses read.
inline constexpr char kProfileKeysHelp[] =
    "Profile keys read (the user's profile, or the INI file given with --settings):\n"
    "  [Slope conductance], [Cl Current Time course], [IV], [Capacitance], [Current Traces]:\n"
    "      Ramp1 Start, Ramp1 End, Ramp2 Start, Ramp2 End (1-based samples), Use Control\n"
    "  [Slope conductance], [Cl Current Time course], [IV], [Capacitance]:\n"
    "      Ramps From Protocol (1: the ramps are the ramp epochs of each trace's protocol,\n"
    "      0: the sample numbers), Ramp1 Protocol Ramp, Ramp2 Protocol Ramp (each\n"
    "      episode's ramp epochs counted from 1; defaults 1 and 2)\n"
    "  [Slope conductance], [Cl Current Time course], [Capacitance]:\n"
    "      Reversal Potential, Reversal Potential Range (mV)\n"
    "  [IV]: Round To, Sample Frequency (mV: 1, 2, 5 or 10)\n"
    "  [Current Traces]: Sample Points (1-based samples, e.g. 10,15,)\n"
    "  [settings]: SelectAllSlopes, SelectAllCurent, SelectAllIV, SelectAllCapacitance,\n"
    "      SelectAllTraces (analyse every trace: 1, or none: 0), PlotTimeTraceNum\n"
    "      (x values: 1 trace numbers, 0 start times in s), Current Channel (auto or a\n"
    "      channel number 0 to 15; anything else reads as auto)\n";

inline constexpr char kExitStatusHelp[] =
    "Exit status: 0 every recording was read and written as asked; 1 some recording\n"
    "failed (the others still run); 2 bad usage.\n";
