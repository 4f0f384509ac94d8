#include "review/promotion.h"

#include "platform/table/filter.h"

#include <algorithm>
#include <array>
#include <utility>

namespace review {

const QString kNotEnoughLevel0Message = QStringLiteral("No hay tantas fichas en el Nivel 0.");
const QString kNoLevel0Message = QStringLiteral("No hay fichas en el Nivel 0");

namespace {

constexpr std::array<std::pair<Comparison, const char*>, 5> kOperators{{
    {Comparison::Equal, "="},
    {Comparison::Greater, ">"},
    {Comparison::GreaterOrEqual, ">="},
    {Comparison::Less, "<"},
    {Comparison::LessOrEqual, "<="},
}};

// The level-0 filter without its trailing blank, as promotion by count sets it.
const QString kCountFilter = QStringLiteral("Nive_Fich = 0");

// Runs work over the cards that filter shows and then puts the filter found back, also when
// work fails (an edit left open by the failure is cancelled first). The scroll events of the
// filter changes and of work's moves are held back: one afterScroll follows.
template <typename Work> auto underFilter(table::Table& cards, const QString& filter, Work work) {
    table::ScrollEventsPaused paused(cards);
    const QString oldText = cards.filter();
    const bool oldFiltered = cards.filtered();
    try {
        cards.setFilter(filter);
        cards.setFiltered(true);
        auto result = work();
        putFilterBack(cards, oldText, oldFiltered);
        return result;
    } catch (...) {
        try {
            if (cards.state() == table::Table::State::Edit ||
                cards.state() == table::Table::State::Insert)
                cards.cancel();
            putFilterBack(cards, oldText, oldFiltered);
        } catch (...) {
            // The first failure is the one to report.
        }
        throw;
    }
}

// Promotes the visible level-0 cards with these keys in the order given, at most limit of them;
// a key that is not visible is skipped. Each card is found by its key, so a long list never walks
// the view again from its first card. The level is read again before the edit: a condition that
// let a card of another level through must not send that card back to level 1.
int promoteKeys(table::Table& cards, const std::vector<qint64>& keys, std::optional<int> limit) {
    int promoted = 0;
    table::BatchScope batch(cards);
    for (qint64 key : keys) {
        // The limit is tested before each card, so a limit of 0 promotes none.
        if (limit && promoted >= *limit)
            break;
        if (!cards.locateKey(key) ||
            cards.fieldByName(QStringLiteral("Nive_Fich")).asInteger() != 0)
            continue;
        cards.edit();
        cards.fieldByName(QStringLiteral("Nive_Fich")).setInteger(1);
        cards.post();
        ++promoted;
    }
    return promoted;
}

} // namespace

void putFilterBack(table::Table& cards, const QString& text, bool filtered) {
    // A text that was only stored (filtering off) may never have been compiled: switch
    // filtering off before setting it, so that it is not compiled now either.
    if (!filtered)
        cards.setFiltered(false);
    cards.setFilter(text);
    if (filtered)
        cards.setFiltered(true);
}

QString comparisonOperator(Comparison comparison) {
    for (const auto& [c, text] : kOperators)
        if (c == comparison)
            return QLatin1String(text);
    return QString();
}

std::optional<Comparison> comparisonFromOperator(const QString& text) {
    for (const auto& [c, op] : kOperators)
        if (text == QLatin1String(op))
            return c;
    return std::nullopt;
}

std::optional<int> digitsNumber(const QString& text, int maxDigits) {
    if (text.isEmpty() || text.size() > maxDigits)
        return std::nullopt;
    int n = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        n = n * 10 + (c.unicode() - u'0');
    }
    return n;
}

QString importanceCondition(Comparison comparison, int importance) {
    return QStringLiteral("Nive_Fich = 0 and Nive_Impo ") + comparisonOperator(comparison) +
           QString::number(importance);
}

QString keyCondition(Comparison comparison, const QString& key) {
    return QStringLiteral("Nive_Fich = 0 and Clav_Fich ") + comparisonOperator(comparison) +
           table::filter::quotedText(key.trimmed());
}

std::optional<int> promoteByCount(table::Table& cards, int count) {
    return underFilter(cards, kCountFilter, [&]() -> std::optional<int> {
        std::vector<qint64> keys = cards.visibleKeys();
        if (count > static_cast<int>(keys.size()))
            return std::nullopt;
        keys.resize(static_cast<std::size_t>(std::max(count, 0)));
        return promoteKeys(cards, keys, std::nullopt);
    });
}

int promoteCards(table::Table& cards, const std::vector<qint64>& keys) {
    return underFilter(cards, kCountFilter, [&] { return promoteKeys(cards, keys, std::nullopt); });
}

int promoteByCondition(table::Table& cards, const QString& condition, std::optional<int> limit) {
    return underFilter(cards, condition,
                       [&] { return promoteKeys(cards, cards.visibleKeys(), limit); });
}

std::optional<qint64> firstNotAtLevel0(table::Table& cards, const std::vector<qint64>& keys) {
    return underFilter(cards, kCountFilter, [&]() -> std::optional<qint64> {
        for (qint64 key : keys)
            if (!cards.locateKey(key))
                return key;
        return std::nullopt;
    });
}

int countLevel0(table::Table& cards, const QString& condition) {
    return underFilter(cards, condition, [&] { return cards.recordCount(); });
}

QString promotedMessage(int promoted) {
    return promotedMessage(QString::number(promoted));
}

QString promotedMessage(const QString& count) {
    return count + QStringLiteral("  Fichas han pasado al Nivel 1.");
}

QString level0CountText(int level0Cards) {
    return QString::number(level0Cards) + QStringLiteral("  Fichas en el Nivel 0.");
}

} // namespace review
