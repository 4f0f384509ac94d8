// End-to-end tests of orbanel-tool print: the order of the boxes, the PDF drawn by the print
// screen's code read back with poppler's tools (skipped when they are missing), and the refusals,
// which leave an earlier PDF byte for byte as it was.
#include "tool_runner.h"

#include "platform/report/report_geometry.h"
#include "platform/table/table.h"
#include "studyfile/creation.h"
#include "studyfile/design_record.h"

#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

namespace {

class PrintToolTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    // A study file of `count` cards "P01".."Pnn" / "R01".."Rnn" at level 1, made by the tool.
    QString makeCourse(const QString& name, int count, const QStringList& createOptions = {},
                       const QStringList& cardOptions = {}) {
        const QString path = dir.filePath(name);
        ToolResult r = runTool(QStringList{"studyfile", "create", path} + createOptions);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        for (int i = 1; i <= count; ++i) {
            const QString n = QStringLiteral("%1").arg(i, 2, 10, QChar(u'0'));
            r = runTool(QStringList{"studyfile", "add-card", path + ".DB", "--question", "P" + n,
                                    "--answer", "R" + n, "--level", "1"} +
                        cardOptions);
            EXPECT_EQ(r.exitCode, 0) << r.err;
        }
        return path + ".DB";
    }

    static bool popplerThere() {
        return !QStandardPaths::findExecutable("pdftotext").isEmpty() &&
               !QStandardPaths::findExecutable("pdfinfo").isEmpty();
    }

    static QString run(const QString& program, const QStringList& args) {
        QProcess p;
        p.start(program, args);
        p.waitForFinished(60000);
        return QString::fromUtf8(p.readAllStandardOutput());
    }

    QTemporaryDir dir;
};

