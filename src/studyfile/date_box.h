// The text of a masked date box ("05/03/24": day or month, separator, month or day, separator,
// two-digit year) read as a date string.
#pragma once

#include <QString>

namespace studyfile {

// Characters of a date box's text.
constexpr int kDateBoxSize = 8;

struct DateBoxDate {
    enum class Kind {
        Date,       // dateString holds the date
        Incomplete, // the day, the month or the year holds no digit
        Invalid,    // not a calendar date, or a character other than a digit or a blank
    };
    Kind kind = Kind::Incomplete;
    QString dateString; // "20" + year + month + day, eight digits; empty unless kind is Date
};

// Reads a date box's text: characters 1-2 and 4-5 are the day and the month (day first) or the
// month and the day, characters 7-8 the year of this century; the separators at 3 and 6 are not
// looked at. A day or month pair with one digit and one blank (" 5", "5 ") is read with a leading
// zero; the year needs both digits (a half-typed year is Invalid). A
// shorter text reads as if padded with blanks. Only the ASCII digits 0-9 count as digits.
DateBoxDate readDateBox(const QString& text, bool dayFirst);

} // namespace studyfile
