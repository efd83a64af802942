// The analysis page base: trace rows, selection in both directions, the current
// trace, ramp bands, zoom buttons, closing and shortening, and settings.
#include "analysis/qt/PageAnalyseBase.h"
#include "controls/qt/ImageButton.h"
#include "controls/qt/IntegerEdit.h"
#include "controls/qt/IntegerListEdit.h"
#include "display/qt/CZoomScrollView.h"
#include "platform/Messages.h"
#include "tests/analysis/PageFixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>

#include <gtest/gtest.h>

#include <tuple>

using namespace pages_test;

namespace {

using Indices = std::vector<int32_t>;

// A base page (every control shown) over its own record, with a recording of
// `traces` traces of `samples` samples loaded the way the main window does it.
struct LoadedPage {
    explicit LoadedPage(uint32_t traces, uint32_t samples = 3000, bool selectAll = true)
        : store(MakeStore(traces, samples)), model(MakeModel(store)), page(settings) {
        page.SetDisplayModel(model);
        page.OnNewRecording("cell7", traces, store.samplesPerTrace(), selectAll);
    }
    QListWidget* list() { return Child<QListWidget>(&page, "traceList"); }
    CIntegerListEdit* selectTraces() { return Child<CIntegerListEdit>(&page, "selectTracesEdit"); }
    CIntegerEdit* field(const char* name) { return Child<CIntegerEdit>(&page, name); }
    CImageButton* button(const char* name) { return Child<CImageButton>(&page, name); }
    QString label() { return Child<QLabel>(&page, "currentTraceLabel")->text(); }
    std::vector<QString> rows() {
        std::vector<QString> texts;
        for (int i = 0; i < list()->count(); ++i)
            texts.push_back(list()->item(i)->text());
        return texts;
    }
    Indices displayed() { return page.View()->DisplayedTraces(); }

