#include "platform/gui/QtMessageSink.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using Box = QMessageBox;
using I = MessageIcon;
using B = MessageButtons;
using A = MessageAnswer;

// Each message is shown with the sink and answered by pressing `press` in the
// box (Escape for NoButton); the box seen is checked while it is open.
TEST(QtMessageSink, ShowsTextCaptionIconAndButtonsAndReturnsTheAnswer) {
    const struct {
        I icon;
        B buttons;
        Box::StandardButton press;
        A answer;
        Box::Icon shownIcon;
        Box::StandardButtons shownButtons;
    } cases[] = {
        // clang-format off
        {I::Exclamation, B::Ok, Box::Ok, A::Ok, Box::Warning, Box::Ok},
        {I::Question, B::YesNo, Box::Yes, A::Yes, Box::Question, Box::Yes | Box::No},
        {I::Stop, B::OkCancel, Box::Cancel, A::Cancel, Box::Critical, Box::Ok | Box::Cancel},
        // Escape gives the harmless answer.
        {I::None, B::YesNo, Box::NoButton, A::No, Box::NoIcon, Box::Yes | Box::No},
        {I::Information, B::Ok, Box::NoButton, A::Ok, Box::Information, Box::Ok},
        // clang-format on
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        QTimer timer;
        timer.setInterval(5);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            auto* box = qobject_cast<Box*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            timer.stop();
            EXPECT_EQ(box->text(), "Line one\nLine two") << i;
            EXPECT_EQ(box->windowTitle(), "Caption") << i;
            EXPECT_EQ(box->icon(), c.shownIcon) << i;
            Box::StandardButtons shown;
            for (QAbstractButton* b : box->buttons())
                shown |= box->standardButton(b);
            EXPECT_EQ(shown, c.shownButtons) << i;
            if (c.press == Box::NoButton)
                QTest::keyClick(box, Qt::Key_Escape);
            else
                box->button(c.press)->click();
        });
        timer.start();
        EXPECT_EQ(QtMessageSink().Show("Line one\r\nLine two", "Caption", c.icon, c.buttons),
                  c.answer)
            << i;
    }
}

} // namespace
