#include "controls/qt/ImageButton.h"

#include <QTest>

#include <gtest/gtest.h>

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

} // namespace

TEST(ImageButton, MaskColourShowsTheButtonFace) {
    CImageButton plain;
    CImageButton button;
    for (CImageButton* b : {&plain, &button})
        b->resize(40, 30);
    EXPECT_FALSE(button.SetBitmap(QImage(), 16, 16));
    EXPECT_FALSE(button.SetBitmap(999999, 16, 16));
    EXPECT_FALSE(button.HasImage());
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

    // Disabled, the image is drawn greyed out.
    button.setEnabled(false);
    const QColor centre = button.grab().toImage().pixelColor(image.center());
    EXPECT_LT(std::abs(centre.red() - centre.green()), 60);
}
