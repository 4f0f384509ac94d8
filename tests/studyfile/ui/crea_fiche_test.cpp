// The creation screen and the study-file opening through the program's screens, driven by the
// scripted Ui.
#include "app/program.h"
#include "app/ui/panta_inicio.h"
#include "app/ui/passw_fe.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/rtf/rtf.h"
#include "platform/ui/picture_box.h"
#include "platform/volume.h"
#include "streams/memory_stream.h"
#include "studyfile/creation.h"
#include "studyfile/ui/crea_fiche.h"
#include "studyfile/ui/data_module.h"
#include "support/app_fixture.h"
#include "support/scripted_ui.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

#include <gtest/gtest.h>

#include <memory>

using namespace studyfile;

namespace {

class CreaFicheTest : public AppTest {
protected:
    TCrea_Fiche_& screen() { return program->crea_Fiche(); }
    TPanta_Inicio_& main() { return program->mainScreen(); }
    TD_Module_& data() { return program->data(); }
    // Entry 8 with a script for the creation screen.
    void create(std::function<void(TCrea_Fiche_&)> script) {
        ui.queueScreen("TCrea_Fiche_", [this, script](QDialog& d) {
            script(screen());
            return d.result();
        });
        QTest::keyClick(&main(), '8');
    }
    // Entry 1 on a study file, with an optional password typed in the dialog.
    void open(const QString& table) {
        ui.queueFile(table);
        QTest::keyClick(&main(), '1');
    }
    void queuePassword(const QString& password, bool remember = false, bool accept = true) {
        ui.queueScreen("TPassw_FE_", [this, password, remember, accept](QDialog&) {
            TPassw_FE_& d = program->passw_FE();
            d.CheckBox2->setChecked(remember);
            d.Edit1->setText(password);
            if (accept)
                d.BitBtn1->click();
            else
                d.Button2->click();
            return d.result();
        });
    }
    int passwordDialogs() const { return int(ui.screens().count("TPassw_FE_")); }
    QString flagsOf(const QString& name) {
        return readDesignRecordFile(dat(name + ".STU"), QString()).value(0);
    }
};

} // namespace

TEST_F(CreaFicheTest, ControlsAndDefaults) {
    start();
    TCrea_Fiche_& s = screen();
    EXPECT_EQ(s.windowTitle(), "   Crear un nuevo Fichero de Estudio");
    EXPECT_EQ(s.GroupBox1->title(), " Datos de la PREGUNTA: ");
    EXPECT_EQ(s.GroupBox3->title(), " Datos de la RESPUESTA: ");
    EXPECT_EQ(s.GroupBox2->title(), " Tamaño (en caracteres): ");
    EXPECT_EQ(s.GroupBox6->title(), " Descripción: ");
    EXPECT_EQ(s.GroupBox7->title(), " Imagen: ");
    const struct {
        QAbstractButton* button;
        const char* caption;
        bool checked;
    } buttons[] = {
        {s.RadioButton1, "30 ", false},
        {s.RadioButton2, "60 ", true},
        {s.RadioButton3, "100 ", false},
        {s.RadioButton4, "Otro Tamaño (hasta 255):", false},
        {s.CheckBox1, "Co&n Imagen.", false},
        {s.CheckBox4, "Con texto corto (hasta 255)", true},
        {s.RadioButton5, "30", false},
        {s.RadioButton6, "60 ", false},
        {s.RadioButton7, "100 ", true},
        {s.RadioButton8, "Otro  (hasta 255):", false},
        {s.CheckBox2, "Con I&magen.", false},
        {s.CheckBox3, "Con &Texto Largo.", false},
        {s.CheckBox7, "&Nivel de Importancia.", false},
        {s.CheckBox5, "Clave para Clasificar fichas.", true},
        {s.CheckBox6, "COMPRIMIDO", false},
        {s.Button5, "Pegar &Descripción", false},
        {s.BitBtn1, " Disc&o", false},
        {s.BitBtn2, "Pe&gar", false},
        {s.Button6, " &Borrar", false},
        {s.Button1, "&Crear Fichero", false},
        {s.Button2, "&Salir", false},
        {s.Button3, "&Ayuda", false},
    };
    for (const auto& b : buttons) {
        EXPECT_EQ(b.button->text(), b.caption);
        EXPECT_EQ(b.button->isChecked(), b.checked) << b.caption;
    }
    EXPECT_EQ(s.Label1->text(), "Nombre:");
    EXPECT_FALSE(s.Edit2->isEnabled());
    EXPECT_FALSE(s.Edit3->isEnabled());
    EXPECT_EQ(s.descriptionLines(), descriptionTemplate());
    // Every control is found by its name.
    EXPECT_EQ(s.findChild<QLineEdit*>("Edit1"), s.Edit1);
    EXPECT_EQ(s.findChild<PictureBox*>("Image1"), s.Image1);

    // Activation: the main screen's window state and the focus on the name.
    create([](TCrea_Fiche_& c) {
        EXPECT_TRUE(c.isMaximized());
        EXPECT_EQ(c.focusWidget(), c.Edit1);
    });
    EXPECT_EQ(ui.screens(), QStringList{"TCrea_Fiche_"});
}

