#pragma once

// 8-bit text of other programs: Windows-1252 in both directions, and the "UTF-8 when valid, else
// Windows-1252" reading used for text files and for RTF documents.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace rtf {

// The Windows-1252 character of a byte. The five bytes that Windows-1252 leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) give the control characters of the same value, as Windows does.
char16_t windows1252Char(unsigned char byte);

// The Windows-1252 byte of a character, if it has one.
std::optional<unsigned char> windows1252Byte(char16_t c);

QString decodeWindows1252(QByteArrayView bytes);

// The Windows-1252 bytes of text, or nothing when a character has no Windows-1252 byte.
std::optional<QByteArray> encodeWindows1252(QStringView text);

// Text of 8-bit data: UTF-8 (a leading byte order mark removed) when the data is valid UTF-8, else
// Windows-1252.
QString decode8Bit(const QByteArray& data);

// Text split at CR LF, CR or LF; a final line break ends the last line ("a\r\n" is one line, ""
// none).
QStringList splitLines(QStringView text);

} // namespace rtf
