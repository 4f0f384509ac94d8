#include "platform/ui/picture_box.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

picture::Picture twoColours() {
    // Left half red, right half blue, 4 × 2.
    QImage image(4, 2, QImage::Format_RGB32);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x) {
            image.setPixel(x, y, x < 2 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
        }
    }
    return picture::Picture::fromImage(image);
}

QImage render(PictureBox& box) {
    QImage out(box.size(), QImage::Format_RGB32);
    out.fill(Qt::green);
    box.render(&out, QPoint(), QRegion(), QWidget::RenderFlags());
    return out;
}

TEST(PictureBoxTest, StretchedFillsTheBox) {
    PictureBox box;
    box.resize(40, 20);
    box.setStretch(true);
    box.setPicture(twoColours());
    const QImage out = render(box);
    EXPECT_EQ(out.pixel(5, 10), qRgb(255, 0, 0));
    EXPECT_EQ(out.pixel(34, 10), qRgb(0, 0, 255));
    EXPECT_EQ(out.pixel(39, 19), qRgb(0, 0, 255));
}

TEST(PictureBoxTest, NaturalSizeFromTopLeft) {
    PictureBox box;
    box.resize(40, 20);
    box.setPicture(twoColours());
    EXPECT_FALSE(box.stretch());
    const QImage out = render(box);
    EXPECT_EQ(out.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(out.pixel(3, 1), qRgb(0, 0, 255));
    EXPECT_TRUE(out.pixel(10, 10) != qRgb(0, 0, 255));
    EXPECT_EQ(box.sizeHint(), QSize(4, 2));
}

TEST(PictureBoxTest, ClearRemovesThePicture) {
    PictureBox box;
    box.resize(10, 10);
    box.setStretch(true);
    box.setPicture(twoColours());
    box.clear();
    EXPECT_TRUE(box.picture().isEmpty());
    const QImage out = render(box);
    EXPECT_TRUE(out.pixel(1, 1) != qRgb(255, 0, 0));
}

TEST(PictureBoxTest, ClickedOnLeftClickOnly) {
    PictureBox box;
    box.resize(30, 30);
    box.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&box));
    QSignalSpy spy(&box, &PictureBox::clicked);
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(spy.count(), 1);
    QTest::mouseClick(&box, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(spy.count(), 1);
    // Pressed inside, released outside: no click.
    QTest::mousePress(&box, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(&box, Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_EQ(spy.count(), 1);
}

} // namespace
