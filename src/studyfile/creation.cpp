#include "studyfile/creation.h"

#include "platform/files.h"
#include "studyfile/card_table.h"

#include <QDir>

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
    writeDesignRecordFile(dat.filePath(r.name + QStringLiteral(".STU")),
                          designRecordLines(options, r.description), r.password);
    const QString table = dat.filePath(r.name + QStringLiteral(".DB"));
    createCardTable(table, options.questionSize);
    if (!r.picture.isEmpty()) {
        const QString kind = r.pictureKind.isEmpty() ? QStringLiteral("BMP") : r.pictureKind;
        r.picture.saveToFile(dat.filePath(r.name + QLatin1Char('.') + kind));
    }
    return table;
}

} // namespace studyfile
