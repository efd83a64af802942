#include "ActiveWindow.h"

#include "controls/ControlNotifications.h"
#include "controls/qt/FloatEdit.h"
#include "controls/qt/IntegerEdit.h"
#include "controls/qt/IntegerListEdit.h"
#include "controls/qt/SpinButton.h"
#include "platform/Messages.h"

#include <QClipboard>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>

#include <cmath>

namespace {

const std::string kNotANumberRamp = "Please enter a valid number for the Start of the Ramp.";

struct NotificationCounter {
    explicit NotificationCounter(CValidatedEdit* edit) {
        QObject::connect(edit, &CValidatedEdit::notification, [this, edit](QWidget* c, int code) {
            EXPECT_EQ(c, edit);
            EXPECT_EQ(code, kNotifyValueChanged);
            ++count;
        });
    }
    int count = 0;
};

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
}

TEST(IntegerEdit, PastingTextWithALetterRestoresTheOldText) {
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
}

TEST(IntegerEdit, ProgramTextWithForbiddenCharactersIsRefused) {
    CIntegerEdit edit;
    edit.setText("7");
    EXPECT_FALSE(edit.SetCheckedText("7x"));
    EXPECT_EQ(edit.text(), "7");
    edit.setText("abc");
    EXPECT_EQ(edit.text(), "7");
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
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, kNotANumberRamp);
    EXPECT_EQ(sink.messages[0].caption, "Invalid Entry");
    EXPECT_EQ(sink.messages[0].buttons, MessageButtons::Ok);

    // Once it is a number the look is normal again and Tab moves on.
    QTest::keyClicks(edit, "4");
    EXPECT_TRUE(edit->IsValidLook());
    EXPECT_FALSE(edit->font().bold());
    EXPECT_NE(edit->palette().color(QPalette::Active, QPalette::Text), QColor(255, 0, 0));
    QTest::keyClick(edit, Qt::Key_Tab);
    EXPECT_TRUE(QTest::qWaitFor([next] { return next->hasFocus(); }, 2000));
    EXPECT_EQ(sink.messages.size(), 1u);
}

TEST(IntegerEdit, LeavingAFieldWithNoNumberBringsTheFocusBack) {
    RecordingMessageSink sink;
    ActiveWindow w;
    auto* edit = w.Add(new CIntegerEdit);
    auto* other = w.Add(new CIntegerEdit);
    other->setText("x-"); // the program's text is checked too: stays empty
    other->setText("-");  // no number either
    edit->SetName("Start of the Ramp");
    ASSERT_TRUE(w.ShowActive());
    ASSERT_TRUE(ActiveWindow::Focus(edit));
    QTest::keyClicks(edit, "-");

    QTest::mouseClick(other, Qt::LeftButton);
    EXPECT_EQ(CValidatedEdit::PendingComplaint(), edit);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !sink.messages.empty(); }, 2000));
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(CValidatedEdit::PendingComplaint(), nullptr);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, kNotANumberRamp);
    EXPECT_EQ(sink.messages[0].caption, "Invalid Entry");
    // The other field, itself holding no number, did not complain in between.
    QTest::qWait(20);
    EXPECT_EQ(sink.messages.size(), 1u);
}

TEST(IntegerEdit, FocusMayGoToAnExemptWidget) {
    RecordingMessageSink sink;
    ActiveWindow w;
    auto* edit = w.Add(new CIntegerEdit);
    auto* cancel = w.Add(new QPushButton("Cancel"));
    cancel->setObjectName("exemptCancelButton");
    CValidatedEdit::AddFocusExemption("exemptCancelButton");
    ASSERT_TRUE(w.ShowActive());
    ASSERT_TRUE(ActiveWindow::Focus(edit));
    QTest::keyClicks(edit, "+");
    ASSERT_TRUE(ActiveWindow::Focus(cancel));
    QTest::qWait(20);
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(CValidatedEdit::PendingComplaint(), nullptr);
    CValidatedEdit::ClearFocusExemptions();
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

TEST(IntegerEdit, OutOfBoundsMessageWithOnlyALowerBound) {
    RecordingMessageSink sink;
    CIntegerEdit edit;
    edit.SetName("Current Trace");
    edit.SetLowerBound(kBoundInclusive, 1);
    edit.setText("0");
    EXPECT_TRUE(edit.Validate(true)); // no message while typing
    EXPECT_EQ(edit.State(), CValidatedEdit::kOutOfBounds);
    EXPECT_FALSE(edit.IsValidLook());
    EXPECT_EQ(edit.GetValue(), kNoIntegerValue);
    EXPECT_TRUE(sink.messages.empty());

    std::int32_t value = 3;
    EXPECT_FALSE(edit.SaveValue(value));
    EXPECT_EQ(value, 3);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text,
              "[1 <= \"Current Trace\"]\r\n\r\nPlease enter a value for the Current Trace which "
              "is\r\nmore than or equal to 1");
    EXPECT_EQ(sink.messages[0].caption, "Current Trace Out of Bounds");
}

