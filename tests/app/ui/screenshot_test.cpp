// Renders the screens offscreen to PNG files in the test output folder, so that they can be
// looked at, and checks that what was drawn is a real picture of the screen.
#include "support/app_fixture.h"

#include "app/ui/acerca_de.h"
#include "app/ui/mensaje.h"
#include "app/ui/panta_inicio.h"
#include "app/ui/passw_fe.h"
#include "platform/ui/picture_box.h"

#include <QImage>
#include <QLabel>
#include <QSet>
#include <QTabWidget>

namespace {

QString outputPath(const QString& name) {
    QDir().mkpath(ORBANEL_TEST_OUTPUT);
    return QDir(ORBANEL_TEST_OUTPUT).filePath(name + ".png");
}

int distinctColours(const QImage& image) {
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            colours.insert(image.pixel(x, y));
    return int(colours.size());
}

// Pixels of `colour` inside `area` of `image`.
int pixelsOf(const QImage& image, const QRect& area, const QColor& colour) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y) == colour)
                ++count;
    return count;
}

} // namespace

TEST_F(AppTest, MainScreenPagesRenderTheirEntries) {
    QImage picture(640, 480, QImage::Format_RGB32);
    picture.fill(QColor(30, 120, 60));
    ASSERT_TRUE(picture.save(QDir(folder.path()).filePath("Image.BMP"), "BMP"));
    TPanta_Inicio_& main = start().mainScreen();
    main.showNormal();
    main.resize(1100, 820);

    const QColor colours[] = {QColor(0, 0, 128), QColor(0, 0, 255), QColor(128, 0, 128)};
    QLabel* firstEntries[] = {main.Label5, main.Label16, main.Label22};
    for (int page = 0; page < 3; ++page) {
        main.PageControl1->setCurrentIndex(page);
        const QImage shot = main.grab().toImage();
        ASSERT_TRUE(shot.save(outputPath(QString("main_page%1").arg(page + 1))));
        EXPECT_GT(distinctColours(shot), 8) << "page " << page + 1;
        // The first entry is drawn in its page colour.
        const QRect entry(firstEntries[page]->mapTo(&main, QPoint(0, 0)),
                          firstEntries[page]->size());
        EXPECT_GT(pixelsOf(shot, entry, colours[page]), 40) << "page " << page + 1;
        // The picture (shrunk to 608 x 456... 582 x 437) is there.
        const QRect box(main.Image1->mapTo(&main, QPoint(0, 0)), main.Image1->size());
        EXPECT_GT(box.width(), 500);
        EXPECT_GT(pixelsOf(shot, box.adjusted(20, 20, -20, -20), QColor(30, 120, 60)), 10000);
    }
    // The panel is centred in the window.
    const QPoint panel = main.Panel1->mapTo(&main, QPoint(0, 0));
    EXPECT_EQ(panel.x(), (main.centralWidget()->width() - 1024) / 2);
}

TEST_F(AppTest, DialogsRender) {
    Program& p = start();
    p.Ver_Mensaje("El Fichero de Estudio está incompleto.");
    TMensaje& m = p.mensaje();
    const QImage message = m.grab().toImage();
    ASSERT_TRUE(message.save(outputPath("message")));
    EXPECT_GT(pixelsOf(message, message.rect(), Qt::white), 50);
    EXPECT_GT(pixelsOf(message, message.rect(), Qt::yellow), 50);
    EXPECT_GT(pixelsOf(message, message.rect(), QColor(177, 0, 221)), message.width() * 20);

    TPassw_FE_& d = p.passw_FE();
    d.FormActivate();
    const QImage password = d.grab().toImage();
    ASSERT_TRUE(password.save(outputPath("password")));
    EXPECT_GT(distinctColours(password), 4);

    TAcercaDe_& about = p.acercaDe();
    about.FormActivate();
    const QImage aboutShot = about.grab().toImage();
    ASSERT_TRUE(aboutShot.save(outputPath("about")));
    EXPECT_GT(pixelsOf(aboutShot, aboutShot.rect(), Qt::yellow), 50);
}
