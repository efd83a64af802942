#include "ActiveWindow.h"

#include "controls/ControlNotifications.h"
#include "controls/qt/ColourDropDownButton.h"
#include "controls/qt/CustWell.h"

#include <QSignalSpy>

#include <vector>

namespace {

constexpr ColourRef kRed = MakeColourRef(255, 0, 0);
constexpr ColourRef kOdd = MakeColourRef(1, 2, 3);

void Press(QWidget* widget, std::initializer_list<Qt::Key> keys) {
    for (const Qt::Key key : keys)
        QTest::keyClick(widget, key);
}

} // namespace

TEST(ColourButton, LoadingAnOddColourMakesItACustomColourOfTheSharedSet) {
    ActiveWindow w;
    std::vector<TLColourDropDownButton*> buttons;
    for (int i = 0; i < 7; ++i)
        buttons.push_back(w.Add(new TLColourDropDownButton));
    for (int i = 1; i < 7; ++i)
        buttons[std::size_t(i)]->ShareColourSet(*buttons[0]);
    for (auto* button : buttons)
        EXPECT_EQ(button->ColourSet(), buttons[0]->ColourSet());

    ColourRef value = kOdd;
    buttons[3]->Exchange(false, value);
    EXPECT_EQ(buttons[3]->Colour(), kOdd);
    EXPECT_EQ(buttons[0]->ColourSet()->customColours, std::vector<ColourRef>{kOdd});
    EXPECT_EQ(buttons[3]->SelectedItem(), buttons[3]->ColourSet()->FindItem(kOdd));

    // Every button's well offers the custom row.
    ASSERT_TRUE(w.ShowActive());
    buttons[6]->DropDown();
    TLCustWell* well = buttons[6]->Well();
    ASSERT_TRUE(well->isVisible());
    const int customItem = buttons[6]->ColourSet()->FindItem(kOdd);
    EXPECT_TRUE(well->ItemRect(customItem).isValid());
    EXPECT_GT(well->ItemRect(customItem).top(), well->ItemRect(2 + 39).bottom());
    well->CloseWithoutChoice();

    ColourRef saved = 0;
    buttons[3]->Exchange(true, saved);
    EXPECT_EQ(saved, kOdd);
    // The set outlives the button that made it.
    delete buttons[0];
    EXPECT_EQ(buttons[1]->ColourSet()->customColours, std::vector<ColourRef>{kOdd});
}

TEST(ColourButton, ChoosingTheCurrentColourSendsNothingAndTheKeyboardChooses) {
    ActiveWindow w;
    auto* button = w.Add(new TLColourDropDownButton);
    button->LoadColour(kRed);
    ASSERT_TRUE(w.ShowActive());
    std::vector<int> sent;
    QObject::connect(button, &TLDropDownButton::notification, [&](QWidget* control, int code) {
        EXPECT_EQ(control, button);
        sent.push_back(code);
    });
    QSignalSpy changed(button, &TLColourDropDownButton::colourChanged);
    TLCustWell* well = button->Well();

    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_TRUE(well->isVisible());
    EXPECT_TRUE(button->IsDropDownOpen());
    EXPECT_EQ(well->Highlight(), button->ColourSet()->FindItem(kRed));
    well->Choose(button->ColourSet()->FindItem(kRed));
    EXPECT_FALSE(well->isVisible());
    EXPECT_FALSE(button->IsDropDownOpen());
    EXPECT_EQ(sent, std::vector<int>{kNotifyDropDownOpening});
    EXPECT_EQ(button->Colour(), kRed);
    EXPECT_EQ(changed.count(), 0);

    sent.clear();
    button->DropDown();
    const QPoint blue = well->ItemRect(2 + 13).center();
    QTest::mouseMove(well, blue);
    QTest::mouseClick(well, Qt::LeftButton, {}, blue);
    EXPECT_FALSE(well->isVisible());
    EXPECT_EQ(button->Colour(), MakeColourRef(0, 0, 255));
    EXPECT_EQ(sent, (std::vector<int>{kNotifyDropDownOpening, kNotifyColourChanged}));
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed[0][0].value<quint32>(), MakeColourRef(0, 0, 255));

    // The keyboard moves the highlight and chooses.
    button->LoadColour(MakeColourRef(0, 0, 0)); // Black, first standard cell
    button->DropDown();
    EXPECT_EQ(well->Highlight(), 2);
    QTest::keyClick(well, Qt::Key_Right);
    EXPECT_EQ(well->Highlight(), 3);
    QTest::keyClick(well, Qt::Key_Down);
    EXPECT_EQ(well->Highlight(), 11);
    QTest::keyClick(well, Qt::Key_Left);
    EXPECT_EQ(well->Highlight(), 10);
    Press(well, {Qt::Key_Up, Qt::Key_Up});
    EXPECT_EQ(well->Highlight(), 1); // Automatic
    Press(well, {Qt::Key_Down, Qt::Key_Down, Qt::Key_Return});
    EXPECT_FALSE(well->isVisible());
    EXPECT_EQ(button->Colour(), MakeColourRef(128, 0, 0)); // Dark Red: second row, first column

    button->DropDown();
    Press(well, {Qt::Key_Up, Qt::Key_Up, Qt::Key_Up});
    EXPECT_EQ(well->Highlight(), 0);
    QTest::keyClick(well, Qt::Key_Space);
    EXPECT_EQ(button->Colour(), kColourNone);
}
