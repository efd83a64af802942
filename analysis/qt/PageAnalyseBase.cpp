#include "analysis/qt/PageAnalyseBase.h"

#include "analysis/ExportChoicesFromRecords.h"
#include "analysis/ProtocolRamps.h"
#include "analysis/TraceRows.h"
#include "analysis/qt/AnalysisSheet.h"
#include "analysis/qt/PageButtonImages.h"
#include "controls/qt/Caption.h"
#include "controls/qt/ImageButton.h"
#include "controls/qt/IntegerEdit.h"
#include "controls/qt/IntegerListEdit.h"
#include "controls/qt/SpinButton.h"
#include "display/DisplayValues.h"
#include "display/TraceDisplayModel.h"
#include "display/qt/CZoomScrollView.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>
#include <limits>

namespace {

// A bound for a count that may exceed the fields' 32-bit range.
int32_t CountBound(uint32_t count) {
    return static_cast<int32_t>(std::min<uint32_t>(count, std::numeric_limits<int32_t>::max() - 1));
}

void LimitField(CIntegerEdit* field, uint32_t highest) {
    field->SetLowerBound(kBoundInclusive, 1);
    field->SetUpperBound(kBoundInclusive, CountBound(highest));
}

void UnlimitField(CIntegerEdit* field) {
    field->SetLowerBound(kBoundNone, 0);
    field->SetUpperBound(kBoundNone, 0);
}

CImageButton* MakeZoomButton(const char* name, const QString& tip, QWidget* parent) {
    auto* button = new CImageButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(tip);
    button->setAccessibleName(tip);
    button->setFocusPolicy(Qt::TabFocus);
    button->setFixedSize(24, 24);
    return button;
}

// The protocol ramp number of one ramp: ramp epoch 1, 2, ... of each trace's
// protocol (a protocol holds at most ten epochs; the range leaves room).
QSpinBox* MakeProtocolRampSpin(const char* name, const QString& what, QWidget* parent) {
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(QLatin1String(name));
    spin->setRange(1, 99);
    spin->setPrefix(QStringLiteral("#"));
    spin->setToolTip(what);
    spin->setAccessibleName(what);
    return spin;
}

CImageButton* MakeTextButton(const QString& text, const char* name, QWidget* parent) {
    auto* button = new CImageButton(text, parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

// An entry field with its spin button beside it.
QHBoxLayout* FieldWithSpin(CIntegerEdit* field, CSpinButton* spin) {
    auto* row = new QHBoxLayout;
    row->setSpacing(0);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(field);
    row->addWidget(spin);
    row->addStretch(1);
    return row;
}

QString WindowTitle(PageTemplate pageTemplate) {
    switch (pageTemplate) {
    case PageTemplate::SlopeConductance:
        return QLatin1String(RowOf(Analysis::SlopeConductance).tabCaption);
    case PageTemplate::CurrentVoltage:
        return QLatin1String(RowOf(Analysis::CurrentVoltage).tabCaption);
    case PageTemplate::Capacitance:
        return QLatin1String(RowOf(Analysis::Capacitance).tabCaption);
    case PageTemplate::ContinuousRecord:
        return QLatin1String(RowOf(Analysis::ContinuousRecord).tabCaption);
    case PageTemplate::Base:
        break;
    }
    return QStringLiteral("Analysis");
}

} // namespace

CPageAnalyseBase::CPageAnalyseBase(AnalysisPageSettings& settings, QWidget* parent)
    : CPageAnalyseBase(settings, PageTemplate::Base, parent) {
    InitDialog();
}

CPageAnalyseBase::CPageAnalyseBase(AnalysisPageSettings& settings, PageTemplate pageTemplate,
                                   QWidget* parent)
    : QWidget(parent), m_settings(settings), m_template(pageTemplate) {
    setWindowTitle(WindowTitle(pageTemplate));
    BuildControls();
    ApplyTemplate();
    ConnectControls();
    m_rampFields = {m_editRamp1Start, m_editRamp1End, m_editRamp2Start, m_editRamp2End};
}

CPageAnalyseBase::~CPageAnalyseBase() = default;

int CPageAnalyseBase::FieldWidth(int characters) const {
    return fontMetrics().horizontalAdvance(QString(characters, QLatin1Char('0'))) + 12;
}

int CPageAnalyseBase::PanelWidth() const {
    // Wide enough for the longest caption of any page kind and two fields
    // with their spin buttons beside it.
    const QFontMetrics metrics = fontMetrics();
    int caption = 0;
    for (const char* text : {"Round to nearest:", "Current Sample#:", "Test Potential:",
                             "Current Trace:", "Ramp2 Start:", "Sample points:"})
        caption = std::max(caption, metrics.horizontalAdvance(QLatin1String(text)));
    caption = std::max(caption, metrics.horizontalAdvance(QStringLiteral("Control Trace:")) + 24);
    const int field = FieldWidth(6) + CSpinButton().sizeHint().width();
    const int protocolRamp = QSpinBox().sizeHint().width();
    return caption + 2 * field + protocolRamp + metrics.horizontalAdvance(QStringLiteral("End:")) +
           46;
}

CIntegerEdit* CPageAnalyseBase::MakeIntegerField(const char* name, const QString& fieldName,
                                                 CSpinButton** spin) {
    auto* field = new CIntegerEdit(this);
    field->setObjectName(QLatin1String(name) + QLatin1String("Edit"));
    field->SetName(fieldName);
    field->setAccessibleName(fieldName);
    // An empty field is no number: the user is told when the page's data are taken.
    field->SetAllowEmpty(false);
    field->setFixedWidth(FieldWidth(6));
    *spin = new CSpinButton(this);
    (*spin)->setObjectName(QLatin1String(name) + QLatin1String("Spin"));
    field->SetBuddySpin(*spin);
    return field;
}

CIntegerListEdit* CPageAnalyseBase::MakeListField(const char* name, const QString& fieldName) {
    auto* field = new CIntegerListEdit(this);
    field->setObjectName(QLatin1String(name) + QLatin1String("Edit"));
    field->SetName(fieldName);
    field->setAccessibleName(fieldName);
    return field;
}

void CPageAnalyseBase::BuildControls() {
    QVBoxLayout* left = BuildTraceListColumn();
    QGridLayout* middle = BuildViewWithZoomButtons();
    QWidget* panel = BuildFieldPanel();
    auto* page = new QHBoxLayout(this);
    page->addLayout(left);
    page->addLayout(middle, 1);
    page->addWidget(panel);
}

QVBoxLayout* CPageAnalyseBase::BuildTraceListColumn() {
    // Left: the trace list and the Select Traces field.
    m_listTraces = new QListWidget(this);
    m_listTraces->setObjectName(QStringLiteral("traceList"));
    m_listTraces->setAccessibleName(QStringLiteral("Traces"));
    m_listTraces->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // The rows are columns of digits: a fixed-pitch font keeps them aligned.
    m_listTraces->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    const QFontMetrics listMetrics(m_listTraces->font());
    m_listTraces->setFixedWidth(listMetrics.horizontalAdvance(QString(26, QLatin1Char('0'))) +
                                m_listTraces->verticalScrollBar()->sizeHint().width() + 8);

    m_editSelectTraces = MakeListField("selectTraces", QStringLiteral("Select Traces"));
    m_editSelectTraces->SetRangesAllowed(true);
    auto* captionSelect = MakeCaption(QStringLiteral("Select Traces:"), "selectTracesCaption", this,
                                      m_editSelectTraces);

    auto* left = new QVBoxLayout;
    left->addWidget(m_listTraces, 1);
    left->addWidget(captionSelect);
    left->addWidget(m_editSelectTraces);
    m_editSelectTraces->setFixedWidth(m_listTraces->minimumWidth());

    return left;
}

QGridLayout* CPageAnalyseBase::BuildViewWithZoomButtons() {
    // Middle: the view with its zoom buttons: vertical ones at its right edge,
    // horizontal ones below it.
    m_view = new CZoomScrollView(this);
    m_view->setMinimumSize(320, 240);
    m_view->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    m_buttonZoomInY = MakeZoomButton("zoomInYButton", QStringLiteral("Zoom in vertically"), this);
    m_buttonZoomOutY =
        MakeZoomButton("zoomOutYButton", QStringLiteral("Zoom out vertically"), this);
    m_buttonZoomOutX =
        MakeZoomButton("zoomOutXButton", QStringLiteral("Zoom out horizontally"), this);
    m_buttonZoomInX = MakeZoomButton("zoomInXButton", QStringLiteral("Zoom in horizontally"), this);
    auto* middle = new QGridLayout;
    middle->setSpacing(2);
    middle->addWidget(m_view, 0, 0, 2, 3);
    middle->addWidget(m_buttonZoomInY, 0, 3, Qt::AlignTop);
    middle->addWidget(m_buttonZoomOutY, 1, 3, Qt::AlignBottom);
    middle->addWidget(m_buttonZoomOutX, 2, 0, Qt::AlignLeft);
    middle->addWidget(m_buttonZoomInX, 2, 2, Qt::AlignRight);
    m_labelReadout = MakeCaption(QString(), "readoutLabel", this);
    m_labelReadout->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_labelReadout->setMinimumWidth(0);
    m_labelReadout->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    middle->addWidget(m_labelReadout, 2, 1);
    middle->setColumnStretch(1, 1);
    middle->setRowStretch(0, 1);
    middle->setRowStretch(1, 1);

    return middle;
}

QWidget* CPageAnalyseBase::BuildFieldPanel() {
    // Right: the entry fields, in a panel of the same width on every page so
    // that all views have the same size (they share one display model).
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("fieldPanel"));
    panel->setFixedWidth(PanelWidth());
    auto* grid = new QGridLayout;
    grid->setContentsMargins(0, 0, 0, 0);
    int row = 0;

    AddTraceRows(grid, row);
    AddRampRows(grid, row);
    m_checkControlTrace = new QCheckBox(QStringLiteral("&Control Trace:"), this);
    m_checkControlTrace->setObjectName(QStringLiteral("controlTraceCheck"));
    m_editControlTrace =
        MakeIntegerField("controlTrace", QStringLiteral("Control Trace"), &m_spinControlTrace);
    grid->addWidget(m_checkControlTrace, row, 0);
    grid->addLayout(FieldWithSpin(m_editControlTrace, m_spinControlTrace), row, 1, 1, 3);
    ++row;
    grid->setColumnStretch(3, 1);

    m_pageControls = grid;
    auto* right = new QVBoxLayout(panel);
    right->setContentsMargins(0, 0, 0, 0);
    right->addLayout(grid);
    right->addStretch(1);

    return panel;
}

void CPageAnalyseBase::AddPageControlsRow(QWidget* caption, QLayout* fields) {
    const int row = m_pageControls->rowCount();
    m_pageControls->addWidget(caption, row, 0);
    m_pageControls->addLayout(fields, row, 1, 1, 3);
}

void CPageAnalyseBase::AddTraceRows(QGridLayout* grid, int& row) {
    m_editCurrentTrace =
        MakeIntegerField("currentTrace", QStringLiteral("Current Trace"), &m_spinCurrentTrace);
    auto* captionCurrent = MakeCaption(QStringLiteral("Current Trace:"), "currentTraceCaption",
                                       this, m_editCurrentTrace);
    grid->addWidget(captionCurrent, row, 0);
    grid->addLayout(FieldWithSpin(m_editCurrentTrace, m_spinCurrentTrace), row, 1, 1, 3);
    ++row;
    m_labelCurrentTrace = MakeCaption(QString(), "currentTraceLabel", this);
    m_labelCurrentTrace->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_labelCurrentTrace->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grid->addWidget(m_labelCurrentTrace, row, 0, 1, 4);
    ++row;

    m_buttonAddCurrent = MakeTextButton(QStringLiteral("&Add Current"), "addCurrentButton", this);
    m_buttonRemoveCurrent =
        MakeTextButton(QStringLiteral("&Remove Current"), "removeCurrentButton", this);
    m_buttonAddAll = MakeTextButton(QStringLiteral("A&dd All"), "addAllButton", this);
    m_buttonRemoveAll = MakeTextButton(QStringLiteral("Re&move All"), "removeAllButton", this);
    auto* buttons = new QGridLayout;
    buttons->addWidget(m_buttonAddCurrent, 0, 0);
    buttons->addWidget(m_buttonRemoveCurrent, 0, 1);
    buttons->addWidget(m_buttonAddAll, 1, 0);
    buttons->addWidget(m_buttonRemoveAll, 1, 1);
    grid->addLayout(buttons, row, 0, 1, 4);
    ++row;
}

void CPageAnalyseBase::AddRampRows(QGridLayout* grid, int& row) {
    m_editRamp1Start =
        MakeIntegerField("ramp1Start", QStringLiteral("Start of the Ramp"), &m_spinRamp1Start);
    m_editRamp1End =
        MakeIntegerField("ramp1End", QStringLiteral("End of the Ramp"), &m_spinRamp1End);
    m_editRamp2Start = MakeIntegerField("ramp2Start", QStringLiteral("Start of the second Ramp"),
                                        &m_spinRamp2Start);
    m_editRamp2End =
        MakeIntegerField("ramp2End", QStringLiteral("End of the second Ramp"), &m_spinRamp2End);
    m_captionRamp1Start =
        MakeCaption(QStringLiteral("Ramp1 Start:"), "ramp1StartCaption", this, m_editRamp1Start);
    m_captionRamp1End =
        MakeCaption(QStringLiteral("End:"), "ramp1EndCaption", this, m_editRamp1End);
    m_captionRamp2Start =
        MakeCaption(QStringLiteral("Ramp2 Start:"), "ramp2StartCaption", this, m_editRamp2Start);
    m_captionRamp2End =
        MakeCaption(QStringLiteral("End:"), "ramp2EndCaption", this, m_editRamp2End);
    m_checkRampsFromProtocol = new QCheckBox(QStringLiteral("Ramps from protocol"), this);
    m_checkRampsFromProtocol->setObjectName(QStringLiteral("rampsFromProtocolCheck"));
    m_checkRampsFromProtocol->setToolTip(
        QStringLiteral("Each trace's ramps are the ramp epochs of its own protocol"));
    m_spinRamp1Protocol = MakeProtocolRampSpin("ramp1ProtocolRampSpin",
                                               QStringLiteral("Protocol ramp of ramp 1"), this);
    m_spinRamp2Protocol = MakeProtocolRampSpin("ramp2ProtocolRampSpin",
                                               QStringLiteral("Protocol ramp of ramp 2"), this);
    grid->addWidget(m_checkRampsFromProtocol, row, 0, 1, 5);
    ++row;
    const auto addRampRow = [&](auto* startCaption, auto* start, auto* startSpin, auto* endCaption,
                                auto* end, auto* endSpin, auto* protocolSpin) {
        grid->addWidget(startCaption, row, 0);
        grid->addLayout(FieldWithSpin(start, startSpin), row, 1);
        grid->addWidget(endCaption, row, 2, Qt::AlignRight);
        grid->addLayout(FieldWithSpin(end, endSpin), row, 3);
        grid->addWidget(protocolSpin, row, 4);
        ++row;
    };
    addRampRow(m_captionRamp1Start, m_editRamp1Start, m_spinRamp1Start, m_captionRamp1End,
               m_editRamp1End, m_spinRamp1End, m_spinRamp1Protocol);
    addRampRow(m_captionRamp2Start, m_editRamp2Start, m_spinRamp2Start, m_captionRamp2End,
               m_editRamp2End, m_spinRamp2End, m_spinRamp2Protocol);
    m_labelProtocolReason = MakeCaption(QString(), "protocolRampReasonLabel", this);
    m_labelProtocolReason->setWordWrap(true);
    grid->addWidget(m_labelProtocolReason, row, 0, 1, 5);
    ++row;
}

void CPageAnalyseBase::ApplyTemplate() {
    // Controls a page kind does not use are hidden and disabled, so they
    // never complain when the page's data are taken.
    const auto drop = [](std::initializer_list<QWidget*> widgets) {
        for (QWidget* widget : widgets) {
            widget->setVisible(false);
            widget->setEnabled(false);
        }
    };
    const auto dropRamp2 = [&] {
        drop({m_captionRamp2Start, m_editRamp2Start, m_spinRamp2Start, m_captionRamp2End,
              m_editRamp2End, m_spinRamp2End, m_spinRamp2Protocol});
    };
    switch (m_template) {
    case PageTemplate::SlopeConductance:
    case PageTemplate::CurrentVoltage:
        m_captionRamp1Start->setText(QStringLiteral("Ramp Start:"));
        dropRamp2();
        break;
    case PageTemplate::Capacitance:
        drop({m_checkControlTrace, m_editControlTrace, m_spinControlTrace});
        break;
    case PageTemplate::ContinuousRecord:
        m_captionRamp1Start->setText(QStringLiteral("Current Sample#:"));
        m_captionRamp1Start->setObjectName(QStringLiteral("currentSampleCaption"));
        drop({m_captionRamp1End, m_editRamp1End, m_spinRamp1End, m_checkRampsFromProtocol,
              m_spinRamp1Protocol, m_labelProtocolReason});
        dropRamp2();
        // Shown, so the page looks like its siblings, but not in use here.
        m_checkControlTrace->setEnabled(false);
        m_editControlTrace->setEnabled(false);
        m_spinControlTrace->setEnabled(false);
        break;
    case PageTemplate::Base:
        break;
    }
}

void CPageAnalyseBase::ConnectControls() {
    // Each step is a closure of its own: a lambda holding a pointer to member
    // read outside its frame under AddressSanitizer once the table was gone.
    const std::pair<CImageButton*, std::function<void()>> zooms[] = {
        {m_buttonZoomInX, [this] { m_view->ZoomInX(); }},
        {m_buttonZoomOutX, [this] { m_view->ZoomOutX(); }},
        {m_buttonZoomInY, [this] { m_view->ZoomInY(); }},
        {m_buttonZoomOutY, [this] { m_view->ZoomOutY(); }}};
    for (const auto& [button, zoom] : zooms) {
        connect(button, &QPushButton::clicked, this, [this, step = zoom] {
            step();
            RefreshControls();
        });
    }
    connect(m_view, &CZoomScrollView::zoomChanged, this, &CPageAnalyseBase::RefreshControls);
    connect(m_view, &CZoomScrollView::readoutChanged, m_labelReadout, &QLabel::setText);
    connect(m_view, &CZoomScrollView::regionDragged, this, &CPageAnalyseBase::OnRegionDragged);

    connect(m_buttonAddCurrent, &QPushButton::clicked, this, [this] {
        if (m_currentTraceIndex < m_traceCount) {
            SetRowSelected(m_currentTraceIndex, true);
            SyncSelection();
        }
    });
    connect(m_buttonRemoveCurrent, &QPushButton::clicked, this, [this] {
        if (m_currentTraceIndex < m_traceCount) {
            SetRowSelected(m_currentTraceIndex, false);
            SyncSelection();
        }
    });
    connect(m_buttonAddAll, &QPushButton::clicked, this, [this] {
        SelectAllRows(true);
        SyncSelection();
    });
    connect(m_buttonRemoveAll, &QPushButton::clicked, this, [this] {
        SelectAllRows(false);
        SyncSelection();
    });
    connect(m_listTraces, &QListWidget::itemSelectionChanged, this,
            &CPageAnalyseBase::OnTraceListSelectionChanged);

    connect(m_editCurrentTrace, &CValidatedEdit::valueChanged, this,
            &CPageAnalyseBase::OnCurrentTraceChanged);
    connect(m_checkControlTrace, &QCheckBox::clicked, this,
            &CPageAnalyseBase::OnControlTraceChanged);
    connect(m_editControlTrace, &CValidatedEdit::valueChanged, this,
            &CPageAnalyseBase::OnControlTraceChanged);
    connect(m_editSelectTraces, &CValidatedEdit::valueChanged, this,
            &CPageAnalyseBase::OnSelectTracesEdited);
    ConnectRampControls();
}

void CPageAnalyseBase::ConnectRampControls() {
    // Lambdas, so the page kinds' overrides are the ones called.
    connect(m_editRamp1Start, &CValidatedEdit::valueChanged, this,
            [this] { OnRamp1StartChanged(); });
    connect(m_editRamp1End, &CValidatedEdit::valueChanged, this, [this] { OnRamp1Changed(); });
    connect(m_editRamp2Start, &CValidatedEdit::valueChanged, this, [this] { OnRamp2Changed(); });
    connect(m_editRamp2End, &CValidatedEdit::valueChanged, this, [this] { OnRamp2Changed(); });
    connect(m_checkRampsFromProtocol, &QCheckBox::toggled, this,
            &CPageAnalyseBase::OnRampSourceChanged);
    for (QSpinBox* spin : {m_spinRamp1Protocol, m_spinRamp2Protocol})
        connect(spin, &QSpinBox::valueChanged, this, [this] {
            m_settings.ramp1ProtocolRamp = m_spinRamp1Protocol->value();
            m_settings.ramp2ProtocolRamp = m_spinRamp2Protocol->value();
            if (RampsFromProtocol()) {
                ShowProtocolRamps();
                OnCurrentCommandChanged();
            }
        });
}

void CPageAnalyseBase::LoadButtonImages() {
    const std::pair<CImageButton*, int> images[] = {
        {m_buttonZoomInX, kZoomInBitmap},        {m_buttonZoomOutX, kZoomOutBitmap},
        {m_buttonZoomInY, kZoomInBitmap},        {m_buttonZoomOutY, kZoomOutBitmap},
        {m_buttonAddCurrent, kAddCurrentBitmap}, {m_buttonRemoveCurrent, kRemoveCurrentBitmap},
        {m_buttonAddAll, kAddAllBitmap},         {m_buttonRemoveAll, kRemoveAllBitmap},
    };
    for (const auto& [button, bitmapId] : images)
        button->SetBitmap(PageButtonBitmap(bitmapId), 16, 16);
}

void CPageAnalyseBase::OnInitDialog() {
    UpdateData(false);
    LoadButtonImages();
    OnCurrentTraceChanged();
    RefreshControls();
}

// --- Settings --------------------------------------------------------------

void CPageAnalyseBase::SavePageSettings(IProfileStore& profile) {
    m_settings.Save(profile);
}

void CPageAnalyseBase::LoadPageSettings(IProfileStore& profile) {
    m_settings.Load(profile);
    UpdateData(false);
}

void CPageAnalyseBase::SetSettingsSection(const std::string& section) {
    m_settings.settingsSection = section;
}

const std::string& CPageAnalyseBase::SettingsSection() const {
    return m_settings.settingsSection;
}

void CPageAnalyseBase::SetDisplayModel(std::shared_ptr<TraceDisplayModel> model) {
    m_model = model;
    m_view->SetDisplayModel(std::move(model));
    RefreshControls();
}

// --- Recordings --------------------------------------------------------------

void CPageAnalyseBase::OnNewRecording(const std::string& fileTitle, uint32_t traceCount,
                                      uint32_t samplesPerTrace, bool selectAll) {
    m_traceCount = 0;
    {
        const QSignalBlocker quiet(m_listTraces);
        m_listTraces->clear();
    }
    // The limits come first, so that a stored ramp beyond the new traces is
    // marked by its field instead of being drawn; bands of the previous
    // recording go.
    for (CIntegerEdit* field : m_rampFields)
        LimitField(field, samplesPerTrace);
    ClearRegions();
    OnTracesAppended(fileTitle, traceCount);

    // The record follows the same rule as the command line's; the controls
    // then show it.
    ApplyNewRecording(m_settings, traceCount, selectAll);
    if (selectAll)
        SelectAllRows(true);
    SyncSelection();

    m_editControlTrace->SetValue(1);
    m_editCurrentTrace->SetValue(1);
    m_view->viewport()->update();
    OnCurrentTraceChanged();
    OnControlTraceChanged();
    RefreshControls();
    SetModified(true);
}

void CPageAnalyseBase::OnTracesAppended(const std::string& fileTitle, uint32_t traceCount) {
    if (traceCount < static_cast<uint32_t>(m_listTraces->count())) {
        const QSignalBlocker quiet(m_listTraces);
        while (static_cast<uint32_t>(m_listTraces->count()) > traceCount)
            delete m_listTraces->takeItem(m_listTraces->count() - 1);
    }
    const uint32_t added = traceCount > m_traceCount ? traceCount - m_traceCount : 0;
    m_traceCount = traceCount;
    // A store cut short keeps no choice of a trace it no longer has.
    m_settings.selectedTraces = SelectableRows(m_settings.selectedTraces, m_traceCount);

    LimitField(m_editControlTrace, m_traceCount);
    LimitField(m_editCurrentTrace, m_traceCount);
    m_editSelectTraces->SetLowerBound(kBoundInclusive, 1);
    m_editSelectTraces->SetUpperBound(kBoundInclusive, CountBound(m_traceCount));

    QStringList rows;
    rows.reserve(static_cast<qsizetype>(added));
    for (uint32_t k = 1; k <= added; ++k)
        rows.append(QString::fromStdString(TraceRowText(k, fileTitle)));
    {
        const QSignalBlocker quiet(m_listTraces);
        m_listTraces->addItems(rows);
    }
    UpdateRamp1Region();
    UpdateRamp2Region();
    RefreshControls();
}

void CPageAnalyseBase::OnRecordingClosed() {
    m_traceCount = 0;
    {
        const QSignalBlocker quiet(m_listTraces);
        m_listTraces->clear();
    }
    m_settings.selectedTraces.clear();
    // Back to how the page was before any recording: no limits to hold the
    // fields to, nothing highlighted, no bands.
    for (CIntegerEdit* field : m_rampFields)
        UnlimitField(field);
    UnlimitField(m_editControlTrace);
    UnlimitField(m_editCurrentTrace);
    m_editSelectTraces->SetLowerBound(kBoundNone, 0);
    m_editSelectTraces->SetUpperBound(kBoundNone, 0);
    ClearRegions();
    m_view->SetCurrentTrace(-1);
    m_view->SetControlTrace(-1);
    // No trace, so no protocol ramps to show.
    if (RampsFromProtocol())
        ShowProtocolRamps();
    SyncSelection();
}

void CPageAnalyseBase::ClearRegions() {
    for (int region = 0; region < static_cast<int>(kRegionCount); ++region)
        m_view->SetRegion(0, 0, region);
}

// --- Selection ----------------------------------------------------------------

std::vector<int32_t> CPageAnalyseBase::SelectedRows() const {
    // From the selection's ranges, not by asking every row.
    std::vector<int32_t> rows;
    for (const QItemSelectionRange& range : m_listTraces->selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.push_back(row);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void CPageAnalyseBase::SetRowSelected(uint32_t row, bool selected) {
    if (row >= static_cast<uint32_t>(m_listTraces->count()))
        return;
    const QSignalBlocker quiet(m_listTraces);
    m_listTraces->item(static_cast<int>(row))->setSelected(selected);
}

void CPageAnalyseBase::SelectRows(std::vector<int32_t> rows) {
    // One selection of runs of neighbouring rows, handed over at once: row by
    // row, each selection change costs time in proportion to the rows
    // selected before it, which thousands of traces turn into seconds.
    std::sort(rows.begin(), rows.end());
    QItemSelection selection;
    const QAbstractItemModel* model = m_listTraces->model();
    for (size_t begin = 0; begin < rows.size();) {
        size_t end = begin + 1;
        while (end < rows.size() && rows[end] <= rows[end - 1] + 1)
            ++end;
        selection.select(model->index(rows[begin], 0), model->index(rows[end - 1], 0));
        begin = end;
    }
    m_listTraces->selectionModel()->select(selection, QItemSelectionModel::Select);
}

void CPageAnalyseBase::SelectAllRows(bool selected) {
    const QSignalBlocker quiet(m_listTraces);
    if (selected)
        m_listTraces->selectAll();
    else
        m_listTraces->clearSelection();
}

void CPageAnalyseBase::SyncSelection() {
    const std::vector<int32_t> rows = SelectedRows();
    m_view->SetDisplayedTraces(rows);
    std::vector<int32_t> numbers;
    numbers.reserve(rows.size());
    for (const int32_t row : rows)
        numbers.push_back(row + 1);
    m_editSelectTraces->SetValue(numbers);
    RefreshControls();
}

void CPageAnalyseBase::OnTraceListSelectionChanged() {
    SyncSelection();
    RefreshControls();
}

void CPageAnalyseBase::OnSelectTracesEdited() {
    const std::vector<int32_t> listed = TraceIndicesFromNumbers(m_editSelectTraces->GetValue());
    if (SelectedRows() != listed) {
        const QSignalBlocker quiet(m_listTraces);
        m_listTraces->clearSelection();
        SelectRows(SelectableRows(listed, m_traceCount));
    }
    m_view->SetDisplayedTraces(listed);
    RefreshControls();
}

// --- Current trace, control trace, ramps ------------------------------------

void CPageAnalyseBase::OnCurrentTraceChanged() {
    const int32_t number = m_editCurrentTrace->GetValue();
    if (number == kNoIntegerValue)
        return;
    m_currentTraceIndex = static_cast<uint32_t>(number - 1);
    m_view->SetCurrentTrace(number - 1);
    if (RampsFromProtocol())
        ShowProtocolRamps();
    OnCurrentCommandChanged();
    RefreshControls();
}

void CPageAnalyseBase::OnControlTraceChanged() {
    if (m_checkControlTrace->isChecked()) {
        const int32_t number = m_editControlTrace->GetValue();
        if (number == kNoIntegerValue)
            return;
        m_view->SetControlTrace(number - 1);
    }
    RefreshControls();
}

void CPageAnalyseBase::OnRamp1Changed() {
    UpdateRamp1Region();
}

void CPageAnalyseBase::OnRamp2Changed() {
    UpdateRamp2Region();
}

namespace {

// Shows the ramp from sample `start` to `end` (1-based, as entered) as `region`.
bool ShowRamp(CZoomScrollView* view, int32_t start, int32_t end, int region) {
    if (start == kNoIntegerValue || end == kNoIntegerValue || start < 1 || end < 1)
        return false;
    view->SetRegion(static_cast<uint32_t>(start - 1), static_cast<uint32_t>(end - 1), region);
    return true;
}

} // namespace

void CPageAnalyseBase::OnRegionDragged(uint32_t first, uint32_t last,
                                       Qt::KeyboardModifiers modifiers) {
    // The protocol places the ramps; the fields only show them.
    if (RampsFromProtocol())
        return;
    const auto number = [](uint32_t sample) {
        return static_cast<int32_t>(std::min<uint32_t>(sample, INT32_MAX - 1) + 1);
    };
    const bool secondRamp = (modifiers & Qt::ShiftModifier) && m_editRamp2Start->isEnabled();
    CIntegerEdit* start = secondRamp ? m_editRamp2Start : m_editRamp1Start;
    CIntegerEdit* end = secondRamp ? m_editRamp2End : m_editRamp1End;
    if (!end->isEnabled()) {
        // One sample only (the continuous record's current sample): where the drag ended.
        start->SetValue(number(last));
    } else {
        start->SetValue(number(std::min(first, last)));
        end->SetValue(number(std::max(first, last)));
    }
    if (secondRamp)
        OnRamp2Changed();
    else if (end->isEnabled())
        OnRamp1Changed();
    else
        OnRamp1StartChanged();
}

// --- Ramps from the protocol --------------------------------------------------

bool CPageAnalyseBase::RampsFromProtocol() const {
    return m_settings.hasRamps && m_checkRampsFromProtocol->isChecked();
}

void CPageAnalyseBase::OnRampSourceChanged() {
    const bool fromProtocol = RampsFromProtocol();
    if (fromProtocol) {
        // The sample numbers typed so far stay in the record, for when the
        // box is cleared again.
        for (const auto& [field, member] : RampFieldsAndRecord())
            if (field->isEnabled() && !field->isReadOnly() && field->GetValue() != kNoIntegerValue)
                *member = field->GetValue();
    }
    m_settings.rampsFromProtocol = fromProtocol ? 1 : 0;
    ShowRampSource();
    OnCurrentCommandChanged();
}

void CPageAnalyseBase::ShowRampSource() {
    const bool fromProtocol = RampsFromProtocol();
    for (CIntegerEdit* field : m_rampFields) {
        field->setReadOnly(fromProtocol);
        // An empty field (the trace has no such ramp) is no mistake then.
        field->SetAllowEmpty(fromProtocol);
    }
    const std::pair<CSpinButton*, CIntegerEdit*> spins[] = {{m_spinRamp1Start, m_editRamp1Start},
                                                            {m_spinRamp1End, m_editRamp1End},
                                                            {m_spinRamp2Start, m_editRamp2Start},
                                                            {m_spinRamp2End, m_editRamp2End}};
    for (const auto& [spin, field] : spins)
        spin->setEnabled(field->isEnabled() && !fromProtocol);
    if (fromProtocol) {
        ShowProtocolRamps();
        return;
    }
    m_labelProtocolReason->clear();
    for (const auto& [field, member] : RampFieldsAndRecord())
        field->LoadValue(*member);
}

std::array<std::pair<CIntegerEdit*, int32_t*>, 4> CPageAnalyseBase::RampFieldsAndRecord() {
    return {{{m_editRamp1Start, &m_settings.ramp1Start},
             {m_editRamp1End, &m_settings.ramp1End},
             {m_editRamp2Start, &m_settings.ramp2Start},
             {m_editRamp2End, &m_settings.ramp2End}}};
}

void CPageAnalyseBase::ShowProtocolRamps() {
    std::string why;
    ShowProtocolRamp(1, m_editRamp1Start, m_editRamp1End, why);
    if (m_editRamp2Start->isEnabled()) {
        std::string why2;
        ShowProtocolRamp(2, m_editRamp2Start, m_editRamp2End, why2);
        why += (why.empty() || why2.empty() ? "" : "\n") + why2;
    }
    m_labelProtocolReason->setText(QString::fromStdString(why));
}

void CPageAnalyseBase::ShowProtocolRamp(int which, CIntegerEdit* start, CIntegerEdit* end,
                                        std::string& why) {
    std::optional<RampSamples> ramp;
    if (m_store != nullptr &&
        m_currentTraceIndex < std::min<size_t>(m_traceCount, m_store->traces.size()))
        ramp = ProtocolRamp(
            *m_store, m_currentTraceIndex,
            which == 1 ? m_settings.ramp1ProtocolRamp : m_settings.ramp2ProtocolRamp, why);
    if (!ramp) {
        // Empty fields leave a band where it was: it goes first.
        const int region = which == 1 ? kRamp1Region : kRamp2Region;
        for (const int r : {region, SubsectionRegionOf(region), OverlayRegionOf(region)})
            m_view->SetRegion(0, 0, r);
    }
    start->SetValue(ramp ? ramp->start : kNoIntegerValue);
    end->SetValue(ramp ? ramp->end : kNoIntegerValue);
}

void CPageAnalyseBase::UpdateRamp1Region() {
    if (ShowRamp(m_view, m_editRamp1Start->GetValue(), m_editRamp1End->GetValue(), kRamp1Region))
        RefreshControls();
}

void CPageAnalyseBase::UpdateRamp2Region() {
    if (ShowRamp(m_view, m_editRamp2Start->GetValue(), m_editRamp2End->GetValue(), kRamp2Region))
        RefreshControls();
}

// --- Data exchange and the sheet's steps -------------------------------------

namespace {

// While the main window takes the values of a page that is not being left (at
// exit), the names of the fields without a valid number go here instead of
// stopping the exchange with a message.
std::vector<std::string>* g_fieldsKept = nullptr;

} // namespace

std::vector<std::string> CPageAnalyseBase::TakeValidValues() {
    std::vector<std::string> kept;
    g_fieldsKept = &kept;
    DoDataExchange(true);
    g_fieldsKept = nullptr;
    return kept;
}

bool CPageAnalyseBase::ExchangeInteger(CIntegerEdit* field, bool saving, int32_t& member) {
    if (!saving) {
        field->LoadValue(member);
        return true;
    }
    if (g_fieldsKept != nullptr && field->isEnabled()) {
        const int32_t value = field->GetValue();
        if (value != kNoIntegerValue)
            member = value;
        else
            g_fieldsKept->push_back(field->Name().toStdString());
        return true;
    }
    if (!field->isEnabled()) {
        // A field the page kind does not use keeps what the settings held,
        // rather than turning a stored number into "no value".
        const int32_t value = field->GetValue();
        if (value != kNoIntegerValue)
            member = value;
        return true;
    }
    return field->SaveValue(member);
}

bool CPageAnalyseBase::UpdateData(bool saving) {
    return DoDataExchange(saving);
}

void CPageAnalyseBase::ExchangeRampSource(bool saving) {
    AnalysisPageSettings& s = m_settings;
    if (!s.hasRamps)
        return;
    if (saving) {
        s.rampsFromProtocol = m_checkRampsFromProtocol->isChecked() ? 1 : 0;
        s.ramp1ProtocolRamp = m_spinRamp1Protocol->value();
        s.ramp2ProtocolRamp = m_spinRamp2Protocol->value();
        return;
    }
    {
        const QSignalBlocker quiet1(m_spinRamp1Protocol);
        const QSignalBlocker quiet2(m_spinRamp2Protocol);
        const QSignalBlocker quiet3(m_checkRampsFromProtocol);
        m_spinRamp1Protocol->setValue(s.ramp1ProtocolRamp);
        m_spinRamp2Protocol->setValue(s.ramp2ProtocolRamp);
        m_checkRampsFromProtocol->setChecked(s.rampsFromProtocol != 0);
    }
    ShowRampSource();
}

bool CPageAnalyseBase::DoDataExchange(bool saving) {
    AnalysisPageSettings& s = m_settings;
    if (saving)
        s.useControl = m_checkControlTrace->isChecked() ? 1 : 0;
    else
        m_checkControlTrace->setChecked(s.useControl != 0);

    // Ramps from the protocol leave the record's sample numbers as they are:
    // the fields show the current trace's ramps then.
    ExchangeRampSource(saving);
    if ((!RampsFromProtocol() && (!ExchangeInteger(m_editRamp1End, saving, s.ramp1End) ||
                                  !ExchangeInteger(m_editRamp1Start, saving, s.ramp1Start) ||
                                  !ExchangeInteger(m_editRamp2End, saving, s.ramp2End) ||
                                  !ExchangeInteger(m_editRamp2Start, saving, s.ramp2Start))) ||
        !ExchangeInteger(m_editControlTrace, saving, s.controlTraceNumber) ||
        !ExchangeInteger(m_editCurrentTrace, saving, s.currentTraceNumber))
        return false;

    if (!saving) {
        if (RampsFromProtocol())
            ShowProtocolRamps();
        {
            const QSignalBlocker quiet(m_listTraces);
            m_listTraces->clearSelection();
            SelectRows(SelectableRows(s.selectedTraces, m_traceCount));
        }
        m_view->SetDisplayedTraces(SelectedRows());
        RefreshControls();
        return true;
    }
    s.selectedTraces = SelectedRows();
    // The field's order is the order the export takes the traces in, when the
    // field lists the same number of traces as the list has selected.
    const std::vector<int32_t> listed = TraceIndicesFromNumbers(m_editSelectTraces->GetValue());
    if (listed.size() == s.selectedTraces.size() &&
        SelectableRows(listed, m_traceCount).size() == listed.size())
        s.selectedTraces = listed;
    return true;
}

void CPageAnalyseBase::OnSetActive() {
    if (m_activatedBefore)
        UpdateData(false);
    m_activatedBefore = true;
    RefreshControls();
}

bool CPageAnalyseBase::OnApply() {
    if (m_sheet)
        m_sheet->ExportAllAnalyses();
    return false;
}

void CPageAnalyseBase::SetModified(bool modified) {
    if (modified == m_modified)
        return;
    m_modified = modified;
    emit modifiedChanged(modified);
}

void CPageAnalyseBase::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Another page may have zoomed the shared model since this one was shown.
    RefreshControls();
}

void CPageAnalyseBase::RefreshControls() {
    m_buttonZoomInX->setEnabled(m_view->CanZoomInX());
    m_buttonZoomOutX->setEnabled(m_view->CanZoomOutX());
    m_buttonZoomInY->setEnabled(m_view->CanZoomInY());
    m_buttonZoomOutY->setEnabled(m_view->CanZoomOutY());
    const int rows = m_listTraces->count();
    QString label;
    if (rows > 0 && m_currentTraceIndex < static_cast<uint32_t>(rows))
        label = QStringLiteral("[ ") +
                m_listTraces->item(static_cast<int>(m_currentTraceIndex))->text() +
                QStringLiteral(" ]");
    m_labelCurrentTrace->setText(label);
}
