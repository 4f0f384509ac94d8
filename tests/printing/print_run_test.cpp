// A print run over real card tables: the print table filled from the cards in view, the bands
// prepared from it (packed content unpacked in memory only), the wipe after a run, and the report
// drawing its pages onto an image and into a PDF.
#include "platform/report/report.h"
#include "platform/table/table.h"
#include "printing/band_layout.h"
#include "printing/print_job.h"
#include "printing/print_table.h"
#include "streams/qx_streams.h"
#include "studyfile/card_content.h"
#include "studyfile/card_store.h"
#include "studyfile/card_table.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTextDocument>

#include <gtest/gtest.h>

using printing::Side;

namespace {

const QString kSecret = QStringLiteral("respuesta-secreta");

class PrintRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        source.design.questionImage = true;
        source.design.answerImage = true;
        source.design.longAnswerText = true;
        studyfile::createCardTable(dir.filePath("C.DB"));
        imp = studyfile::createPrintTable(dir.path());
        printTable.open(dir.path(), studyfile::kPrintTableName);
    }

    void useDesign(bool packed) {
        source.design.compressed = packed;
        source.design.enciphered = packed;
        source.packedContent = packed;
        source.key = packed ? QStringLiteral("clave") : QString();
        studyfile::configureContentContainer(qxs, source.design, source.key);
        cards.open(dir.path(), "C.DB");
    }

    qint64 store(const QString& question, const QString& answer,
                 std::optional<picture::Picture> answerPicture = std::nullopt) {
        studyfile::CardEdit e;
        e.question = question;
        e.shortAnswer = answer;
        e.answerPicture = answerPicture;
        return studyfile::storeCard(cards, qxs, source.design, source.packedContent, e, 0,
                                    "20240305");
    }

    void setField(qint64 key, const char* field, const QByteArray& bytes) {
        ASSERT_TRUE(cards.locateKey(key));
        cards.edit();
        cards.fieldByName(field).setBytes(bytes);
        cards.post();
    }

    QString rowText(int row, const char* field) {
        printTable.setRecNo(row + 1);
        return printTable.fieldByName(field).asString();
    }

    static picture::Picture redJpeg() {
        QImage image(200, 100, QImage::Format_RGB32);
        image.fill(Qt::red);
        return picture::Picture::jpegFromImage(image, 95);
    }

    QTemporaryDir dir;
    QString imp;
    printing::PrintSource source;
    streams::TQXStreams qxs;
    table::Table cards;
    table::Table printTable;
};

