#include "platform/picture/picture_box.h"
#include "viewers/picture_fitting.h"

#include <QTest>

class PictureFittingTest : public QObject {
    Q_OBJECT
private:
    static Picture sized(int w, int h) {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(Qt::red);
        return Picture::fromImage(image);
    }

private slots:
    void fitsItsOwnPicture() {
        QWidget parent;
        PictureBox box(&parent);
        box.setPicture(sized(1200, 900));
        QVERIFY(!box.stretch());
        AdaptaImagen(981, 333, 8, 101, box, box);
        QCOMPARE(box.geometry(), QRect(276, 101, 444, 333));
        QVERIFY(box.stretch());
    }

    // The main screen's pages 2 and 3 take the size of page 1's picture.
    void sizeFromTheSource() {
        QWidget parent;
        PictureBox source(&parent);
        PictureBox target(&parent);
        source.setPicture(sized(100, 50));
        target.setPicture(sized(2000, 2000));
        AdaptaImagen(981, 333, 8, 101, source, target);
        QCOMPARE(target.geometry(), QRect(448, 242, 100, 50));
        QVERIFY(target.stretch());
        QVERIFY(!source.stretch());
    }

    void emptyPictureShrinksToTheCentre() {
        QWidget parent;
        PictureBox box(&parent);
        box.setGeometry(0, 0, 300, 300);
        AdaptaImagen(608, 437, 352, 15, box, box);
        QCOMPARE(box.geometry(), QRect(656, 233, 0, 0));
    }
};

QTEST_MAIN(PictureFittingTest)
#include "picture_fitting_test.moc"
