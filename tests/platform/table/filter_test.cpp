// Filter expressions against a small table: expression -> selected rows in table order.
#include "platform/table/filter.h"
#include "platform/table/table.h"

#include "support/table_fixture.h"

#include <gmock/gmock.h>

#include <gtest/gtest.h>
#include <random>

using table::EngineError;
using table::Table;
using table_test::Row;
using ::testing::HasSubstr;

namespace {

class FilterTest : public table_test::TableFixture {
protected:
    void SetUp() override {
        TableFixture::SetUp();
        // Rows 1..8; table order by level (blank first), importance, AutoInc: 6 1 3 2 4 8 5 7.
        addRows({
            {0, 1, "abc", "", "20240105", true},    // 1
            {1, 2, "Abc", "", "", false},           // 2
            {1, QVariant(), "abd", "", "20240110"}, // 3
            {2, 1, "", "", "20231231", true},       // 4
            {6, 3, "it's", "", "20240105", false},  // 5
            {QVariant(), 0, "ab", "", "20240201"},  // 6
            {7, 2, "b*c", "", "20240105"},          // 7
            {3, 1, "", "Hola mundo", "20240106"},   // 8
        });
        t_.setFiltered(true);
        t_.open(dirPath(), "T.DB");
    }

    std::vector<qint64> select(const QString& expr) {
        t_.setFilter(expr);
        std::vector<qint64> walked = walk(t_);
        EXPECT_EQ(walked, t_.visibleKeys());
        EXPECT_EQ(static_cast<int>(walked.size()), t_.recordCount());
        return walked;
    }

    Table t_;
};

struct Case {
    const char* expr;
    std::vector<qint64> rows;
};

} // namespace

TEST_F(FilterTest, ExpressionsSelectTheirRows) {
    const std::vector<Case> cases = {
        // Blank text means every row.
        {"", {6, 1, 3, 2, 4, 8, 5, 7}},
        {"   ", {6, 1, 3, 2, 4, 8, 5, 7}},
        // Integers; a blank level is unequal to 0 and lower than every number.
        {" (Nive_fich <> 0 ) ", {6, 3, 2, 4, 8, 5, 7}},
        {"( Nive_Fich <> 0 ) ", {6, 3, 2, 4, 8, 5, 7}},
        {"Nive_Fich = 0", {1}},
        {"nive_fich = 0", {1}},
        {"NIVE_FICH=1", {3, 2}},
        {"nive_fich >= 6", {5, 7}},
        {"Nive_Fich > 3", {5, 7}},
        {"Nive_Fich < 2", {6, 1, 3, 2}},
        {"Nive_Fich <= 1", {6, 1, 3, 2}},
        {"Nive_Fich = -1", {}},
        {"Nive_Impo = '2'", {2, 7}},
        {"AutoInc = 5", {5}},
        // Quoted texts: case-sensitive, doubled quotes, the empty text equals a blank.
        {"Clav_Fich = 'abc'", {1}},
        {"Clav_Fich = 'Abc'", {2}},
        {"Clav_Fich <> 'abc'", {6, 3, 2, 4, 8, 5, 7}},
        {"Clav_Fich = 'it''s'", {5}},
        {"Clav_Fich < 'ab'", {2, 4, 8}},
        {"Clav_Fich > 'ab'", {1, 3, 5, 7}},
        {"Clav_Fich = ''", {4, 8}},
        {"Clav_Fich <> ''", {6, 1, 3, 2, 5, 7}},
        {"Clav_Fich < ''", {}},
        {"Clav_Fich >= ''", {6, 1, 3, 2, 4, 8, 5, 7}},
        {"Preg_Text = 'Hola mundo'", {8}},
        {"Preg_Text = 'hola mundo'", {}},
        // Quoted prefix with an asterisk.
        {"Clav_Fich = 'ab*'", {6, 1, 3}},
        {"Clav_Fich <> 'ab*'", {2, 4, 8, 5, 7}},
        {"Clav_Fich = 'b*c'", {7}},
        {"Clav_Fich = 'b**'", {7}},
        {"Clav_Fich = '*'", {6, 1, 3, 2, 4, 8, 5, 7}},
        {"Clav_Fich <> '*'", {}},
        {"Clav_Fich > 'ab*'", {1, 3, 5, 7}}, // asterisk taken literally with ordering operators
        // Bare digits against a text field compare as text; a blank date is unequal and lower.
        {"Fech_Ulti_Repa <> 20240105", {6, 3, 2, 4, 8}},
        {"Fech_Ulti_Repa <= 20240105", {1, 2, 4, 5, 7}},
        {"Fech_Ulti_Repa <= '20240105'", {1, 2, 4, 5, 7}},
        {"Fech_Ulti_Repa > 20240105", {6, 3, 8}},
        {"Fech_Ulti_Repa = 20240105", {1, 5, 7}},
        // Booleans.
        {"Camp_Logi = true", {1, 4}},
        {"Camp_Logi = TRUE", {1, 4}},
        {"Camp_Logi <> true", {6, 3, 2, 8, 5, 7}},
        {"Camp_Logi = false", {2, 5}},
        // Connectors in any case, and before or, parentheses, free spaces.
        {"Nive_Fich = 1 and Nive_Impo = 2", {2}},
        {"Nive_Fich = 1 AND Nive_Impo = 2 OR Nive_Fich = 7", {2, 7}},
        {"Nive_Fich = 0 or Nive_Fich = 1 and Nive_Impo = 2", {1, 2}},
        {"Nive_Fich = 1 and Nive_Impo = 2 or Nive_Fich = 0", {1, 2}},
        {"(Nive_Fich = 0 or Nive_Fich = 1) and Nive_Impo = 2", {2}},
        {"Nive_Fich = 1 Or Nive_Fich = 3", {3, 2, 8}},
        {"((Nive_Fich = 1))", {3, 2}},
        {" (Nive_fich <> 0 )  and  (Fech_Ulti_Repa <> 20240105) ", {6, 3, 2, 4, 8}},
        {"( Nive_Fich <> 0 ) and(Fech_Ulti_Repa <= 20240105)", {2, 4, 5, 7}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expr);
        EXPECT_EQ(select(c.expr), c.rows);
    }
}

