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
    auto* owner = w.Add(new TLColourDropDownButton);
    auto* loading = w.Add(new TLColourDropDownButton);
    auto* opening = w.Add(new TLColourDropDownButton);
    loading->ShareColourSet(*owner);
    opening->ShareColourSet(*owner);
    ColourRef value = kOdd;
    loading->Exchange(false, value);
    EXPECT_EQ(owner->ColourSet()->customColours, std::vector<ColourRef>{kOdd});
    EXPECT_EQ(loading->SelectedItem(), loading->ColourSet()->FindItem(kOdd));

    // Every button's well offers the custom row, below the standard grid.
    ASSERT_TRUE(w.ShowActive());
    opening->DropDown();
    TLCustWell* well = opening->Well();
    ASSERT_TRUE(well->isVisible());
    const QRect custom = well->ItemRect(opening->ColourSet()->FindItem(kOdd));
    EXPECT_TRUE(custom.isValid());
    EXPECT_GT(custom.top(), well->ItemRect(2 + 39).bottom());
    well->CloseWithoutChoice();

    ColourRef saved = 0;
    loading->Exchange(true, saved);
    EXPECT_EQ(saved, kOdd);
    // The set outlives the button that made it.
    delete owner;
    EXPECT_EQ(loading->ColourSet()->customColours, std::vector<ColourRef>{kOdd});
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
    EXPECT_EQ(well->Highlight(), button->ColourSet()->FindItem(kRed));
    well->Choose(button->ColourSet()->FindItem(kRed));
    EXPECT_FALSE(button->IsDropDownOpen());
    EXPECT_EQ(sent, std::vector<int>{kNotifyDropDownOpening});
    EXPECT_EQ(changed.count(), 0);

    button->DropDown();
    const QPoint blue = well->ItemRect(2 + 13).center();
    QTest::mouseMove(well, blue);
    QTest::mouseClick(well, Qt::LeftButton, {}, blue);
    EXPECT_FALSE(well->isVisible());
    EXPECT_EQ(sent, (std::vector<int>{kNotifyDropDownOpening, kNotifyDropDownOpening,
                                      kNotifyColourChanged}));
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed[0][0].value<quint32>(), MakeColourRef(0, 0, 255));

    // The keyboard moves the highlight and chooses; from Black, the first
    // standard cell, right, down a row of 8 and left.
    button->LoadColour(MakeColourRef(0, 0, 0));
    button->DropDown();
    Press(well, {Qt::Key_Right, Qt::Key_Down, Qt::Key_Left});
    EXPECT_EQ(well->Highlight(), 10);
    Press(well, {Qt::Key_Up, Qt::Key_Up});
    EXPECT_EQ(well->Highlight(), 1); // Automatic
    Press(well, {Qt::Key_Down, Qt::Key_Down, Qt::Key_Return});
    EXPECT_FALSE(well->isVisible());
    EXPECT_EQ(button->Colour(), MakeColourRef(128, 0, 0)); // Dark Red: second row, first column

    button->DropDown();
    Press(well, {Qt::Key_Up, Qt::Key_Up, Qt::Key_Up, Qt::Key_Space});
    EXPECT_EQ(button->Colour(), kColourNone);
}
