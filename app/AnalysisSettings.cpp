#include "app/AnalysisSettings.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <system_error>

namespace {

constexpr const char* kSection = kGeneralSettingsSection;

// The general settings' one field of its own kind: the range, stored as text.
struct SettingsReader : ProfileFieldReader {
    explicit SettingsReader(IProfileStore& profile) : ProfileFieldReader(profile, kSection) {}
    using ProfileFieldReader::operator();
    void operator()(const char* key, double& field, double defaultValue) const {
        field = ParseSweepMaxRange(ReadText(key, FormatSweepMaxRange(defaultValue)));
    }
    void operator()(const char* key, std::string& field, const std::string& defaultValue) const {
        field = ReadText(key, defaultValue);
    }
    void operator()(const char* key, ChannelSetting& field, ChannelSetting defaultValue) const {
        field.request =
            ChannelRequestOrAuto(ReadText(key, ChannelRequestText(defaultValue.request)));
    }
};

struct SettingsWriter : ProfileFieldWriter {
    explicit SettingsWriter(IProfileStore& profile) : ProfileFieldWriter(profile, kSection) {}
    using ProfileFieldWriter::operator();
    void operator()(const char* key, double field, double) const {
        WriteText(key, FormatSweepMaxRange(field));
    }
    void operator()(const char* key, const std::string& field, const std::string&) const {
        WriteText(key, field);
    }
    void operator()(const char* key, ChannelSetting field, ChannelSetting) const {
        WriteText(key, ChannelRequestText(field.request));
    }
};

} // namespace

AnalysisSettings::AnalysisSettings()
    : selectionColours{g_selectionColour[0], g_selectionColour[1], g_selectionColour[2],
                       g_selectionColour[3]},
      zeroLineColour(g_zeroLineColour), currentTraceColour(g_currentTraceColour),
      controlTraceColour(g_controlTraceColour) {
    VisitGeneralSettings(*this,
                         [](const char*, auto& field, auto defaultValue) { field = defaultValue; });
}

PerAnalysis<bool> AnalysisSettings::SelectAllFlags() const {
    PerAnalysis<bool> flags{};
    for (size_t i = 0; i < flags.size(); ++i)
        flags[i] = selectAll[i] != 0;
    return flags;
}

void AnalysisSettings::Load(IProfileStore& profile) {
    VisitGeneralSettings(*this, SettingsReader(profile));
    ApplyColours();
}

void AnalysisSettings::Save(IProfileStore& profile) const {
    VisitGeneralSettings(*this, SettingsWriter(profile));
}

void AnalysisSettings::ApplyColours() const {
    for (size_t i = 0; i < selectionColours.size(); ++i)
        g_selectionColour[i] = selectionColours[i];
    g_selectionColour[OverlayRegionOf(kRamp1Region)] = selectionColours[kRamp1Region];
    g_selectionColour[OverlayRegionOf(kRamp2Region)] = selectionColours[kRamp2Region];
    g_currentTraceColour = currentTraceColour;
    g_controlTraceColour = controlTraceColour;
    g_zeroLineColour = zeroLineColour;
}

void AnalysisSettings::ApplyZeroCurrentLine() const {
    g_showZeroCurrentLine = useZeroCurrentLine != 0;
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
        return FormatSweepMaxRange(kDefaultSweepMaxRange);
    return std::string(buffer, end);
}

void ViewPositionSettings::Load(IProfileStore& profile) {
    VisitViewPositionSettings(*this, SettingsReader(profile));
}

void ViewPositionSettings::Save(IProfileStore& profile) const {
    VisitViewPositionSettings(*this, SettingsWriter(profile));
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