TEST_F(CreaFicheTest, LayoutFitsTheDesignArea) {
    start();
    TCrea_Fiche_& s = screen();
    s.resize(1024, 768);
    EXPECT_EQ(s.Panel1->geometry(), QRect(0, 0, 1024, 768));
    // Every control lies inside its parent, no two siblings overlap (the picture lies on its
    // frame), and every caption fits its control.
    const std::function<void(QWidget*)> check = [&](QWidget* parent) {
        QList<QWidget*> children = parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (QWidget* w : children) {
            if (w->objectName().isEmpty() || w->isWindow())
                continue; // parts of composite widgets (scroll bars, viewports)
            EXPECT_TRUE(parent->rect().contains(w->geometry()))
                << w->objectName().toStdString() << " in " << parent->objectName().toStdString();
            if (auto* b = qobject_cast<QAbstractButton*>(w)) {
                EXPECT_LE(b->sizeHint().width(), b->width()) << b->objectName().toStdString();
            }
            for (QWidget* other : children) {
                if (other == w || other->objectName().isEmpty() || other->isWindow())
                    continue;
                if ((w == s.Image1 && other == s.Shape1) || (w == s.Shape1 && other == s.Image1))
                    continue;
                EXPECT_FALSE(w->geometry().intersects(other->geometry()))
                    << w->objectName().toStdString() << " and "
                    << other->objectName().toStdString();
            }
            if (qobject_cast<QGroupBox*>(w) != nullptr || w == s.Panel1)
                check(w);
        }
    };
    check(&s);
    const QImage shot = s.grab().toImage();
    EXPECT_EQ(shot.size(), QSize(1024, 768));
}

TEST_F(CreaFicheTest, ShortAndLongAnswerTextExcludeEachOther) {
    start();
    TCrea_Fiche_& s = screen();
    s.RadioButton8->click();
    EXPECT_TRUE(s.Edit3->isEnabled());
    s.CheckBox4->click(); // untick the short text
    EXPECT_TRUE(s.CheckBox3->isChecked());
    for (QWidget* w : {(QWidget*)s.RadioButton5, (QWidget*)s.RadioButton8, (QWidget*)s.Edit3})
        EXPECT_FALSE(w->isEnabled());
    s.CheckBox3->click(); // untick the long text: the short text comes back
    EXPECT_TRUE(s.CheckBox4->isChecked());
    EXPECT_TRUE(s.RadioButton5->isEnabled());
    EXPECT_TRUE(s.Edit3->isEnabled());
    s.CheckBox3->click();
    EXPECT_FALSE(s.CheckBox4->isChecked());
    s.CheckBox4->click();
    EXPECT_FALSE(s.CheckBox3->isChecked());

    s.RadioButton4->click();
    EXPECT_TRUE(s.Edit2->isEnabled());
    s.RadioButton1->click();
    EXPECT_FALSE(s.Edit2->isEnabled());
    s.RadioButton6->click();
    EXPECT_FALSE(s.Edit3->isEnabled());
}

