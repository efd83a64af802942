#include "export/Units.h"

#include <array>
#include <optional>
#include <string_view>

namespace {

struct Prefix {
    std::string_view text;
    int exponent; // powers of ten
};

constexpr std::array<Prefix, 11> kPrefixes = {{{"a", -18},
                                               {"f", -15},
                                               {"p", -12},
                                               {"n", -9},
                                               {"u", -6},
                                               {"\xC2\xB5", -6},
                                               {"\xCE\xBC", -6},
                                               {"m", -3},
                                               {"", 0},
                                               {"k", 3},
                                               {"M", 6}}};

// The power of ten of `unit` when it is a known prefix followed by `base`.
std::optional<int> ExponentOf(std::string_view unit, std::string_view base) {
    if (!unit.ends_with(base))
        return std::nullopt;
    const std::string_view prefix = unit.substr(0, unit.size() - base.size());
    for (const Prefix& p : kPrefixes)
        if (p.text == prefix)
            return p.exponent;
    if (prefix == "\xB5" || prefix == "\xE6") // µ of the recordings' single-byte code pages
        return -6;
    return std::nullopt;
}

// `base` with the prefix of `exponent`, when one is named.
std::optional<std::string> WithPrefix(int exponent, std::string_view base) {
    for (const Prefix& p : kPrefixes)
        if (p.exponent == exponent && p.text != "\xC2\xB5" && p.text != "\xCE\xBC")
            return std::string(p.exponent == -6 ? "\xC2\xB5" : p.text) + std::string(base);
    return std::nullopt;
}

} // namespace

std::string ConductanceUnit(const ChannelUnits& units) {
    const auto current = ExponentOf(units.current, "A");
    const auto voltage = ExponentOf(units.command, "V");
    if (current && voltage)
        if (auto unit = WithPrefix(*current - *voltage, "S"))
            return *unit;
    return units.current + "/" + units.command;
}

std::string CapacitanceUnit(const ChannelUnits& units) {
    const auto current = ExponentOf(units.current, "A");
    const auto voltage = ExponentOf(units.command, "V");
    if (current && voltage)
        if (auto unit = WithPrefix(*current - 6 - *voltage, "F"))
            return *unit;
    return units.current + " \xC2\xB5s/" + units.command;
}
