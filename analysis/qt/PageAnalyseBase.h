// The common base of the five analysis pages: the trace list and the user's
// selection among the traces, the current and control trace, the start and end
// samples of up to two voltage ramps, and the page's trace view with its four
// zoom buttons. A page is a thin widget over its settings record (owned by the
// caller, who keeps it alive as long as the page): the record holds the
// choices the export reads, the controls show and edit them, and the data
// exchange moves them between the two.
//
// Every page exists as a window from its construction on; with no recording it
// shows an empty list, an empty current-trace label and a view that paints
// nothing. The main window then drives it: SetDisplayModel, LoadPageSettings,
// SetSheet; OnNewRecording / OnTracesAppended / OnRecordingClosed as recordings
// come and go; OnSetActive / OnKillActive when its tab is shown or left;
// OnApply for "&Analyse"; SavePageSettings when the program ends.
//
// Object names of the controls (for tests and accessibility tools):
//   traceList              the trace list (extended selection)
//   selectTracesEdit       "Select Traces:" (1-based numbers, e.g. "1,3,"),
//                          with its caption selectTracesCaption
//   GraphWindow            the trace view (CZoomScrollView)
//   readoutLabel           under the view: what lies under the mouse
//   zoomInXButton, zoomOutXButton, zoomInYButton, zoomOutYButton
//   currentTraceEdit, currentTraceSpin, currentTraceCaption
//   currentTraceLabel      "[ " + the current trace's row + " ]"
//   addCurrentButton, removeCurrentButton, addAllButton, removeAllButton
//   ramp1StartEdit, ramp1StartSpin, ramp1StartCaption
//   ramp1EndEdit, ramp1EndSpin, ramp1EndCaption
//   ramp2StartEdit, ramp2StartSpin, ramp2StartCaption
//   ramp2EndEdit, ramp2EndSpin, ramp2EndCaption
//   rampsFromProtocolCheck "Ramps from protocol" (pages with ramps)
//   ramp1ProtocolRampSpin, ramp2ProtocolRampSpin   the protocol ramp number
//                          of ramp 1 and 2, beside each ramp's fields
//   protocolRampReasonLabel why the current trace has no protocol ramp
//   controlTraceCheck      "&Control Trace:"
//   controlTraceEdit, controlTraceSpin
// Page kinds add their own (see their headers): testPotentialEdit,
// potentialRangeEdit, roundToCombo, sampleEveryCombo, samplePointsEdit, ...
#pragma once

#include "analysis/PageSettings.h"

#include <QWidget>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class CImageButton;
class CIntegerEdit;
class CIntegerListEdit;
class CSpinButton;
class CZoomScrollView;
class IAnalysisSheet;
class IProfileStore;
class QCheckBox;
class QGridLayout;
class QLayout;
class QLabel;
class QListWidget;
class QSpinBox;
class QVBoxLayout;
class TraceDisplayModel;
struct TraceStore;

// Which controls a page shows, named by the page kinds' dialog templates.
enum class PageTemplate : int {
    Base = 133,             // every control
    SlopeConductance = 136, // ramp 1 only
    CurrentVoltage = 139,   // ramp 1 only
    Capacitance = 141,      // both ramps, no control trace
    ContinuousRecord = 144, // the current sample only; control trace disabled
};

class CPageAnalyseBase : public QWidget {
    Q_OBJECT

public:
    // A page with every control over `settings`, which must outlive the page.
    explicit CPageAnalyseBase(AnalysisPageSettings& settings, QWidget* parent = nullptr);
    ~CPageAnalyseBase() override;

    CPageAnalyseBase(const CPageAnalyseBase&) = delete;
    CPageAnalyseBase& operator=(const CPageAnalyseBase&) = delete;

