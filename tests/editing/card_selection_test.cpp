#include "editing/card_selection.h"

#include "platform/table/table.h"
#include "review/card_table_fixture.h"
#include "studyfile/card_table.h"

#include <gtest/gtest.h>

using editing::ConditionRow;
using review::SelectionState;
using studyfile::kBaseFilter;

namespace {

// A row with the operator "=": the value box of the level (0) or key (1) field, or the date box
// of the date field (3).
ConditionRow row(int field, const QString& text) {
    ConditionRow r;
    r.field = field;
    r.op = 0;
    (field == 3 ? r.dateText : r.value) = text;
    return r;
}

const QString kLevel2 = QStringLiteral("Nive_Fich=2 and  (Nive_fich <> 0 ) ");
const QString kLevel3 = QStringLiteral("Nive_Fich=3 and  (Nive_fich <> 0 ) ");

class CardSelectionTest : public review_test::CardTableFixture {
protected:
    void SetUp() override {
        CardTableFixture::SetUp();
        addCards({{0}, {1}, {2}, {2}, {3}});
        selectLevel2();
    }

    // A selection of level 2 in force, as "  S&elección" left it.
    void selectLevel2() {
        cards_.setFilter(kLevel2);
        cards_.setFiltered(true);
        state_ = {kLevel2, kLevel2, true};
    }

    SelectionState state_;
};

TEST_F(CardSelectionTest, EachStepLeavesTheTableAndTheSharedStateAlike) {
    studyfile::DesignOptions noKey;
    noKey.cardKey = false;
    struct Case {
        const char* name;
        std::vector<ConditionRow> rows; // empty: "  &Quitar Selección"
        studyfile::DesignOptions design;
        QString filter; // what the table, the selection and the saved selection hold
        bool active;
        int count;
    };
    const Case cases[] = {
        {"Selección", {row(0, "3")}, {}, kLevel3, true, 1},
        {"Quitar", {}, {}, kBaseFilter, false, 4},
        {"incomplete condition", {row(0, "")}, {}, kBaseFilter, false, 4},
        {"bad digits change nothing", {row(0, "3a")}, {}, kLevel2, true, 2},
        {"impossible date changes nothing", {row(3, "30/02/24")}, {}, kLevel2, true, 2},
        {"unused field changes nothing", {row(1, "a")}, noKey, kLevel2, true, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        selectLevel2();
        if (c.rows.empty())
            editing::removeCardSelection(cards_, state_);
        else
            editing::selectCards(cards_, c.rows, true, c.design, state_);
        EXPECT_EQ(cards_.filter(), c.filter);
        EXPECT_TRUE(cards_.filtered());
        EXPECT_EQ(state_.selectionFilter, c.filter);
        EXPECT_EQ(state_.savedSelectionFilter, c.filter);
        EXPECT_EQ(state_.selectionActive, c.active);
        EXPECT_EQ(cards_.recordCount(), c.count);
    }
}

TEST_F(CardSelectionTest, AQuickSelectionReviewAfterQuitarDoesNotBringTheSelectionBack) {
    editing::removeCardSelection(cards_, state_);
    // The quick selection narrows the table to its levels; afterwards the main screen hands the
    // selection in force back.
    review::SelectionRequest quick;
    quick.levels[0] = true;
    cards_.setFilter(review::applySelection(quick, cards_.filter(), state_));
    EXPECT_EQ(review::handBackFilter(state_), kBaseFilter);
}

TEST_F(CardSelectionTest, ASelectionTheEngineRefusesChangesNothing) {
    cards_.setFiltered(false);
    EXPECT_THROW(editing::applyCardSelection(cards_, "Nive_Fich=", state_), table::EngineError);
    EXPECT_EQ(cards_.filter(), kLevel2);
    EXPECT_FALSE(cards_.filtered());
    EXPECT_EQ(state_.selectionFilter, kLevel2);
    EXPECT_EQ(state_.savedSelectionFilter, kLevel2);
    EXPECT_TRUE(state_.selectionActive);
}

} // namespace
