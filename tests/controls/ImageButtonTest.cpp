#include "ActiveWindow.h"

#include "controls/qt/ImageButton.h"

#include <QMouseEvent>
#include <QSignalSpy>

namespace {

// 16 x 16 light grey with a red 6 x 6 square in the middle.
QImage GreyWithRedSquare() {
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(QColor(192, 192, 192));
    for (int y = 5; y < 11; ++y)
        for (int x = 5; x < 11; ++x)
            image.setPixelColor(x, y, QColor(255, 0, 0));
    return image;
}

void SendMouse(QWidget* widget, QEvent::Type type, QPoint pos) {
    QMouseEvent event(type, pos, widget->mapToGlobal(pos), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

} // namespace

TEST(ImageButton, MaskColourShowsTheButtonFace) {
    CImageButton plain;
    CImageButton button;
    for (CImageButton* b : {&plain, &button})
        b->resize(40, 30);
    ASSERT_TRUE(button.SetBitmap(GreyWithRedSquare(), 16, 16, MakeColourRef(192, 192, 192)));
    const QRect image = button.ImageRect();
    EXPECT_EQ(image, QRect(12, 7, 16, 16)); // centred without text

    const QImage withBitmap = button.grab().toImage();
    const QImage face = plain.grab().toImage();
    for (const QPoint corner :
         {image.topLeft(), image.bottomRight(), image.topLeft() + QPoint(2, 12)})
        EXPECT_EQ(withBitmap.pixelColor(corner), face.pixelColor(corner))
            << corner.x() << "," << corner.y();
    EXPECT_EQ(withBitmap.pixelColor(image.center()), QColor(255, 0, 0));
}

TEST(ImageButton, DisabledButtonDrawsTheImageGreyedOut) {
    CImageButton button;
    button.resize(40, 30);
    ASSERT_TRUE(button.SetBitmap(GreyWithRedSquare(), 16, 16));
    button.setEnabled(false);
    const QColor centre = button.grab().toImage().pixelColor(button.ImageRect().center());
    EXPECT_NE(centre, QColor(255, 0, 0));
    EXPECT_LT(std::abs(centre.red() - centre.green()), 60); // no longer a strong red
}

TEST(ImageButton, LayoutGapAndPressedOffset) {
    CImageButton button("&Analyse");
    button.resize(100, 30);
    ASSERT_TRUE(button.SetBitmap(GreyWithRedSquare(), 16, 16));
    EXPECT_EQ(button.ImageRect(), QRect(4, 7, 16, 16));
    button.setDown(true);
    EXPECT_EQ(button.ImageRect(), QRect(5, 8, 16, 16));
    button.setDown(false);
    button.SetGap(6);
    EXPECT_EQ(button.ImageRect().left(), 6);
    button.SetImagePosition(QPoint(30, 2), QPoint(50, 2));
    EXPECT_EQ(button.ImageRect().topLeft(), QPoint(30, 2));
    EXPECT_GT(button.sizeHint().width(), CImageButton("&Analyse").sizeHint().width());
}

TEST(ImageButton, MissingImageIsReported) {
    CImageButton button;
    EXPECT_FALSE(button.SetBitmap(QImage(), 16, 16));
    EXPECT_FALSE(button.SetBitmap(999999, 16, 16));
    EXPECT_FALSE(button.HasImage());
    EXPECT_FALSE(button.SetIcon(QIcon(), 16, 16));
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::blue);
    EXPECT_TRUE(button.SetIcon(QIcon(pixmap), 16, 16));
    EXPECT_EQ(button.ImageSize(), QSize(16, 16));
}

TEST(ImageButton, EnterClicksIt) {
    CImageButton button("Go");
    QSignalSpy clicked(&button, &QPushButton::clicked);
    QTest::keyClick(&button, Qt::Key_Return);
    QTest::keyClick(&button, Qt::Key_Enter);
    EXPECT_EQ(clicked.count(), 2);
    button.setEnabled(false);
    QTest::keyClick(&button, Qt::Key_Return);
    EXPECT_EQ(clicked.count(), 2);
}

TEST(ImageButton, DoubleClickGivesTwoPresses) {
    ActiveWindow w;
    auto* button = w.Add(new CImageButton("Add"));
    ASSERT_TRUE(w.ShowActive());
    QSignalSpy clicked(button, &QPushButton::clicked);
    const QPoint centre = button->rect().center();
    SendMouse(button, QEvent::MouseButtonPress, centre);
    SendMouse(button, QEvent::MouseButtonRelease, centre);
    SendMouse(button, QEvent::MouseButtonDblClick, centre);
    SendMouse(button, QEvent::MouseButtonRelease, centre);
    EXPECT_EQ(clicked.count(), 2);
}
