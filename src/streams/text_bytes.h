// Cipher keys and container entry names are bytes: the Windows-1252 encoding of the text when every
// character has one, else its UTF-8 bytes.
#pragma once

#include <QByteArray>
#include <QString>

// The bytes of a key or an entry name.
QByteArray TextBytes(const QString& text);

// The text of bytes written by TextBytes (and of names written by other programs): UTF-8 when the
// bytes are valid UTF-8 holding a character that Windows-1252 cannot encode (so TextBytes would
// have written UTF-8), else Windows-1252. TextBytes(BytesText(b)) == b for every b that TextBytes
// can produce.
QString BytesText(const QByteArray& bytes);

// True when every character of text has a Windows-1252 byte.
bool HasWindows1252Encoding(const QString& text);
