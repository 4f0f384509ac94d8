#include "review/selection.h"

#include "studyfile/card_table.h"

namespace review {

using studyfile::kBaseFilter;

const QString kNoCardsMessage = QStringLiteral(
    "No hay ninguna ficha para repasar.  Algunas posibles causas son:\r\r  *  Si ha "
    "seleccionado, puede que ninguna ficha cumpla con esa condición.\r\r  *  Si ya ha "
    "repasado hoy, esas fichas no podrá repasarlas otra vez.");

namespace {

QString quoted(const QString& todayKey) {
    return QLatin1Char('\'') + todayKey + QLatin1Char('\'');
}

QString withSameDay(const SelectionRequest& request, const QString& filter) {
    if (request.sameDayReviewsAllowed)
        return filter;
    return filter + sameDayCondition(request.todayKey);
}

} // namespace

QString levelExpression(const LevelChoices& levels) {
    QString expr;
    for (std::size_t i = 0; i < levels.size(); ++i) {
        if (!levels[i])
            continue;
        expr +=
            expr.isEmpty() ? QStringLiteral("Nive_Fich = ") : QStringLiteral(" or Nive_Fich = ");
        expr += QString::number(i + 1);
    }
    return expr.isEmpty() ? kBaseFilter : expr;
}

bool anyLevelChosen(const LevelChoices& levels) {
    for (bool chosen : levels)
        if (chosen)
            return true;
    return false;
}

QString sameDayCondition(const QString& todayKey) {
    return QStringLiteral("and (Fech_Ulti_Repa <> ") + todayKey + QLatin1Char(')');
}

SelectionMode initialMode(const QString& currentFilter) {
    return currentFilter != kBaseFilter ? SelectionMode::Window : SelectionMode::Quick;
}

QString modeSwitchFilter(SelectionMode mode, const SelectionState& state) {
    if (mode == SelectionMode::Window && state.selectionActive)
        return state.selectionFilter;
    return QString();
}

QString applySelection(const SelectionRequest& request, const QString& currentFilter,
                       SelectionState& state) {
    if (request.mode == SelectionMode::Window)
        return state.selectionFilter;
    if (state.selectionActive)
        state.savedSelectionFilter =
            currentFilter.trimmed().isEmpty() ? kBaseFilter : currentFilter;
    return levelExpression(request.levels);
}

QString handBackFilter(const SelectionState& state) {
    return state.savedSelectionFilter.trimmed().isEmpty() ? kBaseFilter
                                                          : state.savedSelectionFilter;
}

QString reviewFilter(const SelectionRequest& request, const QString& appliedFilter) {
    QString filter = appliedFilter;
    if (request.mode == SelectionMode::Quick) {
        if (!anyLevelChosen(request.levels))
            filter = kBaseFilter;
        else
            filter = QStringLiteral(" ( ") + levelExpression(request.levels) +
                     QStringLiteral(" ) and ") + kBaseFilter;
    }
    return withSameDay(request, filter);
}

QString dueDateReviewFilter(const SelectionRequest& request, const QString& appliedFilter) {
    const QString q = quoted(request.todayKey);
    const QString due =
        QStringLiteral("Fech_Prox_Repa <= ") + q + QStringLiteral(" and ") + kBaseFilter;
    QString filter;
    if (request.mode == SelectionMode::Quick) {
        if (!anyLevelChosen(request.levels))
            filter = due;
        else
            filter = QStringLiteral("( ") + levelExpression(request.levels) +
                     QStringLiteral(" ) and ( Fech_Prox_Repa <= ") + q + QStringLiteral(" )") +
                     QStringLiteral(" and ") + kBaseFilter;
    } else if (appliedFilter != kBaseFilter) {
        filter = QStringLiteral("( ") + appliedFilter +
                 QStringLiteral(" ) and ( Fech_Prox_Repa <= ") + q + QStringLiteral(" )");
    } else {
        filter = due;
    }
    return withSameDay(request, filter);
}

TimedReviewFilters timedReviewFilters(const QString& currentFilter, const QString& todayKey) {
    TimedReviewFilters f;
    f.saved =
        currentFilter.trimmed().isEmpty() ? QStringLiteral("( Nive_Fich <> 0 ) ") : currentFilter;
    f.session = f.saved + QStringLiteral(" and (Fech_Prox_Repa <= ") + todayKey + QLatin1Char(')');
    return f;
}

} // namespace review
