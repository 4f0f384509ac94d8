// The group entry screen through the scripted Ui: what it stores and when it refuses, the group
// text file written and read, the open cell editor committed by every way out, the importance
// column's key filter; and entries 5 and 6 end to end.
#include "support/card_rows.h"
#include "support/layout_check.h"
#include "support/screen_fixture.h"

#include "app/ui/panta_inicio.h"
#include "editing/ui/anade_n_grupo.h"
#include "platform/rtf/rtf.h"
#include "platform/text_file.h"
#include "platform/ui/help_window.h"
#include "studyfile/font_style.h"
#include "studyfile/ui/ver_info.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTextCursor>
#include <QTextDocument>

#include <sqlite3.h>

using review_test::Card;

namespace {

const QString kNothing = QStringLiteral("\r\rNo se ha guardado ninguna ficha.");

void showActive(QDialog& d) {
    d.show();
    d.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&d));
}

QLineEdit* openEditor(TAnade_n_Grupo& s) {
    return qobject_cast<QLineEdit*>(s.StringGrid1->indexWidget(s.StringGrid1->currentIndex()));
}

// Types into a cell as the learner does: the cell becomes current, its editor opens and takes the
// text; nothing reaches the cell until the editor is committed.
void type(TAnade_n_Grupo& s, int row, int column, const QString& text) {
    s.StringGrid1->setCurrentCell(row, column);
    QLineEdit* e = openEditor(s);
    ASSERT_NE(e, nullptr) << "no editor at " << row << "," << column;
    e->setText(text);
}

QString cell(TAnade_n_Grupo& s, int row, int column) {
    return s.StringGrid1->item(row, column)->text();
}

studyfile::DesignOptions keyAndImportance() {
    studyfile::DesignOptions d;
    d.cardKey = true;
    d.importanceLevel = true;
    return d;
}

} // namespace

class GroupEntryTest : public review_test::ScreenTest {
protected:
    void open(const studyfile::DesignOptions& design = keyAndImportance(),
              const QString& password = QString()) {
        path = makeStudyFile("Curso", {}, design, password);
        startWith(path, password);
    }

    TAnade_n_Grupo& screen() { return program->anade_n_Grupo(); }

    // Entry 5 with a script run on the screen, on view and active; the screen is left with
    // "Salir sin guardar" when the script did not close it. Returns the screen's result.
    int entry5(const std::function<void(TAnade_n_Grupo&)>& script) {
        int result = -1;
        ui.queueScreen("TAnade_n_Grupo", [this, script, &result](QDialog& d) {
            showActive(d);
            script(screen());
            if (d.isVisible())
                screen().btnButton9->click();
            result = d.result();
            return result;
        });
        main().Label8Click();
        EXPECT_NE(result, -1) << "entry 5 did not open its screen";
        return result;
    }

    // Every card stored, by question.
    std::map<QString, card_rows::Row> stored() {
        std::map<QString, card_rows::Row> out;
        for (const auto& [key, row] : card_rows::read(path))
            out[QString::fromUtf8(row.at("Preg_Text"))] = row;
        return out;
    }
    int storedCount() { return int(card_rows::read(path).size()); }

    QString importFile(const QString& name) const {
        return QDir(folder.filePath("import")).filePath(name);
    }
    void writeBytes(const QString& file, const QByteArray& bytes) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    QString path;
};

