#include "app/AnalysisSettings.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
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
    const std::pair<const char*, std::string> stored[] = {
        {"SelectAllSlopes", "1"},
        {"SelectAllCurent", "1"},
        {"SelectAllIV", "1"},
        {"SelectAllCapacitance", "1"},
        {"SelectAllTraces", "1"},
        {"UseZeroCurrentLine", "1"},
        {"AutoPrint", "1"},
        {"AutoSave", "1"},
        {"PlotTimeTraceNum", "1"},
        {"AutoAnalyseAcquisitions", "1"},
        {"xZoom", "0"},
        {"yZoom", "0"},
        {"ScrollPosx", "0"},
        {"ScrollPosy", "0"},
        {"Colour Ramp1", std::to_string(MakeColourRef(255, 225, 255))},
        {"Colour Ramp2", std::to_string(MakeColourRef(225, 225, 255))},
        {"Colour subRamp1", std::to_string(MakeColourRef(225, 255, 225))},
        {"Colour subRamp2", std::to_string(MakeColourRef(255, 225, 255))},
        {"Colour Current Trace", std::to_string(MakeColourRef(0, 255, 0))},
        {"Colour Control Trace", std::to_string(MakeColourRef(255, 0, 0))},
        {"Colour Zero Line", std::to_string(MakeColourRef(255, 0, 0))},
        {"Sweep Max Range", "5000"},
    };
    StoredValues expected;
    for (const auto& [key, value] : stored)
        expected.emplace(std::pair<std::string, std::string>("settings", key), value);
    EXPECT_EQ(profile.values, expected);
    EXPECT_EQ(settings.SelectAllFlags(), (PerAnalysis<bool>{true, true, true, true, true}));
}

TEST(AnalysisSettingsTest, EveryStoredFieldReadsBackWhatWasWritten) {
    ResetDisplayValues();
    AnalysisSettings written;
    int next = 2;
    VisitGeneralSettings(written, [&](const char*, auto& field, auto) { field = next++; });
    MemoryProfileStore profile;
    written.Save(profile);
    AnalysisSettings read;
    read.Load(profile);
    std::vector<double> expected;
    std::vector<double> actual;
    VisitGeneralSettings(written,
                         [&](const char*, auto field, auto) { expected.push_back(field); });
    VisitGeneralSettings(read, [&](const char*, auto field, auto) { actual.push_back(field); });
    EXPECT_EQ(actual, expected);
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
    EXPECT_EQ(g_selectionColour[1], 0x445566u);
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

TEST(SweepMaxRange, TextRules) {
    const std::pair<const char*, double> parsed[] = {
        {"abc", 5000.0},   {"0", 5000.0},      {"", 5000.0},
        {"1e999", 5000.0}, {"-1e999", 5000.0}, {"inf", 5000.0},
        {"nan", 5000.0},   {"-200", -200.0},   {"  2500pA", 2500.0}, // the rest is ignored
        {"+7.5", 7.5},     {"1234.5", 1234.5}, {"1,5", 1.0}, // the decimal point is always '.'
    };
    for (const auto& [text, value] : parsed)
        EXPECT_EQ(ParseSweepMaxRange(text), value) << text;

    EXPECT_EQ(FormatSweepMaxRange(1234.5), "1234.5");
    EXPECT_EQ(FormatSweepMaxRange(1.0 / 3.0), "0.33333333");
    EXPECT_EQ(FormatSweepMaxRange(5000.0), "5000");
    EXPECT_EQ(FormatSweepMaxRange(123456789.0), "1.2345679e+08");
    EXPECT_EQ(FormatSweepMaxRange(-200.0), "-200");
}

} // namespace
