#include "app/qt/PageGeneralSettings.h"

#include "analysis/qt/AnalysisSheet.h"
#include "controls/ControlNotifications.h"
#include "controls/qt/Caption.h"
#include "controls/qt/ColourDropDownButton.h"
#include "controls/qt/FloatEdit.h"
#include "display/TraceDisplayModel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace {

void SetId(QWidget* control, int id, const char* name) {
    control->setObjectName(QLatin1String(name));
    control->setProperty("controlId", id);
}

bool Checked(const QCheckBox* box) {
    return box->isChecked();
}

CPageGeneralSettings::FolderDialogFunction& FolderDialog() {
    static CPageGeneralSettings::FolderDialogFunction function;
    return function;
}

} // namespace

CPageGeneralSettings::CPageGeneralSettings(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("generalSettingsPage"));
    auto* left = new QVBoxLayout;
    left->addWidget(BuildSelectAllFrame());
    left->addWidget(BuildExcelFrame());
    left->addWidget(BuildTraceFrame());
    left->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(BuildDisplayFrame());
    m_autoAnalyse = AddCheckBox(kAutoAnalyseId, "autoAnalyseAcquisitions",
                                tr("Automatically analyse new acquisition files"));
    right->addWidget(m_autoAnalyse);
    right->addLayout(BuildWatchFolderRow());
    right->addLayout(BuildChannelRow());
    right->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(right, 1);
    ConnectControls();
}

QGroupBox* CPageGeneralSettings::NewFrame(const QString& title, const char* name) {
    auto* frame = new QGroupBox(title, this);
    frame->setObjectName(QLatin1String(name));
    return frame;
}

QGroupBox* CPageGeneralSettings::BuildSelectAllFrame() {
    QGroupBox* frame =
        NewFrame(tr("Select All Traces after file open for calculations with"), "selectAllFrame");
    auto* layout = new QVBoxLayout(frame);
    for (const AnalysisRow& row : kAnalysisRows) {
        QCheckBox*& box = m_selectAll[IndexOf(row.analysis)];
        box = AddCheckBox(row.selectAllControlId, row.selectAllName, tr(row.selectAllCaption));
        layout->addWidget(box);
    }
    return frame;
}

QGroupBox* CPageGeneralSettings::BuildExcelFrame() {
    QGroupBox* frame = NewFrame(tr("Excel Actions"), "excelActionsFrame");
    m_analyseAllCategories = AddCheckBox(kAnalyseAllCategoriesId, "analyseAllCategories",
                                         tr("Analyse All Categories at once"));
    m_autoPrint = AddCheckBox(kAutoPrintId, "autoPrint", tr("Print automatically"));
    m_autoSave = AddCheckBox(kAutoSaveId, "autoSave", tr("Save automatically"));
    m_plotTimes = new QRadioButton(tr("Plot times"), this);
    SetId(m_plotTimes, kPlotTimesId, "plotTimes");
    m_plotTraceNumber = new QRadioButton(tr("Plot Trace Number"), this);
    SetId(m_plotTraceNumber, kPlotTraceNumberId, "plotTraceNumber");
    m_plotGroup = new QButtonGroup(this);
    m_plotGroup->addButton(m_plotTimes, 0);
    m_plotGroup->addButton(m_plotTraceNumber, 1);
    StackInFrame(frame,
                 {m_analyseAllCategories, m_autoPrint, m_autoSave, m_plotTimes, m_plotTraceNumber});
    return frame;
}

QGroupBox* CPageGeneralSettings::BuildTraceFrame() {
    QGroupBox* frame = NewFrame(tr("Current Trace Settings"), "currentTraceSettingsFrame");
    m_sameControlTrace = AddCheckBox(kSameControlTraceId, "sameControlTrace",
                                     tr("Use the same control trace for all calculations"));
    StackInFrame(frame, {m_sameControlTrace});
    // Choices the program does not offer (yet): shown, not changeable.
    m_analyseAllCategories->setEnabled(false);
    m_sameControlTrace->setEnabled(false);
    return frame;
}

