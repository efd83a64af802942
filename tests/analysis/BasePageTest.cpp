// The analysis page base: trace rows, selection in both directions, current and
// control trace, ramp bands, zoom buttons, data exchange and settings.
#include "analysis/qt/AnalysisSheet.h"
#include "analysis/qt/PageAnalyseBase.h"
#include "controls/qt/ImageButton.h"
#include "controls/qt/IntegerEdit.h"
#include "controls/qt/IntegerListEdit.h"
#include "controls/qt/SpinButton.h"
#include "display/qt/CZoomScrollView.h"
#include "platform/Messages.h"
#include "tests/analysis/PageFixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace pages_test;

namespace {

using Indices = std::vector<int32_t>;

class CountingSheet : public IAnalysisSheet {
public:
    void ExportAllAnalyses() override { ++exports; }
    int exports = 0;
};

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

    RecordingMessageSink messages;
    TraceStore store;
    std::shared_ptr<TraceDisplayModel> model;
    AnalysisPageSettings settings{"Test page"};
    CPageAnalyseBase page;
};

TEST(BasePage, WithoutRecordingShowsNothing) {
    RecordingMessageSink messages;
    AnalysisPageSettings settings;
    CPageAnalyseBase page(settings);
    EXPECT_EQ(Child<QListWidget>(&page, "traceList")->count(), 0);
    EXPECT_EQ(Child<QLabel>(&page, "currentTraceLabel")->text(), QString());
    EXPECT_EQ(page.TraceCount(), 0u);
    // No model yet, then an empty one: the view paints nothing and no zoom button works.
    for (const char* name : {"zoomInXButton", "zoomOutXButton", "zoomInYButton", "zoomOutYButton"})
        EXPECT_FALSE(Child<CImageButton>(&page, name)->isEnabled()) << name;
    page.SetDisplayModel(std::make_shared<TraceDisplayModel>());
    page.resize(900, 500);
    page.show();
    ProcessEvents();
    EXPECT_FALSE(page.grab().isNull());
    EXPECT_EQ(page.View()->DisplayModel()->samplesPerTrace, 0u);
    EXPECT_TRUE(messages.messages.empty());
}

TEST(BasePage, RowsNumberTracesWithinEachFile) {
    LoadedPage p(3);
    EXPECT_EQ(p.page.TraceCount(), 3u);
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
    EXPECT_EQ(p.field("ramp1StartEdit")->text(), "1350");
    // The trace fields now reach the new traces.
    EXPECT_EQ(p.field("currentTraceEdit")->UpperBound(), 5);
    EXPECT_EQ(p.selectTraces()->UpperBound(), 5);
}

TEST(BasePage, NewRecordingSelectsAllOrNothing) {
    LoadedPage all(4, 3000, true);
    EXPECT_EQ(all.page.SelectedRows(), (Indices{0, 1, 2, 3}));
    EXPECT_EQ(all.selectTraces()->text(), "1,2,3,4,");
    EXPECT_EQ(all.page.View()->DisplayedTraces(), (Indices{0, 1, 2, 3}));
    EXPECT_EQ(all.settings.selectedTraces, (Indices{0, 1, 2, 3}));
    EXPECT_TRUE(all.page.IsModified());

    LoadedPage none(4, 3000, false);
    EXPECT_TRUE(none.page.SelectedRows().empty());
    EXPECT_EQ(none.selectTraces()->text(), "");
    EXPECT_TRUE(none.page.View()->DisplayedTraces().empty());
    EXPECT_TRUE(none.settings.selectedTraces.empty());
    // Current and control trace are trace 1.
    EXPECT_EQ(none.field("currentTraceEdit")->text(), "1");
    EXPECT_EQ(none.field("controlTraceEdit")->text(), "1");
    EXPECT_EQ(none.page.View()->CurrentTrace(), 0);
    EXPECT_EQ(none.page.View()->ControlTrace(), 0);
}

TEST(BasePage, AddAndRemoveButtons) {
    LoadedPage p(4, 3000, false);
    p.button("addAllButton")->click();
    EXPECT_EQ(p.page.SelectedRows(), (Indices{0, 1, 2, 3}));
    EXPECT_EQ(p.selectTraces()->text(), "1,2,3,4,");
    EXPECT_EQ(p.page.View()->DisplayedTraces(), (Indices{0, 1, 2, 3}));

    p.field("currentTraceEdit")->setText("3");
    p.button("removeCurrentButton")->click();
    EXPECT_EQ(p.page.SelectedRows(), (Indices{0, 1, 3}));
    EXPECT_EQ(p.selectTraces()->text(), "1,2,4,");

    p.button("removeAllButton")->click();
    EXPECT_TRUE(p.page.SelectedRows().empty());
    EXPECT_EQ(p.selectTraces()->text(), "");
    EXPECT_TRUE(p.page.View()->DisplayedTraces().empty());

    p.button("addCurrentButton")->click();
    EXPECT_EQ(p.page.SelectedRows(), (Indices{2}));
    EXPECT_EQ(p.page.View()->DisplayedTraces(), (Indices{2}));

    // Nothing to remove on an empty list.
    p.page.OnRecordingClosed();
    p.button("removeAllButton")->click();
    p.button("addCurrentButton")->click();
    EXPECT_EQ(p.list()->count(), 0);
    EXPECT_TRUE(p.page.SelectedRows().empty());
}