// A compressed and enciphered study file: rows as stored, bands unpacked in memory, a damaged
// card failing alone, a leftover picture under kind "NO" not copied, and nothing readable in IMP.db
// after the wipe.
TEST_F(PrintRunTest, PackedStudyFileNeverLeavesPlainContentInThePrintTable) {
    useDesign(true);
    std::vector<qint64> keys;
    for (int i = 1; i <= 5; ++i)
        keys.push_back(store(QStringLiteral("P%1").arg(i), kSecret + QString::number(i),
                             i == 2 ? std::optional(redJpeg()) : std::nullopt));
    // Card 3 keeps picture bytes under the kind "NO"; card 4's short answer is damaged.
    setField(keys[2], "Resp_Imag", redJpeg().bytes());
    ASSERT_TRUE(cards.locateKey(keys[3]));
    setField(keys[3], "Resp_Text", cards.fieldByName("Resp_Text").asBytes().left(12));

    table::Table reader;
    reader.open(dir.path(), "C.DB");
    ASSERT_EQ(printing::fillPrintTable(printTable, reader, keys, Side::Answers, 6, source), 6);
    // Answer page of 5 cards at 6: 4 5 - 1 2 3.
    const std::vector<int> cardOfRow = {4, 5, 0, 1, 2, 3};
    for (int row = 0; row < 6; ++row) {
        SCOPED_TRACE(row);
        const int card = cardOfRow[static_cast<size_t>(row)];
        EXPECT_EQ(rowText(row, "Comp_Encr"), card == 0 ? "" : "Fs");
        EXPECT_EQ(rowText(row, "TEXT"), "");
        EXPECT_EQ(rowText(row, "TEXT2"), card == 2 ? "JPG" : "");
        EXPECT_EQ(printTable.fieldByName("Imag").isNull(), card != 2);
        if (card != 0) {
            ASSERT_TRUE(cards.locateKey(keys[static_cast<size_t>(card - 1)]));
            EXPECT_EQ(printTable.fieldByName("Memo2").asBytes(),
                      cards.fieldByName("Resp_Text").asBytes());
        }
        const report::BandContent band =
            printing::prepareBand(printTable, row, Side::Answers, source);
        EXPECT_EQ(band.text, card == 0 || card == 4 ? QString() : kSecret + QString::number(card));
        EXPECT_EQ(band.failure.isEmpty(), card != 4);
        EXPECT_EQ(band.picture.isNull() ? QSize() : band.picture.size(),
                  card == 2 ? QSize(200, 100) : QSize());
    }

    // A preview draws again when it prints from itself: both drawings hold every answer.
    printing::PrintSettings settings;
    const report::Report report =
        printing::printReport(printTable, Side::Answers, settings, source);
    for (int drawing = 0; drawing < 2; ++drawing) {
        QBuffer sink;
        ASSERT_TRUE(sink.open(QIODevice::WriteOnly));
        QPdfWriter writer(&sink);
        const report::RunResult result = report.print(writer);
        ASSERT_EQ(result.failures.size(), 1u);
        EXPECT_EQ(result.failures[0].row, 0); // card 4, damaged
    }
    for (int row = 0; row < 6; ++row)
        EXPECT_EQ(printing::prepareBand(printTable, row, Side::Answers, source).text.isEmpty(),
                  cardOfRow[static_cast<size_t>(row)] == 0 ||
                      cardOfRow[static_cast<size_t>(row)] == 4);

    // Preparing and drawing the bands wrote nothing unpacked into the print table's files.
    for (const QString& file : {imp, imp + "-journal"}) {
        QFile f(file);
        if (f.open(QIODevice::ReadOnly)) {
            EXPECT_FALSE(f.readAll().contains(kSecret.toUtf8())) << file.toStdString();
        }
    }

    printing::wipePrintContent(printTable);
    for (int row = 0; row < 6; ++row) {
        printTable.setRecNo(row + 1);
        for (const char* f : {"TEXT", "TEXT2", "Imag", "Memo", "Memo2", "Comp_Encr"})
            EXPECT_TRUE(printTable.fieldByName(f).isNull()) << row << " " << f;
    }
    printTable.close();
    QFile file(imp);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_FALSE(file.readAll().contains(kSecret.toUtf8()));
}

// Without packed content: question rows carry the question, answer rows the first line of the
// short answer, in the order of the cards in view.
TEST_F(PrintRunTest, PlainStudyFileRows) {
    useDesign(false);
    std::vector<qint64> keys;
    for (int i = 1; i <= 4; ++i)
        keys.push_back(store(QStringLiteral("P%1").arg(i), QStringLiteral("R%1").arg(i)));
    // The cards in view are a selection in another order.
    const std::vector<qint64> view = {keys[3], keys[1], keys[0]};
    table::Table reader;
    reader.open(dir.path(), "C.DB");
    ASSERT_EQ(printing::fillPrintTable(printTable, reader, view, Side::Questions, 3, source), 3);
    EXPECT_EQ(rowText(0, "TEXT"), "P4");
    EXPECT_EQ(rowText(1, "TEXT"), "P2");
    EXPECT_EQ(rowText(2, "TEXT"), "P1");
    EXPECT_EQ(rowText(0, "Comp_Encr"), "Fn");
    // A second fill replaces the rows.
    ASSERT_EQ(printing::fillPrintTable(printTable, reader, view, Side::Answers, 6, source), 6);
    EXPECT_EQ(printTable.recordCount(), 6);
    const QStringList expected = {"", "", "", "R4", "R2", "R1"};
    for (int row = 0; row < 6; ++row) {
        EXPECT_EQ(rowText(row, "TEXT"), expected[row]) << row;
        EXPECT_EQ(printing::prepareBand(printTable, row, Side::Answers, source).text,
                  expected[row]);
    }
    printing::emptyPrintTable(printTable);
    EXPECT_EQ(printTable.recordCount(), 0);
}

