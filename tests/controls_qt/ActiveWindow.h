// A top-level window that is shown and active, so focus changes happen as on
// a desktop (the offscreen platform activates only on request).
#pragma once

#include <QApplication>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

class ActiveWindow {
public:
    ActiveWindow() { new QVBoxLayout(&window); }

    // Adds `widget` to the window's column and returns it.
    template <typename W> W* Add(W* widget) {
        window.layout()->addWidget(widget);
        return widget;
    }

    // Shows and activates the window; false when activation did not happen.
    bool ShowActive() {
        window.show();
        QApplication::setActiveWindow(&window);
        return QTest::qWaitForWindowActive(&window);
    }

    // Gives `widget` the focus and waits until it has it.
    static bool Focus(QWidget* widget) {
        widget->setFocus(Qt::OtherFocusReason);
        return QTest::qWaitFor([widget] { return widget->hasFocus(); }, 2000);
    }

    QWidget window;
};
