#include "tests/analysis_qt/PageFixture.h"

#include "tests/support/ModelCell.h"

#include <QApplication>
#include <QMouseEvent>

namespace pages_test {

namespace {

constexpr uint32_t kRamp2First = 699;
constexpr uint32_t kRamp2Last = 1299;
constexpr uint32_t kRamp1First = 1349;
constexpr uint32_t kRamp1Last = 2624;

double Protocol(uint32_t i) {
    if (i <= kRamp2First)
        return 50.0;
    if (i <= kRamp2Last)
        return 50.0 - 150.0 * (i - kRamp2First) / double(kRamp2Last - kRamp2First);
    if (i <= kRamp1First)
        return -100.0;
    if (i <= kRamp1Last)
        return -100.0 + 150.0 * (i - kRamp1First) / double(kRamp1Last - kRamp1First);
    return -80.0;
}

} // namespace

TraceStore MakeStore(uint32_t traceCount, uint32_t samples) {
    return model::MakeMemoryStore(traceCount, samples, Protocol,
                                  [](uint32_t k, uint32_t) { return k + 1.0; });
}

std::shared_ptr<TraceDisplayModel> MakeModel(const TraceStore& store) {
    auto model = std::make_shared<TraceDisplayModel>();
    model->SetViewSize(500, 300);
    model->SetMaxZoomRange(5000.0f);
    model->SetData(store.timeAxis, store.commandWaveform, store.traces, store.SamplesPerTrace(),
                   store.commands);
    return model;
}

void DragAcross(CZoomScrollView* view, uint32_t first, uint32_t last,
                Qt::KeyboardModifiers modifiers) {
    const TraceDisplayModel& model = *view->DisplayModel();
    const QPointF from(model.SampleX(first), 20);
    const QPointF to(model.SampleX(last), 40);
    const auto send = [&](QEvent::Type type, QPointF at, Qt::MouseButton button,
                          Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, at, button, buttons, modifiers);
        QApplication::sendEvent(view->viewport(), &event);
    };
    send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

} // namespace pages_test