// A page drawn onto an image: boxes where the geometry puts them, the margins white, the frame
// only when asked, a picture filling its item with stretch and centred at its natural size
// without.
TEST(ReportDrawing, PagesOnAnImage) {
    constexpr double dpi = 100;
    const auto px = [](double mm) { return int(std::lround(mm * dpi / 25.4)); };
    QImage red(200, 100, QImage::Format_RGB32);
    red.fill(Qt::red);
    struct Case {
        const char* name;
        bool frame;
        bool stretch;
    };
    for (const Case c :
         {Case{"frame, stretch", true, true}, Case{"no frame, natural", false, false}}) {
        SCOPED_TRACE(c.name);
        report::ReportLayout layout;
        layout.frame = c.frame;
        layout.stretch = c.stretch;
        const report::BandGrid grid = report::bandGrid(report::pageSizeMm(report::Paper::A4), 2, 3);
        layout.pictureItem =
            printing::bandItems(
                Side::Answers, {printing::QuestionChoice::Text, printing::AnswerChoice::Image, 6},
                [] {
                    studyfile::DesignOptions d;
                    d.answerImage = true;
                    return d;
                }(),
                2, grid.bandWidth, grid.bandHeight)
                .picture;
        ASSERT_TRUE(layout.pictureItem);
        report::Report report(layout, 4, [&](int row) {
            report::BandContent content;
            if (row == 3)
                content.picture = red;
            return content;
        });
        EXPECT_EQ(report.pageCount(), 1);
        QImage page(px(210), px(297), QImage::Format_RGB32);
        page.setDotsPerMeterX(qRound(dpi / 0.0254));
        page.setDotsPerMeterY(qRound(dpi / 0.0254));
        page.fill(Qt::white);
        QPainter painter(&page);
        std::vector<report::BandFailure> failures;
        report.drawPage(painter, 0, failures);
        painter.end();
        EXPECT_TRUE(failures.empty());

        // Nothing in the outer 9.5 mm of any margin.
        const int m = px(9.5);
        bool marginWhite = true;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x)
                if ((x < m || y < m || x >= page.width() - m || y >= page.height() - m) &&
                    page.pixel(x, y) != qRgb(255, 255, 255))
                    marginWhite = false;
        EXPECT_TRUE(marginWhite);
        // The frame's top edge of the first box, at 10 mm.
        EXPECT_EQ(qGray(page.pixel(px(50), px(10) + 0)) < 128, c.frame);
        // Row 3 is the right column's first box: x 107 .. 200 mm, y 10 .. 102 mm.
        const QRectF item = layout.pictureItem->translated(grid.boxOfRow(3).topLeft());
        const QColor nearCorner = page.pixelColor(px(item.left() + 1), px(item.top() + 1));
        const QColor centre = page.pixelColor(px(item.center().x()), px(item.center().y()));
        EXPECT_GT(centre.red(), 200);
        EXPECT_LT(centre.green(), 60);
        // Stretched, the picture reaches the item's corner; at its natural size (52.9 x 26.5 mm)
        // it stays centred, away from the corner.
        EXPECT_EQ(nearCorner.red() > 200 && nearCorner.green() < 60, c.stretch);
        const QRectF natural = report::pictureRectMm(item, red.size(), false, true);
        EXPECT_NEAR(natural.width(), 200 * 25.4 / 96, 1e-9);
        EXPECT_NEAR(natural.center().x(), item.center().x(), 1e-9);
    }
}

// A larger picture is shrunk to its item with fit, cropped without.
TEST(ReportDrawing, PictureFitAndCrop) {
    const QRectF item(0, 0, 50, 40);
    const QRectF fit = report::pictureRectMm(item, QSize(960, 480), false, true);
    EXPECT_DOUBLE_EQ(fit.width(), 50);
    EXPECT_DOUBLE_EQ(fit.height(), 25);
    EXPECT_DOUBLE_EQ(fit.center().y(), 20);
    const QRectF crop = report::pictureRectMm(item, QSize(960, 480), false, false);
    EXPECT_DOUBLE_EQ(crop.width(), 254);
    EXPECT_EQ(report::pictureRectMm(item, QSize(960, 480), true, true), item);
}