TEST_F(GroupEntryTest, ActivationTitlesColoursAndSharedBoxes) {
    open();
    entry5([](TAnade_n_Grupo& s) {
        EXPECT_EQ(s.windowTitle(), "  Añadir fichas en grupo");
        QTableWidget* g = s.StringGrid1;
        EXPECT_EQ(g->rowCount(), 98);
        EXPECT_EQ(g->columnCount(), 4);
        const QStringList titles{"Pregunta", "Respuesta", "Clave Fich.", "Niv. Import."};
        const int widths[] = {387, 361, 99, 96};
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(g->horizontalHeaderItem(c)->text(), titles[c]);
            EXPECT_EQ(g->columnWidth(c), widths[c]);
        }
        EXPECT_EQ(g->rowHeight(0), 22);
        EXPECT_EQ(g->rowHeight(97), 22);
        EXPECT_EQ(g->editTriggers(), QAbstractItemView::AllEditTriggers);
        EXPECT_TRUE(g->tabKeyNavigation());
        EXPECT_EQ(g->palette().color(QPalette::Base), QColor(156, 206, 154));
        EXPECT_EQ(s.Panel1->palette().color(QPalette::Window), QColor(156, 206, 154));
        EXPECT_EQ(s.palette().color(QPalette::Window), QColor(192, 192, 192));
        EXPECT_TRUE(s.font().bold());
        EXPECT_EQ(s.font().pixelSize(), 16);
        EXPECT_EQ(s.maskedit3->text(), "1");
        EXPECT_EQ(s.edit1->maxLength(), 15);
        EXPECT_TRUE(s.label3->isVisible());
        EXPECT_TRUE(s.maskedit2->isVisible());
        EXPECT_TRUE(s.label6->isVisible());
        EXPECT_TRUE(s.edit1->isVisible());
        // The grid has the focus, its current cell's editor open.
        EXPECT_NE(openEditor(s), nullptr);
        EXPECT_EQ(g->currentRow(), 0);
        EXPECT_EQ(s.button5->text(), "Borra lín&ea");
        EXPECT_EQ(s.buttonbtn1->text(), "G&uarda a archivo TXT (separador &&)");
        EXPECT_EQ(s.buttonbtn2->text(), "&Lee de archivo TXT (separador &&)");
    });
}

TEST_F(GroupEntryTest, BoxesOfOptionsTheStudyFileLacksAreHidden) {
    studyfile::DesignOptions d;
    d.cardKey = false;
    d.importanceLevel = false;
    open(d);
    entry5([](TAnade_n_Grupo& s) {
        EXPECT_FALSE(s.label3->isVisible());
        EXPECT_FALSE(s.maskedit2->isVisible());
        EXPECT_FALSE(s.label6->isVisible());
        EXPECT_FALSE(s.edit1->isVisible());
        EXPECT_TRUE(s.label1->isVisible());
        EXPECT_TRUE(s.maskedit3->isVisible());
    });
}

TEST_F(GroupEntryTest, ControlsFitTheDesignArea) {
    open();
    entry5([](TAnade_n_Grupo& s) {
        s.showNormal();
        s.resize(1024, 740);
        QWidget* area = s.StringGrid1->parentWidget();
        const QRect inside(QPoint(0, 0), s.size());
        EXPECT_GE(expectControlsFit(s, *area, inside), 9);
        EXPECT_GE(expectControlsFit(s, *s.Panel1,
                                    s.Panel1->geometry().translated(area->mapTo(&s, QPoint(0, 0)))),
                  7);
        // Every column and the row numbers fit without a horizontal scroll bar.
        const QTableWidget* g = s.StringGrid1;
        EXPECT_LE(g->verticalHeader()->width() + 387 + 361 + 99 + 96 +
                      g->verticalScrollBar()->sizeHint().width() + 2 * g->frameWidth(),
                  g->width());
    });
}

TEST_F(GroupEntryTest, TextInTheOpenEditorIsStoredByAltG) {
    open();
    entry5([](TAnade_n_Grupo& s) {
        s.StringGrid1->setCurrentCell(0, 0);
        QLineEdit* e = openEditor(s);
        ASSERT_NE(e, nullptr);
        QTest::keyClicks(e, "hola");
        EXPECT_EQ(cell(s, 0, 0), "") << "not yet in the cell";
        // An accelerator clicks its button after the button's press animation.
        QTest::keyClick(e, Qt::Key_G, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor([&s] { return !s.isVisible(); }, 2000));
    });
    EXPECT_EQ(ui.messages(), QStringList{"Se han creado 1 fichas."});
    EXPECT_EQ(stored().count("hola"), 1u);
    EXPECT_TRUE(ui.errors().isEmpty()) << ui.errors().join("|").toStdString();
}

