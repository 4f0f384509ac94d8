#include "platform/table/native_table.h"

#include "support/table_fixture.h"

#include <QDir>
#include <QFile>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>

using table_test::errorOf;
using table_test::TableFixture;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

// A readable file is native exactly when it starts with the SQLite header; anything else,
// however short, is taken for a Paradox table.
TEST_F(TableFixture, NativeTableIsToldByItsFirstSixteenBytes) {
    EXPECT_TRUE(table::isNativeTable(path())); // a table the engine created

    const QByteArray header("SQLite format 3\0", 16);
    const struct {
        const char* name;
        QByteArray bytes;
        bool native;
    } cases[] = {
        {"header-only.DB", header, true},
        {"paradox.DB", QByteArray(2048, '\x05'), false},
        {"empty.DB", QByteArray(), false},
        {"short.DB", header.left(15), false},
        {"no-nul.DB", QByteArray("SQLite format 3 and more"), false},
        {"lower-case.DB", QByteArray("sqlite format 3\0", 16) + QByteArray(100, 'x'), false},
    };
    for (const auto& c : cases) {
        const QString file = QDir(dirPath()).filePath(c.name);
        writeFile(file, c.bytes);
        EXPECT_EQ(table::isNativeTable(file), c.native) << c.name;
    }
}

// What cannot be read shows nothing of a Paradox table: it counts as native, and the engine
// then refuses it with an error naming the table, not a wrong format.
TEST_F(TableFixture, UnreadableTableCountsAsNativeAndTheEngineRefusesIt) {
    const QDir dir(dirPath());
    const QString missing = dir.filePath("MISSING.DB");
    EXPECT_TRUE(table::isNativeTable(missing));

    ASSERT_TRUE(dir.mkdir("FOLDER.DB"));
    const QString folder = dir.filePath("FOLDER.DB");
    EXPECT_TRUE(table::isNativeTable(folder));
    table::Table t;
    const std::string error = errorOf([&] { t.open(dirPath(), "FOLDER.DB"); });
    EXPECT_THAT(error, HasSubstr(folder.toStdString()));
    EXPECT_THAT(error, Not(HasSubstr("formato")));
    EXPECT_FALSE(t.isOpen());

    if (geteuid() != 0) { // root reads whatever the permissions say
        const QString locked = dir.filePath("LOCKED.DB");
        writeFile(locked, QByteArray(2048, '\x05'));
        ASSERT_TRUE(QFile::setPermissions(locked, QFileDevice::WriteOwner));
        EXPECT_TRUE(table::isNativeTable(locked));
        EXPECT_THAT(errorOf([&] { t.open(dirPath(), "LOCKED.DB"); }), Not(HasSubstr("formato")));
    }
}
