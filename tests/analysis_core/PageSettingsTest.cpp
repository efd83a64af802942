#include "analysis/PageSettings.h"
#include "display/CommandVoltage.h"

#include <gtest/gtest.h>

namespace {

using List = std::vector<int32_t>;

TEST(PageSettings, DefaultsWithoutStoredValues) {
    MemoryProfileStore empty;
    SlopeConductanceSettings slope;
    EXPECT_EQ(slope.testPotential, -45); // before the settings are read
    slope.Load(empty);
    EXPECT_EQ(slope.settingsSection, "Slope conductance");
    EXPECT_EQ(slope.ramp1Start, 1350);
    EXPECT_EQ(slope.ramp1End, 2625);
    EXPECT_EQ(slope.ramp2Start, 1);
    EXPECT_EQ(slope.ramp2End, 1);
    EXPECT_EQ(slope.useControl, 1);
    EXPECT_EQ(slope.testPotential, 0);
    EXPECT_EQ(slope.potentialRange, 5);

    CapacitanceSettings capacitance;
    capacitance.Load(empty);
    EXPECT_EQ(capacitance.settingsSection, "Capacitance");
    EXPECT_EQ(capacitance.ramp2Start, 700);
    EXPECT_EQ(capacitance.ramp2End, 1300);
    EXPECT_EQ(capacitance.ramp1Start, 1350);

    CurrentVoltageSettings iv;
    iv.Load(empty);
    EXPECT_EQ(iv.settingsSection, "IV");
    EXPECT_EQ(iv.sampleEvery, 1u);
    EXPECT_EQ(iv.roundTo, 1u);

    ContinuousRecordSettings continuous;
    EXPECT_TRUE(continuous.samplePoints.empty());
    continuous.Load(empty);
    EXPECT_EQ(continuous.settingsSection, "Current Traces");
    EXPECT_EQ(continuous.samplePoints,
              (List{10, 15, 20, 25, 30, 35, 40, 45, 50, 55, 1330, 2630, 2700, 3080}));
}

TEST(PageSettings, KeysAndSectionsAreSpelledAsStored) {
    MemoryProfileStore profile;
    SlopeConductanceSettings sampleCurrent(kSampleCurrentSection);
    sampleCurrent.ramp1Start = 11;
    sampleCurrent.ramp1End = 12;
    sampleCurrent.ramp2Start = 13;
    sampleCurrent.ramp2End = 14;
    sampleCurrent.useControl = 0;
    sampleCurrent.testPotential = -60;
    sampleCurrent.potentialRange = 7;
    sampleCurrent.Save(profile);
    const std::string s = "Cl Current Time course";
    EXPECT_EQ(profile.values.at({s, "Ramp1 Start"}), "11");
    EXPECT_EQ(profile.values.at({s, "Ramp1 End"}), "12");
    EXPECT_EQ(profile.values.at({s, "Ramp2 Start"}), "13");
    EXPECT_EQ(profile.values.at({s, "Ramp2 End"}), "14");
    EXPECT_EQ(profile.values.at({s, "Use Control"}), "0");
    EXPECT_EQ(profile.values.at({s, "Reversal Potential"}), "-60");
    EXPECT_EQ(profile.values.at({s, "Reversal Potential Range"}), "7");
    EXPECT_EQ(profile.values.size(), 7u);

    CurrentVoltageSettings iv;
    iv.sampleEvery = 5;
    iv.roundTo = 10;
    iv.Save(profile);
    EXPECT_EQ(profile.values.at({"IV", "Sample Frequency"}), "5");
    EXPECT_EQ(profile.values.at({"IV", "Round To"}), "10");
}

TEST(PageSettings, TheTwoSlopePagesKeepTheirOwnSettings) {
    MemoryProfileStore profile;
    SlopeConductanceSettings slope(kSlopeConductanceSection);
    slope.testPotential = 20;
    slope.Save(profile);
    SlopeConductanceSettings sampleCurrent(kSampleCurrentSection);
    sampleCurrent.Load(profile);
    EXPECT_EQ(sampleCurrent.testPotential, 0);
    SlopeConductanceSettings again(kSlopeConductanceSection);
    again.Load(profile);
    EXPECT_EQ(again.testPotential, 20);
}

TEST(PageSettings, SamplePointsReadInBothStoredForms) {
    MemoryProfileStore profile;
    ContinuousRecordSettings record;
    profile.WriteString(kContinuousRecordSection, "Sample Points", "10,15,");
    record.Load(profile);
    EXPECT_EQ(record.samplePoints, (List{10, 15}));
    profile.WriteString(kContinuousRecordSection, "Sample Points", "10,15");
    record.Load(profile);
    EXPECT_EQ(record.samplePoints, (List{10, 15}));
    profile.WriteString(kContinuousRecordSection, "Sample Points", "");
    record.Load(profile);
    EXPECT_TRUE(record.samplePoints.empty());

    record.samplePoints = {3080, 10};
    record.Save(profile);
    EXPECT_EQ(profile.values.at({"Current Traces", "Sample Points"}), "3080,10,");
    ContinuousRecordSettings again;
    again.Load(profile);
    EXPECT_EQ(again.samplePoints, (List{3080, 10}));
}

TEST(PageSettings, StoredListChoicesOutsideTheListReadAsOne) {
    MemoryProfileStore profile;
    profile.WriteInt(kCurrentVoltageSection, "Round To", 3);
    profile.WriteInt(kCurrentVoltageSection, "Sample Frequency", 0);
    CurrentVoltageSettings iv;
    iv.Load(profile);
    EXPECT_EQ(iv.roundTo, 1u);
    EXPECT_EQ(iv.sampleEvery, 1u);
    profile.WriteInt(kCurrentVoltageSection, "Round To", 10);
    profile.WriteInt(kCurrentVoltageSection, "Sample Frequency", 2);
    iv.Load(profile);
    EXPECT_EQ(iv.roundTo, 10u);
    EXPECT_EQ(iv.sampleEvery, 2u);
}

TEST(PageSettings, RecomputeSubsectionsSearchesBothRampsAndKeepsWhatCannotBeSearched) {
    std::vector<float> mV(3000, -80.0f);
    for (size_t i = 699; i <= 1299; ++i) // ramp 2: +50 down to -100
        mV[i] = 50.0f - 150.0f * static_cast<float>(i - 699) / 600.0f;
    for (size_t i = 1349; i <= 2624; ++i) // ramp 1: -100 up to +50
        mV[i] = -100.0f + 150.0f * static_cast<float>(i - 1349) / 1275.0f;
    const auto tenths = CommandVoltageTenths(mV);

    MemoryProfileStore empty;
    CapacitanceSettings capacitance;
    capacitance.Load(empty);
    capacitance.RecomputeSubsections(tenths);
    EXPECT_FALSE(capacitance.subsection1.IsEmpty());
    EXPECT_FALSE(capacitance.subsection2.IsEmpty());
    EXPECT_GE(capacitance.subsection1.start, 1349u);
    EXPECT_LE(capacitance.subsection1.end, 2624u);
    EXPECT_GE(capacitance.subsection2.start, 699u);
    EXPECT_LE(capacitance.subsection2.end, 1299u);

    // Ramp 2 of the slope page is 1..1: its sub-section stays (0, 0).
    SlopeConductanceSettings slope;
    slope.Load(empty);
    slope.RecomputeSubsections(tenths);
    EXPECT_FALSE(slope.subsection1.IsEmpty());
    EXPECT_EQ(slope.subsection2, (Subsection{0, 0}));

    // No command voltage: nothing changes.
    const Subsection before = slope.subsection1;
    slope.testPotential = 30;
    slope.RecomputeSubsections({});
    EXPECT_EQ(slope.subsection1, before);
}

} // namespace
