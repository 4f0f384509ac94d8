#include "exchange/text_export.h"

#include "platform/files.h"
#include "platform/rtf/codepage.h"
#include "platform/rtf/rtf.h"
#include "platform/table/table.h"
#include "platform/text_file.h"
#include "streams/qx_streams.h"
#include "studyfile/card_content.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTextBlock>
#include <QTextDocument>

#include <vector>

namespace exchange {

namespace {

QString pictureExtension(const QString& kind) {
    if (kind == QLatin1String("JPG"))
        return QStringLiteral("jpg");
    if (kind == QLatin1String("BMP"))
        return QStringLiteral("bmp");
    return QString();
}

// The long answer as plain text: its paragraphs joined by one blank.
QString longAnswerPlainText(const QByteArray& rtfBytes) {
    if (rtfBytes.isEmpty())
        return QString();
    QTextDocument doc;
    rtf::readDocument(rtfBytes, doc);
    QStringList paragraphs;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        paragraphs << b.text();
    return paragraphs.join(u' ');
}

// Removes the files written so far unless the export finished.
class WrittenFiles {
public:
    ~WrittenFiles() {
        if (!kept_)
            for (const QString& path : paths_)
                QFile::remove(path);
    }
    void add(const QString& path, const QByteArray& bytes) {
        files::writeWhole(path, bytes);
        paths_ << path;
    }
    void keep() { kept_ = true; }

private:
    QStringList paths_;
    bool kept_ = false;
};

} // namespace

TextExportResult exportText(table::Table& cards, streams::TQXStreams& qxs,
                            const studyfile::DesignOptions& design, bool packedContent,
                            const QString& outPath, const TextExportRequest& request) {
    if (!design.exportable)
        throw EExportRefused(kNotExportableMessage);
    const QString folder = QFileInfo(outPath).absolutePath();
    const std::vector<qint64> keys = cards.visibleKeys();

    if (request.withFiles) {
        // Every name the export could write, refused before anything is written.
        QSet<QString> existing;
        for (const QString& name :
             QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System))
            existing.insert(name.toLower());
        for (qint64 key : keys) {
            const QString base = QString::number(key);
            for (const QString& name :
                 {base + QStringLiteral("-p.jpg"), base + QStringLiteral("-p.bmp"),
                  base + QStringLiteral("-r.jpg"), base + QStringLiteral("-r.bmp"),
                  base + QStringLiteral(".rtf")})
                if (existing.contains(name))
                    throw EExportRefused(
                        QStringLiteral("Ya existe el archivo %1 en %2.").arg(name, folder));
        }
    }

    TextExportResult result;
    QStringList lines;
    WrittenFiles written;
    const QChar sep = request.separator;
    const auto field = [&](QString text) {
        bool flattened = false;
        for (QChar& c : text) {
            if (c == sep || c == u'\r' || c == u'\n' || c == QChar(0)) {
                c = u' ';
                flattened = true;
            }
        }
        if (flattened)
            ++result.flattenedFields;
        return text;
    };
    const auto plain = [&](const studyfile::StoredCard& stored, const QByteArray& bytes) {
        return studyfile::cardIsPacked(stored.state, packedContent) && !bytes.isEmpty()
                   ? studyfile::unpackContent(qxs, bytes)
                   : bytes;
    };

    const table::ScrollEventsPaused paused(cards);
    // The cards in view in table order, walked row by row.
    for (cards.first(); !cards.eof(); cards.next()) {
        const qint64 key = cards.fieldByName(QStringLiteral("AutoInc")).asInteger();
        const studyfile::StoredCard stored = studyfile::readStoredCard(cards);
        const QString answer = design.longAnswerText
                                   ? longAnswerPlainText(plain(stored, stored.longAnswer))
                                   : studyfile::shortAnswerText(plain(stored, stored.shortAnswer));
        const table::Field importance = cards.fieldByName(QStringLiteral("Nive_Impo"));
        const QString line =
            field(cards.fieldByName(QStringLiteral("Preg_Text")).asString()) + sep + field(answer) +
            sep +
            (design.cardKey ? field(cards.fieldByName(QStringLiteral("Clav_Fich")).asString())
                            : QString()) +
            sep +
            (design.importanceLevel && !importance.isNull() ? importance.asString() : QString());
        if (request.windows1252 && !rtf::encodeWindows1252(line)) {
            throw EExportRefused(
                QStringLiteral("La ficha %1 tiene caracteres que no se pueden escribir en "
                               "Windows-1252.")
                    .arg(key));
        }
        lines << line;
        if (request.withFiles) {
            const QString base = QDir(folder).filePath(QString::number(key));
            QString names[3];
            const auto picture = [&](const QString& kind, const QByteArray& bytes,
                                     const QString& suffix, QString& name) {
                const QString extension = pictureExtension(kind);
                if (extension.isEmpty() || bytes.isEmpty())
                    return;
                name = QString::number(key) + suffix + u'.' + extension;
                written.add(base + suffix + u'.' + extension, plain(stored, bytes));
            };
            if (design.questionImage)
                picture(stored.questionKind, stored.questionPicture, QStringLiteral("-p"),
                        names[0]);
            if (design.answerImage)
                picture(stored.answerKind, stored.answerPicture, QStringLiteral("-r"), names[1]);
            // A card without a long answer gets an empty file, which the import reads as none
            // (without a file it would make the card's empty answer its long answer).
            if (design.longAnswerText) {
                names[2] = QString::number(key) + QStringLiteral(".rtf");
                written.add(base + QStringLiteral(".rtf"), plain(stored, stored.longAnswer));
            }
            lines << names[0] + sep + names[1] + sep + names[2];
        }
        ++result.cards;
    }

    QByteArray bytes;
    if (request.windows1252) {
        for (const QString& line : lines)
            bytes += *rtf::encodeWindows1252(line) + "\r\n";
    } else {
        bytes = textfile::textLinesBytes(lines);
    }
    files::writeWhole(outPath, bytes);
    written.keep();
    return result;
}

} // namespace exchange