TEST_F(GroupEntryTest, ABadImportanceStoresNothingAndKeepsEveryRow) {
    open();
    entry5([this](TAnade_n_Grupo& s) {
        type(s, 0, 0, "q1");
        type(s, 1, 0, "q2");
        type(s, 2, 0, "q3");
        type(s, 2, 3, "1,5");
        s.btnButton10->click();
        EXPECT_TRUE(s.isVisible());
        EXPECT_EQ(ui.messages(),
                  QStringList{"Fila 3: el nivel de importancia «1,5» no es un número entero "
                              "entre -32768 y 32767." +
                              kNothing});
        EXPECT_EQ(s.StringGrid1->currentRow(), 2);
        EXPECT_EQ(s.StringGrid1->currentColumn(), 3);
        for (int r = 0; r < 3; ++r)
            EXPECT_EQ(cell(s, r, 0), QStringLiteral("q%1").arg(r + 1));
        EXPECT_EQ(cell(s, 2, 3), "1,5");
    });
    EXPECT_EQ(storedCount(), 0);
}

TEST_F(GroupEntryTest, AnEmptyLevelBoxIsRefusedWithTheFocusThere) {
    open();
    entry5([this](TAnade_n_Grupo& s) {
        type(s, 0, 0, "q1");
        s.maskedit3->clear();
        s.btnButton10->click();
        EXPECT_EQ(ui.messages(),
                  QStringList{"Escriba el nivel de las fichas (de 0 a 9) en «Nivel en el "
                              "fichero:»."});
        EXPECT_TRUE(s.maskedit3->hasFocus());
        s.maskedit3->setText("1");
    });
    EXPECT_EQ(storedCount(), 0);
}

TEST_F(GroupEntryTest, AQuestionLongerThanTheQuestionSizeIsRefused) {
    studyfile::DesignOptions d = keyAndImportance();
    d.questionSize = 60;
    open(d);
    entry5([this](TAnade_n_Grupo& s) {
        type(s, 0, 0, QString(60, u'a'));
        type(s, 1, 0, QString(61, u'b'));
        s.btnButton10->click();
        EXPECT_EQ(ui.messages(),
                  QStringList{"Fila 2: la pregunta tiene 61 caracteres y en este Fichero de "
                              "Estudio caben 60." +
                              kNothing});
        EXPECT_EQ(s.StringGrid1->currentRow(), 1);
        EXPECT_EQ(s.StringGrid1->currentColumn(), 0);
    });
    EXPECT_EQ(storedCount(), 0);
}

TEST_F(GroupEntryTest, TheKeyCellWinsOverTheSharedKey) {
    open();
    entry5([](TAnade_n_Grupo& s) {
        s.edit1->setText("tema1");
        type(s, 0, 0, "uno");
        type(s, 0, 2, "tema2");
        type(s, 1, 0, "dos");
        type(s, 2, 1, "solo respuesta");
        s.btnButton10->click();
    });
    EXPECT_EQ(ui.messages(), QStringList{"Se han creado 3 fichas."});
    auto cards = stored();
    ASSERT_EQ(cards.size(), 3u);
    EXPECT_EQ(cards.at("uno").at("Clav_Fich"), "tema2");
    EXPECT_EQ(cards.at("dos").at("Clav_Fich"), "tema1");
    // The row with only an answer: a card with an empty question.
    EXPECT_EQ(cards.at("<blank>").at("Clav_Fich"), "tema1");
    EXPECT_EQ(cards.at("<blank>").at("Nive_Impo"), "<blank>");
    EXPECT_EQ(cards.at("uno").at("Nive_Fich"), "1");
    EXPECT_EQ(cards.at("uno").at("Fech_Crea"), "20240305");
    EXPECT_EQ(cards.at("uno").at("Fech_Prox_Repa"), "<blank>");
    EXPECT_EQ(cards.at("<blank>").at("Resp_Text"), studyfile::shortAnswerBytes("solo respuesta"));
}

