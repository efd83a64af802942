#include "ActiveWindow.h"

#include "controls/ControlNotifications.h"
#include "controls/qt/FloatEdit.h"
#include "controls/qt/IntegerEdit.h"
#include "controls/qt/IntegerListEdit.h"
#include "platform/Messages.h"
#include "tests/support/RecordingMessageSink.h"

#include <QClipboard>
#include <QPushButton>
#include <QSignalSpy>

#include <cmath>

namespace {

const std::string kNotANumberRamp = "Please enter a valid number for the Start of the Ramp.";

// The only message shown so far, as "caption: text".
// Names `field`, gives it the bounds and the text, and checks that the text
// validates as a number that lies out of the bounds.
template <class Field, class Bound>
void ExpectOutOfBounds(Field& field, const char* name, int lowerMode, Bound lower, int upperMode,
                       Bound upper, const char* text) {
    field.SetName(name);
    field.SetLowerBound(lowerMode, lower);
    field.SetUpperBound(upperMode, upper);
    field.setText(text);
    EXPECT_TRUE(field.Validate(true));
    EXPECT_EQ(field.State(), CValidatedEdit::kOutOfBounds);
}

// Saving `field` succeeds with no value (NaN) and without a message.
void ExpectSavesNoValueSilently(CFloatEdit& field, const RecordingMessageSink& sink) {
    double number = 1.0;
    EXPECT_TRUE(field.SaveValue(number));
    EXPECT_TRUE(std::isnan(number));
    EXPECT_TRUE(sink.messages.empty());
}

std::string OnlyMessage(const RecordingMessageSink& sink) {
    if (sink.messages.size() != 1)
        return std::to_string(sink.messages.size()) + " messages";
    return sink.messages[0].caption + ": " + sink.messages[0].text;
}

} // namespace

TEST(IntegerEdit, ForbiddenCharactersTypedPastedOrSetChangeNothing) {
    CIntegerEdit edit;
    edit.setText("12");
    edit.setModified(false);
    edit.setCursorPosition(1);
    QTest::keyClicks(&edit, "a");
    EXPECT_EQ(edit.text(), "12");
    EXPECT_EQ(edit.cursorPosition(), 1);
    EXPECT_FALSE(edit.isModified());
    QTest::keyClicks(&edit, "3");
    EXPECT_EQ(edit.GetValue(), 132);

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
    edit.setText("abc");
    EXPECT_EQ(edit.text(), "12");

    CFloatEdit floatEdit;
    QTest::keyClicks(&floatEdit, "1x.5e2,");
    EXPECT_EQ(floatEdit.GetValue(), 150.0);
}

TEST(IntegerEdit, MinusAloneLooksInvalidAndBlocksTabAndLeaving) {
    RecordingMessageSink sink;
    ActiveWindow w;
    auto* edit = w.Add(new CIntegerEdit);
    auto* other = w.Add(new CIntegerEdit);
    auto* cancel = w.Add(new QPushButton("Cancel"));
    cancel->setObjectName("exemptCancelButton");
    other->setText("-"); // no number either
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
    EXPECT_EQ(OnlyMessage(sink), "Invalid Entry: " + kNotANumberRamp);
    EXPECT_EQ(sink.messages.at(0).buttons, MessageButtons::Ok);

    // Leaving for an exempt widget is allowed; for another field it brings the focus back.
    sink.messages.clear();
    CValidatedEdit::AddFocusExemption("exemptCancelButton");
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

    // Once it is a number the look is normal again and Tab moves on.
    QTest::keyClicks(edit, "4");
    EXPECT_TRUE(edit->IsValidLook());
    EXPECT_FALSE(edit->font().bold());
    EXPECT_NE(edit->palette().color(QPalette::Active, QPalette::Text), QColor(255, 0, 0));
    QTest::keyClick(edit, Qt::Key_Tab);
    EXPECT_TRUE(QTest::qWaitFor([other] { return other->hasFocus(); }, 2000));
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

    CFloatEdit floatEdit;
    EXPECT_TRUE(std::isnan(floatEdit.GetValue()));
    ExpectSavesNoValueSilently(floatEdit, sink);
}

TEST(ValidatedEdit, SavingOutOfBoundsFailsWithTheMessage) {
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

    // The float field's bounds: 0 strict, 100 inclusive.
    sink.messages.clear();
    CFloatEdit range;
    ExpectOutOfBounds(range, "Range", kBoundStrict, 0.0, kBoundInclusive, 100.0, "0");
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

    // The list field checks every element; digits beyond 32 bits are out of
    // bounds, not wrapped around.
    sink.messages.clear();
    CIntegerListEdit list;
    ExpectOutOfBounds(list, "Select Traces", kBoundInclusive, 1, kBoundInclusive, 4, "2,5,");
    EXPECT_TRUE(list.GetValue().empty());
    EXPECT_EQ(OnlyMessage(sink), "Select Traces Out of Bounds: [1 <= \"Select Traces\" <= 4]\r\n"
                                 "Please enter numbers for the Select Traces which are\r\n"
                                 "more than or equal to 1 and\r\nless than or equal to 4");
    list.SetUpperBound(kBoundNone, 0);
    list.setText("3000000000");
    EXPECT_EQ(list.State(), CValidatedEdit::kOutOfBounds);
}

TEST(ValidatedEdit, DisabledFieldsNeverComplain) {
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

    CFloatEdit floatEdit;
    floatEdit.SetLowerBound(kBoundStrict, 0.0);
    floatEdit.setEnabled(false);
    floatEdit.setText("0");
    ExpectSavesNoValueSilently(floatEdit, sink);
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
