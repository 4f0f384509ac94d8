#include "review/promotion.h"

#include "card_table_fixture.h"
#include "studyfile/card_table.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>

using review::Comparison;

namespace {

TEST(PromotionConditions, FilterTexts) {
    struct Case {
        QString built;
        QString expected;
    };
    const Case cases[] = {
        {review::importanceCondition(Comparison::GreaterOrEqual, 3),
         "Nive_Fich = 0 and Nive_Impo >=3"},
        {review::importanceCondition(Comparison::Less, 0), "Nive_Fich = 0 and Nive_Impo <0"},
        {review::keyCondition(Comparison::Equal, "O'Hara"),
         "Nive_Fich = 0 and Clav_Fich ='O''Hara'"},
        {review::keyCondition(Comparison::LessOrEqual, "  verbos "),
         "Nive_Fich = 0 and Clav_Fich <='verbos'"},
        {review::keyCondition(Comparison::Greater, ""), "Nive_Fich = 0 and Clav_Fich >''"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.built, c.expected);
}

TEST(PromotionConditions, OperatorsReadBackAndOthersAreRefused) {
    for (Comparison c : {Comparison::Equal, Comparison::Greater, Comparison::GreaterOrEqual,
                         Comparison::Less, Comparison::LessOrEqual})
        EXPECT_EQ(review::comparisonFromOperator(review::comparisonOperator(c)), c);
    for (const char* text : {"", "<>", "==", "=>", " =", "≥"})
        EXPECT_FALSE(review::comparisonFromOperator(QString::fromUtf8(text))) << text;
}

TEST(PromotionFields, DigitFieldsReadOnlyAsciiDigitsUpToTheirWidth) {
    struct Case {
        const char* text;
        int digits;
        std::optional<int> number;
    };
    const Case cases[] = {
        {"10", 3, 10},           {"007", 3, 7},           {"0", 3, 0},
        {"999999", 6, 999999},   {"", 3, std::nullopt},   {"1000", 3, std::nullopt},
        {" 5", 3, std::nullopt}, {"5 ", 3, std::nullopt}, {"+5", 3, std::nullopt},
        {"-5", 3, std::nullopt}, {"1a", 3, std::nullopt}, {"٣", 3, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(review::digitsNumber(QString::fromUtf8(c.text), c.digits), c.number) << c.text;
}

TEST(PromotionMessages, Texts) {
    EXPECT_EQ(review::promotedMessage(QStringLiteral("010")), "010  Fichas han pasado al Nivel 1.");
    EXPECT_EQ(review::promotedMessage(0), "0  Fichas han pasado al Nivel 1.");
    EXPECT_EQ(review::promotedMessage(12), "12  Fichas han pasado al Nivel 1.");
    EXPECT_EQ(review::level0CountText(7), "7  Fichas en el Nivel 0.");
    EXPECT_EQ(review::kNotEnoughLevel0Message, "No hay tantas fichas en el Nivel 0.");
    EXPECT_EQ(review::kNoLevel0Message, "No hay fichas en el Nivel 0");
}

// Level-0 cards A to E whose importances put them in the table order C, B, E, D, A, and a card
// F at level 2 that meets the importance and empty-key conditions.
class PromotionTest : public review_test::CardTableFixture {
protected:
    void SetUp() override {
        CardTableFixture::SetUp();
        fill();
    }

    // A fresh table holding the cards, filtered by the base filter.
    void fill() {
        cards_.close();
        // The filter outlives the close; the cards are added through an unfiltered view.
        cards_.setFiltered(false);
        cards_.setFilter(QString());
        studyfile::createCardTable(dir_.filePath("Curso.DB"));
        cards_.open(dir_.path(), "Curso.DB");
        id_.clear();
        const auto ids = addCards({
            {0, "20240110", 4, "20240201", 5, "verbos"},
            {0, "20240111", 2, "", 3, "O'Hara"},
            {0, "", 0, "20240301", 1, ""},
            {0, "20240112", 7, "20240401", 4, ""},
            {0, "", 1, "", 3, "nombres"},
            {2, "20240113", 3, "20240501", 9, ""},
        });
        for (std::size_t i = 0; i < ids.size(); ++i)
            id_[QChar(u'A' + int(i))] = ids[i];
        cards_.setFilter(studyfile::kBaseFilter);
        cards_.setFiltered(true);
    }

    qint64 id(char name) const { return id_.at(QChar::fromLatin1(name)); }
    std::set<qint64> ids(const QString& names) const {
        std::set<qint64> out;
        for (QChar c : names)
            out.insert(id_.at(c));
        return out;
    }

    // Every row of the table, read through a fresh unfiltered connection.
    std::map<qint64, std::map<std::string, std::string>> rows() const {
        table::Table t;
        t.open(dir_.path(), "Curso.DB");
        std::map<qint64, std::map<std::string, std::string>> out;
        for (t.first(); !t.eof(); t.next()) {
            auto& row = out[t.fieldByName("AutoInc").asInteger()];
            for (const table::FieldDef& def : t.fieldDefs())
                row[def.name.toStdString()] =
                    t.fieldByName(def.name).isNull()
                        ? std::string("<blank>")
                        : t.fieldByName(def.name).asString().toStdString();
        }
        return out;
    }

    std::map<QChar, qint64> id_;
};

TEST_F(PromotionTest, PromotesExactlyTheChosenCardsAndOnlyTheirLevel) {
    using Run = std::function<std::optional<int>(table::Table&)>;
    struct Case {
        const char* name;
        Run run;
        QString promoted; // card names
        QString message;
    };
    const auto condition = [](QString filter, std::optional<int> limit) -> Run {
        return [=](table::Table& t) { return review::promoteByCondition(t, filter, limit); };
    };
    const auto marks = [this](QString names) -> Run {
        std::vector<qint64> keys;
        for (QChar c : names)
            keys.push_back(id_.count(c) ? id_.at(c) : 999);
        return [=](table::Table& t) { return review::promoteCards(t, keys); };
    };
    const auto importance = [](Comparison c, int n) { return review::importanceCondition(c, n); };
    const auto key = [](Comparison c, QString k) { return review::keyCondition(c, k); };
    const QString notEnough = review::kNotEnoughLevel0Message;
    const Case cases[] = {
        {"count 3", [](table::Table& t) { return review::promoteByCount(t, 3); }, "CBE",
         "3  Fichas han pasado al Nivel 1."},
        {"count 0", [](table::Table& t) { return review::promoteByCount(t, 0); }, "",
         "0  Fichas han pasado al Nivel 1."},
        {"count 5", [](table::Table& t) { return review::promoteByCount(t, 5); }, "ABCDE",
         "5  Fichas han pasado al Nivel 1."},
        {"count 6", [](table::Table& t) { return review::promoteByCount(t, 6); }, "", notEnough},
        {"importance >= 3, no limit", condition(importance(Comparison::GreaterOrEqual, 3), {}),
         "BEDA", "4  Fichas han pasado al Nivel 1."},
        {"importance >= 3, limit 2", condition(importance(Comparison::GreaterOrEqual, 3), 2), "BE",
         "2  Fichas han pasado al Nivel 1."},
        {"importance >= 3, limit 0", condition(importance(Comparison::GreaterOrEqual, 3), 0), "",
         "0  Fichas han pasado al Nivel 1."},
        {"importance >= 3, limit above the matches",
         condition(importance(Comparison::GreaterOrEqual, 3), 9), "BEDA",
         "4  Fichas han pasado al Nivel 1."},
        {"importance < 3", condition(importance(Comparison::Less, 3), {}), "C",
         "1  Fichas han pasado al Nivel 1."},
        {"key = O'Hara", condition(key(Comparison::Equal, "O'Hara"), {}), "B",
         "1  Fichas han pasado al Nivel 1."},
        {"key = empty", condition(key(Comparison::Equal, ""), {}), "CD",
         "2  Fichas han pasado al Nivel 1."},
        {"a condition that lets another level through", condition("Nive_Impo >= 4", {}), "DA",
         "2  Fichas han pasado al Nivel 1."},
        {"marks B, D", marks("BD"), "BD", "2  Fichas han pasado al Nivel 1."},
        {"marks with a repeat, an unknown key and a level-2 card", marks("DBFDX"), "BD",
         "2  Fichas han pasado al Nivel 1."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fill();
        const auto start = rows();
        const std::optional<int> n = c.run(cards_);
        EXPECT_EQ(n ? review::promotedMessage(*n) : notEnough, c.message);
        EXPECT_EQ(cards_.filter(), studyfile::kBaseFilter);
        EXPECT_TRUE(cards_.filtered());

        const auto after = rows();
        ASSERT_EQ(after.size(), start.size());
        const std::set<qint64> expected = ids(c.promoted);
        for (const auto& [key, old] : start) {
            auto changed = old;
            if (expected.count(key))
                changed["Nive_Fich"] = "1";
            // Dates, review total and every other field stay as they were.
            EXPECT_EQ(after.at(key), changed) << "card " << key;
        }
    }
}

TEST_F(PromotionTest, TheFilterFoundIsPutBack) {
    struct Case {
        const char* name;
        QString text;
        bool filtered;
    };
    const Case cases[] = {
        {"the promotion screen's level-0 view", review::kLevel0Filter, true},
        {"a selection", "Clav_Fich='verbos*' and  (Nive_fich <> 0 ) ", true},
        {"filtering off, with a text never compiled", "Nive_Fich = = 3", false},
        {"no filter", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fill();
        cards_.setFiltered(false);
        cards_.setFilter(c.text);
        cards_.setFiltered(c.filtered);
        EXPECT_EQ(review::countLevel0(cards_), 5);
        EXPECT_EQ(review::countLevel0(cards_, review::importanceCondition(Comparison::Equal, 3)),
                  2);
        EXPECT_EQ(review::promoteByCount(cards_, 1), 1);
        EXPECT_FALSE(review::promoteByCount(cards_, 9));
        EXPECT_EQ(review::promoteCards(cards_, {id('B')}), 1);
        EXPECT_EQ(
            review::promoteByCondition(cards_, review::keyCondition(Comparison::Equal, ""), 1), 1);
        EXPECT_EQ(cards_.filter(), c.text);
        EXPECT_EQ(cards_.filtered(), c.filtered);
        EXPECT_EQ(cards_.state(), table::Table::State::Browse);
    }
}

// A promotion moves from card to card without a scroll event for each (every one would load that
// card's content): one afterScroll follows, on a card of the view put back.
TEST_F(PromotionTest, OneScrollEventPerPromotion) {
    std::vector<std::string> events;
    cards_.beforeScroll = [&] { events.push_back("before"); };
    cards_.afterScroll = [&] {
        events.push_back("after " + cards_.fieldByName("AutoInc").asString().toStdString());
    };
    struct Case {
        const char* name;
        std::function<void()> run;
        char shown; // the first card of the base filter afterwards
    };
    const Case cases[] = {
        {"count", [&] { review::promoteByCount(cards_, 3); }, 'C'},
        {"marks",
         [&] {
             review::promoteCards(cards_, {id('D'), id('A')});
         },
         'D'},
        {"condition",
         [&] { review::promoteByCondition(cards_, review::keyCondition(Comparison::Equal, "")); },
         'C'},
        {"count only", [&] { review::countLevel0(cards_); }, 'F'},
    };
    for (const Case& c : cases) {
        fill();
        events.clear();
        c.run();
        EXPECT_EQ(events, std::vector<std::string>({"after " + std::to_string(id(c.shown))}))
            << c.name;
    }
}

TEST_F(PromotionTest, ARefusedConditionChangesNothing) {
    const auto before = rows();
    EXPECT_THROW(review::promoteByCondition(cards_, "Nive_Fich = 0 and Nive_Impo >="),
                 table::EngineError);
    EXPECT_THROW(review::countLevel0(cards_, "Nive_Fich = 0 and Clav_Fich ="), table::EngineError);
    EXPECT_EQ(cards_.filter(), studyfile::kBaseFilter);
    EXPECT_TRUE(cards_.filtered());
    EXPECT_EQ(rows(), before);
}

TEST_F(PromotionTest, TheFirstKeyNotAtLevel0) {
    EXPECT_EQ(review::firstNotAtLevel0(cards_, {id('A'), id('E')}), std::nullopt);
    EXPECT_EQ(review::firstNotAtLevel0(cards_, {id('A'), id('F'), 999}), id('F'));
    EXPECT_EQ(review::firstNotAtLevel0(cards_, {999, id('F')}), 999);
    EXPECT_EQ(cards_.filter(), studyfile::kBaseFilter);
}

} // namespace
