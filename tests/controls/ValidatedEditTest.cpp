#include "ActiveWindow.h"

#include "controls/ControlNotifications.h"
#include "controls/qt/FloatEdit.h"
#include "controls/qt/IntegerEdit.h"
#include "controls/qt/IntegerListEdit.h"
#include "platform/Messages.h"

#include <QClipboard>
#include <QPushButton>
#include <QSignalSpy>

#include <cmath>

namespace {

const std::string kNotANumberRamp = "Please enter a valid number for the Start of the Ramp.";

// The only message shown so far, as "caption: text".
std::string OnlyMessage(const RecordingMessageSink& sink) {
    if (sink.messages.size() != 1)
        return std::to_string(sink.messages.size()) + " messages";
    return sink.messages[0].caption + ": " + sink.messages[0].text;
}

} // namespace

TEST(IntegerEdit, TypedLetterChangesNothing) {
    CIntegerEdit edit;
    edit.setText("12");
    edit.setModified(false);
    edit.setCursorPosition(1);
    QTest::keyClicks(&edit, "a");
    EXPECT_EQ(edit.text(), "12");
    EXPECT_EQ(edit.cursorPosition(), 1);
    EXPECT_FALSE(edit.isModified());
    QTest::keyClicks(&edit, "3");
    EXPECT_EQ(edit.text(), "132");
    EXPECT_EQ(edit.GetValue(), 132);

    CFloatEdit floatEdit;
    QTest::keyClicks(&floatEdit, "1x.5e2,");
    EXPECT_EQ(floatEdit.GetValue(), 150.0);
}

TEST(IntegerEdit, PastedOrProgramTextWithForbiddenCharactersIsRefused) {
    CIntegerEdit edit;
    edit.setText("5");
    edit.selectAll();
    QApplication::clipboard()->setText("12a");
    edit.paste();
    EXPECT_EQ(edit.text(), "5");
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), "5");
    // Nothing to undo: the rejected paste left no trace.
    edit.undo();
    EXPECT_EQ(edit.text(), "5");
    QApplication::clipboard()->setText("12");
    edit.selectAll();
    edit.paste();
    EXPECT_EQ(edit.text(), "12");

    EXPECT_FALSE(edit.SetCheckedText("7x"));
    edit.setText("abc");
    EXPECT_EQ(edit.text(), "12");
    EXPECT_TRUE(edit.SetCheckedText("-8"));
    EXPECT_EQ(edit.GetValue(), -8);
}

TEST(IntegerEdit, MinusAloneLooksInvalidAndBlocksTab) {
    RecordingMessageSink sink;
    ActiveWindow w;
    auto* edit = w.Add(new CIntegerEdit);
    auto* next = w.Add(new QPushButton("Next"));
    edit->SetName("Start of the Ramp");
    edit->SetFeedbackMode(CValidatedEdit::kColourFeedback | CValidatedEdit::kFontFeedback);
    ASSERT_TRUE(w.ShowActive());
    ASSERT_TRUE(ActiveWindow::Focus(edit));

    QTest::keyClicks(edit, "-");
    EXPECT_EQ(edit->State(), CValidatedEdit::kNotANumber);
    EXPECT_FALSE(edit->IsValidLook());
    EXPECT_FALSE(edit->IsNormalFont());
    EXPECT_EQ(edit->palette().color(QPalette::Active, QPalette::Text), QColor(255, 0, 0));
    EXPECT_TRUE(edit->font().bold());
    EXPECT_TRUE(sink.messages.empty());

    QTest::keyClick(edit, Qt::Key_Tab);
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_FALSE(next->hasFocus());
    EXPECT_EQ(OnlyMessage(sink), "Invalid Entry: " + kNotANumberRamp);
    EXPECT_EQ(sink.messages.at(0).buttons, MessageButtons::Ok);

    // Once it is a number the look is normal again and Tab moves on.
    QTest::keyClicks(edit, "4");
    EXPECT_TRUE(edit->IsValidLook());
    EXPECT_FALSE(edit->font().bold());
    EXPECT_NE(edit->palette().color(QPalette::Active, QPalette::Text), QColor(255, 0, 0));
    QTest::keyClick(edit, Qt::Key_Tab);
    EXPECT_TRUE(QTest::qWaitFor([next] { return next->hasFocus(); }, 2000));
    EXPECT_EQ(sink.messages.size(), 1u);
}

