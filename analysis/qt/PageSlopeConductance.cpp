#include "analysis/qt/PageSlopeConductance.h"

#include "controls/qt/Caption.h"
#include "controls/qt/IntegerEdit.h"
#include "controls/qt/SpinButton.h"
#include "display/TraceDisplayModel.h"
#include "display/qt/CZoomScrollView.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

CPageSlopeConductance::CPageSlopeConductance(SlopeConductanceSettings& settings, QWidget* parent)
    : CPageSlopeConductance(settings, PageTemplate::SlopeConductance, parent) {
    InitDialog();
}

CPageSlopeConductance::CPageSlopeConductance(SlopeConductanceSettings& settings,
                                             PageTemplate pageTemplate, QWidget* parent)
    : CPageAnalyseBase(settings, pageTemplate, parent), m_slopeSettings(settings) {
    BuildTestWindowControls();
}

void CPageSlopeConductance::BuildTestWindowControls() {
    CSpinButton* spinTestPotential = nullptr;
    CSpinButton* spinRange = nullptr;
    // These two fields carry no name in their messages.
    m_editTestPotential = MakeIntegerField("testPotential", QString(), &spinTestPotential);
    m_editTestPotential->setAccessibleName(QStringLiteral("Test Potential"));
    m_editRange = MakeIntegerField("potentialRange", QString(), &spinRange);
    m_editRange->setAccessibleName(QStringLiteral("Test Potential Range"));
    m_editTestPotential->setFixedWidth(FieldWidth(4));
    m_editRange->setFixedWidth(FieldWidth(3));

    auto* caption = MakeCaption(QStringLiteral("Test Potential:"), "testPotentialCaption", this,
                                m_editTestPotential);
    auto* plusMinus = MakeCaption(QStringLiteral("\u00B1"), "plusMinusCaption", this);
    auto* unit = MakeCaption(QStringLiteral("mV"), "millivoltCaption", this);

    auto* window = new QHBoxLayout;
    window->setContentsMargins(0, 0, 0, 0);
    window->setSpacing(0);
    window->addWidget(m_editTestPotential);
    window->addWidget(spinTestPotential);
    window->addSpacing(4);
    window->addWidget(plusMinus);
    window->addSpacing(4);
    window->addWidget(m_editRange);
    window->addWidget(spinRange);
    window->addSpacing(4);
    window->addWidget(unit);
    window->addStretch(1);
    AddPageControlsRow(caption, window);

    connect(m_editTestPotential, &CValidatedEdit::valueChanged, this,
            [this] { RecomputeSubsections(); });
    connect(m_editRange, &CValidatedEdit::valueChanged, this, [this] { RecomputeSubsections(); });
}

void CPageSlopeConductance::OnInitDialog() {
    CPageAnalyseBase::OnInitDialog();
    m_editRange->SetLowerBound(kBoundInclusive, 1);
    m_editRange->SetUpperBound(kBoundInclusive, 50);
    m_editTestPotential->SetLowerBound(kBoundInclusive, -100);
    m_editTestPotential->SetUpperBound(kBoundInclusive, 100);
}

bool CPageSlopeConductance::DoDataExchange(bool saving) {
    if (!CPageAnalyseBase::DoDataExchange(saving))
        return false;
    return ExchangeInteger(m_editRange, saving, m_slopeSettings.potentialRange) &&
           ExchangeInteger(m_editTestPotential, saving, m_slopeSettings.testPotential);
}

void CPageSlopeConductance::OnNewRecording(const std::string& fileTitle, uint32_t traceCount,
                                           uint32_t samplesPerTrace, bool selectAll) {
    m_slopeSettings.subsection1 = Subsection{};
    m_slopeSettings.subsection2 = Subsection{};
    CPageAnalyseBase::OnNewRecording(fileTitle, traceCount, samplesPerTrace, selectAll);
    RecomputeSubsections();
}

void CPageSlopeConductance::OnRecordingClosed() {
    CPageAnalyseBase::OnRecordingClosed();
    m_slopeSettings.subsection1 = Subsection{};
    m_slopeSettings.subsection2 = Subsection{};
}

void CPageSlopeConductance::RecomputeSubsections() {
    const std::shared_ptr<TraceDisplayModel>& model = DisplayModel();
    if (!model || model->CommandVoltage(CurrentTraceIndex()).empty())
        return;
    const int32_t testPotential = m_editTestPotential->GetValue();
    const int32_t range = m_editRange->GetValue();
    FindAndShowSubsection(m_slopeSettings.subsection1, kRamp1Region, testPotential, range,
                          Ramp1StartField()->GetValue(), Ramp1EndField()->GetValue());
    FindAndShowSubsection(m_slopeSettings.subsection2, kRamp2Region, testPotential, range,
                          Ramp2StartField()->GetValue(), Ramp2EndField()->GetValue());
}

void CPageSlopeConductance::FindAndShowSubsection(Subsection& subsection, int rampRegion,
                                                  int32_t testPotential, int32_t range,
                                                  int32_t rampStart, int32_t rampEnd) {
    // The current trace's own command: where episodes differ, so do the voltages.
    if (!FindSubsection(DisplayModel()->CommandVoltage(CurrentTraceIndex()), testPotential, range,
                        rampStart, rampEnd, subsection))
        return;
    // The ramp colour is laid over the sub-section once more: the bands mix by
    // inversion, so the ramp colour cancels there and the sub-section shows in
    // its own colour.
    View()->SetRegion(subsection.start, subsection.end, OverlayRegionOf(rampRegion));
    View()->SetRegion(subsection.start, subsection.end, SubsectionRegionOf(rampRegion));
    RefreshControls();
}

bool CPageSlopeConductance::RampEnclosesSubsection(CIntegerEdit* startField, CIntegerEdit* endField,
                                                   const Subsection& subsection,
                                                   int rampRegion) const {
    const int subsectionRegion = SubsectionRegionOf(rampRegion);
    // 64-bit, so that a field without a value or a band at sample 0 cannot wrap.
    const int64_t first = int64_t{startField->GetValue()} - 1;
    const int64_t afterLast = endField->GetValue();
    const CZoomScrollView* view = View();
    return first < int64_t{subsection.start} && afterLast - 1 > int64_t{subsection.end} &&
           int64_t{view->RegionStart(rampRegion)} + 1 <
               int64_t{view->RegionStart(subsectionRegion)} &&
           int64_t{view->RegionEnd(rampRegion)} - 1 > int64_t{view->RegionEnd(subsectionRegion)};
}

void CPageSlopeConductance::OnRamp1Changed() {
    if (!RampEnclosesSubsection(Ramp1StartField(), Ramp1EndField(), m_slopeSettings.subsection1,
                                kRamp1Region))
        RecomputeSubsections();
    UpdateRamp1Region();
}

void CPageSlopeConductance::OnRamp2Changed() {
    if (!RampEnclosesSubsection(Ramp2StartField(), Ramp2EndField(), m_slopeSettings.subsection2,
                                kRamp2Region))
        RecomputeSubsections();
    UpdateRamp2Region();
}
