#include "studyfile/date_box.h"

#include <QDate>

#include <optional>

namespace studyfile {

namespace {

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

struct Pair {
    bool hasDigit = false;
    std::optional<int> value; // nullopt when a character is neither a digit nor a blank
};

// The two characters at pos (0-based) of the padded text.
Pair readPair(const QString& text, int pos) {
    Pair p;
    int value = 0;
    bool clean = true;
    for (int i = pos; i < pos + 2; ++i) {
        const QChar c = text.at(i);
        if (isDigit(c)) {
            p.hasDigit = true;
            value = value * 10 + (c.unicode() - u'0');
        } else if (c != u' ') {
            clean = false;
        }
    }
    if (clean)
        p.value = value;
    return p;
}

} // namespace

DateBoxDate readDateBox(const QString& text, bool dayFirst) {
    const QString padded = text.leftJustified(kDateBoxSize, u' ', true);
    const Pair first = readPair(padded, 0);
    const Pair second = readPair(padded, 3);
    const Pair year = readPair(padded, 6);
    DateBoxDate result;
    if (!first.hasDigit || !second.hasDigit || !year.hasDigit)
        return result; // Incomplete
    result.kind = DateBoxDate::Kind::Invalid;
    if (!first.value || !second.value || !year.value)
        return result;
    // The year's two digits are both required: "2 " could be 2002 or 2020-2029 half typed.
    if (!isDigit(padded.at(6)) || !isDigit(padded.at(7)))
        return result;
    const int day = dayFirst ? *first.value : *second.value;
    const int month = dayFirst ? *second.value : *first.value;
    const QDate date(2000 + *year.value, month, day);
    if (!date.isValid())
        return result;
    result.kind = DateBoxDate::Kind::Date;
    result.dateString = date.toString(QStringLiteral("yyyyMMdd"));
    return result;
}

} // namespace studyfile
