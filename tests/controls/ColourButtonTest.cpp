#include "ActiveWindow.h"

#include "controls/ControlNotifications.h"
#include "controls/qt/ColourDropDownButton.h"
#include "controls/qt/CustWell.h"

#include <QSignalSpy>

#include <memory>
#include <vector>

namespace {

constexpr ColourRef kRed = MakeColourRef(255, 0, 0);
constexpr ColourRef kOdd = MakeColourRef(1, 2, 3);

struct Notifications {
    explicit Notifications(TLColourDropDownButton* button) {
        QObject::connect(button, &TLDropDownButton::notification,
                         [this, button](QWidget* control, int code) {
                             EXPECT_EQ(control, button);
                             codes.push_back(code);
                         });
    }
    std::vector<int> codes;
};

// Answers "More Colours..." without a modal dialog while it lives.
class ColourDialogAnswer {
public:
    explicit ColourDialogAnswer(std::optional<ColourRef> answer) {
        m_previous = TLColourDropDownButton::SetColourDialogFunction(
            [this, answer](ColourRef initial, QWidget* parent) {
                asked.push_back(initial);
                parents.push_back(parent);
                return answer;
            });
    }
    ~ColourDialogAnswer() { TLColourDropDownButton::SetColourDialogFunction(m_previous); }
    std::vector<ColourRef> asked;
    std::vector<QWidget*> parents;

private:
    TLColourDropDownButton::ColourDialogFunction m_previous;
};

int ItemOf(const TLColourDropDownButton& button, ColourRef colour) {
    return button.ColourSet()->FindItem(colour);
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
    const TLColourSet& set = *buttons[0]->ColourSet();
    ASSERT_EQ(set.customColours.size(), 1u);
    EXPECT_EQ(set.customColours[0], kOdd);
    EXPECT_EQ(buttons[3]->SelectedItem(), ItemOf(*buttons[3], kOdd));
    // A standard colour adds nothing and selects its cell.
    value = kRed;
    buttons[5]->Exchange(false, value);
    EXPECT_EQ(set.customColours.size(), 1u);
    EXPECT_EQ(buttons[5]->SelectedItem(), 2 + 16);

    // Every button's well offers the custom row.
    ASSERT_TRUE(w.ShowActive());
    buttons[6]->DropDown();
    TLCustWell* well = buttons[6]->Well();
    ASSERT_TRUE(well->isVisible());
    const int customItem = ItemOf(*buttons[6], kOdd);
    EXPECT_TRUE(well->ItemRect(customItem).isValid());
    EXPECT_GT(well->ItemRect(customItem).top(), well->ItemRect(2 + 39).bottom());
    well->CloseWithoutChoice();
    EXPECT_FALSE(well->isVisible());

    ColourRef saved = 0;
    buttons[3]->Exchange(true, saved);
    EXPECT_EQ(saved, kOdd);
}

TEST(ColourButton, ChoosingTheCurrentColourSendsNothing) {
    ActiveWindow w;
    auto* button = w.Add(new TLColourDropDownButton);
    button->LoadColour(kRed);
    ASSERT_TRUE(w.ShowActive());
    Notifications sent(button);
    QSignalSpy changed(button, &TLColourDropDownButton::colourChanged);

    button->DropDown();
    ASSERT_TRUE(button->Well()->isVisible());
    EXPECT_TRUE(button->IsDropDownOpen());
    EXPECT_EQ(button->Well()->Highlight(), ItemOf(*button, kRed));
    button->Well()->Choose(ItemOf(*button, kRed));
    EXPECT_FALSE(button->Well()->isVisible());
    EXPECT_FALSE(button->IsDropDownOpen());
    EXPECT_EQ(sent.codes, std::vector<int>{kNotifyDropDownOpening});
    EXPECT_EQ(changed.count(), 0);

    button->DropDown();
    button->Well()->Choose(2 + 13); // Blue
    EXPECT_EQ(button->Colour(), MakeColourRef(0, 0, 255));
    EXPECT_EQ(sent.codes, (std::vector<int>{kNotifyDropDownOpening, kNotifyDropDownOpening,
                                            kNotifyColourChanged}));
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed[0][0].value<quint32>(), MakeColourRef(0, 0, 255));
}

