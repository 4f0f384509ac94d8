// The RTF writers: Windows-1252 documents in the shape a rich-text control writes, with every
// character outside Windows-1252 as \uN? (one fallback character, \uc1).

#include "platform/rtf/codepage.h"
#include "platform/rtf/rtf.h"
#include "platform/rtf/rtf_model.h"

#include <QFont>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextFragment>

#include <algorithm>
#include <cmath>
#include <optional>

namespace rtf {

namespace {

const char kHeader[] = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang3082";

void appendHexByte(QByteArray& out, unsigned char b) {
    static const char digits[] = "0123456789abcdef";
    out += "\\'";
    out += digits[b >> 4];
    out += digits[b & 0xF];
}

enum class TextKind { Line, Document };

// Appends text with RTF escapes. In a line every character is kept as it is; in a document
// U+2028 is the manual line break of a paragraph.
void appendText(QByteArray& out, QStringView text, TextKind kind) {
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (kind == TextKind::Document) {
            if (c == 0x2028 || c == 0x2029) {
                out += "\\line ";
                continue;
            }
        }
        switch (c) {
        case 0: // rich text cannot hold it; the readers drop it too
            continue;
        case u'\\':
            out += "\\\\";
            continue;
        case u'{':
            out += "\\{";
            continue;
        case u'}':
            out += "\\}";
            continue;
        case u'\t':
            out += "\\tab ";
            continue;
        default:
            break;
        }
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else if (const auto b = windows1252Byte(c)) {
            appendHexByte(out, *b);
        } else {
            out += "\\u";
            out += QByteArray::number(static_cast<int>(static_cast<std::int16_t>(c)));
            out += '?';
        }
    }
}

struct Format {
    QString family;
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    QColor color; // invalid: automatic
};

double pointsOf(const QFont& f) {
    if (f.pointSizeF() > 0)
        return f.pointSizeF();
    if (f.pixelSize() > 0)
        return f.pixelSize() * 72.0 / 96.0;
    return 12.0;
}

// The format a run of text shows: what its character format sets, and the document's default
// font for the rest.
Format effectiveFormat(const QTextCharFormat& f, const QFont& base) {
    Format e;
    e.family = base.family();
    if (f.hasProperty(QTextFormat::FontFamilies)) {
        const QStringList families = f.fontFamilies().toStringList();
        if (!families.isEmpty() && !families.first().isEmpty())
            e.family = families.first();
    }
    double points = pointsOf(base);
    if (f.hasProperty(QTextFormat::FontPointSize) && f.fontPointSize() > 0)
        points = f.fontPointSize();
    else if (f.hasProperty(QTextFormat::FontPixelSize) &&
             f.intProperty(QTextFormat::FontPixelSize) > 0)
        points = f.intProperty(QTextFormat::FontPixelSize) * 72.0 / 96.0;
    e.halfPoints = std::clamp(static_cast<int>(std::lround(points * 2)), detail::kMinHalfPoints,
                              detail::kMaxHalfPoints);
    e.bold = f.hasProperty(QTextFormat::FontWeight) ? f.fontWeight() > QFont::Medium : base.bold();
    e.italic = f.hasProperty(QTextFormat::FontItalic) ? f.fontItalic() : base.italic();
    e.underline = (f.hasProperty(QTextFormat::TextUnderlineStyle) ||
                   f.hasProperty(QTextFormat::FontUnderline))
                      ? f.fontUnderline()
                      : base.underline();
    e.strikeOut = f.hasProperty(QTextFormat::FontStrikeOut) ? f.fontStrikeOut() : base.strikeOut();
    if (f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush)
        e.color = f.foreground().color();
    return e;
}

class DocumentWriter {
public:
    explicit DocumentWriter(const QTextDocument& doc) : doc_(doc), base_(doc.defaultFont()) {}

    QByteArray write();

private:
    int fontIndex(const QString& family) {
        const auto i = fonts_.indexOf(family);
        if (i >= 0)
            return static_cast<int>(i);
        fonts_.append(family);
        return static_cast<int>(fonts_.size() - 1);
    }
    int colorIndex(const QColor& c) {
        if (!c.isValid())
            return 0;
        const QRgb rgb = c.rgb();
        const auto it = std::find(colors_.begin(), colors_.end(), rgb);
        if (it != colors_.end())
            return static_cast<int>(it - colors_.begin()) + 1;
        colors_.push_back(rgb);
        return static_cast<int>(colors_.size());
    }
    void collect(const Format& f) {
        fontIndex(f.family);
        colorIndex(f.color);
    }
    void switchTo(QByteArray& out, const Format& f);

