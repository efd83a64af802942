// Which analog-input channel holds the membrane current: the first sampled
// channel whose unit is a current, else channel 1 when it was sampled, else 0.
#pragma once

#include "abf/AbfHeader.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// "auto" (kAutoChannel) or a physical channel number 0..15.
inline constexpr int kAutoChannel = -1;

// One sampled analog-input channel as the recording names it.
struct ChannelInfo {
    int index = -1;   // physical channel number; -1: none
    std::string name; // as stored, blanks trimmed
    std::string unit; // as stored, blanks trimmed ("pA", "mV", ...)
};

// How a channel is named to the user: "0: IN 0 (pA)" (number, name, unit in
// brackets; a part the recording leaves empty is left out).
std::string ChannelLabel(const ChannelInfo& channel);

// True for the units of an electric current: fA, pA, nA, µA (also "uA" and the
// single-byte µ of the recordings' code page), mA and A.
bool IsCurrentUnit(std::string_view unit);

// True when the recording's scan holds physical channel `channel`.
bool IsSampledChannel(const AbfHeader& header, int channel);

// The sampled channels in scan order (each physical channel once).
std::vector<ChannelInfo> SampledChannels(const AbfHeader& header);

// The channel to analyse for `request` (kAutoChannel or a channel number):
// a number is taken as it is (the reader refuses one that was not sampled);
// auto takes the first sampled channel with a current unit, else 1 when
// sampled, else 0.
int ChooseChannel(const AbfHeader& header, int request);

// The name and unit of physical channel `channel` (index -1 when not sampled).
ChannelInfo DescribeChannel(const AbfHeader& header, int channel);

// The unit of the active analog output (the command), blanks trimmed; "mV"
// when the recording names none.
std::string CommandUnit(const AbfHeader& header);

// "auto" or a channel number 0..15 as text; false for anything else.
bool ParseChannelRequest(std::string_view text, int& request);
// The stored setting's reading of `text`: the request ParseChannelRequest
// takes from it (blanks at either end ignored), kAutoChannel for anything
// else, so that a mistyped profile value still analyses a channel.
int ChannelRequestOrAuto(std::string_view text);
// "auto" or the number.
std::string ChannelRequestText(int request);
