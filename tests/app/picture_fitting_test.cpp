#include "app/prepara_imagen.h"
#include "platform/ui/picture_box.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

picture::Picture sized(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::red);
    return picture::Picture::fromImage(image);
}

TEST(PictureFittingTest, FitsItsOwnPicture) {
    QWidget parent;
    PictureBox box(&parent);
    box.setPicture(sized(1200, 900));
    EXPECT_FALSE(box.stretch());
    AdaptaImagen(981, 333, 8, 101, box, box);
    EXPECT_EQ(box.geometry(), QRect(276, 101, 444, 333));
    EXPECT_TRUE(box.stretch());
}

// The main screen's pages 2 and 3 take the size of page 1's picture.
TEST(PictureFittingTest, SizeFromTheSource) {
    QWidget parent;
    PictureBox source(&parent);
    PictureBox target(&parent);
    source.setPicture(sized(100, 50));
    target.setPicture(sized(2000, 2000));
    AdaptaImagen(981, 333, 8, 101, source, target);
    EXPECT_EQ(target.geometry(), QRect(448, 242, 100, 50));
    EXPECT_TRUE(target.stretch());
    EXPECT_FALSE(source.stretch());
}

TEST(PictureFittingTest, EmptyPictureShrinksToTheCentre) {
    QWidget parent;
    PictureBox box(&parent);
    box.setGeometry(0, 0, 300, 300);
    AdaptaImagen(608, 437, 352, 15, box, box);
    EXPECT_EQ(box.geometry(), QRect(656, 233, 0, 0));
}

} // namespace
