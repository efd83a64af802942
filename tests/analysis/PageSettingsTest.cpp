// The pages' records: their defaults under the profile's sections and keys,
// and the stored forms of the sample points.
#include "analysis/ExportChoicesFromRecords.h"

#include <gtest/gtest.h>

namespace {

using List = std::vector<int32_t>;

TEST(PageSettings, DefaultsAreWrittenUnderTheStoredSectionsAndKeys) {
    MemoryProfileStore empty;
    MemoryProfileStore profile;
    AnalysisPageRecords records;
    records.Load(empty);
    records.Save(profile);
    std::map<std::pair<std::string, std::string>, std::string> expected;
    // Values are moved in as whole strings: GCC 12 at -O3 reports a false
    // -Wrestrict overlap inside std::string's assignment from a character array.
    const auto set = [&](const std::string& section, const char* key, const char* value) {
        expected.insert_or_assign({section, key}, std::string(value));
    };
    const auto ramps = [&](const std::string& section, const char* ramp2Start,
                           const char* ramp2End) {
        set(section, "Ramp1 Start", "1350");
        set(section, "Ramp1 End", "2625");
        set(section, "Ramp2 Start", ramp2Start);
        set(section, "Ramp2 End", ramp2End);
        set(section, "Use Control", "1");
        if (section != "Current Traces") { // the one page without ramps
            set(section, "Ramps From Protocol", "0");
            set(section, "Ramp1 Protocol Ramp", "1");
            set(section, "Ramp2 Protocol Ramp", "2");
        }
    };
    for (const char* section : {"Slope conductance", "Cl Current Time course", "Capacitance"}) {
        ramps(section, "1", "1");
        set(section, "Reversal Potential", "0");
        set(section, "Reversal Potential Range", "5");
    }
    ramps("Capacitance", "700", "1300");
    ramps("IV", "1", "1");
    set("IV", "Sample Frequency", "1");
    set("IV", "Round To", "1");
    ramps("Current Traces", "1", "1");
    set("Current Traces", "Sample Points", "10,15,20,25,30,35,40,45,50,55,1330,2630,2700,3080,");
    EXPECT_EQ(profile.values, expected);
}

TEST(PageSettings, SamplePointsReadInBothStoredForms) {
    // With or without the trailing comma; empty is no points.
    MemoryProfileStore profile;
    ContinuousRecordSettings record;
    for (const char* text : {"3080,10,", "3080,10"}) {
        profile.WriteString(RowOf(Analysis::ContinuousRecord).profileSection, "Sample Points",
                            text);
        record.Load(profile);
        EXPECT_EQ(record.samplePoints, (List{3080, 10})) << text;
    }
    profile.WriteString(RowOf(Analysis::ContinuousRecord).profileSection, "Sample Points", "");
    record.Load(profile);
    EXPECT_TRUE(record.samplePoints.empty());
    EXPECT_TRUE(record.loadProblem.empty());

    // Strictly: a token that is no whole positive number is named, never read
    // as digits ("-5" as 5, "1e9" as 1 and 9, a 20-digit number as several).
    for (const char* bad : {"-5", "1e9", "12345678901234567890", "0"}) {
        profile.WriteString(RowOf(Analysis::ContinuousRecord).profileSection, "Sample Points",
                            std::string("3080,") + bad + ",10,");
        record.Load(profile);
        EXPECT_EQ(record.samplePoints, (List{3080, 10})) << bad;
        EXPECT_EQ(record.loadProblem, std::string("\"Sample Points\" in [Current Traces]: \"") +
                                          bad + "\" is not a whole positive number");
    }
}

} // namespace
