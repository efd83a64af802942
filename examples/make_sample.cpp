// Writes the bundled sample recording (examples/sample.abf): a model cell
// driven through a protocol with two voltage ramps, channel 0 the membrane
// potential (mV), channel 1 the membrane current (pA). Usage: make-sample OUT.abf
#include "tests/support/AbfTestWriter.h"

#include <cstdint>
#include <exception>
#include <iostream>
#include <iterator>

namespace {

using namespace AbfOffset;

constexpr uint32_t kEpisodes = 10;
constexpr uint32_t kSamplesPerChannel = 5000;
constexpr float kIntervalUs = 100; // between multiplexed samples
constexpr double kCapacitancePf = 30;
constexpr double kReversalMv = -30;
constexpr float kHolding = -80;

// Epochs, samples per channel: holding step, prepulse, ramp up, step, ramp
// down twice as steep, back to holding.
struct Epoch {
    int16_t type;
    float level;
    int16_t duration;
};
constexpr Epoch kEpochs[] = {
    {1, -80, 500}, {1, -100, 500}, {2, 60, 1600}, {1, 60, 500}, {2, -100, 800}, {1, -80, 500},
};
// The first holding is 1/64 of the multiplexed episode, here 10000 / 64 = 156
// rounded down to whole scans: 78 samples per channel.
constexpr uint32_t kFirstHolding = 78;

// Deterministic noise of about +-2 pA from an integer hash (no library
// randomness, so the file is the same on every machine).
double Noise(uint32_t episode, int channel, uint32_t sample) {
    uint32_t h = episode * 0x9E3779B1u ^ uint32_t(channel) * 0x85EBCA77u ^ sample * 0xC2B2AE3Du;
    double sum = 0;
    for (int i = 0; i < 3; ++i) {
        h ^= h >> 15;
        h *= 0x2C1B3C6Du;
        h ^= h >> 12;
        h *= 0x297A2D39u;
        h ^= h >> 15;
        sum += double(h) / 4294967296.0 - 0.5;
    }
    return sum * 2.0;
}

// The current grows over the recording, nS; episodes from 1.
double ConductanceNs(uint32_t episode) {
    return 2.0 + 0.5 * episode;
}

// Command voltage (mV) at `sample` (per channel) of any episode.
double CommandMv(uint32_t sample) {
    if (sample < kFirstHolding)
        return kHolding;
    uint32_t at = kFirstHolding;
    double previous = kHolding;
    for (const Epoch& e : kEpochs) {
        if (sample < at + uint32_t(e.duration)) {
            if (e.type == 1)
                return e.level;
            return previous + (e.level - previous) * (sample - at + 1) / e.duration;
        }
        at += uint32_t(e.duration);
        previous = e.level;
    }
    return kHolding;
}

// Its slope, mV/ms.
double CommandSlope(uint32_t sample) {
    const double msPerSample = 2 * kIntervalUs / 1000.0; // two channels per scan
    return (CommandMv(sample) - CommandMv(sample == 0 ? 0 : sample - 1)) / msPerSample;
}

// Current without noise, pA.
double ModelCurrentPa(uint32_t episode, uint32_t sample) {
    return ConductanceNs(episode) * (CommandMv(sample) - kReversalMv) +
           kCapacitancePf * CommandSlope(sample);
}

AbfTestWriter SampleWriter() {
    AbfTestWriter w;
    w.SetChannels({0, 1})
        .SetEpisodes(kEpisodes)
        .SetSamplesPerChannel(kSamplesPerChannel)
        .SetSampleInterval(kIntervalUs)
        .SetStartToStart(5)
        .SetHolding(kHolding)
        .SetChannelScaling(0, 0.01f, 1, 0)    // 10 mV/mV
        .SetChannelScaling(1, 0.0005f, 10, 0) // 0.5 mV/pA, gain 10
        .SetText(kAdcChannelNames, "Vm", 10)
        .SetText(kAdcChannelNames + 10, "Im", 10)
        .SetText(kAdcUnits, "mV", 8)
        .SetText(kAdcUnits + 8, "pA", 8)
        .SetText(kFileComment, "Synthetic model cell, two voltage ramps", 56)
        .SetSignal([](uint32_t episode, int channel, uint32_t sample) {
            if (channel == 0)
                return CommandMv(sample) + 0.05 * Noise(episode, 0, sample);
            return ModelCurrentPa(episode, sample) + Noise(episode, 1, sample);
        });
    for (int e = 0; e < int(std::size(kEpochs)); ++e)
        w.SetEpoch(e, kEpochs[e].type, kEpochs[e].level, 0, kEpochs[e].duration, 0);
    return w;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make-sample OUT.abf\n";
        return 2;
    }
    try {
        SampleWriter().Write(argv[1]);
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    return 0;
}