TEST_F(GroupEntryTest, WithoutImportanceEveryCardHasImportance0) {
    studyfile::DesignOptions d = keyAndImportance();
    d.importanceLevel = false;
    open(d);
    entry5([](TAnade_n_Grupo& s) {
        type(s, 0, 0, "uno");
        type(s, 0, 3, "5");
        type(s, 1, 0, "dos");
        type(s, 1, 3, "1,5");
        s.btnButton10->click();
    });
    EXPECT_EQ(ui.messages(), QStringList{"Se han creado 2 fichas."});
    for (const auto& [question, row] : stored())
        EXPECT_EQ(row.at("Nive_Impo"), "0") << question.toStdString();
}

TEST_F(GroupEntryTest, ALongAnswerTakesTheFontStyleOfTheStyleFile) {
    studyfile::FontStyle style;
    style.font = QFont("Liberation Serif");
    style.font.setPixelSize(25);
    style.font.setItalic(true);
    style.colour = QColor(128, 0, 0);
    writeFile(QDir(folder.path()).filePath("01.stl"), studyfile::writeFontStyle(style));
    studyfile::DesignOptions d;
    d.longAnswerText = true;
    d.shortAnswerSize = 0;
    open(d);
    entry5([](TAnade_n_Grupo& s) {
        type(s, 0, 0, "q");
        type(s, 0, 1, "la respuesta");
        s.btnButton10->click();
    });
    const card_rows::Row row = stored().at("q");
    EXPECT_EQ(row.at("Resp_Text"), "<blank>");
    EXPECT_EQ(row.at("Ficha_Comp_Encr"), "N");
    const QByteArray memo = row.at("Resp_Memo");
    EXPECT_EQ(rtf::readLines(memo), QStringList{"la respuesta"});
    QTextDocument doc;
    rtf::readDocument(memo, doc);
    EXPECT_EQ(doc.blockCount(), 1);
    QTextCursor cursor(&doc);
    cursor.setPosition(2);
    EXPECT_EQ(cursor.charFormat().font().family(), "Liberation Serif");
    EXPECT_TRUE(cursor.charFormat().fontItalic());
    EXPECT_EQ(cursor.charFormat().foreground().color(), QColor(128, 0, 0));
}

TEST_F(GroupEntryTest, APackedStudyFileGetsPackedCardsTheLoaderReads) {
    studyfile::DesignOptions d = keyAndImportance();
    d.compressed = true;
    open(d, "clave");
    ASSERT_TRUE(program->state().packedContent);
    entry5([](TAnade_n_Grupo& s) {
        type(s, 0, 0, "pregunta");
        type(s, 0, 1, "respuesta cifrada");
        s.btnButton10->click();
    });
    EXPECT_EQ(ui.messages(), QStringList{"Se han creado 1 fichas."});
    const card_rows::Row row = stored().at("pregunta");
    EXPECT_EQ(row.at("Ficha_Comp_Encr"), "S");
    EXPECT_FALSE(row.at("Resp_Text").contains("respuesta"));
    ASSERT_TRUE(cards().locateKey(cards().lastPostedKey()));
    EXPECT_EQ(program->data().cardView.shortAnswer, "respuesta cifrada");
    EXPECT_FALSE(program->data().cardView.damaged);
}

// An engine error after some cards were posted: those cards stay and their rows are emptied, so
// that pressing again cannot store them twice; the row that failed and those below it are kept.
TEST_F(GroupEntryTest, AnEngineErrorEmptiesOnlyTheRowsStored) {
    path = makeStudyFile("Curso", {}, keyAndImportance());
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db,
                           "CREATE TRIGGER stop BEFORE INSERT ON data WHEN NEW.\"Preg_Text\" = "
                           "'boom' BEGIN SELECT RAISE(ABORT, 'boom'); END;",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    startWith(path);
    entry5([this](TAnade_n_Grupo& s) {
        type(s, 0, 0, "uno");
        type(s, 1, 0, "dos");
        type(s, 2, 0, "boom");
        type(s, 3, 0, "cuatro");
        s.btnButton10->click();
        EXPECT_EQ(ui.errors().size(), 1);
        EXPECT_TRUE(s.isVisible());
        EXPECT_EQ(cell(s, 0, 0), "");
        EXPECT_EQ(cell(s, 1, 0), "");
        EXPECT_EQ(cell(s, 2, 0), "boom");
        EXPECT_EQ(cell(s, 3, 0), "cuatro");
    });
    EXPECT_TRUE(ui.messages().isEmpty());
    EXPECT_EQ(storedCount(), 2);
    EXPECT_EQ(cards().state(), table::Table::State::Browse);
}

