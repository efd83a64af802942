#include "controls/CreditsScroller.h"
#include "controls/qt/CreditsDlg.h"
#include "platform/Messages.h"

#include <QFontMetrics>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Ticks until a new line is taken; returns the number of ticks it took.
int TicksUntilNextLine(CreditsScroller& scroller) {
    for (int ticks = 1; ticks < 1000; ++ticks) {
        if (scroller.Tick())
            return ticks;
    }
    return -1;
}

int CountPixels(const QImage& image, QColor colour, int fromRow) {
    int count = 0;
    for (int y = fromRow; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y) == colour;
    return count;
}

} // namespace

TEST(CreditsScroller, StylesByTheLastCharacter) {
    EXPECT_EQ(CreditsStyleOf("Title\n").kind, CreditsLineKind::Title);
    EXPECT_EQ(CreditsStyleOf("Title\n").height, 35);
    EXPECT_TRUE(CreditsStyleOf("Title\n").italic);
    EXPECT_EQ(CreditsStyleOf("Title\n").colour, MakeColourRef(255, 0, 0));
    EXPECT_STREQ(CreditsStyleOf("Heading\t").family, "Times New Roman");
    EXPECT_EQ(CreditsStyleOf("Heading\t").height, 28);
    EXPECT_EQ(CreditsStyleOf("Heading\t").colour, MakeColourRef(0, 255, 255));
    EXPECT_EQ(CreditsStyleOf("Name\r").height, 31);
    EXPECT_EQ(CreditsStyleOf("Name\r").weight, 700);
    EXPECT_EQ(CreditsStyleOf("Name\r").colour, MakeColourRef(255, 255, 0));
    EXPECT_EQ(CreditsStyleOf("logo\b").kind, CreditsLineKind::Bitmap);
    for (const char* normal : {"Text\f", "Text.", ""}) {
        EXPECT_EQ(CreditsStyleOf(normal).kind, CreditsLineKind::Normal);
        EXPECT_EQ(CreditsStyleOf(normal).height, 25);
        EXPECT_EQ(CreditsStyleOf(normal).weight, 400);
        EXPECT_EQ(CreditsStyleOf(normal).colour, MakeColourRef(255, 255, 255));
    }
    // A code alone is a line without text: normal height.
    EXPECT_EQ(CreditsStyleOf("\n").height, 25);
    EXPECT_EQ(CreditsTextOf("Name\r"), "Name");
    EXPECT_EQ(CreditsTextOf("Text."), "Text");
}

TEST(CreditsScroller, NextLineStartsAfterTheCurrentLinesHeight) {
    CreditsScroller scroller;
    scroller.AddLine("First\f");
    scroller.AddLine("Second\r");
    scroller.AddLine("Third\n");
    // Before the first line, the normal height passes.
    EXPECT_EQ(TicksUntilNextLine(scroller), 25);
    EXPECT_EQ(scroller.CurrentLineIndex(), 0);
    EXPECT_EQ(scroller.ScrollPosition(), 1);
    EXPECT_EQ(TicksUntilNextLine(scroller), 25);
    EXPECT_EQ(scroller.CurrentLine(), "Second\r");
    EXPECT_EQ(scroller.LineHeight(), 31);
    EXPECT_EQ(TicksUntilNextLine(scroller), 31);
    EXPECT_EQ(scroller.CurrentLineIndex(), 2);
    EXPECT_EQ(TicksUntilNextLine(scroller), 35);
    // After the last line the first follows again.
    EXPECT_EQ(scroller.CurrentLineIndex(), 0);
    EXPECT_EQ(scroller.CurrentLine(), "First\f");
}

TEST(CreditsScroller, EmptyListOnlyScrolls) {
    CreditsScroller scroller;
    for (int i = 0; i < 60; ++i)
        EXPECT_FALSE(scroller.Tick());
    EXPECT_EQ(scroller.ScrollPosition(), 60);
    EXPECT_EQ(scroller.CurrentLineIndex(), -1);
}

TEST(CreditsScroller, BlankLinesAndTheProgramsCredits) {
    CreditsScroller scroller;
    scroller.AddBlankLines(3, "");
    EXPECT_EQ(scroller.Lines(), (std::vector<std::string>{"", "", ""}));
    const std::vector<std::string> credits = TessaranCreditLines();
    ASSERT_FALSE(credits.empty());
    EXPECT_EQ(credits.front(), "Tessaran\n");
    std::string all;
    for (const std::string& line : credits)
        all += line;
    for (const char* name : {"Qt", "libxlsxwriter", "zlib", "GoogleTest", "Google Benchmark",
                             "Liberation fonts", "Debian", "chloride currents"})
        EXPECT_NE(all.find(name), std::string::npos) << name;
}