TEST(IntegerEdit, LeavingAFieldWithNoNumberBringsTheFocusBackUnlessToAnExemptWidget) {
    RecordingMessageSink sink;
    ActiveWindow w;
    auto* edit = w.Add(new CIntegerEdit);
    auto* other = w.Add(new CIntegerEdit);
    auto* cancel = w.Add(new QPushButton("Cancel"));
    cancel->setObjectName("exemptCancelButton");
    CValidatedEdit::AddFocusExemption("exemptCancelButton");
    other->setText("x-"); // the program's text is checked too: stays empty
    other->setText("-");  // no number either
    edit->SetName("Start of the Ramp");
    ASSERT_TRUE(w.ShowActive());
    ASSERT_TRUE(ActiveWindow::Focus(edit));
    QTest::keyClicks(edit, "-");

    ASSERT_TRUE(ActiveWindow::Focus(cancel));
    QTest::qWait(20);
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(CValidatedEdit::PendingComplaint(), nullptr);
    CValidatedEdit::ClearFocusExemptions();

    ASSERT_TRUE(ActiveWindow::Focus(edit));
    QTest::mouseClick(other, Qt::LeftButton);
    EXPECT_EQ(CValidatedEdit::PendingComplaint(), edit);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !sink.messages.empty(); }, 2000));
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(CValidatedEdit::PendingComplaint(), nullptr);
    EXPECT_EQ(OnlyMessage(sink), "Invalid Entry: " + kNotANumberRamp);
    // The other field, itself holding no number, did not complain in between.
    QTest::qWait(20);
    EXPECT_EQ(sink.messages.size(), 1u);
}

TEST(IntegerEdit, EmptyFieldHasNoValueAndNoComplaint) {
    RecordingMessageSink sink;
    ActiveWindow w;
    auto* edit = w.Add(new CIntegerEdit);
    auto* next = w.Add(new QPushButton("Next"));
    edit->SetLowerBound(kBoundInclusive, 1);
    ASSERT_TRUE(w.ShowActive());
    ASSERT_TRUE(ActiveWindow::Focus(edit));
    // A field that held no number and was then emptied is fine again.
    QTest::keyClicks(edit, "-");
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), "");
    EXPECT_TRUE(edit->IsValidLook());
    EXPECT_EQ(edit->GetValue(), kNoIntegerValue);
    QTest::keyClick(edit, Qt::Key_Tab);
    EXPECT_TRUE(QTest::qWaitFor([next] { return next->hasFocus(); }, 2000));
    std::int32_t value = 5;
    EXPECT_TRUE(edit->SaveValue(value));
    EXPECT_EQ(value, kNoIntegerValue);
    EXPECT_TRUE(sink.messages.empty());

    CFloatEdit floatEdit;
    EXPECT_TRUE(std::isnan(floatEdit.GetValue()));
    double number = 1.0;
    EXPECT_TRUE(floatEdit.SaveValue(number));
    EXPECT_TRUE(std::isnan(number));
    EXPECT_TRUE(sink.messages.empty());

    // Without empty allowed, an empty field is no number.
    CIntegerEdit strict;
    strict.SetAllowEmpty(false);
    EXPECT_FALSE(strict.Validate(false));
    EXPECT_EQ(strict.State(), CValidatedEdit::kNotANumber);
}

TEST(ValidatedEdit, SavingFailsWithTheMessage) {
    RecordingMessageSink sink;
    CIntegerEdit edit;
    edit.SetName("Current Trace");
    edit.SetLowerBound(kBoundInclusive, 1);
    // A loaded value out of the bounds is shown, not dropped.
    edit.LoadValue(0);
    EXPECT_EQ(edit.text(), "0");
    EXPECT_TRUE(edit.Validate(true)); // no message while typing
    EXPECT_EQ(edit.State(), CValidatedEdit::kOutOfBounds);
    EXPECT_FALSE(edit.IsValidLook());
    EXPECT_EQ(edit.GetValue(), kNoIntegerValue);
    EXPECT_TRUE(sink.messages.empty());
    std::int32_t value = 3;
    EXPECT_FALSE(edit.SaveValue(value));
    EXPECT_EQ(value, 3);
    EXPECT_EQ(OnlyMessage(sink), "Current Trace Out of Bounds: [1 <= \"Current Trace\"]\r\n\r\n"
                                 "Please enter a value for the Current Trace which is\r\n"
                                 "more than or equal to 1");

    sink.messages.clear();
    edit.SetName("Start of the Ramp");
    edit.setText("-");
    EXPECT_FALSE(edit.Exchange(true, value));
    EXPECT_EQ(value, 3);
    EXPECT_EQ(OnlyMessage(sink), "Invalid Entry: " + kNotANumberRamp);

    // The float field's bounds: 0 strict, 100 inclusive.
    sink.messages.clear();
    CFloatEdit range;
    range.SetName("Range");
    range.SetLowerBound(kBoundStrict, 0.0);
    range.SetUpperBound(kBoundInclusive, 100.0);
    range.setText("0");
    EXPECT_TRUE(range.Validate(true));
    EXPECT_EQ(range.State(), CValidatedEdit::kOutOfBounds);
    EXPECT_TRUE(sink.messages.empty());
    double number = 5.0;
    EXPECT_FALSE(range.SaveValue(number));
    EXPECT_EQ(number, 5.0);
    EXPECT_EQ(OnlyMessage(sink), "Range Out of Bounds: Please enter a number for the Range which "
                                 "is\r\nless than or equal to 100 \r\nand greater than 0 ");
    range.setText("100");
    EXPECT_EQ(range.State(), CValidatedEdit::kValid);
    EXPECT_TRUE(range.SaveValue(number));
    EXPECT_EQ(number, 100.0);
}

