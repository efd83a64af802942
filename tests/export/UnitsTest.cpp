// Units of the derived columns from the channel's and the command's units.
#include "export/Units.h"

#include <gtest/gtest.h>

namespace {

TEST(Units, ConductanceAndCapacitanceFromTheChannelAndCommand) {
    const struct {
        const char* current;
        const char* command;
        const char* conductance;
        const char* capacitance;
    } cases[] = {
        {"pA", "mV", "nS", "fF"},
        {"nA", "mV", "\xC2\xB5S", "pF"},
        {"\xC2\xB5"
         "A",
         "mV", "mS", "nF"},
        {"A", "mV", "kS", "mF"},
        {"pA", "V", "pS", "aF"},
        {"mV", "mV", "mV/mV", "mV \xC2\xB5s/mV"}, // no current: spelt out
        {"pA", "deg", "pA/deg", "pA \xC2\xB5s/deg"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.current + std::string(" ") + c.command);
        EXPECT_EQ(ConductanceUnit({c.current, c.command}), c.conductance);
        EXPECT_EQ(CapacitanceUnit({c.current, c.command}), c.capacitance);
    }
}

} // namespace
