// Recordings in memory for the page tests, a display model fed from them, and
// a way to find a page's controls by their object names.
#pragma once

#include "analysis/SubsectionSearch.h"
#include "display/TraceDisplayModel.h"
#include "display/qt/CZoomScrollView.h"
#include "recording/TraceStore.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>

namespace pages_test {

// A protocol of `samples` samples at 100 us: +50 mV up to sample 699 (0-based),
// ramp 2 falling to -100 mV at sample 1299, -100 mV up to 1349, ramp 1 rising
// to +50 mV at sample 2624, then holding at -80 mV. The default ramp fields
// (1350 .. 2625, and 700 .. 1300 on the capacitance page) cover the ramps
// exactly.
constexpr uint32_t kRamp2First = 699;
constexpr uint32_t kRamp2Last = 1299;
constexpr uint32_t kRamp1First = 1349;
constexpr uint32_t kRamp1Last = 2624;
double DefaultProtocol(uint32_t sample);

// A store of `traceCount` traces (trace k holds k + 1 pA everywhere) under
// `command` (mV per sample).
TraceStore MakeStore(uint32_t traceCount, uint32_t samples,
                     const std::function<double(uint32_t)>& command = DefaultProtocol);

// A display model holding `store`, with a plot size as a view 500 x 300 has.
std::shared_ptr<TraceDisplayModel> MakeModel(const TraceStore& store);

// The command of `store` in tenths of mV (as the display model keeps it).
std::vector<int32_t> Tenths(const TraceStore& store);

// Band `r` of a view, from its start to its end sample.
inline Subsection Region(const CZoomScrollView* view, int r) {
    return {view->RegionStart(r), view->RegionEnd(r)};
}

// The page's child of type T named `name`; fails the test when there is none.
template <class T> T* Child(QWidget* page, const char* name) {
    T* child = page->findChild<T*>(QLatin1String(name));
    EXPECT_NE(child, nullptr) << "no control named " << name;
    return child;
}

} // namespace pages_test

inline void PrintTo(const Subsection& range, std::ostream* out) {
    *out << "[" << range.start << ", " << range.end << ")";
}
