// Text files of other programs (group files, text imports): read whole, decoded once per file and
// split into lines; and the text files this program writes (UTF-8 without a byte order mark, every
// line ended by CR LF, written whole).
#pragma once

#include "platform/error.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace textfile {

// A text file that cannot be read, is no text, or cannot be written: the text is the Spanish
// message the user sees, naming the file.
class ETextFile : public platform::Error {
public:
    using Error::Error;
};

// The text of a file's bytes, decided once for the whole file: a UTF-16 byte order mark (FF FE or
// FE FF) gives UTF-16 of that byte order (the mark removed; an odd last byte and unpaired
// surrogates read as U+FFFD); anything else is read as UTF-8 when the whole of it is valid UTF-8
// (a leading byte order mark removed), else as Windows-1252.
QString decodeText(const QByteArray& bytes);

// The lines of a text file: read whole, decoded with decodeText and split at CR LF, CR or LF (a
// final line break adds no line; an empty file has none). Throws ETextFile with
// "No se puede leer el archivo\r\r<path>" when the file cannot be opened or read, and with
// "El archivo\r\r<path>\r\rno es un archivo de texto." when the decoded text holds a NUL
// character (a picture, a study file or a UTF-16 file without its mark chosen by mistake).
QStringList readTextLines(const QString& path);

// The bytes writeTextLines writes: every line in UTF-8 followed by CR LF, no byte order mark.
QByteArray textLinesBytes(const QStringList& lines);

// Writes the lines as the whole file (textLinesBytes, through a temporary file that replaces the
// old one only once everything was written). Throws ETextFile with
// "No se ha podido guardar el archivo\r\r<path>" on failure; an old file is then left untouched.
void writeTextLines(const QString& path, const QStringList& lines);

// The messages, for callers that word the same refusals.
QString unreadableMessage(const QString& path);
QString notTextMessage(const QString& path);
QString notSavedMessage(const QString& path);

} // namespace textfile
