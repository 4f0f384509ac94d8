// End-to-end tests of orbanel-tool studyfile: creation with the screen's defaults and refusals,
// the design record shown back, enciphered study files with and without a remembered password,
// cards stored and read back in every packing form, and level-0 cards counted and promoted.
#include "tool_runner.h"

#include "support/card_rows.h"

#include "platform/clock.h"
#include "platform/files.h"
#include "platform/picture/picture.h"
#include "platform/rtf/rtf.h"
#include "platform/table/table.h"
#include "platform/volume.h"
#include "streams/memory_stream.h"
#include "streams/qx_streams.h"
#include "studyfile/card_content.h"
#include "studyfile/card_table.h"
#include "studyfile/design_record.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

using studyfile::DesignOptions;

std::string dateKeyToday() {
    return platform::dateKey(QDate::currentDate()).toStdString();
}

class StudyFileToolTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    ToolResult tool(QStringList args) { return runTool(args, dir.path()); }
    QString path(const QString& name) const { return dir.filePath(name); }
    // Runs a command that must succeed and returns what it printed.
    std::string ok(const QStringList& args) {
        const ToolResult r = tool(args);
        EXPECT_EQ(r.exitCode, 0) << args.join(' ').toStdString() << ": " << r.err;
        return r.out;
    }
    // Runs a command that must fail and returns its one error line.
    std::string fails(const QStringList& args) {
        const ToolResult r = tool(args);
        EXPECT_NE(r.exitCode, 0) << args.join(' ').toStdString();
        EXPECT_TRUE(r.out.empty()) << r.out;
        return r.err;
    }
    QString flags(const QString& name, const QString& password = QString()) {
        return studyfile::readDesignRecordFile(path(name + ".STU"), password).value(0);
    }

    QTemporaryDir dir;
};

const std::string kTemplateDescription = "description:\n"
                                         "Nombre del Fichero de Estudio:\n"
                                         "\n"
                                         "Contenido:\n"
                                         "\n"
                                         "Número de Fichas:\n"
                                         "\n"
                                         "Comentarios:\n"
                                         "\n"
                                         "\n"
                                         "Fecha de Creación:\n"
                                         "\n"
                                         "Autor/a:\n"
                                         "\n"
                                         "Dirección de Correo Electrónico:\n"
                                         "\n"
                                         "Página Web:\n";

TEST_F(StudyFileToolTest, CreateWithTheScreenDefaultsAndShowIt) {
    ok({"studyfile", "create", path("Curso")});
    EXPECT_TRUE(QFile::exists(path("Curso.DB")));
    EXPECT_TRUE(QFile::exists(path("Curso.STU")));
    EXPECT_EQ(ok({"studyfile", "show", path("Curso.DB")}), "question size: 60\n"
                                                           "short answer size: 100\n"
                                                           "question image: no\n"
                                                           "answer image: no\n"
                                                           "long answer text: no\n"
                                                           "card key: yes\n"
                                                           "importance level: no\n"
                                                           "compressed: no\n"
                                                           "enciphered: no\n"
                                                           "modifiable: yes\n"
                                                           "exportable: yes\n"
                                                           "printable: yes\n" +
                                                               kTemplateDescription);
    // The record as the screen writes it: flags, version and empty line before the description.
    const QStringList lines = studyfile::readDesignRecordFile(path("Curso.STU"), QString());
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(lines[0],
              QString("0 0 0 1 0   60 100  Cno Eno Msi EXsi IMsi").leftJustified(200, ' '));
    EXPECT_EQ(lines[1], QString("Orbanel  vs. 2.0").leftJustified(240, ' '));
    EXPECT_EQ(lines[2], "");
    // The empty card table with the question size as Preg_Text's size.
    table::Table t;
    t.open(dir.path(), "Curso.DB");
    EXPECT_TRUE(t.isEmpty());
    EXPECT_EQ(t.fieldDefs()[4].name, "Preg_Text");
    EXPECT_EQ(t.fieldDefs()[4].size, 60);
}