TEST_F(CreaFicheTest, SizeCheckWhenLeavingTheOtherSize) {
    start();
    TCrea_Fiche_& s = screen();
    const struct {
        const char* text;
        QString message;
    } cases[] = {
        {"12a", kOnlyDigitsMessage},
        {"256", kSizeTooLargeMessage},
        {"0", kSizeTooSmallMessage},
        {"7", QString()},
        {"", QString()},
    };
    for (const auto& c : cases) {
        ui.clearRecords();
        s.Edit2->setText(c.text);
        s.Edit3->setText(c.text);
        EXPECT_EQ(s.Edit2Exit(), c.message.isEmpty()) << c.text;
        EXPECT_EQ(s.Edit3Exit(), c.message.isEmpty()) << c.text;
        EXPECT_EQ(ui.messages(),
                  c.message.isEmpty() ? QStringList{} : QStringList({c.message, c.message}));
    }
}

TEST_F(CreaFicheTest, RefusalsInOrderAndNothingWritten) {
    start();
    TCrea_Fiche_& s = screen();
    // No answer kind at all (only reachable when both ticks are cleared directly).
    s.CheckBox4->setChecked(false);
    s.CheckBox3->setChecked(false);
    s.Button1_Click();
    EXPECT_EQ(ui.messages().last(), kNoAnswerKindMessage);
    s.CheckBox2->setChecked(true);
    s.Button1_Click();
    EXPECT_EQ(ui.messages().last(), kNoNameMessage);
    s.Edit1->setText("a/b");
    s.Button1_Click();
    EXPECT_EQ(ui.messages().last(), kSlashInNameMessage);
    s.Edit1->setText("N");
    s.RadioButton4->click();
    s.Edit2->setText("0");
    s.Button1_Click();
    EXPECT_EQ(ui.messages().last(), kSizeTooSmallMessage);
    // An empty other size: the number reader's error ends the creation.
    s.Edit2->setText("");
    ui.clearRecords();
    EXPECT_THROW(s.Button1_Click(), std::runtime_error);
    EXPECT_TRUE(ui.messages().isEmpty());
    EXPECT_TRUE(QDir(dat()).entryList(QDir::Files).isEmpty());

    // Through the button, the number reader's error reaches the error box.
    s.Button1->click();
    EXPECT_EQ(ui.errors(), QStringList{"'' no es un valor entero válido."});
    EXPECT_TRUE(QDir(dat()).entryList(QDir::Files).isEmpty());

    // Only N.PX exists: the name is taken.
    QFile px(dat("N.PX"));
    ASSERT_TRUE(px.open(QIODevice::WriteOnly));
    px.close();
    s.Edit2->setText("50");
    s.Button1_Click();
    EXPECT_EQ(ui.messages().last(), kAlreadyExistsMessage);
    EXPECT_EQ(QDir(dat()).entryList(QDir::Files), QStringList{"N.PX"});
}

