// The slope conductance page (also used, with its own settings, as the sample
// current page): the base page plus a test potential with a ± range, and the
// sub-section of each ramp whose command voltage lies within that window. The
// sub-sections are kept in the settings record (the export reads them) and
// shown in the view in the sub-section colours.
//
// Controls added to the base's (object names):
//   testPotentialEdit, testPotentialSpin, testPotentialCaption ("Test Potential:")
//   potentialRangeEdit, potentialRangeSpin, plusMinusCaption ("±")
//   millivoltCaption ("mV")
#pragma once

#include "analysis/qt/PageAnalyseBase.h"

class CPageSlopeConductance : public CPageAnalyseBase {
    Q_OBJECT

public:
    // A page showing ramp 1 only over `settings`, which must outlive the page.
    explicit CPageSlopeConductance(SlopeConductanceSettings& settings, QWidget* parent = nullptr);

    SlopeConductanceSettings& Settings() { return m_slopeSettings; }
    const SlopeConductanceSettings& Settings() const { return m_slopeSettings; }

    // The base's steps, then the sub-sections are searched anew: those of the
    // previous recording are forgotten first.
    void OnNewRecording(const std::string& fileTitle, uint32_t traceCount, uint32_t samplesPerTrace,
                        bool selectAll) override;
    // The base's steps; both sub-sections become empty.
    void OnRecordingClosed() override;

    // Searches both ramps, as their fields stand, in the current trace's own
    // command for the samples within the test potential ± range and shows them in the view (regions
    // 2 and 3, with the ramp colour laid over them once more in regions 4 and 5). A ramp whose
    // fields give nothing to search keeps its sub-section. Does nothing while the display model
    // holds no command voltage.
    virtual void RecomputeSubsections();

protected:
    // For the capacitance page: the same page with `pageTemplate`'s controls.
    CPageSlopeConductance(SlopeConductanceSettings& settings, PageTemplate pageTemplate,
                          QWidget* parent);

    void OnInitDialog() override;
    bool DoDataExchange(bool saving) override;
    // A ramp that still strictly encloses its sub-section only moves its band;
    // otherwise both sub-sections are searched again.
    void OnRamp1Changed() override;
    void OnRamp2Changed() override;
    // Another current trace or ramp source: both sub-sections are searched again.
    void OnCurrentCommandChanged() override { RecomputeSubsections(); }

private:
    void BuildTestWindowControls();
    void FindAndShowSubsection(Subsection& subsection, int rampRegion, int32_t testPotential,
                               int32_t range, int32_t rampStart, int32_t rampEnd);
    bool RampEnclosesSubsection(CIntegerEdit* startField, CIntegerEdit* endField,
                                const Subsection& subsection, int rampRegion) const;

    SlopeConductanceSettings& m_slopeSettings;
    CIntegerEdit* m_editTestPotential = nullptr;
    CIntegerEdit* m_editRange = nullptr;
};
