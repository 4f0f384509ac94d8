// Card lines and importance texts: the two tables of the rule that group files and text imports
// share.
#include "studyfile/card_line.h"

#include <gtest/gtest.h>

using namespace studyfile;

namespace {

struct LineCase {
    QString line;
    CardLine expected;
};

} // namespace

TEST(CardLine, SplitTable) {
    const LineCase cases[] = {
        {"q&a&k&3", {"q", "a", "k", "3"}},
        {"q&a", {"q", "", "", "a"}},
        {"q&a&k", {"q", "a", "", "k"}},
        {"q", {"", "", "", "q"}},
        {"", {"", "", "", ""}},
        {"a&b&c&d&e", {"a", "b", "c", "d&e"}},
        {"  q &a&&", {"  q ", "a", "", ""}},
        {"q&&&", {"q", "", "", ""}},
    };
    for (const QChar separator : {QChar(u'&'), QChar(u'#')}) {
        for (const LineCase& c : cases) {
            QString line = c.line;
            line.replace(u'&', separator);
            CardLine expected = c.expected;
            expected.importance.replace(u'&', separator);
            SCOPED_TRACE(line.toStdString());
            EXPECT_EQ(splitCardLine(line, separator), expected);
        }
    }
    // Another separator leaves "&" in the fields.
    EXPECT_EQ(splitCardLine(u"AT&T#a#k#1", u'#'), (CardLine{"AT&T", "a", "k", "1"}));
}

TEST(CardLine, ImportanceTable) {
    using Kind = ImportanceValue::Kind;
    const struct {
        const char* text;
        ImportanceValue expected;
    } cases[] = {
        {"", {Kind::Blank, 0}},
        {"   ", {Kind::Blank, 0}},
        {"3", {Kind::Number, 3}},
        {" 3 ", {Kind::Number, 3}},
        {"+4", {Kind::Number, 4}},
        {"-2", {Kind::Number, -2}},
        {"32767", {Kind::Number, 32767}},
        {"-32768", {Kind::Number, -32768}},
        {"0000000000007", {Kind::Number, 7}},
        {"1,5", {Kind::Invalid, 0}},
        {"3#x", {Kind::Invalid, 0}},
        {"0x10", {Kind::Invalid, 0}},
        {"32768", {Kind::Invalid, 0}},
        {"-32769", {Kind::Invalid, 0}},
        {"70000", {Kind::Invalid, 0}},
        {"99999999999999999999", {Kind::Invalid, 0}},
        {"x", {Kind::Invalid, 0}},
        {"+", {Kind::Invalid, 0}},
        {"- 3", {Kind::Invalid, 0}},
        {"٣", {Kind::Invalid, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parseImportance(QString::fromUtf8(c.text)), c.expected);
    }
}