TEST_F(CreaFicheTest, CreatingThroughEntryEight) {
    QTemporaryDir pictures;
    QImage image(640, 480, QImage::Format_RGB32);
    image.fill(Qt::darkYellow);
    const picture::Picture jpeg = picture::Picture::jpegFromImage(image);
    files::writeWhole(pictures.filePath("foto.JPEG"), jpeg.bytes());
    start();

    create([&](TCrea_Fiche_& s) {
        s.Edit1->setText("Curso");
        s.RadioButton4->click();
        s.Edit2->setText("7");
        s.CheckBox4->click(); // long answer text instead
        s.CheckBox6->setChecked(true);
        s.RichEdit1->setPlainText("Mi curso\n\nde prueba");
        ui.queueFile(pictures.filePath("foto.JPEG"));
        s.BitBtn1->click();
        EXPECT_EQ(s.pictureKind(), "JPG");
        EXPECT_FALSE(s.Image1->picture().isEmpty());
        s.Button1->click();
    });
    EXPECT_EQ(ui.messages(),
              QStringList{"El Fichero de Estudio\r\r\rCurso\r\rha sido creado."}.replaceInStrings(
                  "\r\r\r", "\r\r"));
    EXPECT_TRUE(ui.errors().isEmpty()) << ui.errors().join('|').toStdString();
    EXPECT_EQ(flagsOf("Curso"),
              QString("0 0 1 1 0    7   0  Csi Eno Msi EXsi IMsi").leftJustified(200, ' '));
    EXPECT_EQ(readDesignRecordFile(dat("Curso.STU"), QString()).mid(3),
              QStringList({"Mi curso", "", "de prueba"}));
    EXPECT_EQ(files::readWhole(dat("Curso.JPG")), jpeg.bytes());
    table::Table t;
    t.open(dat(), "Curso.DB");
    EXPECT_EQ(t.fieldByName("Preg_Text").def().size, 7);
    EXPECT_TRUE(t.isEmpty());
    // The picture dialog: its filter, and it started in the program folder.
    ASSERT_EQ(ui.fileRequests().size(), 1);
    EXPECT_EQ(ui.fileRequests()[0].filter,
              "All (*.jpg;*.jpeg;*.bmp)|*.jpg;*.jpeg;*.bmp|JPEG Image File (*.jpg, *.jpeg)|*.jpg, "
              "*.jpeg|Bitmaps (*.bmp)|*.bmp|All Files (*.*)|*.*");
    EXPECT_EQ(ui.fileRequests()[0].directory, QDir::cleanPath(folder.path()));
    // No study file open afterwards.
    EXPECT_FALSE(program->state().fileOpen);
    EXPECT_EQ(main().Label1->text(), "Fichero Abierto:  (ninguno)");

    // The screen keeps its values: a second creation starts from the first one's choices. A
    // pasted picture is saved as a bitmap; the picture dialog starts where it was left.
    QApplication::clipboard()->setImage(image);
    ui.clearRecords();
    create([&](TCrea_Fiche_& s) {
        EXPECT_TRUE(s.CheckBox3->isChecked());
        EXPECT_EQ(s.Edit2->text(), "7");
        EXPECT_EQ(s.descriptionLines(), QStringList({"Mi curso", "", "de prueba"}));
        s.Edit1->setText("Segundo");
        s.BitBtn2->click();
        EXPECT_EQ(s.pictureKind(), "BMP");
        ui.queueFile(pictures.filePath("notes.txt"));
        s.BitBtn1->click(); // any other ending loads nothing
        EXPECT_EQ(s.pictureKind(), "BMP");
        EXPECT_EQ(ui.fileRequests().last().directory, pictures.path());
        s.Button1->click();
    });
    EXPECT_EQ(picture::Picture::kindOfData(files::readWhole(dat("Segundo.BMP"))),
              picture::Picture::Kind::Bitmap);
    EXPECT_FALSE(QFile::exists(dat("Segundo.JPG")));

    // Removing the picture: none is saved.
    create([&](TCrea_Fiche_& s) {
        s.Edit1->setText("Tercero");
        s.Button6->click();
        s.Button1->click();
    });
    EXPECT_FALSE(QFile::exists(dat("Tercero.BMP")));
    EXPECT_TRUE(QFile::exists(dat("Tercero.STU")));

    // Salir writes nothing.
    create([&](TCrea_Fiche_& s) {
        s.Edit1->setText("Cuarto");
        s.Button2->click();
    });
    EXPECT_FALSE(QFile::exists(dat("Cuarto.STU")));
}

TEST_F(CreaFicheTest, EntryEightClosesTheOpenStudyFile) {
    start();
    CreationRequest r;
    r.datFolder = dat();
    r.name = "Abierto";
    open(createStudyFile(r));
    ASSERT_TRUE(program->state().fileOpen);
    create([&](TCrea_Fiche_& s) {
        EXPECT_FALSE(program->state().fileOpen);
        EXPECT_FALSE(data().Tabla_Activa.isOpen());
        s.Button2->click();
    });
    EXPECT_EQ(main().Label2->text(), "Fichero Abierto:  (ninguno)");
    EXPECT_FALSE(program->state().fileOpen);
}

TEST_F(CreaFicheTest, PastingTheDescription) {
    start();
    TCrea_Fiche_& s = screen();
    QApplication::clipboard()->clear();
    s.Button5Click();
    EXPECT_EQ(ui.messages(), QStringList{"El portapapeles no contiene un texto."});
    s.RichEdit1->setPlainText("Inicio: ");
    s.RichEdit1->moveCursor(QTextCursor::End);
    QApplication::clipboard()->setText("pegado");
    s.Button5Click();
    EXPECT_EQ(s.descriptionLines(), QStringList{"Inicio: pegado"});
    QApplication::clipboard()->clear();
    s.BitBtn2Click();
    EXPECT_EQ(ui.messages().last(), "El portapapeles no contiene una imagen.");
    EXPECT_TRUE(s.Image1->picture().isEmpty());
}

