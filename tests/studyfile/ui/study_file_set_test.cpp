// The data module's side of opening a study file (design record, password, remembered password,
// content container) and of storing and loading card content, with the password dialog and the
// message dialog replaced by scripts.
#include "platform/files.h"
#include "platform/rtf/rtf.h"
#include "streams/memory_stream.h"
#include "studyfile/card_table.h"
#include "studyfile/creation.h"
#include "studyfile/ui/data_module.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTextBlock>

#include <QScopeGuard>

#include <gtest/gtest.h>

#include <deque>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

using namespace studyfile;

namespace {

// Sets or clears the immutable flag of a file or folder (nothing in it can then be deleted,
// replaced or created, not even by root); false where the file system or the user's rights do
// not allow it.
bool setImmutable(const QString& path, bool on) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
    if (fd < 0)
        return false;
    int flags = 0;
    bool ok = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
}

struct Answer {
    QString password;
    bool accept = true;
    bool remember = false;
};

class StudyFileSetTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        state.programFolder = dir.path();
        state.volumeSerial = "1234-ABCD";
        dm = std::make_unique<TD_Module_>(state);
        wire(*dm);
    }
    void wire(TD_Module_& d) {
        d.showMessage = [this](const QString& text) { messages << text; };
        // The password dialog: what its two buttons do to the shared state.
        d.askPassword = [this] {
            ++dialogs;
            if (answers.empty())
                return QString();
            const Answer a = answers.front();
            answers.pop_front();
            state.passwordAccepted = a.accept;
            if (a.accept && a.remember)
                state.rememberPasswordRequest = true;
            return a.accept ? a.password : QString();
        };
    }
    QString create(const QString& name, DesignOptions o, const QString& password = QString()) {
        CreationRequest r;
        r.datFolder = dir.path();
        r.name = name;
        r.options = o;
        r.description = {"Línea uno", "", "Línea tres"};
        r.password = password;
        return createStudyFile(r);
    }
    bool open(const QString& table) {
        state.currentTablePath = table;
        return dm->Abre_Conjunto_Fichero(table);
    }
    QString cla(const QString& name) const { return dir.filePath(name + ".CLA"); }

    QTemporaryDir dir;
    RunState state;
    std::unique_ptr<TD_Module_> dm;
    QStringList messages;
    std::deque<Answer> answers;
    int dialogs = 0;
};

} // namespace

TEST_F(StudyFileSetTest, PlainStudyFileOpensWithoutDialogEvenBesideARememberedPassword) {
    DesignOptions o;
    o.questionImage = true;
    o.importanceLevel = true;
    o.questionSize = 30;
    const QString table = create("Plano", o);
    files::writeWhole(cla("Plano"), rememberedPasswordImage({"RichEdit3", "x"}, "1234-ABCD"));
    ASSERT_TRUE(open(table));
    EXPECT_EQ(dialogs, 0);
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(dm->design, o);
    EXPECT_FALSE(state.packedContent);
    EXPECT_FALSE(dm->QXS.Compressed);
    EXPECT_FALSE(dm->QXS.Encrypted);
    EXPECT_EQ(dm->description, QStringList({"Línea uno", "", "Línea tres"}));
    ASSERT_EQ(dm->exportRecordLines.size(), 6);
    EXPECT_EQ(dm->exportRecordLines[0], flagsLine(o));
    EXPECT_TRUE(dm->Tabla_Activa.isOpen());
    EXPECT_EQ(dm->Tabla_Activa.filter(), kBaseFilter);
    EXPECT_TRUE(dm->Tabla_Activa.filtered());
    EXPECT_EQ(state.selection.selectionFilter, kBaseFilter);
    EXPECT_EQ(dm->QXS3.Count(), 0);
    EXPECT_TRUE(QFile::exists(cla("Plano")));
}

