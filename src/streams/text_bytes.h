// Cipher keys and container entry names are bytes: the Windows-1252 encoding of the text when every
// character has one, else its UTF-8 bytes.
#pragma once

#include <QByteArray>
#include <QString>

namespace streams {

// The bytes of a key or an entry name.
QByteArray textBytes(const QString& text);

// The text of bytes written by textBytes (and of names written by other programs): UTF-8 when the
// bytes are valid UTF-8 holding a character that Windows-1252 cannot encode (so textBytes would
// have written UTF-8), else Windows-1252. textBytes(bytesText(b)) == b for every b that textBytes
// can produce.
QString bytesText(const QByteArray& bytes);

// True when every character of text has a Windows-1252 byte.
bool hasWindows1252Encoding(const QString& text);

} // namespace streams
