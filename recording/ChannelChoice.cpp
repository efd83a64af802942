#include "recording/ChannelChoice.h"

#include "platform/TextTrim.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace {

constexpr int kChannels = 16;

std::string Trimmed(const char* field, size_t width) {
    return std::string(FieldTextOf(field, width));
}

} // namespace

bool IsSampledChannel(const AbfHeader& header, int channel) {
    for (int i = 0; i < header.channelCount && i < kChannels; ++i)
        if (header.samplingSequence[i] == channel)
            return true;
    return false;
}

bool IsCurrentUnit(std::string_view unit) {
    // "µ" in UTF-8 (micro sign or Greek mu) and in the single-byte code pages.
    static constexpr std::array<std::string_view, 10> kUnits = {"fA",
                                                                "pA",
                                                                "nA",
                                                                "uA",
                                                                "\xC2\xB5"
                                                                "A",
                                                                "\xCE\xBC"
                                                                "A",
                                                                "\xB5"
                                                                "A",
                                                                "\xE6"
                                                                "A",
                                                                "mA",
                                                                "A"};
    return std::find(kUnits.begin(), kUnits.end(), unit) != kUnits.end();
}

ChannelInfo DescribeChannel(const AbfHeader& header, int channel) {
    ChannelInfo info;
    if (channel < 0 || channel >= kChannels || !IsSampledChannel(header, channel))
        return info;
    info.index = channel;
    info.name = Trimmed(header.adcChannelName[channel], sizeof header.adcChannelName[0]);
    info.unit = Trimmed(header.adcUnits[channel], sizeof header.adcUnits[0]);
    return info;
}

std::vector<ChannelInfo> SampledChannels(const AbfHeader& header) {
    std::vector<ChannelInfo> channels;
    for (int i = 0; i < header.channelCount && i < kChannels; ++i) {
        const int channel = header.samplingSequence[i];
        const bool seen = std::any_of(channels.begin(), channels.end(),
                                      [&](const ChannelInfo& c) { return c.index == channel; });
        if (channel >= 0 && channel < kChannels && !seen)
            channels.push_back(DescribeChannel(header, channel));
    }
    return channels;
}

int ChooseChannel(const AbfHeader& header, int request) {
    if (request != kAutoChannel)
        return request;
    for (const ChannelInfo& channel : SampledChannels(header))
        if (IsCurrentUnit(channel.unit))
            return channel.index;
    return IsSampledChannel(header, 1) ? 1 : 0;
}

std::string CommandUnit(const AbfHeader& header) {
    const int dac = header.activeDacChannel;
    if (dac < 0 || dac >= 4)
        return "mV";
    std::string unit = Trimmed(header.dacUnits[dac], sizeof header.dacUnits[0]);
    return unit.empty() ? "mV" : unit;
}

bool ParseChannelRequest(std::string_view text, int& request) {
    if (text == "auto") {
        request = kAutoChannel;
        return true;
    }
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 0 || value >= kChannels)
        return false;
    request = value;
    return true;
}

std::string ChannelLabel(const ChannelInfo& channel) {
    std::string label = std::to_string(channel.index);
    if (!channel.name.empty())
        label += ": " + channel.name;
    if (!channel.unit.empty())
        label += " (" + channel.unit + ")";
    return label;
}

int ChannelRequestOrAuto(std::string_view text) {
    int request = kAutoChannel;
    if (!ParseChannelRequest(TrimmedOf(text, " \t"), request))
        return kAutoChannel;
    return request;
}

std::string ChannelRequestText(int request) {
    return request == kAutoChannel ? "auto" : std::to_string(request);
}