TEST_F(GroupEntryTest, EscKeepsTheRowsForTheNextOpening) {
    open();
    entry5([](TAnade_n_Grupo& s) {
        type(s, 0, 0, "uno");
        type(s, 1, 1, "dos");
        QTest::keyClick(openEditor(s), Qt::Key_Escape);
        EXPECT_FALSE(s.isVisible());
    });
    EXPECT_TRUE(ui.messages().isEmpty());
    EXPECT_EQ(storedCount(), 0);
    entry5([](TAnade_n_Grupo& s) {
        EXPECT_EQ(cell(s, 0, 0), "uno");
        EXPECT_EQ(cell(s, 1, 1), "dos") << "the text in the editor when Esc came";
        // Esc with the focus outside the grid closes as well.
        s.edit1->setFocus();
        QTest::keyClick(s.edit1, Qt::Key_Escape);
        EXPECT_FALSE(s.isVisible());
    });
    entry5([](TAnade_n_Grupo& s) { EXPECT_EQ(cell(s, 1, 1), "dos"); });
}

TEST_F(GroupEntryTest, AnAmpersandInACellWritesNoFile) {
    open();
    entry5([this](TAnade_n_Grupo& s) {
        type(s, 0, 0, "empresa");
        type(s, 1, 0, "AT&T");
        s.buttonbtn1->click();
        EXPECT_EQ(ui.messages(),
                  QStringList{"Fila 2: el carácter & no puede ir en el archivo, porque separa los "
                              "datos de cada ficha.\r\rNo se ha guardado el archivo."});
        EXPECT_TRUE(ui.fileRequests().isEmpty());
        EXPECT_EQ(s.StringGrid1->currentRow(), 1);
    });
    EXPECT_TRUE(QDir(folder.filePath("import")).entryList(QDir::Files).isEmpty());
}

TEST_F(GroupEntryTest, SavingWithNoRowsOrCancelledSavesNothing) {
    open();
    entry5([this](TAnade_n_Grupo& s) {
        s.buttonbtn1->click();
        type(s, 0, 0, "q");
        ui.queueFile(QString());
        s.buttonbtn1->click();
    });
    EXPECT_EQ(ui.messages(), (QStringList{"No se ha guardado el archivo porque no hay fichas.",
                                          "No se ha guardado el archivo."}));
}

TEST_F(GroupEntryTest, AFailedWriteSaysWhy) {
    open();
    const QString bad = folder.filePath("no/such/folder/g.txt");
    entry5([&](TAnade_n_Grupo& s) {
        type(s, 0, 0, "q");
        ui.queueFile(bad);
        s.buttonbtn1->click();
    });
    EXPECT_EQ(ui.messages(), QStringList{"No se ha podido guardar el archivo\r\r" + bad});
}

TEST_F(GroupEntryTest, AHundredLineWindows1252FileFills98Rows) {
    open();
    QByteArray bytes;
    for (int i = 1; i <= 100; ++i)
        bytes += "Canci\xF3n " + QByteArray::number(i) + "&respuesta&&\r\n";
    const QString file = importFile("largo.txt");
    writeBytes(file, bytes);
    entry5([&](TAnade_n_Grupo& s) {
        ui.queueFile(file);
        s.buttonbtn2->click();
        EXPECT_EQ(cell(s, 0, 0), "Canción 1");
        EXPECT_EQ(cell(s, 97, 0), "Canción 98");
        EXPECT_EQ(cell(s, 97, 1), "respuesta");
        EXPECT_EQ(s.StringGrid1->currentRow(), 97);
    });
    EXPECT_EQ(ui.messages(), QStringList{"El archivo tiene 100 líneas y solo caben 98 fichas: se "
                                         "han leído las 98 primeras."});
    ASSERT_EQ(ui.fileRequests().size(), 1);
    EXPECT_EQ(ui.fileRequests()[0].title, "Leer archivo TXT");
    EXPECT_EQ(ui.fileRequests()[0].filter, "Archivos TXT|*.txt");
    EXPECT_EQ(ui.fileRequests()[0].directory, folder.filePath("import") + "/");
}

