#include "app/AnalysisSettings.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace {

using StoredValues = std::map<std::pair<std::string, std::string>, std::string>;

TEST(AnalysisSettingsTest, DefaultsAreWrittenUnderTheStoredKeys) {
    ResetDisplayValues();
    MemoryProfileStore empty;
    MemoryProfileStore profile;
    AnalysisSettings settings;
    settings.Load(empty);
    settings.Save(profile);
    ViewPositionSettings position;
    position.Load(empty);
    position.Save(profile);
    // The keys as stored profiles spell them.
    StoredValues expected;
    const auto set = [&](const char* key, std::string value) {
        expected.insert_or_assign({"settings", key}, std::move(value));
    };
    for (const char* key : {"SelectAllSlopes", "SelectAllCurent", "SelectAllIV",
                            "SelectAllCapacitance", "SelectAllTraces", "UseZeroCurrentLine",
                            "AutoPrint", "AutoSave", "PlotTimeTraceNum", "AutoAnalyseAcquisitions"})
        set(key, std::string(1, '1'));
    for (const char* key : {"xZoom", "yZoom", "ScrollPosx", "ScrollPosy"})
        set(key, std::string(1, '0'));
    for (const char* key : {"Colour Ramp1", "Colour subRamp2"})
        set(key, std::to_string(MakeColourRef(255, 225, 255)));
    set("Colour Ramp2", std::to_string(MakeColourRef(225, 225, 255)));
    set("Colour subRamp1", std::to_string(MakeColourRef(225, 255, 225)));
    set("Colour Current Trace", std::to_string(MakeColourRef(0, 255, 0)));
    for (const char* key : {"Colour Control Trace", "Colour Zero Line"})
        set(key, std::to_string(MakeColourRef(255, 0, 0)));
    set("Sweep Max Range", std::to_string(5000));
    set("WatchFolder", "");
    set("Current Channel", "auto");
    EXPECT_EQ(profile.values, expected);
}

TEST(AnalysisSettingsTest, EveryStoredFieldReadsBackWhatWasWritten) {
    ResetDisplayValues();
    AnalysisSettings written;
    int next = 2;
    // Every field gets a value of its own; a text field one that a profile
    // line could mangle (blanks at both ends, '=', ';', non-ASCII).
    VisitGeneralSettings(written, [&](const char*, auto& field, const auto&) {
        using Field = std::decay_t<decltype(field)>;
        if constexpr (std::is_same_v<Field, std::string>)
            field = " /data/rig 2/x=y; \xc3\xa9t\xc3\xa9 " + std::to_string(next++);
        else if constexpr (std::is_same_v<Field, ChannelSetting>)
            field.request = next++ % 16;
        else
            field = next++;
    });
    MemoryProfileStore profile;
    written.Save(profile);
    AnalysisSettings read;
    read.Load(profile);
    // Every key is written (see above), so what `read` writes again shows what it read.
    MemoryProfileStore again;
    read.Save(again);
    EXPECT_EQ(again.values, profile.values);
    ResetDisplayValues();
}

TEST(AnalysisSettingsTest, StoredColoursReachTheDisplayValues) {
    ResetDisplayValues();
    MemoryProfileStore profile;
    profile.WriteInt("settings", "Colour Ramp1", 0x112233);
    profile.WriteInt("settings", "Colour Ramp2", 0x445566);
    profile.WriteInt("settings", "Colour subRamp2", 0x778899);
    profile.WriteInt("settings", "Colour Zero Line", 0x010203);
    AnalysisSettings settings;
    settings.Load(profile);
    EXPECT_EQ(g_selectionColour[0], 0x112233u);
    EXPECT_EQ(g_selectionColour[3], 0x778899u);
    EXPECT_EQ(g_selectionColour[4], 0x112233u);
    EXPECT_EQ(g_selectionColour[5], 0x445566u);
    EXPECT_EQ(g_zeroLineColour, 0x010203u);

    // A fresh record now starts from the colours in use.
    AnalysisSettings fresh;
    EXPECT_EQ(fresh.selectionColours[0], 0x112233u);
    EXPECT_EQ(fresh.zeroLineColour, 0x010203u);
    ResetDisplayValues();
}

TEST(AnalysisSettingsTest, CurrentChannelReadsAutoForAnythingButAChannelNumber) {
    const std::pair<const char*, int> stored[] = {
        {"auto", kAutoChannel}, {"0", 0},
        {" 15 ", 15},           {"16", kAutoChannel},
        {"-1", kAutoChannel},   {"2x", kAutoChannel},
        {"", kAutoChannel},     {"AUTO", kAutoChannel},
    };
    for (const auto& [text, request] : stored) {
        MemoryProfileStore profile;
        profile.WriteString("settings", "Current Channel", text);
        AnalysisSettings settings;
        settings.currentChannel.request = 7;
        settings.Load(profile);
        EXPECT_EQ(settings.currentChannel.request, request) << '"' << text << '"';
    }
    MemoryProfileStore profile;
    AnalysisSettings settings;
    settings.currentChannel.request = 0;
    settings.Save(profile);
    EXPECT_EQ(profile.ReadString("settings", "Current Channel", ""), "0");
    ResetDisplayValues();
}

TEST(SweepMaxRange, TextRules) {
    const std::pair<const char*, double> parsed[] = {
        {"", 5000.0},    {"0", 5000.0},    {"1e999", 5000.0},
        {"inf", 5000.0}, {"nan", 5000.0},  {"  2500pA", 2500.0}, // the rest is ignored
        {"+7.5", 7.5},   {"-200", -200.0}, {"1,5", 1.0},         // the decimal point is always '.'
    };
    for (const auto& [text, value] : parsed)
        EXPECT_EQ(ParseSweepMaxRange(text), value) << text;

    EXPECT_EQ(FormatSweepMaxRange(1.0 / 3.0), "0.33333333");
    EXPECT_EQ(FormatSweepMaxRange(5000.0), "5000");
    EXPECT_EQ(FormatSweepMaxRange(123456789.0), "1.2345679e+08");
}

} // namespace
