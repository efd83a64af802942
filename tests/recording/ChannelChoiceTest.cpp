// Which channel holds the current: by its unit first, then by the old rule.
#include "recording/ChannelChoice.h"

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

namespace {

AbfHeader Header(std::vector<int16_t> sequence, std::vector<const char*> units) {
    AbfHeader h{};
    h.channelCount = static_cast<int16_t>(sequence.size());
    for (size_t i = 0; i < sequence.size(); ++i) {
        h.samplingSequence[i] = sequence[i];
        std::memset(h.adcUnits[sequence[i]], ' ', sizeof h.adcUnits[0]);
        std::memcpy(h.adcUnits[sequence[i]], units[i], std::strlen(units[i]));
    }
    return h;
}

TEST(ChannelChoice, AutoTakesTheFirstCurrentElseChannel1Else0) {
    const struct {
        const char* what;
        AbfHeader header;
        int channel;
    } cases[] = {
        // clang-format off
        {"current on 0, voltage on 1", Header({0, 1}, {"pA", "mV"}), 0},
        {"voltage on 0, current on 1", Header({0, 1}, {"mV", "pA"}), 1},
        {"scan order, not channel order", Header({3, 2}, {"nA", "pA"}), 3},
        {"micro sign in UTF-8", Header({0, 4}, {"mV", "\xC2\xB5" "A"}), 4},
        {"uA", Header({0, 4}, {"mV", "uA"}), 4},
        {"amperes", Header({2, 5}, {"V", "A"}), 5},
        {"no current: channel 1", Header({0, 1}, {"mV", "V"}), 1},
        {"no current, no channel 1: 0", Header({0, 2}, {"mV", "mV"}), 0},
        {"not a current", Header({0, 1}, {"pAx", "mA "}), 1},
        // clang-format on
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChooseChannel(c.header, kAutoChannel), c.channel) << c.what;
    EXPECT_EQ(ChooseChannel(Header({0, 1}, {"pA", "mV"}), 1), 1) << "a number is kept";
}

TEST(ChannelChoice, DescriptionsAndRequests) {
    AbfHeader h = Header({1, 0, 1}, {"pA", "mV", "pA"});
    std::memcpy(h.adcChannelName[1], " Im  ", 5);
    std::memcpy(h.dacUnits[0], "V       ", 8);
    const std::vector<ChannelInfo> channels = SampledChannels(h);
    ASSERT_EQ(channels.size(), 2u) << "channel 1 once";
    EXPECT_EQ(std::tie(channels[0].index, channels[0].name, channels[0].unit, channels[1].unit),
              std::tuple(1, "Im", "pA", "mV"));
    EXPECT_EQ(DescribeChannel(h, 5).index, -1);
    EXPECT_EQ(CommandUnit(h), "V");
    std::memset(h.dacUnits[0], 0, 8);
    EXPECT_EQ(CommandUnit(h), "mV") << "unnamed";

    int request = 99, fifteen = 99;
    EXPECT_TRUE(ParseChannelRequest("auto", request) && ParseChannelRequest("15", fifteen));
    EXPECT_EQ(std::tuple(request, fifteen), std::tuple(kAutoChannel, 15));
    for (const char* bad : {"16", "-1", "1x", "", "Auto"})
        EXPECT_FALSE(ParseChannelRequest(bad, request)) << bad;
    EXPECT_EQ(ChannelRequestText(kAutoChannel) + ChannelRequestText(3), "auto3");
}

} // namespace