TEST_F(StudyFileSetTest, RememberedPasswordIsWrittenOnlyAfterItOpened) {
    DesignOptions o;
    o.compressed = true;
    const QString table = create("Clave", o, "secreto");

    // A wrong password, with "Guardar contraseña" ticked: its message, nothing remembered.
    answers.push_back({"mal", true, true});
    EXPECT_FALSE(open(table));
    EXPECT_EQ(messages, QStringList({kWrongPasswordMessage}));
    EXPECT_FALSE(state.rememberPasswordRequest);
    EXPECT_FALSE(QFile::exists(cla("Clave")));
    EXPECT_FALSE(dm->Tabla_Activa.isOpen());

    // "Salir": no message.
    messages.clear();
    answers.push_back({"", false, false});
    EXPECT_FALSE(open(table));
    EXPECT_TRUE(messages.isEmpty());

    // The right password with "Guardar contraseña": the .CLA is written.
    answers.push_back({"secreto", true, true});
    ASSERT_TRUE(open(table));
    EXPECT_EQ(dialogs, 3);
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_FALSE(state.rememberPasswordRequest);
    EXPECT_TRUE(dm->design.enciphered);
    EXPECT_TRUE(state.packedContent);
    EXPECT_TRUE(dm->QXS.Encrypted);
    EXPECT_EQ(dm->QXS.Key, "secreto");
    EXPECT_FALSE(dm->QXS2.Encrypted);
    EXPECT_TRUE(dm->QXS2.Key.isEmpty());
    EXPECT_EQ(readRememberedPasswordFile(cla("Clave"), "1234-ABCD"),
              QStringList({"RichEdit3", "secreto"}));

    // The next opening on this drive asks nothing, also in a new run.
    dm = std::make_unique<TD_Module_>(state);
    wire(*dm);
    ASSERT_TRUE(open(table));
    EXPECT_EQ(dialogs, 3);
    EXPECT_EQ(dm->QXS.Key, "secreto");
}

TEST_F(StudyFileSetTest, RememberedPasswordFromAnotherDriveIsDeleted) {
    const QString table = create("Otra", DesignOptions{}, "secreto");
    files::writeWhole(cla("Otra"), rememberedPasswordImage({"RichEdit3", "secreto"}, "9999-0000"));
    answers.push_back({"secreto", true, false});
    ASSERT_TRUE(open(table));
    EXPECT_EQ(dialogs, 1);
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_FALSE(QFile::exists(cla("Otra")));
    // Content is enciphered with the typed password.
    EXPECT_EQ(dm->QXS.Key, "secreto");

    // A damaged one goes the same way.
    files::writeWhole(cla("Otra"), "garbage");
    answers.push_back({"secreto", true, false});
    ASSERT_TRUE(open(table));
    EXPECT_EQ(dialogs, 2);
    EXPECT_FALSE(QFile::exists(cla("Otra")));
}

TEST_F(StudyFileSetTest, DamagedDesignRecords) {
    const QString table = create("Roto", DesignOptions{});
    // What the opening says depends on the record's mark: a record that is not enciphered cannot
    // fail for a password, so it is damaged; an enciphered one that does not open is taken for a
    // wrong password, unless the password dialog was left with "Salir".
    const QByteArray garbage(40, 'x');
    struct Case {
        const char* what;
        QByteArray bytes;
        bool accepted; // the password dialog was accepted (earlier in the run, or now)
        QStringList expected;
    };
    const Case cases[] = {
        {"plain, damaged", "  not a container", false, {kDamagedMessage}},
        {"plain, damaged, a password accepted earlier in the run",
         "  not a container",
         true,
         {kDamagedMessage}},
        {"compressed, damaged", "& not a container", true, {kDamagedMessage}},
        {"too short for a mark", "&", false, {kDamagedMessage}},
        {"enciphered, left with Salir", "&*" + garbage, false, {}},
        {"enciphered, the password does not open it",
         "&*" + garbage,
         true,
         {kWrongPasswordMessage}},
    };
    for (const Case& c : cases) {
        messages.clear();
        answers.clear();
        files::writeWhole(dir.filePath("Roto.STU"), c.bytes);
        state.passwordAccepted = c.accepted;
        answers.push_back({"clave", c.accepted, false});
        EXPECT_FALSE(open(table)) << c.what;
        EXPECT_EQ(messages, c.expected) << c.what;
        EXPECT_FALSE(dm->Tabla_Activa.isOpen()) << c.what;
    }
    // A readable container with a damaged flags line.
    messages.clear();
    writeDesignRecordFile(dir.filePath("Roto.STU"), {"0 0 0 1 0   6", "v", ""}, QString());
    EXPECT_FALSE(open(table));
    EXPECT_EQ(messages, QStringList({kDamagedMessage}));
    EXPECT_FALSE(dm->Tabla_Activa.isOpen());
}

