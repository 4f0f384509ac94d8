#include "platform/table/table.h"

#include "support/table_fixture.h"

#include <QFile>

#include <sqlite3.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using table::EngineError;
using table::FieldType;
using table::Table;
using table_test::errorOf;
using table_test::Row;
using table_test::TableFixture;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

// Reads one value through a connection of its own, as another program would.
QString readOther(const QString& path, const QString& sql) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* st = nullptr;
    QString out = "(error)";
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr) == SQLITE_OK) {
        const int rc = sqlite3_step(st);
        if (rc == SQLITE_ROW)
            out =
                sqlite3_column_type(st, 0) == SQLITE_NULL
                    ? "NULL"
                    : QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        else if (rc == SQLITE_DONE)
            out = "(none)";
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return out;
}

} // namespace

TEST_F(TableFixture, OpensByFolderAndNameAndByFullPath) {
    Table a;
    a.open(dirPath(), "T.DB");
    EXPECT_TRUE(a.isOpen());
    EXPECT_EQ(a.path(), path());
    EXPECT_EQ(a.fieldCount(), 8);
    a.close();
    EXPECT_FALSE(a.isOpen());

    Table b;
    b.setFolder("/somewhere/else");
    b.setTableName(path()); // a full path as the name wins over the folder
    b.open();
    EXPECT_TRUE(b.isOpen());
    EXPECT_EQ(b.tableType(), "SQLITE");
}

TEST_F(TableFixture, OpenFailuresSayWhatFailed) {
    Table t;
    EXPECT_THAT(errorOf([&] { t.open(dirPath(), "NOPE.DB"); }), HasSubstr("No existe la tabla"));
    QFile f(dirPath() + "/PDX.DB");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(2048, '\x05'));
    f.close();
    EXPECT_THAT(errorOf([&] { t.open(dirPath(), "PDX.DB"); }), HasSubstr("formato"));
    EXPECT_FALSE(t.isOpen());
}

TEST_F(TableFixture, FieldNamesIgnoreCase) {
    addRows({{3, 2, "k", "pregunta", "20240101", true}});
    Table t;
    t.open(dirPath(), "T.DB");
    EXPECT_EQ(t.fieldByName("nive_fich").asInteger(), 3);
    EXPECT_EQ(t.fieldByName("NIVE_IMPO").asInteger(), 2);
    EXPECT_EQ(t.fieldByName("Preg_text").asString(), "pregunta");
    EXPECT_TRUE(t.fieldByName("camp_logi").asBoolean());
    EXPECT_EQ(t.fieldByName("camp_logi").asString(), "true");
    EXPECT_EQ(t.fieldByName("preg_text").name(), "Preg_Text");
    EXPECT_THAT(errorOf([&] { t.fieldByName("Preg_Txt"); }),
                HasSubstr("Campo desconocido: Preg_Txt"));
}

TEST_F(TableFixture, RowsComeInPrimaryIndexOrderWithBlanksFirst) {
    const auto id = addRows({
        {2, 1, "a"},
        {1, 5, "b"},
        {QVariant(), 3, "c"},
        {1, QVariant(), "d"},
        {1, 5, "e"},
        {0, 0, "f"},
    });
    Table t;
    t.open(dirPath(), "T.DB");
    EXPECT_EQ(t.recordCount(), 6);
    EXPECT_EQ(walk(t), (std::vector<qint64>{id[2], id[5], id[3], id[1], id[4], id[0]}));
    t.first();
    t.moveBy(2);
    EXPECT_TRUE(t.fieldByName("Nive_Impo").isNull());
    EXPECT_EQ(t.fieldByName("Nive_Impo").asInteger(), 0);
}

