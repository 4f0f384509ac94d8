#include "review/selection.h"

#include "card_table_fixture.h"
#include "platform/table/filter.h"
#include "studyfile/card_table.h"

#include <gtest/gtest.h>

using review::LevelChoices;
using review::SelectionMode;
using review::SelectionRequest;
using review::SelectionState;
using studyfile::kBaseFilter;

namespace {

const QString kToday = QStringLiteral("20050309");

LevelChoices levels(std::initializer_list<int> chosen) {
    LevelChoices l{};
    for (int level : chosen)
        l[static_cast<std::size_t>(level - 1)] = true;
    return l;
}

SelectionRequest quick(LevelChoices l, bool sameDayAllowed) {
    return {SelectionMode::Quick, l, sameDayAllowed, kToday};
}

SelectionRequest window(bool sameDayAllowed) {
    return {SelectionMode::Window, {}, sameDayAllowed, kToday};
}

// Runs apply selection and then the chosen start button, as the selection screen does.
QString repasar(const SelectionRequest& r, SelectionState& state, const QString& current) {
    return review::reviewFilter(r, review::applySelection(r, current, state));
}
QString dueDate(const SelectionRequest& r, SelectionState& state, const QString& current) {
    return review::dueDateReviewFilter(r, review::applySelection(r, current, state));
}

} // namespace

TEST(Selection, LevelExpressionListsTheChosenLevelsInRisingOrder) {
    EXPECT_EQ(review::levelExpression(levels({})), kBaseFilter);
    EXPECT_EQ(review::levelExpression(levels({5})), "Nive_Fich = 5");
    EXPECT_EQ(review::levelExpression(levels({3, 2})), "Nive_Fich = 2 or Nive_Fich = 3");
    EXPECT_EQ(review::levelExpression(levels({1, 2, 3, 4, 5, 6, 7, 8})),
              "Nive_Fich = 1 or Nive_Fich = 2 or Nive_Fich = 3 or Nive_Fich = 4 or Nive_Fich = 5 "
              "or Nive_Fich = 6 or Nive_Fich = 7 or Nive_Fich = 8");
    EXPECT_EQ(review::sameDayCondition(kToday), "and (Fech_Ulti_Repa <> 20050309)");
}

TEST(Selection, TheTwoExampleFiltersToTheCharacter) {
    SelectionState state{kBaseFilter, "", false};
    EXPECT_EQ(repasar(quick(levels({2, 3}), false), state, kBaseFilter),
              " ( Nive_Fich = 2 or Nive_Fich = 3 ) and  (Nive_fich <> 0 ) and (Fech_Ulti_Repa <> "
              "20050309)");
    EXPECT_EQ(dueDate(quick(levels({}), false), state, kBaseFilter),
              "Fech_Prox_Repa <= '20050309' and  (Nive_fich <> 0 ) and (Fech_Ulti_Repa <> "
              "20050309)");
}

