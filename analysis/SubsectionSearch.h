// The search for the part of a voltage ramp whose command voltage lies within a
// test potential plus or minus a range. The slope conductance, current-at-test-potential
// and capacitance pages and the command line share this one implementation.
#pragma once

#include "platform/NoValue.h"

#include <cstdint>
#include <vector>

// A half-open range [start, end) of 0-based sample indices; (0, 0) is empty.
struct Subsection {
    uint32_t start = 0;
    uint32_t end = 0;

    bool IsEmpty() const { return start == end; }
    friend bool operator==(const Subsection&, const Subsection&) = default;
};

// Finds the samples of the ramp from sample `rampStart` to `rampEnd` (1-based,
// as entered) whose command voltage (`commandTenths`, tenths of mV, one per
// sample) lies within `testPotential` ± `range` (mV). The window is clipped to
// the voltages at the two ends of the ramp and searched by bisection over the
// ramp's samples, the last one excluded; a rising and a falling ramp both give
// the range from the first sample inside the window to the first sample beyond
// it. A window that misses the ramp gives (0, 0); a ramp entered backwards
// gives an empty range at its start.
// Returns false, leaving `subsection` untouched, when there is nothing to
// search: an input is kNoIntegerValue, the ramp's ends are equal, the range is 0,
// or a ramp end lies outside 1 .. commandTenths.size() (a stored ramp is only a
// number and never indexes beyond the samples).
bool FindSubsection(const std::vector<int32_t>& commandTenths, int32_t testPotential, int32_t range,
                    int32_t rampStart, int32_t rampEnd, Subsection& subsection);
