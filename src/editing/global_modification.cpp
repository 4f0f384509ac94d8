#include "editing/global_modification.h"

#include "platform/table/table.h"

#include <exception>

namespace editing {

namespace {

const QString kMarked = QStringLiteral("Camp_Logi = true");

// Puts a filter and its filtering state back on the table when the scope ends.
class FilterRestorer {
public:
    explicit FilterRestorer(table::Table& t)
        : t_(t), filter_(t.filter()), filtered_(t.filtered()) {}
    ~FilterRestorer() noexcept(false) {
        const bool unwinding = std::uncaught_exceptions() > 0;
        try {
            if (t_.isOpen() && (t_.state() == table::Table::State::Edit ||
                                t_.state() == table::Table::State::Insert))
                t_.cancel();
            t_.setFilter(filter_);
            t_.setFiltered(filtered_);
        } catch (...) {
            if (!unwinding)
                throw;
        }
    }
    FilterRestorer(const FilterRestorer&) = delete;
    FilterRestorer& operator=(const FilterRestorer&) = delete;

    void restore() {
        t_.setFilter(filter_);
        t_.setFiltered(filtered_);
    }

private:
    table::Table& t_;
    QString filter_;
    bool filtered_;
};

// Shows only the marked cards.
void showMarked(table::Table& cards) {
    cards.setFilter(kMarked);
    cards.setFiltered(true);
    cards.first();
}

} // namespace

int runGlobalModification(table::Table& cards, const GlobalChange& change,
                          const Progress& progress) {
    if (!change.any())
        return 0;
    table::ScrollEventsPaused paused(cards);
    table::BatchScope batch(cards);
    FilterRestorer selection(cards);
    const auto field = [&cards](const char* name) {
        return cards.fieldByName(QLatin1String(name));
    };

    // Marks an earlier run left behind would bring cards outside the selection into this one.
    showMarked(cards);
    while (!cards.isEmpty()) {
        cards.edit();
        field("Camp_Logi").setBoolean(false);
        cards.post();
        cards.first();
    }

    selection.restore();
    const int selected = cards.recordCount();
    const int total = 2 * selected;
    int done = 0;
    const auto step = [&] {
        ++done;
        if (progress)
            progress(done, total);
    };
    for (cards.first(); !cards.eof(); cards.next()) {
        cards.edit();
        field("Camp_Logi").setBoolean(true);
        cards.post();
        step();
    }

    showMarked(cards);
    int changed = 0;
    while (!cards.isEmpty()) {
        cards.edit();
        if (change.level)
            field("Nive_Fich").setInteger(*change.level);
        if (change.cardKey)
            field("Clav_Fich").setString(*change.cardKey);
        if (change.importance)
            field("Nive_Impo").setInteger(*change.importance);
        if (change.nextReview)
            field("Fech_Prox_Repa").setString(*change.nextReview);
        if (change.reviews)
            field("Total_Repa").setInteger(*change.reviews);
        field("Camp_Logi").setBoolean(false);
        cards.post();
        ++changed;
        step();
        cards.first();
    }
    return changed;
}

} // namespace editing