// A whole run into a PDF: one page per six boxes, one blank page without rows, failing bands
// collected while the run goes on, and a progress that cancels.
TEST(ReportDrawing, RunsIntoAPdf) {
    report::ReportLayout layout;
    layout.textItem = QRectF(1, 1, 91, 90);
    struct Case {
        int rows;
        int pages;
    };
    for (const Case c : {Case{0, 1}, Case{6, 1}, Case{7, 2}, Case{14, 3}}) {
        QByteArray pdf;
        QBuffer buffer(&pdf);
        ASSERT_TRUE(buffer.open(QIODevice::WriteOnly));
        QPdfWriter writer(&buffer);
        writer.setResolution(300);
        int drawn = 0;
        report::Report report(layout, c.rows, [&](int row) {
            ++drawn;
            report::BandContent content;
            content.text = QStringLiteral("P%1").arg(row + 1);
            if (row == 4)
                throw picture::PictureError(QStringLiteral("imagen dañada"));
            return content;
        });
        EXPECT_EQ(report.pageCount(), c.pages);
        const report::RunResult result = report.print(writer);
        buffer.close();
        EXPECT_EQ(result.outcome, report::RunOutcome::Done);
        EXPECT_EQ(drawn, c.rows);
        EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r"), c.pages) << c.rows;
        EXPECT_EQ(result.failures.size(), c.rows > 4 ? 1u : 0u);
        if (c.rows > 4) {
            EXPECT_EQ(result.failures[0].row, 4);
            EXPECT_EQ(result.failures[0].reason, "imagen dañada");
        }
    }
    QBuffer sink;
    ASSERT_TRUE(sink.open(QIODevice::WriteOnly));
    QPdfWriter writer(&sink);
    report::Report report(layout, 14, [](int) { return report::BandContent(); });
    const report::RunResult cancelled =
        report.print(writer, 1, 3, [](int page, int) { return page < 2; });
    EXPECT_EQ(cancelled.outcome, report::RunOutcome::Cancelled);
}

// A PDF is written whole or not at all: a cancelled or failed run, or an unwritable path, leaves
// an earlier file as it was.
TEST(ReportDrawing, PdfFileWrittenWholeOrNotAtAll) {
    QTemporaryDir dir;
    const QString path = dir.filePath("hojas.pdf");
    QFile earlier(path);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("earlier");
    earlier.close();
    report::ReportLayout layout;
    layout.textItem = QRectF(1, 1, 91, 90);
    report::Report report(layout, 14, [](int row) {
        report::BandContent content;
        content.text = QStringLiteral("P%1").arg(row + 1);
        if (row == 9)
            content.failure = QStringLiteral("dañada");
        return content;
    });
    const auto contents = [&] {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const report::RunResult cancelled =
        printing::writePdf(report, path, [](int page, int) { return page < 2; });
    EXPECT_EQ(cancelled.outcome, report::RunOutcome::Cancelled);
    EXPECT_EQ(contents(), "earlier");
    // The tool keeps only whole runs: a failing band leaves the earlier file.
    const report::RunResult refused = printing::writePdf(report, path, {}, true);
    EXPECT_EQ(refused.failures.size(), 1u);
    EXPECT_EQ(contents(), "earlier");
    const report::RunResult unwritable =
        printing::writePdf(report, dir.filePath("no/such/folder/hojas.pdf"));
    EXPECT_EQ(unwritable.outcome, report::RunOutcome::Failed);
    EXPECT_FALSE(unwritable.error.isEmpty());
    // A screen's run with a failing band still gives the whole document.
    const report::RunResult done = printing::writePdf(report, path);
    EXPECT_EQ(done.outcome, report::RunOutcome::Done);
    EXPECT_TRUE(contents().startsWith("%PDF"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"hojas.pdf"});
}

} // namespace
