// Reads beside the cursor (keys by position, rows by key, counts under another filter), the view
// generation, and scroll events held back while a loop moves the cursor.
#include "platform/table/table.h"

#include "support/table_fixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

using table::EngineError;
using table::Table;
using table_test::errorOf;
using table_test::Row;
using table_test::TableFixture;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

// A table over the fixture's file whose scroll events are written down.
class WatchedTable {
public:
    explicit WatchedTable(const QString& path) {
        t.beforeScroll = [this] { log.push_back("before"); };
        t.afterScroll = [this] {
            log.push_back("after " + (t.isEmpty()
                                          ? std::string("-")
                                          : t.fieldByName("Preg_Text").asString().toStdString()));
        };
        t.setTableName(path);
    }
    Table t;
    std::vector<std::string> log;
};

// Five rows whose table order (level, importance, key) is C, A, E, B, D; D sits at level 2.
class ViewReadsTest : public TableFixture {
protected:
    void SetUp() override {
        TableFixture::SetUp();
        const auto ids = addRows({{1, 5, "verbos", "A", "20240101", true},
                                  {1, 9, "", "B"},
                                  {1, QVariant(), "O'Hara", "C", "", false},
                                  {2, 1, "nombres", "D"},
                                  {1, 7, "x", "E"}});
        for (std::size_t i = 0; i < ids.size(); ++i)
            id[char('A' + i)] = ids[i];
    }
    std::map<char, qint64> id;

    // A selection that lets C, A and E through.
    static constexpr const char* kSelection = "Clav_Fich = 'verbos*' or Nive_Impo >= 7";
    // Opens the table behind `filter` on its second visible row, with no event written down.
    static void openOnSecondRow(WatchedTable& w, const QString& filter) {
        w.t.setFilter(filter);
        w.t.setFiltered(true);
        w.t.open();
        w.t.next();
        w.log.clear();
    }
};

} // namespace

TEST_F(ViewReadsTest, KeysAndPositionsFollowTheViewAndLeaveTheCursor) {
    WatchedTable w(path());
    Table& t = w.t;
    t.setFilter("Nive_Fich = 1");
    t.setFiltered(true);
    t.open();
    t.next();
    w.log.clear();
    const std::vector<qint64> order{id['C'], id['A'], id['E'], id['B']};
    ASSERT_EQ(t.recordCount(), 4);
    for (int pos = 0; pos < 4; ++pos) {
        EXPECT_EQ(t.keyAt(pos), order[pos]) << pos;
        EXPECT_EQ(t.positionOfKey(order[pos]), pos) << pos;
    }
    EXPECT_EQ(t.positionOfKey(id['D']), -1); // filtered out
    EXPECT_EQ(t.positionOfKey(999), -1);
    EXPECT_THAT(errorOf([&] { t.keyAt(4); }), HasSubstr("posición 5"));
    EXPECT_THAT(errorOf([&] { t.keyAt(-1); }), HasSubstr("posición 0"));
    EXPECT_TRUE(w.log.empty());
    EXPECT_EQ(t.recNo(), 2);
    EXPECT_EQ(t.fieldByName("Preg_Text").asString(), "A");

    // A post that moves a row: the positions are those of the new order.
    t.edit();
    t.fieldByName("Nive_Impo").setInteger(99);
    t.post();
    EXPECT_EQ(t.keyAt(3), id['A']);
    EXPECT_EQ(t.positionOfKey(id['B']), 2);
}

TEST_F(ViewReadsTest, RowsAreReadByKeyInTheOrderAskedWithoutEvents) {
    WatchedTable w(path());
    Table& t = w.t;
    t.setFilter("Nive_Fich = 1");
    t.setFiltered(true);
    t.open();
    t.last();
    w.log.clear();

    // Names in any letter case; a key twice, a key without a row, a row the filter hides.
    const auto rows = t.readRows({id['E'], 999, id['C'], id['E'], id['D']},
                                 {"preg_text", "NIVE_IMPO", "Clav_Fich", "Camp_Logi", "AutoInc"});
    ASSERT_EQ(rows.size(), 5u);
    const auto values = [](std::initializer_list<QVariant> v) { return std::vector<QVariant>(v); };
    const QVariant blank;
    EXPECT_EQ(rows[0], values({"E", qint64(7), "x", blank, id['E']}));
    EXPECT_TRUE(rows[1].empty());
    EXPECT_EQ(rows[2], values({"C", blank, "O'Hara", qint64(0), id['C']}));
    EXPECT_EQ(rows[3], rows[0]);
    EXPECT_EQ(rows[4], values({"D", qint64(1), "nombres", blank, id['D']}));
    for (const QVariant& v : rows[2])
        EXPECT_EQ(v.isNull(), &v == &rows[2][1]) << "only the blank importance is null";

    EXPECT_TRUE(w.log.empty());
    EXPECT_EQ(t.recNo(), 4);
    EXPECT_EQ(t.fieldByName("Preg_Text").asString(), "B");
    EXPECT_TRUE(t.readRows({}, {"Preg_Text"}).empty());

    // What was posted through the table is what is read next.
    t.edit();
    t.fieldByName("Clav_Fich").setString("cambiada");
    t.post();
    EXPECT_EQ(t.readRows({id['B']}, {"Clav_Fich"})[0], values({"cambiada"}));

    // Large fields and unknown names are refused before anything is read.
    EXPECT_THAT(errorOf([&] {
                    t.readRows({id['A']}, {"Preg_Text", "Datos"});
                }),
                HasSubstr("Datos"));
    EXPECT_THAT(errorOf([&] { t.readRows({id['A']}, {"Nada"}); }), HasSubstr("Nada"));
    EXPECT_TRUE(w.log.empty());
    EXPECT_EQ(t.state(), Table::State::Browse);
}