void CPageGeneralSettings::StackInFrame(QGroupBox* frame,
                                        std::initializer_list<QWidget*> controls) {
    auto* layout = new QVBoxLayout(frame);
    for (QWidget* control : controls)
        layout->addWidget(control);
}

QGroupBox* CPageGeneralSettings::BuildDisplayFrame() {
    QGroupBox* frame = NewFrame(tr("Display"), "displayFrame");
    auto* layout = new QGridLayout(frame);
    m_useZeroCurrentLine =
        AddCheckBox(kUseZeroCurrentLineId, "useZeroCurrentLine", tr("Show Zero Current Line"));
    m_zeroLineColour = AddColourButton(kZeroLineColourId, "zeroLineColour");
    m_currentTraceColour = AddColourButton(kCurrentTraceColourId, "currentTraceColour");
    m_controlTraceColour = AddColourButton(kControlTraceColourId, "controlTraceColour");
    m_selectionButtons[0] = AddColourButton(kDescendingRampColourId, "descendingRampColour");
    m_selectionButtons[1] = AddColourButton(kAscendingRampColourId, "ascendingRampColour");
    m_selectionButtons[2] =
        AddColourButton(kDescendingSubsectionColourId, "descendingSubsectionColour");
    m_selectionButtons[3] =
        AddColourButton(kAscendingSubsectionColourId, "ascendingSubsectionColour");

    int row = 0;
    layout->addWidget(m_useZeroCurrentLine, row, 0);
    layout->addWidget(m_zeroLineColour, row++, 1);
    auto addRow = [&](const QString& text, QWidget* control, const char* labelName) {
        layout->addWidget(MakeCaption(text, labelName, frame, control), row, 0);
        layout->addWidget(control, row++, 1);
    };
    addRow(tr("Current Trace Colour:"), m_currentTraceColour, "currentTraceColourLabel");
    addRow(tr("Control Trace Colour:"), m_controlTraceColour, "controlTraceColourLabel");
    addRow(tr("Descending Ramp Selection colour:"), m_selectionButtons[0],
           "descendingRampColourLabel");
    addRow(tr("Calculated sub-section colour:"), m_selectionButtons[2],
           "descendingSubsectionColourLabel");
    addRow(tr("Ascending Ramp Selection colour:"), m_selectionButtons[1],
           "ascendingRampColourLabel");
    addRow(tr("Calculated sub-section colour:"), m_selectionButtons[3],
           "ascendingSubsectionColourLabel");
    layout->addLayout(BuildRangeRow(frame, layout, row), row, 1);
    return frame;
}

QHBoxLayout* CPageGeneralSettings::BuildRangeRow(QGroupBox* frame, QGridLayout* layout, int row) {
    m_sweepMaxRange = new CFloatEdit(this);
    SetId(m_sweepMaxRange, kSweepMaxRangeId, "sweepMaxRange");
    auto* rangeRow = new QHBoxLayout;
    rangeRow->addWidget(m_sweepMaxRange);
    rangeRow->addWidget(MakeCaption(tr("pA"), "sweepMaxRangeUnit", frame));
    layout->addWidget(MakeCaption(tr("Ocilloscope Maximum Zoom-in range:"), "sweepMaxRangeLabel",
                                  frame, m_sweepMaxRange),
                      row, 0);
    m_sweepMaxRange->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("0")) * 12);
    // The range must be greater than 0; there is no upper limit. The field
    // has no name, so its messages show an empty one.
    m_sweepMaxRange->SetLowerBound(kBoundStrict, 0.0);
    m_sweepMaxRange->SetUpperBound(kBoundNone, 0.0);
    return rangeRow;
}

