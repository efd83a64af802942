// The current-voltage page: the base page (ramp 1 only) plus the voltage step
// the current-voltage table rounds to and the spacing of its voltages, each
// chosen from the drop-down lists "1", "2", "5", "10" (mV).
//
// Controls added to the base's (object names):
//   roundToCombo ("Round to nearest:", roundToCaption)
//   sampleEveryCombo ("every:", sampleEveryCaption), millivoltCaption ("mV")
#pragma once

#include "analysis/qt/PageAnalyseBase.h"

class QComboBox;

class CPageIV : public CPageAnalyseBase {
    Q_OBJECT

public:
    // A page over `settings`, which must outlive the page.
    explicit CPageIV(CurrentVoltageSettings& settings, QWidget* parent = nullptr);

    CurrentVoltageSettings& Settings() { return m_ivSettings; }
    const CurrentVoltageSettings& Settings() const { return m_ivSettings; }

protected:
    // The base's exchange, then the lists by item text: loading selects the
    // item that reads as the number (item 0 when none does); saving takes the
    // selected item's leading digits (item 0 when none is selected).
    bool DoDataExchange(bool saving) override;

private:
    CurrentVoltageSettings& m_ivSettings;
    QComboBox* m_listSampleEvery = nullptr;
    QComboBox* m_listRoundTo = nullptr;
};
