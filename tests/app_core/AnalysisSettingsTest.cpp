#include "app/AnalysisSettings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records the order of every read and write.
class OrderRecordingProfile : public MemoryProfileStore {
public:
    int ReadInt(const std::string& section, const std::string& key, int defaultValue) override {
        reads.push_back(section + "/" + key);
        return MemoryProfileStore::ReadInt(section, key, defaultValue);
    }
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) override {
        reads.push_back(section + "/" + key);
        return MemoryProfileStore::ReadString(section, key, defaultValue);
    }
    bool WriteInt(const std::string& section, const std::string& key, int value) override {
        writes.push_back(section + "/" + key);
        return MemoryProfileStore::WriteInt(section, key, value);
    }
    bool WriteString(const std::string& section, const std::string& key,
                     const std::string& value) override {
        writes.push_back(section + "/" + key);
        return MemoryProfileStore::WriteString(section, key, value);
    }
    std::vector<std::string> reads;
    std::vector<std::string> writes;
};

class AnalysisSettingsTest : public ::testing::Test {
protected:
    void SetUp() override { ResetDisplayValues(); }
    void TearDown() override { ResetDisplayValues(); }
};

TEST_F(AnalysisSettingsTest, FirstStartGivesTheDefaults) {
    MemoryProfileStore empty;
    AnalysisSettings settings;
    settings.Load(empty);
    EXPECT_EQ(settings.selectAllSlopes, 1);
    EXPECT_EQ(settings.selectAllCurrent, 1);
    EXPECT_EQ(settings.selectAllCapacitance, 1);
    EXPECT_EQ(settings.selectAllIV, 1);
    EXPECT_EQ(settings.selectAllTraces, 1);
    EXPECT_EQ(settings.useZeroCurrentLine, 1);
    EXPECT_EQ(settings.autoPrint, 1);
    EXPECT_EQ(settings.autoSave, 1);
    EXPECT_EQ(settings.autoAnalyseAcquisitions, 1);
    EXPECT_EQ(settings.plotTraceNumber, 1);
    EXPECT_EQ(settings.sameControlTrace, 0);
    EXPECT_EQ(settings.analyseAllCategories, 0);
    EXPECT_EQ(settings.sweepMaxRange, 5000.0);
    EXPECT_FALSE(settings.sweepMaxRangeChanged);
    EXPECT_EQ(settings.selectionColours[0], MakeRgb(255, 225, 255));
    EXPECT_EQ(settings.selectionColours[1], MakeRgb(225, 225, 255));
    EXPECT_EQ(settings.selectionColours[2], MakeRgb(225, 255, 225));
    EXPECT_EQ(settings.selectionColours[3], MakeRgb(255, 225, 255));
    EXPECT_EQ(settings.currentTraceColour, 0x00FF00u);
    EXPECT_EQ(settings.controlTraceColour, 0x0000FFu);
    EXPECT_EQ(settings.zeroLineColour, 0x0000FFu);
    EXPECT_EQ(g_crSelection[4], 0u + MakeRgb(255, 225, 255)); // copies of entries 0 and 1
    EXPECT_EQ(g_crSelection[5], 0u + MakeRgb(225, 225, 255));
}

TEST_F(AnalysisSettingsTest, ReadsAndWritesInTheFixedOrder) {
    OrderRecordingProfile profile;
    AnalysisSettings settings;
    settings.Load(profile);
    const std::vector<std::string> readOrder = {"settings/SelectAllCapacitance",
                                                "settings/UseZeroCurrentLine",
                                                "settings/SelectAllSlopes",
                                                "settings/SelectAllCurent",
                                                "settings/SelectAllIV",
                                                "settings/SelectAllTraces",
                                                "settings/AutoAnalyseAcquisitions",
                                                "settings/AutoPrint",
                                                "settings/AutoSave",
                                                "settings/PlotTimeTraceNum",
                                                "settings/Colour Ramp1",
                                                "settings/Colour Ramp2",
                                                "settings/Colour subRamp1",
                                                "settings/Colour subRamp2",
                                                "settings/Colour Current Trace",
                                                "settings/Colour Control Trace",
                                                "settings/Colour Zero Line",
                                                "settings/Sweep Max Range"};
    EXPECT_EQ(profile.reads, readOrder);

    settings.Save(profile);
    const std::vector<std::string> writeOrder = {"settings/SelectAllCapacitance",
                                                 "settings/UseZeroCurrentLine",
                                                 "settings/SelectAllSlopes",
                                                 "settings/SelectAllCurent",
                                                 "settings/SelectAllIV",
                                                 "settings/SelectAllTraces",
                                                 "settings/AutoPrint",
                                                 "settings/AutoSave",
                                                 "settings/PlotTimeTraceNum",
                                                 "settings/AutoAnalyseAcquisitions",
                                                 "settings/Colour Ramp1",
                                                 "settings/Colour Ramp2",
                                                 "settings/Colour subRamp1",
                                                 "settings/Colour subRamp2",
                                                 "settings/Colour Current Trace",
                                                 "settings/Colour Zero Line",
                                                 "settings/Colour Control Trace",
                                                 "settings/Sweep Max Range"};
    EXPECT_EQ(profile.writes, writeOrder);
}

