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

const std::string kNotANumberRamp =
    "Invalid Entry: Please enter a valid number for the Start of the Ramp.";
const QColor kRed(255, 0, 0);

// The only message shown so far, as "caption: text".
std::string OnlyMessage(const RecordingMessageSink& sink) {
    if (sink.messages.size() != 1)
        return std::to_string(sink.messages.size()) + " messages";
    return sink.messages[0].caption + ": " + sink.messages[0].text;
}

} // namespace

TEST(IntegerEdit, ForbiddenCharactersTypedPastedOrSetChangeNothing) {
    CIntegerEdit edit;
    edit.setText("12");
    edit.setCursorPosition(1);
    QTest::keyClicks(&edit, "a3"); // the cursor stays where "a" was refused
    EXPECT_EQ(edit.GetValue(), 132);
    edit.selectAll();
    QApplication::clipboard()->setText("12a");
    edit.paste();
    edit.setText("abc");
    EXPECT_EQ(edit.text(), "132");

    CFloatEdit floatEdit;
    QTest::keyClicks(&floatEdit, "1x.5e2,");
    EXPECT_EQ(floatEdit.GetValue(), 150.0);
}

TEST(IntegerEdit, NoNumberLooksInvalidAndBlocksTabAndLeavingButEmptyIsFine) {
    RecordingMessageSink sink;
    ActiveWindow w;
    auto* edit = w.Add(new CIntegerEdit);
    auto* other = w.Add(new CIntegerEdit);
    auto* cancel = w.Add(new QPushButton("Cancel"));
    cancel->setObjectName("exemptCancelButton");
    other->setText("-"); // no number either
    edit->SetName("Start of the Ramp");
    edit->SetLowerBound(kBoundInclusive, 1);
    edit->SetFeedbackMode(CValidatedEdit::kColourFeedback | CValidatedEdit::kFontFeedback);
    ASSERT_TRUE(w.ShowActive());
    ASSERT_TRUE(ActiveWindow::Focus(edit));

    QTest::keyClicks(edit, "-");
    EXPECT_EQ(edit->State(), CValidatedEdit::kNotANumber);
    EXPECT_EQ(edit->palette().color(QPalette::Active, QPalette::Text), kRed);
    EXPECT_TRUE(edit->font().bold());
    EXPECT_TRUE(sink.messages.empty());
    QTest::keyClick(edit, Qt::Key_Tab);
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(OnlyMessage(sink), kNotANumberRamp);
    EXPECT_EQ(sink.messages.at(0).buttons, MessageButtons::Ok);

    // Leaving for an exempt widget is allowed; for another field it brings the focus back.
    sink.messages.clear();
    CValidatedEdit::AddFocusExemption("exemptCancelButton");
    ASSERT_TRUE(ActiveWindow::Focus(cancel));
    QTest::qWait(20);
    EXPECT_TRUE(sink.messages.empty());
    CValidatedEdit::ClearFocusExemptions();
    ASSERT_TRUE(ActiveWindow::Focus(edit));
    QTest::mouseClick(other, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !sink.messages.empty(); }, 2000));
    EXPECT_TRUE(edit->hasFocus());
    // The other field, itself holding no number, did not complain in between.
    QTest::qWait(20);
    EXPECT_EQ(OnlyMessage(sink), kNotANumberRamp);

    // Emptied, the field has no value, looks normal again and Tab moves on.
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_FALSE(edit->font().bold());
    EXPECT_NE(edit->palette().color(QPalette::Active, QPalette::Text), kRed);
    QTest::keyClick(edit, Qt::Key_Tab);
    EXPECT_TRUE(QTest::qWaitFor([other] { return other->hasFocus(); }, 2000));
    std::int32_t value = 5;
    EXPECT_TRUE(edit->SaveValue(value));
    EXPECT_EQ(value, kNoIntegerValue);
    EXPECT_EQ(sink.messages.size(), 1u);
}

TEST(ValidatedEdit, SavingOutOfBoundsFailsWithTheMessage) {
    RecordingMessageSink sink;
    CIntegerEdit edit;
    edit.SetName("Current Trace");
    edit.SetLowerBound(kBoundInclusive, 1);
    // A loaded value out of the bounds is shown, not dropped; no message while typing.
    edit.LoadValue(0);
    EXPECT_TRUE(edit.Validate(true));
    EXPECT_EQ(edit.State(), CValidatedEdit::kOutOfBounds);
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
    range.SetName("Range");
    range.SetLowerBound(kBoundStrict, 0.0);
    range.SetUpperBound(kBoundInclusive, 100.0);
    range.setText("0");
    EXPECT_TRUE(range.Validate(true));
    double number = 5.0;
    EXPECT_FALSE(range.SaveValue(number));
    EXPECT_EQ(number, 5.0);
    EXPECT_EQ(OnlyMessage(sink), "Range Out of Bounds: Please enter a number for the Range which "
                                 "is\r\nless than or equal to 100 \r\nand greater than 0 ");
    range.setText("100");
    EXPECT_TRUE(range.SaveValue(number));
    EXPECT_EQ(number, 100.0);

    // The list field checks every element and reports while typing; digits
    // beyond 32 bits are out of bounds, not wrapped around.
    sink.messages.clear();
    CIntegerListEdit list;
    list.SetName("Select Traces");
    list.SetLowerBound(kBoundInclusive, 1);
    list.SetUpperBound(kBoundInclusive, 4);
    list.setText("2,5,");
    EXPECT_TRUE(list.Validate(true));
    EXPECT_TRUE(list.GetValue().empty());
    EXPECT_EQ(OnlyMessage(sink), "Select Traces Out of Bounds: [1 <= \"Select Traces\" <= 4]\r\n"
                                 "Please enter numbers for the Select Traces which are\r\n"
                                 "more than or equal to 1 and\r\nless than or equal to 4");
    list.SetRangesAllowed(true);
    list.setText("3-4,");
    EXPECT_EQ(list.GetValue(), (std::vector<std::int32_t>{3, 4}));
    list.setText("3-5,"); // a run whose end only is beyond the bound
    EXPECT_EQ(list.State(), CValidatedEdit::kOutOfBounds);
    list.SetUpperBound(kBoundNone, 0);
    list.setText("3000000000");
    EXPECT_EQ(list.State(), CValidatedEdit::kOutOfBounds);
}

TEST(ValidatedEdit, DisabledFieldsNeverComplain) {
    RecordingMessageSink sink;
    CIntegerEdit edit;
    edit.SetLowerBound(kBoundInclusive, 1);
    edit.SetUpperBound(kBoundInclusive, 100);
    edit.setEnabled(false);
    const std::pair<const char*, std::int32_t> cases[] = {
        {"-", kNoIntegerValue}, {"500", kNoIntegerValue}, {"", kNoIntegerValue}, {"50", 50}};
    for (const auto& [text, expected] : cases) {
        edit.setText(text);
        std::int32_t value = 42;
        EXPECT_TRUE(edit.SaveValue(value)) << text;
        EXPECT_EQ(value, expected) << text;
    }
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
    edit.SetValue(12);
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