TEST_F(FilterTest, MalformedExpressionsNameTheProblem) {
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"Nive_Fich", "final"},
        {"Nive_Fich =", "final"},
        {"= 1", "\"=\""},
        {"Nive_Fich = 1 and", "final"},
        {"(Nive_Fich = 1", "\")\""},
        {"Nive_Fich = 1)", "\")\""},
        {"Nive_Fich == 1", "\"=\" en la posición 12"},
        {"Nive_Fich = 'abc", "comilla"},
        {"Nive_Fich ! 1", "\"!\""},
        {"Nive_Fich = 1 Nive_Impo = 2", "\"Nive_Impo\""},
        {"Nive_Fich = 12abc", "número"},
        {"Nivel = 1", "campo desconocido \"Nivel\""},
        {"Nive_Fich = true", "Nive_Fich"},
        {"Nive_Fich = 'x'", "Nive_Fich"},
        {"Camp_Logi = 1", "Camp_Logi"},
        {"Clav_Fich = true", "Clav_Fich"},
        {"Datos = 'x'", "Datos"},
        {"Nive_Fich = 1 or or Nive_Fich = 2", "\"or\""},
        {"()", "\")\""},
    };
    for (const auto& [expr, message] : cases) {
        SCOPED_TRACE(expr);
        try {
            t_.setFilter(expr);
            ADD_FAILURE() << "no error";
        } catch (const EngineError& e) {
            EXPECT_THAT(e.what(), HasSubstr(message));
        }
        // The filter in force is untouched.
        EXPECT_EQ(t_.filter(), "");
        EXPECT_EQ(t_.recordCount(), 8);
    }
}

TEST(FilterParse, AndBindsTighterThanOr) {
    const auto tree = table::filter::parse("a = 1 or b = 2 AND c = 3 Or d = 4");
    ASSERT_TRUE(tree);
    ASSERT_EQ(tree->kind, table::filter::Node::Kind::Or);
    ASSERT_EQ(tree->children.size(), 3u);
    EXPECT_EQ(tree->children[1]->kind, table::filter::Node::Kind::And);
    EXPECT_EQ(tree->children[0]->field, "a");
    EXPECT_EQ(tree->children[2]->value.text, "4");
    EXPECT_EQ(table::filter::parse("  "), nullptr);
}

TEST_F(FilterTest, RandomTokenSoupFailsOnlyWithEngineErrors) {
    const char* pieces[] = {"Nive_Fich", "clav_fich", "Camp_Logi", "Fech_Ulti_Repa",
                            "=",         "<>",        "<",         "<=",
                            ">=",        "(",         ")",         "and",
                            "OR",        "true",      "'a*'",      "'it''s'",
                            "''",        "3",         "-2",        "20240105",
                            "'",         "!",         " ",         "Datos"};
    std::mt19937 rng(11);
    int accepted = 0;
    for (int round = 0; round < 3000; ++round) {
        QString expr;
        const int n = 1 + static_cast<int>(rng() % 9);
        for (int i = 0; i < n; ++i)
            expr += QString(pieces[rng() % std::size(pieces)]) + (rng() % 3 ? " " : "");
        try {
            t_.setFilter(expr);
            ++accepted;
            EXPECT_EQ(static_cast<int>(walk(t_).size()), t_.recordCount()) << expr.toStdString();
        } catch (const EngineError&) {
        }
    }
    EXPECT_GT(accepted, 0);
}
