#include "settings/preferences.h"

#include <gtest/gtest.h>

using settings::Preferences;
using settings::PreferencesState;

namespace {

const QString kLine1 = QStringLiteral("ddmmaa__ESP_S_000-001-007-021-045-090-120-150-180-");
const QString kLine2 = QStringLiteral("SI_SIPER_030-035-030-030-025-025-020-Parpad_SI_05__");
const QString kNote = QStringLiteral("[Permitir repasar las fichas varias veces el mismo día]");

QStringList withLine(int index, const QString& text) {
    QStringList lines = settings::defaultPreferenceLines();
    lines[index] = text;
    return lines;
}

// line with the characters from position pos (counted from 1) replaced by text.
QString patched(const QString& line, int pos, const QString& text) {
    QString s = line;
    s.replace(pos - 1, text.size(), text);
    return s;
}

Preferences parsed(const QStringList& lines) {
    Preferences p;
    EXPECT_TRUE(settings::parseLines12(lines, p));
    settings::parseLines34(lines, p);
    return p;
}

} // namespace

TEST(Preferences, DefaultLinesAndTheirValues) {
    const QStringList lines = settings::defaultPreferenceLines();
    EXPECT_EQ(lines, (QStringList{kLine1, kLine2, "SI__020__010__", "No       " + kNote}));

    // Parsed on top of values that differ everywhere, the default lines give the defaults.
    Preferences p;
    p.dayFirstDates = false;
    p.languageCode = "ING";
    p.timedReviewEnabled = false;
    p.reviewIntervals = {9, 9, 9, 9, 9, 9, 9, 9, 9};
    p.breakRemindersEnabled = false;
    p.periodicBreaks = false;
    p.breakSchedule = {1, 1, 1, 1, 1, 1, 1};
    p.blinkEnabled = false;
    p.blinkPeriod = 77;
    p.promotionFlag = false;
    p.promotionThreshold = 1;
    p.promotionCount = 2;
    p.sameDayReviewsAllowed = false;
    ASSERT_TRUE(settings::parseLines12(lines, p));
    settings::parseLines34(lines, p);
    EXPECT_EQ(p, Preferences{});
    EXPECT_EQ(settings::breakTimerIntervalMs(p), 35 * 60000);
    EXPECT_EQ(settings::blinkTimerIntervalMs(p), 5 * 60000);
}

