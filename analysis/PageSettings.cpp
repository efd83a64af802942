#include "analysis/PageSettings.h"

#include "platform/IntegerList.h"

#include <algorithm>
#include <limits>
#include <type_traits>
#include <utility>

namespace {

uint32_t ListedStepOr1(uint32_t stored) {
    const auto* found = std::find(kCurrentVoltageSteps.begin(), kCurrentVoltageSteps.end(), stored);
    return found == kCurrentVoltageSteps.end() ? 1 : *found;
}

// The stored fields of every kind of record, each declared once as
// visit(key, field, default), in the order they are written: the base
// fields, then the kind's own.
template <class Record, class Visit> void VisitStoredFields(Record& r, Visit&& visit) {
    using Kind = std::remove_const_t<Record>;
    visit("Ramp1 Start", r.ramp1Start, int32_t{1350});
    visit("Ramp1 End", r.ramp1End, int32_t{2625});
    // Ramp 2 keeps the kind's own default (the capacitance page's differs).
    visit("Ramp2 Start", r.ramp2Start, int32_t{r.ramp2Start});
    visit("Ramp2 End", r.ramp2End, int32_t{r.ramp2End});
    visit("Use Control", r.useControl, int32_t{1});
    // Pages without ramps keep no protocol ramp keys.
    if (r.hasRamps) {
        visit("Ramps From Protocol", r.rampsFromProtocol, int32_t{0});
        visit("Ramp1 Protocol Ramp", r.ramp1ProtocolRamp, int32_t{1});
        visit("Ramp2 Protocol Ramp", r.ramp2ProtocolRamp, int32_t{2});
    }
    if constexpr (std::is_base_of_v<SlopeConductanceSettings, Kind>) {
        visit("Reversal Potential", r.testPotential, int32_t{0});
        visit("Reversal Potential Range", r.potentialRange, int32_t{5});
    } else if constexpr (std::is_same_v<CurrentVoltageSettings, Kind>) {
        visit("Sample Frequency", r.sampleEvery, uint32_t{1});
        visit("Round To", r.roundTo, uint32_t{1});
    } else if constexpr (std::is_same_v<ContinuousRecordSettings, Kind>) {
        visit("Sample Points", r.samplePoints, kDefaultSamplePoints);
    }
}

// The records' one field of their own kind: the sample points, stored as a
// text list. Read with or without the trailing comma, repeated numbers once.
struct RecordReader : ProfileFieldReader {
    using ProfileFieldReader::ProfileFieldReader;
    using ProfileFieldReader::operator();
    // The good numbers are kept; a token that is no whole positive number is
    // remembered in badToken.
    void operator()(const char* key, std::vector<int32_t>& field, const char* defaultText) {
        const IntegerListParse parsed = ParseIntegerListText(ReadText(key, defaultText), false);
        field = ExpandIntegerRuns(parsed.runs);
        badToken = parsed.badToken;
    }
    std::string badToken;
};

struct RecordWriter : ProfileFieldWriter {
    using ProfileFieldWriter::ProfileFieldWriter;
    using ProfileFieldWriter::operator();
    void operator()(const char* key, const std::vector<int32_t>& field, const char*) const {
        WriteText(key, FormatIntegerListText(field));
    }
};

} // namespace

template <class Record> void LoadStoredFields(Record& record, IProfileStore& profile) {
    RecordReader reader(profile, record.settingsSection);
    VisitStoredFields(record, reader);
    record.rampsFromProtocol = record.rampsFromProtocol != 0 ? 1 : 0;
    if constexpr (std::is_same_v<ContinuousRecordSettings, Record>) {
        record.loadProblem.clear();
        if (!reader.badToken.empty())
            record.loadProblem = "\"Sample Points\" in [" + record.settingsSection + "]: \"" +
                                 reader.badToken + "\" is not a whole positive number";
    }
    if constexpr (std::is_same_v<CurrentVoltageSettings, Record>) {
        // A stored value that is not a listed step reads as the page would show it.
        record.sampleEvery = ListedStepOr1(record.sampleEvery);
        record.roundTo = ListedStepOr1(record.roundTo);
    }
}

template <class Record> void SaveStoredFields(const Record& record, IProfileStore& profile) {
    VisitStoredFields(record, RecordWriter(profile, record.settingsSection));
}

template void LoadStoredFields(AnalysisPageSettings&, IProfileStore&);
template void LoadStoredFields(SlopeConductanceSettings&, IProfileStore&);
template void LoadStoredFields(CurrentVoltageSettings&, IProfileStore&);
template void LoadStoredFields(ContinuousRecordSettings&, IProfileStore&);
template void SaveStoredFields(const AnalysisPageSettings&, IProfileStore&);
template void SaveStoredFields(const SlopeConductanceSettings&, IProfileStore&);
template void SaveStoredFields(const CurrentVoltageSettings&, IProfileStore&);
template void SaveStoredFields(const ContinuousRecordSettings&, IProfileStore&);

AnalysisPageSettings::AnalysisPageSettings(std::string section)
    : settingsSection(std::move(section)) {}

SlopeConductanceSettings::SlopeConductanceSettings(std::string section)
    : AnalysisPageSettings(std::move(section)) {}

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

ContinuousRecordSettings::ContinuousRecordSettings(std::string section)
    : AnalysisPageSettings(std::move(section)) {
    hasRamps = false;
}
