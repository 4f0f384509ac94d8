#pragma once

// What the RTF reader finds in a document, before it becomes lines or a QTextDocument.

#include <QByteArray>
#include <QColor>
#include <QString>

#include <vector>

namespace rtf::detail {

// Marks a manual line break (\line, or an escaped CR or LF) inside a paragraph's text. A reader
// never puts a raw LF into the text otherwise.
inline constexpr char16_t kLineBreak = u'\n';

enum class Alignment { Left, Right, Center, Justify };

struct CharFormat {
    QString family; // empty when the document names no font for the text
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    QColor color; // invalid for the automatic colour

    bool operator==(const CharFormat&) const = default;
};

struct Run {
    QString text;
    CharFormat format;
};

struct Paragraph {
    Alignment alignment = Alignment::Left;
    std::vector<Run> runs;
    CharFormat markFormat; // the character format at the paragraph's end (used when it is empty)
};

// Font sizes outside this range (in half points) are clamped to it.
inline constexpr int kMinHalfPoints = 2;
inline constexpr int kMaxHalfPoints = 3276;

// The paragraphs of an RTF document (data starting with "{\rtf"). Never fails.
std::vector<Paragraph> parse(const QByteArray& data);

} // namespace rtf::detail
