#include "settings/options.h"

#include <gtest/gtest.h>

using settings::OptionsForm;
using settings::Preferences;

namespace {

const QString kNote = QStringLiteral("[Permitir repasar las fichas varias veces el mismo día]");

OptionsForm defaultForm() {
    return settings::optionsForm(settings::defaultPreferenceLines(), Preferences{});
}

} // namespace

TEST(OptionsForm, FieldsShowNumbersWithoutLeadingZeros) {
    const OptionsForm f = defaultForm();
    const char* want[20] = {"",   "0",  "1",  "7",  "21", "45", "90", "120", "150", "180",
                            "35", "30", "30", "30", "25", "25", "20", "20",  "10",  "5"};
    for (int k = 1; k <= 19; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(f.maskEdit[static_cast<std::size_t>(k)], want[k]);
    }
    EXPECT_TRUE(f.dayFirstDates);
    EXPECT_FALSE(f.languageEnglish);
    EXPECT_TRUE(f.timedReview && f.breakReminders && f.periodicBreaks && f.blinkNotice);
    EXPECT_TRUE(f.sameDayReviews);
}

TEST(OptionsForm, IntervalsAndScheduleComeFromTheTextOtherControlsFromTheValuesInForce) {
    QStringList text = settings::defaultPreferenceLines();
    text[0] = "ddmmaa__ESP_S_002-003-007-021-045-090-120-150-180-";
    Preferences inForce;
    inForce.reviewIntervals[0] = 77;    // e.g. read before a save that stopped at a bad field
    inForce.timedReviewEnabled = false; // CheckBox2 clicked, screen left with "&Salir"
    inForce.blinkPeriod = 12;
    inForce.languageCode = "ING";
    const OptionsForm f = settings::optionsForm(text, inForce);
    EXPECT_EQ(f.maskEdit[1], "2");
    EXPECT_EQ(f.maskEdit[2], "3");
    EXPECT_FALSE(f.timedReview);
    EXPECT_EQ(f.maskEdit[19], "12");
    EXPECT_TRUE(f.languageEnglish);

    // A text that cannot be read shows the values in force.
    const OptionsForm g = settings::optionsForm({}, inForce);
    EXPECT_EQ(g.maskEdit[1], "77");
    EXPECT_EQ(g.maskEdit[10], "35");
}

TEST(OptionsForm, EnablingRules) {
    struct Case {
        bool timed, breaks, periodic, blink;
        settings::OptionsEnabling want;
    };
    const Case cases[] = {
        {true, true, true, true, {true, true, true, false, true}},
        {false, true, false, false, {false, true, false, true, false}},
        {true, false, true, true, {true, false, false, false, true}},
        {true, false, false, false, {true, false, false, false, false}},
    };
    for (const Case& c : cases) {
        OptionsForm f;
        f.timedReview = c.timed;
        f.breakReminders = c.breaks;
        f.periodicBreaks = c.periodic;
        f.blinkNotice = c.blink;
        const auto e = settings::optionsEnabling(f);
        EXPECT_EQ(e.intervals, c.want.intervals);
        EXPECT_EQ(e.breaks, c.want.breaks);
        EXPECT_EQ(e.periodField, c.want.periodField);
        EXPECT_EQ(e.sequence, c.want.sequence);
        EXPECT_EQ(e.blinkPeriod, c.want.blinkPeriod);
    }
}

TEST(OptionsForm, FieldCleanUpOnLeaving) {
    struct Case {
        int maskEdit;
        const char* text;
        const char* after;
    };
    const Case cases[] = {
        {19, "", "0"},   {19, "  ", "0"},    {19, "7", "7"},     {17, "   ", "20 "},
        {17, "", "20 "}, {17, "5  ", "5  "}, {18, "   ", "10 "}, {18, "3", "3"},
        {1, "", ""},     {10, "  ", "  "},   {16, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.maskEdit << " '" << c.text << "'");
        EXPECT_EQ(settings::fieldTextOnExit(c.maskEdit, c.text), c.after);
    }
}

