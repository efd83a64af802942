#include "platform/gui/QtMessageSink.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

struct SeenBox {
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QList<QMessageBox::StandardButton> buttons;
};

} // namespace

class QtMessageSinkTest : public testing::Test {
protected:
    // Shows one message with the sink, pressing `press` in the box.
    MessageAnswer ShowAndAnswer(const std::string& text, MessageIcon icon, MessageButtons buttons,
                                QMessageBox::StandardButton press) {
        QTimer timer;
        timer.setInterval(5);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            timer.stop();
            seen = SeenBox{box->text(), box->windowTitle(), box->icon(), {}};
            for (QAbstractButton* b : box->buttons())
                seen.buttons.append(box->standardButton(b));
            if (press == QMessageBox::NoButton)
                QTest::keyClick(box, Qt::Key_Escape);
            else
                box->button(press)->click();
        });
        timer.start();
        QtMessageSink sink;
        return sink.Show(text, "Caption", icon, buttons);
    }

    SeenBox seen;
};

TEST_F(QtMessageSinkTest, ShowsTextCaptionIconAndButtons) {
    EXPECT_EQ(ShowAndAnswer("Line one\r\nLine two", MessageIcon::Exclamation, MessageButtons::Ok,
                            QMessageBox::Ok),
              MessageAnswer::Ok);
    EXPECT_EQ(seen.text, "Line one\nLine two");
    EXPECT_EQ(seen.title, "Caption");
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
    EXPECT_EQ(seen.buttons, QList<QMessageBox::StandardButton>{QMessageBox::Ok});
}

TEST_F(QtMessageSinkTest, ReturnsTheButtonPressed) {
    EXPECT_EQ(ShowAndAnswer("Save?", MessageIcon::Question, MessageButtons::YesNo, QMessageBox::No),
              MessageAnswer::No);
    EXPECT_EQ(seen.icon, QMessageBox::Question);
    EXPECT_EQ(
        ShowAndAnswer("Save?", MessageIcon::Question, MessageButtons::YesNo, QMessageBox::Yes),
        MessageAnswer::Yes);
    EXPECT_EQ(
        ShowAndAnswer("Go on?", MessageIcon::Stop, MessageButtons::OkCancel, QMessageBox::Cancel),
        MessageAnswer::Cancel);
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
}

TEST_F(QtMessageSinkTest, EscapeGivesTheHarmlessAnswer) {
    EXPECT_EQ(
        ShowAndAnswer("Delete?", MessageIcon::None, MessageButtons::YesNo, QMessageBox::NoButton),
        MessageAnswer::No);
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
    EXPECT_EQ(
        ShowAndAnswer("Note", MessageIcon::Information, MessageButtons::Ok, QMessageBox::NoButton),
        MessageAnswer::Ok);
}