TEST_F(GroupEntryTest, RowsBelowAShortFileKeepTheirText) {
    open();
    const QString file = importFile("corto.txt");
    writeBytes(file, "a1&b1&k1&1\r\nsolo\r\n\r\n");
    entry5([&](TAnade_n_Grupo& s) {
        for (int r = 0; r < 5; ++r)
            type(s, r, 0, QStringLiteral("antes %1").arg(r + 1));
        type(s, 1, 1, "respuesta antes");
        ui.queueFile(file);
        s.buttonbtn2->click();
        EXPECT_EQ(cell(s, 0, 0), "a1");
        EXPECT_EQ(cell(s, 0, 3), "1");
        EXPECT_EQ(cell(s, 1, 0), "");
        EXPECT_EQ(cell(s, 1, 1), "") << "the row is emptied first";
        EXPECT_EQ(cell(s, 1, 3), "solo");
        EXPECT_EQ(cell(s, 2, 0), "");
        EXPECT_EQ(cell(s, 3, 0), "antes 4");
        EXPECT_EQ(cell(s, 4, 0), "antes 5");
        EXPECT_EQ(s.StringGrid1->currentRow(), 2);
    });
    EXPECT_TRUE(ui.messages().isEmpty());
}

TEST_F(GroupEntryTest, AnUnreadableOrNonTextFileLeavesTheGrid) {
    open();
    const QString picture = importFile("foto.txt");
    writeBytes(picture, QByteArray("BM\0\0\0", 5));
    const QString missing = importFile("no.txt");
    entry5([&](TAnade_n_Grupo& s) {
        type(s, 0, 0, "se queda");
        ui.queueFile(picture);
        s.buttonbtn2->click();
        ui.queueFile(missing);
        s.buttonbtn2->click();
        EXPECT_EQ(cell(s, 0, 0), "se queda");
    });
    EXPECT_EQ(ui.messages(),
              (QStringList{"El archivo\r\r" + picture + "\r\rno es un archivo de texto.",
                           "No se puede leer el archivo\r\r" + missing}));
}

TEST_F(GroupEntryTest, ClearingARowAndEverything) {
    open();
    entry5([](TAnade_n_Grupo& s) {
        type(s, 0, 0, "uno");
        type(s, 1, 0, "dos");
        type(s, 1, 1, "escribiendo"); // still in the editor
        QTest::keyClick(openEditor(s), Qt::Key_E, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor([&s] { return cell(s, 1, 0).isEmpty(); }, 2000));
        EXPECT_EQ(cell(s, 1, 0), "");
        EXPECT_EQ(cell(s, 1, 1), "");
        EXPECT_EQ(cell(s, 0, 0), "uno");
        ASSERT_NE(openEditor(s), nullptr) << "the editor is shown again";
        EXPECT_EQ(openEditor(s)->text(), "");
        s.button4->click();
        EXPECT_EQ(cell(s, 0, 0), "");
        EXPECT_TRUE(s.isVisible());
    });
    EXPECT_TRUE(ui.messages().isEmpty());
}

TEST_F(GroupEntryTest, TheImportanceColumnTakesDigitsOnly) {
    open();
    entry5([](TAnade_n_Grupo& s) {
        int beeps = 0;
        s.beep = [&beeps] { ++beeps; };
        s.StringGrid1->setCurrentCell(0, 3);
        QLineEdit* e = openEditor(s);
        ASSERT_NE(e, nullptr);
        QTest::keyClick(e, 'a');
        EXPECT_EQ(beeps, 1);
        EXPECT_EQ(e->text(), "");
        QTest::keyClick(e, '7');
        EXPECT_EQ(e->text(), "7");
        QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(beeps, 2);
        QTest::keyClick(e, Qt::Key_Backspace);
        EXPECT_EQ(e->text(), "");
        QTest::keyClick(e, Qt::Key_Left);
        EXPECT_EQ(beeps, 2);
        // Other columns take anything.
        s.StringGrid1->setCurrentCell(0, 0);
        QTest::keyClick(openEditor(s), 'a');
        EXPECT_EQ(beeps, 2);
        s.beep = [] {};
    });
}

