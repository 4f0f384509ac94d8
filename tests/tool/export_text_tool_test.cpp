// End-to-end tests of orbanel-tool export-text: the lines it writes, the round trip through the
// text imports (texts, pictures and long answers), and the refusals that write nothing.
#include "tool_folder_test.h"

#include "platform/picture/picture.h"
#include "studyfile/design_record.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <set>

#include <gtest/gtest.h>

namespace {

class ExportTextToolTest : public ToolFolderTest {
protected:
    // Every card's fields but its identity and dates, by question.
    std::map<QString, card_rows::Row> cardsWithout(const QString& name,
                                                   const std::set<QString>& skip) {
        std::map<QString, card_rows::Row> out;
        for (const auto& [key, row] : card_rows::read(path(name))) {
            card_rows::Row fields;
            for (const auto& [field, value] : row)
                if (!skip.count(field))
                    fields[field] = value;
            out[QString::fromUtf8(row.at("Preg_Text"))] = fields;
        }
        return out;
    }
};

// Texts, keys and importance levels come back through import-text with the same separator.
TEST_F(ExportTextToolTest, TextRoundTrip) {
    for (const char* name : {"A", "B"})
        ok({"studyfile", "create", name, "--importance", "--compressed", "--password", "clave"});
    ok({"studyfile", "add-card", "A.DB", "--question", "¿Ñandú?", "--answer", "Sí, €", "--card-key",
        "aves", "--importance", "7", "--password", "clave"});
    ok({"studyfile", "add-card", "A.DB", "--question", "sin clave", "--answer", "", "--level", "0",
        "--password", "clave"});
    EXPECT_EQ(ok({"export-text", "A.DB", "out.txt", "--password", "clave"}), "exported 2 cards\n");
    EXPECT_EQ(read("out.txt"), "sin clave\t\t\t0\r\n¿Ñandú?\tSí, €\taves\t7\r\n");
    EXPECT_EQ(ok({"import-text", "B.DB", "out.txt", "--separator", "tab", "--password", "clave"}),
              "Se han importado 2 fichas.\n");
    // The level is the import's; everything else comes back.
    const std::set<QString> skip = {"AutoInc",       "Fech_Crea",      "Nive_Fich",
                                    "Resp_Text",     "Fech_Prox_Repa", "Tipo_Preg_Imag",
                                    "Tipo_Resp_Imag"};
    EXPECT_EQ(cardsWithout("B.DB", skip), cardsWithout("A.DB", skip));
    EXPECT_EQ(ok({"export-text", "B.DB", "again.txt", "--password", "clave"}),
              "exported 2 cards\n");
    EXPECT_EQ(read("again.txt"), read("out.txt"));
}

// Pictures and long answers come back byte for byte through import-text-images.
TEST_F(ExportTextToolTest, FilesRoundTrip) {
    QImage image(12, 8, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    const QByteArray jpeg = picture::Picture::jpegFromImage(image).bytes();
    const QByteArray bmp = picture::Picture::fromImage(image).bytes();
    write("q.jpg", jpeg);
    write("r.bmp", bmp);
    write("largo.rtf", "{\\rtf1\\ansi {\\fonttbl{\\f0 Arial;}}\\f0 texto \\b largo\\b0\\par}");
    for (const char* name : {"A", "B"})
        ok({"studyfile", "create", name, "--long-answer", "--question-image", "--answer-image",
            "--compressed"});
    ok({"studyfile", "add-card", "A.DB", "--question", "uno", "--long-answer-file", "largo.rtf",
        "--question-image", "q.jpg", "--answer-image", "r.bmp"});
    ok({"studyfile", "add-card", "A.DB", "--question", "dos"});
    QDir().mkpath(path("out"));
    EXPECT_EQ(ok({"export-text", "A.DB", "out/x.txt", "--with-files"}), "exported 2 cards\n");
    EXPECT_EQ(read("out/x.txt"),
              "uno\ttexto largo\t\t\r\n1-p.jpg\t1-r.bmp\t1.rtf\r\ndos\t\t\t\r\n\t\t2.rtf\r\n");
    EXPECT_EQ(read("out/1-p.jpg"), jpeg);
    EXPECT_EQ(read("out/1-r.bmp"), bmp);
    EXPECT_EQ(read("out/1.rtf"), read("largo.rtf"));
    EXPECT_EQ(ok({"import-text-images", "B.DB", "out/x.txt", "--separator", "tab"}),
              "Se han importado 2 Fichas.\n");
    QDir().mkpath(path("again"));
    ok({"export-text", "B.DB", "again/x.txt", "--with-files"});
    EXPECT_EQ(read("out/2.rtf"), "");
    for (const char* name : {"x.txt", "1-p.jpg", "1-r.bmp", "1.rtf", "2.rtf"})
        EXPECT_EQ(read(QStringLiteral("again/") + name), read(QStringLiteral("out/") + name))
            << name;
}

// Refusals write nothing: a study file its author made not exportable, a character Windows-1252
// cannot write, a name of --with-files already there. A separator inside a text is written as a
// blank, with a warning.
TEST_F(ExportTextToolTest, RefusalsAndFlattenedFields) {
    ok({"studyfile", "create", "C", "--answer-image"});
    ok({"studyfile", "add-card", "C.DB", "--question", "hecho ✓", "--answer", "a\tb"});
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    write("r.jpg", picture::Picture::jpegFromImage(image).bytes());
    ok({"studyfile", "add-card", "C.DB", "--question", "foto", "--answer-image", "r.jpg"});
    ok({"studyfile", "create", "N"});
    studyfile::DesignOptions closed;
    closed.exportable = false;
    studyfile::writeDesignRecordFile(path("N.STU"), studyfile::designRecordLines(closed, {"d"}),
                                     QString());

    struct Case {
        const char* name;
        QStringList args;
        std::string err;
        const char* absent;
    };
    write("taken/2-r.JPG", "x");
    const Case cases[] = {
        {"not exportable",
         {"export-text", "N.DB", "n.txt"},
         "error: No podrá exportar pues, cuando este Fichero de Estudio fue creado, esa "
         "posibilidad no fue activada.\n",
         "n.txt"},
        {"windows-1252",
         {"export-text", "C.DB", "w.txt", "--windows-1252"},
         "error: La ficha 1 tiene caracteres que no se pueden escribir en Windows-1252.\n",
         "w.txt"},
        {"name taken",
         {"export-text", "C.DB", "taken/t.txt", "--with-files"},
         "error: Ya existe el archivo 2-r.jpg en " + path("taken").toStdString() + ".\n",
         "taken/t.txt"},
        {"bad filter",
         {"export-text", "C.DB", "f.txt", "--filter", "Nive_Fich = = 1"},
         "",
         "f.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ToolResult r = tool(c.args);
        EXPECT_EQ(r.exitCode, 1);
        if (!c.err.empty()) {
            EXPECT_EQ(r.err, c.err);
        } else {
            EXPECT_EQ(r.err.rfind("error: ", 0), 0u) << r.err;
        }
        EXPECT_FALSE(QFile::exists(path(c.absent)));
    }
    EXPECT_EQ(QDir(path("taken")).entryList(QDir::Files), QStringList{"2-r.JPG"});

    const ToolResult r =
        tool({"export-text", "C.DB", "ok.txt", "--filter", "Preg_Text = 'hecho*'"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "exported 1 cards\n");
    EXPECT_EQ(r.err, "warning: 1 fields held the separator or a line break; written with spaces\n");
    EXPECT_EQ(read("ok.txt"), "hecho ✓\ta b\t\t\r\n");
}

} // namespace
