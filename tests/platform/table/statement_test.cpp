// The engine's prepared statement: binding each kind of value, reading columns back as the
// engine holds them, reuse after reset, hand-over by move, and prepare errors that say what
// SQLite refused.
#include "platform/table/statement.h"

#include "support/table_fixture.h"

#include <sqlite3.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <utility>

using table::FieldType;
using table::SortKind;
using table::Statement;
using table_test::TableFixture;
using ::testing::HasSubstr;

namespace {

// An in-memory database; closing it with sqlite3_close (not _v2) fails while any statement on it
// is still unfinalized, which the destructor checks.
class MemoryDb {
public:
    MemoryDb() { sqlite3_open(":memory:", &db_); }
    ~MemoryDb() { EXPECT_EQ(sqlite3_close(db_), SQLITE_OK) << "a statement was not finalized"; }
    MemoryDb(const MemoryDb&) = delete;
    MemoryDb& operator=(const MemoryDb&) = delete;
    sqlite3* get() const { return db_; }
    QString error() const { return QString::fromUtf8(sqlite3_errmsg(db_)); }

private:
    sqlite3* db_ = nullptr;
};

} // namespace

TEST(Statement, PrepareRefusesBadSqlAndHoldsNothing) {
    MemoryDb db;
    Statement st;
    EXPECT_TRUE(st.prepare(db.get(), QStringLiteral("SELECT 1")));
    EXPECT_TRUE(st.isPrepared());
    EXPECT_FALSE(st.prepare(db.get(), QStringLiteral("SELECT x FROM nowhere")));
    EXPECT_FALSE(st.isPrepared());
    EXPECT_THAT(db.error().toStdString(), HasSubstr("no such table: nowhere"));
}

TEST(Statement, BindsEachKindOfValueAsItIsStored) {
    struct Case {
        const char* what;
        QVariant value;
        bool filter; // bound as a value of a compiled filter
        const char* type;
        QString quoted;
    };
    const Case cases[] = {
        {"blank", QVariant(), false, "null", "NULL"},
        {"64-bit integer", QVariant::fromValue<qint64>(-5000000000), false, "integer",
         "-5000000000"},
        {"int", QVariant(7), false, "integer", "7"},
        {"boolean", QVariant(true), false, "integer", "1"},
        {"text beyond ASCII", QVariant(QStringLiteral("ñandú €")), false, "text",
         QStringLiteral("'ñandú €'")},
        {"bytes", QVariant(QByteArray("\x01\xfe", 2)), false, "blob", "X'01FE'"},
        {"filter text", QVariant(QByteArray("año")), true, "text", QStringLiteral("'año'")},
        {"filter integer", QVariant::fromValue<qint64>(3), true, "integer", "3"},
        {"filter blank", QVariant(), true, "null", "NULL"},
    };
    MemoryDb db;
    Statement st;
    ASSERT_TRUE(st.prepare(db.get(), QStringLiteral("SELECT typeof(?1), quote(?1)")));
    for (const Case& c : cases) {
        st.reset();
        st.clearBindings();
        if (c.filter)
            st.bindFilterValue(1, c.value);
        else
            st.bindValue(1, c.value);
        ASSERT_EQ(st.step(), SQLITE_ROW) << c.what;
        EXPECT_EQ(st.text(0), QString::fromLatin1(c.type)) << c.what;
        EXPECT_EQ(st.text(1), c.quoted) << c.what;
    }
}

