#include "editing/selection_filter.h"

#include "review/card_table_fixture.h"
#include "studyfile/card_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using editing::ConditionRow;
using editing::SelectionRefusal;
using review_test::CardRow;
using studyfile::kBaseFilter;

namespace {

// Field and operator indices of the combos.
enum { Nive = 0, Clav = 1, Impo = 2, Fech = 3, Total = 4 };
enum { Eq = 0, Gt = 1, Ge = 2, Lt = 3, Le = 4, Ne = 5, Untouched = -1 };
enum { O = 0, Y = 1 };

ConditionRow row(int field, int op, const QString& value) {
    ConditionRow r;
    r.field = field;
    r.op = op;
    if (field == Fech)
        r.dateText = value;
    else
        r.value = value;
    return r;
}

ConditionRow row(int connector, int field, int op, const QString& value) {
    ConditionRow r = row(field, op, value);
    r.connector = connector;
    return r;
}

studyfile::DesignOptions everyField() {
    studyfile::DesignOptions d;
    d.cardKey = true;
    d.importanceLevel = true;
    return d;
}

// Two parked level-0 cards (one with a key, a review date and a total that match many rows),
// cards never reviewed or without key or importance, keys with a quote and a prefix.
const std::vector<CardRow> kCards = {
    {0, "20240301", 7, "", 2, "verbos"},       // 0: parked
    {0, "", 0, "", 0, ""},                     // 1: parked, every field blank
    {1, "", 0, "", 0, ""},                     // 2: never reviewed, blank key and importance
    {2, "20240305", 4, "", 2, "verbos"},       // 3
    {3, "20240310", 7, "", 1, "verbos irreg"}, // 4
    {2, "20240503", 1, "", 3, "nombres"},      // 5
    {1, "20240228", 2, "", 0, "O'Hara"},       // 6
    {4, "20240305", 9, "", 2, "b"},            // 7
};

class SelectionFilterTest : public review_test::CardTableFixture {
protected:
    void SetUp() override {
        CardTableFixture::SetUp();
        ids_ = addCards(kCards);
    }

    // The AutoInc values of the cards (indices into kCards) in table order: level, importance
    // (blank first), AutoInc.
    std::vector<qint64> inTableOrder(std::vector<int> cards) const {
        const auto key = [](int i) {
            const CardRow& c = kCards[static_cast<std::size_t>(i)];
            return std::make_tuple(c.level, c.importance, i);
        };
        std::sort(cards.begin(), cards.end(), [&](int a, int b) { return key(a) < key(b); });
        std::vector<qint64> out;
        for (int i : cards)
            out.push_back(ids_[static_cast<std::size_t>(i)]);
        return out;
    }

