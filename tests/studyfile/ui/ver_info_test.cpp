// The information screen through main-screen entry 6: every text of a compressed study file with
// a picture, a study file without cards, the chart, the zooms, and the card table left as it was.
#include "support/layout_check.h"
#include "support/screen_fixture.h"

#include "platform/ui/help_window.h"
#include "platform/ui/picture_box.h"
#include "studyfile/study_file_info.h"
#include "studyfile/ui/level_chart.h"
#include "studyfile/ui/ver_info.h"
#include "viewers/picture_fit.h"
#include "viewers/ui/imag_zoom.h"
#include "viewers/ui/text_zoom.h"

#include <QAccessible>
#include <QGroupBox>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTextBrowser>
#include <QTextEdit>
#include <QToolTip>

using review_test::Card;

namespace {

TVer_Info_& asInfo(QDialog& d) {
    return static_cast<TVer_Info_&>(d);
}

// Every text of the screen in the order of studyfile::infoScreenTexts.
QStringList shownTexts(TVer_Info_& s) {
    QStringList texts{s.Label8->text()};
    for (int row = 0; row < s.SG->rowCount(); ++row)
        for (int column = 0; column < 2; ++column)
            texts << s.SG->item(row, column)->text();
    texts << s.Label7->text() << s.GroupBox2->title();
    for (QLabel* line : s.levelLabels())
        texts << line->text();
    return texts;
}

QString bar(int letters) {
    return QString(letters, u'l');
}

void writeImage(const QString& path, int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(200, 60, 40));
    ASSERT_TRUE(image.save(path, "BMP")) << path.toStdString();
}

} // namespace

class VerInfoTest : public review_test::ScreenTest {
protected:
    TVer_Info_& info() { return program->ver_Info(); }
    // Entry 6 with `script` run while the screen is open.
    void openInfo(ScriptedUi::ScreenScript script) {
        ui.queueScreen("TVer_Info_", std::move(script));
        QTest::keyClick(&main(), '6');
    }
};

TEST_F(VerInfoTest, EveryTextOfACompressedStudyFileWithAPicture) {
    studyfile::DesignOptions design;
    design.compressed = true;
    design.importanceLevel = true;
    const QString path = makeStudyFile("Curso",
                                       {{"p0", "r", 0, "", 0},
                                        {"p1", "r", 1, "20240301", 3},
                                        {"p2", "r", 1, "20240301", 1},
                                        {"p3", "r", 2, "20240302", 2},
                                        {"p4", "r", 6, "20240303", 5},
                                        {"p5", "r", 8, "20240304", 4}},
                                       design);
    writeImage(dat("Curso.BMP"), 600, 400);
    startWith(path);

    // A selection in force and the table on its second card: neither changes a count, and the
    // screen changes neither.
    table::Table& t = cards();
    const QString selection = QStringLiteral(" (Nive_fich <> 0 ) and (Nive_fich <= 2)");
    t.setFilter(selection);
    t.next();
    const qint64 current = t.bookmark();
    int loads = 0;
    program->data().cardLoader = [&] { ++loads; };

    openInfo([&](QDialog& d) {
        TVer_Info_& s = asInfo(d);
        const QStringList expected = {
            " Nombre del Fichero:    Curso",
            " Tamaño de la Pregunta: ",
            " 60",
            " Imagen en la Pregunta:",
            " NO",
            " Tamaño de la Respuesta:",
            " 100",
            " Imagen en la Respuesta:",
            " NO",
            " Texto Largo en Respuesta:",
            " NO",
            "",
            "",
            " Nivel de Importancia:",
            " SI",
            " Clave para Seleccionar:",
            " SI",
            "",
            "",
            " Comprimido:",
            " SI",
            " Con Contraseña:",
            " NO",
            "",
            "",
            " Puede ser Exportado:",
            " SI",
            " Modificar o Borrar Fichas:",
            " SI",
            " Puede ser Imprimido:",
            " SI",
            "",
            "",
            " Nº total de Fichas:",
            " 6",
            " Fichas en Nivel 0:",
            " 1",
            " Con Compresión/Contraseña:",
            " 6",
            " Sin Comprimir ni Contraseña:",
            " 0",
            " Las fichas de este fichero se han repasado un total de 15 veces.  ",
            " Nº de Fichas en cada Nivel:    ( Total: 6 fichas ) ",
            "Nivel 0: " + bar(15) + "   1      (17 %)",
            "Nivel 1: " + bar(28) + "   2      (33 %)",
            "Nivel 2: " + bar(15) + "   1      (17 %)",
            "Nivel 3:     0      (0 %)",
            "Nivel 4:     0      (0 %)",
            "Nivel 5:     0      (0 %)",
            "Nivel 6: " + bar(28) + "   2      (33 %)",
        };
        EXPECT_EQ(shownTexts(s), expected);
        EXPECT_EQ(s.Label15->text(), "(o mayor)");
        EXPECT_EQ(s.windowTitle(), "   Información del Fichero");
        EXPECT_EQ(s.Chart->counts(), (std::array<int, 7>{1, 2, 1, 0, 0, 0, 2}));
        EXPECT_TRUE(s.Chart->notice().isEmpty());
        EXPECT_EQ(s.RichEdit1->toPlainText(), "Descripción");
        EXPECT_TRUE(s.RichEdit1->isReadOnly());
        EXPECT_EQ(s.RichEdit1->textCursor().position(), 0) << "shown from its beginning";
        EXPECT_EQ(s.SG->editTriggers(), QAbstractItemView::NoEditTriggers);
        EXPECT_EQ(s.focusWidget(), s.Button1);

        // The picture: a copy of the main screen's, fitted into its box (picture 9).
        EXPECT_FALSE(s.Image1->isHidden());
        EXPECT_EQ(s.Image1->picture().width(), 600);
        const FitBox box = fitBoxForPicture(picture_number::information);
        EXPECT_EQ(s.Image1->geometry(),
                  AdaptaImagen(box.width, box.height, box.left, box.top, 600, 400));
        // A click zooms it, as the information screen's picture; the screen activates again
        // when the zoom closes, and fills its texts afresh.
        s.Label8->clear();
        s.Button4->setFocus();
        emit s.Image1->clicked();
        EXPECT_EQ(program->imag_Zoom().source(), picture_number::information);
        EXPECT_EQ(program->imag_Zoom().Image1->picture().width(), 600);
        EXPECT_EQ(s.Label8->text(), expected[0]);
        EXPECT_EQ(s.focusWidget(), s.Button1);
        return QDialog::Rejected;
    });
    EXPECT_EQ(ui.screens(), (QStringList{"TVer_Info_", "TImag_Zoom_"}));
    EXPECT_TRUE(ui.errors().isEmpty()) << ui.errors().join(" | ").toStdString();
    EXPECT_TRUE(ui.messages().isEmpty()) << ui.messages().join(" | ").toStdString();

    EXPECT_EQ(t.filter(), selection);
    EXPECT_TRUE(t.filtered());
    EXPECT_EQ(t.bookmark(), current);
    EXPECT_EQ(loads, 0) << "no card was loaded";
}

