// The inside of a Table: its connection, structure, visible rows, row cache, edit buffers and
// cached statements, with the helpers that the engine's source files share. Internal to the
// engine: table.h does not include it.
#pragma once

#include "platform/table/key_list.h"
#include "platform/table/statement.h"
#include "platform/table/table.h"

#include <QHash>
#include <QString>
#include <QVariant>

#include <array>
#include <functional>
#include <map>
#include <string>
#include <vector>

struct sqlite3;

namespace table {

// The SQLite table that holds the rows; beside it, _fields and _indexes describe the structure.
inline constexpr char kDataTable[] = "data";

// SQLite's "in use elsewhere" result codes.
bool isBusy(int rc);
// Deletes the journal files SQLite may have left beside a table.
void removeJournals(const QString& path);

// Refuses definitions that cannot make a table (EngineError naming the problem).
void validateDefinitions(const QString& path, const std::vector<FieldDef>& fields,
                         const std::vector<IndexDef>& indexes);
// The CREATE INDEX statement of an index over the data table.
QString indexSql(const IndexDef& index, const std::vector<FieldDef>& fields);

// A connection used only while one function runs.
struct Connection {
    sqlite3* db = nullptr;
    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
};

struct Table::Impl {
    explicit Impl(Table& owner) : owner_(owner) {}

    // Errors and statements (table.cpp).
    QString path() const;
    [[noreturn]] void fail(const QString& what) const;
    // The connection's error, or "in use" when SQLite reports the table busy.
    [[noreturn]] void failSql(const QString& what) const;
    void requireOpen() const;
    void exec(const char* sql) const;
    // One aggregate (count(*), sum(...)) over the rows that filterText lets through, read beside
    // the view: no cursor moves and no event fires. `what` names the work in an error.
    qint64 aggregate(const QString& expression, const QString& filterText,
                     const QString& what) const;
    Statement prepare(const QString& sql) const;
    void finalizeStatements();
    // The cached write statement of this kind over these columns, bindings cleared.
    Statement& writeStatement(char kind, const std::vector<int>& columns,
                              const std::function<QString()>& sql);

    // Structure (table_schema.cpp).
    void loadStructure();
    int findField(const QString& name) const;
    QString quotedColumns(const std::vector<int>& indexes) const;

    // Filter, view and cursor (table.cpp).
    void compileFilter();
    void loadView();
    // Reads the visible rows: their keys only, or with the values they are sorted by.
    void loadViewFrom(bool bypassIndex, bool withSortValues);
    // The key list gets the rows' sort values (read again, in one pass) before a post places a
    // row by them. Opening and filtering read only the keys: most views are never posted to.
    void ensureSortValues();
    void resetCursorToFirst();
    void checkBrowseMode();
    void moveTo(int pos, bool always);

    // Row values (table.cpp).
    void invalidateRow();
    void clearEdits();
    void loadRowCache();
    QVariant currentValue(int index);
    void setValue(int index, const QVariant& value);
    QVariant toStorage(const FieldDef& def, const QVariant& value) const;
    // Whether the row passes the filter, and the values it sorts by; false when it is gone.
    bool readPlacement(qint64 key, std::vector<SortVal>& vals);

    // Batch scopes (table.cpp).
    void beginBatch();
    void endBatch(bool throwOnError);

    // Scroll events, held back while a ScrollEventsPaused scope is open (table.cpp).
    void fireBeforeScroll();
    void fireAfterScroll();
    int scrollPause_ = 0;     // open ScrollEventsPaused scopes
    bool scrollHeld_ = false; // an event was held back in them

    // The view generation (Table::viewGeneration): raised wherever the visible rows may change.
    void viewChanged() { ++generation_; }
    quint64 generation_ = 0;

    // Pack of a damaged table (table_maintenance.cpp).
    void rebuildFromReadableRows();

    Table& owner_; // for its events and its public operations

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
    // The names last looked up, exactly as given, with their index: a loop that reads fields by
    // name finds them without folding the name's case each time. Cleared with fieldIndex_.
    struct RecentName {
        QString name;
        int index = -1;
    };
    mutable std::array<RecentName, 8> recentNames_;
    mutable std::size_t nextRecentName_ = 0;
    void clearFieldNames();
    std::vector<int> orderFields_; // fields of the primary index
    bool orderByKeyLast_ = true;   // the key breaks ties (unless it is in the index)
    std::vector<int> sortFields_;  // the order fields whose values the key list keeps

    QString whereSql_; // compiled filter ("" = every row)
    std::vector<QVariant> whereBinds_;

    KeyList rows_; // visible rows in table order
    // The key list holds the rows' sort values (else only their keys), and whether the view was
    // read past a damaged index.
    bool sortValuesLoaded_ = false;
    bool viewBypassesIndex_ = false;
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
    std::map<std::string, Statement> writeStmts_; // by kind and changed columns
    Statement rowStmt_;                           // non-blob columns of one row
    // Rows read ahead: the non-blob columns of up to kReadAhead visible rows around the one
    // last read, fetched by one statement, for walking a view without a query per row. Valid
    // only as long as nothing was written through this connection since (total changes) and
    // until the view is re-read; refresh() drops it, so that changes made through another
    // connection show as they did before.
    static constexpr int kReadAhead = 64;
    // A column value as read: blank, or the integer of a number field, or the UTF-8 bytes of a
    // text field in the block's text buffer. It becomes a QVariant only when the field is read.
    struct AheadCell {
        bool null = true;
        qint64 integer = 0;
        qsizetype offset = 0;
        qsizetype size = 0;
    };
    struct ReadAhead {
        std::vector<qint64> keys;     // in the order of cells
        std::vector<AheadCell> cells; // columns of rowColumns_ per row
        QByteArray text;              // the bytes of the text cells
        qint64 changes = -1;          // sqlite3_total_changes64 when read
        int lastPos = -1;             // the position read last, for the direction of a walk
    } ahead_;
    int aheadRow_ = -1;            // the row of ahead_ that the row cache reads from, -1 for none
    std::vector<int> rowColumns_;  // the non-blob fields
    std::vector<int> rowColumnOf_; // per field its place in rowColumns_, -1 for blobs
    QVariant aheadValue(int index) const;
    Statement aheadStmt_;
    // Fills ahead_ with the rows around pos; false when it holds no row of key.
    bool readAhead(int pos, qint64 key);
    void dropReadAhead();
    Statement placementStmt_; // visibility and sort values of one row
    // readRows: the statement of each list of columns asked for, with kReadRowsChunk key
    // parameters.
    static constexpr int kReadRowsChunk = 64;
    std::map<std::string, Statement> readRowsStmts_;
};

} // namespace table