TEST(IntegerEdit, SavingANonNumberFailsWithTheMessage) {
    RecordingMessageSink sink;
    CIntegerEdit edit;
    edit.SetName("Start of the Ramp");
    edit.setText("-");
    std::int32_t value = 9;
    EXPECT_FALSE(edit.Exchange(true, value));
    EXPECT_EQ(value, 9);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, kNotANumberRamp);
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

TEST(IntegerEdit, NotificationOncePerChange) {
    CIntegerEdit edit;
    NotificationCounter counter(&edit);
    QSignalSpy changed(&edit, &CValidatedEdit::valueChanged);
    QTest::keyClicks(&edit, "12");
    EXPECT_EQ(counter.count, 2); // 1, then 12
    edit.setText("12");
    edit.SetValue(12);
    EXPECT_EQ(edit.GetValue(), 12);
    EXPECT_EQ(counter.count, 2);
    QTest::keyClicks(&edit, "a");
    EXPECT_EQ(counter.count, 2);
    edit.SetValue(13);
    EXPECT_EQ(counter.count, 3);
    // Out of bounds and back to the same value: the value went away in between.
    edit.SetUpperBound(kBoundInclusive, 10);
    EXPECT_EQ(counter.count, 3);
    edit.SetUpperBound(kBoundInclusive, 20);
    EXPECT_EQ(counter.count, 4);
    EXPECT_EQ(changed.count(), 4);
}

TEST(IntegerEdit, LoadingShowsTheValueAndNoValueAsEmpty) {
    CIntegerEdit edit;
    std::int32_t value = 1350;
    edit.Exchange(false, value);
    EXPECT_EQ(edit.text(), "1350");
    EXPECT_EQ(edit.CurrentValue(), 1350);
    value = kNoIntegerValue;
    edit.Exchange(false, value);
    EXPECT_EQ(edit.text(), "");
    EXPECT_EQ(edit.State(), CValidatedEdit::kValid);
    // Loading an out-of-bounds value shows it in the invalid look.
    edit.SetUpperBound(kBoundInclusive, 100);
    edit.LoadValue(2625);
    EXPECT_EQ(edit.text(), "2625");
    EXPECT_EQ(edit.State(), CValidatedEdit::kOutOfBounds);
    EXPECT_FALSE(edit.IsValidLook());
}

TEST(IntegerEdit, BuddySpinStepsWithinTheBounds) {
    CIntegerEdit edit;
    CSpinButton spin;
    edit.SetBuddySpin(&spin);
    EXPECT_EQ(spin.RangeLower(), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(spin.RangeUpper(), std::numeric_limits<std::int32_t>::max());
    edit.SetLowerBound(kBoundInclusive, 1);
    edit.SetUpperBound(kBoundInclusive, 10);
    EXPECT_EQ(spin.RangeLower(), 1);
    EXPECT_EQ(spin.RangeUpper(), 10);
    edit.SetLowerBound(kBoundStrict, 1);
    edit.SetUpperBound(kBoundStrict, 10);
    EXPECT_EQ(spin.RangeLower(), 2);
    EXPECT_EQ(spin.RangeUpper(), 9);

    NotificationCounter counter(&edit);
    edit.setText("8");
    auto* up = spin.findChild<QToolButton*>("spinUp");
    auto* down = spin.findChild<QToolButton*>("spinDown");
    ASSERT_TRUE(up && down);
    up->click();
    EXPECT_EQ(edit.text(), "9");
    up->click();
    EXPECT_EQ(edit.text(), "9");
    down->click();
    EXPECT_EQ(edit.text(), "8");
    EXPECT_EQ(counter.count, 3); // 8, 9, 8
    // From a text that is no number the spin starts at its last position.
    edit.setText("-");
    QTest::keyClick(&edit, Qt::Key_Up);
    EXPECT_EQ(edit.text(), "9");
    QTest::keyClick(&edit, Qt::Key_Down);
    EXPECT_EQ(edit.text(), "8");
    // A value below the range steps into it.
    edit.setText("-50");
    up->click();
    EXPECT_EQ(edit.text(), "2");
}

TEST(FloatEdit, BoundsMessageStrictLowerInclusiveUpper) {
    RecordingMessageSink sink;
    CFloatEdit edit;
    edit.SetName("Range");
    edit.SetLowerBound(kBoundStrict, 0.0);
    edit.SetUpperBound(kBoundInclusive, 100.0);
    edit.setText("0");
    EXPECT_TRUE(edit.Validate(true));
    EXPECT_EQ(edit.State(), CValidatedEdit::kOutOfBounds);
    EXPECT_TRUE(sink.messages.empty());
    double value = 5.0;
    EXPECT_FALSE(edit.SaveValue(value));
    EXPECT_EQ(value, 5.0);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, "Please enter a number for the Range which is\r\n"
                                     "less than or equal to 100 \r\nand greater than 0 ");
    EXPECT_EQ(sink.messages[0].caption, "Range Out of Bounds");

    edit.setText("100");
    EXPECT_EQ(edit.State(), CValidatedEdit::kValid);
    EXPECT_TRUE(edit.SaveValue(value));
    EXPECT_EQ(value, 100.0);
}