TEST_F(TableFixture, BlankValuesAndConversions) {
    Table t;
    t.open(dirPath(), "T.DB");
    t.append();
    t.fieldByName("Preg_Text").setString("una pregunta bastante más larga que veinte");
    t.fieldByName("Clav_Fich").setString("");
    t.fieldByName("Nive_Fich").setString("7");
    t.fieldByName("Datos").setBytes(QByteArray("\x00\x01\x02", 3));
    t.post();
    EXPECT_EQ(t.fieldByName("Preg_Text").asString(), "una pregunta bastant"); // cut to 20
    EXPECT_TRUE(t.fieldByName("Clav_Fich").isNull());
    EXPECT_EQ(t.fieldByName("Clav_Fich").asString(), "");
    EXPECT_EQ(t.fieldByName("Nive_Fich").asInteger(), 7);
    EXPECT_EQ(t.fieldByName("Datos").asBytes(), QByteArray("\x00\x01\x02", 3));
    EXPECT_TRUE(t.fieldByName("Camp_Logi").isNull());
    EXPECT_FALSE(t.fieldByName("Camp_Logi").asBoolean());

    t.edit();
    EXPECT_THAT(errorOf([&] { t.fieldByName("Nive_Fich").setInteger(40000); }),
                HasSubstr("fuera del rango"));
    EXPECT_THAT(errorOf([&] { t.fieldByName("Nive_Fich").setString("siete"); }),
                HasSubstr("no es un número"));
    EXPECT_THAT(errorOf([&] { t.fieldByName("AutoInc").setInteger(5); }),
                HasSubstr("solo lectura"));
    t.fieldByName("Datos").clear();
    t.post();
    EXPECT_TRUE(t.fieldByName("Datos").isNull());
    EXPECT_EQ(readOther(path(), "SELECT Datos FROM data"), "NULL");
}

TEST_F(TableFixture, WritingOutsideEditIsRefused) {
    addRows({{1, 1, "a"}});
    Table t;
    t.open(dirPath(), "T.DB");
    EXPECT_THAT(errorOf([&] { t.fieldByName("Clav_Fich").setString("x"); }),
                HasSubstr("modo de edición"));
    EXPECT_THAT(errorOf([&] { t.post(); }), HasSubstr("modo de edición"));
}

TEST_F(TableFixture, FilterTextCanBeSetWhileClosedAndBlankMeansEveryRow) {
    addRows({{0, 1, "a"}, {1, 1, "b"}, {2, 1, "c"}});
    Table t;
    t.setFilter(" (Nive_fich <> 0 ) ");
    t.setFiltered(true);
    EXPECT_EQ(t.filter(), " (Nive_fich <> 0 ) ");
    EXPECT_TRUE(t.filtered());
    t.open(dirPath(), "T.DB");
    EXPECT_EQ(t.recordCount(), 2);
    t.setFilter("   ");
    EXPECT_EQ(t.recordCount(), 3);
    t.setFilter("Nive_Fich = 2");
    EXPECT_EQ(t.recordCount(), 1);
    t.setFiltered(false);
    EXPECT_EQ(t.recordCount(), 3);
    EXPECT_EQ(t.filter(), "Nive_Fich = 2");
    t.close();
    EXPECT_EQ(t.filter(), "Nive_Fich = 2");
}

TEST_F(TableFixture, BadFilterIsRefusedAndTheOldOneStays) {
    addRows({{0, 1, "a"}, {1, 1, "b"}});
    Table t;
    t.setFilter("Nive_Fich = 1");
    t.setFiltered(true);
    t.open(dirPath(), "T.DB");
    EXPECT_THAT(errorOf([&] { t.setFilter("Nive_Fich = = 1"); }), HasSubstr("\"=\""));
    EXPECT_EQ(t.filter(), "Nive_Fich = 1");
    EXPECT_EQ(t.recordCount(), 1);
    EXPECT_THAT(errorOf([&] { t.setFilter("Nivel = 1"); }), HasSubstr("Nivel"));

    // A bad text set while closed fails when the table opens, and the table stays closed.
    Table u;
    u.setFilter("Nive_Fich <> ");
    u.setFiltered(true);
    EXPECT_THAT(errorOf([&] { u.open(dirPath(), "T.DB"); }), HasSubstr("valor"));
    EXPECT_FALSE(u.isOpen());
}

