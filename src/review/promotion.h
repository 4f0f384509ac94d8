// Releasing parked cards from level 0 into the review cycle: by a number of cards, by a list of
// marked cards, or by a condition on the importance level or the card key, with an optional
// limit. A promotion sets Nive_Fich to 1 and writes nothing else, so a card keeps its dates and
// its review total.
#pragma once

#include "platform/table/table.h"

#include <QString>

#include <optional>
#include <vector>

namespace review {

// The five comparisons of the condition page, in the order of its operator groups.
enum class Comparison { Equal, Greater, GreaterOrEqual, Less, LessOrEqual };

// "=", ">", ">=", "<", "<=".
QString comparisonOperator(Comparison comparison);
// The comparison written as its operator; nullopt for any other text.
std::optional<Comparison> comparisonFromOperator(const QString& text);

// The filter of the promotion screen while it is open (every level-0 card).
inline const QString kLevel0Filter = QStringLiteral("Nive_Fich = 0 ");

// The number in a digit field of the promotion screen (count, importance, limit): a text of 1 to
// maxDigits ASCII digits; nullopt for anything else, an empty text included.
std::optional<int> digitsNumber(const QString& text, int maxDigits);

// «Nive_Fich = 0 and Nive_Impo >=3»: no blank between the operator and the number.
QString importanceCondition(Comparison comparison, int importance);
// «Nive_Fich = 0 and Clav_Fich ='O''Hara'»: the key trimmed, in quotes, each quote doubled.
QString keyCondition(Comparison comparison, const QString& key);

// Every promotion below runs in one batch, leaves the card table's filter (text and whether it
// is in force) as it found it, and returns how many cards it promoted. The table must be open
// and not in an edit state. The cursor's moves from card to card fire no scroll event (a card's
// content is not loaded for each card promoted); one afterScroll follows the promotion.

// The first count level-0 cards in table order. nullopt, and nothing changes, when there are
// fewer level-0 cards than count.
std::optional<int> promoteByCount(table::Table& cards, int count);

// The cards with these AutoInc values, in the order given; a key that is not (or no longer) at
// level 0 is skipped.
int promoteCards(table::Table& cards, const std::vector<qint64>& keys);

// The first of these AutoInc values that is not a level-0 card; nullopt when every one is.
std::optional<qint64> firstNotAtLevel0(table::Table& cards, const std::vector<qint64>& keys);

// The cards that a condition of importanceCondition or keyCondition shows, in table order, at
// most limit of them when a limit is given (0 promotes none).
int promoteByCondition(table::Table& cards, const QString& condition,
                       std::optional<int> limit = std::nullopt);

// Puts a filter found earlier back on the card table: its text, and whether it was in force (a
// text that was only stored is not compiled).
void putFilterBack(table::Table& cards, const QString& text, bool filtered);

// How many cards a condition shows (every level-0 card by default); the filter is put back.
int countLevel0(table::Table& cards, const QString& condition = kLevel0Filter);

// "3  Fichas han pasado al Nivel 1." (two blanks after the number).
QString promotedMessage(int promoted);
// The same after a promotion by count, which names the number as the count field wrote it
// ("010  Fichas han pasado al Nivel 1.").
QString promotedMessage(const QString& count);
// "7  Fichas en el Nivel 0." (the count label of the promotion screen).
QString level0CountText(int level0Cards);

// When a count asks for more cards than level 0 holds.
extern const QString kNotEnoughLevel0Message; // "No hay tantas fichas en el Nivel 0."
// When the promotion screen opens and level 0 is empty.
extern const QString kNoLevel0Message; // "No hay fichas en el Nivel 0"

} // namespace review