TEST(BasePage, ClickingRowsFillsTheSelectTracesField) {
    LoadedPage p(5, 3000, false);
    p.list()->item(1)->setSelected(true);
    p.list()->item(3)->setSelected(true);
    EXPECT_EQ(p.selectTraces()->text(), "2,4,");
    EXPECT_EQ(p.page.View()->DisplayedTraces(), (Indices{1, 3}));
}

TEST(BasePage, TypedTraceListSelectsRowsAndKeepsItsOrder) {
    LoadedPage p(5, 3000, false);
    QTest::keyClicks(p.selectTraces(), "4,2,");
    EXPECT_EQ(p.page.SelectedRows(), (Indices{1, 3}));
    EXPECT_EQ(p.page.View()->DisplayedTraces(), (Indices{3, 1}));
    EXPECT_EQ(p.selectTraces()->text(), "4,2,"); // the typed text is left alone
    ASSERT_TRUE(p.page.UpdateData(true));
    EXPECT_EQ(p.settings.selectedTraces, (Indices{3, 1}));
    EXPECT_TRUE(p.messages.messages.empty());
}

TEST(BasePage, TypedTraceBeyondTheRowsIsNotSelected) {
    LoadedPage p(4, 3000, false);
    // Should the field let a number beyond the traces through, only the
    // valid rows are selected; the view is told both and skips the other.
    p.selectTraces()->SetUpperBound(kBoundNone, 0);
    p.selectTraces()->setText("2,5,");
    EXPECT_EQ(p.page.SelectedRows(), (Indices{1}));
    EXPECT_EQ(p.page.View()->DisplayedTraces(), (Indices{1, 4}));
    ASSERT_TRUE(p.page.UpdateData(true));
    EXPECT_EQ(p.settings.selectedTraces, (Indices{1}));

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

    p.field("ramp2StartEdit")->setText("10");
    p.field("ramp2EndEdit")->setText("20");
    EXPECT_EQ(view->RegionStart(1), 9u);
    EXPECT_EQ(view->RegionEnd(1), 19u);
}

TEST(BasePage, StoredRampBeyondAShorterRecordingIsReportedNotUsed) {
    RecordingMessageSink messages;
    TraceStore store = MakeStore(2, 1000);
    auto model = MakeModel(store);
    AnalysisPageSettings settings;
    CPageAnalyseBase page(settings);
    page.SetDisplayModel(model);
    page.OnNewRecording("short", 2, 1000, true);
    auto* end = Child<CIntegerEdit>(&page, "ramp1EndEdit");
    EXPECT_EQ(end->text(), "2625");
    EXPECT_EQ(end->State(), CValidatedEdit::kOutOfBounds);
    EXPECT_EQ(end->UpperBound(), 1000);
    // No band from the previous or the stored numbers.
    EXPECT_EQ(page.View()->RegionEnd(0), 0u);
    EXPECT_TRUE(messages.messages.empty());
    // Taking the page's data names the field and its bounds.
    EXPECT_FALSE(page.UpdateData(true));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].caption, "End of the Ramp Out of Bounds");
    EXPECT_NE(messages.messages[0].text.find("less than or equal to 1000"), std::string::npos);
    EXPECT_EQ(settings.ramp1End, 2625);
}

TEST(BasePage, CurrentTraceLabelAndHighlight) {
    LoadedPage p(6);
    EXPECT_EQ(p.label(), "[ #    1   : cell7 ]");
    p.field("currentTraceEdit")->setText("5");
    EXPECT_EQ(p.page.CurrentTraceIndex(), 4u);
    EXPECT_EQ(p.page.View()->CurrentTrace(), 4);
    EXPECT_EQ(p.label(), "[ " + p.list()->item(4)->text() + " ]");
    // A number beyond the traces is no value: nothing changes.
    p.field("currentTraceEdit")->setText("7");
    EXPECT_EQ(p.page.CurrentTraceIndex(), 4u);
    EXPECT_EQ(p.label(), "[ #    5   : cell7 ]");
    // Stepping with the spin button goes through the same handler.
    p.field("currentTraceEdit")->setText("5");
    Child<CSpinButton>(&p.page, "currentTraceSpin")->Step(-1);
    EXPECT_EQ(p.page.CurrentTraceIndex(), 3u);
}

