// The continuous record page: the base page with the current sample (edit
// "Current Sample#:", held in the record's ramp1Start) marked in the view by a
// band two samples wide, and the sample points at which the export tabulates
// the current of every selected trace. The other ramp fields are hidden and
// the control trace is shown disabled. It reports itself as a CPageAnalyseBase.
//
// Controls added to the base's (object names):
//   samplePointsEdit ("Sample points:", samplePointsCaption)
// The current sample is the base's ramp1StartEdit, captioned currentSampleCaption.
#pragma once

#include "analysis/qt/PageAnalyseBase.h"

class CIntegerListEdit;

class CPageContinuousRecord : public CPageAnalyseBase {
public:
    // A page over `settings`, which must outlive the page.
    explicit CPageContinuousRecord(ContinuousRecordSettings& settings, QWidget* parent = nullptr);

    ContinuousRecordSettings& Settings() { return m_continuousSettings; }
    const ContinuousRecordSettings& Settings() const { return m_continuousSettings; }

    // The base's steps, then the sample points are limited to 1 .. the trace length.
    void OnNewRecording(const std::string& fileTitle, uint32_t traceCount, uint32_t samplesPerTrace,
                        bool selectAll) override;
    // The base's steps; the sample points lose their limits.
    void OnRecordingClosed() override;

protected:
    // The base's exchange, then the sample points list.
    bool DoDataExchange(bool saving) override;
    // A current sample v (from 1) marks samples v-1 .. v as region 0.
    void OnRamp1StartChanged() override;

private:
    ContinuousRecordSettings& m_continuousSettings;
    CIntegerListEdit* m_editSamplePoints = nullptr;
};
