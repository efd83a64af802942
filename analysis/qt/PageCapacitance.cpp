#include "analysis/qt/PageCapacitance.h"

CPageCapacitance::CPageCapacitance(CapacitanceSettings& settings, QWidget* parent)
    : CPageSlopeConductance(settings, PageTemplate::Capacitance, parent) {
    InitDialog();
}
