#include "platform/clock.h"
#include "support/manual_clock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <gtest/gtest.h>

TEST(DateTexts, KeyAndDisplayForBothDateOrders) {
    struct Case {
        QDate date;
        bool dayFirst;
        QString separator, key, display;
    };
    const Case cases[] = {
        {QDate(2024, 3, 5), true, "/", "20240305", "05/03/24"},
        {QDate(2024, 3, 5), false, "/", "20240305", "03/05/24"},
        {QDate(2009, 12, 31), true, ".", "20091231", "31.12.09"},
        {QDate(2009, 12, 31), false, "-", "20091231", "12-31-09"},
        {QDate(2000, 1, 1), true, "/", "20000101", "01/01/00"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(platform::dateKey(c.date), c.key) << c.key.toStdString();
        EXPECT_EQ(platform::dateDisplay(c.date, c.dayFirst, c.separator), c.display)
            << c.display.toStdString();
    }
}

TEST(DateTexts, KeysOrderAsDates) {
    EXPECT_LT(platform::dateKey(QDate(2023, 12, 31)), platform::dateKey(QDate(2024, 1, 1)));
    EXPECT_LT(platform::dateKey(QDate(2024, 2, 9)), platform::dateKey(QDate(2024, 2, 10)));
}

TEST(DateTexts, SeparatorIsFirstNonLetter) {
    EXPECT_EQ(platform::dateSeparatorOf("dd/MM/yyyy"), "/");
    EXPECT_EQ(platform::dateSeparatorOf("M.d.yy"), ".");
    EXPECT_EQ(platform::dateSeparatorOf("yyyy-MM-dd"), "-");
    EXPECT_EQ(platform::dateSeparatorOf("ddMMyyyy"), "/");
    EXPECT_EQ(platform::dateSeparatorOf(""), "/");
    EXPECT_EQ(platform::systemDateSeparator().size(), 1);
}

TEST(DateTexts, LongTimeHasNoZone) {
    EXPECT_EQ(platform::longTimeText(QTime(7, 5, 9)), "07:05:09");
    EXPECT_EQ(platform::longTimeText(QTime(23, 59, 0)), "23:59:00");
}

TEST(ManualClockTest, AdvancesDaysAndSeconds) {
    ManualClock clock(QDateTime(QDate(2024, 2, 28), QTime(23, 59, 30)));
    clock.advanceSeconds(45);
    EXPECT_EQ(clock.today(), QDate(2024, 2, 29));
    EXPECT_EQ(clock.time(), QTime(0, 0, 15));
    clock.advanceDays(1);
    EXPECT_EQ(platform::dateKey(clock.today()), "20240301");
}

class TimerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "clock_test";
        static char* argv[] = {name, nullptr};
        static QCoreApplication app(argc, argv);
    }
    // Runs the event loop for about `ms` and counts the firings of `timer`.
    static int firingsDuring(platform::Timer& timer, int ms) {
        int count = 0;
        auto c = QObject::connect(&timer, &platform::Timer::timeout, [&] { ++count; });
        QElapsedTimer elapsed;
        elapsed.start();
        while (elapsed.elapsed() < ms)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        QObject::disconnect(c);
        return count;
    }
};

TEST_F(TimerTest, RunsOnlyWhenEnabledWithPositiveInterval) {
    platform::Timer timer(nullptr, 10, false);
    EXPECT_FALSE(timer.isRunning());
    EXPECT_EQ(firingsDuring(timer, 60), 0);

    timer.setEnabled(true);
    EXPECT_TRUE(timer.isRunning());
    EXPECT_GE(firingsDuring(timer, 80), 1);

    // An interval of 0 stops the timer instead of firing continuously; it keeps its enabled state.
    timer.setInterval(0);
    EXPECT_FALSE(timer.isRunning());
    EXPECT_TRUE(timer.enabled());
    EXPECT_EQ(firingsDuring(timer, 60), 0);

    timer.setInterval(10);
    EXPECT_TRUE(timer.isRunning());
    timer.setEnabled(false);
    EXPECT_FALSE(timer.isRunning());
    EXPECT_EQ(timer.interval(), 10);
}

TEST_F(TimerTest, ChangedIntervalRestartsTheCountDown) {
    platform::Timer timer(nullptr, 100000, true);
    EXPECT_EQ(firingsDuring(timer, 30), 0);
    timer.setInterval(5);
    EXPECT_GE(firingsDuring(timer, 60), 1);
}
