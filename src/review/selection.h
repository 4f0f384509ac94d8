// The filter texts that choose the cards of a review session: the level expression of the quick
// selection, the same-day and due-date conditions, and the two start buttons of the selection
// screen and the timed review of the main screen built from them.
#pragma once

#include <QString>

#include <array>

namespace review {

// One choice per level 1 to 8 (index 0 is level 1).
using LevelChoices = std::array<bool, 8>;

enum class SelectionMode {
    Window, // the selection filter built by the card selection screen
    Quick,  // the level choices
};

// The shared values of the card selection that the review selection reads and writes. Neither
// filter is ever empty: an empty filter would show the parked level-0 cards.
struct SelectionState {
    QString selectionFilter;
    QString savedSelectionFilter;
    bool selectionActive = false;
};

// "Nive_Fich = 2 or Nive_Fich = 3" for the chosen levels in rising order; the base filter when
// no level is chosen.
QString levelExpression(const LevelChoices& levels);
bool anyLevelChosen(const LevelChoices& levels);

// "and (Fech_Ulti_Repa <> 20050309)": appended directly to a filter, it keeps out the cards
// already changed today.
QString sameDayCondition(const QString& todayKey);

// The mode the selection screen starts in: window selection when the card table carries a
// filter other than the base filter.
SelectionMode initialMode(const QString& currentFilter);

// Switching to a mode: the card table's new filter (the selection filter, in window selection
// while a selection is active), or an empty text when the filter stays as it is.
QString modeSwitchFilter(SelectionMode mode, const SelectionState& state);

// The inputs of the two start buttons of the selection screen.
struct SelectionRequest {
    SelectionMode mode = SelectionMode::Quick;
    LevelChoices levels{};
    bool sameDayReviewsAllowed =
        true; // the screen's tick box; false appends the same-day condition
    QString todayKey;
};

// Apply selection, the first step of both start buttons: the filter it puts on the card table.
// In quick selection with an active selection the card table's current filter is kept as the
// saved selection filter, to be put back after the session (the base filter when the table has
// none).
QString applySelection(const SelectionRequest& request, const QString& currentFilter,
                       SelectionState& state);

// The filter the main screen puts back on the card table after a quick-selection review: the
// saved selection filter, or the base filter when that is empty.
QString handBackFilter(const SelectionState& state);

// The session filter of "Repasar", from the filter that apply selection set.
QString reviewFilter(const SelectionRequest& request, const QString& appliedFilter);
// The session filter of the due-date review, from the filter that apply selection set.
QString dueDateReviewFilter(const SelectionRequest& request, const QString& appliedFilter);

// The timed review of the main screen: the filter to save (the current one, or the level
// condition when there is none) and the session filter, which adds the due condition with the
// bare date and never the same-day condition.
struct TimedReviewFilters {
    QString saved;
    QString session;
};
TimedReviewFilters timedReviewFilters(const QString& currentFilter, const QString& todayKey);

// Shown when a session filter leaves no card.
extern const QString kNoCardsMessage;

} // namespace review
