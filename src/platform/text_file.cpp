#include "platform/text_file.h"

#include "platform/files.h"
#include "platform/rtf/codepage.h"

namespace textfile {

namespace {

// UTF-16 of the given byte order after the two bytes of its mark. Done by hand so that an odd
// last byte and unpaired surrogates give U+FFFD, whatever the converter would keep.
QString decodeUtf16(const QByteArray& bytes, bool bigEndian) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype size = bytes.size();
    QString text;
    text.reserve((size - 2) / 2 + 1);
    const auto unit = [&](qsizetype i) -> char16_t {
        return bigEndian ? char16_t((p[i] << 8) | p[i + 1]) : char16_t(p[i] | (p[i + 1] << 8));
    };
    qsizetype i = 2;
    while (i + 1 < size) {
        const char16_t u = unit(i);
        i += 2;
        if (QChar::isHighSurrogate(u)) {
            if (i + 1 < size && QChar::isLowSurrogate(unit(i))) {
                text.append(QChar(u));
                text.append(QChar(unit(i)));
                i += 2;
            } else {
                text.append(QChar::ReplacementCharacter);
            }
        } else if (QChar::isLowSurrogate(u)) {
            text.append(QChar::ReplacementCharacter);
        } else {
            text.append(QChar(u));
        }
    }
    if (i < size)
        text.append(QChar::ReplacementCharacter);
    return text;
}

} // namespace

QString unreadableMessage(const QString& path) {
    return QStringLiteral("No se puede leer el archivo\r\r%1").arg(path);
}

QString notTextMessage(const QString& path) {
    return QStringLiteral("El archivo\r\r%1\r\rno es un archivo de texto.").arg(path);
}

QString notSavedMessage(const QString& path) {
    return QStringLiteral("No se ha podido guardar el archivo\r\r%1").arg(path);
}

QString decodeText(const QByteArray& bytes) {
    if (bytes.size() >= 2) {
        const auto b0 = static_cast<unsigned char>(bytes[0]);
        const auto b1 = static_cast<unsigned char>(bytes[1]);
        if (b0 == 0xFF && b1 == 0xFE)
            return decodeUtf16(bytes, false);
        if (b0 == 0xFE && b1 == 0xFF)
            return decodeUtf16(bytes, true);
    }
    return rtf::decode8Bit(bytes);
}

QStringList readTextLines(const QString& path) {
    QByteArray bytes;
    try {
        bytes = files::readWhole(path);
    } catch (const files::FileError&) {
        throw ETextFile(unreadableMessage(path));
    }
    const QString text = decodeText(bytes);
    if (text.contains(QChar(u'\0')))
        throw ETextFile(notTextMessage(path));
    return rtf::splitLines(text);
}

QByteArray textLinesBytes(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes.append(line.toUtf8());
        bytes.append("\r\n", 2);
    }
    return bytes;
}

void writeTextLines(const QString& path, const QStringList& lines) {
    try {
        files::writeWhole(path, textLinesBytes(lines));
    } catch (const files::FileError&) {
        throw ETextFile(notSavedMessage(path));
    }
}

} // namespace textfile
