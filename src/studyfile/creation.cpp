#include "studyfile/creation.h"

#include "platform/files.h"
#include "studyfile/card_table.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace studyfile {

namespace {

bool onlyDigits(const QString& text) {
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

} // namespace

QString sizeCheckMessage(const QString& text) {
    if (!onlyDigits(text))
        return kOnlyDigitsMessage;
    if (text.isEmpty())
        return QString();
    // Digits only: a long run of them is beyond 255 whatever its value.
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value >= 256)
        return kSizeTooLargeMessage;
    if (value < 1)
        return kSizeTooSmallMessage;
    return QString();
}

int readSizeText(const QString& text) {
    if (text.isEmpty() || !onlyDigits(text))
        throw platform::ConversionError(
            QStringLiteral("'%1' no es un valor entero válido.").arg(text));
    const QString message = sizeCheckMessage(text);
    if (!message.isEmpty())
        throw CreationRefused(message);
    return text.toInt();
}

bool studyFileExists(const QString& folder, const QString& name) {
    for (const char* ext : {".STU", ".MB", ".DB", ".PX"})
        if (!files::findNoCase(folder, name + QLatin1String(ext)).isEmpty())
            return true;
    return false;
}

void checkCreation(const CreationRequest& r) {
    const DesignOptions& o = r.options;
    if (!o.answerImage && !o.longAnswerText && o.shortAnswerSize <= 0)
        throw CreationRefused(kNoAnswerKindMessage);
    if (r.name.isEmpty())
        throw CreationRefused(kNoNameMessage);
    if (r.name.contains(QLatin1Char('/')))
        throw CreationRefused(kSlashInNameMessage);
    if (o.questionSize < 1 || o.shortAnswerSize < 0)
        throw CreationRefused(kSizeTooSmallMessage);
    if (o.questionSize > 255 || o.shortAnswerSize > 255)
        throw CreationRefused(kSizeTooLargeMessage);
    if (studyFileExists(r.datFolder, r.name))
        throw CreationRefused(kAlreadyExistsMessage);
}

QString createStudyFile(const CreationRequest& r) {
    checkCreation(r);
    DesignOptions options = r.options;
    options.enciphered = !r.password.isEmpty();
    options.modifiable = true;
    options.exportable = true;
    options.printable = true;
    const QDir dat(r.datFolder);
    const QString record = dat.filePath(r.name + QStringLiteral(".STU"));
    const QString table = dat.filePath(r.name + QStringLiteral(".DB"));
    // A picture left by an earlier study file of the same name would pass for this one's.
    const QStringList pictureLetters{QStringLiteral("BMP"), QStringLiteral("JPG"),
                                     QStringLiteral("JPEG")};
    for (const QString& letters : pictureLetters)
        files::removeNoCase(dat.filePath(r.name + QLatin1Char('.') + letters));

    // What this call wrote goes again when a later step fails: a half-made set would keep its
    // name taken for ever.
    QStringList written;
    try {
        written.append(record);
        writeDesignRecordFile(record, designRecordLines(options, r.description), r.password);
        written.append(table);
        written.append(table + QStringLiteral("-journal"));
        createCardTable(table, options.questionSize);
        if (!r.picture.isEmpty()) {
            const QString kind = r.pictureKind.isEmpty() ? QStringLiteral("BMP") : r.pictureKind;
            const QString picture = dat.filePath(r.name + QLatin1Char('.') + kind);
            written.append(picture);
            r.picture.saveToFile(picture);
        }
    } catch (...) {
        for (const QString& path : written) {
            if (QFileInfo(path).isFile())
                QFile::remove(path);
        }
        throw;
    }
    return table;
}

} // namespace studyfile