// With no cards: zeros, the total appended once however often the screen activates, seven empty
// level lines and "Sin fichas" in the chart; no picture.
TEST_F(VerInfoTest, AStudyFileWithoutCards) {
    startWith(makeStudyFile("Vacio", {}));
    for (int opening = 0; opening < 2; ++opening) {
        openInfo([&](QDialog& d) {
            TVer_Info_& s = asInfo(d);
            // A second activation: the text zoom closes.
            s.Button4->click();
            EXPECT_FALSE(program->text_Zoom().editable());
            EXPECT_EQ(program->text_Zoom().RichEdit1->toPlainText(), "Descripción");
            EXPECT_TRUE(program->text_Zoom().RichEdit1->isReadOnly());
            return QDialog::Rejected;
        });
    }
    EXPECT_EQ(ui.screens(),
              (QStringList{"TVer_Info_", "TText_Zoom_", "TVer_Info_", "TText_Zoom_"}));
    TVer_Info_& s = info();
    for (int row = 16; row <= 19; ++row)
        EXPECT_EQ(s.SG->item(row, 1)->text(), " 0") << row;
    EXPECT_EQ(s.Label7->text(),
              " Las fichas de este fichero se han repasado un total de 0 veces.  ");
    EXPECT_EQ(s.GroupBox2->title(), " Nº de Fichas en cada Nivel:    ( Total: 0 fichas ) ");
    const auto lines = s.levelLabels();
    for (int level = 0; level < 7; ++level)
        EXPECT_EQ(lines[std::size_t(level)]->text(),
                  QStringLiteral("Nivel %1:     0      (0 %)").arg(level));
    EXPECT_EQ(s.Chart->notice(), "Sin fichas");
    EXPECT_TRUE(s.Image1->isHidden());
    emit s.Image1->clicked(); // an empty picture opens nothing
    EXPECT_EQ(ui.screens().count("TImag_Zoom_"), 0);
}