TEST(FloatEdit, SettingAndLoadingValues) {
    CFloatEdit edit;
    edit.SetLowerBound(kBoundStrict, 0.0);
    EXPECT_FALSE(edit.SetValue(-1.0));
    EXPECT_EQ(edit.text(), "");
    EXPECT_TRUE(edit.SetValue(-1.0, true));
    EXPECT_EQ(edit.text(), "-1");
    EXPECT_EQ(edit.State(), CValidatedEdit::kOutOfBounds);

    double value = 3.14159265;
    edit.Exchange(false, value);
    EXPECT_EQ(edit.text(), "3.1416");
    EXPECT_EQ(edit.CurrentValue(), 3.1416);
    EXPECT_EQ(edit.GetValue(), 3.1416);
    edit.SetPrecision(3);
    edit.LoadValue(2.71828);
    EXPECT_EQ(edit.text(), "2.72");
    edit.LoadValue(std::nan(""));
    EXPECT_EQ(edit.text(), "");
    EXPECT_TRUE(std::isnan(edit.GetValue()));
}

TEST(FloatEdit, TypingKeepsToNumberCharacters) {
    CFloatEdit edit;
    NotificationCounter counter(&edit);
    QTest::keyClicks(&edit, "1x.5e2,");
    EXPECT_EQ(edit.text(), "1.5e2");
    EXPECT_EQ(edit.GetValue(), 150.0);
    // 1, 1. (the same value), 1.5, 1.5e (no number), 1.5e2
    EXPECT_EQ(counter.count, 3);
}

TEST(IntegerListEdit, ParsesNormalisesAndChecksEveryElement) {
    RecordingMessageSink sink;
    CIntegerListEdit edit;
    edit.SetName("Select Traces");
    edit.SetLowerBound(kBoundInclusive, 1);
    edit.SetUpperBound(kBoundInclusive, 4);
    QTest::keyClicks(&edit, "3,1,3,a2");
    EXPECT_EQ(edit.text(), "3,1,3,2");
    EXPECT_EQ(edit.GetValue(), (std::vector<std::int32_t>{3, 1, 2}));
    edit.SetValue({2, 4});
    EXPECT_EQ(edit.text(), "2,4,");
    EXPECT_EQ(edit.GetValue(), (std::vector<std::int32_t>{2, 4}));
    EXPECT_TRUE(sink.messages.empty());

    edit.setText("2,5,");
    EXPECT_TRUE(edit.Validate(true));
    EXPECT_EQ(edit.State(), CValidatedEdit::kOutOfBounds);
    EXPECT_TRUE(edit.GetValue().empty());
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text,
              "[1 <= \"Select Traces\" <= 4]\r\nPlease enter numbers for the Select Traces which "
              "are\r\nmore than or equal to 1 and\r\nless than or equal to 4");
    EXPECT_EQ(sink.messages[0].caption, "Select Traces Out of Bounds");

    // Digits beyond the 32-bit range are out of bounds, not wrapped around.
    CIntegerListEdit unbounded;
    unbounded.setText("3000000000");
    EXPECT_EQ(unbounded.State(), CValidatedEdit::kOutOfBounds);
}

TEST(IntegerListEdit, NotifiesWhenTheListChanges) {
    CIntegerListEdit edit;
    NotificationCounter counter(&edit);
    edit.setText("1,2,");
    EXPECT_EQ(counter.count, 1);
    edit.setText("1,2");
    edit.setText("1,,2,2");
    EXPECT_EQ(counter.count, 1);
    edit.setText("2,1");
    EXPECT_EQ(counter.count, 2);
    std::vector<std::int32_t> values;
    EXPECT_TRUE(edit.Exchange(true, values));
    EXPECT_EQ(values, (std::vector<std::int32_t>{2, 1}));
}
