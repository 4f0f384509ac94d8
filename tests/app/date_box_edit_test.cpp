#include "app/date_box_edit.h"
#include "studyfile/date_box.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(DateBoxEdit, MaskUsesTheSeparatorAndQtsDigitLetters) {
    // Day and month optional, the year required: Qt's "0" is an optional digit, "9" a required
    // one; the separator is escaped, so "." or "-" is no mask letter.
    EXPECT_EQ(DateBoxEdit::maskFor("/"), "00\\/00\\/99;_");
    EXPECT_EQ(DateBoxEdit::maskFor("."), "00\\.00\\.99;_");
    DateBoxEdit box(nullptr, "-");
    EXPECT_EQ(box.inputMask(), "00\\-00\\-99;_");
    EXPECT_EQ(box.programText(), "  -  -  ");
}

TEST(DateBoxEdit, ProgramTextKeepsEveryPositionOfWhatWasTyped) {
    struct Case {
        const char* separator;
        const char* typed; // typed from the start; "|" jumps to the year
        const char* programText;
    };
    const Case cases[] = {
        {"/", "050324", "05/03/24"},
        {"/", "05|24", "05/  /24"},
        {".", "|24", "  .  .24"},
        {"-", "1203", "12-03-  "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        DateBoxEdit box(nullptr, c.separator);
        box.setFocus();
        box.setCursorPosition(0);
        const QStringList parts = QString::fromLatin1(c.typed).split(u'|');
        QTest::keyClicks(&box, parts[0]);
        if (parts.size() > 1) {
            box.setCursorPosition(6);
            QTest::keyClicks(&box, parts[1]);
        }
        EXPECT_EQ(box.programText().toStdString(), c.programText);
        EXPECT_EQ(box.programText().size(), studyfile::kDateBoxSize);
    }
    // The text set from the today display reads back unchanged, and as the date it shows.
    DateBoxEdit box(nullptr, "/");
    box.setText("05/03/24");
    EXPECT_EQ(box.programText(), "05/03/24");
    EXPECT_EQ(studyfile::readDateBox(box.programText(), true).dateString, "20240305");
}

} // namespace