    // --- Settings ---------------------------------------------------------
    // Writes the record's stored keys (ramps, "Use Control", then the page
    // kind's own) into the page's section of `profile`. Writes the record as
    // it stands: the fields reach it through the data exchange.
    virtual void SavePageSettings(IProfileStore& profile);
    // Reads the record's keys from the page's section (defaults for missing
    // ones) and shows the values in the controls.
    virtual void LoadPageSettings(IProfileStore& profile);
    // The profile section of this page ("Slope conductance", "IV", ...).
    void SetSettingsSection(const std::string& section);
    const std::string& SettingsSection() const;
    AnalysisPageSettings& Settings() { return m_settings; }
    const AnalysisPageSettings& Settings() const { return m_settings; }

    // --- The main window ---------------------------------------------------
    // The window whose export the apply step starts (not owned; may be null).
    void SetSheet(IAnalysisSheet* sheet) { m_sheet = sheet; }
    IAnalysisSheet* Sheet() const { return m_sheet; }
    // Shares the main window's display model with this page and its view; the
    // previous one is released. Null leaves the view painting nothing.
    void SetDisplayModel(std::shared_ptr<TraceDisplayModel> model);
    const std::shared_ptr<TraceDisplayModel>& DisplayModel() const { return m_model; }
    // The loaded recording whose traces' own protocols give the ramps while
    // "Ramps from protocol" is on (not owned; it must outlive the page or be
    // replaced; null: none). Set it before telling the page of a recording.
    void SetTraceStore(const TraceStore* store) { m_store = store; }
    // True when the page has ramps and "Ramps from protocol" is checked: the
    // ramp fields are read-only and show the current trace's protocol ramps.
    bool RampsFromProtocol() const;

    // --- Recordings --------------------------------------------------------
    // A new recording of `traceCount` traces of `samplesPerTrace` samples from
    // the file `fileTitle` (name without folder and extension) is in the
    // display model: lists its traces, limits the ramp fields to the trace
    // length, selects every trace or none, makes trace 1 the current and the
    // control trace and marks the page modified.
    virtual void OnNewRecording(const std::string& fileTitle, uint32_t traceCount,
                                uint32_t samplesPerTrace, bool selectAll);
    // Traces of a further file were appended: the total is now `traceCount`.
    // Adds a row for each, numbered from 1 within `fileTitle`; the selection
    // and the ramp fields stay. A total below the present row count (the store
    // was cut short) drops the rows beyond it.
    void OnTracesAppended(const std::string& fileTitle, uint32_t traceCount);
    // The recording is gone (closed, or a load failed): no rows, no selection,
    // no ramp bands, an empty label; the entry fields keep their texts (the
    // ramp fields go empty while they show the protocol's ramps).
    virtual void OnRecordingClosed();

    // Hands the selected rows to the view as the traces to draw and to the
    // Select Traces field (1-based), then refreshes the controls.
    void SyncSelection();

    // --- Property page steps -----------------------------------------------
    // Moves the record's values into the controls (saving false) or the
    // controls' values into the record (saving true). Saving stops at the
    // first field without a valid number, which tells the user, keeps the
    // focus and leaves the later fields' members as they were; false then.
    bool UpdateData(bool saving);
    // Takes every field's value that is a valid number into the record, without
    // complaining (the program is ending); the other fields keep the record's
    // value, and their names are returned.
    std::vector<std::string> TakeValidValues();
    // The page is being left (or the sheet checks it before applying): takes
    // the controls' values; false keeps the user on the page.
    bool OnKillActive() { return UpdateData(true); }
    // The page is shown again: shows the record's values.
    void OnSetActive();
    // The sheet's apply step ("&Analyse"): starts the export of all analyses
    // through the sheet, once. Returns false: the page does not count as
    // applied, so the sheet stays open and asks no further page.
    virtual bool OnApply();
    // The sheet's cancel step: nothing to undo.
    virtual void OnCancel() {}
    // Whether a new recording arrived since the last reset of the flag.
    void SetModified(bool modified);
    bool IsModified() const { return m_modified; }