TEST_F(StudyFileSetTest, RememberedPasswordFileTroubleDoesNotStopTheOpening) {
    const QString table = create("Fija", DesignOptions{}, "secreto");
    // A .CLA written on another drive that cannot be deleted: the dialog is asked all the same.
    files::writeWhole(cla("Fija"), rememberedPasswordImage({"RichEdit3", "secreto"}, "9999-0000"));
    if (!setImmutable(cla("Fija"), true))
        GTEST_SKIP() << "this file system or user cannot make a file undeletable";
    {
        const auto release = qScopeGuard([&] { setImmutable(cla("Fija"), false); });
        answers.push_back({"secreto", true, false});
        EXPECT_TRUE(open(table));
        EXPECT_EQ(dialogs, 1);
        EXPECT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();
        EXPECT_EQ(dm->QXS.Key, "secreto");
    }

    // A .CLA that cannot be written: its message, and the study file is open.
    ASSERT_TRUE(QFile::remove(cla("Fija")));
    ASSERT_TRUE(setImmutable(dir.path(), true));
    {
        const auto release = qScopeGuard([&] { setImmutable(dir.path(), false); });
        answers.push_back({"secreto", true, true});
        EXPECT_TRUE(open(table));
        EXPECT_EQ(messages, QStringList({kPasswordNotSavedMessage}));
        EXPECT_TRUE(dm->Tabla_Activa.isOpen());
        EXPECT_FALSE(state.rememberPasswordRequest);
    }
    EXPECT_FALSE(QFile::exists(cla("Fija")));
}

