// The table engine: keyed tables stored as one SQLite file each, read through a cursor over the
// rows that the current filter lets through, in primary-index order.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>

#include "platform/error.h"

#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

namespace table {

// Every failure of the engine: the text says what failed.
class EngineError : public platform::Error {
public:
    using Error::Error;
};

enum class FieldType {
    Text,     // text of at most `size` characters; longer values are cut on write
    SmallInt, // 16-bit integer; values out of range are an error
    AutoInc,  // identity assigned on insertion, never reused, read-only
    Boolean,
    Blob, // bytes
};

struct FieldDef {
    QString name;
    FieldType type = FieldType::Text;
    int size = 0; // characters, for text fields only
};

struct IndexDef {
    QString name;
    QStringList fields; // in key order
    bool primary = true;
};

// Splits "A;B;C" into field names.
QStringList splitFieldList(const QString& fields);

class Table;

// One field of a table's current row (or of the row being edited or appended).
class Field {
public:
    const FieldDef& def() const;
    const QString& name() const { return def().name; }
    FieldType type() const { return def().type; }

    bool isNull() const;
    QString asString() const;   // blank: ""; booleans "true"/"false"; blobs as UTF-8
    qint64 asInteger() const;   // blank: 0
    bool asBoolean() const;     // blank: false
    QByteArray asBytes() const; // blank: empty

    void setString(const QString& value); // "" makes the field blank
    void setInteger(qint64 value);
    void setBoolean(bool value);
    void setBytes(const QByteArray& value); // empty makes the field blank
    void clear();

private:
    friend class Table;
    Field(Table* table, int index) : table_(table), index_(index) {}
    Table* table_;
    int index_;
};

using Bookmark = qint64; // the row's key

class Table {
public:
    enum class State { Inactive, Browse, Edit, Insert };

    Table();
    ~Table();
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    // Where the table lives: a folder and a file name, or a full path as the name.
    void setFolder(const QString& folder);
    const QString& folder() const;
    void setTableName(const QString& name);
    const QString& tableName() const;
    QString path() const;
    // Open with SQLite's exclusive lock (refused while anyone else uses the table).
    void setExclusive(bool exclusive);
    bool exclusive() const;

    // Creates an empty table at path from its definitions, replacing an existing table there
    // (and any journal left beside it). Refused while the old table is in use.
    static void create(const QString& path, const std::vector<FieldDef>& fields,
                       const std::vector<IndexDef>& indexes);
    // Creates this table (at path()) with the given definitions; the table must be closed.
    void createTable(const std::vector<FieldDef>& fields, const std::vector<IndexDef>& indexes);

    void open();
    void open(const QString& folder, const QString& name);
    void close();
    bool isOpen() const;
    State state() const;
    // The table's storage kind, as repair reads it.
    QString tableType() const;

    // Filter: the text may be set and read while the table is closed; it applies while filtering
    // is on. A blank text means every row.
    void setFilter(const QString& text);
    const QString& filter() const;
    void setFiltered(bool on);
    bool filtered() const;
    // Re-reads the visible rows (after changes made through another connection).
    void refresh();

    // Navigation over the visible rows.
    void first();
    void last();
    void next();
    void prior();
    int moveBy(int distance); // returns the distance actually moved
    bool eof() const;
    bool bof() const;
    bool isEmpty() const;
    int recordCount() const;
    int recNo() const; // 1-based; 0 when empty
    void setRecNo(int recNo);
    // Moves straight to the visible row with this key; false (and no move) when it is not
    // visible.
    bool locateKey(qint64 key);
    // The keys of the visible rows in table order, without moving the cursor.
    std::vector<qint64> visibleKeys() const;
    // The key of the visible row at pos (0-based), without moving the cursor; EngineError when
    // no visible row has that position.
    qint64 keyAt(int pos) const;
    // The position (0-based) of the visible row with this key, -1 when it is not visible; the
    // cursor stays.
    int positionOfKey(qint64 key) const;
    // The named fields of the rows with these keys, read in one statement per 64 keys, without
    // moving the cursor and without firing an event. One entry per key, in the order given, with
    // the values in the order of the names: a blank as a null QVariant, text as QString, every
    // other type as qint64. A key without a row gives an empty entry. Blob fields and unknown
    // names are refused (EngineError) before anything is read.
    std::vector<std::vector<QVariant>> readRows(const std::vector<qint64>& keys,
                                                const QStringList& fields) const;
    // How many rows the filter text lets through, whatever filter is in force; the view, the
    // cursor and the filter stay as they are. A blank text counts every row; a text the engine
    // cannot read is refused (EngineError).
    int countMatching(const QString& filter) const;
    // The sum of a number field over the rows the filter text lets through, whatever filter is
    // in force, read like countMatching: the view, the cursor and the filter stay as they are and
    // no event fires. Blank values count 0 (as does a text that lets no row through). An unknown
    // field, a text or blob field and a text the engine cannot read are refused (EngineError).
    qint64 sumWhere(const QString& field, const QString& filter) const;
    // Changes whenever the visible rows may have changed: at every open, close, filter change,
    // post, delete, refresh and batch append. A view built over the rows (a grid) that recorded
    // it knows it is still current while the number is the same.
    quint64 viewGeneration() const;