TEST(OptionsForm, FieldNumbers) {
    EXPECT_EQ(settings::fieldNumber(1, "007"), 7);
    EXPECT_EQ(settings::fieldNumber(1, " 12 "), 12);
    EXPECT_EQ(settings::fieldNumber(17, "20 "), 20);
    EXPECT_EQ(settings::fieldNumber(19, "99"), 99);
    EXPECT_FALSE(settings::fieldNumber(19, "100"));
    EXPECT_FALSE(settings::fieldNumber(1, "1000"));
    EXPECT_FALSE(settings::fieldNumber(1, ""));
    EXPECT_FALSE(settings::fieldNumber(1, "   "));
    EXPECT_FALSE(settings::fieldNumber(1, "1 2"));
    EXPECT_FALSE(settings::fieldNumber(1, "-1"));
    EXPECT_TRUE(settings::conversionErrorMessage("1 2").contains("'1 2'"));
}

TEST(OptionsSave, WritesTheFourLinesWithLeadingZeros) {
    OptionsForm f = defaultForm();
    Preferences inForce;
    const auto r = settings::saveOptions(f, inForce);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.lines, (QStringList{"ddmmaa__ESP_S_000-001-007-021-045-090-120-150-180-",
                                    "SI_SIPER_030-035-030-030-025-025-020-Parpad_SI_05__",
                                    "NO__020__010__", "SI    " + kNote}));
    EXPECT_FALSE(inForce.promotionFlag);

    f.dayFirstDates = false;
    f.languageEnglish = true;
    f.timedReview = false;
    f.breakReminders = false;
    f.periodicBreaks = false;
    f.blinkNotice = false; // the period stays stored
    f.sameDayReviews = false;
    f.maskEdit[9] = "5";
    f.maskEdit[11] = " 4";
    f.maskEdit[16] = "999";
    f.maskEdit[17] = "20 "; // as the clean-up leaves it
    f.maskEdit[19] = "7";
    const auto s = settings::saveOptions(f, inForce);
    ASSERT_TRUE(s.ok);
    EXPECT_EQ(s.lines, (QStringList{"mmddaa__ING_N_000-001-007-021-045-090-120-150-005-",
                                    "NO_NOPER_004-035-030-030-025-025-999-Parpad_NO_07__",
                                    "NO__020__010__", "NO    " + kNote}));
    EXPECT_EQ(inForce.blinkPeriod, 7);
    EXPECT_FALSE(inForce.blinkEnabled);
    EXPECT_EQ(inForce.breakSchedule[0], 4);

    // What was written reads back as what the form showed.
    Preferences back;
    ASSERT_TRUE(settings::parseLines12(s.lines, back));
    settings::parseLines34(s.lines, back);
    EXPECT_EQ(back, inForce);
}

TEST(OptionsSave, StopsAtTheFirstFieldThatIsNotANumber) {
    struct Case {
        std::vector<int> empty; // fields left empty
        int reported;
    };
    // The fields are read in the order 1-9, 11, 10, 12-16, 19, 17, 18.
    const Case cases[] = {
        {{5}, 5},       {{9, 1}, 1},    {{10, 11}, 11}, {{10}, 10},
        {{12, 19}, 12}, {{19, 17}, 19}, {{17, 18}, 17}, {{18}, 18},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reported);
        OptionsForm f = defaultForm();
        for (int k = 1; k <= 19; ++k)
            f.maskEdit[static_cast<std::size_t>(k)] = "4";
        for (int k : c.empty)
            f.maskEdit[static_cast<std::size_t>(k)] = k == 17 ? "   " : "";
        Preferences inForce;
        const auto r = settings::saveOptions(f, inForce);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.badField, c.reported);
        EXPECT_TRUE(r.lines.isEmpty()); // nothing to write
        EXPECT_TRUE(inForce.promotionFlag);
    }

    // Fields read before the faulty one are in force, those after it are not.
    OptionsForm f = defaultForm();
    f.maskEdit[1] = "9";
    f.maskEdit[4] = "";
    f.maskEdit[5] = "8";
    f.languageEnglish = true;
    Preferences inForce;
    const auto r = settings::saveOptions(f, inForce);
    EXPECT_EQ(r.badField, 4);
    EXPECT_EQ(r.badText, "");
    EXPECT_EQ(inForce.reviewIntervals[0], 9);
    EXPECT_EQ(inForce.reviewIntervals[4], 45);
    EXPECT_EQ(inForce.languageCode, "ESP");
}