    std::vector<qint64> ids_;
};

TEST_F(SelectionFilterTest, RowsGiveTheExactFilterAndChooseTheRightCards) {
    struct Case {
        const char* name;
        std::vector<ConditionRow> rows;
        bool dayFirst;
        QString filter;
        std::vector<int> cards;
    };
    const QString base = QStringLiteral(" and ") + kBaseFilter;
    const Case cases[] = {
        {"no rows", {}, true, kBaseFilter, {2, 3, 4, 5, 6, 7}},
        {"level 2 alone", {row(Nive, Eq, "2")}, true, "Nive_Fich=2" + base, {3, 5}},
        {"operator never touched", {row(Nive, Untouched, "3")}, true, "Nive_Fich=3" + base, {4}},
        {"field never touched", {row(-1, Gt, "2")}, true, "Nive_Fich>2" + base, {4, 7}},
        {"key >= without asterisk",
         {row(Clav, Ge, "b")},
         true,
         "Clav_Fich>='b'" + base,
         {3, 4, 5, 7}},
        {"key < with asterisk, blank key lower",
         {row(Clav, Lt, "b")},
         true,
         "Clav_Fich<'b*'" + base,
         {2, 6, 7}},
        {"key with a quote", {row(Clav, Eq, "O'Hara")}, true, "Clav_Fich='O''Hara*'" + base, {6}},
        {"key prefix", {row(Clav, Eq, "verbos")}, true, "Clav_Fich='verbos*'" + base, {3, 4}},
        {"date day first",
         {row(Fech, Eq, "05/03/24")},
         true,
         "Fech_Ulti_Repa='20240305'" + base,
         {3, 7}},
        {"date month first",
         {row(Fech, Eq, "05/03/24")},
         false,
         "Fech_Ulti_Repa='20240503'" + base,
         {5}},
        {"date with blanks",
         {row(Fech, Eq, " 5/ 3/24")},
         true,
         "Fech_Ulti_Repa='20240305'" + base,
         {3, 7}},
        {"never reviewed passes an earlier date",
         {row(Fech, Lt, "01/03/24")},
         true,
         "Fech_Ulti_Repa<'20240301'" + base,
         {2, 6}},
        {"importance", {row(Impo, Le, "1")}, true, "Nive_Impo<=1" + base, {2, 6, 4}},
        {"total different", {row(Total, Ne, "0")}, true, "Total_Repa<>0" + base, {3, 4, 5, 6, 7}},
        {"the two-row example",
         {row(Nive, Ge, "3"), row(Y, Clav, Eq, "verbos")},
         true,
         "Nive_Fich>=3 AND Clav_Fich='verbos*'" + base,
         {4}},
        {"an O pair keeps level 0 out",
         {row(Nive, Lt, "2"), row(O, Clav, Eq, "verbos")},
         true,
         "(Nive_Fich<2 OR Clav_Fich='verbos*')" + base,
         {2, 6, 3, 4}},
        {"an untouched connector is O",
         {row(Nive, Eq, "4"), row(-1, Total, Lt, "1")},
         true,
         "(Nive_Fich=4 OR Total_Repa<1)" + base,
         {2, 7}},
        {"Y and O mixed",
         {row(Nive, Eq, "2"), row(Y, Impo, Eq, "2"), row(O, Total, Gt, "5")},
         true,
         "(Nive_Fich=2 AND Nive_Impo=2 OR Total_Repa>5)" + base,
         {3, 4, 7}},
        {"the first row's connector is not read",
         {row(Y, Nive, Eq, "1")},
         true,
         "Nive_Fich=1" + base,
         {2, 6}},
        {"six rows",
         {row(Nive, Eq, "1"), row(O, Nive, Eq, "2"), row(O, Nive, Eq, "3"), row(Y, Total, Gt, "1"),
          row(O, Clav, Eq, "b"), row(Y, Fech, Ge, "06/03/24")},
         true,
         "(Nive_Fich=1 OR Nive_Fich=2 OR Nive_Fich=3 AND Total_Repa>1 OR Clav_Fich='b*' AND "
         "Fech_Ulti_Repa>='20240306')" +
             base,
         {2, 6, 3, 5, 4}},
        {"a longer value is cut as the box cuts it",
         {row(Nive, Eq, "12345678901234567890")},
         true,
         "Nive_Fich=123456789012345" + base,
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const editing::SelectionFilter built =
            editing::buildSelectionFilter(c.rows, c.dayFirst, everyField());
        ASSERT_TRUE(built.accepted()) << built.message.toStdString();
        EXPECT_EQ(built.filter, c.filter);
        EXPECT_EQ(selected(built.filter), inTableOrder(c.cards));
    }
}

TEST(SelectionFilter, RefusalsComeInTheirOrderWithTheirMessages) {
    studyfile::DesignOptions noKeyNoImportance;
    noKeyNoImportance.cardKey = false;
    noKeyNoImportance.importanceLevel = false;
    struct Case {
        const char* name;
        std::vector<ConditionRow> rows;
        studyfile::DesignOptions design;
        SelectionRefusal refusal;
        int row;
        QString message;
    };
    const Case cases[] = {
        {"empty value",
         {row(Nive, Eq, "")},
         everyField(),
         SelectionRefusal::Incomplete,
         0,
         "La condición de selección no está completa"},
        {"row 3 in use and empty",
         {row(Nive, Eq, "2"), row(Y, Clav, Eq, "a"), row(Y, Total, Eq, "")},
         everyField(),
         SelectionRefusal::Incomplete,
         2,
         editing::kIncompleteConditionMessage},
        {"date without month",
         {row(Fech, Eq, "05/  /24")},
         everyField(),
         SelectionRefusal::Incomplete,
         0,
         editing::kIncompleteConditionMessage},
        {"date box empty",
         {row(Fech, Eq, "  /  /  ")},
         everyField(),
         SelectionRefusal::Incomplete,
         0,
         editing::kIncompleteConditionMessage},
        {"empty date text",
         {row(Fech, Eq, "")},
         everyField(),
         SelectionRefusal::Incomplete,
         0,
         editing::kIncompleteConditionMessage},
        {"letters",
         {row(Nive, Eq, "3a")},
         everyField(),
         SelectionRefusal::NotDigits,
         0,
         editing::kDigitsOnlyMessage},
        {"a condition typed as a value",
         {row(Total, Eq, "1 OR Nive_Fich=0")},
         everyField(),
         SelectionRefusal::NotDigits,
         0,
         editing::kDigitsOnlyMessage},
        {"Arabic-Indic digit",
         {row(Impo, Eq, QStringLiteral("\u0663"))},
         everyField(),
         SelectionRefusal::NotDigits,
         0,
         editing::kDigitsOnlyMessage},
        {"sign",
         {row(Nive, Gt, "-1")},
         everyField(),
         SelectionRefusal::NotDigits,
         0,
         editing::kDigitsOnlyMessage},
        {"blank before the number",
         {row(Nive, Eq, "2"), row(Y, Nive, Eq, " 2")},
         everyField(),
         SelectionRefusal::NotDigits,
         1,
         editing::kDigitsOnlyMessage},
        {"impossible date",
         {row(Fech, Eq, "31/02/24")},
         everyField(),
         SelectionRefusal::InvalidDate,
         0,
         "La fecha de la condición de selección no es válida."},
        {"key not used",
         {row(Nive, Eq, "1"), row(O, Clav, Eq, "a")},
         noKeyNoImportance,
         SelectionRefusal::FieldNotUsed,
         1,
         "       El apartado CLAVE está \r\rdesactivado en este Fichero de Estudio"},
        {"importance not used",
         {row(Impo, Eq, "1")},
         noKeyNoImportance,
         SelectionRefusal::FieldNotUsed,
         0,
         "El apartado NIVEL DE IMPORTANCIA está \r\rdesactivado en este Fichero de Estudio"},
        {"incomplete before bad digits",
         {row(Nive, Eq, "x"), row(Y, Nive, Eq, "")},
         everyField(),
         SelectionRefusal::Incomplete,
         1,
         editing::kIncompleteConditionMessage},
        {"field not used before bad digits",
         {row(Nive, Eq, "x"), row(Y, Clav, Eq, "a")},
         noKeyNoImportance,
         SelectionRefusal::FieldNotUsed,
         1,
         editing::kKeyNotUsedMessage},
        {"bad digits before a bad date",
         {row(Fech, Eq, "31/02/24"), row(Y, Nive, Eq, "x")},
         everyField(),
         SelectionRefusal::NotDigits,
         1,
         editing::kDigitsOnlyMessage},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const editing::SelectionFilter built =
            editing::buildSelectionFilter(c.rows, true, c.design);
        EXPECT_EQ(built.refusal, c.refusal);
        EXPECT_EQ(built.row, c.row);
        EXPECT_EQ(built.message, c.message);
        EXPECT_TRUE(built.filter.isEmpty());
    }
    // The digits message as the screen shows it.
    EXPECT_TRUE(editing::kDigitsOnlyMessage.startsWith(
        QStringLiteral("Los apartados:\r\r  'Nivel de la Ficha'\r  'Nivel de Importancia'  y\r")));
    EXPECT_TRUE(editing::kDigitsOnlyMessage.endsWith(
        QStringLiteral("corrija el error\ro borre el texto cuando acepte este mensaje.")));
}

} // namespace
