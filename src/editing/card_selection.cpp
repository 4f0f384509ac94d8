#include "editing/card_selection.h"

#include "review/promotion.h"
#include "studyfile/card_table.h"

namespace editing {

void applyCardSelection(table::Table& cards, const QString& filter, review::SelectionState& state) {
    const QString oldText = cards.filter();
    const bool oldFiltered = cards.filtered();
    try {
        cards.setFilter(filter);
        cards.setFiltered(true);
    } catch (...) {
        try {
            review::putFilterBack(cards, oldText, oldFiltered);
        } catch (...) {
            // The engine's refusal of the new filter is the error to report.
        }
        throw;
    }
    state.selectionFilter = filter;
    state.savedSelectionFilter = filter;
    state.selectionActive = true;
}

void removeCardSelection(table::Table& cards, review::SelectionState& state) {
    cards.setFilter(studyfile::kBaseFilter);
    cards.setFiltered(true);
    state.selectionFilter = studyfile::kBaseFilter;
    state.savedSelectionFilter = studyfile::kBaseFilter;
    state.selectionActive = false;
}

SelectionFilter selectCards(table::Table& cards, const std::vector<ConditionRow>& rows,
                            bool dayFirst, const studyfile::DesignOptions& design,
                            review::SelectionState& state) {
    SelectionFilter built = buildSelectionFilter(rows, dayFirst, design);
    if (built.accepted())
        applyCardSelection(cards, built.filter, state);
    else if (built.refusal == SelectionRefusal::Incomplete)
        removeCardSelection(cards, state);
    return built;
}

} // namespace editing
