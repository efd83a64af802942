// The window's frame: buttons, images, logo, menus, About, Credits and Help.
#include "tests/app/AppTestSupport.h"

#include "app/qt/AppImages.h"
#include "controls/qt/ImageButton.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using Sheet = CPropertySheetWithLogoDlg;

TEST_F(MainSheetTest, ButtonRowIsRelabelledWithImagesAndWidened) {
    CMainSheet* sheet = OpenSheet();
    const int ids[] = {Sheet::kOkButton, Sheet::kCancelButton, Sheet::kApplyButton,
                       Sheet::kHelpButton};
    const char* labels[] = {"&Open File", "Exit", "&Analyse", "Help"};
    int previousRight = -1;
    int gap = -1;
    for (int i = 0; i < 4; ++i) {
        CImageButton* button = sheet->Button(ids[i]);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text().toStdString(), labels[i]);
        EXPECT_TRUE(button->HasImage()) << labels[i];
        EXPECT_EQ(button->ImageSize(), QSize(16, 16));
        EXPECT_EQ(button->width(), sheet->StandardButtonWidth() + 20) << labels[i];
        // Left to right in this order, with equal gaps.
        const QRect r = button->geometry();
        if (previousRight >= 0) {
            EXPECT_GT(r.left(), previousRight);
            if (gap >= 0) {
                EXPECT_EQ(r.left() - previousRight, gap);
            }
            gap = r.left() - previousRight;
        }
        previousRight = r.right();
    }
}

TEST_F(MainSheetTest, TabsShowTheStripImagesInOrder) {
    CMainSheet* sheet = OpenSheet();
    const QList<QPixmap> strip = TabImagesFromStrip(kTabStripBitmap, 16);
    ASSERT_EQ(strip.size(), 6);
    for (int i = 0; i < 6; ++i) {
        const QIcon icon = sheet->TabControl()->tabIcon(i);
        ASSERT_FALSE(icon.isNull()) << i;
        EXPECT_EQ(icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32),
                  strip[i].toImage().convertToFormat(QImage::Format_ARGB32))
            << "tab " << i;
    }
    // The mask colour is transparent, the drawing is not.
    const QImage first = strip[0].toImage();
    EXPECT_EQ(qAlpha(first.pixel(15, 0)), 0);
    EXPECT_EQ(qAlpha(first.pixel(2, 14)), 255);
    EXPECT_FALSE(sheet->windowIcon().isNull());
    EXPECT_FALSE(sheet->windowIcon().pixmap(16, 16).isNull());
    EXPECT_FALSE(sheet->windowIcon().pixmap(64, 64).isNull());
}

// Pixels of the logo area differing from the window's background.
int InkedPixels(CPropertySheetWithLogoDlg& sheet) {
    const QImage image = sheet.grab(sheet.LogoRect()).toImage();
    const QRgb background = image.pixel(0, 0);
    int inked = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            inked += image.pixel(x, y) != background;
    return inked;
}

TEST_F(MainSheetTest, LogoIsDrawnBesideTheButtonsAndNotWhenEmpty) {
    CMainSheet* sheet = OpenSheet();
    EXPECT_EQ(sheet->LogoText(), "Tessaran");
    ASSERT_TRUE(sheet->LogoFont().has_value());
    EXPECT_EQ(sheet->LogoFont()->pixelSize(), 24);
    EXPECT_TRUE(sheet->LogoFont()->italic());
    EXPECT_EQ(sheet->LogoFont()->weight(), QFont::Bold);
    const QRect logo = sheet->LogoRect();
    EXPECT_EQ(logo.left(), sheet->TabControl()->geometry().left());
    EXPECT_EQ(logo.right() + 1, sheet->Button(Sheet::kOkButton)->geometry().left());
    EXPECT_EQ(logo.top(), sheet->Button(Sheet::kOkButton)->geometry().top());
    EXPECT_GT(InkedPixels(*sheet), 50);

    sheet->SetLogoText(QString());
    EXPECT_EQ(InkedPixels(*sheet), 0);
}

TEST_F(MainSheetTest, AboutCreditsAndHelp) {
    CMainSheet* sheet = OpenSheet();
    sheet->Action(CMainSheet::kAboutCommand)->trigger();
    sheet->Action(CMainSheet::kCreditsCommand)->trigger();
    ASSERT_EQ(modal.shown.size(), 2u);
    EXPECT_EQ(modal.shown[0].className, "CAboutDlg");
    EXPECT_EQ(modal.shown[0].title, "About Tessaran");
    EXPECT_TRUE(modal.shown[0].labels.contains("Tessaran Version 1.0"));
    EXPECT_EQ(modal.shown[1].className, "CCreditsDlg");

    QTest::mouseClick(sheet->Button(Sheet::kHelpButton), Qt::LeftButton);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].caption, "Tessaran Help");
    EXPECT_NE(messages.messages[0].text.find("Open File"), std::string::npos);
}

TEST(PropertySheetTest, APageThatRefusesToBeLeftStaysShown) {
    CPropertySheetWithLogoDlg sheet(QStringLiteral("Sheet"));
    bool allowLeave = false;
    int applied = 0;
    QWidget first;
    QWidget second;
    CPropertySheetWithLogoDlg::PageHandlers handlers;
    handlers.killActive = [&] { return allowLeave; };
    handlers.apply = [&] {
        ++applied;
        return true;
    };
    sheet.AddPage(&first, QStringLiteral("one"), handlers);
    CPropertySheetWithLogoDlg::PageHandlers others;
    others.apply = [&] {
        ++applied;
        return false;
    };
    sheet.AddPage(&second, QStringLiteral("two"), others);
    EXPECT_FALSE(sheet.SetActivePage(1));
    EXPECT_EQ(sheet.ActiveIndex(), 0);
    EXPECT_EQ(sheet.TabControl()->currentIndex(), 0);
    // Apply asks the shown page first: refused, no page applies.
    sheet.PressButton(Sheet::kApplyButton);
    EXPECT_EQ(applied, 0);
    allowLeave = true;
    sheet.PressButton(Sheet::kApplyButton);
    EXPECT_EQ(applied, 2);
    EXPECT_TRUE(sheet.SetActivePage(1));
    EXPECT_EQ(sheet.ActiveIndex(), 1);
}

} // namespace
