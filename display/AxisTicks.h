// Tick marks and texts of the trace view's axes, and the read-out line under
// the view: plain numbers, no drawing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Evenly spaced round values (1, 2 or 5 times a power of ten apart) within
// `low` .. `high`, at least `minSpacing` of `pixels` apart when the range is
// drawn over `pixels`. Empty when the range is empty, not finite or has no room.
struct AxisTicks {
    double step = 0.0;
    std::vector<double> values;
};
AxisTicks ChooseTicks(double low, double high, double pixels, double minSpacing);

// The text of a tick `value` on an axis whose ticks are `step` apart: as many
// decimals as the step needs, no "-0".
std::string TickText(double value, double step);

// Time axes show milliseconds, or seconds once the span in view reaches 2 s.
struct TimeUnit {
    double microseconds; // one unit in microseconds
    const char* name;    // "ms" or "s"
};
TimeUnit TimeUnitForSpan(double spanMicroseconds);

// What lies under the mouse: trace number (from 1), sample number (from 1),
// time (microseconds), value of the trace in `unit`, command voltage (mV).
struct ReadoutValues {
    uint32_t traceNumber = 0; // 0: no current trace
    uint32_t sampleNumber = 0;
    double timeMicroseconds = 0.0;
    double value = 0.0;
    std::string unit = "pA";
    double commandMillivolts = 0.0;
    bool hasCommand = false;
};
// "Trace 3   Sample 1350   135.0 ms   -123.4 pA   -80.0 mV"; the trace and
// value parts are left out without a current trace, the voltage without a
// command waveform.
std::string ReadoutText(const ReadoutValues& values);