QHBoxLayout* CPageGeneralSettings::BuildChannelRow() {
    m_currentChannel = new QComboBox(this);
    SetId(m_currentChannel, kCurrentChannelId, "currentChannelCombo");
    m_currentChannel->setToolTip(tr("The channel the analyses read; auto: the first channel "
                                    "that records a current"));
    m_currentChannel->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto* row = new QHBoxLayout;
    row->addWidget(
        MakeCaption(tr("Current channel:"), "currentChannelLabel", this, m_currentChannel));
    row->addWidget(m_currentChannel, 1);
    FillChannelList();
    connect(m_currentChannel, &QComboBox::activated, this, &CPageGeneralSettings::SaveChannel);
    return row;
}

void CPageGeneralSettings::SetChannels(std::vector<ChannelInfo> channels) {
    m_channels = std::move(channels);
    // By number, as the user counts them, whatever the scan order.
    std::sort(m_channels.begin(), m_channels.end(),
              [](const ChannelInfo& a, const ChannelInfo& b) { return a.index < b.index; });
    FillChannelList();
}

void CPageGeneralSettings::FillChannelList() {
    const QSignalBlocker quiet(m_currentChannel);
    m_currentChannel->clear();
    m_currentChannel->addItem(QStringLiteral("auto"), kAutoChannel);
    for (const ChannelInfo& channel : m_channels)
        m_currentChannel->addItem(QString::fromStdString(ChannelLabel(channel)), channel.index);
    const int request = m_settings.currentChannel.request;
    if (m_currentChannel->findData(request) < 0)
        m_currentChannel->addItem(QString::number(request), request);
    m_currentChannel->setCurrentIndex(m_currentChannel->findData(request));
}

void CPageGeneralSettings::SaveChannel() {
    const int request = m_currentChannel->currentData().toInt();
    if (request == m_settings.currentChannel.request)
        return;
    m_settings.currentChannel.request = request;
    emit currentChannelChanged();
}

QHBoxLayout* CPageGeneralSettings::BuildWatchFolderRow() {
    m_watchFolder = new QLineEdit(this);
    SetId(m_watchFolder, kWatchFolderId, "watchFolder");
    m_watchFolder->setPlaceholderText(tr("(none)"));
    auto* chooser = new QPushButton(tr("..."), this);
    SetId(chooser, kWatchFolderChooserId, "watchFolderChooser");
    chooser->setToolTip(tr("Choose the folder to watch for new recordings"));
    chooser->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("...")) * 3);
    auto* row = new QHBoxLayout;
    row->addWidget(MakeCaption(tr("Watch folder:"), "watchFolderLabel", this, m_watchFolder));
    row->addWidget(m_watchFolder, 1);
    row->addWidget(chooser);
    connect(chooser, &QPushButton::clicked, this, &CPageGeneralSettings::ChooseWatchFolder);
    connect(m_watchFolder, &QLineEdit::editingFinished, this,
            &CPageGeneralSettings::SaveWatchFolder);
    return row;
}

CPageGeneralSettings::FolderDialogFunction
CPageGeneralSettings::SetFolderDialogFunction(FolderDialogFunction function) {
    FolderDialogFunction previous = std::move(FolderDialog());
    FolderDialog() = std::move(function);
    return previous;
}

void CPageGeneralSettings::ChooseWatchFolder() {
    const QString title = tr("Watch Folder");
    const QString start = m_watchFolder->text().trimmed();
    std::optional<QString> chosen;
    if (const FolderDialogFunction& dialog = FolderDialog()) {
        chosen = dialog(this, title, start);
    } else {
        const QString folder = QFileDialog::getExistingDirectory(this, title, start);
        if (!folder.isEmpty())
            chosen = folder;
    }
    if (!chosen)
        return;
    m_watchFolder->setText(QDir::toNativeSeparators(*chosen));
    // Watching starts at once, not only when the page is left.
    SaveWatchFolder();
}