// More keys than one statement takes: every row is read, in the order asked.
TEST_F(TableFixture, ReadRowsOverManyKeys) {
    Table t;
    t.setTableName(path());
    t.open();
    std::vector<qint64> keys;
    {
        table::BatchScope batch(t);
        for (int i = 0; i < 300; ++i) {
            t.append();
            t.fieldByName("Nive_Fich").setInteger(1);
            t.fieldByName("Nive_Impo").setInteger(i % 7);
            t.fieldByName("Preg_Text").setString(QString("P%1").arg(i));
            t.post();
        }
    }
    keys = t.visibleKeys();
    std::reverse(keys.begin(), keys.end());
    const auto rows = t.readRows(keys, {"AutoInc", "Nive_Impo"});
    ASSERT_EQ(rows.size(), keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        ASSERT_EQ(rows[i].size(), 2u) << i;
        EXPECT_EQ(rows[i][0].toLongLong(), keys[i]) << i;
    }
}

TEST_F(ViewReadsTest, CountMatchingLeavesViewCursorAndFilterAlone) {
    WatchedTable w(path());
    Table& t = w.t;
    openOnSecondRow(w, kSelection);
    const QString selection = kSelection;
    const quint64 generation = t.viewGeneration();

    struct Case {
        QString filter;
        int count;
    };
    const Case cases[] = {
        {"", 5},
        {"   ", 5},
        {"Nive_Fich = 1", 4},
        {"Nive_Fich = 0", 0},
        {"nive_fich = 1 and Clav_Fich = 'O''Hara'", 1},
        {"Nive_Fich = 1 and Clav_Fich = ''", 1},
        {"Nive_Fich = 1 and Nive_Impo >=7", 2},
        {selection, 3},
    };
    for (const Case& c : cases)
        EXPECT_EQ(t.countMatching(c.filter), c.count) << c.filter.toStdString();
    EXPECT_THROW(t.countMatching("Nive_Fich = 0 and Nive_Impo >="), EngineError);
    EXPECT_THAT(errorOf([&] { t.countMatching("Nivel = 1"); }), HasSubstr("Nivel"));

    EXPECT_TRUE(w.log.empty());
    EXPECT_EQ(t.filter(), selection);
    EXPECT_EQ(t.recordCount(), 3);
    EXPECT_EQ(t.recNo(), 2);
    EXPECT_EQ(t.viewGeneration(), generation);

    // With filtering off the text kept is not what counts either.
    t.setFiltered(false);
    EXPECT_EQ(t.countMatching("Nive_Fich = 2"), 1);
    t.close();
    EXPECT_THROW(t.countMatching(""), EngineError);
}

