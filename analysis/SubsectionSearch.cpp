#include "analysis/SubsectionSearch.h"

#include <algorithm>

namespace {

// First index in [first, last) for which `isPast` holds, assuming the ramp is
// monotonic so that `isPast` is false then true; `last` when there is none.
template <typename Predicate>
uint32_t Bisect(const std::vector<int32_t>& tenths, uint32_t first, uint32_t last,
                Predicate isPast) {
    while (first < last) {
        const uint32_t middle = first + (last - first) / 2;
        if (isPast(tenths[middle]))
            last = middle;
        else
            first = middle + 1;
    }
    return first;
}

} // namespace

bool FindSubsection(const std::vector<int32_t>& commandTenths, int32_t testPotential, int32_t range,
                    int32_t rampStart, int32_t rampEnd, Subsection& subsection) {
    if (rampStart == kNoIntegerValue || rampEnd == kNoIntegerValue ||
        testPotential == kNoIntegerValue || range == kNoIntegerValue)
        return false;
    if (rampStart == rampEnd || range == 0)
        return false;
    const int64_t sampleCount = static_cast<int64_t>(commandTenths.size());
    if (rampStart < 1 || rampStart > sampleCount || rampEnd < 1 || rampEnd > sampleCount)
        return false;

    const uint32_t s = static_cast<uint32_t>(rampStart - 1);
    const uint32_t e = static_cast<uint32_t>(rampEnd - 1);
    const int64_t low = (static_cast<int64_t>(testPotential) - range) * 10;
    const int64_t high = (static_cast<int64_t>(testPotential) + range) * 10;
    const int64_t atStart = commandTenths[s];
    const int64_t atEnd = commandTenths[e];
    const int64_t lo = std::max(low, std::min(atStart, atEnd));
    const int64_t hi = std::min(high, std::max(atStart, atEnd));
    if (lo >= hi) {
        subsection = Subsection{};
        return true;
    }

    // A ramp entered backwards leaves nothing to search: both ends stay at s.
    const uint32_t last = std::max(s, e);
    uint32_t start = 0;
    uint32_t end = 0;
    if (atStart < atEnd) {
        start = Bisect(commandTenths, s, last, [lo](int64_t v) { return v >= lo; });
        end = Bisect(commandTenths, s, last, [hi](int64_t v) { return v > hi; });
    } else {
        start = Bisect(commandTenths, s, last, [lo](int64_t v) { return v < lo; });
        end = Bisect(commandTenths, s, last, [hi](int64_t v) { return v <= hi; });
    }
    if (start > end)
        std::swap(start, end);
    subsection = Subsection{start, end};
    return true;
}
