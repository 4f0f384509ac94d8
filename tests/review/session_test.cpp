#include "review/session.h"

#include "review/breaks.h"

#include <gtest/gtest.h>

using review::SessionSummary;

namespace {

constexpr qint64 kSecond = 1000;
constexpr qint64 kMinute = 60 * kSecond;

} // namespace

TEST(SessionSummaryText, NoAnswers) {
    EXPECT_EQ(review::summaryText({83 * kSecond, 0, 0, 0, false}),
              "La sesión de repaso ha durado   00:01:23\r\rNo se han repasado fichas.");
}

TEST(SessionSummaryText, TenCardsSevenRightIn12Minutes30) {
    const QString body = "La sesión de repaso ha durado   00:12:30\r\r"
                         "Se han repasado 10 fichas.\r\r"
                         "    *  Correctas: 7 fichas.   ( 70 % )\r\r"
                         "    *  Incorrectas: 3 fichas.   ( 30 % )\r\r"
                         "Tiempo medio dedicado a cada ficha: 1 minuto/s  15 segundos.";
    const SessionSummary s{12 * kMinute + 30 * kSecond, 10, 7, 3, false};
    EXPECT_EQ(review::summaryText(s), body);

    SessionSummary exhausted = s;
    exhausted.cardsExhausted = true;
    EXPECT_EQ(review::summaryText(exhausted),
              "No hay más fichas seleccionadas que repasar\r\r" + body);
}

TEST(SessionSummaryText, ThreeAnswersTwoRightGive66And33) {
    const QString text = review::summaryText({90 * kSecond, 3, 2, 1, false});
    EXPECT_TRUE(text.contains("    *  Correctas: 2 fichas.   ( 66 % )\r\r")) << text.toStdString();
    EXPECT_TRUE(text.contains("    *  Incorrectas: 1 fichas.   ( 33 % )\r\r"))
        << text.toStdString();
    EXPECT_TRUE(text.endsWith("Tiempo medio dedicado a cada ficha: 30 segundos."));
}

TEST(SessionSummaryText, PercentagesAreTheWholePartOfTheExactValue) {
    struct Case {
        int part, whole, percent;
    };
    const Case cases[] = {
        {29, 100, 29}, // 0.29 * 100 is 28.999... in floating point
        {57, 100, 57}, {2, 3, 66},   {1, 3, 33},      {0, 7, 0},
        {7, 7, 100},   {1, 1000, 0}, {999, 1000, 99},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.part << "/" << c.whole);
        EXPECT_EQ(review::wholePercent(c.part, c.whole), c.percent);
    }
    EXPECT_TRUE(review::summaryText({kMinute, 100, 29, 71, false}).contains("( 29 % )"));
}

TEST(SessionSummaryText, AverageTimePerCard) {
    struct Case {
        qint64 ms;
        int reviewed;
        const char* text;
    };
    const Case cases[] = {
        {59500, 1, "60 segundos."},             // a half goes to the even neighbour
        {119000, 2, "60 segundos."},            // 59.5 s per card
        {58500, 1, "58 segundos."},             // ... which may be below
        {58501, 1, "59 segundos."},             //
        {400, 1, "0 segundos."},                //
        {60000, 1, "1 minuto/s  0 segundos."},  //
        {125900, 1, "2 minuto/s  5 segundos."}, // both parts cut, not rounded
        {251800, 2, "2 minuto/s  5 segundos."}, //
        {750000, 10, "1 minuto/s  15 segundos."},
        {3 * 3600 * kSecond, 1, "180 minuto/s  0 segundos."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(review::averageText(c.ms, c.reviewed), c.text);
    }
}

TEST(SessionClock, TimeOfDayTextOfTheNetDuration) {
    EXPECT_EQ(review::clockText(0), "00:00:00");
    EXPECT_EQ(review::clockText(999), "00:00:00");
    EXPECT_EQ(review::clockText(3723999), "01:02:03");
    EXPECT_EQ(review::clockText((25 * 3600 + 5) * kSecond), "01:00:05");
    EXPECT_EQ(review::clockText(-5000), "00:00:00");

    const QDateTime start(QDate(2005, 3, 9), QTime(23, 50, 0));
    EXPECT_EQ(review::netSessionMs(start, start.addSecs(20 * 60), 5 * kMinute), 15 * kMinute);
    EXPECT_EQ(review::netSessionMs(start, start.addSecs(-60), 0), 0);
}

TEST(SessionClock, AFiveMinuteBreakIsLeftOutOfClockAndAverage) {
    review::BreakState state;
    review::BreakReminder breaks(state);
    const review::BreakSettings settings;
    const QDateTime start(QDate(2005, 3, 9), QTime(10, 0, 0));
    breaks.resetAccumulatedBreak();

    review::SessionCounters counters;
    counters.start(4);
    counters.answer(true);
    counters.answer(false);
    // Break from 10:07 to 10:12.
    ASSERT_TRUE(breaks.beginBreak(settings, start.addSecs(7 * 60)));
    // The clock does not count while the break screen is open; afterwards it resumes net.
    breaks.breakEnded(start.addSecs(12 * 60));
    counters.answer(true);
    counters.answer(true);

    const QDateTime end = start.addSecs(17 * 60);
    const qint64 net = review::netSessionMs(start, end, breaks.accumulatedBreakMs());
    EXPECT_EQ(review::clockText(net), "00:12:00");
    const QString text = review::summaryText(
        {net, counters.reviewed, counters.correct, counters.incorrect, counters.pending == 0});
    EXPECT_TRUE(text.startsWith("No hay más fichas seleccionadas que repasar\r\r"
                                "La sesión de repaso ha durado   00:12:00\r\r"));
    EXPECT_TRUE(text.endsWith("Tiempo medio dedicado a cada ficha: 3 minuto/s  0 segundos."))
        << text.toStdString();

    // The next session starts again from no break time.
    breaks.resetAccumulatedBreak();
    EXPECT_EQ(review::netSessionMs(end, end.addSecs(60), breaks.accumulatedBreakMs()), kMinute);
}

TEST(SessionCountersTest, CountersAndTheirTexts) {
    review::SessionCounters c;
    c.start(10);
    c.answer(true);
    c.answer(false);
    c.answer(true);
    EXPECT_EQ(c.reviewed, 3);
    EXPECT_EQ(c.pending, 7);
    EXPECT_EQ(c.correct, 2);
    EXPECT_EQ(c.incorrect, 1);
    EXPECT_EQ(c.reviewedText(), "Fichas ya Repasadas: 3");
    EXPECT_EQ(c.pendingText(), "Fichas pendientes: 7");
    EXPECT_EQ(c.selectedText(), "Fichas Seleccionadas: 10");
    c.start(2);
    EXPECT_EQ(c.reviewedText(), "Fichas ya Repasadas: 0");
    EXPECT_EQ(c.pendingText(), "Fichas pendientes: 2");
    EXPECT_EQ(c.correct + c.incorrect, 0);
}