void CPageGeneralSettings::SaveWatchFolder() {
    const std::string folder = QFile::encodeName(m_watchFolder->text().trimmed()).toStdString();
    if (folder == m_settings.watchFolder)
        return;
    m_settings.watchFolder = folder;
    emit watchFolderChanged();
}

void CPageGeneralSettings::ConnectControls() {
    // Immediate reactions: the process-wide display values, not the record.
    connect(m_useZeroCurrentLine, &QCheckBox::clicked, this, [this](bool checked) {
        g_showZeroCurrentLine = checked;
        emit displayValuesChanged();
    });
    for (TLColourDropDownButton* button :
         {m_selectionButtons[0], m_selectionButtons[1], m_selectionButtons[2],
          m_selectionButtons[3], m_zeroLineColour, m_currentTraceColour, m_controlTraceColour})
        connect(button, &TLColourDropDownButton::notification, this,
                &CPageGeneralSettings::OnColourNotification);
    connect(m_sweepMaxRange, &CValidatedEdit::notification, this,
            &CPageGeneralSettings::OnRangeNotification);

    // The colour buttons share the first selection button's colour set, so a
    // custom colour picked in one is offered in all seven.
    for (TLColourDropDownButton* button :
         {m_selectionButtons[1], m_selectionButtons[2], m_selectionButtons[3], m_zeroLineColour,
          m_currentTraceColour, m_controlTraceColour})
        button->ShareColourSet(*m_selectionButtons[0]);
}

CPageGeneralSettings::~CPageGeneralSettings() = default;

QCheckBox* CPageGeneralSettings::AddCheckBox(int id, const char* name, const QString& label) {
    auto* box = new QCheckBox(label, this);
    SetId(box, id, name);
    return box;
}

TLColourDropDownButton* CPageGeneralSettings::AddColourButton(int id, const char* name) {
    auto* button = new TLColourDropDownButton(this);
    SetId(button, id, name);
    return button;
}

void CPageGeneralSettings::SetDisplayModel(std::shared_ptr<TraceDisplayModel> model) {
    m_model = std::move(model);
}

void CPageGeneralSettings::LoadSettings(IProfileStore& profile) {
    m_settings.Load(profile);
    if (m_model)
        m_model->SetMaxZoomRange(static_cast<float>(m_settings.sweepMaxRange));
}

void CPageGeneralSettings::SaveSettings(IProfileStore& profile) const {
    m_settings.Save(profile);
}

void CPageGeneralSettings::OnInitDialog() {
    if (m_initialised)
        return;
    m_initialised = true;
    UpdateData(false);
    for (size_t i = 0; i < m_selectionButtons.size(); ++i)
        m_selectionButtons[i]->SetColour(g_selectionColour[i]);
}

std::vector<std::pair<QCheckBox*, int32_t*>> CPageGeneralSettings::CheckBoxFields() {
    std::vector<std::pair<QCheckBox*, int32_t*>> fields;
    for (size_t i = 0; i < kAnalysisCount; ++i)
        fields.emplace_back(m_selectAll[i], &m_settings.selectAll[i]);
    fields.insert(fields.end(), {{m_analyseAllCategories, &m_settings.analyseAllCategories},
                                 {m_autoPrint, &m_settings.autoPrint},
                                 {m_autoSave, &m_settings.autoSave},
                                 {m_sameControlTrace, &m_settings.sameControlTrace},
                                 {m_useZeroCurrentLine, &m_settings.useZeroCurrentLine},
                                 {m_autoAnalyse, &m_settings.autoAnalyseAcquisitions}});
    return fields;
}

std::vector<std::pair<TLColourDropDownButton*, ColourRef*>> CPageGeneralSettings::ColourFields() {
    return {
        {m_selectionButtons[0], &m_settings.selectionColours[0]},
        {m_selectionButtons[1], &m_settings.selectionColours[1]},
        {m_selectionButtons[2], &m_settings.selectionColours[2]},
        {m_selectionButtons[3], &m_settings.selectionColours[3]},
        {m_zeroLineColour, &m_settings.zeroLineColour},
        {m_currentTraceColour, &m_settings.currentTraceColour},
        {m_controlTraceColour, &m_settings.controlTraceColour},
    };
}