TEST(BasePage, ControlTraceFollowsTheCheckBox) {
    LoadedPage p(6);
    auto* check = Child<QCheckBox>(&p.page, "controlTraceCheck");
    ASSERT_TRUE(check->isChecked()); // "Use Control" defaults to 1
    p.field("controlTraceEdit")->setText("3");
    EXPECT_EQ(p.page.View()->ControlTrace(), 2);
    check->click();
    EXPECT_FALSE(check->isChecked());
    p.field("controlTraceEdit")->setText("4");
    EXPECT_EQ(p.page.View()->ControlTrace(), 2); // unchecked: the view keeps it
    check->click();
    EXPECT_EQ(p.page.View()->ControlTrace(), 3);
    ASSERT_TRUE(p.page.UpdateData(true));
    EXPECT_EQ(p.settings.useControl, 1);
    EXPECT_EQ(p.settings.controlTraceNumber, 4);
}

TEST(BasePage, ZoomButtonsAreDisabledAtTheLimits) {
    LoadedPage p(2);
    p.page.resize(1100, 600);
    p.page.show();
    ProcessEvents();
    const TraceDisplayModel& model = *p.model;
    ASSERT_GT(model.maxZoomX, 0u);
    ASSERT_GT(model.maxZoomY, 0u);
    CImageButton* inX = p.button("zoomInXButton");
    CImageButton* outX = p.button("zoomOutXButton");
    CImageButton* inY = p.button("zoomInYButton");
    CImageButton* outY = p.button("zoomOutYButton");
    EXPECT_TRUE(inX->isEnabled());
    EXPECT_FALSE(outX->isEnabled());
    EXPECT_TRUE(inY->isEnabled());
    EXPECT_FALSE(outY->isEnabled());

    for (uint32_t level = 0; level < model.maxZoomX; ++level)
        inX->click();
    EXPECT_EQ(model.zoomX, model.maxZoomX);
    EXPECT_FALSE(inX->isEnabled());
    EXPECT_TRUE(outX->isEnabled());
    outX->click();
    EXPECT_TRUE(inX->isEnabled());

    for (uint32_t level = 0; level < model.maxZoomY; ++level)
        inY->click();
    EXPECT_FALSE(inY->isEnabled());
    EXPECT_TRUE(outY->isEnabled());
    for (uint32_t level = 0; level < model.maxZoomY; ++level)
        outY->click();
    EXPECT_EQ(model.zoomY, 0u);
    EXPECT_FALSE(outY->isEnabled());
    EXPECT_TRUE(inY->isEnabled());
}

TEST(BasePage, SavingStopsAtTheFirstFailingField) {
    LoadedPage p(3);
    p.field("ramp1EndEdit")->setText("2000");
    p.field("ramp1StartEdit")->setText("");
    p.field("currentTraceEdit")->setText("2");
    EXPECT_FALSE(p.page.UpdateData(true));
    ASSERT_EQ(p.messages.messages.size(), 1u);
    EXPECT_EQ(p.messages.messages[0].caption, "Invalid Entry");
    EXPECT_EQ(p.messages.messages[0].text,
              "Please enter a valid number for the Start of the Ramp.");
    // The end is taken before the start; the fields after it are not.
    EXPECT_EQ(p.settings.ramp1End, 2000);
    EXPECT_EQ(p.settings.ramp1Start, 1350);
    EXPECT_EQ(p.settings.currentTraceNumber, 1);

    p.messages.messages.clear();
    p.field("ramp1StartEdit")->setText("1500");
    EXPECT_TRUE(p.page.UpdateData(true));
    EXPECT_TRUE(p.messages.messages.empty());
    EXPECT_EQ(p.settings.ramp1Start, 1500);
    EXPECT_EQ(p.settings.currentTraceNumber, 2);
}

TEST(BasePage, LoadingShowsTheRecordAndSelectsOnlyExistingRows) {
    LoadedPage p(3, 3000, false);
    p.settings.selectedTraces = {2, 0, 7, -1};
    p.settings.ramp1Start = 100;
    p.page.OnSetActive(); // first activation: the page was just shown
    p.page.OnSetActive();
    EXPECT_EQ(p.page.SelectedRows(), (Indices{0, 2}));
    EXPECT_EQ(p.field("ramp1StartEdit")->text(), "100");
    EXPECT_EQ(p.page.View()->RegionStart(0), 99u);
}

