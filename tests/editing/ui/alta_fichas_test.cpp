// The card editor through its screens: new cards, changes from the card selection and from the
// review, the navigator, pictures and the long answer, and what interruptions leave alone. Stored
// results are read with a table of their own, never through the screen.
#include "support/card_rows.h"
#include "support/screen_fixture.h"

#include "app/ui/passw_fe.h"
#include "editing/ui/alta_fichas.h"
#include "platform/files.h"
#include "platform/rtf/rtf.h"
#include "platform/ui/picture_box.h"
#include "review/ui/descanso.h"
#include "review/ui/repasar.h"
#include "studyfile/card_store.h"
#include "viewers/ui/text_zoom.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>

#include <sqlite3.h>

using review_test::Card;

namespace {

QByteArray plainOf(const card_rows::Row& row, const QString& field, const QString& password) {
    streams::TQXStreams qxs;
    qxs.Key = password;
    return studyfile::unpackContent(qxs, row.at(field));
}

// The text of a stored long answer, its paragraphs joined by "|".
QString longAnswerText(const QByteArray& rtf) {
    return rtf::readLines(rtf).join(QLatin1Char('|'));
}

QImage sampleImage(QColor colour, int width = 60, int height = 40) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

} // namespace

class EditorTest : public review_test::ScreenTest {
protected:
    static constexpr const char* kPassword = "clave";

    TAlta_Fichas_& editor() { return program->alta_Fichas(); }

    // Question and answer pictures, a long answer, the key and the importance; compressed.
    static studyfile::DesignOptions fullDesign() {
        studyfile::DesignOptions d;
        d.questionImage = true;
        d.answerImage = true;
        d.longAnswerText = true;
        d.shortAnswerSize = 0;
        d.cardKey = true;
        d.importanceLevel = true;
        d.compressed = true;
        return d;
    }

    // Makes the study file and opens it through entry 1 (typing the password when it has one).
    void openStudyFile(const std::vector<Card>& cards,
                       const studyfile::DesignOptions& design = fullDesign(),
                       const QString& password = QString()) {
        path = makeStudyFile(QStringLiteral("Curso%1").arg(++studyFiles), cards, design, password);
        this->password = password;
        start();
        if (!password.isEmpty()) {
            ui.queueScreen("TPassw_FE_", [this, password](QDialog&) {
                TPassw_FE_& d = program->passw_FE();
                d.Edit1->setText(password);
                d.BitBtn1->click();
                return d.result();
            });
        }
        ui.queueFile(path);
        main().Label5Click();
        ASSERT_TRUE(program->state().fileOpen);
        ui.clearRecords();
    }

    // Opens the editor: add mode, or modify mode as the card selection opens it.
    void runEditor(bool addMode, std::function<void(TAlta_Fichas_&)> script) {
        program->state().addMode = addMode;
        program->state().reviewEdit = false;
        ui.queueScreen("TAlta_Fichas_", [this, script](QDialog& d) {
            script(editor());
            return d.result();
        });
        program->runModal(editor());
    }

    // A picture file in the program folder.
    QString pictureFile(const QString& name, const picture::Picture& picture) {
        const QString file = folder.filePath(name);
        picture.saveToFile(file);
        return file;
    }

    // Adds a card with everything, stored as the card editor stores it (packed as the study file
    // asks), its long answer written by another rich-text writer; returns its AutoInc.
    qint64 addFullCard(const QString& question) {
        const studyfile::DesignOptions& d = program->data().design;
        studyfile::CardEdit e;
        e.question = question;
        e.cardKey = "verbos";
        e.importance = 4;
        e.longAnswerRtf = files::readWhole(ORBANEL_TEST_FIXTURES "/rtf/word-processor-1.rtf");
        e.questionPicture = picture::Picture::jpegFromImage(sampleImage(Qt::blue));
        e.answerPicture = picture::Picture::fromImage(sampleImage(Qt::red));
        return studyfile::storeCard(cards(), program->data().QXS, d, program->state().packedContent,
                                    e, 0, "20240301");
    }

