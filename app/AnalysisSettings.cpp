#include "app/AnalysisSettings.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <system_error>

namespace {

constexpr const char* kSection = kGeneralSettingsSection;
constexpr std::array<const char*, 4> kSelectionColourKeys = {"Colour Ramp1", "Colour Ramp2",
                                                             "Colour subRamp1", "Colour subRamp2"};

ColourRef ReadColour(IProfileStore& profile, const char* key, ColourRef defaultValue) {
    return static_cast<ColourRef>(profile.ReadInt(kSection, key, static_cast<int>(defaultValue)));
}

void WriteColour(IProfileStore& profile, const char* key, ColourRef value) {
    profile.WriteInt(kSection, key, static_cast<int>(value));
}

} // namespace

AnalysisSettings::AnalysisSettings()
    : selectionColours{g_crSelection[0], g_crSelection[1], g_crSelection[2], g_crSelection[3]},
      zeroLineColour(g_crZeroLine), currentTraceColour(g_crCurrentTrace),
      controlTraceColour(g_crControlTrace) {}

void AnalysisSettings::Load(IProfileStore& profile) {
    selectAllCapacitance = profile.ReadInt(kSection, "SelectAllCapacitance", 1);
    useZeroCurrentLine = profile.ReadInt(kSection, "UseZeroCurrentLine", 1);
    selectAllSlopes = profile.ReadInt(kSection, "SelectAllSlopes", 1);
    selectAllCurrent = profile.ReadInt(kSection, "SelectAllCurent", 1);
    selectAllIV = profile.ReadInt(kSection, "SelectAllIV", 1);
    selectAllTraces = profile.ReadInt(kSection, "SelectAllTraces", 1);
    autoAnalyseAcquisitions = profile.ReadInt(kSection, "AutoAnalyseAcquisitions", 1);
    autoPrint = profile.ReadInt(kSection, "AutoPrint", 1);
    autoSave = profile.ReadInt(kSection, "AutoSave", 1);
    plotTraceNumber = profile.ReadInt(kSection, "PlotTimeTraceNum", 1);

    for (size_t i = 0; i < selectionColours.size(); ++i)
        selectionColours[i] = ReadColour(profile, kSelectionColourKeys[i], selectionColours[i]);
    currentTraceColour = ReadColour(profile, "Colour Current Trace", currentTraceColour);
    controlTraceColour = ReadColour(profile, "Colour Control Trace", controlTraceColour);
    zeroLineColour = ReadColour(profile, "Colour Zero Line", zeroLineColour);

    sweepMaxRange = ParseSweepMaxRange(profile.ReadString(kSection, "Sweep Max Range", "5000"));
    ApplyColours();
}

void AnalysisSettings::Save(IProfileStore& profile) const {
    profile.WriteInt(kSection, "SelectAllCapacitance", selectAllCapacitance);
    profile.WriteInt(kSection, "UseZeroCurrentLine", useZeroCurrentLine);
    profile.WriteInt(kSection, "SelectAllSlopes", selectAllSlopes);
    profile.WriteInt(kSection, "SelectAllCurent", selectAllCurrent);
    profile.WriteInt(kSection, "SelectAllIV", selectAllIV);
    profile.WriteInt(kSection, "SelectAllTraces", selectAllTraces);
    profile.WriteInt(kSection, "AutoPrint", autoPrint);
    profile.WriteInt(kSection, "AutoSave", autoSave);
    profile.WriteInt(kSection, "PlotTimeTraceNum", plotTraceNumber);
    profile.WriteInt(kSection, "AutoAnalyseAcquisitions", autoAnalyseAcquisitions);
    for (size_t i = 0; i < selectionColours.size(); ++i)
        WriteColour(profile, kSelectionColourKeys[i], selectionColours[i]);
    WriteColour(profile, "Colour Current Trace", currentTraceColour);
    WriteColour(profile, "Colour Zero Line", zeroLineColour);
    WriteColour(profile, "Colour Control Trace", controlTraceColour);
    profile.WriteString(kSection, "Sweep Max Range", FormatSweepMaxRange(sweepMaxRange));
}

void AnalysisSettings::ApplyColours() const {
    for (size_t i = 0; i < selectionColours.size(); ++i)
        g_crSelection[i] = selectionColours[i];
    g_crSelection[4] = selectionColours[0];
    g_crSelection[5] = selectionColours[1];
    g_crCurrentTrace = currentTraceColour;
    g_crControlTrace = controlTraceColour;
    g_crZeroLine = zeroLineColour;
}

void AnalysisSettings::ApplyZeroCurrentLine() const {
    g_bShowZeroCurrentLine = useZeroCurrentLine != 0;
}

double ParseSweepMaxRange(const std::string& text) {
    // Like strtod on the leading number, but independent of the process locale
    // (Qt sets it from the environment, where the decimal point may be a comma).
    const char* first = text.data();
    const char* last = text.data() + text.size();
    while (first != last && std::isspace(static_cast<unsigned char>(*first)))
        ++first;
    if (first != last && *first == '+' && (last - first) > 1 && first[1] != '-')
        ++first;
    double value = 0.0;
    const auto [end, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec != std::errc() || value == 0.0 || !std::isfinite(value))
        return kDefaultSweepMaxRange;
    return value;
}

std::string FormatSweepMaxRange(double value) {
    char buffer[64];
    const auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 8);
    if (ec != std::errc())
        return "5000";
    return std::string(buffer, end);
}

void ViewPositionSettings::Load(IProfileStore& profile) {
    xZoom = profile.ReadInt(kSection, "xZoom", 0);
    yZoom = profile.ReadInt(kSection, "yZoom", 0);
    scrollPosX = profile.ReadInt(kSection, "ScrollPosx", 0);
    scrollPosY = profile.ReadInt(kSection, "ScrollPosy", 0);
}

void ViewPositionSettings::Save(IProfileStore& profile) const {
    profile.WriteInt(kSection, "xZoom", xZoom);
    profile.WriteInt(kSection, "yZoom", yZoom);
    profile.WriteInt(kSection, "ScrollPosx", scrollPosX);
    profile.WriteInt(kSection, "ScrollPosy", scrollPosY);
}

void ProgramSettings::Load(IProfileStore& profile) {
    pages.Load(profile);
    general.Load(profile);
    viewPosition.Load(profile);
}

void ProgramSettings::Save(IProfileStore& profile) const {
    pages.Save(profile);
    general.Save(profile);
    viewPosition.Save(profile);
}