TEST(ColourButton, OpeningNotifiesBeforeTheWellShows) {
    ActiveWindow w;
    auto* button = w.Add(new TLColourDropDownButton);
    ASSERT_TRUE(w.ShowActive());
    bool wellShownAtNotification = true;
    QObject::connect(button, &TLDropDownButton::notification, [&](QWidget*, int code) {
        if (code == kNotifyDropDownOpening)
            wellShownAtNotification = button->Well()->isVisible();
    });
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_FALSE(wellShownAtNotification);
    EXPECT_TRUE(button->Well()->isVisible());
    EXPECT_EQ(button->ColourSet()->owner != nullptr, true);
    // The well opens just below the button.
    EXPECT_EQ(button->Well()->geometry().top(),
              button->mapToGlobal(QPoint(0, button->height())).y());
    button->Well()->CloseWithoutChoice();
    EXPECT_EQ(button->ColourSet()->owner, nullptr);
}

TEST(ColourButton, EscapeClosesWithoutAChoice) {
    ActiveWindow w;
    auto* button = w.Add(new TLColourDropDownButton);
    button->LoadColour(kRed);
    ASSERT_TRUE(w.ShowActive());
    Notifications sent(button);
    button->DropDown();
    QTest::keyClick(button->Well(), Qt::Key_Escape);
    EXPECT_FALSE(button->Well()->isVisible());
    EXPECT_EQ(sent.codes, (std::vector<int>{kNotifyDropDownOpening, kNotifyDropDownClosed}));
    EXPECT_EQ(button->Colour(), kRed);
    EXPECT_FALSE(button->IsDropDownOpen());
}

TEST(ColourButton, ArrowKeyOnTheButtonOpensTheWell) {
    ActiveWindow w;
    auto* button = w.Add(new TLColourDropDownButton);
    ASSERT_TRUE(w.ShowActive());
    QTest::keyClick(button, Qt::Key_Down);
    EXPECT_TRUE(button->Well()->isVisible());
    button->Well()->CloseWithoutChoice();
}

TEST(ColourButton, KeyboardMovesTheHighlightAndChooses) {
    ActiveWindow w;
    auto* button = w.Add(new TLColourDropDownButton);
    button->LoadColour(MakeColourRef(0, 0, 0)); // Black, first standard cell
    ASSERT_TRUE(w.ShowActive());
    button->DropDown();
    TLCustWell* well = button->Well();
    EXPECT_EQ(well->Highlight(), 2);
    QTest::keyClick(well, Qt::Key_Right);
    EXPECT_EQ(well->Highlight(), 3);
    QTest::keyClick(well, Qt::Key_Down);
    EXPECT_EQ(well->Highlight(), 11);
    QTest::keyClick(well, Qt::Key_Left);
    EXPECT_EQ(well->Highlight(), 10);
    QTest::keyClick(well, Qt::Key_Up);
    QTest::keyClick(well, Qt::Key_Up);
    EXPECT_EQ(well->Highlight(), 1); // Automatic
    QTest::keyClick(well, Qt::Key_Down);
    QTest::keyClick(well, Qt::Key_Down);
    QTest::keyClick(well, Qt::Key_Return);
    EXPECT_FALSE(well->isVisible());
    EXPECT_EQ(button->Colour(), MakeColourRef(128, 0, 0)); // Dark Red: second row, first column

    button->DropDown();
    QTest::keyClick(well, Qt::Key_Up);
    QTest::keyClick(well, Qt::Key_Up);
    QTest::keyClick(well, Qt::Key_Up);
    EXPECT_EQ(well->Highlight(), 0);
    QTest::keyClick(well, Qt::Key_Space);
    EXPECT_EQ(button->Colour(), kColourNone);
}