// A card with every content kind stored through the data module's operations, as the card
// editor stores it.
static void storeCard(TD_Module_& d, RunState& state, const picture::Picture& q,
                      const picture::Picture& a, const QByteArray& memo) {
    table::Table& t = d.Tabla_Activa;
    t.append();
    t.fieldByName("Nive_Fich").setInteger(1);
    t.fieldByName("Preg_Text").setString("¿Pregunta?");
    d.Si_Ficha_Usa_Comp_Encr_o_no();
    if (d.design.longAnswerText) {
        streams::MemoryStream s(memo);
        if (state.packedContent)
            d.Comprime_Codifica_Stream_con_QXS(s);
        t.fieldByName("Resp_Memo").setBytes(s.Bytes());
    } else {
        d.Guarda_Texto_Corto_Respuesta("corta");
    }
    for (auto [kind, field, picture] : {std::tuple{"Tipo_Preg_Imag", "Preg_Imag", &q},
                                        std::tuple{"Tipo_Resp_Imag", "Resp_Imag", &a}}) {
        streams::MemoryStream s(picture->bytes());
        if (state.packedContent)
            d.Comprime_Codifica_Stream_con_QXS(s);
        t.fieldByName(kind).setString(pictureKindText(*picture));
        t.fieldByName(field).setBytes(s.Bytes());
    }
    t.post();
}

