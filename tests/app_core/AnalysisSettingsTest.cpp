#include "app/AnalysisSettings.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(AnalysisSettingsTest, StoredColoursReachTheDisplayValues) {
    ResetDisplayValues();
    MemoryProfileStore profile;
    profile.WriteInt("settings", "Colour Ramp1", 0x112233);
    profile.WriteInt("settings", "Colour Ramp2", 0x445566);
    profile.WriteInt("settings", "Colour subRamp2", 0x778899);
    profile.WriteInt("settings", "Colour Zero Line", 0x010203);
    AnalysisSettings settings;
    settings.Load(profile);
    EXPECT_EQ(g_crSelection[0], 0x112233u);
    EXPECT_EQ(g_crSelection[1], 0x445566u);
    EXPECT_EQ(g_crSelection[3], 0x778899u);
    EXPECT_EQ(g_crSelection[4], 0x112233u);
    EXPECT_EQ(g_crSelection[5], 0x445566u);
    EXPECT_EQ(g_crZeroLine, 0x010203u);

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