TEST(ColourButton, MouseReleaseOverACellChoosesIt) {
    ActiveWindow w;
    auto* button = w.Add(new TLColourDropDownButton);
    ASSERT_TRUE(w.ShowActive());
    button->DropDown();
    TLCustWell* well = button->Well();
    const QRect yellow = well->ItemRect(2 + 26);
    QTest::mouseMove(well, yellow.center());
    EXPECT_EQ(well->ItemAt(yellow.center()), 2 + 26);
    QTest::mouseClick(well, Qt::LeftButton, {}, yellow.center());
    EXPECT_FALSE(well->isVisible());
    EXPECT_EQ(button->Colour(), MakeColourRef(255, 255, 0));

    // A press outside the well closes it without a choice.
    Notifications sent(button);
    button->DropDown();
    QTest::mousePress(well, Qt::LeftButton, {}, QPoint(-5, -5));
    EXPECT_FALSE(well->isVisible());
    EXPECT_EQ(sent.codes, (std::vector<int>{kNotifyDropDownOpening, kNotifyDropDownClosed}));
    EXPECT_EQ(button->Colour(), MakeColourRef(255, 255, 0));
}

TEST(ColourButton, CellsAreEighteenDialogUnits) {
    ActiveWindow w;
    auto* button = w.Add(new TLColourDropDownButton);
    ASSERT_TRUE(w.ShowActive());
    button->DropDown();
    const QFontMetrics metrics(w.window.font());
    const int baseX =
        (metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") / 26 +
         1) /
        2;
    const QSize cell = button->Well()->CellSize();
    EXPECT_EQ(cell.width(), (18 * baseX + 2) / 4);
    EXPECT_EQ(cell.height(), (18 * metrics.height() + 4) / 8);
    EXPECT_EQ(button->Well()->ItemRect(2).size(), cell);
    button->Well()->CloseWithoutChoice();
}

TEST(ColourButton, MoreColoursAsksTheDialogAndKeepsTheChoice) {
    ActiveWindow w;
    auto* button = w.Add(new TLColourDropDownButton);
    ASSERT_TRUE(w.ShowActive());
    Notifications sent(button);
    const int more = button->ColourSet()->ItemCount() - 1;
    {
        ColourDialogAnswer cancel(std::nullopt);
        button->DropDown();
        button->Well()->Choose(more);
        ASSERT_EQ(cancel.asked.size(), 1u);
        EXPECT_EQ(cancel.asked[0], 0x00FFFFFFu); // Automatic, low 24 bits
        EXPECT_EQ(cancel.parents[0], button);
        EXPECT_EQ(button->Colour(), kColourAutomatic);
        EXPECT_TRUE(button->ColourSet()->customColours.empty());
    }
    EXPECT_EQ(sent.codes, std::vector<int>{kNotifyDropDownOpening});
    {
        ColourDialogAnswer pick(MakeColourRef(10, 20, 30));
        button->DropDown();
        button->Well()->Choose(more);
        EXPECT_FALSE(button->Well()->isVisible());
        EXPECT_EQ(button->Colour(), MakeColourRef(10, 20, 30));
        ASSERT_EQ(button->ColourSet()->customColours.size(), 1u);
        EXPECT_EQ(button->SelectedItem(), ItemOf(*button, MakeColourRef(10, 20, 30)));
        EXPECT_EQ(button->ColourSet()->ItemToolTip(button->SelectedItem()),
                  "Custom Colour :[Red =  10, Blue =  30, Green =  20] ");
    }
    EXPECT_EQ(sent.codes, (std::vector<int>{kNotifyDropDownOpening, kNotifyDropDownOpening,
                                            kNotifyColourChanged}));
    // Next time the well opens on the custom colour.
    button->DropDown();
    EXPECT_EQ(button->Well()->Highlight(), ItemOf(*button, MakeColourRef(10, 20, 30)));
    button->Well()->CloseWithoutChoice();
}

TEST(ColourButton, SharedSetSurvivesTheButtonThatMadeIt) {
    auto first = std::make_unique<TLColourDropDownButton>();
    TLColourDropDownButton second;
    second.ShareColourSet(*first);
    first->LoadColour(kOdd);
    first.reset();
    ASSERT_EQ(second.ColourSet()->customColours.size(), 1u);
    EXPECT_EQ(second.ColourSet()->customColours[0], kOdd);
}
