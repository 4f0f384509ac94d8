#include "platform/rtf/codepage.h"

#include <QStringDecoder>

namespace rtf {

namespace {

// Bytes 0x80 to 0x9F of Windows-1252; the rest of the code page equals Latin-1.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

char16_t windows1252Char(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F)
        return kHighControls[byte - 0x80];
    return byte;
}

std::optional<unsigned char> windows1252Byte(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<unsigned char>(c);
    for (int i = 0; i < 32; ++i) {
        if (kHighControls[i] == c)
            return static_cast<unsigned char>(0x80 + i);
    }
    return std::nullopt;
}

QString decodeWindows1252(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out[i] = QChar(windows1252Char(static_cast<unsigned char>(bytes[i])));
    return text;
}

std::optional<QByteArray> encodeWindows1252(QStringView text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (QChar c : text) {
        const auto b = windows1252Byte(c.unicode());
        if (!b)
            return std::nullopt;
        bytes.append(static_cast<char>(*b));
    }
    return bytes;
}

QString decode8Bit(const QByteArray& data) {
    // Stateless: one call decodes everything; the default flags drop a leading byte order mark.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(data);
    if (!utf8.hasError())
        return text;
    return decodeWindows1252(data);
}

QStringList splitLines(QStringView text) {
    QStringList lines;
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            lines.append(text.mid(start, i - start).toString());
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            start = ++i;
        } else {
            ++i;
        }
    }
    if (start < text.size())
        lines.append(text.mid(start).toString());
    return lines;
}

} // namespace rtf