    RecordingMessageSink messages;
    TraceStore store;
    std::shared_ptr<TraceDisplayModel> model;
    AnalysisPageSettings settings{"Test page"};
    CPageAnalyseBase page;
};

TEST(BasePage, RowsNumberTracesWithinEachFile) {
    LoadedPage p(3);
    EXPECT_EQ(p.rows(),
              (std::vector<QString>{"#    1   : cell7", "#    2   : cell7", "#    3   : cell7"}));
    // A further file of 2 traces: its rows count from 1 again; the selection stays.
    TraceStore more = MakeStore(2, 3000);
    for (const SharedFloatArray& trace : more.traces)
        p.store.traces.push_back(trace);
    p.model->SetData(p.store.timeAxis, p.store.commandWaveform, p.store.traces, 3000);
    p.page.OnTracesAppended("cell8", 5);
    EXPECT_EQ(p.page.TraceCount(), 5u);
    EXPECT_EQ(p.rows(),
              (std::vector<QString>{"#    1   : cell7", "#    2   : cell7", "#    3   : cell7",
                                    "#    1   : cell8", "#    2   : cell8"}));
    EXPECT_EQ(p.page.SelectedRows(), (Indices{0, 1, 2}));
    // The trace fields now reach the new traces.
    EXPECT_EQ(p.field("currentTraceEdit")->UpperBound(), 5);
    EXPECT_EQ(p.selectTraces()->UpperBound(), 5);
}

TEST(BasePage, NewRecordingSelectsAllOrNothing) {
    LoadedPage all(4, 3000, true);
    EXPECT_EQ(all.page.SelectedRows(), (Indices{0, 1, 2, 3}));
    EXPECT_EQ(all.selectTraces()->text(), "1,2,3,4,");
    EXPECT_EQ(all.displayed(), (Indices{0, 1, 2, 3}));
    EXPECT_EQ(all.settings.selectedTraces, (Indices{0, 1, 2, 3}));

    LoadedPage none(4, 3000, false);
    EXPECT_TRUE(none.page.SelectedRows().empty());
    EXPECT_EQ(none.selectTraces()->text(), "");
    EXPECT_TRUE(none.displayed().empty());
    EXPECT_TRUE(none.settings.selectedTraces.empty());
}

TEST(BasePage, AddAndRemoveButtonsAndClickedRows) {
    LoadedPage p(4, 3000, false);
    EXPECT_EQ(p.button("addAllButton")->text(), "A&dd All");
    EXPECT_EQ(p.button("removeAllButton")->text(), "Re&move All");
    p.button("addAllButton")->click();
    EXPECT_EQ(p.page.SelectedRows(), (Indices{0, 1, 2, 3}));
    EXPECT_EQ(p.selectTraces()->text(), "1,2,3,4,");
    EXPECT_EQ(p.displayed(), (Indices{0, 1, 2, 3}));

    p.field("currentTraceEdit")->setText("3");
    p.button("removeCurrentButton")->click();
    EXPECT_EQ(p.page.SelectedRows(), (Indices{0, 1, 3}));
    EXPECT_EQ(p.selectTraces()->text(), "1,2,4,");

    p.button("removeAllButton")->click();
    EXPECT_TRUE(p.page.SelectedRows().empty());
    EXPECT_EQ(p.selectTraces()->text(), "");
    EXPECT_TRUE(p.displayed().empty());

    p.button("addCurrentButton")->click();
    EXPECT_EQ(p.page.SelectedRows(), (Indices{2}));
    EXPECT_EQ(p.displayed(), (Indices{2}));

    p.list()->item(0)->setSelected(true);
    EXPECT_EQ(p.selectTraces()->text(), "1,3,");
    EXPECT_EQ(p.displayed(), (Indices{0, 2}));
}

TEST(BasePage, TypedTraceListKeepsItsOrderAndSelectsOnlyExistingRows) {
    LoadedPage p(4, 3000, false);
    p.selectTraces()->setText("4,2,");
    EXPECT_EQ(p.page.SelectedRows(), (Indices{1, 3}));
    EXPECT_EQ(p.displayed(), (Indices{3, 1}));
    EXPECT_EQ(p.selectTraces()->text(), "4,2,"); // the typed text is left alone
    ASSERT_TRUE(p.page.UpdateData(true));
    EXPECT_EQ(p.settings.selectedTraces, (Indices{3, 1}));

    // Should the field let a number beyond the traces through, only the
    // valid rows are selected; the view is told both and skips the other.
    p.selectTraces()->SetUpperBound(kBoundNone, 0);
    p.selectTraces()->setText("2,5,");
    EXPECT_EQ(p.page.SelectedRows(), (Indices{1}));
    EXPECT_EQ(p.displayed(), (Indices{1, 4}));
    ASSERT_TRUE(p.page.UpdateData(true));
    EXPECT_EQ(p.settings.selectedTraces, (Indices{1}));
    EXPECT_TRUE(p.messages.messages.empty());

    // Within its bounds the field marks 5 of 4 traces as out of bounds and
    // the selection does not change.
    p.selectTraces()->SetUpperBound(kBoundInclusive, 4);
    p.selectTraces()->setText("1,5,");
    EXPECT_EQ(p.page.SelectedRows(), (Indices{1}));
}

TEST(BasePage, RampBandFollowsTheRampFields) {
    LoadedPage p(2);
    CZoomScrollView* view = p.page.View();
    EXPECT_EQ(view->RegionStart(0), 1349u);
    EXPECT_EQ(view->RegionEnd(0), 2624u);
    EXPECT_EQ(view->RegionStart(1), 0u); // ramp 2 of 1 .. 1 is no band
    EXPECT_EQ(view->RegionEnd(1), 0u);

    p.field("ramp1StartEdit")->setText("100");
    EXPECT_EQ(view->RegionStart(0), 99u);
    EXPECT_EQ(view->RegionEnd(0), 2624u);
    // A start of 0 (below the fields' limit) or an empty field leaves the band.
    p.field("ramp1StartEdit")->setText("0");
    p.field("ramp1StartEdit")->setText("");
    EXPECT_EQ(view->RegionStart(0), 99u);
    EXPECT_EQ(view->RegionEnd(0), 2624u);
    // Ends in either order.
    p.field("ramp1StartEdit")->setText("2900");
    EXPECT_EQ(view->RegionStart(0), 2624u);
    EXPECT_EQ(view->RegionEnd(0), 2899u);
}

TEST(BasePage, CurrentTraceLabelAndHighlight) {
    LoadedPage p(6);
    EXPECT_EQ(p.label(), "[ #    1   : cell7 ]");
    p.field("currentTraceEdit")->setText("5");
    EXPECT_EQ(p.page.CurrentTraceIndex(), 4u);
    EXPECT_EQ(p.page.View()->CurrentTrace(), 4);
    EXPECT_EQ(p.label(), "[ #    5   : cell7 ]");
    // A number beyond the traces is no value: nothing changes.
    p.field("currentTraceEdit")->setText("7");
    EXPECT_EQ(p.page.CurrentTraceIndex(), 4u);
    EXPECT_EQ(p.label(), "[ #    5   : cell7 ]");
}

TEST(BasePage, ZoomButtonsAreDisabledAtTheLimits) {
    LoadedPage p(2);
    p.page.resize(1100, 600);
    p.page.show();
    ProcessEvents();
    const TraceDisplayModel& model = *p.model;
    ASSERT_GT(model.maxZoomX, 0u);
    ASSERT_GT(model.maxZoomY, 0u);
    for (const auto& [in, out, level, maxLevel] :
         {std::tuple{p.button("zoomInXButton"), p.button("zoomOutXButton"), &model.zoomX,
                     model.maxZoomX},
          std::tuple{p.button("zoomInYButton"), p.button("zoomOutYButton"), &model.zoomY,
                     model.maxZoomY}}) {
        EXPECT_TRUE(in->isEnabled());
        EXPECT_FALSE(out->isEnabled());
        for (uint32_t step = 0; step < maxLevel; ++step)
            in->click();
        EXPECT_EQ(*level, maxLevel);
        EXPECT_FALSE(in->isEnabled());
        EXPECT_TRUE(out->isEnabled());
        for (uint32_t step = 0; step < maxLevel; ++step)
            out->click();
        EXPECT_EQ(*level, 0u);
        EXPECT_FALSE(out->isEnabled());
        EXPECT_TRUE(in->isEnabled());
    }
}

TEST(BasePage, ClosingOrShorteningTheRecordingKeepsNothingBeyondIt) {
    LoadedPage p(5);
    p.field("currentTraceEdit")->setText("5");
    p.page.OnTracesAppended("cell7", 3); // the store was cut short
    EXPECT_EQ(p.list()->count(), 3);
    EXPECT_EQ(p.settings.selectedTraces, (Indices{0, 1, 2}));
    EXPECT_EQ(p.page.SelectedRows(), (Indices{0, 1, 2}));
    EXPECT_EQ(p.label(), "");
    EXPECT_EQ(p.field("currentTraceEdit")->State(), CValidatedEdit::kOutOfBounds);

    p.page.OnRecordingClosed();
    EXPECT_EQ(p.list()->count(), 0);
    EXPECT_EQ(p.page.TraceCount(), 0u);
    EXPECT_EQ(p.label(), "");
    EXPECT_TRUE(p.settings.selectedTraces.empty());
    EXPECT_EQ(p.selectTraces()->text(), "");
    EXPECT_TRUE(p.displayed().empty());
    EXPECT_EQ(p.page.View()->RegionEnd(0), 0u);
    // The fields are back to having no limits, and nothing complains.
    EXPECT_EQ(p.field("currentTraceEdit")->State(), CValidatedEdit::kValid);
    EXPECT_TRUE(p.page.UpdateData(true));
    EXPECT_TRUE(p.messages.messages.empty());
    // Nothing to add or remove on an empty list.
    p.button("removeAllButton")->click();
    p.button("addCurrentButton")->click();
    EXPECT_TRUE(p.page.SelectedRows().empty());

    // A later, smaller recording lists only its own traces.
    p.page.OnNewRecording("next", 2, 3000, true);
    EXPECT_EQ(p.page.SelectedRows(), (Indices{0, 1}));
    EXPECT_EQ(p.label(), "[ #    1   : next ]");
}

TEST(BasePage, SettingsAreWrittenAndReadBackByAnotherPage) {
    MemoryProfileStore profile;
    {
        LoadedPage p(3);
        p.page.SetSettingsSection("My page");
        p.field("ramp1StartEdit")->setText("1400");
        p.field("ramp1EndEdit")->setText("2500");
        p.field("ramp2StartEdit")->setText("700");
        p.field("ramp2EndEdit")->setText("1300");
        Child<QCheckBox>(&p.page, "controlTraceCheck")->click();
        ASSERT_TRUE(p.page.UpdateData(true));
        p.page.SavePageSettings(profile);
    }
    EXPECT_EQ(profile.values.at({"My page", "Ramp1 Start"}), "1400");
    EXPECT_EQ(profile.values.at({"My page", "Ramp1 End"}), "2500");
    EXPECT_EQ(profile.values.at({"My page", "Ramp2 Start"}), "700");
    EXPECT_EQ(profile.values.at({"My page", "Ramp2 End"}), "1300");
    EXPECT_EQ(profile.values.at({"My page", "Use Control"}), "0");

    RecordingMessageSink messages;
    AnalysisPageSettings settings("My page");
    CPageAnalyseBase page(settings);
    page.LoadPageSettings(profile);
    EXPECT_EQ(settings.ramp1Start, 1400);
    EXPECT_EQ(Child<CIntegerEdit>(&page, "ramp1StartEdit")->text(), "1400");
    EXPECT_EQ(Child<CIntegerEdit>(&page, "ramp1EndEdit")->text(), "2500");
    EXPECT_EQ(Child<CIntegerEdit>(&page, "ramp2StartEdit")->text(), "700");
    EXPECT_EQ(Child<CIntegerEdit>(&page, "ramp2EndEdit")->text(), "1300");
    EXPECT_FALSE(Child<QCheckBox>(&page, "controlTraceCheck")->isChecked());
}

} // namespace
