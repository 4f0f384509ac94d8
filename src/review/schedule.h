// The spaced-repetition rule: what one answer does to a card's level and review dates.
#pragma once

#include <QDate>
#include <QString>

#include <array>

namespace table {
class Table;
}

namespace review {

// Review interval table: days for the entries 1 to 9 (index 0 holds entry 1).
using ReviewIntervals = std::array<int, 9>;
inline constexpr ReviewIntervals kDefaultReviewIntervals{0, 1, 7, 21, 45, 90, 120, 150, 180};

enum class Answer { Correct, Wrong };

// The schedule fields of one card.
struct CardSchedule {
    int level = 0;        // Nive_Fich
    QString lastReview;   // Fech_Ulti_Repa ("" = never reviewed)
    int totalReviews = 0; // Total_Repa
    QString nextReview;   // Fech_Prox_Repa
    friend bool operator==(const CardSchedule&, const CardSchedule&) = default;
};

// Eight digits year, month, day: the form of every date field and of the today key.
QString dateString(const QDate& date);

// The interval entry (1 to 9) that schedules a card reaching newLevel by a correct answer:
// entry newLevel up to 8, entry 9 from level 9 on. Levels below 1 (a parked card raised to 1,
// or a negative level typed elsewhere) take entry 1.
int intervalEntryForLevel(int newLevel);

// True when an answer changes the card: only the first answer of a calendar day does. A card
// whose last review is not earlier than today (as text) was already changed today or carries a
// later date.
bool answerChangesCard(const QString& lastReview, const QString& todayKey);

// Applies one answer to card. todayKey is written as the last review; the next review is
// systemDate plus the days of the interval entry (correct: the entry of the new level; wrong:
// entry 2, whatever entry 1 says). Returns false, leaving card untouched, when the card was
// already changed today.
bool applyAnswer(CardSchedule& card, Answer answer, const ReviewIntervals& intervals,
                 const QString& todayKey, const QDate& systemDate);
inline bool applyAnswer(CardSchedule& card, Answer answer, const ReviewIntervals& intervals,
                        const QDate& today) {
    return applyAnswer(card, answer, intervals, dateString(today), today);
}

// Reads and writes the schedule fields of the current row of a card table.
CardSchedule readSchedule(table::Table& cards);

// Record answer: applies the answer to the current card of the card table and posts it, or
// leaves the card untouched (not even put in edit mode) when it was already changed today.
// Returns whether the card was posted. An engine error while writing or posting cancels the
// edit and is passed on.
bool recordAnswer(table::Table& cards, Answer answer, const ReviewIntervals& intervals,
                  const QString& todayKey, const QDate& systemDate);
inline bool recordAnswer(table::Table& cards, Answer answer, const ReviewIntervals& intervals,
                         const QDate& today) {
    return recordAnswer(cards, answer, intervals, dateString(today), today);
}

} // namespace review
