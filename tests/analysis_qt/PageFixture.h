// Recordings in memory for the page tests, a display model fed from them, a
// page loaded with both, and ways to reach a page's controls and its view.
#pragma once

#include "analysis/SubsectionSearch.h"
#include "controls/qt/IntegerEdit.h"
#include "display/TraceDisplayModel.h"
#include "display/qt/CZoomScrollView.h"
#include "platform/ProfileStore.h"
#include "recording/TraceStore.h"
#include "tests/support/RecordingMessageSink.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>

namespace pages_test {

// A store of `traceCount` traces of `samples` samples at 100 us (trace k holds
// k + 1 pA everywhere) under a protocol of +50 mV up to sample 699 (0-based),
// ramp 2 falling to -100 mV at sample 1299, -100 mV up to 1349, ramp 1 rising
// to +50 mV at sample 2624, then -80 mV. The default ramp fields (1350 .. 2625,
// and 700 .. 1300 on the capacitance page) cover the ramps exactly.
TraceStore MakeStore(uint32_t traceCount, uint32_t samples);

// A display model holding `store` (each trace's own command too), with a plot
// size as a view 500 x 300 has.
std::shared_ptr<TraceDisplayModel> MakeModel(const TraceStore& store);

// The page's child of type T named `name`; fails the test when there is none.
template <class T> T* Child(QWidget* page, const char* name) {
    T* child = page->findChild<T*>(QLatin1String(name));
    EXPECT_NE(child, nullptr) << "no control named " << name;
    return child;
}

// Drags the mouse across `view` from sample `first` to sample `last` (as the
// view's columns place them) with `modifiers` held.
void DragAcross(CZoomScrollView* view, uint32_t first, uint32_t last,
                Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// The sample that the view's column for sample `i` stands for.
inline uint32_t Column(const CZoomScrollView* view, uint32_t i) {
    return view->DisplayModel()->SampleAtX(view->DisplayModel()->SampleX(i));
}

// A page of type P over settings S, loaded from `stored`, showing `traces`
// traces of `samples` samples (MakeStore), or the recording `loaded`, the way
// the main window loads a recording.
template <class P, class S> struct LoadedPage {
    explicit LoadedPage(uint32_t traces = 3, uint32_t samples = 3000, bool selectAll = true,
                        MemoryProfileStore stored = {})
        : LoadedPage(MakeStore(traces, samples), selectAll, std::move(stored)) {}
    LoadedPage(TraceStore loaded, bool selectAll, MemoryProfileStore stored)
        : profile(std::move(stored)), store(std::move(loaded)), model(MakeModel(store)),
          page(settings) {
        page.SetTraceStore(&store);
        page.LoadPageSettings(profile);
        page.SetDisplayModel(model);
        page.OnNewRecording("cell7", uint32_t(store.traces.size()), store.SamplesPerTrace(),
                            selectAll);
    }
    template <class T = CIntegerEdit> T* Field(const char* name) { return Child<T>(&page, name); }
    // Band `r` of the page's view, from its start to its end sample.
    Subsection Band(int r) const {
        return {page.View()->RegionStart(r), page.View()->RegionEnd(r)};
    }

    RecordingMessageSink messages;
    MemoryProfileStore profile;
    TraceStore store;
    std::shared_ptr<TraceDisplayModel> model;
    S settings;
    P page;
};

} // namespace pages_test

inline void PrintTo(const Subsection& range, std::ostream* out) {
    *out << "[" << range.start << ", " << range.end << ")";
}
