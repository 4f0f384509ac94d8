#include "studyfile/design_record.h"

#include "platform/files.h"
#include "platform/rtf/rtf.h"
#include "streams/memory_stream.h"
#include "streams/qx_streams.h"

#include <QRegularExpression>

namespace studyfile {

namespace {

QChar bit(bool on) {
    return on ? QLatin1Char('1') : QLatin1Char('0');
}

QString siNo(bool on) {
    return on ? QStringLiteral("si") : QStringLiteral("no");
}

void put(QString& line, int offset, const QString& text) {
    line.replace(offset, text.size(), text);
}

// A size right-aligned in three characters.
QString sizeField(int size) {
    return QString::number(size).rightJustified(3, QLatin1Char(' '), true);
}

// The number of a three-character size field, leading spaces removed; only digits are a number.
int sizeValue(const QString& line, int offset) {
    QString text = line.mid(offset, 3);
    while (text.startsWith(QLatin1Char(' ')))
        text.remove(0, 1);
    if (text.isEmpty())
        throw DamagedRecord();
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            throw DamagedRecord();
    return text.toInt();
}

} // namespace

QString flagsLine(const DesignOptions& o) {
    QString line(kFlagsLineLength, QLatin1Char(' '));
    line[0] = bit(o.questionImage);
    line[2] = bit(o.answerImage);
    line[4] = bit(o.longAnswerText);
    line[6] = bit(o.cardKey);
    line[8] = bit(o.importanceLevel);
    put(line, 11, sizeField(o.questionSize));
    put(line, 15, sizeField(o.shortAnswerSize));
    put(line, 20, QStringLiteral("C") + siNo(o.compressed));
    put(line, 24, QStringLiteral("E") + siNo(o.enciphered));
    put(line, 28, QStringLiteral("M") + siNo(o.modifiable));
    put(line, 32, QStringLiteral("EX") + siNo(o.exportable));
    put(line, 37, QStringLiteral("IM") + siNo(o.printable));
    return line;
}

DesignOptions parseFlagsLine(const QString& line) {
    if (line.size() < kMinFlagsLineLength)
        throw DamagedRecord();
    const auto one = [&](int offset) { return line[offset] == QLatin1Char('1'); };
    const auto yes = [&](int offset) { return line[offset] == QLatin1Char('s'); };
    DesignOptions o;
    o.questionImage = one(0);
    o.answerImage = one(2);
    o.longAnswerText = one(4);
    o.cardKey = one(6);
    o.importanceLevel = one(8);
    o.questionSize = sizeValue(line, 11);
    o.shortAnswerSize = sizeValue(line, 15);
    o.compressed = yes(21);
    o.enciphered = yes(25);
    o.modifiable = yes(29);
    o.exportable = yes(34);
    o.printable = yes(39);
    return o;
}

QString versionLine() {
    return kProductVersion.leftJustified(40, QLatin1Char(' '), true) +
           QString(200, QLatin1Char(' '));
}

QStringList descriptionTemplate() {
    return {QStringLiteral("Nombre del Fichero de Estudio:"),
            QString(),
            QStringLiteral("Contenido:"),
            QString(),
            QStringLiteral("Número de Fichas:"),
            QString(),
            QStringLiteral("Comentarios:"),
            QString(),
            QString(),
            QStringLiteral("Fecha de Creación:"),
            QString(),
            QStringLiteral("Autor/a:"),
            QString(),
            QStringLiteral("Dirección de Correo Electrónico:"),
            QString(),
            QStringLiteral("Página Web:")};
}

DesignRecord parseDesignRecord(const QStringList& lines) {
    if (lines.isEmpty())
        throw DamagedRecord();
    DesignRecord r;
    r.lines = lines;
    r.flags = lines[0];
    r.version = lines.value(1).trimmed();
    r.description = lines.mid(3);
    r.options = parseFlagsLine(r.flags);
    return r;
}

QStringList designRecordLines(const DesignOptions& options, const QStringList& description) {
    QStringList lines{flagsLine(options), versionLine(), QString()};
    lines += description;
    return lines;
}

QByteArray designRecordFileImage(const QStringList& lines, const QString& password) {
    streams::TQXStreams qxs;
    qxs.Compressed = true;
    qxs.Encrypted = !password.isEmpty();
    qxs.Key = password;
    qxs.AddStream(kDesignStreamName, streams::MemoryStream(rtf::writeLines(lines)));
    streams::MemoryStream out;
    qxs.SaveToStream(out);
    return out.Bytes();
}

void writeDesignRecordFile(const QString& path, const QStringList& lines, const QString& password) {
    files::writeWhole(path, designRecordFileImage(lines, password));
}

QStringList readDesignRecordFile(const QString& path, const QString& password) {
    return readDesignRecordImage(files::readWhole(path), password);
}

QStringList readDesignRecordImage(const QByteArray& image, const QString& password) {
    streams::MemoryStream source(image);
    const bool enciphered = source.Size() >= 2 && source.Bytes()[1] == '*';
    streams::TQXStreams qxs;
    qxs.Key = password;
    try {
        qxs.LoadFromStream(source);
    } catch (const streams::CorruptFile&) {
        if (enciphered)
            throw WrongPassword();
        throw DamagedRecord();
    }
    streams::MemoryStream record;
    qxs.GetStream(kDesignStreamName, record);
    return rtf::readLines(record.Bytes());
}

bool designRecordFileEnciphered(const QString& path) {
    try {
        const QByteArray head = files::readWhole(path).left(2);
        return head.size() == 2 && head[1] == '*';
    } catch (const std::exception&) {
        return false;
    }
}

QString oneLine(const QString& text) {
    static const QRegularExpression breaks(QStringLiteral("[ ]*[\\r\\n]+[ ]*"));
    QString s = text;
    s.replace(breaks, QStringLiteral(" "));
    return s.trimmed();
}

namespace {

// The remembered-password file's container: compressed, enciphered with the volume serial text,
// the stored text under "1".
const QString kRememberedStreamName = QStringLiteral("1");

void setRememberedPasswordForm(streams::TQXStreams& qxs, const QString& volumeKey) {
    qxs.Compressed = true;
    qxs.Encrypted = true;
    qxs.Key = volumeKey;
}

} // namespace

QByteArray rememberedPasswordImage(const QStringList& lines, const QString& volumeKey) {
    streams::TQXStreams qxs;
    setRememberedPasswordForm(qxs, volumeKey);
    qxs.AddStream(kRememberedStreamName, streams::MemoryStream(rtf::writeLines(lines)));
    streams::MemoryStream out;
    qxs.SaveToStream(out);
    return out.Bytes();
}

QStringList readRememberedPasswordFile(const QString& path, const QString& volumeKey) {
    streams::TQXStreams qxs;
    setRememberedPasswordForm(qxs, volumeKey);
    qxs.LoadFromFile(path);
    streams::MemoryStream text;
    qxs.GetStream(kRememberedStreamName, text);
    return rtf::readLines(text.Bytes());
}

} // namespace studyfile