TEST_F(TableFixture, NavigationAndEndTests) {
    const auto id = addRows({{1, 1}, {1, 2}, {1, 3}});
    Table t;
    t.open(dirPath(), "T.DB");
    EXPECT_TRUE(t.bof());
    EXPECT_FALSE(t.eof());
    EXPECT_EQ(t.recNo(), 1);
    t.next();
    t.next();
    EXPECT_EQ(t.recNo(), 3);
    EXPECT_FALSE(t.eof());
    t.next();
    EXPECT_TRUE(t.eof());
    EXPECT_EQ(t.fieldByName("AutoInc").asInteger(), id[2]); // stays on the last row
    t.prior();
    EXPECT_EQ(t.recNo(), 2);
    t.last();
    EXPECT_TRUE(t.eof());
    EXPECT_EQ(t.moveBy(-5), -2);
    EXPECT_TRUE(t.bof());
    t.setRecNo(2);
    EXPECT_EQ(t.fieldByName("AutoInc").asInteger(), id[1]);
    EXPECT_TRUE(t.locateKey(id[2]));
    EXPECT_EQ(t.recNo(), 3);
    EXPECT_FALSE(t.locateKey(999));
    EXPECT_EQ(t.recNo(), 3);
    EXPECT_EQ(t.visibleKeys(), id);

    t.setFilter("Nive_Fich = 9");
    t.setFiltered(true);
    EXPECT_TRUE(t.isEmpty());
    EXPECT_TRUE(t.eof());
    EXPECT_TRUE(t.bof());
    EXPECT_EQ(t.recNo(), 0);
    EXPECT_TRUE(t.fieldByName("Clav_Fich").isNull());
}

TEST_F(TableFixture, PostedRowThatLeavesTheFilterLeavesTheView) {
    const auto id = addRows({{1, 1}, {1, 2}, {1, 3}, {2, 1}});
    Table t;
    t.setFilter("Nive_Fich = 1");
    t.setFiltered(true);
    t.open(dirPath(), "T.DB");
    ASSERT_EQ(t.recordCount(), 3);
    t.next(); // on id[1]
    t.edit();
    t.fieldByName("Nive_Fich").setInteger(2);
    t.post();
    EXPECT_EQ(t.recordCount(), 2);
    EXPECT_EQ(t.visibleKeys(), (std::vector<qint64>{id[0], id[2]}));
    EXPECT_EQ(t.fieldByName("AutoInc").asInteger(), id[2]); // the row that took its place

    // A row that stays visible moves to its new place and the cursor goes with it.
    t.setFiltered(false);
    t.first();
    t.edit();
    t.fieldByName("Nive_Impo").setInteger(9);
    t.post();
    EXPECT_EQ(t.visibleKeys(), (std::vector<qint64>{id[2], id[0], id[3], id[1]}));
    EXPECT_EQ(t.fieldByName("AutoInc").asInteger(), id[0]);
    EXPECT_EQ(t.recNo(), 2);

    // The promotion loop: post, go to first, until no row is left.
    t.setFilter("Nive_Fich = 1");
    t.setFiltered(true);
    int rounds = 0;
    while (!t.isEmpty() && rounds < 10) {
        t.first();
        t.edit();
        t.fieldByName("Nive_Fich").setInteger(5);
        t.post();
        ++rounds;
    }
    EXPECT_EQ(rounds, 2);
    t.setFiltered(false);
    t.refresh();
    EXPECT_EQ(t.recordCount(), 4);
}

TEST_F(TableFixture, AppendedRowTakesItsPlaceOrStaysOutOfTheView) {
    const auto id = addRows({{1, 1}, {3, 1}});
    Table t;
    t.setFilter("Nive_Fich <> 0");
    t.setFiltered(true);
    t.open(dirPath(), "T.DB");
    t.append();
    t.fieldByName("Nive_Fich").setInteger(2);
    t.post();
    const qint64 added = t.fieldByName("AutoInc").asInteger();
    EXPECT_GT(added, id[1]);
    EXPECT_EQ(t.visibleKeys(), (std::vector<qint64>{id[0], added, id[1]}));
    t.append();
    t.fieldByName("Nive_Fich").setInteger(0);
    t.post();
    EXPECT_EQ(t.recordCount(), 3);
    t.append();
    t.cancel();
    EXPECT_EQ(t.recordCount(), 3);
    t.setFiltered(false);
    EXPECT_EQ(t.recordCount(), 4);
}

