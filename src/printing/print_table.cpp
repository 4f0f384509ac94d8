#include "printing/print_table.h"

#include "platform/error.h"
#include "platform/picture/picture.h"
#include "platform/rtf/rtf.h"
#include "platform/table/table.h"
#include "streams/corrupt_file.h"
#include "streams/qx_streams.h"
#include "studyfile/card_content.h"

#include <QTextDocument>

namespace printing {

namespace {

const QString kText = QStringLiteral("TEXT");
const QString kText2 = QStringLiteral("TEXT2");
const QString kImag = QStringLiteral("Imag");
const QString kMemo = QStringLiteral("Memo");
const QString kMemo2 = QStringLiteral("Memo2");
const QString kCompEncr = QStringLiteral("Comp_Encr");
const QString kJpg = QStringLiteral("JPG");
const QString kPacked = QStringLiteral("Fs");
const QString kPlain = QStringLiteral("Fn");

bool isPictureKind(const QString& kind) {
    return kind == QLatin1String("BMP") || kind == kJpg;
}

void copyPicture(table::Table& printTable, table::Table& cards, const QString& kindField,
                 const QString& bytesField) {
    const QString kind = cards.fieldByName(kindField).asString();
    // Any kind but these two means the card has no picture, whatever bytes were left behind.
    if (!isPictureKind(kind))
        return;
    printTable.fieldByName(kImag).setBytes(cards.fieldByName(bytesField).asBytes());
    if (kind == kJpg)
        printTable.fieldByName(kText2).setString(kJpg);
}

void copyCard(table::Table& printTable, table::Table& cards, Side side, const PrintSource& source) {
    const studyfile::DesignOptions& design = source.design;
    const bool packed = studyfile::cardIsPacked(
        cards.fieldByName(QStringLiteral("Ficha_Comp_Encr")).asString(), source.packedContent);
    printTable.fieldByName(kCompEncr).setString(packed ? kPacked : kPlain);
    if (side == Side::Questions) {
        if (design.questionSize > 0)
            printTable.fieldByName(kText).setString(
                cards.fieldByName(QStringLiteral("Preg_Text")).asString());
        if (design.questionImage)
            copyPicture(printTable, cards, QStringLiteral("Tipo_Preg_Imag"),
                        QStringLiteral("Preg_Imag"));
        return;
    }
    if (design.shortAnswerSize > 0) {
        const QByteArray stored = cards.fieldByName(QStringLiteral("Resp_Text")).asBytes();
        printTable.fieldByName(kMemo2).setBytes(stored);
        // Without packed content the short answer is stored plain anyway; packed content never
        // reaches the print table unpacked.
        if (!source.packedContent)
            printTable.fieldByName(kText).setString(studyfile::shortAnswerText(stored));
    }
    if (design.answerImage)
        copyPicture(printTable, cards, QStringLiteral("Tipo_Resp_Imag"),
                    QStringLiteral("Resp_Imag"));
    if (design.longAnswerText)
        printTable.fieldByName(kMemo).setBytes(
            cards.fieldByName(QStringLiteral("Resp_Memo")).asBytes());
}

void deleteRows(table::Table& printTable) {
    printTable.setFiltered(false);
    printTable.first();
    while (!printTable.isEmpty())
        printTable.deleteCurrent();
}

} // namespace

int fillPrintTable(table::Table& printTable, table::Table& cards,
                   const std::vector<qint64>& keysInView, Side side, int perPage,
                   const PrintSource& source,
                   const std::function<void(qint64 done, qint64 total)>& progress) {
    const std::vector<std::optional<int>> order =
        printRowOrder(static_cast<int>(keysInView.size()), side, perPage, perPage >= 6 ? 2 : 1);
    const bool sameView = cards.recordCount() == static_cast<int>(keysInView.size());
    qint64 done = 0;
    table::BatchScope batch(printTable);
    deleteRows(printTable);
    for (const std::optional<int>& position : order) {
        printTable.append();
        if (position) {
            const qint64 key = keysInView[static_cast<size_t>(*position)];
            // Straight to the row when the reader shows the same view, else by its key.
            const bool samePlace = sameView && cards.keyAt(*position) == key;
            if (samePlace)
                cards.setRecNo(*position + 1);
            else if (!cards.locateKey(key))
                throw table::EngineError(
                    QStringLiteral("La ficha %1 ya no está en el Fichero de Estudio.").arg(key));
            copyCard(printTable, cards, side, source);
        }
        printTable.post();
        if (progress)
            progress(++done, static_cast<qint64>(order.size()));
    }
    return static_cast<int>(order.size());
}

void wipePrintContent(table::Table& printTable) {
    table::BatchScope batch(printTable);
    printTable.setFiltered(false);
    for (printTable.first(); !printTable.eof(); printTable.next()) {
        printTable.edit();
        for (const QString& name : {kImag, kMemo, kMemo2, kText, kText2, kCompEncr})
            printTable.fieldByName(name).clear();
        printTable.post();
    }
}

void emptyPrintTable(table::Table& printTable) {
    table::BatchScope batch(printTable);
    deleteRows(printTable);
}

report::BandContent prepareBand(table::Table& printTable, int row, Side side,
                                const PrintSource& source, const BandItemsUsed& used) {
    printTable.setRecNo(row + 1);
    const auto field = [&](const QString& name) { return printTable.fieldByName(name); };
    return prepareBand(PrintRow{field(kText).asString(), field(kText2).asString(),
                                field(kImag).asBytes(), field(kMemo).asBytes(),
                                field(kMemo2).asBytes(), field(kCompEncr).asString()},
                       side, source, used);
}

report::BandContent prepareBand(const PrintRow& row, Side side, const PrintSource& source,
                                const BandItemsUsed& used) {
    report::BandContent content;
    const bool packed = source.packedContent && row.compEncr == kPacked;
    // A container of its own, set like the study file's, and without its damaged-data message:
    // a failure belongs to this band, and the run reports it once at the end.
    streams::TQXStreams qxs;
    studyfile::configureContentContainer(qxs, source.design, source.key);
    const auto plain = [&](const QByteArray& stored) {
        return packed && !stored.isEmpty() ? studyfile::unpackContent(qxs, stored) : stored;
    };
    const auto attempt = [&](const auto& step) {
        try {
            step();
        } catch (const streams::CorruptFile&) {
            if (content.failure.isEmpty())
                content.failure = studyfile::kDamagedMessage;
        } catch (const std::exception& e) {
            if (content.failure.isEmpty())
                content.failure = QString::fromUtf8(e.what());
        }
    };
    const studyfile::DesignOptions& design = source.design;
    if (side == Side::Questions && used.text)
        content.text = row.text;
    else if (side == Side::Answers && used.text && design.shortAnswerSize > 0)
        attempt([&] { content.text = studyfile::shortAnswerText(plain(row.memo2)); });
    if (side == Side::Answers && used.richText && design.longAnswerText)
        attempt([&] {
            const QByteArray rtfBytes = plain(row.memo);
            if (!rtfBytes.isEmpty()) {
                auto doc = std::make_shared<QTextDocument>();
                // Text without a font of its own prints in the report's font.
                doc->setDefaultFont(report::ReportLayout::defaultFont());
                rtf::readDocument(rtfBytes, *doc);
                content.richText = std::move(doc);
            }
        });
    const bool sidePicture = side == Side::Questions ? design.questionImage : design.answerImage;
    if (sidePicture && used.picture)
        attempt([&] {
            const QByteArray bytes = plain(row.imag);
            if (bytes.isEmpty())
                return;
            const auto kind =
                row.text2 == kJpg ? picture::Picture::Kind::Jpeg : picture::Picture::Kind::Bitmap;
            content.picture = picture::Picture::fromBytes(bytes, kind).image();
        });
    return content;
}

} // namespace printing