TEST(Selection, StartButtonFiltersForEveryMode) {
    const QString sel = QStringLiteral("Clav_Fich = 'Geo' and ") + kBaseFilter;
    SelectionState state{sel, "", true};
    struct Case {
        const char* name;
        QString got;
        QString want;
    };
    const Case cases[] = {
        {"repasar quick, no level", repasar(quick(levels({}), true), state, sel), kBaseFilter},
        {"repasar quick, no level, same day", repasar(quick(levels({}), false), state, sel),
         kBaseFilter + "and (Fech_Ulti_Repa <> 20050309)"},
        {"repasar quick, level 4", repasar(quick(levels({4}), true), state, sel),
         " ( Nive_Fich = 4 ) and  (Nive_fich <> 0 ) "},
        {"repasar window", repasar(window(true), state, kBaseFilter), sel},
        {"repasar window, same day", repasar(window(false), state, kBaseFilter),
         sel + "and (Fech_Ulti_Repa <> 20050309)"},
        {"due quick, no level", dueDate(quick(levels({}), true), state, sel),
         "Fech_Prox_Repa <= '20050309' and  (Nive_fich <> 0 ) "},
        {"due quick, levels 1 and 8", dueDate(quick(levels({1, 8}), true), state, sel),
         "( Nive_Fich = 1 or Nive_Fich = 8 ) and ( Fech_Prox_Repa <= '20050309' ) and  "
         "(Nive_fich <> 0 ) "},
        {"due window", dueDate(window(true), state, kBaseFilter),
         "( " + sel + " ) and ( Fech_Prox_Repa <= '20050309' )"},
        {"due window, same day", dueDate(window(false), state, kBaseFilter),
         "( " + sel + " ) and ( Fech_Prox_Repa <= '20050309' )and (Fech_Ulti_Repa <> 20050309)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.got, c.want);
    }

    // Window selection whose selection filter is the base filter: the due condition joins the
    // base filter, not a bracketed copy of it.
    SelectionState plain{kBaseFilter, "", true};
    EXPECT_EQ(dueDate(window(true), plain, kBaseFilter),
              "Fech_Prox_Repa <= '20050309' and  (Nive_fich <> 0 ) ");
}

TEST(Selection, QuickSelectionKeepsAnActiveWindowSelectionForLater) {
    const QString sel = QStringLiteral("Nive_Impo = 2 and ") + kBaseFilter;
    SelectionState active{sel, "", true};
    EXPECT_EQ(review::applySelection(quick(levels({3}), true), sel, active), "Nive_Fich = 3");
    EXPECT_EQ(active.savedSelectionFilter, sel);

    SelectionState inactive{kBaseFilter, "", false};
    EXPECT_EQ(review::applySelection(quick(levels({}), true), "Nive_Fich = 2", inactive),
              kBaseFilter);
    EXPECT_EQ(inactive.savedSelectionFilter, "");

    EXPECT_EQ(review::applySelection(window(true), "Nive_Fich = 2", active), sel);
}

// Neither the saved selection filter nor the filter handed back after a quick-selection review is
// ever empty: an empty filter would show the parked level-0 cards.
TEST(Selection, TheHandBackNeverLeavesTheTableWithoutAFilter) {
    const QString sel = QStringLiteral("Nive_Impo = 2 and ") + kBaseFilter;
    for (const QString& current : {QString(), QStringLiteral("  ")}) {
        SelectionState active{sel, sel, true};
        review::applySelection(quick(levels({1}), true), current, active);
        EXPECT_EQ(active.savedSelectionFilter, kBaseFilter);
    }
    struct Case {
        QString saved;
        QString handedBack;
    };
    const Case cases[] = {
        {sel, sel}, {kBaseFilter, kBaseFilter}, {"", kBaseFilter}, {" ", kBaseFilter}};
    for (const Case& c : cases)
        EXPECT_EQ(review::handBackFilter({sel, c.saved, true}), c.handedBack)
            << c.saved.toStdString();
}

TEST(Selection, InitialModeAndModeSwitch) {
    EXPECT_EQ(review::initialMode(kBaseFilter), SelectionMode::Quick);
    EXPECT_EQ(review::initialMode("( Nive_Fich <> 0 ) "), SelectionMode::Window);
    EXPECT_EQ(review::initialMode(""), SelectionMode::Window);

    const SelectionState active{"Nive_Fich = 4", "", true};
    const SelectionState inactive{"Nive_Fich = 4", "", false};
    EXPECT_EQ(review::modeSwitchFilter(SelectionMode::Window, active), "Nive_Fich = 4");
    EXPECT_EQ(review::modeSwitchFilter(SelectionMode::Window, inactive), "");
    EXPECT_EQ(review::modeSwitchFilter(SelectionMode::Quick, active), "");
}

TEST(Selection, TimedReviewAddsTheBareDueDateAndNeverTheSameDayCondition) {
    const auto none = review::timedReviewFilters("   ", kToday);
    EXPECT_EQ(none.saved, "( Nive_Fich <> 0 ) ");
    EXPECT_EQ(none.session, "( Nive_Fich <> 0 )  and (Fech_Prox_Repa <= 20050309)");

    const auto base = review::timedReviewFilters(kBaseFilter, kToday);
    EXPECT_EQ(base.saved, kBaseFilter);
    EXPECT_EQ(base.session, " (Nive_fich <> 0 )  and (Fech_Prox_Repa <= 20050309)");
    EXPECT_FALSE(base.session.contains("Fech_Ulti_Repa"));
}

using SelectionOnCards = review_test::CardTableFixture;

TEST_F(SelectionOnCards, BuiltFiltersParseAndChooseTheRightCards) {
    const auto id = addCards({
        {0, "", 0, "20050301"},         // 0: parked
        {1, "", 0, ""},                 // 1: never reviewed, no due date
        {2, "20050309", 1, "20050310"}, // 2: changed today
        {2, "20050301", 1, "20050309"}, // 3: due today
        {3, "20050201", 1, "20050401"}, // 4: not due
        {3, "20050201", 1, "20050308"}, // 5: overdue
        {9, "20050201", 1, "20050309"}, // 6: due, level 9
    });
    SelectionState state{kBaseFilter, "", false};

    EXPECT_EQ(selected(repasar(quick(levels({2, 3}), false), state, kBaseFilter)),
              (std::vector<qint64>{id[3], id[4], id[5]}));
    EXPECT_EQ(selected(repasar(quick(levels({2, 3}), true), state, kBaseFilter)),
              (std::vector<qint64>{id[2], id[3], id[4], id[5]}));
    // Quick selection without a level ignores the due dates and takes every level above 0.
    EXPECT_EQ(selected(repasar(quick(levels({}), true), state, kBaseFilter)),
              (std::vector<qint64>{id[1], id[2], id[3], id[4], id[5], id[6]}));
    EXPECT_EQ(selected(dueDate(quick(levels({}), false), state, kBaseFilter)),
              (std::vector<qint64>{id[1], id[3], id[5], id[6]}));
    EXPECT_EQ(selected(dueDate(quick(levels({3}), true), state, kBaseFilter)),
              (std::vector<qint64>{id[5]}));

    // Window selection with the due date glued to the same-day condition (")and").
    SelectionState win{QStringLiteral("Nive_Fich >= 2 and ") + kBaseFilter, "", true};
    EXPECT_EQ(selected(dueDate(window(false), win, kBaseFilter)),
              (std::vector<qint64>{id[3], id[5], id[6]}));

    // Timed review: the bare date selects what the quoted one does.
    const auto timed = review::timedReviewFilters("", kToday);
    EXPECT_EQ(selected(timed.session), selected(dueDate(quick(levels({}), true), state, "")));
    EXPECT_EQ(selected(timed.session), (std::vector<qint64>{id[1], id[3], id[5], id[6]}));
}
