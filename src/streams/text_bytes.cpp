#include "streams/text_bytes.h"

#include <QStringDecoder>

namespace streams {

namespace {

// Characters of bytes 0x80..0x9F; the five bytes Windows-1252 leaves unassigned map to the C1
// control of the same value, so every byte has a character and back.
constexpr char16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

int windows1252Byte(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == c)
            return 0x80 + i;
    return -1;
}

} // namespace

bool hasWindows1252Encoding(const QString& text) {
    for (QChar c : text)
        if (windows1252Byte(c.unicode()) < 0)
            return false;
    return true;
}

QByteArray textBytes(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text) {
        const int b = windows1252Byte(c.unicode());
        if (b < 0)
            return text.toUtf8();
        out.append(static_cast<char>(b));
    }
    return out;
}

QString bytesText(const QByteArray& bytes) {
    bool ascii = true;
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii)
        return QString::fromLatin1(bytes);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString asUtf8 = utf8.decode(bytes);
    if (!utf8.hasError() && !hasWindows1252Encoding(asUtf8))
        return asUtf8;
    QString out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        out.append(QChar(b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : char16_t(b)));
    }
    return out;
}

} // namespace streams
