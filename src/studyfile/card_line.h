// One card a line: the rule by which a line of a group file (separator "&") or of a text import
// (the user's separator) gives a card's question, answer, key and importance text, and the
// reading of an importance text as the value of Nive_Impo.
#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

namespace studyfile {

struct CardLine {
    QString question;
    QString answer;
    QString key;
    QString importance;
    bool operator==(const CardLine&) const = default;
};

// The fields before each of the first three separators are the question, the answer and the key,
// in that order; the text after the last separator found (the whole line when there is none) is
// the importance text, and the fields between stay empty. Separators after the third stay in the
// importance text. Nothing is trimmed: "q&a" gives the question "q" and the importance "a".
CardLine splitCardLine(QStringView line, QChar separator);

// An importance text read as the value of Nive_Impo.
struct ImportanceValue {
    enum class Kind {
        Blank,   // empty or only blanks: no importance given
        Number,  // a whole number in the range of Nive_Impo
        Invalid, // anything else: "1,5", "3#x", "0x10", "70000"
    };
    Kind kind = Kind::Blank;
    int value = 0; // for Number
    bool operator==(const ImportanceValue&) const = default;
};

// Blanks around the text are trimmed; then an optional "+" or "-" and one or more ASCII digits
// whose value lies in -32768..32767 make a Number.
ImportanceValue parseImportance(QStringView text);

// A text holds nothing but blanks (spaces, tabs).
bool isBlank(QStringView text);

} // namespace studyfile