    card_rows::Rows rows() { return card_rows::read(path); }
    QByteArray plain(const card_rows::Row& row, const QString& field) {
        return plainOf(row, field, password);
    }
    qint64 keyOf(const QString& question) {
        for (const auto& [key, row] : rows())
            if (row.at("Preg_Text") == question.toUtf8())
                return key;
        ADD_FAILURE() << "no card " << question.toStdString();
        return 0;
    }

    static void type(QLineEdit* edit, const QString& text) {
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    // Replaces the long answer as typing would.
    static void typeLongAnswer(TAlta_Fichas_& e, const QString& text) {
        QTextCursor c(e.RichEdit1->document());
        c.select(QTextCursor::Document);
        c.insertText(text);
    }

    QString path;
    QString password;
    int studyFiles = 0;
};

void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

// A new card typed with everything, a second one with the remembered key, then a change from the
// review.
TEST_F(EditorTest, EndToEndThroughTheScreens) {
    openStudyFile({{"Vieja", "", 1, "", 0, "20000101", "nombres", 5}}, fullDesign(), kPassword);
    const card_rows::Rows before = rows();
    const picture::Picture jpeg = picture::Picture::jpegFromImage(sampleImage(Qt::blue), 85);
    const QString jpegFile = pictureFile("respuesta.jpg", jpeg);
    const QByteArray jpegBytes = files::readWhole(jpegFile);

    ui.queueScreen("TAlta_Fichas_", [&](QDialog& d) {
        TAlta_Fichas_& e = editor();
        EXPECT_FALSE(e.DBNavigator1->isEnabled());
        EXPECT_TRUE(e.ChBox1->isChecked());
        type(e.EditPreg_Text, "Q1");
        type(e.EditClav_Fich, "verbos");
        type(e.EditNive_Impo, "-3");
        QImage argb(20, 10, QImage::Format_ARGB32);
        argb.fill(QColor(200, 0, 0));
        argb.setPixelColor(0, 0, Qt::transparent);
        QApplication::clipboard()->setImage(argb);
        e.Button5->click();
        ui.queueFile(jpegFile);
        e.BitBtn4->click();
        ui.queueScreen("TText_Zoom_", [this](QDialog& z) {
            TText_Zoom_& tz = program->text_Zoom();
            tz.RichEdit1->setPlainText("texto ampliado");
            tz.Button1->click();
            return z.result();
        });
        e.Button12->click();
        QApplication::clipboard()->clear();
        e.Button7->click();
        e.Button3->click();
        // The next blank card, with the key just stored.
        EXPECT_EQ(e.EditPreg_Text->text(), "");
        EXPECT_EQ(e.EditClav_Fich->text(), "verbos");
        EXPECT_TRUE(e.Image1->picture().isEmpty());
        EXPECT_TRUE(e.RichEdit1->document()->isEmpty());
        type(e.EditPreg_Text, "Q2");
        e.Button2->click();
        return d.result();
    });
    QTest::keyClick(&main(), '4');
    EXPECT_EQ(ui.messages(), QStringList{"El portapapeles no contiene un texto."});
    EXPECT_TRUE(ui.errors().isEmpty()) << ui.errors().join("\n").toStdString();
    EXPECT_TRUE(ui.unexpected().isEmpty()) << ui.unexpected().join("\n").toStdString();

    const card_rows::Rows after = rows();
    ASSERT_EQ(after.size(), before.size() + 2);
    for (const char* q : {"Q1", "Q2"}) {
        const card_rows::Row& row = after.at(keyOf(q));
        EXPECT_EQ(row.at("Nive_Fich"), "1") << q;
        EXPECT_EQ(row.at("Total_Repa"), "0") << q;
        EXPECT_EQ(row.at("Fech_Crea"), "20240305") << q;
        EXPECT_EQ(row.at("Fech_Prox_Repa"), "20240305") << q;
        EXPECT_EQ(row.at("Fech_Ulti_Repa"), "<blank>") << q;
        EXPECT_EQ(row.at("Clav_Fich"), "verbos") << q;
    }
    const card_rows::Row& q1 = after.at(keyOf("Q1"));
    EXPECT_EQ(q1.at("Nive_Impo"), "0");
    EXPECT_EQ(q1.at("Ficha_Comp_Encr"), "S");
    EXPECT_EQ(q1.at("Tipo_Preg_Imag"), "BMP");
    const QByteArray bmp = plain(q1, "Preg_Imag");
    ASSERT_GT(bmp.size(), 30);
    EXPECT_EQ(quint8(bmp[28]), 24); // bits per pixel
    const QImage question =
        picture::Picture::fromBytes(bmp, picture::Picture::Kind::Bitmap).image();
    EXPECT_EQ(question.pixelColor(0, 0), QColor(Qt::white));
    EXPECT_EQ(question.pixelColor(5, 5), QColor(200, 0, 0));
    EXPECT_EQ(q1.at("Tipo_Resp_Imag"), "JPG");
    EXPECT_EQ(plain(q1, "Resp_Imag"), jpegBytes);
    EXPECT_EQ(longAnswerText(plain(q1, "Resp_Memo")), "texto ampliado");

    // Entry 3 reviews today's cards: change the first one's question from the review.
    ui.clearRecords();
    const qint64 q1Key = keyOf("Q1");
    const qint64 q2Key = keyOf("Q2");
    ui.queueScreen("TRepasar_", [&](QDialog& d) {
        TRepasar_& r = program->repasar();
        EXPECT_EQ(r.DBText1->text(), "Q1");
        ui.queueScreen("TAlta_Fichas_", [&](QDialog& ed) {
            TAlta_Fichas_& e = editor();
            EXPECT_FALSE(e.Button3->isEnabled());
            EXPECT_FALSE(e.nbNext->isEnabled());
            EXPECT_EQ(e.EditPreg_Text->text(), "Q1");
            EXPECT_EQ(e.RichEdit1->toPlainText(), "texto ampliado");
            type(e.EditPreg_Text, "Q1 corregida");
            e.Button2->click();
            return ed.result();
        });
        r.Button11->click();
        EXPECT_EQ(r.DBText1->text(), "Q1 corregida");
        r.Button1->click();
        r.Button6->click();
        r.Button4->click();
        return d.result();
    });
    QTest::keyClick(&main(), '3');
    EXPECT_TRUE(editor().Button3->isEnabled());
    const card_rows::Rows reviewed = rows();
    EXPECT_EQ(reviewed.at(q1Key).at("Preg_Text"), "Q1 corregida");
    EXPECT_EQ(reviewed.at(q1Key).at("Nive_Fich"), "2");
    EXPECT_EQ(reviewed.at(q2Key), after.at(q2Key));
}

// Messages, zooms and breaks above the editor leave what the user typed on screen and the table
// untouched; the store afterwards writes exactly one card.
TEST_F(EditorTest, InterruptionsChangeNothing) {
    struct Interruption {
        const char* name;
        std::function<void(TAlta_Fichas_&)> run;
        bool modifyOnly = false;
    };
    const Interruption interruptions[] = {
        {"text zoom left with Salir",
         [this](TAlta_Fichas_& e) {
             ui.queueScreen("TText_Zoom_", [this](QDialog& z) {
                 program->text_Zoom().RichEdit1->setPlainText("descartado");
                 program->text_Zoom().Button2->click();
                 return z.result();
             });
             e.Button12->click();
         }},
        {"text zoom left with Guarda y Acaba",
         [this](TAlta_Fichas_& e) {
             ui.queueScreen("TText_Zoom_", [this](QDialog& z) {
                 program->text_Zoom().Button1->click();
                 return z.result();
             });
             e.Button12->click();
         }},
        {"image zoom",
         [this](TAlta_Fichas_& e) {
             ui.queueScreen("TImag_Zoom_", [](QDialog& z) {
                 z.reject();
                 return z.result();
             });
             emit e.Image1->clicked();
             EXPECT_EQ(ui.screens().count("TImag_Zoom_"), 1);
         }},
        {"message",
         [](TAlta_Fichas_& e) {
             QApplication::clipboard()->clear();
             e.Button7->click();
         }},
        {"refused store",
         [this](TAlta_Fichas_& e) {
             program->data().design.modifiable = false;
             e.Button3->click();
             program->data().design.modifiable = true;
             EXPECT_EQ(ui.messages().value(0), studyfile::kNotModifiableMessage);
         },
         true},
        {"break",
         [this](TAlta_Fichas_&) {
             ui.queueScreen("TDescanso_", [this](QDialog& d) {
                 program->descanso().Button1->click();
                 return d.result();
             });
             main().Timer_DescansoTimer();
             EXPECT_EQ(ui.screens().count("TDescanso_"), 1);
         }},
    };
    for (const Interruption& interruption : interruptions) {
        for (const bool add : {true, false}) {
            if (add && interruption.modifyOnly)
                continue;
            SCOPED_TRACE(std::string(interruption.name) + (add ? " (add)" : " (modify)"));
            program.reset();
            openStudyFile({{"A", "", 1, "", 0, "20000101", "k", 2}, {"B"}});
            const card_rows::Rows before = rows();
            runEditor(add, [&](TAlta_Fichas_& e) {
                type(e.EditPreg_Text, "tecleada");
                type(e.EditClav_Fich, "clave");
                typeLongAnswer(e, "respuesta larga");
                QApplication::clipboard()->setImage(sampleImage(Qt::green));
                e.Button5->click();
                ui.clearRecords();
                interruption.run(e);
                EXPECT_EQ(e.EditPreg_Text->text(), "tecleada");
                EXPECT_EQ(e.EditClav_Fich->text(), "clave");
                EXPECT_EQ(e.RichEdit1->toPlainText(), "respuesta larga");
                EXPECT_EQ(e.Image1->picture().width(), 60);
                EXPECT_EQ(rows(), before);
                e.Button2->click();
            });
            const card_rows::Rows after = rows();
            const std::set<qint64> changed = card_rows::changedRows(before, after);
            ASSERT_EQ(changed.size(), 1u);
            const card_rows::Row& row = after.at(*changed.begin());
            EXPECT_EQ(row.at("Preg_Text"), "tecleada");
            EXPECT_EQ(row.at("Tipo_Preg_Imag"), "BMP");
            EXPECT_EQ(longAnswerText(plain(row, "Resp_Memo")), "respuesta larga");
            EXPECT_EQ(after.size(), before.size() + (add ? 1 : 0));
        }
    }
}

TEST_F(EditorTest, ClosingWithoutStoringLeavesTheTableAsItWas) {
    openStudyFile({{"A"}});
    const card_rows::Rows before = rows();
    for (const bool add : {true, false}) {
        runEditor(add, [&](TAlta_Fichas_& e) {
            type(e.EditPreg_Text, "nada");
            QTest::keyClick(&e, Qt::Key_Escape);
        });
        EXPECT_EQ(rows(), before);
        EXPECT_EQ(editor().EditPreg_Text->text(), "");
        EXPECT_EQ(cards().state(), table::Table::State::Browse);
    }
}

// A change that takes the card out of the card selection: only it changes, the message, and the
// card now current is shown.
TEST_F(EditorTest, ACardThatLeavesTheSelection) {
    openStudyFile({{"uno", "", 1, "", 0, "", "verbos1"},
                   {"dos", "", 1, "", 0, "", "verbos2"},
                   {"tres", "", 1, "", 0, "", "verbos3"}});
    cards().setFilter("Clav_Fich='verbos*' and  (Nive_fich <> 0 ) ");
    cards().setFiltered(true);
    ASSERT_EQ(cards().recordCount(), 3);
    cards().setRecNo(2);
    const qint64 dos = keyOf("dos");
    const card_rows::Rows before = rows();
    runEditor(false, [&](TAlta_Fichas_& e) {
        EXPECT_EQ(e.EditPreg_Text->text(), "dos");
        type(e.EditClav_Fich, "nombres");
        e.Button3->click();
        EXPECT_EQ(ui.messages(), QStringList{"La ficha se ha guardado, pero ya no cumple la "
                                             "condición de selección."});
        const QString shown = e.EditPreg_Text->text();
        EXPECT_TRUE(shown == "uno" || shown == "tres") << shown.toStdString();
        EXPECT_EQ(cards().fieldByName("Preg_Text").asString(), shown);
        e.Button1->click();
    });
    const card_rows::Rows after = rows();
    EXPECT_EQ(card_rows::changedRows(before, after), std::set<qint64>{dos});
    EXPECT_EQ(card_rows::changedFields(before.at(dos), after.at(dos)),
              std::set<QString>{"Clav_Fich"});
    EXPECT_EQ(program->state().lastEditedCard, cards().fieldByName("AutoInc").asInteger());

    // "Guarda y A&caba" on a card that leaves the selection: the message, and the screen closes.
    ui.clearRecords();
    const qint64 current = cards().fieldByName("AutoInc").asInteger();
    runEditor(false, [&](TAlta_Fichas_& e) {
        type(e.EditClav_Fich, "otros");
        e.Button2->click();
        EXPECT_EQ(e.result(), QDialog::Accepted);
    });
    EXPECT_EQ(ui.messages(), QStringList{"La ficha se ha guardado, pero ya no cumple la "
                                         "condición de selección."});
    EXPECT_EQ(editor().EditPreg_Text->text(), "");
    EXPECT_EQ(rows().at(current).at("Clav_Fich"), "otros");
    EXPECT_EQ(cards().recordCount(), 1);
}

TEST_F(EditorTest, RefusedStoresWriteNothing) {
    openStudyFile({{"uno"}, {"dos"}});
    const card_rows::Rows before = rows();
    // An importance beyond the field.
    runEditor(true, [&](TAlta_Fichas_& e) {
        type(e.EditPreg_Text, "nueva");
        type(e.EditNive_Impo, "40000");
        e.Button2->click();
        EXPECT_EQ(ui.messages(), QStringList{"El Nivel de Importancia debe ser un número entero "
                                             "no mayor que 32767."});
        EXPECT_EQ(e.EditPreg_Text->text(), "nueva");
        e.Button1->click();
    });
    EXPECT_EQ(rows(), before);

    // The table locked by another program: the error box, nothing stored, no edit left open.
    ui.clearRecords();
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    runEditor(false, [&](TAlta_Fichas_& e) {
        type(e.EditPreg_Text, "cambiada");
        e.Button3->click();
        EXPECT_EQ(ui.errors().size(), 1);
        EXPECT_EQ(e.EditPreg_Text->text(), "cambiada");
        EXPECT_EQ(cards().state(), table::Table::State::Browse);
        sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
        // Stepping on now that the lock is gone stores the change once, then moves.
        e.nbNext->click();
        EXPECT_EQ(e.EditPreg_Text->text(), "dos");
        e.Button1->click();
    });
    sqlite3_close(other);
    const card_rows::Rows after = rows();
    EXPECT_EQ(card_rows::changedRows(before, after), std::set<qint64>{keyOf("cambiada")});
}

TEST_F(EditorTest, NavigatorStoresTheWholeCardBeforeMoving) {
    openStudyFile({{"uno"}, {"dos"}, {"tres"}});
    cards().first();
    const card_rows::Rows before = rows();
    runEditor(false, [&](TAlta_Fichas_& e) {
        EXPECT_TRUE(e.DBNavigator1->isEnabled());
        EXPECT_FALSE(e.nbFirst->isEnabled());
        EXPECT_FALSE(e.nbPrior->isEnabled());
        EXPECT_TRUE(e.nbNext->isEnabled());
        typeLongAnswer(e, "larga nueva");
        e.nbNext->click();
        EXPECT_EQ(e.EditPreg_Text->text(), "dos");
        EXPECT_TRUE(e.RichEdit1->document()->isEmpty());
        e.nbLast->click();
        EXPECT_EQ(e.EditPreg_Text->text(), "tres");
        EXPECT_FALSE(e.nbNext->isEnabled());
        EXPECT_FALSE(e.nbLast->isEnabled());
        EXPECT_TRUE(e.nbPrior->isEnabled());
        e.Button1->click();
    });
    card_rows::Rows after = rows();
    const qint64 uno = keyOf("uno");
    EXPECT_EQ(card_rows::changedRows(before, after), std::set<qint64>{uno});
    EXPECT_EQ(longAnswerText(plain(after.at(uno), "Resp_Memo")), "larga nueva");

    // A study file whose cards may not be changed: the refusal, nothing stored, the move.
    program->data().design.modifiable = false;
    cards().first();
    ui.clearRecords();
    runEditor(false, [&](TAlta_Fichas_& e) {
        type(e.EditPreg_Text, "prohibida");
        e.nbNext->click();
        EXPECT_EQ(ui.messages(), QStringList{studyfile::kNotModifiableMessage});
        EXPECT_EQ(e.EditPreg_Text->text(), "dos");
        // Without changes a move shows no message.
        e.nbNext->click();
        EXPECT_EQ(ui.messages().size(), 1);
        e.Button1->click();
    });
    EXPECT_EQ(rows(), after);
}

// A review over a window selection: the card changed in the editor no longer meets it.
TEST_F(EditorTest, ReviewGoesOnWhenTheChangedCardLeavesTheSession) {
    openStudyFile({{"A", "", 1, "", 0, "20000101", "verbos1"},
                   {"B", "", 1, "", 0, "20000101", "verbos2"},
                   {"C", "", 1, "", 0, "20000101", "verbos3"}});
    const card_rows::Rows before = rows();
    const qint64 a = keyOf("A");
    const qint64 b = keyOf("B");
    cards().setFilter("Clav_Fich='verbos*' and  (Nive_fich <> 0 ) ");
    cards().setFiltered(true);
    ui.queueScreen("TRepasar_", [&](QDialog& d) {
        TRepasar_& r = program->repasar();
        EXPECT_EQ(r.DBText1->text(), "A");
        EXPECT_EQ(r.counters().pending, 3);
        ui.queueScreen("TAlta_Fichas_", [&](QDialog& ed) {
            type(editor().EditClav_Fich, "nombres");
            editor().Button2->click();
            return ed.result();
        });
        r.Button11->click();
        EXPECT_EQ(r.DBText1->text(), "B");
        EXPECT_EQ(r.counters().pending, 2);
        r.Button1->click();
        r.Button6->click();
        r.Button4->click();
        return d.result();
    });
    program->repasar().Inicia_Sesion();
    const card_rows::Rows after = rows();
    for (const char* f : {"Nive_Fich", "Fech_Prox_Repa", "Fech_Ulti_Repa", "Total_Repa"})
        EXPECT_EQ(after.at(a).at(f), before.at(a).at(f)) << f;
    EXPECT_EQ(after.at(a).at("Clav_Fich"), "nombres");
    EXPECT_EQ(after.at(b).at("Nive_Fich"), "2");
}

TEST_F(EditorTest, PicturesAndLongAnswerFromFilesAndTheClipboard) {
    openStudyFile({{"A"}});
    const QString png = folder.filePath("dibujo.png");
    ASSERT_TRUE(sampleImage(Qt::yellow, 30, 20).save(png, "PNG"));
    const QString pngAsJpeg = folder.filePath("falso.jpg");
    QFile::copy(png, pngAsJpeg);
    const QString text = folder.filePath("nota.txt");
    writeFile(text, "no es una imagen");
    const QString big = folder.filePath("grande.rtf");
    writeFile(big, QByteArray(17 * 1024 * 1024, 'a'));
    const QString binary = folder.filePath("binario.rtf");
    writeFile(binary, QByteArray("abc\0def", 7));

    runEditor(true, [&](TAlta_Fichas_& e) {
        type(e.EditPreg_Text, "con dibujo");
        // Another format through "Disco": taken as a bitmap.
        ui.queueFile(png);
        e.BitBtn2->click();
        EXPECT_EQ(e.Image1->picture().kind(), picture::Picture::Kind::Bitmap);
        EXPECT_EQ(e.Image1->picture().width(), 30);
        EXPECT_TRUE(ui.messages().isEmpty());
        // Files that are no picture: the message, the picture and its flag as they were.
        const picture::Picture before = e.Image1->picture();
        program->data().questionImageChanged = false;
        const struct {
            QString file;
            QString message;
        } bad[] = {{pngAsJpeg, "La imagen JPEG"},
                   {text, "\"nota.txt\" no es un fichero de imagen que pueda leerse."}};
        for (const auto& b : bad) {
            ui.clearRecords();
            ui.queueFile(b.file);
            e.BitBtn2->click();
            ASSERT_EQ(ui.messages().size(), 1) << b.file.toStdString();
            EXPECT_TRUE(ui.messages().first().startsWith(b.message))
                << ui.messages().first().toStdString();
            EXPECT_EQ(e.Image1->picture().bytes(), before.bytes());
            EXPECT_FALSE(program->data().questionImageChanged);
        }
        // An empty clipboard.
        ui.clearRecords();
        QApplication::clipboard()->clear();
        e.Button6->click();
        EXPECT_EQ(ui.messages(), QStringList{"No hay un gráfico en el Portapapeles."});
        EXPECT_FALSE(program->data().answerImageChanged);
        // HTML with a picture pasted into the long answer: its text only.
        auto* mime = new QMimeData;
        mime->setHtml(
            "<p>antes <img src=\"data:image/png;base64,iVBORw0KGgo=\"> despu&eacute;s</p>");
        QApplication::clipboard()->setMimeData(mime);
        e.Button7->click();
        EXPECT_EQ(e.RichEdit1->toPlainText(), "antes después");
        EXPECT_FALSE(e.RichEdit1->toHtml().contains("<img"));
        // Long-answer files that cannot be taken.
        const struct {
            QString file;
            QString reason;
        } refused[] = {{big, "El fichero es mayor de 16 MB."},
                       {binary, "El fichero no es un texto ni un documento RTF."}};
        for (const auto& r : refused) {
            ui.clearRecords();
            ui.queueFile(r.file);
            e.BitBtn3->click();
            // The first dialog starts in dat/, the next in the folder of the last file.
            EXPECT_EQ(ui.fileRequests().value(0).title, "RTF File / Archivo RTF");
            EXPECT_EQ(ui.fileRequests().value(0).directory, &r == refused ? dat() : folder.path());
            EXPECT_EQ(ui.messages(),
                      QStringList{"No se pudo cargar el texto largo desde el fichero\r\r" + r.file +
                                  "\r\r" + r.reason});
            EXPECT_EQ(e.RichEdit1->toPlainText(), "antes después");
        }
        // A rich-text file.
        ui.clearRecords();
        ui.queueFile(ORBANEL_TEST_FIXTURES "/rtf/word-processor-1.rtf");
        e.BitBtn3->click();
        EXPECT_TRUE(ui.messages().isEmpty());
        e.Button2->click();
    });
    const card_rows::Row row = rows().at(keyOf("con dibujo"));
    EXPECT_EQ(row.at("Tipo_Preg_Imag"), "BMP");
    EXPECT_EQ(plain(row, "Preg_Imag").left(2), "BM");
    EXPECT_EQ(row.at("Tipo_Resp_Imag"), "NO");
    EXPECT_FALSE(longAnswerText(plain(row, "Resp_Memo")).isEmpty());
}

TEST_F(EditorTest, OneLineEditsAndLimits) {
    studyfile::DesignOptions d = fullDesign();
    d.questionSize = 12;
    openStudyFile({{"A"}}, d);
    runEditor(true, [&](TAlta_Fichas_& e) {
        EXPECT_EQ(e.EditPreg_Text->maxLength(), 12);
        EXPECT_EQ(e.EditClav_Fich->maxLength(), 15);
        auto* mime = new QMimeData;
        mime->setText("dos\r\nlíneas");
        QApplication::clipboard()->setMimeData(mime);
        e.EditPreg_Text->setFocus();
        e.EditPreg_Text->paste();
        EXPECT_EQ(e.EditPreg_Text->text(), "dos líneas");
        type(e.EditNive_Impo, "+7x-");
        EXPECT_EQ(e.EditNive_Impo->text(), "+7");
        e.Button1->click();
    });
}

// Through the screen: a change of the question alone, a zoom left unchanged with "Guarda y
// A&caba", and a store from the review rewrite nothing else of the card.
TEST_F(EditorTest, UntouchedPartsKeepTheirStoredBytes) {
    openStudyFile({{"A"}}, fullDesign(), kPassword);
    const qint64 full = addFullCard("completa");
    ASSERT_TRUE(cards().locateKey(full));
    const card_rows::Rows before = rows();
    runEditor(false, [&](TAlta_Fichas_& e) {
        EXPECT_EQ(e.EditPreg_Text->text(), "completa");
        EXPECT_EQ(e.EditNive_Impo->text(), "4");
        EXPECT_FALSE(e.Image1->picture().isEmpty());
        ui.queueScreen("TText_Zoom_", [this](QDialog& z) {
            program->text_Zoom().Button1->click();
            return z.result();
        });
        e.Button12->click();
        type(e.EditPreg_Text, "cambiada");
        e.Button3->click();
        EXPECT_EQ(e.EditPreg_Text->text(), "cambiada");
        e.Button1->click();
    });
    const card_rows::Rows after = rows();
    EXPECT_EQ(card_rows::changedRows(before, after), std::set<qint64>{full});
    EXPECT_EQ(card_rows::changedFields(before.at(full), after.at(full)),
              std::set<QString>{"Preg_Text"});
}

TEST_F(EditorTest, NewCardUnderASelectionThatHidesIt) {
    openStudyFile({{"tres", "", 3}, {"uno", "", 1}});
    cards().setFilter("Nive_Fich>=3 and  (Nive_fich <> 0 ) ");
    cards().setFiltered(true);
    ASSERT_EQ(cards().recordCount(), 1);
    const card_rows::Rows before = rows();
    runEditor(true, [&](TAlta_Fichas_& e) {
        type(e.EditPreg_Text, "nueva");
        typeLongAnswer(e, "su respuesta");
        e.Button3->click();
        EXPECT_TRUE(ui.errors().isEmpty());
        e.Button1->click();
    });
    const card_rows::Rows after = rows();
    const std::set<qint64> changed = card_rows::changedRows(before, after);
    ASSERT_EQ(changed.size(), 1u);
    const card_rows::Row& row = after.at(*changed.begin());
    EXPECT_EQ(before.count(*changed.begin()), 0u);
    EXPECT_EQ(row.at("Preg_Text"), "nueva");
    EXPECT_EQ(row.at("Nive_Fich"), "1");
    EXPECT_EQ(longAnswerText(plain(row, "Resp_Memo")), "su respuesta");
}

TEST_F(EditorTest, ReviewClosesWhenTheChangedCardWasTheLastOne) {
    openStudyFile({{"A", "", 1, "", 0, "20000101", "verbos1"}});
    cards().setFilter("Clav_Fich='verbos*' and  (Nive_fich <> 0 ) ");
    cards().setFiltered(true);
    ui.queueScreen("TRepasar_", [&](QDialog& d) {
        ui.queueScreen("TAlta_Fichas_", [&](QDialog& ed) {
            type(editor().EditClav_Fich, "nombres");
            editor().Button2->click();
            return ed.result();
        });
        program->repasar().Button11->click();
        return d.result();
    });
    program->repasar().Inicia_Sesion();
    EXPECT_TRUE(program->state().cardsExhausted);
    // The summary of a session that ran out of cards.
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(program->stackDepth(), 1);
}

TEST_F(EditorTest, TypedLongAnswerTakesTheFontStyle) {
    openStudyFile({{"A"}});
    runEditor(true, [&](TAlta_Fichas_& e) {
        type(e.EditPreg_Text, "con estilo");
        e.RichEdit1->setFocus();
        QTest::keyClicks(e.RichEdit1, "abc");
        // A sign alone reads as no importance.
        type(e.EditNive_Impo, "-");
        e.Button2->click();
    });
    EXPECT_TRUE(ui.messages().isEmpty());
    const card_rows::Row row = rows().at(keyOf("con estilo"));
    EXPECT_EQ(row.at("Nive_Impo"), "0");
    QTextDocument doc;
    rtf::readDocument(plain(row, "Resp_Memo"), doc);
    const QTextCharFormat format = doc.begin().begin().fragment().charFormat();
    EXPECT_EQ(doc.toPlainText(), "abc");
    EXPECT_EQ(format.foreground().color(), program->data().fontStyle.colour);
    EXPECT_EQ(format.font().bold(), program->data().fontStyle.font.bold());
}
