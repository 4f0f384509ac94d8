// The font style of the review texts, kept in "01.stl" in the program folder: a rich-text
// document whose second character carries the font (family, size, style, colour).
#pragma once

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QString>

class QTextDocument;

namespace studyfile {

inline const QString kFontStyleFileName = QStringLiteral("01.stl");
// The text of the font-style buffer; the style is read from its second character.
inline const QString kFontStyleSample = QStringLiteral("abc - ABC - 123");

struct FontStyle {
    QFont font;
    QColor colour;
    bool operator==(const FontStyle&) const = default;
};

// The style without a font style file: "Tahoma", bold, navy, 19 pixels high.
FontStyle defaultFontStyle();

// Fills doc with the sample text in style.
void setFontStyleDocument(QTextDocument& doc, const FontStyle& style);
// The style of a document: the format of its second character (of its first one when it has
// only one; the default style when it is empty).
FontStyle fontStyleOf(const QTextDocument& doc);

// The font style file's content and its reading (rich text; plain text gives the default style's
// attributes for what it lacks).
QByteArray writeFontStyle(const FontStyle& style);
FontStyle readFontStyle(const QByteArray& data);

} // namespace studyfile