// A study file without picture, opened after one with a picture, shows none.
TEST_F(VerInfoTest, ThePictureIsTheOpenStudyFilesOwn) {
    const QString pictured = makeStudyFile("Fotos", {{"p", "r"}});
    writeImage(dat("fotos.bmp"), 100, 50);
    const QString plain = makeStudyFile("Texto", {{"p", "r"}});
    startWith(pictured);
    EXPECT_FALSE(info().Image1->isHidden());
    EXPECT_EQ(info().Image1->geometry(), QRect(4 + 172, 22 + 96, 100, 50));
    ui.queueFile(plain);
    QTest::keyClick(&main(), '1');
    ASSERT_EQ(program->state().studyFileName, "Texto");
    EXPECT_TRUE(info().Image1->isHidden());
    EXPECT_TRUE(info().Image1->picture().isEmpty());
}

// The blink notice's flag skips one activation: the texts stay as they are until the next.
TEST_F(VerInfoTest, AnActivationAfterTheBlinkNoticeIsSkippedOnce) {
    startWith(makeStudyFile("Curso", {{"p", "r"}}));
    openInfo([&](QDialog& d) {
        TVer_Info_& s = asInfo(d);
        const QString name = s.Label8->text();
        EXPECT_EQ(name, " Nombre del Fichero:    Curso") << "the opening is never skipped";
        s.Label8->clear();
        program->state().skipNextActivation = true;
        program->activateTop();
        EXPECT_TRUE(s.Label8->text().isEmpty());
        EXPECT_FALSE(program->state().skipNextActivation);
        program->activateTop();
        EXPECT_EQ(s.Label8->text(), name);
        return QDialog::Rejected;
    });
}

TEST_F(VerInfoTest, HelpSalirAndEsc) {
    startWith(makeStudyFile("Curso", {{"p", "r"}}));
    openInfo([](QDialog& d) {
        asInfo(d).Button3->click();
        d.show();
        asInfo(d).Button1->click();
        EXPECT_FALSE(d.isVisible());
        return d.result();
    });
    ASSERT_NE(program->helpWindow(), nullptr);
    EXPECT_EQ(program->helpWindow()->currentContext(), 14);
    EXPECT_TRUE(program->helpWindow()->Browser->toPlainText().contains("Gráfico de barras"));
    EXPECT_EQ(program->stackDepth(), 1);
    EXPECT_EQ(info().Button1->text(), "&Salir");
    EXPECT_EQ(info().Button3->text(), "&Ayuda");
    EXPECT_EQ(info().Button4->text(), "&Zoom");

    bool visible = false;
    openInfo([&](QDialog& d) {
        d.show();
        QTest::keyClick(&d, Qt::Key_Escape);
        visible = d.isVisible();
        return d.result();
    });
    EXPECT_FALSE(visible) << "Esc closes the screen";
}

// The design area holds every control without overlap, the longest level line included, and the
// screen is drawn (a picture of it lands in the test output folder).
TEST_F(VerInfoTest, LayoutFitsTheDesignArea) {
    // Every card at level 1: the longest bar (84 letters) and a count of five digits.
    std::vector<Card> many(3, Card{"p", "r", 1});
    const QString path = makeStudyFile("Curso", many);
    {
        table::Table t;
        t.open(dat(), "Curso.DB");
        table::BatchScope batch(t);
        for (int i = 0; i < 12000; ++i) {
            t.append();
            t.fieldByName("Nive_Fich").setInteger(1);
            t.fieldByName("Preg_Text").setString("x");
            t.fieldByName("Total_Repa").setInteger(30000);
            t.post();
        }
    }
    writeImage(dat("Curso.BMP"), 900, 300);
    startWith(path);
    openInfo([](QDialog& d) {
        TVer_Info_& s = asInfo(d);
        s.setWindowState(Qt::WindowNoState);
        s.resize(1024, 768);
        s.show();
        EXPECT_EQ(s.Label9->text(), "Nivel 1: " + bar(84) + "   12003      (100 %)");
        EXPECT_GE(expectControlsFit(s, *s.Panel1, QRect(0, 0, 1024, 768)), 8);
        EXPECT_GE(expectControlsFit(s, *s.GroupBox2,
                                    QRect(s.GroupBox2->mapTo(&s, QPoint()), s.GroupBox2->size())),
                  9);
        EXPECT_GE(expectControlsFit(s, *s.GroupBox1,
                                    QRect(s.GroupBox1->mapTo(&s, QPoint()), s.GroupBox1->size())),
                  2);
        const QImage shot = s.grab().toImage();
        QDir().mkpath(ORBANEL_TEST_OUTPUT);
        EXPECT_TRUE(shot.save(QDir(ORBANEL_TEST_OUTPUT).filePath("ver_info.png")));
        s.hide();
        return QDialog::Rejected;
    });
}

