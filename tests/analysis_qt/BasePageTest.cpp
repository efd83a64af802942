// The analysis page base: trace rows, selection in both directions, the current
// trace, ramp bands, zoom buttons, closing and shortening, and settings.
#include "analysis/qt/PageAnalyseBase.h"
#include "controls/qt/ImageButton.h"
#include "controls/qt/IntegerListEdit.h"
#include "tests/analysis_qt/PageFixture.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>

#include <tuple>

using namespace pages_test;

namespace {

using Indices = std::vector<int32_t>;
using Selection = std::tuple<Indices, std::string, Indices>;

// A base page (every control shown) with its trace list read back.
struct BasePage : LoadedPage<CPageAnalyseBase, AnalysisPageSettings> {
    using LoadedPage::LoadedPage;
    QListWidget* List() { return Field<QListWidget>("traceList"); }
    CIntegerListEdit* SelectTraces() { return Field<CIntegerListEdit>("selectTracesEdit"); }
    CImageButton* Button(const char* name) { return Field<CImageButton>(name); }
    QString Label() { return Field<QLabel>("currentTraceLabel")->text(); }
    std::vector<QString> Rows() {
        std::vector<QString> texts(List()->count());
        for (int i = 0; i < List()->count(); ++i)
            texts[i] = List()->item(i)->text();
        return texts;
    }
    Indices Displayed() { return page.View()->DisplayedTraces(); }
    // The selected rows, the Select Traces text and the traces on display.
    Selection CurrentSelection() {
        return {page.SelectedRows(), SelectTraces()->text().toStdString(), Displayed()};
    }
};

TEST(BasePage, RowsNumberTracesWithinEachFileAndLabelTheCurrentTrace) {
    BasePage p(3);
    EXPECT_EQ(p.Rows(),
              (std::vector<QString>{"#    1   : cell7", "#    2   : cell7", "#    3   : cell7"}));
    // A further file of 2 traces: its rows count from 1 again; the selection stays.
    TraceStore more = MakeStore(2, 3000);
    for (const SharedFloatArray& trace : more.traces)
        p.store.traces.push_back(trace);
    p.model->SetData(p.store.timeAxis, p.store.commandWaveform, p.store.traces, 3000);
    p.page.OnTracesAppended("cell8", 5);
    EXPECT_EQ(p.Rows(),
              (std::vector<QString>{"#    1   : cell7", "#    2   : cell7", "#    3   : cell7",
                                    "#    1   : cell8", "#    2   : cell8"}));
    EXPECT_EQ(p.page.SelectedRows(), (Indices{0, 1, 2}));
    // The trace fields now reach the new traces; the current trace's label names its file.
    EXPECT_EQ(p.SelectTraces()->UpperBound(), 5);
    EXPECT_EQ(p.Label(), "[ #    1   : cell7 ]");
    p.Field("currentTraceEdit")->setText("5");
    EXPECT_EQ(p.page.CurrentTraceIndex(), 4u);
    EXPECT_EQ(p.page.View()->CurrentTrace(), 4);
    EXPECT_EQ(p.Label(), "[ #    2   : cell8 ]");
    // A number beyond the traces is no value: nothing changes.
    p.Field("currentTraceEdit")->setText("6");
    EXPECT_EQ(p.page.CurrentTraceIndex(), 4u);
    EXPECT_EQ(p.Label(), "[ #    2   : cell8 ]");
}

TEST(BasePage, TheAddAndRemoveButtons) {
    BasePage p(4, 3000, false);
    EXPECT_EQ(p.CurrentSelection(), (Selection{Indices{}, "", Indices{}}));
    p.Button("addAllButton")->click();
    EXPECT_EQ(p.CurrentSelection(), (Selection{{0, 1, 2, 3}, "1-4,", {0, 1, 2, 3}}));
    p.Field("currentTraceEdit")->setText("3");
    p.Button("removeCurrentButton")->click();
    EXPECT_EQ(p.CurrentSelection(), (Selection{{0, 1, 3}, "1,2,4,", {0, 1, 3}}));
    p.Button("removeAllButton")->click();
    EXPECT_EQ(p.CurrentSelection(), (Selection{Indices{}, "", Indices{}}));
    p.Button("addCurrentButton")->click();
    EXPECT_EQ(p.CurrentSelection(), (Selection{{2}, "3,", {2}}));
    p.List()->item(0)->setSelected(true);
    EXPECT_EQ(p.CurrentSelection(), (Selection{{0, 2}, "1,3,", {0, 2}}));
}

TEST(BasePage, TypedTraceListKeepsItsOrderAndSelectsOnlyExistingRows) {
    BasePage p(4, 3000, false);
    p.SelectTraces()->setText("4,2,"); // the typed text is left alone
    EXPECT_EQ(p.CurrentSelection(), (Selection{{1, 3}, "4,2,", {3, 1}}));
    ASSERT_TRUE(p.page.UpdateData(true));
    EXPECT_EQ(p.settings.selectedTraces, (Indices{3, 1}));

    // Should the field let a number beyond the traces through, only the
    // valid rows are selected; the view is told both and skips the other.
    p.SelectTraces()->SetUpperBound(kBoundNone, 0);
    p.SelectTraces()->setText("2,5,");
    EXPECT_EQ(p.CurrentSelection(), (Selection{{1}, "2,5,", {1, 4}}));
    ASSERT_TRUE(p.page.UpdateData(true));
    EXPECT_EQ(p.settings.selectedTraces, (Indices{1}));
    EXPECT_TRUE(p.messages.messages.empty());
}

// A long recording: every trace selected when loading shows as one run, a typed run selects
// its traces, and a list longer than QLineEdit's default 32767 characters is
// taken whole.
TEST(BasePage, LongTraceListsAreRunsAndAreNeverCut) {
    BasePage p(8790, 10, true);
    EXPECT_EQ(p.SelectTraces()->text().toStdString(), "1-8790,");
    EXPECT_EQ(p.Displayed().size(), 8790u);
    p.SelectTraces()->setText("2-5,");
    EXPECT_EQ(p.CurrentSelection(), (Selection{{1, 2, 3, 4}, "2-5,", {1, 2, 3, 4}}));

    std::string every;
    for (int k = 8790; k >= 1; --k) // descending: no run to shorten it
        every += std::to_string(k) + ",";
    p.SelectTraces()->setText(QString::fromStdString(every)); // 42843 characters
    EXPECT_EQ(p.SelectTraces()->text().toStdString(), every);
    EXPECT_EQ(p.page.SelectedRows().size(), 8790u);
    EXPECT_EQ(p.Displayed().front(), 8789);
    EXPECT_TRUE(p.messages.messages.empty());
}

TEST(BasePage, RampBandFollowsTheRampFields) {
    BasePage p(2);
    EXPECT_EQ(p.Band(kRamp1Region), (Subsection{1349, 2624}));
    EXPECT_EQ(p.Band(kRamp2Region), (Subsection{0, 0})); // ramp 2 of 1 .. 1 is no band

    p.Field("ramp1StartEdit")->setText("100");
    EXPECT_EQ(p.Band(kRamp1Region), (Subsection{99, 2624}));
    // A start of 0 (below the fields' limit) or an empty field leaves the band.
    p.Field("ramp1StartEdit")->setText("0");
    p.Field("ramp1StartEdit")->setText("");
    EXPECT_EQ(p.Band(kRamp1Region), (Subsection{99, 2624}));
    // Ends in either order.
    p.Field("ramp1StartEdit")->setText("2900");
    EXPECT_EQ(p.Band(kRamp1Region), (Subsection{2624, 2899}));
}

TEST(BasePage, ZoomButtonsAreDisabledAtTheLimits) {
    BasePage p(2);
    p.page.resize(1100, 600);
    p.page.show();
    QCoreApplication::processEvents();
    const TraceDisplayModel& model = *p.model;
    ASSERT_GT(model.maxZoomX, 0u);
    ASSERT_GT(model.maxZoomY, 0u);
    for (const auto& [in, out, level, maxLevel] :
         {std::tuple{p.Button("zoomInXButton"), p.Button("zoomOutXButton"), &model.zoomX,
                     model.maxZoomX},
          std::tuple{p.Button("zoomInYButton"), p.Button("zoomOutYButton"), &model.zoomY,
                     model.maxZoomY}}) {
        // Copied: clang before 16 cannot capture structured bindings.
        const auto enabled = [zoomIn = in, zoomOut = out] {
            return std::pair{zoomIn->isEnabled(), zoomOut->isEnabled()};
        };
        EXPECT_EQ(enabled(), std::pair(true, false));
        for (uint32_t step = 0; step < maxLevel; ++step)
            in->click();
        EXPECT_EQ(*level, maxLevel);
        EXPECT_EQ(enabled(), std::pair(false, true));
        for (uint32_t step = 0; step < maxLevel; ++step)
            out->click();
        EXPECT_EQ(*level, 0u);
        EXPECT_EQ(enabled(), std::pair(true, false));
    }
}

TEST(BasePage, ClosingOrShorteningTheRecordingKeepsNothingBeyondIt) {
    BasePage p(5);
    p.Field("currentTraceEdit")->setText("5");
    p.page.OnTracesAppended("cell7", 3); // the store was cut short
    EXPECT_EQ(p.List()->count(), 3);
    EXPECT_EQ(p.settings.selectedTraces, (Indices{0, 1, 2}));
    EXPECT_EQ(p.Label(), "");
    EXPECT_EQ(p.Field("currentTraceEdit")->State(), CValidatedEdit::kOutOfBounds);

    p.page.OnRecordingClosed();
    EXPECT_EQ(p.List()->count(), 0);
    EXPECT_TRUE(p.settings.selectedTraces.empty());
    EXPECT_EQ(p.CurrentSelection(), (Selection{Indices{}, "", Indices{}}));
    EXPECT_EQ(p.page.View()->RegionEnd(kRamp1Region), 0u);
    // The fields are back to having no limits, and nothing complains.
    EXPECT_EQ(p.Field("currentTraceEdit")->State(), CValidatedEdit::kValid);
    EXPECT_TRUE(p.page.UpdateData(true));
    EXPECT_TRUE(p.messages.messages.empty());
    // Nothing to add or remove on an empty list.
    p.Button("removeAllButton")->click();
    p.Button("addCurrentButton")->click();
    EXPECT_TRUE(p.page.SelectedRows().empty());
}

TEST(BasePage, SettingsAreWrittenAndReadBackByAnotherPage) {
    const std::tuple<const char*, const char*, const char*> ramps[] = {
        {"ramp1StartEdit", "Ramp1 Start", "1400"},
        {"ramp1EndEdit", "Ramp1 End", "2500"},
        {"ramp2StartEdit", "Ramp2 Start", "700"},
        {"ramp2EndEdit", "Ramp2 End", "1300"}};
    MemoryProfileStore profile;
    {
        BasePage p(3);
        p.page.SetSettingsSection("My page");
        for (const auto& [field, key, value] : ramps)
            p.Field(field)->setText(value);
        p.Field<QCheckBox>("controlTraceCheck")->click();
        ASSERT_TRUE(p.page.UpdateData(true));
        p.page.SavePageSettings(profile);
    }
    EXPECT_EQ(profile.values.at({"My page", "Use Control"}), "0");

    RecordingMessageSink messages;
    AnalysisPageSettings settings("My page");
    CPageAnalyseBase page(settings);
    page.LoadPageSettings(profile);
    EXPECT_EQ(settings.ramp1Start, 1400);
    for (const auto& [field, key, value] : ramps) {
        EXPECT_EQ(profile.values.at({"My page", key}), value);
        EXPECT_EQ(Child<CIntegerEdit>(&page, field)->text(), value);
    }
    EXPECT_FALSE(Child<QCheckBox>(&page, "controlTraceCheck")->isChecked());
}

} // namespace
