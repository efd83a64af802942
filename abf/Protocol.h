// Values of the stimulus protocol per episode: epoch levels and durations and
// the conditioning train, with the user list taking over the parameter it varies.
#pragma once

#include "abf/AbfHeader.h"

#include <cstdint>

// Level of epoch `epoch` (0..9) in episode `episode` (from 1).
double AbfEpochLevel(const AbfHeader& h, int epoch, uint32_t episode);

// Duration of epoch `epoch` in episode `episode`, samples per channel (64-bit,
// so that no increment can overflow).
int64_t AbfEpochDuration(const AbfHeader& h, int epoch, uint32_t episode);

// Post-train duration (ms) and level of the conditioning train in `episode`.
double AbfPostTrainDuration(const AbfHeader& h, uint32_t episode);
double AbfPostTrainLevel(const AbfHeader& h, uint32_t episode);

// The level an episode's epoch waveform starts from, before its first epoch:
// the conditioning train's post-train level, the last epoch's level of the
// episode before when the waveform holds it between episodes, else the
// holding level. h.activeDacChannel must be a valid analog output.
double AbfStartingLevel(const AbfHeader& h, uint32_t episode);

// Multiplexed samples at the starting level before the first epoch of an
// epoch waveform (`fileKind` decides the old kind-3 rule).
uint64_t AbfFirstHoldingSamples(const AbfHeader& h, int16_t fileKind);

// Start-to-start time of episodes in episodic mode, microseconds.
double AbfStartToStartUs(const AbfHeader& h, uint32_t episode);

// The `episode`-th comma-separated value of the user list as text (the last
// one when there are fewer; empty for an empty list).
const char* AbfUserListItem(const AbfHeader& h, uint32_t episode, char* item, size_t size);