bool CPageGeneralSettings::UpdateData(bool saving) {
    if (!saving) {
        m_loading = true;
        for (const auto& [box, field] : CheckBoxFields())
            box->setChecked(*field != 0);
        (m_settings.plotTraceNumber != 0 ? m_plotTraceNumber : m_plotTimes)->setChecked(true);
        for (const auto& [button, field] : ColourFields())
            button->LoadColour(*field);
        m_sweepMaxRange->LoadValue(m_settings.sweepMaxRange);
        m_watchFolder->setText(
            QFile::decodeName(QByteArray::fromStdString(m_settings.watchFolder)));
        FillChannelList();
        m_loading = false;
        return true;
    }

    // Controls never filled from the record have nothing to give.
    if (!m_initialised)
        return true;
    for (const auto& [box, field] : CheckBoxFields())
        *field = Checked(box) ? 1 : 0;
    m_settings.plotTraceNumber = m_plotTraceNumber->isChecked() ? 1 : 0;
    for (const auto& [button, field] : ColourFields())
        button->Exchange(true, *field);
    SaveWatchFolder();
    SaveChannel();
    return SaveRange();
}

bool CPageGeneralSettings::SaveRange() {
    double range = m_settings.sweepMaxRange;
    if (!m_sweepMaxRange->SaveValue(range))
        return false;
    // An emptied field has no value: the range stays what it was.
    if (!std::isnan(range))
        m_settings.sweepMaxRange = range;
    else
        m_settings.sweepMaxRangeChanged = false;
    if (m_model && m_settings.sweepMaxRangeChanged)
        m_model->SetMaxZoomRange(static_cast<float>(m_settings.sweepMaxRange));
    m_settings.sweepMaxRangeChanged = false;
    return true;
}

bool CPageGeneralSettings::OnKillActive() {
    return UpdateData(true);
}

bool CPageGeneralSettings::OnApply() {
    if (!UpdateData(true))
        return false;
    if (m_sheet)
        m_sheet->ExportAllAnalyses();
    return false;
}

void CPageGeneralSettings::OnCancel() {
    UpdateData(true);
}

void CPageGeneralSettings::OnColourNotification(QWidget* control, int code) {
    if (code != kNotifyColourChanged)
        return;
    auto* button = static_cast<TLColourDropDownButton*>(control);
    const ColourRef colour = button->Colour();
    const int id = control->property("controlId").toInt();
    if (id >= kDescendingRampColourId && id <= kAscendingSubsectionColourId) {
        // The four buttons stand in region order; a ramp's colour also
        // colours its overlay region.
        const int region = id - kDescendingRampColourId;
        g_selectionColour[static_cast<size_t>(region)] = colour;
        if (region == kRamp1Region || region == kRamp2Region)
            g_selectionColour[static_cast<size_t>(OverlayRegionOf(region))] = colour;
    } else if (id == kCurrentTraceColourId) {
        g_currentTraceColour = colour;
    } else if (id == kControlTraceColourId) {
        g_controlTraceColour = colour;
    } else if (id == kZeroLineColourId) {
        g_zeroLineColour = colour;
    } else {
        return;
    }
    emit displayValuesChanged();
}

void CPageGeneralSettings::OnRangeNotification(QWidget*, int code) {
    if (code == kNotifyValueChanged && !m_loading)
        m_settings.sweepMaxRangeChanged = true;
}

QWidget* CPageGeneralSettings::Control(int id) const {
    for (QWidget* child : findChildren<QWidget*>()) {
        if (child->property("controlId").toInt() == id)
            return child;
    }
    return nullptr;
}