TEST_F(TableFixture, MovingWhileEditingPostsTheChange) {
    const auto id = addRows({{1, 1, "a"}, {1, 2, "b"}});
    Table t;
    t.open(dirPath(), "T.DB");
    t.edit();
    t.fieldByName("Clav_Fich").setString("cambiada");
    t.next();
    EXPECT_EQ(readOther(path(), QString("SELECT Clav_Fich FROM data WHERE AutoInc=%1").arg(id[0])),
              "cambiada");
    t.edit();
    t.fieldByName("Clav_Fich").setString("descartada");
    t.cancel();
    EXPECT_EQ(t.fieldByName("Clav_Fich").asString(), "b");
}

TEST_F(TableFixture, EveryPostIsOnDiskAtOnce) {
    Table t;
    t.open(dirPath(), "T.DB");
    t.append();
    t.fieldByName("Clav_Fich").setString("nueva");
    t.post();
    EXPECT_EQ(readOther(path(), "SELECT Clav_Fich FROM data"), "nueva");
    t.edit();
    t.fieldByName("Clav_Fich").setString("otra");
    t.post();
    EXPECT_EQ(readOther(path(), "SELECT Clav_Fich FROM data"), "otra");
    t.deleteCurrent();
    EXPECT_EQ(readOther(path(), "SELECT count(*) FROM data"), "0");
    EXPECT_FALSE(QFile::exists(path() + "-journal"));
    EXPECT_EQ(readOther(path(), "PRAGMA journal_mode"), "delete");
}

TEST_F(TableFixture, EventsFireAroundMovesAndPosts) {
    addRows({{1, 1}, {1, 2}});
    Table t;
    std::vector<std::string> log;
    t.beforeScroll = [&] { log.push_back("before"); };
    t.afterScroll = [&] { log.push_back("after"); };
    t.afterPost = [&] { log.push_back("post"); };
    t.open(dirPath(), "T.DB");
    EXPECT_THAT(log, ElementsAre("after"));
    log.clear();
    t.next();
    t.next(); // at the end: no move, no event
    EXPECT_THAT(log, ElementsAre("before", "after"));
    log.clear();
    t.edit();
    t.fieldByName("Nive_Impo").setInteger(7);
    t.post();
    EXPECT_THAT(log, ElementsAre("post"));

    // Cancelling an append leaves the new row for the one that was current before it: the
    // current row changes, as it did when the append began. Cancelling an edit stays put.
    t.first();
    log.clear();
    t.append();
    t.cancel();
    EXPECT_THAT(log, ElementsAre("before", "after", "before", "after"));
    EXPECT_EQ(t.recNo(), 1);
    log.clear();
    t.edit();
    t.cancel();
    EXPECT_TRUE(log.empty());
}

// Setting the filter a view already shows reads nothing again: the cursor stays and no scroll
// event fires (the card loader would run again). A pending edit is still posted first, and a
// changed filter reloads as ever.
TEST_F(TableFixture, UnchangedFilterLeavesTheViewAsItIs) {
    addRows({{1, 1}, {1, 2}, {2, 0}});
    Table t;
    std::vector<std::string> log;
    t.beforeScroll = [&] { log.push_back("before"); };
    t.afterScroll = [&] { log.push_back("after"); };
    t.setFilter("Nive_Fich = 1");
    t.setFiltered(true);
    t.open(dirPath(), "T.DB");
    t.next();
    log.clear();
    t.setFilter("Nive_Fich = 1");
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(t.recNo(), 2);

    t.edit();
    t.fieldByName("Nive_Impo").setInteger(7);
    t.setFilter("Nive_Fich = 1");
    EXPECT_EQ(t.state(), Table::State::Browse);
    EXPECT_EQ(readOther(path(), "SELECT Nive_Impo FROM data WHERE Nive_Impo = 7"), "7");

    log.clear();
    t.setFilter("Nive_Fich = 2");
    EXPECT_THAT(log, ElementsAre("before", "after"));
    EXPECT_EQ(t.recordCount(), 1);
}

