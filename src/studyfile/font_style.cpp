#include "studyfile/font_style.h"

#include "platform/rtf/rtf.h"

#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace studyfile {

FontStyle defaultFontStyle() {
    FontStyle s;
    s.font = QFont(QStringLiteral("Tahoma"));
    s.font.setPixelSize(19);
    s.font.setBold(true);
    s.colour = QColor(0, 0, 128);
    return s;
}

void setFontStyleDocument(QTextDocument& doc, const FontStyle& style) {
    doc.clear();
    QTextCursor cursor(&doc);
    QTextCharFormat format;
    format.setFont(style.font);
    format.setForeground(style.colour);
    cursor.insertText(kFontStyleSample, format);
}

FontStyle fontStyleOf(const QTextDocument& doc) {
    const int characters = doc.characterCount() - 1; // without the final paragraph mark
    if (characters <= 0)
        return defaultFontStyle();
    QTextCursor cursor(const_cast<QTextDocument*>(&doc));
    // The format of the character before the cursor: the second one, or the only one.
    cursor.setPosition(characters >= 2 ? 2 : 1);
    const QTextCharFormat format = cursor.charFormat();
    FontStyle s = defaultFontStyle();
    const QFont font = format.font();
    if (format.hasProperty(QTextFormat::FontFamilies) ||
        format.hasProperty(QTextFormat::FontFamily))
        s.font.setFamilies(font.families().isEmpty() ? QStringList{font.family()}
                                                     : font.families());
    if (format.hasProperty(QTextFormat::FontPointSize) && format.fontPointSize() > 0)
        s.font.setPointSizeF(format.fontPointSize());
    else if (format.hasProperty(QTextFormat::FontPixelSize) &&
             format.intProperty(QTextFormat::FontPixelSize) > 0)
        s.font.setPixelSize(format.intProperty(QTextFormat::FontPixelSize));
    if (format.hasProperty(QTextFormat::FontWeight))
        s.font.setBold(format.fontWeight() >= QFont::DemiBold);
    if (format.hasProperty(QTextFormat::FontItalic))
        s.font.setItalic(format.fontItalic());
    if (format.hasProperty(QTextFormat::TextUnderlineStyle) ||
        format.hasProperty(QTextFormat::FontUnderline))
        s.font.setUnderline(format.fontUnderline());
    if (format.hasProperty(QTextFormat::FontStrikeOut))
        s.font.setStrikeOut(format.fontStrikeOut());
    if (format.hasProperty(QTextFormat::ForegroundBrush))
        s.colour = format.foreground().color();
    return s;
}

QByteArray writeFontStyle(const FontStyle& style) {
    QTextDocument doc;
    setFontStyleDocument(doc, style);
    return rtf::writeDocument(doc);
}

FontStyle readFontStyle(const QByteArray& data) {
    QTextDocument doc;
    rtf::readDocument(data, doc);
    return fontStyleOf(doc);
}

} // namespace studyfile
