#include "controls/CreditsScroller.h"
#include "controls/qt/CreditsDlg.h"
#include "platform/Messages.h"
#include "tests/support/RecordingMessageSink.h"

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

TEST(CreditsScroller, NextLineStartsAfterTheCurrentLinesHeight) {
    CreditsScroller scroller;
    for (const char* line : {"First\f", "Second\r", "Third\n"})
        scroller.AddLine(line);
    // Before the first line the normal height passes, then each line's own;
    // after the last line the first follows again.
    for (const int height : {25, 25, 31, 35})
        EXPECT_EQ(TicksUntilNextLine(scroller), height);
    EXPECT_EQ(scroller.CurrentLineIndex(), 0);
    EXPECT_EQ(scroller.ScrollPosition(), 1);

    CreditsScroller empty;
    for (int i = 0; i < 60; ++i)
        EXPECT_FALSE(empty.Tick());
    EXPECT_EQ(empty.ScrollPosition(), 60);
}

TEST(CreditsDialog, NameAndBitmapLinesAreDrawnAsTheyScrollIn) {
    CCreditsDlg dialog;
    dialog.AddLine("Tessaran\r");
    dialog.AddLine("tessaran-logo\b");
    for (int i = 0; i < 25 + 30; ++i)
        dialog.Tick();
    const QImage& surface = dialog.Surface();
    ASSERT_EQ(surface.size(), QSize(515, 300));
    // The name, in yellow, within the bottom line only.
    const int yellow = CountPixels(surface, QColor(255, 255, 0), 0);
    EXPECT_GT(yellow, 50);
    EXPECT_EQ(CountPixels(surface, QColor(255, 255, 0), 300 - 31), yellow);

    // The bitmap line follows, as high as its image, and shows its yellow trace.
    dialog.Tick();
    ASSERT_TRUE(dialog.Scroller().BitmapInProgress());
    const int height = dialog.Scroller().LineHeight();
    EXPECT_EQ(height, QImage(":/credits/tessaran-logo.png").height());
    for (int i = 1; i < height; ++i)
        dialog.Tick();
    EXPECT_FALSE(dialog.Scroller().BitmapInProgress());
    EXPECT_GT(CountPixels(surface, QColor(255, 220, 0), 300 - height), 20);
}

TEST(CreditsDialog, TimerScrollsUntilAMissingBitmapStopsIt) {
    RecordingMessageSink sink;
    CCreditsDlg dialog;
    dialog.AddLine("nosuchbitmap\b");
    dialog.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog.IsScrolling(); }, 5000));
    const int scrolled = dialog.Scroller().ScrollPosition();
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, "Could not find bitmap resource \"nosuchbitmap\". Be sure to "
                                     "assign the bitmap a QUOTED resource name");
    dialog.Tick();
    EXPECT_EQ(dialog.Scroller().ScrollPosition(), scrolled);
    EXPECT_EQ(sink.messages.size(), 1u);
}