TEST_F(PrintToolTest, OrderOfTheBoxes) {
    const QString fourteen = makeCourse("Catorce", 14);
    const QString seven = makeCourse("Siete", 7);
    struct Case {
        QString file;
        QStringList options;
        std::string out;
    };
    const Case cases[] = {
        {fourteen,
         {"--side", "answers"},
         "page 1: 4 5 6 1 2 3\npage 2: 10 11 12 7 8 9\npage 3: - - - 13 14 -\n"},
        {fourteen, {}, "page 1: 1 2 3 4 5 6\npage 2: 7 8 9 10 11 12\npage 3: 13 14\n"},
        {fourteen,
         {"--side", "answers", "--filter", "Preg_Text >= 'P13'", "--ids"},
         "page 1: - - - 13 14 -\n"},
        {seven,
         {"--side", "answers", "--per-page", "3"},
         "page 1: 1 2 3\npage 2: 4 5 6\npage 3: 7\n"},
        {seven, {"--filter", "Nive_Fich = 0"}, "page 1:\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options.join(' ').toStdString());
        const ToolResult r = runTool(QStringList{"print", "order", c.file} + c.options);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(r.err, "");
    }
}

// Every word of the PDF sits in the box the geometry gives its card, on both runs, and the four
// papers have their sizes.
TEST_F(PrintToolTest, PdfPutsEachCardInItsBox) {
    if (!popplerThere())
        GTEST_SKIP() << "pdftotext or pdfinfo is missing";
    const QString course = makeCourse("Catorce", 14);
    const report::BandGrid grid = report::bandGrid(report::pageSizeMm(report::Paper::A4), 2, 3);
    for (const char* side : {"questions", "answers"}) {
        SCOPED_TRACE(side);
        const QString pdf = dir.filePath(QStringLiteral("%1.pdf").arg(side));
        const ToolResult r = runTool({"print", "pdf", course, pdf, "--side", side});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        // The lines tell which card each row of each page holds.
        std::map<QString, std::pair<int, int>> expected; // word -> page, row on the page
        const QStringList pages = QString::fromStdString(r.out).split('\n', Qt::SkipEmptyParts);
        for (int page = 0; page < pages.size(); ++page) {
            const QStringList rows = pages[page].section(':', 1).split(' ', Qt::SkipEmptyParts);
            for (int row = 0; row < rows.size(); ++row) {
                if (rows[row] == "-")
                    continue;
                const QString n = QStringLiteral("%1").arg(rows[row].toInt(), 2, 10, QChar(u'0'));
                expected[(std::string(side) == "questions" ? "P" : "R") + n] = {page, row};
            }
        }
        ASSERT_EQ(expected.size(), 14u);
        const QString xml = run("pdftotext", {"-bbox", pdf, "-"});
        static const QRegularExpression wordRe(QStringLiteral(
            R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
        int page = -1;
        std::map<QString, std::pair<int, int>> found;
        for (auto it = wordRe.globalMatch(xml); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            if (m.captured(0) == "<page ") {
                ++page;
                continue;
            }
            const double mm = 25.4 / 72;
            const QPointF centre((m.captured(1).toDouble() + m.captured(3).toDouble()) / 2 * mm,
                                 (m.captured(2).toDouble() + m.captured(4).toDouble()) / 2 * mm);
            int row = -1;
            for (int k = 0; k < grid.boxesPerPage(); ++k)
                if (grid.boxOfRow(k).contains(centre))
                    row = k;
            found[m.captured(5)] = {page, row};
        }
        EXPECT_EQ(found, expected);
        EXPECT_EQ(page + 1, 3);
    }
    struct Paper {
        const char* name;
        QString size;
    };
    for (const Paper& p : {Paper{"a4", "595 x 842"}, Paper{"executive", "522 x 756"},
                           Paper{"letter", "612 x 792"}, Paper{"note", "612 x 792"}}) {
        const QString pdf = dir.filePath(QStringLiteral("%1.pdf").arg(p.name));
        const ToolResult r = runTool({"print", "pdf", course, pdf, "--paper", p.name});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        const QString info = run("pdfinfo", {pdf});
        const QRegularExpressionMatch m =
            QRegularExpression(QStringLiteral(R"(Page size:\s+([\d.]+) x ([\d.]+))")).match(info);
        ASSERT_TRUE(m.hasMatch()) << info.toStdString();
        const QStringList want = p.size.split(" x ");
        EXPECT_NEAR(m.captured(1).toDouble(), want[0].toDouble(), 1) << p.name;
        EXPECT_NEAR(m.captured(2).toDouble(), want[1].toDouble(), 1) << p.name;
    }
}

TEST_F(PrintToolTest, RefusalsLeaveAnEarlierPdfUnchanged) {
    const QString course =
        makeCourse("Curso", 8, {"--compressed", "--password", "clave"}, {"--password", "clave"});
    // Card 7 of the view gets a damaged short answer.
    {
        table::Table t;
        t.open(dir.path(), "Curso.DB");
        t.first();
        t.moveBy(6);
        t.edit();
        t.fieldByName("Resp_Text").setBytes(t.fieldByName("Resp_Text").asBytes().left(12));
        t.post();
    }
    studyfile::CreationRequest request;
    request.datFolder = dir.path();
    request.name = "Cerrado";
    request.description = {"d"};
    const QString closed = studyfile::createStudyFile(request);
    // The author switched printing off.
    studyfile::DesignOptions options;
    options.printable = false;
    studyfile::writeDesignRecordFile(dir.filePath("Cerrado.STU"),
                                     studyfile::designRecordLines(options, request.description),
                                     QString());

    const QString pictures =
        makeCourse("Imagenes", 0, {"--question-image", "--answer-image", "--long-answer"});
    const QString out = dir.filePath("out.pdf");
    const QByteArray earlier = "an earlier file";
    struct Case {
        const char* name;
        QStringList args;
        std::string err;
    };
    const Case cases[] = {
        {"not printable",
         {"print", "pdf", closed, out},
         "error: No podrá imprimr, ni hacer visualización previa, pues esta opción está "
         "desconectada en este Fichero de Estudio.\n"},
        {"not printable, order",
         {"print", "order", closed},
         "error: No podrá imprimr, ni hacer visualización previa, pues esta opción está "
         "desconectada en este Fichero de Estudio.\n"},
        {"unavailable choice",
         {"print", "pdf", course, out, "--password", "clave", "--answer", "image"},
         "error: Ha elegido imprimir un Texto, Imagen o Texto Largo que no está disponible en "
         "el diseño de este Fichero de Estudio.\n"},
        {"per page disabled by the answer",
         {"print", "pdf", pictures, out, "--per-page", "6", "--question", "text-image", "--answer",
          "image-long-text"},
         "error: --per-page 6 cannot be used with --answer image-long-text\n"},
        {"per page disabled by the question",
         {"print", "pdf", pictures, out, "--per-page", "8", "--question", "text-image"},
         "error: --per-page 8 cannot be used with --question text-image\n"},
        {"not writable",
         {"print", "pdf", course, dir.filePath("no/such/folder/out.pdf"), "--password", "clave"},
         ""},
        {"damaged card",
         {"print", "pdf", course, out, "--password", "clave", "--side", "answers"},
         "error: card 7: Los datos de este Fichero de Estudio están dañados.\n"},
        {"no password", {"print", "pdf", course, out}, ""},
        {"bad paper",
         {"print", "pdf", course, out, "--password", "clave", "--paper", "a3"},
         "error: --paper must be one of a4, executive, letter, note\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile f(out);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(earlier);
        f.close();
        const ToolResult r = runTool(c.args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.out, "");
        if (!c.err.empty()) {
            EXPECT_EQ(r.err, c.err);
        } else {
            EXPECT_EQ(r.err.rfind("error: ", 0), 0u) << r.err;
        }
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), earlier);
    }
    // The question side of the same file has no damaged field.
    const ToolResult r = runTool({"print", "pdf", course, out, "--password", "clave"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
}

} // namespace
