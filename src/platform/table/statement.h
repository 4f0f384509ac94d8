// One prepared SQLite statement of the table engine, finalized when it goes. Internal to the
// engine: table.h does not include it.
#pragma once

#include "platform/table/key_list.h"
#include "platform/table/table.h"

#include <QByteArray>
#include <QString>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

namespace table {

class Statement {
public:
    Statement() = default;
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Prepares sql on db in place of what was held. False, with nothing held, when SQLite
    // refuses it; sqlite3_errmsg(db) then says why.
    bool prepare(sqlite3* db, const QByteArray& sql);
    bool prepare(sqlite3* db, const QString& sql) { return prepare(db, sql.toUtf8()); }
    bool isPrepared() const { return stmt_ != nullptr; }
    void finalize();

    // Parameters are numbered from 1.
    void bindNull(int index);
    void bindInteger(int index, qint64 value);
    void bindText(int index, const QString& text);
    void bindText(int index, const QByteArray& utf8);
    void bindBytes(int index, const QByteArray& bytes);
    // A stored value: blank (invalid or null) as NULL, integers and booleans as integers,
    // QString as text, byte arrays as blobs.
    void bindValue(int index, const QVariant& value);
    // A value of a compiled filter: byte arrays are UTF-8 text there, not blobs.
    void bindFilterValue(int index, const QVariant& value);
    void clearBindings();

    // SQLITE_ROW, SQLITE_DONE or the error code (the connection's error message says more).
    int step();
    // Makes the statement ready to run again; the bindings stay.
    void reset();

    // Columns of the current row, numbered from 0.
    bool isNull(int column) const;
    qint64 integer(int column) const;
    QString text(int column) const;
    QByteArray textBytes(int column) const; // the UTF-8 bytes of a text column
    // A field's value as the engine holds it: null for a blank, QString for text, QByteArray
    // for blobs, qint64 for the rest.
    QVariant value(int column, FieldType type) const;
    // The value a column sorts by, with its storage class.
    SortVal sortValue(int column) const;
    // The same into v, reusing its bytes' buffer when it has one.
    void sortValueInto(int column, SortVal& v) const;

private:
    sqlite3_stmt* stmt_ = nullptr;
};

} // namespace table