TEST(IntegerEdit, DisabledFieldNeverComplains) {
    RecordingMessageSink sink;
    CIntegerEdit edit;
    edit.SetName("End of the second Ramp");
    edit.SetLowerBound(kBoundInclusive, 1);
    edit.SetUpperBound(kBoundInclusive, 100);
    edit.setEnabled(false);
    std::int32_t value = 0;
    for (const char* text : {"-", "500", ""}) {
        edit.setText(text);
        value = 42;
        EXPECT_TRUE(edit.SaveValue(value)) << text;
        EXPECT_EQ(value, kNoIntegerValue) << text;
    }
    edit.setText("50");
    EXPECT_TRUE(edit.SaveValue(value));
    EXPECT_EQ(value, 50);
    EXPECT_TRUE(sink.messages.empty());

    CFloatEdit floatEdit;
    floatEdit.SetLowerBound(kBoundStrict, 0.0);
    floatEdit.setEnabled(false);
    floatEdit.setText("0");
    double number = 1.0;
    EXPECT_TRUE(floatEdit.SaveValue(number));
    EXPECT_TRUE(std::isnan(number));
    EXPECT_TRUE(sink.messages.empty());
}

TEST(ValidatedEdit, NotificationOncePerChangeOfTheValue) {
    CIntegerEdit edit;
    int notified = 0;
    QObject::connect(&edit, &CValidatedEdit::notification, [&](QWidget* control, int code) {
        EXPECT_EQ(control, &edit);
        EXPECT_EQ(code, kNotifyValueChanged);
        ++notified;
    });
    QSignalSpy changed(&edit, &CValidatedEdit::valueChanged);
    QTest::keyClicks(&edit, "12");
    EXPECT_EQ(notified, 2); // 1, then 12
    edit.setText("12");
    edit.SetValue(12);
    EXPECT_EQ(edit.GetValue(), 12);
    EXPECT_EQ(notified, 2);
    QTest::keyClicks(&edit, "a");
    EXPECT_EQ(notified, 2);
    edit.SetValue(13);
    EXPECT_EQ(notified, 3);
    // Out of bounds and back to the same value: the value went away in between.
    edit.SetUpperBound(kBoundInclusive, 10);
    EXPECT_EQ(notified, 3);
    edit.SetUpperBound(kBoundInclusive, 20);
    EXPECT_EQ(notified, 4);
    EXPECT_EQ(changed.count(), 4);
}

TEST(IntegerListEdit, ParsesNormalisesAndChecksEveryElement) {
    RecordingMessageSink sink;
    CIntegerListEdit edit;
    edit.SetName("Select Traces");
    edit.SetLowerBound(kBoundInclusive, 1);
    edit.SetUpperBound(kBoundInclusive, 4);
    QTest::keyClicks(&edit, "3,1,3,a2");
    EXPECT_EQ(edit.text(), "3,1,3,2");
    edit.SetValue({2, 4});
    EXPECT_EQ(edit.text(), "2,4,");

    edit.setText("2,5,");
    EXPECT_TRUE(edit.Validate(true));
    EXPECT_EQ(edit.State(), CValidatedEdit::kOutOfBounds);
    EXPECT_TRUE(edit.GetValue().empty());
    EXPECT_EQ(OnlyMessage(sink), "Select Traces Out of Bounds: [1 <= \"Select Traces\" <= 4]\r\n"
                                 "Please enter numbers for the Select Traces which are\r\n"
                                 "more than or equal to 1 and\r\nless than or equal to 4");
    // Digits beyond the 32-bit range are out of bounds, not wrapped around.
    CIntegerListEdit unbounded;
    unbounded.setText("3000000000");
    EXPECT_EQ(unbounded.State(), CValidatedEdit::kOutOfBounds);
}