TEST_F(AnalysisSettingsTest, StoredValuesReachTheFieldsAndTheDisplayValues) {
    MemoryProfileStore profile;
    profile.WriteInt("settings", "SelectAllCurent", 0);
    profile.WriteInt("settings", "PlotTimeTraceNum", 0);
    profile.WriteInt("settings", "UseZeroCurrentLine", 0);
    profile.WriteInt("settings", "Colour Ramp1", 0x112233);
    profile.WriteInt("settings", "Colour Ramp2", 0x445566);
    profile.WriteInt("settings", "Colour subRamp2", 0x778899);
    profile.WriteInt("settings", "Colour Current Trace", 0x0A0B0C);
    profile.WriteInt("settings", "Colour Control Trace", 0x0D0E0F);
    profile.WriteInt("settings", "Colour Zero Line", 0x010203);
    AnalysisSettings settings;
    settings.Load(profile);
    EXPECT_EQ(settings.selectAllCurrent, 0);
    EXPECT_EQ(settings.plotTraceNumber, 0);
    EXPECT_EQ(g_crSelection[0], 0x112233u);
    EXPECT_EQ(g_crSelection[1], 0x445566u);
    EXPECT_EQ(g_crSelection[2], MakeRgb(225, 255, 225));
    EXPECT_EQ(g_crSelection[3], 0x778899u);
    EXPECT_EQ(g_crSelection[4], 0x112233u);
    EXPECT_EQ(g_crSelection[5], 0x445566u);
    EXPECT_EQ(g_crCurrentTrace, 0x0A0B0Cu);
    EXPECT_EQ(g_crControlTrace, 0x0D0E0Fu);
    EXPECT_EQ(g_crZeroLine, 0x010203u);
    EXPECT_TRUE(g_bShowZeroCurrentLine); // the main window's step
    settings.ApplyZeroCurrentLine();
    EXPECT_FALSE(g_bShowZeroCurrentLine);

    // A fresh record now starts from the colours in use.
    AnalysisSettings fresh;
    EXPECT_EQ(fresh.selectionColours[0], 0x112233u);
    EXPECT_EQ(fresh.zeroLineColour, 0x010203u);
}

TEST_F(AnalysisSettingsTest, SavedSettingsReadBackUnchanged) {
    MemoryProfileStore profile;
    AnalysisSettings saved;
    saved.selectAllIV = 0;
    saved.autoSave = 0;
    saved.sweepMaxRange = 1234.5;
    saved.controlTraceColour = 0xFFFFFF;
    saved.Save(profile);
    EXPECT_EQ(profile.values.at({"settings", "Sweep Max Range"}), "1234.5");
    AnalysisSettings read;
    read.Load(profile);
    EXPECT_EQ(read.selectAllIV, 0);
    EXPECT_EQ(read.autoSave, 0);
    EXPECT_EQ(read.sweepMaxRange, 1234.5);
    EXPECT_EQ(read.controlTraceColour, 0xFFFFFFu);
}

TEST(SweepMaxRange, TextRules) {
    EXPECT_EQ(ParseSweepMaxRange("abc"), 5000.0);
    EXPECT_EQ(ParseSweepMaxRange("0"), 5000.0);
    EXPECT_EQ(ParseSweepMaxRange(""), 5000.0);
    EXPECT_EQ(ParseSweepMaxRange("1e999"), 5000.0);
    EXPECT_EQ(ParseSweepMaxRange("-1e999"), 5000.0);
    EXPECT_EQ(ParseSweepMaxRange("inf"), 5000.0);
    EXPECT_EQ(ParseSweepMaxRange("nan"), 5000.0);
    EXPECT_EQ(ParseSweepMaxRange("-200"), -200.0);
    EXPECT_EQ(ParseSweepMaxRange("  2500pA"), 2500.0); // the rest is ignored
    EXPECT_EQ(ParseSweepMaxRange("+7.5"), 7.5);
    EXPECT_EQ(ParseSweepMaxRange("1234.5"), 1234.5);
    EXPECT_EQ(ParseSweepMaxRange("1,5"), 1.0); // the decimal point is always '.'
}

TEST(SweepMaxRange, WrittenAsPercentPointEightG) {
    EXPECT_EQ(FormatSweepMaxRange(1234.5), "1234.5");
    EXPECT_EQ(FormatSweepMaxRange(1.0 / 3.0), "0.33333333");
    EXPECT_EQ(FormatSweepMaxRange(5000.0), "5000");
    EXPECT_EQ(FormatSweepMaxRange(123456789.0), "1.2345679e+08");
    EXPECT_EQ(FormatSweepMaxRange(-200.0), "-200");
}

TEST(ProgramSettings, ReadsThePagesThenTheGeneralSettingsThenTheView) {
    OrderRecordingProfile profile;
    ProgramSettings settings;
    settings.Load(profile);
    ASSERT_FALSE(profile.reads.empty());
    EXPECT_EQ(profile.reads.front(), "Slope conductance/Ramp1 Start");
    EXPECT_EQ(profile.reads[7], "Cl Current Time course/Ramp1 Start");
    EXPECT_EQ(profile.reads.back(), "settings/ScrollPosy");
    const auto general =
        std::find(profile.reads.begin(), profile.reads.end(), "settings/SelectAllCapacitance");
    const auto samplePoints =
        std::find(profile.reads.begin(), profile.reads.end(), "Current Traces/Sample Points");
    EXPECT_LT(samplePoints, general);
    EXPECT_EQ(settings.pages.capacitance.ramp2Start, 700);

    settings.Save(profile);
    EXPECT_EQ(profile.writes.front(), "Slope conductance/Ramp1 Start");
    EXPECT_EQ(profile.writes.back(), "settings/ScrollPosy");
    EXPECT_EQ(profile.values.at({"Current Traces", "Sample Points"}),
              "10,15,20,25,30,35,40,45,50,55,1330,2630,2700,3080,");
}

} // namespace