TEST(Preferences, FlagsReadTheirOneExactValue) {
    struct Case {
        const char* name;
        QStringList lines;
        bool (*check)(const Preferences&);
    };
    const Case cases[] = {
        {"mmddaa is month first", withLine(0, patched(kLine1, 1, "mmddaa")),
         [](const Preferences& p) { return !p.dayFirstDates; }},
        {"MMDDAA is day first", withLine(0, patched(kLine1, 1, "MMDDAA")),
         [](const Preferences& p) { return p.dayFirstDates; }},
        {"ING", withLine(0, patched(kLine1, 9, "ING")),
         [](const Preferences& p) { return p.languageCode == "ING"; }},
        {"ing is Spanish", withLine(0, patched(kLine1, 9, "ing")),
         [](const Preferences& p) { return p.languageCode == "ESP"; }},
        {"XYZ is Spanish", withLine(0, patched(kLine1, 9, "XYZ")),
         [](const Preferences& p) { return p.languageCode == "ESP"; }},
        {"N: no timed review", withLine(0, patched(kLine1, 13, "N")),
         [](const Preferences& p) { return !p.timedReviewEnabled; }},
        {"s: no timed review", withLine(0, patched(kLine1, 13, "s")),
         [](const Preferences& p) { return !p.timedReviewEnabled; }},
        {"NO: no breaks", withLine(1, patched(kLine2, 1, "NO")),
         [](const Preferences& p) { return !p.breakRemindersEnabled; }},
        {"No: breaks", withLine(1, patched(kLine2, 1, "No")),
         [](const Preferences& p) { return p.breakRemindersEnabled; }},
        {"NOPER", withLine(1, patched(kLine2, 4, "NOPER")),
         [](const Preferences& p) { return !p.periodicBreaks; }},
        {"siper is not periodic", withLine(1, patched(kLine2, 4, "siper")),
         [](const Preferences& p) { return !p.periodicBreaks; }},
        {"blink NO", withLine(1, patched(kLine2, 45, "NO")),
         [](const Preferences& p) { return !p.blinkEnabled && p.blinkPeriod == 5; }},
        {"blink Si is off", withLine(1, patched(kLine2, 45, "Si")),
         [](const Preferences& p) { return !p.blinkEnabled; }},
        {"line 3 NO", withLine(2, "NO__020__010__"),
         [](const Preferences& p) { return !p.promotionFlag; }},
        {"line 4 No is allowed", withLine(3, "No       " + kNote),
         [](const Preferences& p) { return p.sameDayReviewsAllowed; }},
        {"line 4 no is allowed", withLine(3, "no    " + kNote),
         [](const Preferences& p) { return p.sameDayReviewsAllowed; }},
        {"line 4 NO is not allowed", withLine(3, "NO    " + kNote),
         [](const Preferences& p) { return !p.sameDayReviewsAllowed; }},
        {"line 4 SI is allowed", withLine(3, "SI    " + kNote),
         [](const Preferences& p) { return p.sameDayReviewsAllowed; }},
        {"no line 4 is allowed", QStringList{kLine1, kLine2, "SI__020__010__"},
         [](const Preferences& p) { return p.sameDayReviewsAllowed; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(c.check(parsed(c.lines)));
    }
}

TEST(Preferences, NumbersAtTheirPositions) {
    const QStringList lines{
        "mmddaa__ING_N_001-002-003-004-005-006-007-008-999-",
        "NO_NOPER_010-011-012-013-014-015-016-Parpad_NO_42__",
        "SI__123__045__ ignored after position 14",
        "NO    " + kNote,
    };
    const Preferences p = parsed(lines);
    EXPECT_EQ(p.reviewIntervals, (std::array<int, 9>{1, 2, 3, 4, 5, 6, 7, 8, 999}));
    EXPECT_EQ(p.breakSchedule, (std::array<int, 7>{10, 11, 12, 13, 14, 15, 16}));
    EXPECT_EQ(p.blinkPeriod, 42);
    EXPECT_EQ(p.promotionThreshold, 123);
    EXPECT_EQ(p.promotionCount, 45);
    EXPECT_EQ(settings::breakTimerIntervalMs(p), 11 * 60000);
    EXPECT_EQ(settings::blinkTimerIntervalMs(p), 42 * 60000);

    // Written back, every line comes out as it was (line 3 without its tail).
    QStringList back = lines;
    back[2] = "SI__123__045__";
    EXPECT_EQ(settings::preferenceLines(p), back);
}

TEST(Preferences, WrittenWithLeadingZerosAndTheBlinkPeriodKept) {
    Preferences p;
    p.reviewIntervals = {0, 1, 2, 30, 45, 100, 120, 150, 180};
    p.blinkEnabled = false;
    p.blinkPeriod = 7;
    p.sameDayReviewsAllowed = false;
    const QStringList lines = settings::preferenceLines(p);
    EXPECT_EQ(lines[0], "ddmmaa__ESP_S_000-001-002-030-045-100-120-150-180-");
    EXPECT_EQ(lines[1], "SI_SIPER_030-035-030-030-025-025-020-Parpad_NO_07__");
    EXPECT_EQ(lines[3], "NO    " + kNote);
    const Preferences back = parsed(lines);
    EXPECT_FALSE(back.blinkEnabled);
    EXPECT_EQ(back.blinkPeriod, 7);
    EXPECT_EQ(back.reviewIntervals, p.reviewIntervals);

    // Values out of a field's range are cut so that the positions stay.
    p.reviewIntervals[8] = 1234;
    p.blinkPeriod = 150;
    p.breakSchedule[0] = -3;
    const QStringList cut = settings::preferenceLines(p);
    EXPECT_EQ(cut[0].size(), 50);
    EXPECT_TRUE(cut[0].endsWith("-999-"));
    EXPECT_EQ(cut[1], "SI_SIPER_000-035-030-030-025-025-020-Parpad_NO_99__");
}

TEST(Preferences, UnreadableTexts) {
    struct Case {
        const char* name;
        QStringList lines;
    };
    const Case cases[] = {
        {"no lines", {}},
        {"line 1 only", {kLine1}},
        {"line 1 empty", withLine(0, "")},
        {"line 1 cut inside entry 9", withLine(0, kLine1.left(48))},
        {"line 2 cut inside the blink period", withLine(1, kLine2.left(48))},
        {"line 2 cut before the break schedule", withLine(1, "SI_SIPER_")},
        {"letter in entry 1", withLine(0, patched(kLine1, 15, "0O0"))},
        {"blank in entry 5", withLine(0, patched(kLine1, 31, " 45"))},
        {"sign in entry 9", withLine(0, patched(kLine1, 47, "+18"))},
        {"letter in break entry 0", withLine(1, patched(kLine2, 10, "03a"))},
        {"blank in break entry 6", withLine(1, patched(kLine2, 34, "02 "))},
        {"letter in blink period", withLine(1, patched(kLine2, 48, "5x"))},
        {"Arabic-Indic digit in entry 2", withLine(0, patched(kLine1, 19,
                                                              QString::fromUtf8("0\u0661"
                                                                                "1")))},
        {"lines shifted by a missing separator", withLine(0, kLine1.left(13) + kLine1.mid(14))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(settings::preferenceLinesReadable(c.lines));
        Preferences p;
        p.blinkPeriod = 33;
        EXPECT_FALSE(settings::parseLines12(c.lines, p));
        EXPECT_EQ(p.blinkPeriod, 33); // nothing changed
    }

    // Readable: flags with any content, anything after the positions read, bad lines 3 and 4.
    const Case readable[] = {
        {"the defaults", settings::defaultPreferenceLines()},
        {"only lines 1 and 2", {kLine1, kLine2}},
        {"line 1 without its last separator", withLine(0, kLine1.left(49))},
        {"line 2 without its last separators", withLine(1, kLine2.left(49))},
        {"garbage flags", withLine(0, patched(kLine1, 1, "xxxxxx??abc?Z?"))},
        {"a tail after line 2", withLine(1, kLine2 + "resto")},
        {"line 3 garbage", withLine(2, "garbage")},
    };
    for (const Case& c : readable) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(settings::preferenceLinesReadable(c.lines));
    }
}

TEST(Preferences, UnreadableLine3NumbersKeepTheirValues) {
    Preferences p;
    p.promotionThreshold = 31;
    p.promotionCount = 32;
    settings::parseLines34(withLine(2, "NO__2x0__010"), p);
    EXPECT_FALSE(p.promotionFlag);
    EXPECT_EQ(p.promotionThreshold, 31);
    EXPECT_EQ(p.promotionCount, 10);
}

TEST(PreferencesLoad, FirstRunThenTheNewFileIsParsed) {
    PreferencesState state;
    state.values.reviewIntervals = {5, 5, 5, 5, 5, 5, 5, 5, 5};
    state.values.breakSchedule = {1, 1, 1, 1, 1, 1, 1};
    state.values.blinkEnabled = false;

    const auto first = settings::loadPreferences(false, std::nullopt, state);
    EXPECT_FALSE(first.deleteFile);
    EXPECT_TRUE(first.firstRun);
    EXPECT_FALSE(first.parsedLines12);
    EXPECT_EQ(state.text, settings::defaultPreferenceLines());
    EXPECT_TRUE(state.reloadFlag);
    // The first run sets its own values and the break schedule; the rest waits for the next
    // activation, which parses the new file.
    EXPECT_EQ(state.values.breakSchedule, Preferences{}.breakSchedule);
    EXPECT_TRUE(state.values.blinkEnabled);
    EXPECT_EQ(settings::blinkTimerIntervalMs(state.values), 300000);
    EXPECT_EQ(state.values.reviewIntervals[0], 5);

    const auto second = settings::loadPreferences(true, state.text, state);
    EXPECT_FALSE(second.firstRun);
    EXPECT_TRUE(second.parsedLines12);
    EXPECT_FALSE(state.reloadFlag);
    EXPECT_EQ(state.values, Preferences{});
    EXPECT_EQ(settings::breakTimerIntervalMs(state.values), 35 * 60000);
    EXPECT_TRUE(settings::kFirstRunMessage.startsWith(
        " Se ha creado un nuevo archivo con las preferencias del programa. \r\r Siempre"));
}

TEST(PreferencesLoad, LinesOneAndTwoOnlyWhileTheReloadFlagIsSet) {
    PreferencesState state;
    state.reloadFlag = false;
    QStringList lines = settings::defaultPreferenceLines();
    lines[0] = patched(kLine1, 15, "009");
    lines[3] = "NO    " + kNote;
    const auto steps = settings::loadPreferences(true, lines, state);
    EXPECT_FALSE(steps.parsedLines12);
    EXPECT_FALSE(steps.firstRun);
    EXPECT_EQ(state.values.reviewIntervals[0], 0);    // line 1 not parsed
    EXPECT_FALSE(state.values.sameDayReviewsAllowed); // line 4 parsed every time
    EXPECT_EQ(state.text, lines);

    state.reloadFlag = true;
    settings::loadPreferences(true, lines, state);
    EXPECT_EQ(state.values.reviewIntervals[0], 9);
    EXPECT_FALSE(state.reloadFlag);
}

TEST(PreferencesLoad, UnreadableFileIsDeletedAndMadeAnew) {
    for (const auto& lines : {std::optional<QStringList>{}, // reading it failed
                              std::optional<QStringList>{withLine(1, "SI_SIPER_030")}}) {
        PreferencesState state;
        state.reloadFlag = false;
        const auto steps = settings::loadPreferences(true, lines, state);
        EXPECT_TRUE(steps.deleteFile);
        EXPECT_TRUE(steps.firstRun);
        EXPECT_EQ(state.text, settings::defaultPreferenceLines());
        EXPECT_TRUE(state.reloadFlag);
        EXPECT_TRUE(state.values.sameDayReviewsAllowed);
    }
}