    // --- State read by the main window and tests ----------------------------
    uint32_t TraceCount() const { return m_traceCount; }
    uint32_t CurrentTraceIndex() const { return m_currentTraceIndex; }
    // The selected rows, ascending.
    std::vector<int32_t> SelectedRows() const;
    CZoomScrollView* View() const { return m_view; }
    // Enables the zoom buttons that can zoom and sets the current-trace label.
    void RefreshControls();
    // The user dragged across the view from sample `first` to `last` (0-based):
    // sets ramp 1 (with Shift, ramp 2 where the page shows it) to the samples
    // dragged over; a page without a ramp end takes the last sample as its start.
    void OnRegionDragged(uint32_t first, uint32_t last, Qt::KeyboardModifiers modifiers);

signals:
    // The modified flag changed (the sheet enables its apply command).
    void modifiedChanged(bool modified);

protected:
    // For page kinds: `pageTemplate` picks the shown and enabled controls.
    CPageAnalyseBase(AnalysisPageSettings& settings, PageTemplate pageTemplate, QWidget* parent);

    // Runs the dialog initialisation; the constructor of every concrete page
    // kind calls it last, once all its controls exist.
    void InitDialog() { OnInitDialog(); }
    // Loads the controls from the record, loads the button images, shows the
    // current trace and refreshes. Page kinds set their fields' limits after it.
    virtual void OnInitDialog();
    // The data exchange in the order the page takes its fields; page kinds
    // exchange the base first and stop when it fails.
    virtual bool DoDataExchange(bool saving);

    void showEvent(QShowEvent* event) override;

    // Edit 176 or 180 changed; by default the ramp 1 region update.
    virtual void OnRamp1Changed();
    // Edit 178 or 182 changed; by default the ramp 2 region update.
    virtual void OnRamp2Changed();
    // Edit 176 changed (the continuous record page marks its current sample).
    virtual void OnRamp1StartChanged() { OnRamp1Changed(); }
    // The current trace changed, and with it the command shown and, while the
    // ramps come from the protocol, the ramps (already in their fields).
    virtual void OnCurrentCommandChanged() {}

    // View region 0 (1) from the ramp 1 (2) start to end field, when both hold
    // numbers of at least 1; otherwise the band stays as it is.
    void UpdateRamp1Region();
    void UpdateRamp2Region();

    // Exchanges an integer field with its member. A disabled field without a
    // valid number keeps the member as it is and never complains.
    static bool ExchangeInteger(CIntegerEdit* field, bool saving, int32_t& member);
    // An integer entry field with its spin button, named `name` + "Edit" and
    // `name` + "Spin"; `fieldName` is used in its messages.
    CIntegerEdit* MakeIntegerField(const char* name, const QString& fieldName, CSpinButton** spin);
    // A list field named `name` + "Edit", called `fieldName` in its messages.
    CIntegerListEdit* MakeListField(const char* name, const QString& fieldName);
    // Width in pixels for an entry field of `characters` digits.
    int FieldWidth(int characters) const;
    // Width of the panel of entry fields, the same on every page kind so that
    // every page's view has the same size (they share one display model).
    int PanelWidth() const;

    // Where page kinds put their own controls (below the base's).
    QGridLayout* PageControlsLayout() const { return m_pageControls; }
    // Appends a row to them: `caption` in the first column, `fields` across the others.
    void AddPageControlsRow(QWidget* caption, QLayout* fields);
    PageTemplate Template() const { return m_template; }

    CIntegerEdit* Ramp1StartField() const { return m_editRamp1Start; }
    CIntegerEdit* Ramp1EndField() const { return m_editRamp1End; }
    CIntegerEdit* Ramp2StartField() const { return m_editRamp2Start; }
    CIntegerEdit* Ramp2EndField() const { return m_editRamp2End; }

private:
    void BuildControls();
    // The trace list with the Select Traces field; the view with its zoom
    // buttons; the panel of entry fields (the page kinds add rows to it).
    QVBoxLayout* BuildTraceListColumn();
    QGridLayout* BuildViewWithZoomButtons();
    QWidget* BuildFieldPanel();
    // Rows of the panel from `row` on (advanced past them): the current trace
    // with its buttons, and the ramps.
    void AddTraceRows(QGridLayout* grid, int& row);
    void AddRampRows(QGridLayout* grid, int& row);
    void ApplyTemplate();
    void LoadButtonImages();
    void ConnectControls();
    // The ramp fields, the protocol check box and the ramp number spin boxes.
    void ConnectRampControls();

