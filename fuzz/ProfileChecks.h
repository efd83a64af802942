// What the profile fuzz target checks on any text, shared with the test that
// replays the inputs it found faults with: the INI parser and the integer-list
// parser take every byte sequence, and each reads back its own output alike.
#pragma once

#include "platform/IniText.h"
#include "platform/IntegerList.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

// Aborts (a finding for the fuzzer, a crash for the test) when a property fails.
inline void CheckProfileText(std::string_view text) {
    const auto require = [](bool condition) {
        if (!condition)
            std::abort();
    };
    const IniValues values = IniValues::Parse(text);
    const std::string formatted = values.Format();
    require(IniValues::Parse(formatted).Format() == formatted);
    const std::string utf8 = LineAsUtf8(text.substr(0, text.find('\0')));
    require(LineAsUtf8(utf8) == utf8);
    values.Find("settings", "AutoSave");
    values.Find("Current Traces", "Sample Points");

    for (bool ranges : {false, true}) {
        const IntegerListParse parsed = ParseIntegerListText(text, ranges);
        uint64_t span = 0;
        for (const IntegerRun& run : parsed.runs) {
            require(run.first >= 1 && run.first <= run.last);
            require(ranges || run.first == run.last);
            span += uint64_t(run.last) - uint64_t(run.first) + 1;
        }
        if (span > 10000)
            continue; // the callers bound the runs before expanding them
        const std::vector<int32_t> expanded = ExpandIntegerRuns(parsed.runs);
        const std::string again = FormatIntegerListText(expanded, ranges);
        const IntegerListParse reparsed = ParseIntegerListText(again, ranges);
        require(reparsed.badToken.empty());
        require(ExpandIntegerRuns(reparsed.runs) == expanded);
    }
}
