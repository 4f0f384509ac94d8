#include "review/breaks.h"

#include <gtest/gtest.h>

#include <vector>

using review::BreakReminder;
using review::BreakSettings;

namespace {

const QDateTime kStart(QDate(2005, 3, 9), QTime(9, 0, 0));

// One break through the timer path: begun, screen closed one minute later, next interval.
// Returns the next interval in minutes, -1 when the timer stops, -2 when no break opened.
int takeBreak(BreakReminder& b, const BreakSettings& s, QDateTime& now) {
    if (!b.beginBreak(s, now))
        return -2;
    now = now.addSecs(60);
    b.breakEnded(now);
    const auto next = b.nextIntervalMs(s);
    return next ? *next / 60000 : -1;
}

} // namespace

TEST(Breaks, PeriodicBreaksKeepTheirPeriod) {
    const BreakSettings s; // the defaults: periodic, 030-035-030-030-025-025-020
    EXPECT_EQ(review::firstBreakIntervalMs(s), 35 * 60000);
    review::BreakState state;
    BreakReminder b(state);
    QDateTime now = kStart;
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(takeBreak(b, s, now), 30);
    EXPECT_EQ(b.breakNumber(), 1);
}

TEST(Breaks, DefinedSequenceStopsAfterTheSixthBreak) {
    BreakSettings s;
    s.periodic = false;
    review::BreakState state;
    BreakReminder b(state);
    QDateTime now = kStart;
    std::vector<int> intervals;
    for (int i = 0; i < 6; ++i)
        intervals.push_back(takeBreak(b, s, now));
    // Breaks after 35 (the first interval), then 30, 30, 25, 25 and 20; none after the sixth.
    EXPECT_EQ(intervals, (std::vector<int>{30, 30, 25, 25, 20, -1}));
    EXPECT_EQ(b.breakNumber(), 7);
    // "Break now" after the sequence still opens the break screen; the timer stops again.
    EXPECT_EQ(takeBreak(b, s, now), -1);
    EXPECT_EQ(b.breakNumber(), 7);
}

TEST(Breaks, BreakNowCountsAsOneOfTheSix) {
    BreakSettings s;
    s.periodic = false;
    s.schedule = {9, 1, 2, 3, 4, 5, 6};
    review::BreakState state;
    BreakReminder b(state);
    QDateTime now = kStart;
    EXPECT_EQ(takeBreak(b, s, now), 2); // a timed break
    EXPECT_EQ(takeBreak(b, s, now), 3); // asked for at once: the sequence moves on
    EXPECT_EQ(takeBreak(b, s, now), 4);
    EXPECT_EQ(takeBreak(b, s, now), 5);
    EXPECT_EQ(takeBreak(b, s, now), 6);
    EXPECT_EQ(takeBreak(b, s, now), -1);
    // Switching to periodic breaks later in the run uses the period again.
    s.periodic = true;
    EXPECT_EQ(takeBreak(b, s, now), 9);
}

TEST(Breaks, NoSecondBreakWhileOneIsOpen) {
    const BreakSettings s;
    review::BreakState state;
    BreakReminder b(state);
    ASSERT_TRUE(b.beginBreak(s, kStart));
    EXPECT_FALSE(b.breakAllowed());
    for (int i = 1; i <= 5; ++i)
        EXPECT_FALSE(b.beginBreak(s, kStart.addSecs(i)));
    b.breakEnded(kStart.addSecs(300));
    // The later firings did not move the break's start.
    EXPECT_EQ(b.accumulatedBreakMs(), 300000);
    EXPECT_TRUE(b.breakAllowed());
    EXPECT_TRUE(b.beginBreak(s, kStart.addSecs(400)));
}

TEST(Breaks, RemindersOffOpenNoBreak) {
    BreakSettings s;
    s.enabled = false;
    review::BreakState state;
    BreakReminder b(state);
    EXPECT_FALSE(b.beginBreak(s, kStart));
    EXPECT_TRUE(b.breakAllowed());
    b.breakEnded(kStart.addSecs(60)); // no break was begun: nothing to add
    EXPECT_EQ(b.accumulatedBreakMs(), 0);
}

TEST(Breaks, BreakTimeAccumulatesUntilASessionResetsIt) {
    const BreakSettings s;
    review::BreakState state;
    BreakReminder b(state);
    ASSERT_TRUE(b.beginBreak(s, kStart));
    b.breakEnded(kStart.addSecs(5 * 60));
    ASSERT_TRUE(b.beginBreak(s, kStart.addSecs(40 * 60)));
    b.breakEnded(kStart.addSecs(43 * 60 + 30));
    EXPECT_EQ(b.accumulatedBreakMs(), (8 * 60 + 30) * 1000);
    // A break that seems to end before it began (clock set back) adds nothing.
    ASSERT_TRUE(b.beginBreak(s, kStart.addSecs(50 * 60)));
    b.breakEnded(kStart.addSecs(49 * 60));
    EXPECT_EQ(b.accumulatedBreakMs(), (8 * 60 + 30) * 1000);
    b.resetAccumulatedBreak();
    EXPECT_EQ(b.accumulatedBreakMs(), 0);
}

TEST(Breaks, ZeroMinutesGiveAZeroInterval) {
    BreakSettings s;
    s.schedule = {0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(review::firstBreakIntervalMs(s), 0);
    review::BreakState state;
    BreakReminder b(state);
    QDateTime now = kStart;
    EXPECT_EQ(takeBreak(b, s, now), 0); // 0 ms: the timer class stops the timer
}