    void OnCurrentTraceChanged();
    void OnControlTraceChanged();
    void OnSelectTracesEdited();
    void OnTraceListSelectionChanged();
    void SetRowSelected(uint32_t row, bool selected);
    void SelectAllRows(bool selected);
    // Selects `rows` (each below the row count) in one step.
    void SelectRows(std::vector<int32_t> rows);
    void ClearRegions();
    void OnRampSourceChanged();
    // The ramp fields read-only (and the protocol's ramps in them) or the
    // record's sample numbers, editable, as the check box says.
    void ShowRampSource();
    // The four ramp fields, each with its sample number in the record.
    std::array<std::pair<CIntegerEdit*, int32_t*>, 4> RampFieldsAndRecord();
    // The check box and the protocol ramp numbers with the record.
    void ExchangeRampSource(bool saving);
    // While the ramps come from the protocol: the current trace's ramps into
    // the ramp fields (empty, band gone and the reason shown when it lacks one).
    void ShowProtocolRamps();
    void ShowProtocolRamp(int which, CIntegerEdit* start, CIntegerEdit* end, std::string& why);

    AnalysisPageSettings& m_settings;
    PageTemplate m_template;
    IAnalysisSheet* m_sheet = nullptr;
    std::shared_ptr<TraceDisplayModel> m_model;
    const TraceStore* m_store = nullptr;
    uint32_t m_traceCount = 0;
    uint32_t m_currentTraceIndex = 0;
    bool m_modified = false;
    bool m_activatedBefore = false;

    QListWidget* m_listTraces = nullptr;
    CIntegerListEdit* m_editSelectTraces = nullptr;
    CZoomScrollView* m_view = nullptr;
    CImageButton* m_buttonZoomInX = nullptr;
    CImageButton* m_buttonZoomOutX = nullptr;
    CImageButton* m_buttonZoomInY = nullptr;
    CImageButton* m_buttonZoomOutY = nullptr;
    CImageButton* m_buttonAddCurrent = nullptr;
    CImageButton* m_buttonRemoveCurrent = nullptr;
    CImageButton* m_buttonAddAll = nullptr;
    CImageButton* m_buttonRemoveAll = nullptr;
    CIntegerEdit* m_editCurrentTrace = nullptr;
    CIntegerEdit* m_editRamp1Start = nullptr;
    CIntegerEdit* m_editRamp1End = nullptr;
    CIntegerEdit* m_editRamp2Start = nullptr;
    CIntegerEdit* m_editRamp2End = nullptr;
    CIntegerEdit* m_editControlTrace = nullptr;
    CSpinButton* m_spinCurrentTrace = nullptr;
    CSpinButton* m_spinRamp1Start = nullptr;
    CSpinButton* m_spinRamp1End = nullptr;
    CSpinButton* m_spinRamp2Start = nullptr;
    CSpinButton* m_spinRamp2End = nullptr;
    CSpinButton* m_spinControlTrace = nullptr;
    QCheckBox* m_checkControlTrace = nullptr;
    QLabel* m_labelCurrentTrace = nullptr;
    QLabel* m_labelReadout = nullptr;
    QLabel* m_captionRamp1Start = nullptr;
    QLabel* m_captionRamp1End = nullptr;
    QLabel* m_captionRamp2Start = nullptr;
    QLabel* m_captionRamp2End = nullptr;
    QGridLayout* m_pageControls = nullptr;
    QCheckBox* m_checkRampsFromProtocol = nullptr;
    QSpinBox* m_spinRamp1Protocol = nullptr;
    QSpinBox* m_spinRamp2Protocol = nullptr;
    QLabel* m_labelProtocolReason = nullptr;
    // The four ramp fields, limited together to the trace length.
    std::array<CIntegerEdit*, 4> m_rampFields{};
};
