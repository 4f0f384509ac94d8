// End-to-end tests of orbanel-tool import-text and import-text-images: what they print, what they
// store, and that a refused file adds no card.
#include "tool_folder_test.h"

#include "streams/qx_streams.h"
#include "studyfile/card_content.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QByteArray kJpeg = QByteArray("\xFF\xD8\xFF\xE0", 4) + QByteArray(300, 'j');
const QByteArray kBmp = QByteArray("BM") + QByteArray(200, 'b');

using ExchangeToolTest = ToolFolderTest;

} // namespace

TEST_F(ExchangeToolTest, ImportTextWithItsOptions) {
    ok({"studyfile", "create", "C", "--importance", "--question-size", "8", "--compressed",
        "--password", "clave"});
    write("lista.txt", "uno\tuna\ttema\t4\r\ndos\tdos\t\t\r\nlarguisima pregunta\tr\tk\t1\r\n");
    const ToolResult r = tool({"import-text", "C.DB", "lista.txt", "--separator", "tab", "--level",
                               "2", "--password", "clave"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Se han importado 3 fichas.\n");
    EXPECT_EQ(r.err, "warning: 1 textos eran más largos que su apartado y se han cortado (el "
                     "primero, en la línea 3).\n");
    const auto stored = cards("C.DB");
    ASSERT_EQ(stored.size(), 3u);
    const card_rows::Row& uno = stored.at("uno");
    EXPECT_EQ(uno.at("Nive_Fich"), "2");
    EXPECT_EQ(uno.at("Nive_Impo"), "4");
    EXPECT_EQ(uno.at("Clav_Fich"), "tema");
    EXPECT_EQ(stored.at("dos").at("Nive_Impo"), "0");
    EXPECT_EQ(stored.count("larguisi"), 1u); // cut by the table
    streams::TQXStreams qxs;
    qxs.Key = "clave";
    EXPECT_EQ(studyfile::shortAnswerText(studyfile::unpackContent(qxs, uno.at("Resp_Text"))),
              "una");
}

TEST_F(ExchangeToolTest, ImportTextRefusalsAddNoCard) {
    ok({"studyfile", "create", "C", "--importance"});
    write("lista.txt", "q1#a#k#1\r\nq2#a#k#dos\r\nq3#a#k#3\r\n");
    const struct {
        QStringList extra;
        std::string err;
    } cases[] = {
        {{},
         "error: Línea 2: el nivel de importancia «dos» no es un número entero entre -32768 y "
         "32767. No se ha importado ninguna ficha.\n"},
        {{"--level", "10"}, "error: --level needs a level from 0 to 9, got \"10\"\n"},
        {{"--separator", "##"}, "error: --separator needs one character or \"tab\", got \"##\"\n"},
    };
    for (const auto& c : cases) {
        const ToolResult r = tool(QStringList{"import-text", "C.DB", "lista.txt"} + c.extra);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, c.err);
    }
    EXPECT_EQ(ok({"table", "count", "C.DB"}), "0\n");
    const ToolResult missing = tool({"import-text", "C.DB", "no.txt"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "error: No se puede leer el archivo no.txt\n");
}

TEST_F(ExchangeToolTest, ImportTextImagesWarnsWithLineNumbers) {
    ok({"studyfile", "create", "I", "--answer-image", "--long-answer"});
    write("dat/leon.JPG", kJpeg);
    write("dat/sub/Cebra.bmp", kBmp);
    write("dat/largo.rtf", "{\\rtf1 largo\\par }");
    write("dat/lista.txt", "uno#r1#k\r\nleon.jpg#SUB\\cebra.BMP#LARGO.RTF\r\n"
                           "dos#r2#k\r\n#falta.jpg#\r\n"
                           "tres#r3#k\r\n");
    const ToolResult r = tool({"import-text-images", "I.DB", "dat/lista.txt"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Se han importado 3 Fichas.\n");
    EXPECT_EQ(r.err, "warning: line 2: picture leon.jpg ignored: the study file's cards have no "
                     "question image\n"
                     "warning: line 4: Error al leer imagen: falta.jpg\n");
    const auto stored = cards("I.DB");
    ASSERT_EQ(stored.size(), 3u);
    EXPECT_EQ(stored.at("uno").at("Resp_Imag"), kBmp);
    EXPECT_EQ(stored.at("uno").at("Tipo_Resp_Imag"), "BMP");
    EXPECT_EQ(stored.at("uno").at("Preg_Imag"), "<blank>");
    EXPECT_EQ(stored.at("uno").at("Resp_Memo"), "{\\rtf1 largo\\par }");
    EXPECT_EQ(stored.at("dos").at("Resp_Imag"), "<blank>");

    write("dat/mala.txt", "cuatro#r#k\r\n##../largo.rtf\r\n");
    const ToolResult refused = tool({"import-text-images", "I.DB", "dat/mala.txt"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, "error: Línea 2: no se puede leer el archivo de texto largo "
                           "«../largo.rtf». No se ha importado ninguna ficha.\n");
    EXPECT_EQ(ok({"table", "count", "I.DB"}), "3\n");
}