TEST(Statement, ReadsColumnsAsTheEngineHoldsThem) {
    MemoryDb db;
    Statement st;
    ASSERT_TRUE(st.prepare(db.get(), QStringLiteral("SELECT NULL, 42, 'año', X'00FF', "
                                                    "'a' || char(0) || 'b', -1")));
    ASSERT_EQ(st.step(), SQLITE_ROW);

    EXPECT_TRUE(st.isNull(0));
    EXPECT_FALSE(st.value(0, FieldType::Text).isValid());
    EXPECT_FALSE(st.value(0, FieldType::SmallInt).isValid());
    EXPECT_EQ(st.value(1, FieldType::SmallInt), QVariant::fromValue<qint64>(42));
    EXPECT_EQ(st.value(2, FieldType::Text), QVariant(QStringLiteral("año")));
    EXPECT_EQ(st.value(3, FieldType::Blob), QVariant(QByteArray("\x00\xff", 2)));
    // Text is read by its length, not up to the first zero byte.
    EXPECT_EQ(st.text(4), QString::fromUtf8("a\0b", 3));
    EXPECT_EQ(st.value(5, FieldType::Boolean), QVariant::fromValue<qint64>(-1));

    struct Expected {
        int column;
        SortKind kind;
        qint64 i;
        QByteArray s;
    };
    const Expected sorts[] = {
        {0, SortKind::Blank, 0, {}},
        {1, SortKind::Integer, 42, {}},
        {2, SortKind::Text, 0, QByteArray("año")},
        {3, SortKind::Bytes, 0, QByteArray("\x00\xff", 2)},
        {5, SortKind::Integer, -1, {}},
    };
    for (const Expected& e : sorts) {
        const table::SortVal v = st.sortValue(e.column);
        EXPECT_EQ(v.kind, e.kind) << e.column;
        EXPECT_EQ(v.i, e.i) << e.column;
        EXPECT_EQ(v.s, e.s) << e.column;
    }
}

TEST(Statement, ResetKeepsTheBindingsAndClearingDropsThem) {
    MemoryDb db;
    Statement st;
    ASSERT_TRUE(st.prepare(db.get(), QStringLiteral("SELECT ?1")));
    st.bindInteger(1, 9);
    ASSERT_EQ(st.step(), SQLITE_ROW);
    EXPECT_EQ(st.integer(0), 9);
    EXPECT_EQ(st.step(), SQLITE_DONE);
    st.reset();
    ASSERT_EQ(st.step(), SQLITE_ROW);
    EXPECT_EQ(st.integer(0), 9);
    st.reset();
    st.clearBindings();
    ASSERT_EQ(st.step(), SQLITE_ROW);
    EXPECT_TRUE(st.isNull(0));
}

TEST(Statement, MovingHandsTheStatementOverAndEveryOneIsFinalized) {
    MemoryDb db;
    Statement a;
    ASSERT_TRUE(a.prepare(db.get(), QStringLiteral("SELECT ?1")));
    a.bindText(1, QStringLiteral("uno"));
    Statement b(std::move(a));
    EXPECT_FALSE(a.isPrepared());
    ASSERT_TRUE(b.isPrepared());
    ASSERT_EQ(b.step(), SQLITE_ROW);
    EXPECT_EQ(b.text(0), QStringLiteral("uno"));

    // Assigning over a prepared statement finalizes the one it held.
    Statement c;
    ASSERT_TRUE(c.prepare(db.get(), QStringLiteral("SELECT 2")));
    c = std::move(b);
    EXPECT_FALSE(b.isPrepared());
    c.reset();
    ASSERT_EQ(c.step(), SQLITE_ROW);
    EXPECT_EQ(c.text(0), QStringLiteral("uno"));

    // Preparing again finalizes what was held, too.
    ASSERT_TRUE(c.prepare(db.get(), QByteArray("SELECT 3")));
    ASSERT_EQ(c.step(), SQLITE_ROW);
    EXPECT_EQ(c.integer(0), 3);
    // MemoryDb's destructor checks that nothing is left unfinalized.
}

// A descriptor that names a column the data table lacks: storing into that field cannot be
// prepared, and the engine's error carries SQLite's reason, naming the missing column.
TEST_F(TableFixture, AStatementThatCannotBePreparedNamesTheProblem) {
    addRows({{1, 0, "A", "uno", "", {}}});
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open_v2(path().toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr),
                  SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, "INSERT INTO _fields VALUES (99, 'Fantasma', 'TEXT', 10)",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(db);
    }
    table::Table t;
    t.setTableName(path());
    t.open();
    ASSERT_EQ(t.recordCount(), 1);
    t.edit();
    t.fieldByName("Fantasma").setString("x");
    try {
        t.post();
        ADD_FAILURE() << "storing into a missing column did not fail";
    } catch (const table::EngineError& e) {
        EXPECT_THAT(e.what(), HasSubstr("preparar la consulta"));
        EXPECT_THAT(e.what(), HasSubstr("no such column: Fantasma"));
    }
}
