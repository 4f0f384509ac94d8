#pragma once

// Stored rich text: the RTF documents in which the program keeps its texts (design records, answer
// texts, remembered passwords, the font style, the preferences) and the long answers with their
// formatting.
//
// Lines and paragraphs: every paragraph of a document is one line, and every \par ends the
// paragraph before it. Text after the last \par is one more paragraph only when it is not empty, so
// "a\par b\par" and "a\par b" both hold the lines "a" and "b", "\par" holds one empty line and a
// document without text holds none. writeLines() ends every line with \par, which makes
// readLines(writeLines(lines)) == lines for any lines without line breaks or NUL characters, empty
// ones included. A manual line break (\line) inside a paragraph starts a new line for readLines()
// and stays a line break inside the paragraph for readDocument(). Plain text follows the same rule:
// a final line break ends the last line and adds no empty one.
//
// The readers accept what other writers produce and never fail: unknown control words are ignored,
// unknown {\*\...} destinations are skipped, damaged documents (unbalanced braces, truncated
// escapes, out-of-range numbers) give whatever text can be read.

#include <QByteArray>
#include <QStringList>

class QTextDocument;

namespace rtf {

// True when the data is an RTF document (it starts with "{\rtf").
bool isRtf(const QByteArray& data);

// An RTF document (\ansicpg1252, one font) whose paragraphs are the given lines. Characters of
// Windows-1252 are written as \'hh, the others as \uN?. A line break (CR LF, CR or LF) inside one
// of the lines ends that line there, as it would in a text buffer.
QByteArray writeLines(const QStringList& lines);

// The paragraphs of an RTF document as lines, or, when the data is not RTF, its text split at CR
// LF, CR or LF (read as UTF-8 when valid, else as Windows-1252).
QStringList readLines(const QByteArray& data);

// Replaces the content of doc with the document in data: paragraphs with their alignment, and
// characters with their font family, size, bold, italic, underline, strike-out and colour. Text
// that is not RTF becomes unformatted paragraphs, one per line.
void readDocument(const QByteArray& data, QTextDocument& doc);

// The document as RTF: a font table and a colour table of what it uses, every paragraph with its
// alignment and every run of characters with its family, size (in half points; pixel sizes are
// taken at 96 dots per inch), bold, italic, underline, strike-out and colour. Formats that the
// document leaves unset are written as the document's default font gives them.
QByteArray writeDocument(const QTextDocument& doc);

} // namespace rtf