TEST_F(StudyFileSetTest, CardContentRoundTripPerDesign) {
    QImage image(9, 7, QImage::Format_RGB32);
    image.fill(Qt::green);
    const picture::Picture jpeg = picture::Picture::jpegFromImage(image);
    const picture::Picture bitmap = picture::Picture::fromImage(image);
    const QByteArray memo = files::readWhole(ORBANEL_TEST_FIXTURES "/studyfile/long-answer.rtf");
    struct Form {
        const char* name;
        bool compressed;
        QString password;
    };
    const Form forms[] = {
        {"plain", false, ""}, {"comp", true, ""}, {"enc", false, "pw"}, {"both", true, "pw"}};
    for (const Form& f : forms) {
        SCOPED_TRACE(f.name);
        for (bool longText : {false, true}) {
            DesignOptions o;
            o.questionImage = o.answerImage = true;
            o.compressed = f.compressed;
            o.longAnswerText = longText;
            o.shortAnswerSize = longText ? 0 : 100;
            const QString name = QString(f.name) + (longText ? "L" : "S");
            const QString table = create(name, o, f.password);
            if (!f.password.isEmpty())
                answers.push_back({f.password, true, false});
            ASSERT_TRUE(open(table));
            const bool packed = f.compressed || !f.password.isEmpty();
            EXPECT_EQ(state.packedContent, packed);

            // A card as the editor stores it.
            table::Table& t = dm->Tabla_Activa;
            t.append();
            t.fieldByName("Nive_Fich").setInteger(1);
            t.fieldByName("Preg_Text").setString("pregunta");
            dm->Si_Ficha_Usa_Comp_Encr_o_no();
            EXPECT_FALSE(dm->packedToPlain);
            EXPECT_FALSE(dm->plainToPacked);
            dm->Guarda_Texto_Corto_Respuesta("respuesta corta");
            const auto store = [&](const char* kind, const char* field, const picture::Picture& p) {
                streams::MemoryStream s(p.bytes());
                if (state.packedContent)
                    dm->Comprime_Codifica_Stream_con_QXS(s);
                EXPECT_EQ(s.Position(), 0);
                t.fieldByName(kind).setString(pictureKindText(p));
                t.fieldByName(field).setBytes(s.Bytes());
            };
            store("Tipo_Preg_Imag", "Preg_Imag", jpeg);
            store("Tipo_Resp_Imag", "Resp_Imag", bitmap);
            if (longText) {
                streams::MemoryStream s(memo);
                if (state.packedContent)
                    dm->Comprime_Codifica_Stream_con_QXS(s);
                t.fieldByName("Resp_Memo").setBytes(s.Bytes());
            }
            t.post();
            EXPECT_EQ(t.fieldByName("Ficha_Comp_Encr").asString(), packed ? "S" : "N");
            EXPECT_EQ(t.fieldByName("Resp_Text").isNull(), longText);
            EXPECT_EQ(t.fieldByName("Preg_Imag").asBytes() == jpeg.bytes(), !packed);

            // Reopened in a new run, the card reads back.
            dm = std::make_unique<TD_Module_>(state);
            wire(*dm);
            if (!f.password.isEmpty())
                answers.push_back({f.password, true, false});
            ASSERT_TRUE(open(table));
            const CardView& v = dm->cardView;
            EXPECT_EQ(v.packingLabel, packed ? "Ficha Usa QXS: S" : "Ficha Usa QXS: N");
            EXPECT_EQ(v.shortAnswer, longText ? "" : "respuesta corta");
            EXPECT_EQ(v.questionPicture.bytes(), jpeg.bytes());
            EXPECT_EQ(v.answerPicture.kind(), picture::Picture::Kind::Bitmap);
            EXPECT_EQ(v.answerPicture.image().pixel(0, 0), image.pixel(0, 0));
            EXPECT_EQ(v.answerPictureNumber, longText ? 5 : 6);
            if (longText) {
                EXPECT_EQ(v.longAnswer.firstBlock().text(), "Respuesta larga: camión");
            }
            EXPECT_TRUE(messages.isEmpty()) << messages.join('|').toStdString();
        }
    }
}

TEST_F(StudyFileSetTest, PlainCardInAPackingStudyFileAndDamagedContent) {
    DesignOptions o;
    o.compressed = true;
    const QString table = create("Mixto", o);
    {
        table::Table t;
        t.open(dir.path(), "Mixto.DB");
        t.append();
        t.fieldByName("Nive_Fich").setInteger(1);
        t.fieldByName("Ficha_Comp_Encr").setString("N");
        t.fieldByName("Resp_Text").setBytes(rtf::writeLines({"sin empaquetar"}));
        t.post();
        t.append();
        t.fieldByName("Nive_Fich").setInteger(2);
        t.fieldByName("Ficha_Comp_Encr").setString("S");
        t.fieldByName("Resp_Text").setBytes("&  damaged packed content");
        t.post();
    }
    ASSERT_TRUE(open(table));
    EXPECT_EQ(dm->cardView.shortAnswer, "sin empaquetar");
    EXPECT_EQ(dm->cardView.packingLabel, "Ficha Usa QXS: N");
    EXPECT_TRUE(messages.isEmpty());

    int loads = 0;
    dm->cardLoader = [&] { ++loads; };
    dm->Tabla_Activa.next();
    EXPECT_EQ(loads, 1);
    EXPECT_EQ(messages, QStringList({kDamagedMessage}));
    EXPECT_TRUE(dm->cardView.damaged);
    EXPECT_EQ(dm->cardView.shortAnswer, "");

    // Saving the plain card once turns it packed and says so.
    dm->Tabla_Activa.first();
    dm->Tabla_Activa.edit();
    dm->Si_Ficha_Usa_Comp_Encr_o_no();
    EXPECT_TRUE(dm->plainToPacked);
    EXPECT_FALSE(dm->packedToPlain);
    dm->Guarda_Texto_Corto_Respuesta("ahora empaquetada");
    dm->Tabla_Activa.post();
    EXPECT_EQ(dm->Tabla_Activa.fieldByName("Resp_Text").asBytes().left(2), "& ");
    dm->Tabla_Activa.next();
    dm->Tabla_Activa.first();
    EXPECT_EQ(dm->cardView.shortAnswer, "ahora empaquetada");
}

