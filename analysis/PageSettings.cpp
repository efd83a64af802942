#include "analysis/PageSettings.h"

#include "platform/IntegerList.h"

#include <algorithm>
#include <limits>
#include <utility>

AnalysisPageSettings::AnalysisPageSettings(std::string section)
    : settingsSection(std::move(section)) {}

void AnalysisPageSettings::Load(IProfileStore& profile) {
    const std::string& s = settingsSection;
    ramp1Start = profile.ReadInt(s, "Ramp1 Start", 1350);
    ramp1End = profile.ReadInt(s, "Ramp1 End", 2625);
    ramp2Start = profile.ReadInt(s, "Ramp2 Start", ramp2Start);
    ramp2End = profile.ReadInt(s, "Ramp2 End", ramp2End);
    useControl = profile.ReadInt(s, "Use Control", 1);
}

void AnalysisPageSettings::Save(IProfileStore& profile) const {
    const std::string& s = settingsSection;
    profile.WriteInt(s, "Ramp1 Start", ramp1Start);
    profile.WriteInt(s, "Ramp1 End", ramp1End);
    profile.WriteInt(s, "Ramp2 Start", ramp2Start);
    profile.WriteInt(s, "Ramp2 End", ramp2End);
    profile.WriteInt(s, "Use Control", useControl);
}

SlopeConductanceSettings::SlopeConductanceSettings(std::string section)
    : AnalysisPageSettings(std::move(section)) {}

void SlopeConductanceSettings::Load(IProfileStore& profile) {
    AnalysisPageSettings::Load(profile);
    testPotential = profile.ReadInt(settingsSection, "Reversal Potential", 0);
    potentialRange = profile.ReadInt(settingsSection, "Reversal Potential Range", 5);
}

void SlopeConductanceSettings::Save(IProfileStore& profile) const {
    AnalysisPageSettings::Save(profile);
    profile.WriteInt(settingsSection, "Reversal Potential", testPotential);
    profile.WriteInt(settingsSection, "Reversal Potential Range", potentialRange);
}

void SlopeConductanceSettings::RecomputeSubsections(const std::vector<int32_t>& commandTenths) {
    if (commandTenths.empty())
        return;
    FindSubsection(commandTenths, testPotential, potentialRange, ramp1Start, ramp1End, subsection1);
    FindSubsection(commandTenths, testPotential, potentialRange, ramp2Start, ramp2End, subsection2);
}

CapacitanceSettings::CapacitanceSettings(std::string section)
    : SlopeConductanceSettings(std::move(section)) {
    ramp2Start = 700;
    ramp2End = 1300;
}

CurrentVoltageSettings::CurrentVoltageSettings(std::string section)
    : AnalysisPageSettings(std::move(section)) {}

namespace {

uint32_t ListedStepOr1(int32_t stored) {
    const auto* found = std::find(kCurrentVoltageSteps.begin(), kCurrentVoltageSteps.end(),
                                  static_cast<uint32_t>(stored));
    return found == kCurrentVoltageSteps.end() ? 1 : *found;
}

} // namespace

void CurrentVoltageSettings::Load(IProfileStore& profile) {
    AnalysisPageSettings::Load(profile);
    sampleEvery = ListedStepOr1(profile.ReadInt(settingsSection, "Sample Frequency", 1));
    roundTo = ListedStepOr1(profile.ReadInt(settingsSection, "Round To", 1));
}

void CurrentVoltageSettings::Save(IProfileStore& profile) const {
    AnalysisPageSettings::Save(profile);
    profile.WriteInt(settingsSection, "Sample Frequency", static_cast<int>(sampleEvery));
    profile.WriteInt(settingsSection, "Round To", static_cast<int>(roundTo));
}

ContinuousRecordSettings::ContinuousRecordSettings(std::string section)
    : AnalysisPageSettings(std::move(section)) {}

void ContinuousRecordSettings::Load(IProfileStore& profile) {
    AnalysisPageSettings::Load(profile);
    const std::string text =
        profile.ReadString(settingsSection, "Sample Points", kDefaultSamplePoints);
    const IntegerListParse parsed = ParseIntegerListText(text, false);
    samplePoints = ExpandIntegerRuns(parsed.runs);
    loadProblem.clear();
    if (!parsed.badToken.empty())
        loadProblem = "\"Sample Points\" in [" + settingsSection + "]: \"" + parsed.badToken +
                      "\" is not a whole positive number";
}

void ContinuousRecordSettings::Save(IProfileStore& profile) const {
    AnalysisPageSettings::Save(profile);
    profile.WriteString(settingsSection, "Sample Points", FormatIntegerListText(samplePoints));
}
