// The "General Settings" tab: which pages select every trace when a recording
// is opened, what the export does by itself, how time courses are plotted, the
// display colours, the largest zoom-in range of the trace views, whether new
// acquisitions are analysed automatically, which folder is watched for new
// recordings and which channel of a recording is analysed ("Current channel:",
// currentChannelCombo: "auto" and the open file's channels as "N: name (unit)"). Colours and the
// zero-current line take effect in every view at once; the other values are read by their users
// from Settings() as the last data exchange left them.
#pragma once

#include "app/AnalysisSettings.h"

#include <QWidget>

#include <array>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class CFloatEdit;
class IAnalysisSheet;
class QButtonGroup;
class QComboBox;
class QCheckBox;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLineEdit;
class QRadioButton;
class TLColourDropDownButton;
class TraceDisplayModel;

class CPageGeneralSettings : public QWidget {
    Q_OBJECT
public:
    // Control ids of the page, also each control's "controlId" property. The
    // select-all check boxes take theirs from the analysis table.
    enum : int {
        kUseZeroCurrentLineId = 148,
        kAutoPrintId = 149,
        kAutoSaveId = 150,
        kSameControlTraceId = 151,
        kPlotTimesId = 154,
        kPlotTraceNumberId = 155,
        kAnalyseAllCategoriesId = 158,
        kAutoAnalyseId = 159,
        kDescendingRampColourId = 195,
        kAscendingRampColourId = 196,
        kDescendingSubsectionColourId = 197,
        kAscendingSubsectionColourId = 198,
        kZeroLineColourId = 200,
        kCurrentTraceColourId = 1101,
        kControlTraceColourId = 1102,
        kSweepMaxRangeId = 1103,
        kWatchFolderId = 1110,
        kWatchFolderChooserId = 1111,
        kCurrentChannelId = 1112,
    };

    explicit CPageGeneralSettings(QWidget* parent = nullptr);
    ~CPageGeneralSettings() override;

    // The main window, whose export this page's apply step runs (may be null).
    void SetSheet(IAnalysisSheet* sheet) { m_sheet = sheet; }
    IAnalysisSheet* Sheet() const { return m_sheet; }

    // Shares the display model (the page applies the zoom-in range to it);
    // the previous one is released.
    void SetDisplayModel(std::shared_ptr<TraceDisplayModel> model);
    const std::shared_ptr<TraceDisplayModel>& DisplayModel() const { return m_model; }

    // Reads the record from section "settings" and applies the colours to the
    // display values and the range to the display model.
    void LoadSettings(IProfileStore& profile);
    // Writes the record as it stands.
    void SaveSettings(IProfileStore& profile) const;

    // The values as last loaded or taken from the controls.
    const AnalysisSettings& Settings() const { return m_settings; }
    AnalysisSettings& Settings() { return m_settings; }

    // The select-all-traces flags per analysis (IndexOf).
    PerAnalysis<bool> SelectAllFlags() const { return m_settings.SelectAllFlags(); }

    // The channels of the open recording that "Current channel:" lists after
    // "auto" (empty: none is open). A stored channel number among none of them
    // is listed as its bare number, so the choice is kept.
    void SetChannels(std::vector<ChannelInfo> channels);

    // Fills the controls from the record once, when the page is first shown.
    void OnInitDialog();
    bool IsInitialised() const { return m_initialised; }

    // Data exchange: loading fills the controls from the record; saving takes
    // the controls' values into it (false, with the user told, when the range
    // is not valid) and then applies an edited range to the display model.
    // Before OnInitDialog saving takes nothing.
    bool UpdateData(bool saving);

    // The sheet's requests: leaving the page and cancel take the values;
    // apply takes them, runs the export through the sheet and answers that
    // the page did not apply.
    bool OnKillActive();
    bool OnApply();
    void OnCancel();

    // A control by its id (null for unknown ids).
    QWidget* Control(int id) const;

    // The folder chooser: parent, title, starting folder -> the chosen folder,
    // or nothing when cancelled. Process-wide so tests answer without a modal
    // dialog; an empty function restores the real dialog. Returns the previous one.
    using FolderDialogFunction = std::function<std::optional<QString>(
        QWidget* parent, const QString& title, const QString& directory)>;
    static FolderDialogFunction SetFolderDialogFunction(FolderDialogFunction function);

signals:
    // A display value (colour or zero line) changed: the views must redraw.
    void displayValuesChanged();
    // Settings().watchFolder has taken a different value.
    void watchFolderChanged();
    // Settings().currentChannel has taken a different value (the user chose
    // another item): the open recording is to be read again on that channel.
    void currentChannelChanged();

private:
    QGroupBox* NewFrame(const QString& title, const char* name);
    QGroupBox* BuildSelectAllFrame();
    // Puts `controls` into `frame`, one below the other.
    void StackInFrame(QGroupBox* frame, std::initializer_list<QWidget*> controls);
    QGroupBox* BuildExcelFrame();
    QGroupBox* BuildTraceFrame();
    QGroupBox* BuildDisplayFrame();
    // The range field, its label at (`row`, 0) of `layout` and the row with its unit.
    QHBoxLayout* BuildRangeRow(QGroupBox* frame, QGridLayout* layout, int row);
    // "Watch folder:", its field and the chooser button.
    QHBoxLayout* BuildWatchFolderRow();
    void ChooseWatchFolder();
    // "Current channel:" and its list.
    QHBoxLayout* BuildChannelRow();
    // The list's items for the channels and the record's choice, selected.
    void FillChannelList();
    // Takes the list's choice into the record, telling when it changed.
    void SaveChannel();
    // Takes the field's folder into the record, telling when it changed.
    void SaveWatchFolder();
    void ConnectControls();
    // The check boxes and colour buttons with the record's fields they show.
    std::vector<std::pair<QCheckBox*, int32_t*>> CheckBoxFields();
    std::vector<std::pair<TLColourDropDownButton*, ColourRef*>> ColourFields();
    // Takes the range field's value (false, with the user told, when invalid)
    // and applies an edited range to the display model.
    bool SaveRange();
    QCheckBox* AddCheckBox(int id, const char* name, const QString& label);
    TLColourDropDownButton* AddColourButton(int id, const char* name);
    void OnColourNotification(QWidget* control, int code);
    void OnRangeNotification(QWidget* control, int code);

    IAnalysisSheet* m_sheet = nullptr;
    std::shared_ptr<TraceDisplayModel> m_model;
    AnalysisSettings m_settings;

    PerAnalysis<QCheckBox*> m_selectAll{};
    QCheckBox* m_analyseAllCategories;
    QCheckBox* m_autoPrint;
    QCheckBox* m_autoSave;
    QRadioButton* m_plotTimes;
    QRadioButton* m_plotTraceNumber;
    QButtonGroup* m_plotGroup;
    QCheckBox* m_sameControlTrace;
    QCheckBox* m_useZeroCurrentLine;
    QCheckBox* m_autoAnalyse;
    // Descending ramp, ascending ramp, and their sub-sections (195 to 198).
    std::array<TLColourDropDownButton*, 4> m_selectionButtons{};
    TLColourDropDownButton* m_zeroLineColour;
    TLColourDropDownButton* m_currentTraceColour;
    TLColourDropDownButton* m_controlTraceColour;
    CFloatEdit* m_sweepMaxRange;
    QLineEdit* m_watchFolder;
    QComboBox* m_currentChannel;
    std::vector<ChannelInfo> m_channels;
    bool m_initialised = false;
    bool m_loading = false;
};