    Bookmark bookmark() const; // of the current row
    bool bookmarkValid(Bookmark bookmark) const;
    void gotoBookmark(Bookmark bookmark);

    // Editing.
    void edit();
    void append();
    void insert() { append(); } // rows take their place by the primary index
    void post();
    void cancel();
    void deleteCurrent();
    // The key of the row posted last (also when it left the view at its post); 0 before any.
    qint64 lastPostedKey() const;
    void deleteBookmarks(const std::vector<Bookmark>& bookmarks);

    // Fields, by name without regard to case.
    int fieldCount() const;
    const std::vector<FieldDef>& fieldDefs() const;
    const std::vector<IndexDef>& indexDefs() const;
    Field field(int index);
    Field fieldByName(const QString& name);
    int findField(const QString& name) const; // -1 when unknown

    // Batch work.
    // Creates a new table at destPath with this table's fields (no index) and copies the first
    // rowLimit visible rows into it (every visible row when rowLimit <= 0), keys included.
    // Returns the number of rows copied.
    int batchCopyTo(const QString& destPath, int rowLimit) const;
    // Appends every row of source (whatever its filter) to this table, columns matched by
    // position; appended rows get new identities. Rows appended before an error stay. Returns
    // the number of rows appended.
    int batchAppendFrom(Table& source);
    // Adds the primary index to a table that has none (a closed table stays closed).
    void addPrimaryIndex(const QString& name, const QString& fields);
    // Drops free space and rebuilds the indexes; a table that fails its integrity check is
    // rebuilt from the rows that can still be read. The table must be open exclusively.
    void pack();

    // Events.
    std::function<void()> beforeScroll;
    std::function<void()> afterScroll;
    std::function<void()> afterPost;

private:
    friend class Field;
    friend class BatchScope;
    friend class ScrollEventsPaused;

    struct Impl; // table_impl.h
    std::unique_ptr<Impl> d_;
};

// Runs the posts of a loop in one transaction: committed when the scope ends, also when an
// exception leaves it, so that what was posted before an error stays. Scopes nest.
class BatchScope {
public:
    explicit BatchScope(Table& table);
    ~BatchScope() noexcept(false);
    BatchScope(const BatchScope&) = delete;
    BatchScope& operator=(const BatchScope&) = delete;

private:
    Table& table_;
    int uncaught_;
};

// Holds back the table's scroll events while a loop moves the cursor from row to row: inside the
// scope neither beforeScroll nor afterScroll fires, and when the outermost scope ends afterScroll
// fires once if any event was held back (the current row may have changed), so that whoever
// shows the current row shows the one the loop left. Scopes nest. When an exception leaves the
// scope, a failure of that last afterScroll is swallowed and the first exception goes on.
class ScrollEventsPaused {
public:
    explicit ScrollEventsPaused(Table& table);
    ~ScrollEventsPaused() noexcept(false);
    ScrollEventsPaused(const ScrollEventsPaused&) = delete;
    ScrollEventsPaused& operator=(const ScrollEventsPaused&) = delete;

private:
    Table& table_;
    int uncaught_;
};

} // namespace table