TEST(CreditsDialog, NameLineIsDrawnYellowAndThirtyOnePixelsHigh) {
    CCreditsDlg dialog;
    dialog.AddLine("Tessaran\r");
    dialog.AddLine("Next\f");
    for (int i = 0; i < 25; ++i)
        dialog.Tick();
    EXPECT_EQ(dialog.Scroller().CurrentLine(), "Tessaran\r");
    EXPECT_EQ(dialog.Scroller().LineHeight(), 31);
    for (int i = 1; i < 31; ++i)
        dialog.Tick();
    EXPECT_EQ(dialog.Scroller().CurrentLine(), "Tessaran\r");
    const QImage& surface = dialog.Surface();
    ASSERT_EQ(surface.size(), QSize(515, 300));
    const int yellowBelow = CountPixels(surface, QColor(255, 255, 0), 300 - 31);
    EXPECT_GT(yellowBelow, 50);
    EXPECT_EQ(CountPixels(surface, QColor(255, 255, 0), 0) - yellowBelow, 0);
    dialog.Tick();
    EXPECT_EQ(dialog.Scroller().CurrentLine(), "Next\f");
    // The name has moved up by one pixel and stays on screen.
    EXPECT_GT(CountPixels(surface, QColor(255, 255, 0), 0), 50);

    const QFont font = CCreditsDlg::FontFor(CreditsStyleOf("Name\r"));
    EXPECT_LE(QFontMetrics(font).height(), 31);
    EXPECT_GE(QFontMetrics(font).height(), 27);
    EXPECT_EQ(font.weight(), QFont::Bold);
    EXPECT_TRUE(CCreditsDlg::FontFor(CreditsStyleOf("T\n")).italic());
}

TEST(CreditsDialog, BitmapLineScrollsThroughAtItsHeight) {
    CCreditsDlg dialog;
    dialog.AddLine("tessaran-logo\b");
    dialog.AddLine("After\f");
    for (int i = 0; i < 25; ++i)
        dialog.Tick();
    ASSERT_TRUE(dialog.Scroller().BitmapInProgress());
    const int height = dialog.Scroller().LineHeight();
    EXPECT_EQ(height, QImage(":/credits/tessaran-logo.png").height());
    for (int i = 1; i < height; ++i)
        dialog.Tick();
    EXPECT_FALSE(dialog.Scroller().BitmapInProgress());
    EXPECT_EQ(dialog.Scroller().CurrentLine(), "");
    // The bitmap's yellow current trace is on screen.
    EXPECT_GT(CountPixels(dialog.Surface(), QColor(255, 220, 0), 300 - height), 20);
    EXPECT_EQ(TicksUntilNextLine(const_cast<CreditsScroller&>(dialog.Scroller())), 25);
}

TEST(CreditsDialog, MissingBitmapStopsWithTheMessage) {
    RecordingMessageSink sink;
    CCreditsDlg dialog;
    dialog.AddLine("nosuchbitmap\b");
    dialog.show();
    ASSERT_TRUE(dialog.IsScrolling());
    for (int i = 0; i < 25; ++i)
        dialog.Tick();
    EXPECT_FALSE(dialog.IsScrolling());
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, "Could not find bitmap resource \"nosuchbitmap\". Be sure to "
                                     "assign the bitmap a QUOTED resource name");
    const int scrolled = dialog.Scroller().ScrollPosition();
    dialog.Tick();
    EXPECT_EQ(dialog.Scroller().ScrollPosition(), scrolled);
    EXPECT_EQ(sink.messages.size(), 1u);
}

TEST(CreditsDialog, TimerScrollsAndOkCloses) {
    CCreditsDlg dialog;
    dialog.AddTessaranCredits();
    EXPECT_FALSE(dialog.IsScrolling());
    dialog.show();
    EXPECT_TRUE(dialog.IsScrolling());
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.Scroller().ScrollPosition() >= 3; }, 5000));
    auto* ok = dialog.findChild<QPushButton*>("okButton");
    ASSERT_NE(ok, nullptr);
    ok->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(dialog.IsScrolling());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}