TEST_F(TableFixture, CreateReplacesAnExistingTableAndItsJournal) {
    addRows({{1, 1}, {2, 2}});
    QFile j(path() + "-journal");
    ASSERT_TRUE(j.open(QIODevice::WriteOnly));
    j.write("stale");
    j.close();
    Table::create(path(), table_test::cardLikeFields(), table_test::cardLikeIndexes());
    EXPECT_FALSE(QFile::exists(path() + "-journal"));
    Table t;
    t.open(dirPath(), "T.DB");
    EXPECT_TRUE(t.isEmpty());
}

TEST(TableCreate, DefinitionsAreChecked) {
    QTemporaryDir dir;
    const QString p = dir.filePath("X.DB");
    using table::FieldDef;
    using table::IndexDef;
    EXPECT_THAT(errorOf([&] {
                    Table::create(p, {{"A", FieldType::Text, 0}}, {});
                }),
                HasSubstr("Tamaño"));
    EXPECT_THAT(errorOf([&] {
                    Table::create(p, {{"A", FieldType::SmallInt}, {"a", FieldType::SmallInt}}, {});
                }),
                HasSubstr("repetido"));
    EXPECT_THAT(errorOf([&] {
                    Table::create(p, {{"A", FieldType::SmallInt}}, {{"I", {"B"}, true}});
                }),
                HasSubstr("B"));
    EXPECT_FALSE(QFile::exists(p));
}

TEST_F(TableFixture, LocatingAndDeletingFireOneScrollEach) {
    const auto id = addRows({{1, 1}, {1, 2}, {1, 3}});
    Table t;
    std::vector<qint64> shown;
    t.afterScroll = [&] {
        shown.push_back(t.isEmpty() ? -1 : t.fieldByName("AutoInc").asInteger());
    };
    t.open(dirPath(), "T.DB");
    shown.clear();
    ASSERT_TRUE(t.locateKey(id[2]));
    EXPECT_EQ(shown, (std::vector<qint64>{id[2]}));
    EXPECT_FALSE(t.locateKey(12345));
    EXPECT_EQ(shown.size(), 1u);
    t.setRecNo(1);
    t.deleteCurrent();
    EXPECT_EQ(shown, (std::vector<qint64>{id[2], id[0], id[1]}));
}

TEST_F(TableFixture, RefreshSeesChangesOfAnotherConnection) {
    const auto id = addRows({{1, 1}, {1, 2}});
    Table t;
    t.setFilter("Nive_Fich = 1");
    t.setFiltered(true);
    t.open(dirPath(), "T.DB");
    t.last();
    addRows({{1, 0}, {2, 0}});
    EXPECT_EQ(t.recordCount(), 2);
    t.refresh();
    EXPECT_EQ(t.recordCount(), 3);
    EXPECT_EQ(t.fieldByName("AutoInc").asInteger(), id[1]); // still on the same row
}

TEST_F(TableFixture, LastPostedKeyNamesARowThatLeftTheView) {
    addRows({{1, 1}});
    Table t;
    t.setFilter("Nive_Fich = 1");
    t.setFiltered(true);
    t.open(dirPath(), "T.DB");
    t.append();
    t.fieldByName("Nive_Fich").setInteger(4);
    t.post();
    EXPECT_EQ(t.lastPostedKey(), 2);
    EXPECT_EQ(t.fieldByName("AutoInc").asInteger(), 1);
}

TEST_F(TableFixture, AFieldOfAClosedTableRefusesInsteadOfReadingFreedData) {
    addRows({{1, 1, "a"}});
    Table t;
    t.open(dirPath(), "T.DB");
    table::Field f = t.fieldByName("Clav_Fich");
    EXPECT_EQ(f.asString(), "a");
    t.close();
    EXPECT_THAT(errorOf([&] { (void)f.name(); }), HasSubstr("no está abierta"));
    EXPECT_THAT(errorOf([&] { (void)f.asString(); }), HasSubstr("no está abierta"));
    EXPECT_THAT(errorOf([&] { t.fieldByName("Clav_Fich"); }), HasSubstr("no está abierta"));
}

