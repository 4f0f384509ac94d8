#include "studyfile/date_box.h"

#include <gtest/gtest.h>

using Kind = studyfile::DateBoxDate::Kind;

namespace {

TEST(DateBox, TextReadsAsDateStringIncompleteOrInvalid) {
    struct Case {
        QString text;
        bool dayFirst;
        Kind kind;
        QString date;
    };
    const Case cases[] = {
        {"05/03/24", true, Kind::Date, "20240305"},
        {"05/03/24", false, Kind::Date, "20240503"},
        {" 5/ 3/24", true, Kind::Date, "20240305"},
        {"5 /3 /24", true, Kind::Date, "20240305"},
        {"12/31/24", false, Kind::Date, "20241231"},
        {"29/02/24", true, Kind::Date, "20240229"},
        {"01/01/00", true, Kind::Date, "20000101"},
        // The separators are not read: any system separator does.
        {"05.03.24", true, Kind::Date, "20240305"},
        {"05-03-24", false, Kind::Date, "20240503"},
        // A pair without any digit.
        {"  /  /  ", true, Kind::Incomplete, ""},
        {"05/  /24", true, Kind::Incomplete, ""},
        {"  /03/24", false, Kind::Incomplete, ""},
        {"05/03/  ", true, Kind::Incomplete, ""},
        {"05/03", true, Kind::Incomplete, ""},
        {"", true, Kind::Incomplete, ""},
        {"ab/03/24", true, Kind::Incomplete, ""},
        {QStringLiteral("\u0663\u0663/03/24"), true, Kind::Incomplete, ""},
        // Not a calendar date, or a pair with something besides digits and blanks.
        {"31/02/24", true, Kind::Invalid, ""},
        {"29/02/23", true, Kind::Invalid, ""},
        {"00/03/24", true, Kind::Invalid, ""},
        {"05/00/24", true, Kind::Invalid, ""},
        {"13/05/24", false, Kind::Invalid, ""},
        {"0a/03/24", true, Kind::Invalid, ""},
        {QStringLiteral("\u06635/03/24"), true, Kind::Invalid, ""},
        {"05/03/-4", true, Kind::Invalid, ""},
        // A half-typed year is not read as a year of the 2000s.
        {"05/03/2 ", true, Kind::Invalid, ""},
        {"05/03/ 4", false, Kind::Invalid, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString() + (c.dayFirst ? " day first" : " month first"));
        const studyfile::DateBoxDate got = studyfile::readDateBox(c.text, c.dayFirst);
        EXPECT_EQ(got.kind, c.kind);
        EXPECT_EQ(got.dateString.toStdString(), c.date.toStdString());
    }
}

} // namespace
