#include "display/AxisTicks.h"

#include <cmath>
#include <cstdio>

AxisTicks ChooseTicks(double low, double high, double pixels, double minSpacing) {
    AxisTicks ticks;
    const double span = high - low;
    if (!std::isfinite(low) || !std::isfinite(high) || !(span > 0.0) || !(pixels > 0.0) ||
        !(minSpacing > 0.0) || pixels < minSpacing)
        return ticks;
    // The smallest round step whose spacing on screen is at least minSpacing.
    const double least = span * minSpacing / pixels;
    double power = std::pow(10.0, std::floor(std::log10(least)));
    double step = power;
    for (const double factor : {1.0, 2.0, 5.0, 10.0}) {
        step = factor * power;
        if (step >= least)
            break;
    }
    ticks.step = step;
    for (double n = std::ceil(low / step); n * step <= high && ticks.values.size() < 1000; n += 1.0)
        ticks.values.push_back(n * step);
    return ticks;
}

std::string TickText(double value, double step) {
    int decimals = 0;
    if (step > 0.0 && step < 1.0)
        decimals = static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    std::string result = text;
    if (result.find_first_not_of("-0.") == std::string::npos && result[0] == '-')
        result.erase(0, 1);
    return result;
}

TimeUnit TimeUnitForSpan(double spanMicroseconds) {
    if (spanMicroseconds >= 2e6)
        return {1e6, "s"};
    return {1e3, "ms"};
}

std::string ReadoutText(const ReadoutValues& values) {
    const TimeUnit unit = TimeUnitForSpan(values.timeMicroseconds);
    char text[256];
    std::string result;
    if (values.traceNumber != 0) {
        std::snprintf(text, sizeof text, "Trace %u   ", values.traceNumber);
        result += text;
    }
    std::snprintf(text, sizeof text, "Sample %u   %.*f %s", values.sampleNumber,
                  unit.microseconds > 1e3 ? 4 : 1, values.timeMicroseconds / unit.microseconds,
                  unit.name);
    result += text;
    if (values.traceNumber != 0) {
        std::snprintf(text, sizeof text, "   %.1f %s", values.value, values.unit.c_str());
        result += text;
    }
    if (values.hasCommand) {
        std::snprintf(text, sizeof text, "   %.1f mV", values.commandMillivolts);
        result += text;
    }
    return result;
}
