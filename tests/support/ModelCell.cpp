#include "tests/support/ModelCell.h"

#include "tests/support/AbfTestWriter.h"

namespace model {

double Voltage(uint32_t i) {
    if (i < kHolding)
        return kHoldingMv;
    if (i <= kRamp2First)
        return 50.0;
    if (i <= kRamp2Last)
        return 50.0 - 0.25 * (i - kRamp2First);
    if (i <= kRamp1First)
        return -100.0;
    if (i <= kRamp1Last)
        return -100.0 + 0.125 * (i - kRamp1First);
    return kHoldingMv;
}

double VoltageRate(uint32_t i) {
    if (i > kRamp2First && i <= kRamp2Last)
        return kRamp2Slope;
    if (i > kRamp1First && i <= kRamp1Last)
        return kRamp1Slope;
    return 0.0;
}

double Current(const Cell& cell, uint32_t i) {
    return cell.conductance * (Voltage(i) - kErev) + cell.capacitance * VoltageRate(i);
}

namespace {

// The model's command voltage (mV) and its rate (mV/us) with every epoch after
// the first holding moved `shift` samples later.
double ShiftedVoltage(uint32_t i, uint32_t shift) {
    if (i < kHolding + shift)
        return i < kHolding ? kHoldingMv : 50.0;
    return Voltage(i - shift);
}

double ShiftedVoltageRate(uint32_t i, uint32_t shift) {
    return i < kHolding + shift ? 0.0 : VoltageRate(i - shift);
}

// 10 V over 32768 counts with a scale of 160/32768 V per pA: 1/16 pA per count.
constexpr float kCurrentScale = 160.0f / 32768.0f;

// The model's protocol, one episode per cell, the first step growing by
// `shiftPerEpisode` samples each episode: after kHolding samples at holding,
// +50 mV up to kRamp2First, ramp 2 down to -100 mV, a step at -100 mV up to
// kRamp1First, ramp 1 up to +50 mV.
AbfTestWriter ModelProtocol(size_t cells, uint32_t shiftPerEpisode) {
    AbfTestWriter writer;
    writer.SetSamplesPerChannel(kSamples)
        .SetEpisodes(static_cast<uint32_t>(cells))
        .SetHolding(kHoldingMv)
        .SetEpoch(0, 1, 50.0f, 0.0f, static_cast<int16_t>(kRamp2First + 1 - kHolding),
                  static_cast<int16_t>(shiftPerEpisode))
        .SetEpoch(1, 2, -100.0f, 0.0f, static_cast<int16_t>(kRamp2Last - kRamp2First), 0)
        .SetEpoch(2, 1, -100.0f, 0.0f, static_cast<int16_t>(kRamp1First - kRamp2Last), 0)
        .SetEpoch(3, 2, 50.0f, 0.0f, static_cast<int16_t>(kRamp1Last - kRamp1First), 0);
    return writer;
}

} // namespace

void WriteMovingRampRecording(const std::string& path, const std::vector<Cell>& cells,
                              uint32_t shiftPerEpisode) {
    // The current's channel second in the scan, where the command's ramp
    // values fall on the model's voltages.
    ModelProtocol(cells.size(), shiftPerEpisode)
        .SetChannels({1, 0})
        .SetSampleInterval(kIntervalUs / 2.0f)
        .SetStartToStart(5.0f)
        .SetChannelScaling(0, kCurrentScale, 1.0f, 0.0f)
        .SetChannelScaling(1, 0.01f, 1.0f, 0.0f)
        .SetText(AbfOffset::kAdcChannelNames, "Im", 10)
        .SetText(AbfOffset::kAdcChannelNames + 10, "Vm", 10)
        .SetSignal([cells, shiftPerEpisode](uint32_t episode, int channel, uint32_t sample) {
            const uint32_t shift = (episode - 1) * shiftPerEpisode;
            if (channel == 1)
                return ShiftedVoltage(sample, shift);
            const Cell& cell = cells[episode - 1];
            return cell.conductance * (ShiftedVoltage(sample, shift) - kErev) +
                   cell.capacitance * ShiftedVoltageRate(sample, shift);
        })
        .Write(path);
}

void WriteModelRecording(const std::string& path, const std::vector<Cell>& cells, bool twoChannels,
                         float startToStartS) {
    const int currentChannel = twoChannels ? 1 : 0;
    ModelProtocol(cells.size(), 0)
        .SetChannels(twoChannels ? std::vector<int16_t>{0, 1} : std::vector<int16_t>{0})
        // The header's interval is that of the multiplexed samples.
        .SetSampleInterval(kIntervalUs / (twoChannels ? 2.0f : 1.0f))
        .SetStartToStart(startToStartS)
        .SetChannelScaling(0, kCurrentScale, 1.0f, 0.0f)
        .SetChannelScaling(1, kCurrentScale, 1.0f, 0.0f)
        // Channel 0 holds no current: its unit says so, as a recording's would.
        .SetText(AbfOffset::kAdcUnits, twoChannels ? "mV" : "pA", 8)
        .SetText(AbfOffset::kAdcUnits + 8, "pA", 8)
        .SetSignal([cells, currentChannel](uint32_t episode, int channel, uint32_t sample) {
            return channel != currentChannel ? 1000.0 : Current(cells[episode - 1], sample);
        })
        .Write(path);
}

} // namespace model
