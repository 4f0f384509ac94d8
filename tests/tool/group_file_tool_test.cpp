// End-to-end tests of orbanel-tool group-file: a group text file shown as the screen reads it, and
// stored as the screen's "Guardar y Salir" stores it, with its checks before any card is written.
#include "tool_folder_test.h"

#include "platform/clock.h"
#include "platform/rtf/rtf.h"
#include "streams/qx_streams.h"
#include "studyfile/card_content.h"
#include "studyfile/font_style.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using GroupFileToolTest = ToolFolderTest;

} // namespace

TEST_F(GroupFileToolTest, ShowsAHundredLineFileAsTheGridReadsIt) {
    QByteArray bytes = "  Canci\xF3n&tab\there&k&3\r\nq&a\r\n\r\nback\\slash&&&\r\n";
    for (int i = 5; i <= 100; ++i)
        bytes += "p" + QByteArray::number(i) + "&r&&\r\n";
    write("g.txt", bytes);
    const ToolResult r = tool({"group-file", "show", "g.txt"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "warning: the file has 100 lines; only the first 98 are read\n");
    std::string expected = "1\t  Canción\ttab\\there\tk\t3\n"
                           "2\tq\t\t\ta\n"
                           "3\t\t\t\t\n"
                           "4\tback\\\\slash\t\t\t\n";
    for (int i = 5; i <= 98; ++i)
        expected += std::to_string(i) + "\tp" + std::to_string(i) + "\tr\t\t\n";
    EXPECT_EQ(r.out, expected);
}

TEST_F(GroupFileToolTest, ShowRefusesWhatIsNoTextFile) {
    write("foto.txt", QByteArray("BM\0\0", 4));
    ToolResult r = tool({"group-file", "show", "foto.txt"});
    EXPECT_EQ(r.exitCode, 1);
    // The file as it was named.
    EXPECT_EQ(r.err, "error: El archivo foto.txt no es un archivo de texto.\n");
    r = tool({"group-file", "show", "no.txt"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "error: No se puede leer el archivo no.txt\n");
}

TEST_F(GroupFileToolTest, StoresTheRowsAsTheScreenDoes) {
    ok({"studyfile", "create", "C", "--importance", "--compressed", "--password", "clave"});
    write("g.txt", "uno&una&tema2&\r\ndos&dos respuestas&&7\r\n&solo respuesta&&\r\n  &  &x&x\r\n");
    EXPECT_EQ(ok({"group-file", "store", "C.DB", "g.txt", "--password", "clave", "--level", "3",
                  "--card-key", "tema1", "--importance", "2"}),
              "Se han creado 3 fichas.\n");
    auto stored = cards("C.DB");
    ASSERT_EQ(stored.size(), 3u);
    const card_rows::Row& uno = stored.at("uno");
    EXPECT_EQ(uno.at("Nive_Fich"), "3");
    EXPECT_EQ(uno.at("Clav_Fich"), "tema2");
    EXPECT_EQ(uno.at("Nive_Impo"), "2");
    EXPECT_EQ(uno.at("Ficha_Comp_Encr"), "S");
    EXPECT_EQ(uno.at("Fech_Crea"), platform::dateKey(QDate::currentDate()).toUtf8());
    EXPECT_EQ(uno.at("Fech_Prox_Repa"), "<blank>");
    EXPECT_EQ(stored.at("dos").at("Nive_Impo"), "7");
    EXPECT_EQ(stored.at("dos").at("Clav_Fich"), "tema1");
    streams::TQXStreams qxs;
    qxs.Key = "clave";
    EXPECT_EQ(studyfile::shortAnswerText(
                  studyfile::unpackContent(qxs, stored.at("<blank>").at("Resp_Text"))),
              "solo respuesta");
    // Nothing to store: still a count.
    write("vacio.txt", "");
    EXPECT_EQ(ok({"group-file", "store", "C.DB", "vacio.txt", "--password", "clave"}),
              "Se han creado 0 fichas.\n");
}

TEST_F(GroupFileToolTest, LongAnswersTakeTheFontStyleFile) {
    ok({"studyfile", "create", "L", "--long-answer"});
    studyfile::FontStyle style;
    style.font = QFont("Liberation Serif");
    style.font.setPixelSize(21);
    style.colour = QColor(0, 128, 0);
    write("01.stl", studyfile::writeFontStyle(style));
    write("g.txt", "q&respuesta larga&&\r\n");
    EXPECT_EQ(ok({"group-file", "store", "L.DB", "g.txt", "--font-style", "01.stl"}),
              "Se han creado 1 fichas.\n");
    const card_rows::Row row = cards("L.DB").at("q");
    EXPECT_EQ(row.at("Resp_Text"), "<blank>");
    EXPECT_EQ(rtf::readLines(row.at("Resp_Memo")), QStringList{"respuesta larga"});
    EXPECT_TRUE(row.at("Resp_Memo").contains("Liberation Serif"));
}

TEST_F(GroupFileToolTest, ABadImportanceInLine5StoresNothing) {
    ok({"studyfile", "create", "C", "--importance"});
    ok({"studyfile", "add-card", "C.DB", "--question", "antes"});
    write("g.txt", "q1&a&&1\r\nq2&a&&2\r\nq3&a&&3\r\nq4&a&&4\r\nq5&a&&1,5\r\nq6&a&&6\r\n");
    const ToolResult r = tool({"group-file", "store", "C.DB", "g.txt"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "error: Fila 5: el nivel de importancia «1,5» no es un número entero entre "
                     "-32768 y 32767. No se ha guardado ninguna ficha.\n");
    EXPECT_EQ(ok({"table", "count", "C.DB"}), "1\n");
}

TEST_F(GroupFileToolTest, StoreBeyond98LinesWarnsAndStoresTheFirst98) {
    ok({"studyfile", "create", "C"});
    QByteArray bytes;
    for (int i = 1; i <= 99; ++i)
        bytes += "q" + QByteArray::number(i) + "&a\r\n";
    write("g.txt", bytes);
    const ToolResult r = tool({"group-file", "store", "C.DB", "g.txt", "--level", "0"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Se han creado 98 fichas.\n");
    EXPECT_EQ(r.err, "warning: the file has 99 lines; only the first 98 are read\n");
    EXPECT_EQ(ok({"table", "count", "C.DB", "--filter", "Nive_Fich = 0"}), "98\n");
}

TEST_F(GroupFileToolTest, OptionsAreCheckedBeforeAnything) {
    ok({"studyfile", "create", "C", "--question-size", "5"});
    write("g.txt", "q&a\r\n");
    for (const QStringList& bad :
         {QStringList{"--level", "10"}, QStringList{"--level", "x"},
          QStringList{"--importance", "12345"}, QStringList{"--importance", "-1"}}) {
        const ToolResult r = tool(QStringList{"group-file", "store", "C.DB", "g.txt"} + bad);
        EXPECT_EQ(r.exitCode, 1) << bad.join(' ').toStdString();
        EXPECT_EQ(r.err.rfind("error: --", 0), 0u) << r.err;
    }
    write("largo.txt", "preguntas&a\r\n");
    const ToolResult r = tool({"group-file", "store", "C.DB", "largo.txt"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "error: Fila 1: la pregunta tiene 9 caracteres y en este Fichero de Estudio "
                     "caben 5. No se ha guardado ninguna ficha.\n");
    EXPECT_EQ(ok({"table", "count", "C.DB"}), "0\n");
}