TEST(BasePage, ClosingTheRecordingResetsThePage) {
    LoadedPage p(5);
    p.field("currentTraceEdit")->setText("4");
    p.page.OnRecordingClosed();
    EXPECT_EQ(p.list()->count(), 0);
    EXPECT_EQ(p.page.TraceCount(), 0u);
    EXPECT_EQ(p.label(), "");
    EXPECT_TRUE(p.settings.selectedTraces.empty());
    EXPECT_EQ(p.selectTraces()->text(), "");
    EXPECT_TRUE(p.page.View()->DisplayedTraces().empty());
    EXPECT_EQ(p.page.View()->RegionEnd(0), 0u);
    // The fields are back to having no limits, and nothing complains.
    EXPECT_EQ(p.field("currentTraceEdit")->State(), CValidatedEdit::kValid);
    EXPECT_TRUE(p.page.UpdateData(true));
    EXPECT_TRUE(p.messages.messages.empty());

    // A later, smaller recording lists only its own traces.
    p.page.OnNewRecording("next", 2, 3000, true);
    EXPECT_EQ(p.page.SelectedRows(), (Indices{0, 1}));
    EXPECT_EQ(p.label(), "[ #    1   : next ]");
}

TEST(BasePage, AStoreCutShortKeepsNoRowOrChoiceBeyondIt) {
    LoadedPage p(5);
    ASSERT_EQ(p.settings.selectedTraces, (Indices{0, 1, 2, 3, 4}));
    p.field("currentTraceEdit")->setText("5");
    p.page.OnTracesAppended("cell7", 3);
    EXPECT_EQ(p.list()->count(), 3);
    EXPECT_EQ(p.settings.selectedTraces, (Indices{0, 1, 2}));
    EXPECT_EQ(p.page.SelectedRows(), (Indices{0, 1, 2}));
    EXPECT_EQ(p.label(), "");
    EXPECT_EQ(p.field("currentTraceEdit")->State(), CValidatedEdit::kOutOfBounds);
}

TEST(BasePage, ApplyStartsTheExportOnceAndStaysOpen) {
    LoadedPage p(2);
    EXPECT_FALSE(p.page.OnApply()); // no sheet: nothing happens
    CountingSheet sheet;
    p.page.SetSheet(&sheet);
    EXPECT_FALSE(p.page.OnApply());
    EXPECT_EQ(sheet.exports, 1);
    p.page.OnCancel();
    EXPECT_EQ(sheet.exports, 1);
}

TEST(BasePage, ModifiedFlagIsSignalled) {
    RecordingMessageSink messages;
    TraceStore store = MakeStore(2, 3000);
    AnalysisPageSettings settings;
    CPageAnalyseBase page(settings);
    page.SetDisplayModel(MakeModel(store));
    QSignalSpy spy(&page, &CPageAnalyseBase::modifiedChanged);
    EXPECT_FALSE(page.IsModified());
    page.OnNewRecording("cell", 2, 3000, true);
    EXPECT_TRUE(page.IsModified());
    page.SetModified(false);
    ASSERT_EQ(spy.count(), 2);
    EXPECT_TRUE(spy.at(0).at(0).toBool());
    EXPECT_FALSE(spy.at(1).at(0).toBool());
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
    EXPECT_EQ(page.SettingsSection(), "My page");
}

TEST(BasePage, EveryControlIsNamed) {
    AnalysisPageSettings settings;
    CPageAnalyseBase page(settings);
    for (const char* name :
         {"traceList",        "selectTracesEdit",  "GraphWindow",       "zoomInXButton",
          "zoomOutXButton",   "zoomInYButton",     "zoomOutYButton",    "currentTraceEdit",
          "currentTraceSpin", "currentTraceLabel", "addCurrentButton",  "removeCurrentButton",
          "addAllButton",     "removeAllButton",   "ramp1StartEdit",    "ramp1EndEdit",
          "ramp2StartEdit",   "ramp2EndEdit",      "ramp1StartSpin",    "ramp1EndSpin",
          "ramp2StartSpin",   "ramp2EndSpin",      "controlTraceCheck", "controlTraceEdit",
          "controlTraceSpin"})
        EXPECT_NE(page.findChild<QWidget*>(QLatin1String(name)), nullptr) << name;
    for (const char* name : {"addCurrentButton", "removeCurrentButton", "addAllButton",
                             "removeAllButton", "zoomInXButton", "zoomOutYButton"})
        EXPECT_TRUE(Child<CImageButton>(&page, name)->HasImage()) << name;
    EXPECT_EQ(Child<CImageButton>(&page, "addAllButton")->text(), "A&dd All");
    EXPECT_EQ(Child<CImageButton>(&page, "removeAllButton")->text(), "Re&move All");
    EXPECT_STREQ(page.metaObject()->className(), "CPageAnalyseBase");
}

} // namespace
