// The options of `analyse` and `watch` that stand in for profile settings for
// one run: which channel is analysed (--channel) and where the ramps come
// from (--ramps). Without them the profile decides.
#pragma once

#include "cli/RecordingAnalysis.h"

#include <QStringList>

#include <optional>
#include <string>

struct AnalysisOverrides {
    std::optional<int> channelRequest;     // kAutoChannel or a channel number 0..15
    std::optional<bool> rampsFromProtocol; // --ramps protocol (true) or settings (false)
};

// Whether arguments[i] is --channel or --ramps: false for any other argument
// (`error` untouched). Takes the option's value at arguments[++i] into
// `overrides`; a missing or malformed value sets `error` (bad usage).
bool TakeAnalysisOverride(const QStringList& arguments, qsizetype& i, AnalysisOverrides& overrides,
                          std::string& error);

// `profile` with the overrides applied: the channel request replaced; the
// ramps' source set on every page with ramps, each page's ramp numbers kept.
void ApplyAnalysisOverrides(const AnalysisOverrides& overrides, AnalysisProfile& profile);

// The help lines of --channel and --ramps, each option's text indented to
// `column` (the column of the command's other option texts).
std::string AnalysisOverridesHelp(size_t column);
