// The selection in force: what "  S&elección" and "  &Quitar Selección" of the card selection
// screen leave on the card table and in the shared selection state. After either, the table's
// filter, the selection filter and the saved selection filter hold the same text, never an empty
// one, so level-0 cards stay out of every screen that works on the selection.
#pragma once

#include "editing/selection_filter.h"
#include "platform/table/table.h"
#include "review/selection.h"

#include <vector>

namespace editing {

// Puts an accepted selection filter on the card table (filtering on), then, once the table took
// it, makes it the selection filter and the saved selection filter and sets the selection-active
// flag. A filter the engine refuses raises its error and leaves the table and the state as they
// were.
void applyCardSelection(table::Table& cards, const QString& filter, review::SelectionState& state);

// Drops the selection: the base filter on the card table (filtering on), as the selection filter
// and as the saved selection filter (so that the hand-back of a quick-selection review does not
// bring the removed selection back), and the selection-active flag cleared.
void removeCardSelection(table::Table& cards, review::SelectionState& state);

// "  S&elección": builds the filter of the rows in use and applies it. An incomplete row removes
// the selection as "  &Quitar Selección" does; the other refusals change nothing. Returns the
// build's result, whose refusal, row and message the screen shows.
SelectionFilter selectCards(table::Table& cards, const std::vector<ConditionRow>& rows,
                            bool dayFirst, const studyfile::DesignOptions& design,
                            review::SelectionState& state);

} // namespace editing
