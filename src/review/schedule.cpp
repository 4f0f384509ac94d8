#include "review/schedule.h"

#include "platform/table/table.h"

namespace review {

namespace {

const QString kLevelField = QStringLiteral("Nive_Fich");
const QString kLastReviewField = QStringLiteral("Fech_Ulti_Repa");
const QString kTotalField = QStringLiteral("Total_Repa");
const QString kNextReviewField = QStringLiteral("Fech_Prox_Repa");

int days(const ReviewIntervals& intervals, int entry) {
    return intervals[static_cast<std::size_t>(entry - 1)];
}

} // namespace

QString dateString(const QDate& date) {
    return QStringLiteral("%1%2%3")
        .arg(date.year(), 4, 10, QLatin1Char('0'))
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.day(), 2, 10, QLatin1Char('0'));
}

int intervalEntryForLevel(int newLevel) {
    if (newLevel < 1)
        return 1;
    if (newLevel > 9)
        return 9;
    return newLevel;
}

bool answerChangesCard(const QString& lastReview, const QString& todayKey) {
    return lastReview < todayKey;
}

bool applyAnswer(CardSchedule& card, Answer answer, const ReviewIntervals& intervals,
                 const QString& todayKey, const QDate& systemDate) {
    if (!answerChangesCard(card.lastReview, todayKey))
        return false;
    int entry = 2;
    if (answer == Answer::Correct) {
        card.level += 1;
        entry = intervalEntryForLevel(card.level);
    } else {
        card.level = 1;
    }
    card.lastReview = todayKey;
    card.totalReviews += 1;
    card.nextReview = dateString(systemDate.addDays(days(intervals, entry)));
    return true;
}

CardSchedule readSchedule(table::Table& cards) {
    CardSchedule s;
    s.level = static_cast<int>(cards.fieldByName(kLevelField).asInteger());
    s.lastReview = cards.fieldByName(kLastReviewField).asString();
    s.totalReviews = static_cast<int>(cards.fieldByName(kTotalField).asInteger());
    s.nextReview = cards.fieldByName(kNextReviewField).asString();
    return s;
}

bool recordAnswer(table::Table& cards, Answer answer, const ReviewIntervals& intervals,
                  const QString& todayKey, const QDate& systemDate) {
    CardSchedule s = readSchedule(cards);
    if (!applyAnswer(s, answer, intervals, todayKey, systemDate))
        return false;
    cards.edit();
    try {
        cards.fieldByName(kLevelField).setInteger(s.level);
        cards.fieldByName(kLastReviewField).setString(s.lastReview);
        cards.fieldByName(kTotalField).setInteger(s.totalReviews);
        cards.fieldByName(kNextReviewField).setString(s.nextReview);
        cards.post();
    } catch (...) {
        // A refused write must not leave the card table in edit mode for the next card.
        if (cards.state() == table::Table::State::Edit)
            cards.cancel();
        throw;
    }
    return true;
}

} // namespace review
