#include "analysis/qt/PageContinuousRecord.h"

#include "controls/qt/Caption.h"
#include "controls/qt/IntegerEdit.h"
#include "controls/qt/IntegerListEdit.h"
#include "controls/qt/SpinButton.h" // IntegerEdit.h needs the complete spin button type
#include "display/qt/CZoomScrollView.h"

#include <QGridLayout>
#include <QLabel>

#include <algorithm>
#include <limits>

CPageContinuousRecord::CPageContinuousRecord(ContinuousRecordSettings& settings, QWidget* parent)
    : CPageAnalyseBase(settings, PageTemplate::ContinuousRecord, parent),
      m_continuousSettings(settings) {
    m_editSamplePoints = MakeListField("samplePoints", QStringLiteral("Sample Points"));
    auto* caption = MakeCaption(QStringLiteral("Sample points:"), "samplePointsCaption", this,
                                m_editSamplePoints);
    QGridLayout* grid = PageControlsLayout();
    const int row = grid->rowCount();
    grid->addWidget(caption, row, 0, 1, 4);
    grid->addWidget(m_editSamplePoints, row + 1, 0, 1, 4);
    InitDialog();
}

bool CPageContinuousRecord::DoDataExchange(bool saving) {
    if (!CPageAnalyseBase::DoDataExchange(saving))
        return false;
    return m_editSamplePoints->Exchange(saving, m_continuousSettings.samplePoints);
}

void CPageContinuousRecord::OnNewRecording(const std::string& fileTitle, uint32_t traceCount,
                                           uint32_t samplesPerTrace, bool selectAll) {
    CPageAnalyseBase::OnNewRecording(fileTitle, traceCount, samplesPerTrace, selectAll);
    m_editSamplePoints->SetLowerBound(kBoundInclusive, 1);
    m_editSamplePoints->SetUpperBound(
        kBoundInclusive, static_cast<int32_t>(std::min<uint32_t>(
                             samplesPerTrace, std::numeric_limits<int32_t>::max() - 1)));
}

void CPageContinuousRecord::OnRecordingClosed() {
    CPageAnalyseBase::OnRecordingClosed();
    m_editSamplePoints->SetLowerBound(kBoundNone, 0);
    m_editSamplePoints->SetUpperBound(kBoundNone, 0);
}

void CPageContinuousRecord::OnRamp1StartChanged() {
    const int32_t sample = Ramp1StartField()->GetValue();
    if (sample == kNoIntegerValue || sample < 1)
        return;
    View()->SetRegion(static_cast<uint32_t>(sample - 1), static_cast<uint32_t>(sample),
                      kRamp1Region);
    RefreshControls();
}
