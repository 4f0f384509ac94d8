#include "review/schedule.h"

#include "card_table_fixture.h"

#include <gtest/gtest.h>

using review::Answer;
using review::CardSchedule;
using review::kDefaultReviewIntervals;
using review::ReviewIntervals;

namespace {

const QDate kMarch9(2005, 3, 9);

// Every entry different, so that a wrong entry shows in the date.
const ReviewIntervals kDistinct{3, 5, 7, 11, 13, 17, 19, 23, 29};

} // namespace

TEST(Schedule, DateStringIsYearMonthDayWithLeadingZeros) {
    EXPECT_EQ(review::dateString(kMarch9), "20050309");
    EXPECT_EQ(review::dateString(QDate(2012, 11, 30)), "20121130");
    EXPECT_EQ(review::dateString(QDate(987, 1, 2)), "09870102");
}

TEST(Schedule, WorkedExampleLevelThreeOnNinthOfMarch) {
    const CardSchedule before{3, "20050301", 4, "20050309"};

    CardSchedule right = before;
    ASSERT_TRUE(review::applyAnswer(right, Answer::Correct, kDefaultReviewIntervals, kMarch9));
    EXPECT_EQ(right, (CardSchedule{4, "20050309", 5, "20050330"}));

    CardSchedule wrong = before;
    ASSERT_TRUE(review::applyAnswer(wrong, Answer::Wrong, kDefaultReviewIntervals, kMarch9));
    EXPECT_EQ(wrong, (CardSchedule{1, "20050309", 5, "20050310"}));
}

TEST(Schedule, LevelsAndAnswersTakeTheirIntervalEntry) {
    struct Case {
        int level;
        Answer answer;
        int newLevel;
        int days; // from kDistinct
    };
    const Case cases[] = {
        {0, Answer::Correct, 1, 3},  // entry 1: only a parked card reaches level 1 this way
        {0, Answer::Wrong, 1, 5},    // wrong: entry 2, never entry 1
        {1, Answer::Correct, 2, 5},  // entry 2
        {1, Answer::Wrong, 1, 5},    //
        {8, Answer::Correct, 9, 29}, // entry 9
        {8, Answer::Wrong, 1, 5},    //
        {9, Answer::Correct, 10, 29}, {9, Answer::Wrong, 1, 5},    {12, Answer::Correct, 13, 29},
        {12, Answer::Wrong, 1, 5},    {4, Answer::Correct, 5, 13}, // entry 5
        {-1, Answer::Correct, 0, 3}, // a level below 0 does not index before entry 1
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "level " << c.level << " correct " << (c.answer == Answer::Correct));
        CardSchedule card{c.level, "", 7, ""};
        ASSERT_TRUE(review::applyAnswer(card, c.answer, kDistinct, kMarch9));
        EXPECT_EQ(card.level, c.newLevel);
        EXPECT_EQ(card.lastReview, "20050309");
        EXPECT_EQ(card.totalReviews, 8);
        EXPECT_EQ(card.nextReview, review::dateString(kMarch9.addDays(c.days)));
    }
}

TEST(Schedule, DaysAreCalendarDaysAcrossMonthsYearsAndLeapDays) {
    struct Case {
        QDate today;
        int days;
        const char* next;
    };
    const Case cases[] = {
        {QDate(2005, 12, 31), 1, "20060101"}, {QDate(2008, 2, 28), 1, "20080229"},
        {QDate(2005, 3, 9), 0, "20050309"},   {QDate(2005, 11, 20), 45, "20060104"},
        {QDate(2005, 1, 1), 999, "20070927"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.next);
        ReviewIntervals intervals = kDefaultReviewIntervals;
        intervals[1] = c.days; // entry 2, used by wrong answers
        CardSchedule card{5, "", 0, ""};
        ASSERT_TRUE(review::applyAnswer(card, Answer::Wrong, intervals, c.today));
        EXPECT_EQ(card.nextReview, c.next);
    }
}

