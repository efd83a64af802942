// The margins of a trace view: on the left the current axis beside the traces
// and the command-voltage axis beside the command strip; below the traces the
// command strip (the current trace's command voltage over the same time span)
// and the time axis. They draw from the view's shared model and scroll
// position and hold nothing themselves.
#pragma once

#include <QWidget>

class CZoomScrollView;

class CViewRuler : public QWidget {
public:
    enum class Side { Left, Bottom };
    // A margin of `view` (its parent); `side` says which.
    CViewRuler(CZoomScrollView* view, Side side);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void PaintLeft(class QPainter& painter) const;
    void PaintBottom(class QPainter& painter) const;

    CZoomScrollView* m_view;
    Side m_side;
};
