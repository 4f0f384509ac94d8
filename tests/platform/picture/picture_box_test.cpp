#include "platform/picture/picture_box.h"

#include <QSignalSpy>
#include <QTest>

class PictureBoxTest : public QObject {
    Q_OBJECT
private:
    static Picture twoColours() {
        // Left half red, right half blue, 4 × 2.
        QImage image(4, 2, QImage::Format_RGB32);
        for (int y = 0; y < 2; ++y) {
            for (int x = 0; x < 4; ++x) {
                image.setPixel(x, y, x < 2 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
            }
        }
        return Picture::fromImage(image);
    }

    static QImage render(PictureBox& box) {
        QImage out(box.size(), QImage::Format_RGB32);
        out.fill(Qt::green);
        box.render(&out, QPoint(), QRegion(), QWidget::RenderFlags());
        return out;
    }

private slots:
    void stretchedFillsTheBox() {
        PictureBox box;
        box.resize(40, 20);
        box.setStretch(true);
        box.setPicture(twoColours());
        const QImage out = render(box);
        QCOMPARE(out.pixel(5, 10), qRgb(255, 0, 0));
        QCOMPARE(out.pixel(34, 10), qRgb(0, 0, 255));
        QCOMPARE(out.pixel(39, 19), qRgb(0, 0, 255));
    }

    void naturalSizeFromTopLeft() {
        PictureBox box;
        box.resize(40, 20);
        box.setPicture(twoColours());
        QVERIFY(!box.stretch());
        const QImage out = render(box);
        QCOMPARE(out.pixel(0, 0), qRgb(255, 0, 0));
        QCOMPARE(out.pixel(3, 1), qRgb(0, 0, 255));
        QVERIFY(out.pixel(10, 10) != qRgb(0, 0, 255));
        QCOMPARE(box.sizeHint(), QSize(4, 2));
    }

    void clearRemovesThePicture() {
        PictureBox box;
        box.resize(10, 10);
        box.setStretch(true);
        box.setPicture(twoColours());
        box.clear();
        QVERIFY(box.picture().isEmpty());
        const QImage out = render(box);
        QVERIFY(out.pixel(1, 1) != qRgb(255, 0, 0));
    }

    void clickedOnLeftClickOnly() {
        PictureBox box;
        box.resize(30, 30);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QSignalSpy spy(&box, &PictureBox::clicked);
        QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(spy.count(), 1);
        QTest::mouseClick(&box, Qt::RightButton, {}, QPoint(10, 10));
        QCOMPARE(spy.count(), 1);
        // Pressed inside, released outside: no click.
        QTest::mousePress(&box, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseRelease(&box, Qt::LeftButton, {}, QPoint(50, 50));
        QCOMPARE(spy.count(), 1);
    }
};

QTEST_MAIN(PictureBoxTest)
#include "picture_box_test.moc"