TEST(Schedule, OnlyTheFirstAnswerOfADayChangesTheCard) {
    CardSchedule card{3, "20050308", 2, "20050309"};
    ASSERT_TRUE(review::applyAnswer(card, Answer::Correct, kDefaultReviewIntervals, kMarch9));
    const CardSchedule afterFirst = card;
    EXPECT_FALSE(review::applyAnswer(card, Answer::Correct, kDefaultReviewIntervals, kMarch9));
    EXPECT_FALSE(review::applyAnswer(card, Answer::Wrong, kDefaultReviewIntervals, kMarch9));
    EXPECT_EQ(card, afterFirst);
    EXPECT_EQ(card.level, 4);
    EXPECT_EQ(card.totalReviews, 3);

    // A later date than today (clock set back) also leaves the card alone; a never reviewed
    // card is changed.
    EXPECT_FALSE(review::answerChangesCard("20050310", "20050309"));
    EXPECT_TRUE(review::answerChangesCard("", "20050309"));
    // The next day it moves again.
    EXPECT_TRUE(
        review::applyAnswer(card, Answer::Correct, kDefaultReviewIntervals, kMarch9.addDays(1)));
    EXPECT_EQ(card.level, 5);
}

TEST(Schedule, TodayKeyAndSystemDateAreUsedForTheirOwnFields) {
    // A session begun before midnight keeps its today key; the due date counts from the day
    // the answer was given.
    CardSchedule card{3, "", 0, ""};
    ASSERT_TRUE(review::applyAnswer(card, Answer::Correct, kDefaultReviewIntervals, "20050309",
                                    QDate(2005, 3, 10)));
    EXPECT_EQ(card.lastReview, "20050309");
    EXPECT_EQ(card.nextReview, "20050331");
}

using RecordAnswer = review_test::CardTableFixture;

TEST_F(RecordAnswer, PostsTheCurrentCardAndLeavesOthersAlone) {
    const auto ids = addCards({{3, "20050301", 4, "20050309"}, {3, "", 0, "20050309"}});
    cards_.first();
    ASSERT_EQ(cards_.fieldByName("AutoInc").asInteger(), ids[0]);
    EXPECT_TRUE(review::recordAnswer(cards_, Answer::Correct, kDefaultReviewIntervals, kMarch9));
    EXPECT_EQ(cards_.state(), table::Table::State::Browse);

    // Read back through a second connection: the post reached the file.
    table::Table other;
    other.open(dir_.path(), "Curso.DB");
    ASSERT_TRUE(other.locateKey(ids[0]));
    EXPECT_EQ(review::readSchedule(other), (CardSchedule{4, "20050309", 5, "20050330"}));
    ASSERT_TRUE(other.locateKey(ids[1]));
    EXPECT_EQ(review::readSchedule(other), (CardSchedule{3, "", 0, "20050309"}));
}

TEST_F(RecordAnswer, SecondAnswerOfTheDayWritesNothing) {
    addCards({{3, "20050309", 4, "20050330"}});
    cards_.first();
    EXPECT_FALSE(review::recordAnswer(cards_, Answer::Wrong, kDefaultReviewIntervals, kMarch9));
    EXPECT_EQ(cards_.state(), table::Table::State::Browse);
    EXPECT_EQ(review::readSchedule(cards_), (CardSchedule{3, "20050309", 4, "20050330"}));
}

TEST_F(RecordAnswer, PostedCardLeavesASameDayFilteredView) {
    addCards({{2, "", 0, "20050301"}, {5, "", 0, "20050301"}});
    selected(" (Nive_fich <> 0 ) and (Fech_Ulti_Repa <> 20050309)");
    ASSERT_EQ(cards_.recordCount(), 2);
    cards_.first();
    ASSERT_TRUE(review::recordAnswer(cards_, Answer::Wrong, kDefaultReviewIntervals, kMarch9));
    EXPECT_EQ(cards_.recordCount(), 1);
}

TEST_F(RecordAnswer, RefusedWriteCancelsTheEditAndPassesTheError) {
    addCards({{32767, "", 0, ""}});
    cards_.first();
    EXPECT_THROW(review::recordAnswer(cards_, Answer::Correct, kDefaultReviewIntervals, kMarch9),
                 table::EngineError);
    EXPECT_EQ(cards_.state(), table::Table::State::Browse);
    EXPECT_EQ(review::readSchedule(cards_), (CardSchedule{32767, "", 0, ""}));
}