TEST_F(CreaFicheTest, RoundTripPerDesign) {
    QImage image(30, 20, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    const picture::Picture jpeg = picture::Picture::jpegFromImage(image);
    const picture::Picture bitmap = picture::Picture::fromImage(image);
    const QByteArray memo = files::readWhole(ORBANEL_TEST_FIXTURES "/studyfile/long-answer.rtf");
    start();
    struct Design {
        const char* name;
        bool compressed;
        QString password;
        bool longText;
    };
    const Design designs[] = {{"Plano", false, "", false},
                              {"Comprimido", true, "", true},
                              {"Cifrado", false, "clave", false},
                              {"Ambos", true, "clave", true}};
    for (const Design& d : designs) {
        SCOPED_TRACE(d.name);
        if (d.password.isEmpty()) {
            create([&](TCrea_Fiche_& s) {
                s.Edit1->setText(d.name);
                s.CheckBox1->setChecked(true);
                s.CheckBox2->setChecked(true);
                s.CheckBox6->setChecked(d.compressed);
                if (s.CheckBox3->isChecked() != d.longText)
                    s.CheckBox3->click();
                s.Button1->click();
            });
        } else {
            // The screen writes no password; export and the tool do, through the same code.
            CreationRequest r;
            r.datFolder = dat();
            r.name = d.name;
            r.options.questionImage = r.options.answerImage = true;
            r.options.compressed = d.compressed;
            r.options.longAnswerText = d.longText;
            r.options.shortAnswerSize = d.longText ? 0 : 100;
            r.password = d.password;
            createStudyFile(r);
        }
        const QString table = dat(QString(d.name) + ".DB");
        ASSERT_TRUE(QFile::exists(table));
        if (!d.password.isEmpty())
            queuePassword(d.password);
        open(table);
        ASSERT_TRUE(program->state().fileOpen) << ui.messages().join('|').toStdString();
        storeCard(data(), program->state(), jpeg, bitmap, memo);

        if (!d.password.isEmpty())
            queuePassword(d.password);
        open(table);
        ASSERT_TRUE(program->state().fileOpen);
        const CardView& v = data().cardView;
        const bool packed = d.compressed || !d.password.isEmpty();
        EXPECT_EQ(data().Tabla_Activa.fieldByName("Ficha_Comp_Encr").asString(),
                  packed ? "S" : "N");
        EXPECT_EQ(v.shortAnswer, d.longText ? "" : "corta");
        if (d.longText) {
            EXPECT_EQ(v.longAnswer.firstBlock().text(), "Respuesta larga: camión");
        }
        EXPECT_EQ(v.questionPicture.bytes(), jpeg.bytes());
        EXPECT_EQ(v.answerPicture.image().pixel(3, 3), image.pixel(3, 3));
        // The hidden buffer holds the description.
        EXPECT_TRUE(main().RichEdit1->toPlainText().startsWith(
            d.password.isEmpty() ? "Nombre del Fichero de Estudio:" : ""));
        EXPECT_TRUE(ui.messages().filter("dañados").isEmpty());
    }
}

TEST_F(CreaFicheTest, PasswordPathsThroughTheMainScreen) {
    start();
    CreationRequest r;
    r.datFolder = dat();
    r.name = "Secreto";
    r.password = "clave";
    const QString table = createStudyFile(r);
    r.name = "Libre";
    r.password.clear();
    const QString free = createStudyFile(r);
    files::writeWhole(dat("Libre.CLA"), "anything");

    // Without password: no dialog, even beside a .CLA.
    open(free);
    EXPECT_TRUE(program->state().fileOpen);
    EXPECT_EQ(passwordDialogs(), 0);

    // Wrong password: its message, not opened.
    queuePassword("mala", true);
    open(table);
    EXPECT_EQ(ui.messages(), QStringList{kWrongPasswordMessage});
    EXPECT_FALSE(program->state().fileOpen);
    EXPECT_FALSE(QFile::exists(dat("Secreto.CLA")));
    // Salir: no message.
    ui.clearRecords();
    queuePassword("", false, false);
    open(table);
    EXPECT_TRUE(ui.messages().isEmpty());
    EXPECT_FALSE(program->state().fileOpen);

    // "Guardar contraseña": the .CLA is written, and the next opening asks nothing.
    queuePassword("clave", true);
    open(table);
    EXPECT_TRUE(program->state().fileOpen);
    EXPECT_TRUE(QFile::exists(dat("Secreto.CLA")));
    EXPECT_EQ(
        readRememberedPasswordFile(dat("Secreto.CLA"), program->state().volumeSerial).value(1),
        "clave");
    EXPECT_EQ(main().RichEdit3->toPlainText(), "RichEdit3\nclave");
    ui.clearRecords();
    open(table);
    EXPECT_TRUE(program->state().fileOpen);
    EXPECT_EQ(passwordDialogs(), 0);

    // A .CLA from another drive: deleted, the dialog shown instead.
    files::writeWhole(dat("Secreto.CLA"),
                      rememberedPasswordImage({"RichEdit3", "clave"}, "FFFF-0000"));
    queuePassword("clave");
    open(table);
    EXPECT_EQ(passwordDialogs(), 1);
    EXPECT_TRUE(program->state().fileOpen);
    EXPECT_FALSE(QFile::exists(dat("Secreto.CLA")));
    EXPECT_TRUE(ui.messages().isEmpty());
}

TEST_F(CreaFicheTest, DamagedRecordAndContentMessages) {
    start();
    CreationRequest r;
    r.datFolder = dat();
    r.name = "Roto";
    r.options.compressed = true;
    const QString table = createStudyFile(r);
    {
        table::Table t;
        t.open(dat(), "Roto.DB");
        t.append();
        t.fieldByName("Nive_Fich").setInteger(1);
        t.fieldByName("Ficha_Comp_Encr").setString("S");
        t.fieldByName("Resp_Text").setBytes("&  not packed content");
        t.post();
    }
    // Opening loads the first card: its damaged content is reported once; the file is open.
    open(table);
    EXPECT_EQ(ui.messages(), QStringList{kDamagedMessage});
    EXPECT_TRUE(program->state().fileOpen);
    EXPECT_TRUE(ui.errors().isEmpty());

    // A flags line that is too short: the record is damaged and the file is not opened.
    ui.clearRecords();
    writeDesignRecordFile(dat("Roto.STU"), {"0 0 0 1 0", "", ""}, QString());
    open(table);
    EXPECT_EQ(ui.messages(), QStringList{kDamagedMessage});
    EXPECT_FALSE(program->state().fileOpen);
    EXPECT_EQ(main().Label1->text(), "Fichero Abierto:  (ninguno)");
}

TEST_F(CreaFicheTest, FontStyleIsReadAtEveryActivation) {
    start();
    EXPECT_EQ(data().fontStyle, defaultFontStyle());
    QFile::copy(ORBANEL_TEST_FIXTURES "/studyfile/font-style.stl",
                QDir(folder.path()).filePath("01.stl"));
    create([](TCrea_Fiche_& s) { s.Button2->click(); });
    EXPECT_EQ(data().fontStyle.font.family(), "Arial");
    EXPECT_TRUE(data().fontStyle.font.italic());
    EXPECT_EQ(main().RE_Estilo_Fuente->toPlainText(), "abc - ABC - 123");
}