    const QTextDocument& doc_;
    const QFont base_;
    QStringList fonts_;
    std::vector<QRgb> colors_;
    std::optional<Format> written_;
};

void DocumentWriter::switchTo(QByteArray& out, const Format& f) {
    const bool all = !written_;
    const Format& w = all ? f : *written_;
    bool any = false;
    auto word = [&](const QByteArray& text) {
        out += text;
        any = true;
    };
    if (all || w.family != f.family)
        word("\\f" + QByteArray::number(fontIndex(f.family)));
    if (all || w.halfPoints != f.halfPoints)
        word("\\fs" + QByteArray::number(f.halfPoints));
    if (all || w.bold != f.bold)
        word(f.bold ? "\\b" : "\\b0");
    if (all || w.italic != f.italic)
        word(f.italic ? "\\i" : "\\i0");
    if (all || w.underline != f.underline)
        word(f.underline ? "\\ul" : "\\ulnone");
    if (all || w.strikeOut != f.strikeOut)
        word(f.strikeOut ? "\\strike" : "\\strike0");
    if (all || w.color != f.color)
        word("\\cf" + QByteArray::number(colorIndex(f.color)));
    if (any)
        out += ' ';
    written_ = f;
}

QByteArray DocumentWriter::write() {
    // The tables come before the text, so the formats are gathered first.
    for (QTextBlock b = doc_.begin(); b.isValid(); b = b.next()) {
        bool empty = true;
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            if (frag.isValid() && frag.length() > 0 && !frag.charFormat().isImageFormat()) {
                collect(effectiveFormat(frag.charFormat(), base_));
                empty = false;
            }
        }
        if (empty)
            collect(effectiveFormat(b.charFormat(), base_));
    }
    if (fonts_.isEmpty())
        fonts_.append(base_.family());

    QByteArray body;
    for (QTextBlock b = doc_.begin(); b.isValid(); b = b.next()) {
        body += "\\pard";
        const Qt::Alignment a = b.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
        if (a & Qt::AlignJustify)
            body += "\\qj";
        else if (a & Qt::AlignHCenter)
            body += "\\qc";
        else if (a & (Qt::AlignRight | Qt::AlignTrailing))
            body += "\\qr";
        body += ' ';
        bool empty = true;
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            // Embedded pictures are not part of the stored text.
            if (!frag.isValid() || frag.length() == 0 || frag.charFormat().isImageFormat())
                continue;
            switchTo(body, effectiveFormat(frag.charFormat(), base_));
            appendText(body, frag.text(), TextKind::Document);
            empty = false;
        }
        if (empty)
            switchTo(body, effectiveFormat(b.charFormat(), base_));
        body += "\\par\r\n";
    }

    QByteArray out = kHeader;
    out += "{\\fonttbl";
    for (qsizetype i = 0; i < fonts_.size(); ++i) {
        out += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset0 ";
        QString name = fonts_[i];
        QByteArray escaped;
        appendText(escaped, name, TextKind::Line);
        escaped.replace(";", "\\'3b");
        out += escaped + ";}";
    }
    out += "}\r\n";
    if (!colors_.empty()) {
        out += "{\\colortbl ;";
        for (const QRgb rgb : colors_) {
            out += "\\red" + QByteArray::number(qRed(rgb)) + "\\green" +
                   QByteArray::number(qGreen(rgb)) + "\\blue" + QByteArray::number(qBlue(rgb)) +
                   ";";
        }
        out += "}\r\n";
    }
    out += "\\viewkind4\\uc1";
    out += body;
    out += "}\r\n";
    return out;
}

} // namespace

QByteArray writeLines(const QStringList& lines) {
    QByteArray out = kHeader;
    out += "{\\fonttbl{\\f0\\fnil\\fcharset0 Tahoma;}}\r\n";
    out += "\\viewkind4\\uc1\\pard\\f0\\fs20 ";
    for (const QString& line : lines) {
        // A line break inside a line ends it there, as in a text buffer.
        QString text = line;
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        text.replace(u'\r', u'\n');
        for (const QString& piece : text.split(u'\n')) {
            appendText(out, piece, TextKind::Line);
            out += "\\par\r\n";
        }
    }
    out += "}\r\n";
    return out;
}

QByteArray writeDocument(const QTextDocument& doc) {
    return DocumentWriter(doc).write();
}

} // namespace rtf