// The chart on its own: bars proportional to their counts, the tallest filling the plot, grey
// for level 0, tooltips with the level lines, an accessible description of the seven counts.
TEST(LevelChartTest, BarsAreProportionalToTheCounts) {
    LevelChart chart;
    chart.resize(308, 180);
    const std::array<int, 7> counts{2, 8, 4, 0, 1, 0, 6};
    chart.setCounts(counts, 21);
    const QRect plot = chart.plotRect();
    ASSERT_GT(plot.height(), 100);
    EXPECT_EQ(chart.barRect(1).height(), plot.height()) << "the largest count fills the plot";
    for (int line = 0; line < 7; ++line) {
        const QRect bar = chart.barRect(line);
        SCOPED_TRACE(line);
        EXPECT_NEAR(bar.height(), double(counts[std::size_t(line)]) * plot.height() / 8, 1.0);
        EXPECT_EQ(bar.bottom(), plot.bottom()) << "every bar stands on the baseline";
        EXPECT_TRUE(chart.rect().contains(bar) || bar.height() == 0);
        if (line > 0) {
            EXPECT_GT(bar.left(), chart.barRect(line - 1).right());
        }
        EXPECT_EQ(chart.barToolTip(line),
                  studyfile::levelLine(line, counts[std::size_t(line)], 21));
    }
    EXPECT_EQ(LevelChart::levelName(0), "0");
    EXPECT_EQ(LevelChart::levelName(6), "6+");
    EXPECT_EQ(chart.objectName(), "LevelChart");
    EXPECT_EQ(chart.accessibleDescription(),
              "Nivel 0: 2 fichas; Nivel 1: 8 fichas; Nivel 2: 4 fichas; Nivel 3: 0 fichas; "
              "Nivel 4: 1 ficha; Nivel 5: 0 fichas; Nivel 6 o mayor: 6 fichas.");
    EXPECT_TRUE(chart.barRect(7).isNull());

    // Drawn: level 0 grey, the others navy.
    const QImage image = chart.grab().toImage();
    EXPECT_EQ(image.pixelColor(chart.barRect(0).center()), QColor(128, 128, 128));
    EXPECT_EQ(image.pixelColor(chart.barRect(1).center()), QColor(0, 0, 128));

    // A tooltip over a bar tells its level line.
    chart.show();
    const QPoint at = chart.barRect(2).center();
    QHelpEvent help(QEvent::ToolTip, at, chart.mapToGlobal(at));
    QApplication::sendEvent(&chart, &help);
    EXPECT_EQ(QToolTip::text(), chart.barToolTip(2));
    QToolTip::hideText();
}

TEST(LevelChartTest, PaintsAtAnySizeDownTo60By40) {
    LevelChart chart;
    chart.setCounts({0, 100000, 3, 0, 0, 0, 1}, 100004);
    for (const QSize size : {QSize(60, 40), QSize(61, 45), QSize(80, 40), QSize(200, 41),
                             QSize(60, 300), QSize(1000, 40)}) {
        SCOPED_TRACE(QStringLiteral("%1 x %2").arg(size.width()).arg(size.height()).toStdString());
        chart.resize(size);
        const QImage image = chart.grab().toImage();
        EXPECT_EQ(image.size(), size);
        const QRect plot = chart.plotRect();
        EXPECT_GT(plot.height(), 0);
        EXPECT_TRUE(chart.rect().contains(plot));
        for (int line = 0; line < 7; ++line) {
            const QRect bar = chart.barRect(line);
            EXPECT_GE(bar.width(), 1);
            EXPECT_GE(bar.left(), 0);
            EXPECT_LE(bar.right(), size.width() - 1);
            EXPECT_GE(bar.top(), plot.top());
        }
        EXPECT_GE(chart.barRect(6).height(), 1) << "one card still shows";
    }
}

TEST(LevelChartTest, WithoutCardsTheBaselineAndSinFichas) {
    LevelChart chart;
    chart.resize(308, 180);
    chart.setCounts({}, 0);
    EXPECT_TRUE(chart.empty());
    EXPECT_EQ(chart.notice(), "Sin fichas");
    for (int line = 0; line < 7; ++line)
        EXPECT_EQ(chart.barRect(line).height(), 0);
    // Something is written in the middle of the plot.
    const QImage image = chart.grab().toImage();
    const QColor ground = image.pixelColor(2, 2);
    const QRect plot = chart.plotRect();
    int ink = 0;
    for (int y = plot.top(); y < plot.bottom(); ++y)
        for (int x = plot.left(); x < plot.right(); ++x)
            ink += image.pixelColor(x, y) != ground;
    EXPECT_GT(ink, 20);
    chart.setCounts({0, 1, 0, 0, 0, 0, 0}, 1);
    EXPECT_TRUE(chart.notice().isEmpty());
}