TEST_F(StudyFileToolTest, OptionsReachTheFlagsLine) {
    struct Case {
        QStringList options;
        QString flags; // the first 41 characters
    };
    const Case cases[] = {
        {{}, "0 0 0 1 0   60 100  Cno Eno Msi EXsi IMsi"},
        {{"--long-answer"}, "0 0 1 1 0   60   0  Cno Eno Msi EXsi IMsi"},
        {{"--answer-size", "0"}, "0 0 1 1 0   60   0  Cno Eno Msi EXsi IMsi"},
        {{"--question-size", "7", "--answer-size", "255"},
         "0 0 0 1 0    7 255  Cno Eno Msi EXsi IMsi"},
        {{"--question-image", "--answer-image", "--no-card-key", "--importance", "--compressed"},
         "1 1 0 0 1   60 100  Csi Eno Msi EXsi IMsi"},
        {{"--password", "clave", "--question-size", "255"},
         "0 0 0 1 0  255 100  Cno Esi Msi EXsi IMsi"},
    };
    int n = 0;
    for (const Case& c : cases) {
        const QString name = QString("F%1").arg(n++);
        // Options after the positional argument as well as before it.
        ok(QStringList{"studyfile", "create"} + c.options + QStringList{path(name)});
        const QString password = c.options.contains("--password") ? "clave" : QString();
        EXPECT_EQ(flags(name, password), c.flags.leftJustified(200, ' '))
            << c.options.join(' ').toStdString();
    }
    ok({"studyfile", "create", path("Late"), "--question-size", "30"});
    EXPECT_EQ(flags("Late").mid(11, 3), " 30");
    table::Table t;
    t.open(dir.path(), "F3.DB");
    EXPECT_EQ(t.fieldByName("Preg_Text").def().size, 7);
}