TEST_F(StudyFileSetTest, UnpackOperationAndNotModifiableMessage) {
    dm->QXS.Compressed = true;
    streams::MemoryStream s(QByteArray("contenido"));
    dm->Comprime_Codifica_Stream_con_QXS(s);
    EXPECT_EQ(s.Bytes().left(1), "&");
    dm->Descomprime_Descodifica_Stream_con_QXS(s);
    EXPECT_EQ(s.Bytes(), "contenido");
    EXPECT_EQ(s.Position(), 0);
    s.SetBytes("xx");
    EXPECT_THROW(dm->Descomprime_Descodifica_Stream_con_QXS(s), streams::CorruptFile);
    EXPECT_EQ(messages, QStringList({kDamagedMessage}));
    dm->FE_No_Modificable();
    EXPECT_EQ(messages.last(),
              "El autor/a inicial de este Fichero de Estudio no \r\rautoriza la modificación ni "
              "el borrado de sus fichas.");
}

TEST_F(StudyFileSetTest, FontStyleFile) {
    dm->Lee_Estilo_Fuente();
    EXPECT_EQ(dm->fontStyle, defaultFontStyle());
    QFont font("Liberation Mono");
    font.setPointSize(20);
    font.setItalic(true);
    dm->Guarda_Estilo_Fuente(font, Qt::darkRed);
    ASSERT_TRUE(QFile::exists(dir.filePath("01.stl")));
    EXPECT_TRUE(rtf::isRtf(files::readWhole(dir.filePath("01.stl"))));

    TD_Module_ other(state);
    other.Lee_Estilo_Fuente();
    EXPECT_EQ(other.fontStyle.font.family(), "Liberation Mono");
    EXPECT_DOUBLE_EQ(other.fontStyle.font.pointSizeF(), 20.0);
    EXPECT_TRUE(other.fontStyle.font.italic());
    EXPECT_FALSE(other.fontStyle.font.bold());
    EXPECT_EQ(other.fontStyle.colour, QColor(Qt::darkRed));
    // Choosing only a font keeps the colour.
    other.Guarda_Estilo_Fuente(QFont("Liberation Sans"));
    EXPECT_EQ(other.fontStyle.colour, QColor(Qt::darkRed));
    // A file found whatever its letter case.
    QFile::rename(dir.filePath("01.stl"), dir.filePath("01.STL"));
    TD_Module_ third(state);
    third.Lee_Estilo_Fuente();
    EXPECT_EQ(third.fontStyle.font.family(), "Liberation Sans");
}

TEST_F(StudyFileSetTest, ARememberedPasswordThatNoLongerOpensIsForgotten) {
    const QString table = create("Cambiada", DesignOptions{}, "nueva");
    files::writeWhole(cla("Cambiada"),
                      rememberedPasswordImage({"RichEdit3", "vieja"}, "1234-ABCD"));
    state.passwordAccepted = true; // accepted earlier in the run
    answers.push_back({"nueva", true, false});
    ASSERT_TRUE(open(table));
    EXPECT_EQ(dialogs, 1);
    EXPECT_TRUE(messages.isEmpty()) << messages.join('|').toStdString();
    EXPECT_FALSE(QFile::exists(cla("Cambiada")));
    EXPECT_EQ(dm->QXS.Key, "nueva");

    // Salir in that dialog: not opened, no message.
    files::writeWhole(cla("Cambiada"),
                      rememberedPasswordImage({"RichEdit3", "vieja"}, "1234-ABCD"));
    state.passwordAccepted = false;
    answers.push_back({"", false, false});
    EXPECT_FALSE(open(table));
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(dialogs, 2);
}