TEST_F(GroupEntryTest, HelpTopic100) {
    open();
    entry5([](TAnade_n_Grupo& s) { s.btn1->click(); });
    ASSERT_NE(program->helpWindow(), nullptr);
    EXPECT_EQ(program->helpWindow()->currentContext(), 100);
}

// Entry 5 then the table: three rows typed (one with only an answer), written to import/ under
// the proposed name, the grid emptied and read back, stored; the grid is empty at the next
// opening and the three cards are at level 1.
TEST_F(GroupEntryTest, EndToEnd) {
    open();
    entry5([this](TAnade_n_Grupo& s) {
        s.edit1->setText("tema");
        s.maskedit2->setText("2");
        type(s, 0, 0, "¿Capital de Francia?");
        type(s, 0, 1, "París");
        type(s, 1, 0, "¿Capital de Italia?");
        type(s, 1, 1, "Roma");
        type(s, 1, 2, "europa");
        type(s, 2, 1, "solo la respuesta");
        ui.queueFile(importFile("Curso.txt"));
        s.buttonbtn1->click();
        s.button4->click();
        EXPECT_EQ(cell(s, 0, 0), "");
        ui.queueFile(importFile("Curso.txt"));
        s.buttonbtn2->click();
        EXPECT_EQ(cell(s, 1, 2), "europa");
        EXPECT_EQ(cell(s, 0, 2), "tema");
        EXPECT_EQ(cell(s, 0, 3), "2   ");
        s.btnButton10->click();
    });
    EXPECT_EQ(ui.messages(),
              (QStringList{"Se ha guardado el archivo con 3 fichas.", "Se han creado 3 fichas."}));
    ASSERT_EQ(ui.fileRequests().size(), 2);
    const FileDialogRequest save = ui.fileRequests()[0];
    EXPECT_EQ(save.title, "Guardar archivo TXT");
    EXPECT_EQ(save.directory, folder.filePath("import") + "/");
    EXPECT_EQ(save.fileName, "Curso.txt");
    EXPECT_EQ(save.filter, "Archivos TXT|*.txt");
    EXPECT_EQ(
        textfile::readTextLines(importFile("Curso.txt")),
        (QStringList{"¿Capital de Francia?&París&tema&2   ", "¿Capital de Italia?&Roma&europa&2   ",
                     "&solo la respuesta&tema&2   "}));

    entry5([](TAnade_n_Grupo& s) {
        for (int r = 0; r < 98; ++r)
            for (int c = 0; c < 4; ++c)
                ASSERT_EQ(cell(s, r, c), "") << r << "," << c;
    });
    table::Table& t = cards();
    EXPECT_EQ(t.countMatching("nive_fich = 1"), 3);
    EXPECT_EQ(t.countMatching(""), 3);
    EXPECT_EQ(t.countMatching("Nive_Impo = 2 and Clav_Fich = 'europa'"), 1);
    // Entry 6 counts them: three cards, all at level 1.
    ui.queueScreen("TVer_Info_", [](QDialog& d) {
        auto& info = static_cast<TVer_Info_&>(d);
        EXPECT_EQ(info.SG->item(16, 1)->text(), " 3");
        EXPECT_TRUE(info.Label9->text().endsWith("3      (100 %)"))
            << info.Label9->text().toStdString();
        return d.result();
    });
    main().Label9Click();
    EXPECT_TRUE(ui.screens().contains("TVer_Info_"));
    // The next save proposes the last chosen path.
    ui.clearRecords();
    entry5([this](TAnade_n_Grupo& s) {
        type(s, 0, 0, "otra");
        ui.queueFile(QString());
        s.buttonbtn1->click();
    });
    ASSERT_EQ(ui.fileRequests().size(), 1);
    EXPECT_EQ(ui.fileRequests()[0].fileName, importFile("Curso.txt"));
    EXPECT_TRUE(ui.errors().isEmpty()) << ui.errors().join("|").toStdString();
}