TEST_F(StudyFileToolTest, CreationRefusalsWriteNothing) {
    struct Case {
        QStringList options;
        std::string error;
    };
    const Case cases[] = {
        {{"--question-size", "0"},
         "error: El tamaño mínimo es 1. El valor que escriba debe ser igual o mayor.\n"},
        {{"--question-size", "256"},
         "error: El tamaño máximo es 255. El valor que escriba debe ser igual o menor.\n"},
        {{"--answer-size", "300"},
         "error: El tamaño máximo es 255. El valor que escriba debe ser igual o menor.\n"},
        {{"--question-size", "abc"}, "error: --question-size needs a whole number, got \"abc\"\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fails(QStringList{"studyfile", "create", path("N")} + c.options), c.error)
            << c.options.join(' ').toStdString();
        EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    }
    // Only N.px exists: the name is taken (whatever the letter case).
    QFile px(path("N.px"));
    ASSERT_TRUE(px.open(QIODevice::WriteOnly));
    px.close();
    EXPECT_EQ(fails({"studyfile", "create", path("N")}),
              "error: Ya existe un Fichero con ese nombre. Debe cambiarlo para poder crear un "
              "Fichero nuevo.\n");
    EXPECT_FALSE(QFile::exists(path("N.STU")));
    EXPECT_EQ(fails({"studyfile", "create", dir.path() + "/"}),
              "error: Debe escribir un nombre para el Fichero de Estudio.\n");
}

TEST_F(StudyFileToolTest, DescriptionFromAFile) {
    QFile f(path("desc.txt"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("Vocabulario de alemán\r\n\r\nAutor/a: Ana\n");
    f.close();
    ok({"studyfile", "create", path("D"), "--description-file", path("desc.txt")});
    const std::string out = ok({"studyfile", "show", path("D.DB")});
    EXPECT_NE(out.find("description:\nVocabulario de alemán\n\nAutor/a: Ana\n"), std::string::npos)
        << out;
}

TEST_F(StudyFileToolTest, EncipheredStudyFilePasswords) {
    ok({"studyfile", "create", path("S"), "--password", "clave", "--compressed"});
    EXPECT_EQ(fails({"studyfile", "show", path("S.DB"), "--password", "otra"}),
              "error: La contraseña no es correcta para este Fichero de Estudio.\n");
    EXPECT_NE(fails({"studyfile", "show", path("S.DB")}), "");
    EXPECT_NE(
        ok({"studyfile", "show", "--password", "clave", path("S.DB")}).find("enciphered: yes\n"),
        std::string::npos);

    // A remembered password made on this device opens it; one made elsewhere does not, and the
    // tool leaves the file as it was.
    const QByteArray here = studyfile::rememberedPasswordImage(
        {"RichEdit3", "clave"}, platform::volumeSerialText(dir.path()));
    files::writeWhole(path("S.CLA"), here);
    EXPECT_NE(ok({"studyfile", "show", path("S.DB")}).find("compressed: yes\n"), std::string::npos);
    const QByteArray elsewhere =
        studyfile::rememberedPasswordImage({"RichEdit3", "clave"}, "0000-0000");
    files::writeWhole(path("S.CLA"), elsewhere);
    fails({"studyfile", "show", path("S.DB")});
    EXPECT_EQ(files::readWhole(path("S.CLA")), elsewhere);
}

TEST_F(StudyFileToolTest, DamagedDesignRecords) {
    studyfile::createCardTable(path("X.DB"));
    const std::string damaged = "error: Los datos de este Fichero de Estudio están dañados.\n";
    const QString good = studyfile::flagsLine(DesignOptions{});
    const QStringList records[] = {
        {good.left(40), "v", ""},                       // flags line too short
        {QString(good).replace(11, 3, " x0"), "v", ""}, // question size not a number
        {QString(good).replace(15, 3, "   "), "v", ""}, // short answer size blank
    };
    for (const QStringList& lines : records) {
        studyfile::writeDesignRecordFile(path("X.STU"), lines, QString());
        EXPECT_EQ(fails({"studyfile", "show", path("X.DB")}), damaged);
    }
    files::writeWhole(path("X.STU"), "& garbage that is not a container");
    EXPECT_EQ(fails({"studyfile", "show", path("X.DB")}), damaged);
    QFile::remove(path("X.STU"));
    EXPECT_EQ(fails({"studyfile", "show", path("X.DB")}),
              "error: El Fichero de Estudio está incompleto.\n");
}

TEST_F(StudyFileToolTest, CardsRoundTripInEveryPackingForm) {
    QImage image(23, 17, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    const picture::Picture jpeg = picture::Picture::jpegFromImage(image);
    files::writeWhole(path("q.jpeg"), jpeg.bytes());
    const QByteArray bmp = files::readWhole(ORBANEL_TEST_FIXTURES "/streams/picture.bmp");
    files::writeWhole(path("a.bmp"), bmp);
    const QByteArray memo = files::readWhole(ORBANEL_TEST_FIXTURES "/studyfile/long-answer.rtf");

    struct Form {
        const char* name;
        QStringList options;
        const char* state;
    };
    const Form forms[] = {
        {"plain", {}, "N"},
        {"compressed", {"--compressed"}, "S"},
        {"enciphered", {"--password", "pw"}, "S"},
        {"both", {"--compressed", "--password", "pw"}, "S"},
    };
    for (const Form& form : forms) {
        SCOPED_TRACE(form.name);
        const QString base = path(form.name);
        const QStringList pw =
            form.options.contains("--password") ? QStringList{"--password", "pw"} : QStringList{};
        // Short answer with both pictures, card key and importance.
        ok(QStringList{"studyfile", "create", base, "--question-image", "--answer-image",
                       "--importance"} +
           form.options);
        const std::string id =
            ok(QStringList{"studyfile", "add-card", base + ".DB", "--question", "¿Capital de Perú?",
                           "--answer", "Lima, la ñ", "--question-image", path("q.jpeg"),
                           "--answer-image", path("a.bmp"), "--card-key", "geo", "--importance",
                           "-3", "--level", "4"} +
               pw);
        EXPECT_EQ(id, "1\n");
        const QString out = path(QString(form.name) + "-out");
        QDir().mkpath(out);
        const std::string shown =
            ok(QStringList{"studyfile", "card", base + ".DB", "1", "--out", out} + pw);
        const std::string today = dateKeyToday();
        EXPECT_EQ(shown, "Nive_Fich: 4\nNive_Impo: 0\nAutoInc: 1\nClav_Fich: geo\n"
                         "Preg_Text: ¿Capital de Perú?\nTipo_Preg_Imag: JPG\nTipo_Resp_Imag: BMP\n"
                         "Fech_Crea: " +
                             today + "\nFech_Ulti_Repa: \nTotal_Repa: 0\nFech_Prox_Repa: " + today +
                             "\nFicha_Comp_Encr: " + form.state +
                             "\nCamp_Logi: \nshort answer: Lima, la ñ\n");
        EXPECT_EQ(files::readWhole(out + "/question.jpg"), jpeg.bytes());
        EXPECT_EQ(files::readWhole(out + "/answer.bmp"), bmp);
        EXPECT_FALSE(QFile::exists(out + "/long-answer.rtf"));

        // Long answer, no card key: a picture the design has but none is given is "NO".
        ok(QStringList{"studyfile", "create", base + "L", "--long-answer", "--no-card-key",
                       "--question-image"} +
           form.options);
        ok(QStringList{"studyfile", "add-card", base + "L.DB", "--question", "q",
                       "--long-answer-file", ORBANEL_TEST_FIXTURES "/studyfile/long-answer.rtf"} +
           pw);
        const QString outL = out + "L";
        QDir().mkpath(outL);
        const std::string shownL =
            ok(QStringList{"studyfile", "card", base + "L.DB", "1", "--out", outL} + pw);
        EXPECT_NE(shownL.find("Nive_Impo: \nAutoInc: 1\nClav_Fich: \n"), std::string::npos);
        EXPECT_NE(shownL.find("Tipo_Preg_Imag: NO\nTipo_Resp_Imag: \n"), std::string::npos);
        EXPECT_NE(shownL.find("short answer: \n"), std::string::npos);
        EXPECT_EQ(files::readWhole(outL + "/long-answer.rtf"), memo);
        EXPECT_FALSE(QFile::exists(outL + "/question.jpg"));

        // What is stored is packed exactly when the design packs content.
        table::Table t;
        t.open(dir.path(), QString(form.name) + ".DB");
        const QByteArray stored = t.fieldByName("Resp_Imag").asBytes();
        EXPECT_EQ(stored == bmp, QString(form.state) == "N");
    }
}

// edit-card changes the parts given and keeps the stored bytes of every other part; each refusal
// leaves the table file byte-identical.
TEST_F(StudyFileToolTest, EditCardChangesOnlyWhatIsGiven) {
    QImage image(23, 17, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    files::writeWhole(path("q.jpeg"), picture::Picture::jpegFromImage(image).bytes());
    ASSERT_TRUE(image.save(path("otra.png"), "PNG"));
    files::writeWhole(path("nota.txt"), "no es una imagen");
    const QStringList pw{"--password", "pw"};
    ok(QStringList{"studyfile", "create", path("E"), "--long-answer", "--question-image",
                   "--answer-image", "--importance", "--compressed"} +
       pw);
    const QString db = path("E.DB");
    ok(QStringList{"studyfile", "add-card", db, "--question", "vieja", "--question-image",
                   path("q.jpeg"), "--answer-image", ORBANEL_TEST_FIXTURES "/streams/picture.bmp",
                   "--long-answer-file", ORBANEL_TEST_FIXTURES "/rtf/word-processor-1.rtf",
                   "--card-key", "geo", "--importance", "4"} +
       pw);
    ok(QStringList{"studyfile", "add-card", db, "--question", "otra"} + pw);
    const auto rows = [&] { return card_rows::read(db); };

    struct Case {
        const char* name;
        QStringList options;
        std::set<QString> changed;
    };
    const Case cases[] = {
        {"question", {"--question", "nueva"}, {"Preg_Text"}},
        {"key and importance",
         {"--card-key", "hist", "--importance", "+7"},
         {"Clav_Fich", "Nive_Impo"}},
        {"answer picture removed", {"--no-answer-image"}, {"Tipo_Resp_Imag", "Resp_Imag"}},
        {"question picture from a PNG",
         {"--question-image", path("otra.png")},
         {"Tipo_Preg_Imag", "Preg_Imag"}},
        {"long answer",
         {"--long-answer-file", ORBANEL_TEST_FIXTURES "/rtf/word-processor-2.rtf"},
         {"Resp_Memo"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const card_rows::Rows before = rows();
        EXPECT_EQ(ok(QStringList{"studyfile", "edit-card", db, "1"} + c.options + pw), "1 S\n");
        const card_rows::Rows after = rows();
        EXPECT_EQ(card_rows::changedRows(before, after), std::set<qint64>{1});
        EXPECT_EQ(card_rows::changedFields(before.at(1), after.at(1)), c.changed);
    }
    const card_rows::Row row = rows().at(1);
    EXPECT_EQ(row.at("Preg_Text"), "nueva");
    EXPECT_EQ(row.at("Nive_Impo"), "7");
    EXPECT_EQ(row.at("Tipo_Preg_Imag"), "BMP");
    EXPECT_EQ(row.at("Tipo_Resp_Imag"), "NO");
    EXPECT_EQ(row.at("Resp_Imag"), "<blank>");

    const QByteArray table = files::readWhole(db);
    const struct {
        QStringList args;
        std::string err;
    } refusals[] = {
        {{"99"}, "error: no card with AutoInc 99\n"},
        {{"1", "--importance", "40000"}, "error: --importance needs a whole number up to 32767\n"},
        {{"1", "--importance", "abc"}, "error: --importance needs a whole number up to 32767\n"},
        {{"1", "--answer", "a"},
         "error: --answer: the study file's cards have no short answer text\n"},
        {{"1", "--question-image", path("q.jpeg"), "--no-question-image"},
         "error: --question-image and --no-question-image exclude each other\n"},
        {{"1", "--answer-image", path("q.jpeg"), "--no-answer-image"},
         "error: --answer-image and --no-answer-image exclude each other\n"},
        {{"1", "--answer-image", path("nota.txt")},
         "error: cannot read picture " + path("nota.txt").toStdString() +
             ": \"nota.txt\" no es un fichero de imagen que pueda leerse.\n"},
    };
    for (const auto& r : refusals) {
        EXPECT_EQ(fails(QStringList{"studyfile", "edit-card", db} + r.args + pw), r.err);
        EXPECT_EQ(files::readWhole(db), table);
    }
    // A study file whose author does not allow changes.
    QStringList lines = studyfile::readDesignRecordFile(path("E.STU"), "pw");
    DesignOptions o = studyfile::parseFlagsLine(lines[0]);
    o.modifiable = false;
    lines[0] = studyfile::flagsLine(o);
    studyfile::writeDesignRecordFile(path("E.STU"), lines, "pw");
    EXPECT_EQ(fails(QStringList{"studyfile", "edit-card", db, "1", "--question", "x"} + pw),
              "error: El autor/a inicial de este Fichero de Estudio no autoriza la modificación "
              "ni el borrado de sus fichas.\n");
    EXPECT_EQ(files::readWhole(db), table);

    // A card stored plain, in a study file that now packs: the change packs every large field
    // from exactly its stored bytes.
    ok({"studyfile", "create", path("P"), "--question-image", "--answer-image"});
    ok({"studyfile", "add-card", path("P.DB"), "--question", "plana", "--answer", "corta",
        "--question-image", path("q.jpeg"), "--answer-image",
        ORBANEL_TEST_FIXTURES "/streams/picture.bmp"});
    QStringList plainLines = studyfile::readDesignRecordFile(path("P.STU"), QString());
    DesignOptions packed = studyfile::parseFlagsLine(plainLines[0]);
    packed.compressed = true;
    plainLines[0] = studyfile::flagsLine(packed);
    studyfile::writeDesignRecordFile(path("P.STU"), plainLines, QString());
    const card_rows::Row plainBefore = card_rows::read(path("P.DB")).at(1);
    EXPECT_EQ(ok({"studyfile", "edit-card", path("P.DB"), "1", "--question", "nueva"}), "1 S\n");
    const card_rows::Row plainAfter = card_rows::read(path("P.DB")).at(1);
    EXPECT_EQ(plainAfter.at("Ficha_Comp_Encr"), "S");
    streams::TQXStreams qxs;
    for (const char* f : {"Resp_Text", "Preg_Imag", "Resp_Imag"})
        EXPECT_EQ(studyfile::unpackContent(qxs, plainAfter.at(f)), plainBefore.at(f)) << f;
    EXPECT_EQ(plainAfter.at("Resp_Memo"), "<blank>");
}

TEST_F(StudyFileToolTest, AddCardRefusesWhatTheDesignLacks) {
    ok({"studyfile", "create", path("R"), "--no-card-key"});
    const QString db = path("R.DB");
    for (const QStringList& extra :
         {QStringList{"--long-answer-file", path("x.rtf")}, QStringList{"--card-key", "k"},
          QStringList{"--importance", "2"}, QStringList{"--question-image", path("a.bmp")},
          QStringList{"--answer-image", path("a.bmp")}}) {
        const std::string err =
            fails(QStringList{"studyfile", "add-card", db, "--question", "q"} + extra);
        EXPECT_NE(err.find("error: --"), std::string::npos) << err;
    }
    fails({"studyfile", "add-card", db, "--answer", "a"});
    table::Table t;
    t.open(dir.path(), "R.DB");
    EXPECT_TRUE(t.isEmpty());
    ok({"studyfile", "create", path("RL"), "--long-answer"});
    fails({"studyfile", "add-card", path("RL.DB"), "--question", "q", "--answer", "a"});
    EXPECT_NE(fails({"studyfile", "card", db, "7"}).find("error:"), std::string::npos);
}

// Level-0 cards A to E in insertion order, whose importances put them in the table order C, B, E,
// D, A, and a card F at level 2 with importance 9 and no key.
class PromotionToolTest : public StudyFileToolTest {
protected:
    void SetUp() override {
        StudyFileToolTest::SetUp();
        ok({"studyfile", "create", path("P"), "--importance"});
        struct Card {
            const char* level;
            const char* importance;
            const char* key;
        };
        const Card cards[] = {{"0", "5", "verbos"}, {"0", "3", "O'Hara"},  {"0", "1", ""},
                              {"0", "4", ""},       {"0", "3", "nombres"}, {"2", "9", ""}};
        char name = 'A';
        for (const Card& c : cards) {
            QStringList args{"studyfile", "add-card", db(),           "--question", QString(name),
                             "--level",   c.level,    "--importance", c.importance};
            if (*c.key)
                args << "--card-key" << c.key;
            const std::string id = ok(args);
            ids_[name++] = std::stoll(id);
        }
        original_ = files::readWhole(db());
    }

    QString db() const { return path("P.DB"); }
    qint64 id(char name) const { return ids_.at(name); }
    QString idList(const std::string& names) const {
        QStringList out;
        for (char c : names)
            out << QString::number(id(c));
        return out.join(',');
    }

    // Every row read through a fresh unfiltered table: AutoInc -> field -> value.
    std::map<qint64, std::map<std::string, std::string>> rows() const {
        table::Table t;
        t.open(dir.path(), "P.DB");
        std::map<qint64, std::map<std::string, std::string>> out;
        for (t.first(); !t.eof(); t.next())
            for (const table::FieldDef& def : t.fieldDefs())
                out[t.fieldByName("AutoInc").asInteger()][def.name.toStdString()] =
                    t.fieldByName(def.name).isNull()
                        ? std::string("<blank>")
                        : t.fieldByName(def.name).asString().toStdString();
        return out;
    }

    std::map<char, qint64> ids_;
    QByteArray original_;
};

TEST_F(PromotionToolTest, PromotesTheChosenCardsAndWritesOnlyTheirLevel) {
    struct Case {
        QStringList options;
        std::string promoted; // card names
        std::string out;
    };
    const Case cases[] = {
        {{"--count", "3"}, "CBE", "3  Fichas han pasado al Nivel 1.\n"},
        {{"--count", "0"}, "", "0  Fichas han pasado al Nivel 1.\n"},
        {{"--count", "005"}, "ABCDE", "5  Fichas han pasado al Nivel 1.\n"},
        {{"--importance", ">=", "3"}, "ABDE", "4  Fichas han pasado al Nivel 1.\n"},
        {{"--importance", ">=", "3", "--limit", "2"}, "BE", "2  Fichas han pasado al Nivel 1.\n"},
        {{"--limit", "0", "--importance", ">=", "3"}, "", "0  Fichas han pasado al Nivel 1.\n"},
        {{"--importance", "<", "3"}, "C", "1  Fichas han pasado al Nivel 1.\n"},
        {{"--key", "=", "O'Hara"}, "B", "1  Fichas han pasado al Nivel 1.\n"},
        {{"--key", "=", ""}, "CD", "2  Fichas han pasado al Nivel 1.\n"},
        {{"--key", ">", "n", "--limit", "1"}, "E", "1  Fichas han pasado al Nivel 1.\n"},
        {{"--cards", idList("DB")}, "BD", "2  Fichas han pasado al Nivel 1.\n"},
        {{"--cards", idList("DD")}, "D", "1  Fichas han pasado al Nivel 1.\n"},
    };
    const auto start = rows();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options.join(' ').toStdString());
        files::writeWhole(db(), original_);
        EXPECT_EQ(ok(QStringList{"studyfile", "promote", db()} + c.options), c.out);
        const auto after = rows();
        for (const auto& [name, key] : ids_) {
            auto expected = start.at(key);
            if (c.promoted.find(name) != std::string::npos)
                expected["Nive_Fich"] = "1";
            EXPECT_EQ(after.at(key), expected) << "card " << name;
        }
    }
}

TEST_F(PromotionToolTest, CountsLevel0Cards) {
    struct Case {
        QStringList options;
        std::string out;
    };
    const Case cases[] = {
        {{}, "5\n"},
        {{"--importance", ">=", "3"}, "4\n"},
        {{"--importance", "=", "9"}, "0\n"},
        {{"--key", "=", "O'Hara"}, "1\n"},
        {{"--key", "=", ""}, "2\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ok(QStringList{"studyfile", "level0", db()} + c.options), c.out)
            << c.options.join(' ').toStdString();
    EXPECT_EQ(files::readWhole(db()), original_);
}

TEST_F(PromotionToolTest, RefusalsLeaveTheTableByteIdentical) {
    struct Case {
        QStringList args;
        std::string error;
    };
    const QString f = db();
    const Case cases[] = {
        {{"promote", f, "--count", "6"}, "error: No hay tantas fichas en el Nivel 0.\n"},
        {{"promote", f, "--cards", idList("B") + ",999"},
         "error: no level-0 card with AutoInc 999\n"},
        {{"promote", f, "--cards", idList("BF")},
         "error: no level-0 card with AutoInc " + std::to_string(id('F')) + "\n"},
        {{"promote", f}, "error: give exactly one of --count, --cards, --importance, --key\n"},
        {{"promote", f, "--count", "1", "--key", "=", "x"},
         "error: give exactly one of --count, --cards, --importance, --key\n"},
        {{"promote", f, "--count", "1", "--cards", "1"},
         "error: give exactly one of --count, --cards, --importance, --key\n"},
        {{"promote", f, "--importance", "=", "3", "--key", "=", "x"},
         "error: give only one of --importance, --key\n"},
        {{"promote", f, "--count", "2", "--limit", "1"},
         "error: --limit needs --importance or --key\n"},
        {{"promote", f, "--importance", "<>", "3"},
         "error: --importance: OP must be one of =, >, >=, <, <=, got \"<>\"\n"},
        {{"promote", f, "--key", "==", "x"},
         "error: --key: OP must be one of =, >, >=, <, <=, got \"==\"\n"},
        {{"promote", f, "--importance", ">=", ""},
         "error: --importance needs a whole number of at most 6 digits, got \"\"\n"},
        {{"promote", f, "--importance", ">=", "1234567"},
         "error: --importance needs a whole number of at most 6 digits, got \"1234567\"\n"},
        {{"promote", f, "--importance", ">=", "-3"},
         "error: --importance needs a whole number of at most 6 digits, got \"-3\"\n"},
        {{"promote", f, "--count", "1000"},
         "error: --count needs a whole number of at most 3 digits, got \"1000\"\n"},
        {{"promote", f, "--count", " 3"},
         "error: --count needs a whole number of at most 3 digits, got \" 3\"\n"},
        {{"promote", f, "--key", "=", "x", "--limit", "abc"},
         "error: --limit needs a whole number of at most 3 digits, got \"abc\"\n"},
        {{"promote", f, "--cards", "1,,2"},
         "error: --cards needs AutoInc values separated by commas, got \"1,,2\"\n"},
        {{"promote", f, "--cards", "-1"},
         "error: --cards needs AutoInc values separated by commas, got \"-1\"\n"},
        {{"promote", f, "--key", "="}, "error: option --key needs OP and TEXT\n"},
        {{"promote", f, "--importance"}, "error: option --importance needs OP and N\n"},
        {{"promote", f, path("Q.DB"), "--count", "1"},
         "error: unexpected argument \"" + path("Q.DB").toStdString() + "\"\n"},
        {{"promote", path("Q.DB"), "--count", "1"},
         "error: no study file " + path("Q.DB").toStdString() + "\n"},
        {{"level0", f, "--count", "1"}, "error: unknown option --count\n"},
        {{"level0", f, "--importance", "=>", "1"},
         "error: --importance: OP must be one of =, >, >=, <, <=, got \"=>\"\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fails(QStringList{"studyfile"} + c.args), c.error)
            << c.args.join(' ').toStdString();
        EXPECT_EQ(files::readWhole(db()), original_) << c.args.join(' ').toStdString();
    }
    EXPECT_FALSE(QFile::exists(path("Q.DB")));
}

// The information numbers of a small table: levels 0, 1, 1, 1, 7 and 9, one review count blank,
// packing states "S", "N" and one "SI" (counted in neither).
class InfoToolTest : public StudyFileToolTest {
protected:
    void SetUp() override {
        StudyFileToolTest::SetUp();
        ok({"studyfile", "create", path("Curso"), "--compressed", "--password", "clave"});
        struct Row {
            int level;
            int reviews; // -1: blank
            const char* state;
        };
        const Row rows[] = {{0, 2, "S"}, {1, 5, "N"}, {1, -1, "SI"},
                            {1, 1, "S"}, {7, 3, "N"}, {9, 4, "S"}};
        table::Table t;
        t.open(dir.path(), "Curso.DB");
        for (const Row& r : rows) {
            t.append();
            t.fieldByName("Nive_Fich").setInteger(r.level);
            t.fieldByName("Preg_Text").setString("p");
            if (r.reviews >= 0)
                t.fieldByName("Total_Repa").setInteger(r.reviews);
            t.fieldByName("Ficha_Comp_Encr").setString(r.state);
            t.post();
        }
        t.close();
        original_ = files::readWhole(path("Curso.DB"));
    }
    QByteArray original_;
};

TEST_F(InfoToolTest, CountsOfTheSmallTable) {
    EXPECT_EQ(ok({"studyfile", "info", path("Curso.DB"), "--password", "clave"}),
              "cards: 6\n"
              "level 0 cards: 1\n"
              "packed cards: 3\n"
              "plain cards: 2\n"
              "total reviews: 15\n"
              "level 0: 1 (17 %)\n"
              "level 1: 3 (50 %)\n"
              "level 2: 0 (0 %)\n"
              "level 3: 0 (0 %)\n"
              "level 4: 0 (0 %)\n"
              "level 5: 0 (0 %)\n"
              "level 6+: 2 (33 %)\n");
    EXPECT_EQ(files::readWhole(path("Curso.DB")), original_);
}

TEST_F(InfoToolTest, EveryTextOfTheScreen) {
    const std::string l15(15, 'l'), l42(42, 'l'), l28(28, 'l');
    EXPECT_EQ(ok({"studyfile", "info", "--screen", path("Curso.DB"), "--password", "clave"}),
              " Nombre del Fichero:    Curso\n"
              " Tamaño de la Pregunta: \t 60\n"
              " Imagen en la Pregunta:\t NO\n"
              " Tamaño de la Respuesta:\t 100\n"
              " Imagen en la Respuesta:\t NO\n"
              " Texto Largo en Respuesta:\t NO\n"
              "\t\n"
              " Nivel de Importancia:\t NO\n"
              " Clave para Seleccionar:\t SI\n"
              "\t\n"
              " Comprimido:\t SI\n"
              " Con Contraseña:\t SI\n"
              "\t\n"
              " Puede ser Exportado:\t SI\n"
              " Modificar o Borrar Fichas:\t SI\n"
              " Puede ser Imprimido:\t SI\n"
              "\t\n"
              " Nº total de Fichas:\t 6\n"
              " Fichas en Nivel 0:\t 1\n"
              " Con Compresión/Contraseña:\t 3\n"
              " Sin Comprimir ni Contraseña:\t 2\n"
              " Las fichas de este fichero se han repasado un total de 15 veces.  \n"
              " Nº de Fichas en cada Nivel:    ( Total: 6 fichas ) \n"
              "Nivel 0: " +
                  l15 +
                  "   1      (17 %)\n"
                  "Nivel 1: " +
                  l42 +
                  "   3      (50 %)\n"
                  "Nivel 2:     0      (0 %)\n"
                  "Nivel 3:     0      (0 %)\n"
                  "Nivel 4:     0      (0 %)\n"
                  "Nivel 5:     0      (0 %)\n"
                  "Nivel 6: " +
                  l28 + "   2      (33 %)\n");
    EXPECT_EQ(files::readWhole(path("Curso.DB")), original_);
}

TEST_F(InfoToolTest, PlainStudyFileAndRefusals) {
    ok({"studyfile", "create", path("Plano")});
    ok({"studyfile", "add-card", path("Plano.DB"), "--question", "q", "--level", "0"});
    EXPECT_EQ(ok({"studyfile", "info", path("plano.db")}),
              "cards: 1\nlevel 0 cards: 1\npacked cards: 0\nplain cards: 1\ntotal reviews: 0\n"
              "level 0: 1 (100 %)\nlevel 1: 0 (0 %)\nlevel 2: 0 (0 %)\nlevel 3: 0 (0 %)\n"
              "level 4: 0 (0 %)\nlevel 5: 0 (0 %)\nlevel 6+: 0 (0 %)\n");
    EXPECT_EQ(fails({"studyfile", "info", path("Curso.DB")}),
              "error: the study file is enciphered: give its password with --password\n");
    EXPECT_EQ(fails({"studyfile", "info", path("Curso.DB"), "--password", "otra"}),
              "error: La contraseña no es correcta para este Fichero de Estudio.\n");
    EXPECT_EQ(fails({"studyfile", "info", path("Nada.DB")}),
              "error: no study file " + path("Nada.DB").toStdString() + "\n");
    EXPECT_EQ(fails({"studyfile", "info", path("Plano.DB"), "--level"}),
              "error: unknown option --level\n");
    EXPECT_EQ(files::readWhole(path("Curso.DB")), original_);
}

} // namespace
