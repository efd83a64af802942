// The cell capacitance page: a slope conductance page that shows both ramps
// (ramp 2 from sample 700 to 1300 unless the settings say otherwise) and no
// control trace. It reports itself as a CPageSlopeConductance.
#pragma once

#include "analysis/qt/PageSlopeConductance.h"

class CPageCapacitance : public CPageSlopeConductance {
public:
    // A page over `settings`, which must outlive the page.
    explicit CPageCapacitance(CapacitanceSettings& settings, QWidget* parent = nullptr);
};