TEST_F(TableFixture, WalkedRowsShowWhatWasWrittenAfterTheyWereReadAhead) {
    addRows({{1, 0, "", "p0"},
             {1, 1, "", "p1"},
             {1, 2, "", "p2"},
             {1, 3, "", "p3"},
             {1, 4, "", "p4"},
             {1, 5, "", "p5"}});
    Table t;
    t.setFilter("Nive_Fich = 1");
    t.setFiltered(true);
    t.open(dirPath(), "T.DB");
    const auto walk = [&t] {
        QStringList seen;
        for (t.first(); !t.eof(); t.next())
            seen << t.fieldByName("Preg_Text").asString();
        return seen;
    };
    EXPECT_EQ(walk(), (QStringList{"p0", "p1", "p2", "p3", "p4", "p5"}));

    // A post through this table, then a walk to the posted row and past it.
    t.first();
    t.moveBy(3);
    t.edit();
    t.fieldByName("Preg_Text").setString("cambiada");
    t.post();
    EXPECT_EQ(walk(), (QStringList{"p0", "p1", "p2", "cambiada", "p4", "p5"}));

    // A row that a post moves to another place is read at its new place.
    t.first();
    t.edit();
    t.fieldByName("Nive_Impo").setInteger(9);
    t.post();
    EXPECT_EQ(walk(), (QStringList{"p1", "p2", "cambiada", "p4", "p5", "p0"}));

    // A change made through another table shows after refresh, also for rows read before.
    {
        Table other;
        other.open(dirPath(), "T.DB");
        other.first();
        other.next(); // p2: the other table has no filter, and every row has level 1
        other.edit();
        other.fieldByName("Preg_Text").setString("otra");
        other.post();
    }
    t.refresh();
    EXPECT_EQ(walk(), (QStringList{"p1", "otra", "cambiada", "p4", "p5", "p0"}));

    // A deleted row is gone from the walk, and walking backwards reads the same rows.
    t.first();
    t.next();
    t.deleteCurrent();
    QStringList backwards;
    for (t.last(); !t.bof(); t.prior())
        backwards.prepend(t.fieldByName("Preg_Text").asString());
    EXPECT_EQ(backwards, (QStringList{"p1", "cambiada", "p4", "p5", "p0"}));
    EXPECT_EQ(walk(), backwards);
}

// The view reads only keys when it opens or filters; the first post reads the sort values it
// places rows by. Whatever came before that post (moves, deletes, blanks), the rows end where a
// fresh view of the table has them and the cursor stays on the posted row.
TEST_F(TableFixture, FirstPostAfterOpeningPlacesRowsAsAFreshViewDoes) {
    const auto id = addRows({{1, QVariant()}, {1, 5}, {1, 2}, {2, 1}, {0, 3}, {1, 2}, {3, 0}});
    const auto freshView = [this] {
        Table f;
        f.setFilter("Nive_Fich <> 0");
        f.setFiltered(true);
        f.open(dirPath(), "T.DB");
        return f.visibleKeys();
    };
    struct Step {
        const char* name;
        std::function<void(Table&)> before; // moves or deletes before the first post
        qint64 posted;
        int nive;
        QVariant impo;
    };
    const Step steps[] = {
        {"straight after opening", [](Table&) {}, id[2], 1, 9},
        {"after a delete",
         [&](Table& t) {
             ASSERT_TRUE(t.locateKey(id[1]));
             t.deleteCurrent();
         },
         id[5], 3, QVariant()},
        {"after a filter change", [](Table& t) { t.setFilter("Nive_Fich >= 1"); }, id[0], 2, 1},
        {"to the front", [](Table&) {}, id[6], 1, QVariant()},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        Table t;
        t.setFilter("Nive_Fich <> 0");
        t.setFiltered(true);
        t.open(dirPath(), "T.DB");
        s.before(t);
        ASSERT_TRUE(t.locateKey(s.posted));
        t.edit();
        t.fieldByName("Nive_Fich").setInteger(s.nive);
        if (s.impo.isValid())
            t.fieldByName("Nive_Impo").setInteger(s.impo.toLongLong());
        else
            t.fieldByName("Nive_Impo").clear();
        t.post();
        EXPECT_EQ(t.visibleKeys(), freshView());
        EXPECT_EQ(t.fieldByName("AutoInc").asInteger(), s.posted);
        EXPECT_EQ(walk(t), freshView());
    }
}
