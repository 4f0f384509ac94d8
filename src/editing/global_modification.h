// Global modification: one value for up to five fields of every card of the selection in force.
// Changing a level or a key can take a card out of the very selection being walked, so the run
// first marks the selected cards (Camp_Logi) and then changes and unmarks the marked ones.
#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace table {
class Table;
}

namespace editing {

// The fields to change; an unset one is left as it is.
struct GlobalChange {
    std::optional<int> level;          // Nive_Fich
    std::optional<QString> cardKey;    // Clav_Fich (cut to the field's size by the engine)
    std::optional<int> importance;     // Nive_Impo
    std::optional<QString> nextReview; // Fech_Prox_Repa, a date string
    std::optional<int> reviews;        // Total_Repa
    bool any() const { return level || cardKey || importance || nextReview || reviews; }
};

// Called with the steps done and the steps of the whole run (twice the selected cards).
using Progress = std::function<void(int done, int total)>;

// Changes every card the table lets through now, in one transaction and with no scroll event but
// one at the end. Marks left on cards by an earlier run are cleared first, so that only the
// selection is changed. The table's filter is put back as it was, also when an error ends the
// run. Returns the number of cards changed (0, and nothing written, when the change sets nothing).
int runGlobalModification(table::Table& cards, const GlobalChange& change,
                          const Progress& progress = {});

} // namespace editing