TEST_F(ViewReadsTest, SumWhereLeavesViewCursorAndFilterAlone) {
    WatchedTable w(path());
    Table& t = w.t;
    openOnSecondRow(w, kSelection);
    const QString selection = kSelection;
    const quint64 generation = t.viewGeneration();

    // Importances: A 5, B 9, C blank, D 1, E 7; levels: D 2, the others 1.
    struct Case {
        QString field;
        QString filter;
        qint64 sum;
    };
    const Case cases[] = {
        {"Nive_Impo", "", 22},
        {"nive_impo", "   ", 22},
        {"Nive_Impo", "Nive_Fich = 1", 21},
        {"Nive_Impo", "Clav_Fich = 'O''Hara'", 0}, // a blank value counts 0
        {"Nive_Impo", "Nive_Fich = 0", 0},         // so does no row at all
        {"NIVE_FICH", "", 6},
        {"Nive_Impo", selection, 21},
        {"Camp_Logi", "", 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(t.sumWhere(c.field, c.filter), c.sum)
            << c.field.toStdString() << " / " << c.filter.toStdString();
    EXPECT_THROW(t.sumWhere("Nive_Impo", "Nive_Fich = 0 and Nive_Impo >="), EngineError);
    EXPECT_THAT(errorOf([&] { t.sumWhere("Nive_Impo", "Nivel = 1"); }), HasSubstr("Nivel"));
    EXPECT_THAT(errorOf([&] { t.sumWhere("Total_Repa", ""); }), HasSubstr("Total_Repa"));
    EXPECT_THAT(errorOf([&] { t.sumWhere("Preg_Text", ""); }), HasSubstr("Preg_Text"));
    EXPECT_THAT(errorOf([&] { t.sumWhere("Datos", ""); }), HasSubstr("Datos"));

    EXPECT_TRUE(w.log.empty());
    EXPECT_EQ(t.filter(), selection);
    EXPECT_TRUE(t.filtered());
    EXPECT_EQ(t.recordCount(), 3);
    EXPECT_EQ(t.recNo(), 2);
    EXPECT_EQ(t.viewGeneration(), generation);
    t.close();
    EXPECT_THROW(t.sumWhere("Nive_Impo", ""), EngineError);
}

TEST_F(ViewReadsTest, ViewGenerationChangesWhenTheVisibleRowsMayChange) {
    Table t;
    t.setTableName(path());
    Table other;
    other.setTableName(path());
    other.open();

    struct Step {
        const char* name;
        std::function<void()> run;
        bool changes;
    };
    const Step steps[] = {
        {"open", [&] { t.open(); }, true},
        {"next, first, locate",
         [&] {
             t.next();
             t.first();
             t.locateKey(id['E']);
         },
         false},
        {"reads beside the cursor",
         [&] {
             t.keyAt(0);
             t.positionOfKey(id['A']);
             t.readRows({id['A']}, {"Preg_Text"});
             t.countMatching("Nive_Fich = 2");
             t.sumWhere("Nive_Impo", "Nive_Fich = 1");
         },
         false},
        {"edit and cancel",
         [&] {
             t.edit();
             t.cancel();
         },
         false},
        {"the same filter again", [&] { t.setFilter(""); }, false},
        {"filter text", [&] { t.setFilter("Nive_Fich = 1"); }, true},
        {"filtering on", [&] { t.setFiltered(true); }, true},
        {"post of a change",
         [&] {
             t.edit();
             t.fieldByName("Clav_Fich").setString("k");
             t.post();
         },
         true},
        {"post of a new row",
         [&] {
             t.append();
             t.fieldByName("Nive_Fich").setInteger(1);
             t.post();
         },
         true},
        {"delete", [&] { t.deleteCurrent(); }, true},
        {"delete marked", [&] { t.deleteBookmarks({t.keyAt(0)}); }, true},
        {"refresh", [&] { t.refresh(); }, true},
        {"batch append", [&] { t.batchAppendFrom(other); }, true},
        {"close", [&] { t.close(); }, true},
        {"filter text while closed", [&] { t.setFilter("Nive_Fich = 2"); }, true},
        {"open again", [&] { t.open(); }, true},
    };
    for (const Step& s : steps) {
        const quint64 before = t.viewGeneration();
        s.run();
        EXPECT_EQ(t.viewGeneration() != before, s.changes) << s.name;
    }
}

TEST_F(ViewReadsTest, ScrollEventsPausedFireOneAfterScrollAtTheEnd) {
    WatchedTable w(path());
    Table& t = w.t;
    t.open();
    w.log.clear();

    {
        table::ScrollEventsPaused outer(t);
        t.next();
        t.setFilter("Nive_Fich = 1");
        {
            table::ScrollEventsPaused inner(t);
            t.locateKey(id['E']);
        }
        ASSERT_TRUE(t.locateKey(id['B']));
        t.deleteCurrent();
        t.locateKey(id['E']);
        EXPECT_TRUE(w.log.empty());
    }
    // Once, on the row the loop left.
    EXPECT_THAT(w.log, ElementsAre("after E"));

    // Nothing moved: nothing fires.
    w.log.clear();
    {
        table::ScrollEventsPaused paused(t);
        t.fieldByName("Preg_Text").asString();
        t.edit();
        t.fieldByName("Clav_Fich").setString("y");
        t.post();
    }
    EXPECT_TRUE(w.log.empty());

    // An error ends the loop: the event still fires once and the error goes on, also when the
    // event fails as well.
    w.log.clear();
    EXPECT_THROW(
        {
            table::ScrollEventsPaused paused(t);
            t.first();
            throw std::runtime_error("fallo del bucle");
        },
        std::runtime_error);
    EXPECT_THAT(w.log, ElementsAre("after C"));
    t.afterScroll = [] { throw EngineError(QStringLiteral("fallo al mostrar")); };
    EXPECT_THROW(
        {
            table::ScrollEventsPaused paused(t);
            t.last();
            throw std::runtime_error("fallo del bucle");
        },
        std::runtime_error);
    // Without another error, a failing event is reported.
    EXPECT_THROW(
        {
            table::ScrollEventsPaused paused(t);
            t.first();
        },
        EngineError);

    // A table closed inside the scope has no row to show.
    t.afterScroll = [&] { w.log.push_back("after"); };
    w.log.clear();
    {
        table::ScrollEventsPaused paused(t);
        t.next();
        t.close();
    }
    EXPECT_TRUE(w.log.empty());
}
