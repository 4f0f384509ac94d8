#include "platform/rtf/rtf.h"

#include "platform/rtf/codepage.h"
#include "platform/rtf/rtf_model.h"

#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace rtf {

namespace {

QTextCharFormat toQt(const detail::CharFormat& f) {
    QTextCharFormat q;
    if (!f.family.isEmpty())
        q.setFontFamilies(QStringList{f.family});
    q.setFontPointSize(f.halfPoints / 2.0);
    q.setFontWeight(f.bold ? QFont::Bold : QFont::Normal);
    q.setFontItalic(f.italic);
    q.setFontUnderline(f.underline);
    q.setFontStrikeOut(f.strikeOut);
    if (f.color.isValid())
        q.setForeground(f.color);
    return q;
}

QTextBlockFormat toQt(detail::Alignment a) {
    QTextBlockFormat q;
    switch (a) {
    case detail::Alignment::Left:
        break;
    case detail::Alignment::Right:
        q.setAlignment(Qt::AlignRight);
        break;
    case detail::Alignment::Center:
        q.setAlignment(Qt::AlignHCenter);
        break;
    case detail::Alignment::Justify:
        q.setAlignment(Qt::AlignJustify);
        break;
    }
    return q;
}

// Plain text as the RTF reader would leave it: no NUL, no paragraph separator inside a line, and
// none of the characters QTextDocument takes for frame marks.
QString documentText(QString text) {
    text.remove(QChar(0));
    text.replace(QChar::ParagraphSeparator, QChar::LineSeparator);
    text.replace(QChar(0xFDD0), QChar::ReplacementCharacter);
    text.replace(QChar(0xFDD1), QChar::ReplacementCharacter);
    return text;
}

} // namespace

bool isRtf(const QByteArray& data) {
    return data.startsWith("{\\rtf");
}

QStringList readLines(const QByteArray& data) {
    if (!isRtf(data))
        return splitLines(decode8Bit(data));
    QStringList lines;
    for (const detail::Paragraph& para : detail::parse(data)) {
        QString text;
        for (const detail::Run& run : para.runs)
            text += run.text;
        // A manual line break inside a paragraph starts a new line.
        const QStringList pieces = text.split(QChar(detail::kLineBreak));
        lines += pieces;
    }
    return lines;
}

void readDocument(const QByteArray& data, QTextDocument& doc) {
    doc.clear();
    QTextCursor cursor(&doc);
    if (!isRtf(data)) {
        const QStringList lines = splitLines(decode8Bit(data));
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0)
                cursor.insertBlock();
            cursor.insertText(documentText(lines[i]));
        }
        return;
    }
    bool first = true;
    for (const detail::Paragraph& para : detail::parse(data)) {
        const QTextBlockFormat blockFormat = toQt(para.alignment);
        const QTextCharFormat markFormat = toQt(para.markFormat);
        if (first) {
            cursor.setBlockFormat(blockFormat);
            cursor.setBlockCharFormat(markFormat);
            first = false;
        } else {
            cursor.insertBlock(blockFormat, markFormat);
        }
        for (const detail::Run& run : para.runs) {
            QString text = run.text;
            text.replace(QChar(detail::kLineBreak), QChar::LineSeparator);
            text.replace(QChar::ParagraphSeparator, QChar::LineSeparator);
            cursor.insertText(text, toQt(run.format));
        }
    }
}

} // namespace rtf
