// The table engine: keyed tables stored as one SQLite file each, read through a cursor over the
// rows that the current filter lets through, in primary-index order.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

#include "platform/table/key_list.h"

#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace table {

// Every failure of the engine: the text says what failed.
class EngineError : public std::runtime_error {
public:
    explicit EngineError(const QString& text) : std::runtime_error(text.toStdString()) {}
    QString text() const { return QString::fromStdString(what()); }
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
    void setFolder(const QString& folder) { folder_ = folder; }
    const QString& folder() const { return folder_; }
    void setTableName(const QString& name) { name_ = name; }
    const QString& tableName() const { return name_; }
    QString path() const;
    // Open with SQLite's exclusive lock (refused while anyone else uses the table).
    void setExclusive(bool exclusive) { exclusive_ = exclusive; }
    bool exclusive() const { return exclusive_; }

    // Creates an empty table at path from its definitions, replacing an existing table there
    // (and any journal left beside it). Refused while the old table is in use.
    static void create(const QString& path, const std::vector<FieldDef>& fields,
                       const std::vector<IndexDef>& indexes);
    // Creates this table (at path()) with the given definitions; the table must be closed.
    void createTable(const std::vector<FieldDef>& fields, const std::vector<IndexDef>& indexes);

    void open();
    void open(const QString& folder, const QString& name);
    void close();
    bool isOpen() const { return db_ != nullptr; }
    State state() const { return state_; }
    // The table's storage kind, as repair reads it.
    QString tableType() const;

    // Filter: the text may be set and read while the table is closed; it applies while filtering
    // is on. A blank text means every row.
    void setFilter(const QString& text);
    const QString& filter() const { return filterText_; }
    void setFiltered(bool on);
    bool filtered() const { return filtered_; }
    // Re-reads the visible rows (after changes made through another connection).
    void refresh();

    // Navigation over the visible rows.
    void first();
    void last();
    void next();
    void prior();
    int moveBy(int distance); // returns the distance actually moved
    bool eof() const { return eof_; }
    bool bof() const { return bof_; }
    bool isEmpty() const { return rows_.empty(); }
    int recordCount() const { return rows_.size(); }
    int recNo() const { return pos_ + 1; } // 1-based; 0 when empty
    void setRecNo(int recNo);
    // Moves straight to the visible row with this key; false (and no move) when it is not
    // visible.
    bool locateKey(qint64 key);
    // The keys of the visible rows in table order, without moving the cursor.
    std::vector<qint64> visibleKeys() const { return rows_.keys(); }

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
    qint64 lastPostedKey() const { return lastPostedKey_; }
    void deleteBookmarks(const std::vector<Bookmark>& bookmarks);

    // Fields, by name without regard to case.
    int fieldCount() const { return static_cast<int>(fields_.size()); }
    const std::vector<FieldDef>& fieldDefs() const { return fields_; }
    const std::vector<IndexDef>& indexDefs() const { return indexes_; }
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

    struct Stmt;

    [[noreturn]] void fail(const QString& what) const;
    [[noreturn]] void failSql(const QString& what) const;
    void requireOpen() const;
    void exec(const char* sql) const;
    sqlite3_stmt* prepare(const QString& sql) const;

    void loadStructure();
    void compileFilter();
    void loadView();
    void loadViewFrom(bool bypassIndex);
    void resetCursorToFirst();
    void checkBrowseMode();
    void moveTo(int pos, bool always);
    void invalidateRow();
    void loadRowCache();
    QVariant currentValue(int index);
    void setValue(int index, const QVariant& value);
    QVariant toStorage(const FieldDef& def, const QVariant& value) const;
    bool readPlacement(qint64 key, std::vector<SortVal>& vals);
    void beginBatch();
    void endBatch(bool throwOnError);
    void finalizeStatements();
    sqlite3_stmt* writeStatement(char kind, const std::vector<int>& columns,
                                 const std::function<QString()>& sql);
    QString quotedColumns(const std::vector<int>& indexes) const;

    QString folder_;
    QString name_;
    bool exclusive_ = false;
    QString filterText_;
    bool filtered_ = false;

    sqlite3* db_ = nullptr;
    bool openExclusive_ = false;
    State state_ = State::Inactive;
    std::vector<FieldDef> fields_;
    std::vector<IndexDef> indexes_;
    QHash<QString, int> fieldIndex_; // lower-case name -> index
    std::vector<int> orderFields_;   // fields of the primary index
    bool orderByKeyLast_ = true;     // the key breaks ties (unless it is in the index)

    QString whereSql_; // compiled filter ("" = every row)
    std::vector<QVariant> whereBinds_;

    KeyList rows_; // visible rows in table order
    int pos_ = -1;
    bool eof_ = true;
    bool bof_ = true;

    // Current row cache and edit buffer.
    qint64 cacheKey_ = 0;
    bool cacheValid_ = false;
    std::vector<QVariant> cache_;
    std::vector<char> cacheLoaded_;
    std::vector<QVariant> edits_;
    std::vector<char> modified_;
    qint64 editKey_ = 0;
    int insertReturnPos_ = -1;
    qint64 lastPostedKey_ = 0;

    int batchDepth_ = 0;
    std::map<std::string, std::unique_ptr<Stmt>> writeStmts_; // by kind and changed columns
    sqlite3_stmt* rowStmt_ = nullptr;                         // non-blob columns of one row
    sqlite3_stmt* placementStmt_ = nullptr; // visibility and sort values of one row
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

} // namespace table
