// The cursor and editing: opening and closing a table, the filter and the visible rows,
// navigation, row values, posts and deletions, and batch scopes.
#include "platform/table/table.h"

#include "platform/table/filter.h"
#include "platform/table/native_table.h"
#include "platform/table/table_impl.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <algorithm>
#include <exception>
#include <unordered_set>
#include <utility>

namespace table {

namespace {

constexpr int kBusyTimeoutMs = 1000;

using filter::quoteIdentifier;

} // namespace

bool isBusy(int rc) {
    const int primary = rc & 0xff;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

// ---------------------------------------------------------------------------------------------
// Field

const FieldDef& Field::def() const {
    if (index_ >= table_->fieldCount())
        table_->d_->fail(QStringLiteral("La tabla %1 no está abierta").arg(table_->path()));
    return table_->d_->fields_[index_];
}

bool Field::isNull() const {
    return table_->d_->currentValue(index_).isNull();
}

QString Field::asString() const {
    const QVariant v = table_->d_->currentValue(index_);
    if (v.isNull())
        return {};
    switch (type()) {
    case FieldType::Text:
        return v.toString();
    case FieldType::Boolean:
        return v.toLongLong() ? QStringLiteral("true") : QStringLiteral("false");
    case FieldType::Blob:
        return QString::fromUtf8(v.toByteArray());
    default:
        return QString::number(v.toLongLong());
    }
}

qint64 Field::asInteger() const {
    const QVariant v = table_->d_->currentValue(index_);
    if (v.isNull())
        return 0;
    if (type() == FieldType::Text || type() == FieldType::Blob) {
        bool ok = false;
        const qint64 n = asString().trimmed().toLongLong(&ok);
        if (!ok)
            table_->d_->fail(QStringLiteral("El valor \"%1\" del campo %2 no es un número entero")
                                 .arg(asString(), name()));
        return n;
    }
    return v.toLongLong();
}

bool Field::asBoolean() const {
    const QVariant v = table_->d_->currentValue(index_);
    if (v.isNull())
        return false;
    if (type() == FieldType::Text || type() == FieldType::Blob) {
        const QString s = asString().trimmed().toLower();
        if (s == u"true")
            return true;
        if (s == u"false")
            return false;
        table_->d_->fail(QStringLiteral("El valor \"%1\" del campo %2 no es un valor lógico")
                             .arg(asString(), name()));
    }
    return v.toLongLong() != 0;
}

QByteArray Field::asBytes() const {
    const QVariant v = table_->d_->currentValue(index_);
    if (v.isNull())
        return {};
    if (type() == FieldType::Blob)
        return v.toByteArray();
    return asString().toUtf8();
}

void Field::setString(const QString& value) {
    table_->d_->setValue(index_, value);
}
void Field::setInteger(qint64 value) {
    table_->d_->setValue(index_, QVariant::fromValue(value));
}
void Field::setBoolean(bool value) {
    table_->d_->setValue(index_, QVariant(value));
}
void Field::setBytes(const QByteArray& value) {
    table_->d_->setValue(index_, value);
}
void Field::clear() {
    table_->d_->setValue(index_, QVariant());
}

// ---------------------------------------------------------------------------------------------
// Table: set-up

Table::Table() : d_(std::make_unique<Impl>(*this)) {}

Table::~Table() {
    try {
        close();
    } catch (...) {
        // A destructor cannot report; close() has already released what it could.
    }
}

void Table::setFolder(const QString& folder) {
    d_->folder_ = folder;
}

const QString& Table::folder() const {
    return d_->folder_;
}

void Table::setTableName(const QString& name) {
    d_->name_ = name;
}

const QString& Table::tableName() const {
    return d_->name_;
}

QString Table::path() const {
    return d_->path();
}

void Table::setExclusive(bool exclusive) {
    d_->exclusive_ = exclusive;
}

bool Table::exclusive() const {
    return d_->exclusive_;
}

bool Table::isOpen() const {
    return d_->db_ != nullptr;
}

Table::State Table::state() const {
    return d_->state_;
}

QString Table::Impl::path() const {
    if (folder_.isEmpty() || QDir::isAbsolutePath(name_))
        return name_;
    return QDir(folder_).filePath(name_);
}

void Table::Impl::fail(const QString& what) const {
    throw EngineError(what);
}

void Table::Impl::failSql(const QString& what) const {
    const int rc = db_ ? sqlite3_extended_errcode(db_) : SQLITE_ERROR;
    if (isBusy(rc))
        throw EngineError(
            QStringLiteral("La tabla %1 está en uso por otro programa (%2)").arg(path(), what));
    throw EngineError(
        QStringLiteral("Error en la tabla %1 al %2: %3")
            .arg(path(), what, QString::fromUtf8(db_ ? sqlite3_errmsg(db_) : "sin conexión")));
}

void Table::Impl::requireOpen() const {
    if (!db_)
        fail(QStringLiteral("La tabla %1 no está abierta").arg(path()));
}

void Table::Impl::exec(const char* sql) const {
    char* err = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &err) != SQLITE_OK) {
        sqlite3_free(err);
        failSql(QStringLiteral("ejecutar %1").arg(QLatin1String(sql)));
    }
}

Statement Table::Impl::prepare(const QString& sql) const {
    Statement st;
    if (!st.prepare(db_, sql))
        failSql(QStringLiteral("preparar la consulta"));
    return st;
}

Statement& Table::Impl::writeStatement(char kind, const std::vector<int>& columns,
                                       const std::function<QString()>& sql) {
    std::string id(1, kind);
    for (int c : columns)
        id += std::to_string(c) + ',';
    Statement& st = writeStmts_[id];
    if (!st.isPrepared())
        st = prepare(sql());
    st.clearBindings();
    return st;
}

void Table::Impl::finalizeStatements() {
    rowStmt_.finalize();
    aheadStmt_.finalize();
    dropReadAhead();
    placementStmt_.finalize();
    writeStmts_.clear();
    readRowsStmts_.clear();
}

void Table::open(const QString& folder, const QString& name) {
    close();
    d_->folder_ = folder;
    d_->name_ = name;
    open();
}

void Table::open() {
    if (isOpen())
        return;
    const QString p = path();
    if (p.isEmpty())
        d_->fail(QStringLiteral("No se ha indicado el nombre de la tabla"));
    if (!QFileInfo::exists(p))
        d_->fail(QStringLiteral("No existe la tabla %1").arg(p));
    if (!isNativeTable(p))
        d_->fail(
            QStringLiteral("La tabla %1 no tiene un formato que este motor pueda abrir").arg(p));
    // A table and its connection belong to one thread at a time, so SQLite need not lock the
    // connection around every call (each column read of a view of 100,000 rows would).
    if (sqlite3_open_v2(QFile::encodeName(p).constData(), &d_->db_,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
        const QString msg = QString::fromUtf8(sqlite3_errmsg(d_->db_));
        sqlite3_close_v2(d_->db_);
        d_->db_ = nullptr;
        d_->fail(QStringLiteral("No se puede abrir la tabla %1: %2").arg(p, msg));
    }
    sqlite3_extended_result_codes(d_->db_, 1);
    sqlite3_busy_timeout(d_->db_, kBusyTimeoutMs);
    try {
        d_->exec("PRAGMA synchronous=FULL");
        // Up to 16 MiB of pages kept (SQLite's default is 2 MiB): walking a filtered view of a
        // large table reads pages all over the file, again on every walk. The cache only grows
        // as pages are read.
        d_->exec("PRAGMA cache_size=-16384");
        if (d_->exclusive_) {
            d_->exec("PRAGMA locking_mode=EXCLUSIVE");
            // Taking the write lock once keeps it for as long as the connection stays open.
            d_->exec("BEGIN EXCLUSIVE");
            d_->exec("COMMIT");
        }
        d_->exec("PRAGMA journal_mode=DELETE");
        d_->openExclusive_ = d_->exclusive_;
        d_->loadStructure();
        d_->state_ = State::Browse;
        d_->compileFilter();
        d_->loadView();
    } catch (...) {
        d_->finalizeStatements();
        sqlite3_close_v2(d_->db_);
        d_->db_ = nullptr;
        d_->state_ = State::Inactive;
        d_->fields_.clear();
        d_->fieldIndex_.clear();
        d_->clearFieldNames();
        d_->rows_.clear();
        throw;
    }
    d_->pos_ = d_->rows_.empty() ? -1 : 0;
    d_->bof_ = true;
    d_->eof_ = d_->rows_.empty();
    d_->invalidateRow();
    if (!d_->rows_.empty())
        d_->fireAfterScroll();
}

void Table::close() {
    if (!d_->db_)
        return;
    d_->state_ = State::Browse;
    if (d_->batchDepth_ > 0) {
        d_->batchDepth_ = 0;
        if (!sqlite3_get_autocommit(d_->db_))
            sqlite3_exec(d_->db_, "COMMIT", nullptr, nullptr, nullptr);
    }
    d_->finalizeStatements();
    sqlite3_close_v2(d_->db_);
    d_->db_ = nullptr;
    d_->state_ = State::Inactive;
    d_->openExclusive_ = false;
    d_->fields_.clear();
    d_->indexes_.clear();
    d_->fieldIndex_.clear();
    d_->clearFieldNames();
    d_->orderFields_.clear();
    d_->sortFields_.clear();
    d_->rows_.clear();
    d_->whereSql_.clear();
    d_->whereBinds_.clear();
    d_->pos_ = -1;
    d_->eof_ = d_->bof_ = true;
    d_->invalidateRow();
    d_->viewChanged();
}

// ---------------------------------------------------------------------------------------------
// Filter and view

void Table::Impl::compileFilter() {
    whereSql_.clear();
    whereBinds_.clear();
    placementStmt_.finalize();
    if (!filtered_ || filterText_.trimmed().isEmpty())
        return;
    const auto compiled = filter::compile(filterText_, [this](const QString& n) -> const FieldDef* {
        const int i = findField(n);
        return i < 0 ? nullptr : &fields_[i];
    });
    whereSql_ = compiled.sql;
    whereBinds_ = compiled.binds;
}

void Table::Impl::loadView() {
    try {
        loadViewFrom(false, false);
    } catch (const EngineError&) {
        // A damaged index must not keep the rows from being read (and the table from being
        // packed): read the rows themselves and sort them.
        if ((sqlite3_extended_errcode(db_) & 0xff) != SQLITE_CORRUPT)
            throw;
        loadViewFrom(true, false);
    }
}

void Table::Impl::ensureSortValues() {
    if (sortValuesLoaded_ || sortFields_.empty())
        return;
    // The same rows in the same order; the cursor stays on its row.
    const qint64 current = pos_ >= 0 && pos_ < rows_.size() ? rows_.keyAt(pos_) : 0;
    const quint64 generation = generation_;
    loadViewFrom(viewBypassesIndex_, true);
    generation_ = generation;
    if (current != 0) {
        const int at = rows_.indexOf(current);
        if (at >= 0)
            pos_ = at;
    }
}

void Table::Impl::loadViewFrom(bool bypassIndex, bool withSortValues) {
    dropReadAhead();
    const bool values = withSortValues && !sortFields_.empty();
    QString sql = QStringLiteral("SELECT rowid");
    if (values)
        sql += QStringLiteral(", ") + quotedColumns(sortFields_);
    sql += QStringLiteral(" FROM ") + QLatin1String(kDataTable);
    if (bypassIndex)
        sql += QStringLiteral(" NOT INDEXED");
    if (!whereSql_.isEmpty())
        sql += QStringLiteral(" WHERE ") + whereSql_;
    sql += QStringLiteral(" ORDER BY ");
    if (!orderFields_.empty())
        sql += quotedColumns(orderFields_) + (orderByKeyLast_ ? QStringLiteral(", rowid") : "");
    else
        sql += QStringLiteral("rowid");
    Statement st = prepare(sql);
    for (std::size_t i = 0; i < whereBinds_.size(); ++i)
        st.bindFilterValue(static_cast<int>(i) + 1, whereBinds_[i]);
    // The rows come in table order: each goes straight to the end of the list.
    const int nSort = values ? static_cast<int>(sortFields_.size()) : 0;
    KeyList rows;
    rows.reset(nSort);
    std::vector<SortVal> vals(nSort);
    int rc;
    while ((rc = st.step()) == SQLITE_ROW) {
        for (int c = 0; c < nSort; ++c)
            st.sortValueInto(c + 1, vals[c]);
        rows.appendLast(st.integer(0), vals.data());
    }
    if (rc != SQLITE_DONE)
        failSql(QStringLiteral("leer las filas"));
    rows_ = std::move(rows);
    sortValuesLoaded_ = values;
    viewBypassesIndex_ = bypassIndex;
    viewChanged();
}

void Table::Impl::resetCursorToFirst() {
    pos_ = rows_.empty() ? -1 : 0;
    bof_ = true;
    eof_ = rows_.empty();
    invalidateRow();
    fireAfterScroll();
}

const QString& Table::filter() const {
    return d_->filterText_;
}

bool Table::filtered() const {
    return d_->filtered_;
}

void Table::setFilter(const QString& text) {
    // An unchanged filter on a view that shows it (no edit pending) changes nothing: the view is
    // not read again, the cursor stays and no scroll event fires.
    if (text == d_->filterText_ && (!isOpen() || !d_->filtered_ || state() == State::Browse))
        return;
    const QString old = d_->filterText_;
    d_->filterText_ = text;
    d_->viewChanged();
    if (!isOpen() || !d_->filtered_)
        return;
    d_->checkBrowseMode();
    try {
        d_->compileFilter();
    } catch (...) {
        d_->filterText_ = old;
        d_->compileFilter();
        throw;
    }
    d_->fireBeforeScroll();
    d_->loadView();
    d_->resetCursorToFirst();
}

void Table::setFiltered(bool on) {
    if (on == d_->filtered_)
        return;
    d_->filtered_ = on;
    d_->viewChanged();
    if (!isOpen())
        return;
    d_->checkBrowseMode();
    try {
        d_->compileFilter();
    } catch (...) {
        d_->filtered_ = !on;
        d_->compileFilter();
        throw;
    }
    d_->fireBeforeScroll();
    d_->loadView();
    d_->resetCursorToFirst();
}

void Table::refresh() {
    d_->requireOpen();
    d_->checkBrowseMode();
    const qint64 key = d_->pos_ >= 0 ? d_->rows_.keyAt(d_->pos_) : 0;
    const int oldPos = d_->pos_;
    d_->loadView();
    if (d_->rows_.empty()) {
        d_->pos_ = -1;
    } else {
        const int at = d_->rows_.indexOf(key);
        d_->pos_ = at >= 0 ? at : std::clamp(oldPos, 0, recordCount() - 1);
    }
    d_->eof_ = d_->bof_ = d_->rows_.empty();
    d_->invalidateRow();
}

// ---------------------------------------------------------------------------------------------
// Navigation

void Table::Impl::checkBrowseMode() {
    requireOpen();
    if (state_ == State::Edit || state_ == State::Insert) {
        if (std::any_of(modified_.begin(), modified_.end(), [](char m) { return m != 0; }))
            owner_.post();
        else
            owner_.cancel();
    }
}

void Table::Impl::moveTo(int pos, bool always) {
    if (pos == pos_ && !always)
        return;
    fireBeforeScroll();
    pos_ = pos;
    invalidateRow();
    fireAfterScroll();
}

bool Table::eof() const {
    return d_->eof_;
}

bool Table::bof() const {
    return d_->bof_;
}

bool Table::isEmpty() const {
    return d_->rows_.empty();
}

int Table::recordCount() const {
    return d_->rows_.size();
}

int Table::recNo() const {
    return d_->pos_ + 1;
}

std::vector<qint64> Table::visibleKeys() const {
    return d_->rows_.keys();
}

qint64 Table::keyAt(int pos) const {
    if (pos < 0 || pos >= recordCount())
        d_->fail(QStringLiteral("La tabla %1 no tiene ningún registro visible en la posición %2")
                     .arg(path())
                     .arg(pos + 1));
    return d_->rows_.keyAt(pos);
}

int Table::positionOfKey(qint64 key) const {
    return d_->rows_.indexOf(key);
}

quint64 Table::viewGeneration() const {
    return d_->generation_;
}

void Table::first() {
    d_->checkBrowseMode();
    d_->moveTo(d_->rows_.empty() ? -1 : 0, true);
    d_->bof_ = true;
    d_->eof_ = d_->rows_.empty();
}

void Table::last() {
    d_->checkBrowseMode();
    d_->moveTo(recordCount() - 1, true);
    d_->eof_ = true;
    d_->bof_ = d_->rows_.empty();
}

void Table::next() {
    d_->checkBrowseMode();
    if (d_->pos_ + 1 < recordCount()) {
        d_->moveTo(d_->pos_ + 1, false);
        d_->bof_ = d_->eof_ = false;
    } else {
        d_->eof_ = true;
    }
}

void Table::prior() {
    d_->checkBrowseMode();
    if (d_->pos_ > 0) {
        d_->moveTo(d_->pos_ - 1, false);
        d_->bof_ = d_->eof_ = false;
    } else {
        d_->bof_ = true;
    }
}

int Table::moveBy(int distance) {
    d_->checkBrowseMode();
    if (d_->rows_.empty()) {
        d_->eof_ = d_->bof_ = true;
        return 0;
    }
    if (distance == 0)
        return 0;
    const int target = std::clamp(d_->pos_ + distance, 0, recordCount() - 1);
    const int moved = target - d_->pos_;
    d_->moveTo(target, false);
    // Asked to go past an end: that end is reached.
    d_->eof_ = distance > 0 && moved < distance;
    d_->bof_ = distance < 0 && moved > distance;
    return moved;
}

void Table::setRecNo(int recNo) {
    d_->checkBrowseMode();
    if (d_->rows_.empty())
        return;
    d_->moveTo(std::clamp(recNo, 1, recordCount()) - 1, false);
    d_->eof_ = d_->bof_ = false;
}

bool Table::locateKey(qint64 key) {
    d_->checkBrowseMode();
    const int at = d_->rows_.indexOf(key);
    if (at < 0)
        return false;
    d_->moveTo(at, true);
    d_->eof_ = d_->bof_ = false;
    return true;
}

Bookmark Table::bookmark() const {
    d_->requireOpen();
    if (d_->pos_ < 0)
        d_->fail(QStringLiteral("La tabla %1 no tiene ningún registro visible").arg(path()));
    return d_->rows_.keyAt(d_->pos_);
}

bool Table::bookmarkValid(Bookmark bookmark) const {
    return isOpen() && d_->rows_.indexOf(bookmark) >= 0;
}

void Table::gotoBookmark(Bookmark bookmark) {
    if (!locateKey(bookmark))
        d_->fail(QStringLiteral("El registro marcado ya no está en la tabla %1").arg(path()));
}

// ---------------------------------------------------------------------------------------------
// Reads that leave the cursor alone

std::vector<std::vector<QVariant>> Table::readRows(const std::vector<qint64>& keys,
                                                   const QStringList& fields) const {
    d_->requireOpen();
    std::vector<int> columns;
    std::string id;
    for (const QString& name : fields) {
        const int i = d_->findField(name);
        if (i < 0)
            d_->fail(QStringLiteral("Campo desconocido: %1").arg(name));
        if (d_->fields_[i].type == FieldType::Blob)
            d_->fail(QStringLiteral("El campo %1 es un campo grande: se lee solo en el registro "
                                    "actual")
                         .arg(d_->fields_[i].name));
        columns.push_back(i);
        id += std::to_string(i) + ',';
    }
    std::vector<std::vector<QVariant>> out(keys.size());
    if (keys.empty())
        return out;

    constexpr int chunk = Impl::kReadRowsChunk;
    Statement& st = d_->readRowsStmts_[id];
    if (!st.isPrepared()) {
        QStringList marks;
        for (int i = 0; i < chunk; ++i)
            marks << QStringLiteral("?");
        st = d_->prepare(QStringLiteral("SELECT rowid%1 FROM %2 WHERE rowid IN (%3)")
                             .arg(columns.empty()
                                      ? QString()
                                      : QStringLiteral(", ") + d_->quotedColumns(columns),
                                  QLatin1String(kDataTable), marks.join(QLatin1Char(','))));
    }
    const int nCols = static_cast<int>(columns.size());
    for (std::size_t start = 0; start < keys.size(); start += chunk) {
        const std::size_t end = std::min(keys.size(), start + chunk);
        st.reset();
        st.clearBindings(); // parameters without a key stay NULL, which matches no row
        for (std::size_t k = start; k < end; ++k)
            st.bindInteger(static_cast<int>(k - start) + 1, keys[k]);
        int rc;
        while ((rc = st.step()) == SQLITE_ROW) {
            const qint64 key = st.integer(0);
            std::vector<QVariant> values;
            values.reserve(std::size_t(nCols));
            for (int c = 0; c < nCols; ++c)
                values.push_back(st.value(c + 1, d_->fields_[columns[c]].type));
            // A key asked for twice gets its values twice.
            for (std::size_t k = start; k < end; ++k)
                if (keys[k] == key)
                    out[k] = values;
        }
        st.reset();
        if (rc != SQLITE_DONE)
            d_->failSql(QStringLiteral("leer los registros"));
    }
    return out;
}

qint64 Table::Impl::aggregate(const QString& expression, const QString& filterText,
                              const QString& what) const {
    const auto compiled = filter::compile(filterText, [this](const QString& n) -> const FieldDef* {
        const int i = findField(n);
        return i < 0 ? nullptr : &fields_[i];
    });
    QString sql = QStringLiteral("SELECT ") + expression + QStringLiteral(" FROM ") +
                  QLatin1String(kDataTable);
    if (!compiled.sql.isEmpty())
        sql += QStringLiteral(" WHERE ") + compiled.sql;
    Statement st = prepare(sql);
    for (std::size_t i = 0; i < compiled.binds.size(); ++i)
        st.bindFilterValue(static_cast<int>(i) + 1, compiled.binds[i]);
    if (st.step() != SQLITE_ROW)
        failSql(what);
    return st.integer(0);
}

int Table::countMatching(const QString& filterText) const {
    d_->requireOpen();
    return static_cast<int>(d_->aggregate(QStringLiteral("count(*)"), filterText,
                                          QStringLiteral("contar los registros")));
}

qint64 Table::sumWhere(const QString& field, const QString& filterText) const {
    d_->requireOpen();
    const int i = d_->findField(field);
    if (i < 0)
        d_->fail(QStringLiteral("Campo desconocido: %1").arg(field));
    const FieldType type = d_->fields_[i].type;
    if (type == FieldType::Text || type == FieldType::Blob)
        d_->fail(QStringLiteral("El campo %1 no es numérico: no se puede sumar")
                     .arg(d_->fields_[i].name));
    // sum() skips blanks; over no row at all it gives NULL, which is 0 here too.
    return d_->aggregate(QStringLiteral("coalesce(sum(%1), 0)").arg(d_->quotedColumns({i})),
                         filterText, QStringLiteral("sumar el campo %1").arg(d_->fields_[i].name));
}

// ---------------------------------------------------------------------------------------------
// Row values

void Table::Impl::invalidateRow() {
    cacheValid_ = false;
    std::fill(cacheLoaded_.begin(), cacheLoaded_.end(), 0);
}

void Table::Impl::clearEdits() {
    std::fill(modified_.begin(), modified_.end(), 0);
    std::fill(edits_.begin(), edits_.end(), QVariant());
}

bool Table::Impl::readAhead(int pos, qint64 key) {
    ahead_.keys.clear();
    ahead_.cells.clear();
    aheadRow_ = -1;
    const int nCols = static_cast<int>(rowColumns_.size());
    if (nCols == 0)
        return false;
    // Walking backwards reads the rows before pos, else pos and the rows after it.
    const bool backwards = ahead_.lastPos >= 0 && pos < ahead_.lastPos;
    const int start = backwards ? std::max(0, pos - kReadAhead + 1) : pos;
    const int end = std::min(rows_.size(), start + kReadAhead);
    if (!aheadStmt_.isPrepared()) {
        QStringList marks;
        for (int i = 0; i < kReadAhead; ++i)
            marks << QStringLiteral("?");
        aheadStmt_ = prepare(QStringLiteral("SELECT rowid, %1 FROM %2 WHERE rowid IN (%3)")
                                 .arg(quotedColumns(rowColumns_), QLatin1String(kDataTable),
                                      marks.join(QLatin1Char(','))));
    }
    Statement& st = aheadStmt_;
    st.reset();
    st.clearBindings(); // parameters without a key stay NULL, which matches no row
    std::vector<qint64> keys;
    keys.reserve(std::size_t(end - start));
    for (int p = start; p < end; ++p) {
        keys.push_back(rows_.keyAt(p));
        st.bindInteger(p - start + 1, keys.back());
    }
    std::vector<AheadCell> cells(keys.size() * nCols);
    std::vector<char> found(keys.size(), 0);
    QByteArray text;
    int rc;
    while ((rc = st.step()) == SQLITE_ROW) {
        const qint64 k = st.integer(0);
        const auto at = std::find(keys.begin(), keys.end(), k);
        if (at == keys.end())
            continue;
        const std::size_t row = std::size_t(at - keys.begin());
        found[row] = 1;
        for (int c = 0; c < nCols; ++c) {
            AheadCell& cell = cells[row * nCols + c];
            cell.null = st.isNull(c + 1);
            if (cell.null)
                continue;
            // As Statement::value converts: text fields as text, the others as integers.
            if (fields_[rowColumns_[c]].type == FieldType::Text) {
                const QByteArray bytes = st.textBytes(c + 1);
                cell.offset = text.size();
                cell.size = bytes.size();
                text += bytes;
            } else {
                cell.integer = st.integer(c + 1);
            }
        }
    }
    st.reset();
    if (rc != SQLITE_DONE)
        failSql(QStringLiteral("leer los registros"));
    // Rows gone meanwhile are left out, so that reading them reports that they no longer exist.
    for (std::size_t row = 0; row < keys.size(); ++row) {
        if (!found[row])
            continue;
        ahead_.keys.push_back(keys[row]);
        ahead_.cells.insert(ahead_.cells.end(), cells.begin() + row * nCols,
                            cells.begin() + (row + 1) * nCols);
    }
    ahead_.text = std::move(text);
    ahead_.changes = sqlite3_total_changes64(db_);
    return std::find(ahead_.keys.begin(), ahead_.keys.end(), key) != ahead_.keys.end();
}

void Table::Impl::dropReadAhead() {
    ahead_.keys.clear();
    ahead_.cells.clear();
    ahead_.text.clear();
    ahead_.changes = -1;
    ahead_.lastPos = -1;
    // The row cache may read from the rows dropped: it is read again.
    aheadRow_ = -1;
    cacheValid_ = false;
}

QVariant Table::Impl::aheadValue(int index) const {
    const int nCols = static_cast<int>(rowColumns_.size());
    const AheadCell& cell = ahead_.cells[std::size_t(aheadRow_) * nCols + rowColumnOf_[index]];
    if (cell.null)
        return {};
    if (fields_[index].type == FieldType::Text)
        return QString::fromUtf8(ahead_.text.constData() + cell.offset, cell.size);
    return QVariant::fromValue<qint64>(cell.integer);
}

void Table::Impl::loadRowCache() {
    const qint64 key = state_ == State::Edit ? editKey_ : rows_.keyAt(pos_);
    if (cacheValid_ && cacheKey_ == key)
        return;
    std::fill(cacheLoaded_.begin(), cacheLoaded_.end(), 0);
    const int nCols = static_cast<int>(rowColumns_.size());

    // A browsed row comes from the rows read ahead, which are read again when they do not hold
    // it or when something was written since they were read.
    if (state_ == State::Browse && pos_ >= 0 && nCols > 0) {
        const bool fresh = ahead_.changes == sqlite3_total_changes64(db_);
        auto at = std::find(ahead_.keys.begin(), ahead_.keys.end(), key);
        if (!fresh || at == ahead_.keys.end()) {
            if (readAhead(pos_, key))
                at = std::find(ahead_.keys.begin(), ahead_.keys.end(), key);
            else
                at = ahead_.keys.end();
        }
        if (at != ahead_.keys.end()) {
            // The fields are converted as they are read (currentValue).
            aheadRow_ = static_cast<int>(at - ahead_.keys.begin());
            ahead_.lastPos = pos_;
            cacheKey_ = key;
            cacheValid_ = true;
            return;
        }
    }

    aheadRow_ = -1;
    if (!rowStmt_.isPrepared()) {
        rowStmt_ =
            prepare(QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?")
                        .arg(nCols == 0 ? QStringLiteral("rowid") : quotedColumns(rowColumns_),
                             QLatin1String(kDataTable)));
    }
    rowStmt_.reset();
    rowStmt_.bindInteger(1, key);
    const int rc = rowStmt_.step();
    if (rc == SQLITE_ROW) {
        for (int c = 0; c < nCols; ++c) {
            cache_[rowColumns_[c]] = rowStmt_.value(c, fields_[rowColumns_[c]].type);
            cacheLoaded_[rowColumns_[c]] = 1;
        }
        rowStmt_.reset();
    } else {
        rowStmt_.reset();
        if (rc == SQLITE_DONE)
            fail(QStringLiteral("El registro %1 ya no existe en la tabla %2").arg(key).arg(path()));
        failSql(QStringLiteral("leer un registro"));
    }
    cacheKey_ = key;
    cacheValid_ = true;
}

QVariant Table::Impl::currentValue(int index) {
    requireOpen();
    if (index >= static_cast<int>(fields_.size()))
        fail(QStringLiteral("La tabla %1 no tiene el campo número %2").arg(path()).arg(index));
    if (state_ == State::Insert)
        return edits_[index];
    if (state_ == State::Edit && modified_[index])
        return edits_[index];
    if (pos_ < 0 && state_ != State::Edit)
        return {};
    loadRowCache();
    if (!cacheLoaded_[index] && aheadRow_ >= 0 && rowColumnOf_[index] >= 0) {
        cache_[index] = aheadValue(index);
        cacheLoaded_[index] = 1;
    }
    if (!cacheLoaded_[index]) {
        // Large fields are read only when asked for.
        Statement st =
            prepare(QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?")
                        .arg(quoteIdentifier(fields_[index].name), QLatin1String(kDataTable)));
        st.bindInteger(1, cacheKey_);
        const int rc = st.step();
        if (rc == SQLITE_ROW)
            cache_[index] = st.value(0, fields_[index].type);
        else if (rc == SQLITE_DONE)
            fail(QStringLiteral("El registro %1 ya no existe en la tabla %2")
                     .arg(cacheKey_)
                     .arg(path()));
        else
            failSql(QStringLiteral("leer un campo"));
        cacheLoaded_[index] = 1;
    }
    return cache_[index];
}

QVariant Table::Impl::toStorage(const FieldDef& def, const QVariant& value) const {
    if (!value.isValid() || value.isNull())
        return {};
    const bool isText = value.typeId() == QMetaType::QString;
    const bool isBytes = value.typeId() == QMetaType::QByteArray;
    switch (def.type) {
    case FieldType::Text: {
        QString s;
        if (isText)
            s = value.toString();
        else if (isBytes)
            s = QString::fromUtf8(value.toByteArray());
        else if (value.typeId() == QMetaType::Bool)
            s = value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
        else
            s = QString::number(value.toLongLong());
        if (s.size() > def.size) {
            int cut = def.size;
            if (cut > 0 && s[cut - 1].isHighSurrogate())
                --cut;
            s.truncate(cut);
        }
        if (s.isEmpty())
            return {};
        return s;
    }
    case FieldType::SmallInt:
    case FieldType::AutoInc: {
        qint64 n = 0;
        if (isText || isBytes) {
            const QString s = isText ? value.toString() : QString::fromUtf8(value.toByteArray());
            if (s.trimmed().isEmpty())
                return {};
            bool ok = false;
            n = s.trimmed().toLongLong(&ok);
            if (!ok)
                fail(QStringLiteral("El valor \"%1\" no es un número entero válido para el campo "
                                    "%2")
                         .arg(s, def.name));
        } else {
            n = value.toLongLong();
        }
        if (def.type == FieldType::SmallInt && (n < -32768 || n > 32767))
            fail(QStringLiteral("El valor %1 está fuera del rango del campo %2 (-32768 a 32767)")
                     .arg(n)
                     .arg(def.name));
        return QVariant::fromValue(n);
    }
    case FieldType::Boolean: {
        if (isText || isBytes) {
            const QString s =
                (isText ? value.toString() : QString::fromUtf8(value.toByteArray())).trimmed();
            if (s.isEmpty())
                return {};
            if (s.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0)
                return QVariant::fromValue<qint64>(1);
            if (s.compare(QStringLiteral("false"), Qt::CaseInsensitive) == 0)
                return QVariant::fromValue<qint64>(0);
            fail(QStringLiteral("El valor \"%1\" no es un valor lógico (true o false) para el "
                                "campo %2")
                     .arg(s, def.name));
        }
        return QVariant::fromValue<qint64>(value.toLongLong() != 0 ? 1 : 0);
    }
    case FieldType::Blob: {
        const QByteArray b = isText ? value.toString().toUtf8() : value.toByteArray();
        if (b.isEmpty())
            return {};
        return b;
    }
    }
    return {};
}

void Table::Impl::setValue(int index, const QVariant& value) {
    requireOpen();
    if (index >= static_cast<int>(fields_.size()))
        fail(QStringLiteral("La tabla %1 no tiene el campo número %2").arg(path()).arg(index));
    if (state_ != State::Edit && state_ != State::Insert)
        fail(QStringLiteral("La tabla %1 no está en modo de edición o inserción").arg(path()));
    const FieldDef& def = fields_[index];
    if (def.type == FieldType::AutoInc)
        fail(QStringLiteral("El campo %1 es de solo lectura").arg(def.name));
    edits_[index] = toStorage(def, value);
    modified_[index] = 1;
}

// ---------------------------------------------------------------------------------------------
// Editing

void Table::edit() {
    d_->requireOpen();
    if (d_->state_ == State::Edit || d_->state_ == State::Insert)
        return;
    if (d_->pos_ < 0)
        d_->fail(QStringLiteral("La tabla %1 no tiene ningún registro que modificar").arg(path()));
    d_->editKey_ = d_->rows_.keyAt(d_->pos_);
    d_->clearEdits();
    d_->state_ = State::Edit;
}

void Table::append() {
    d_->checkBrowseMode();
    d_->fireBeforeScroll();
    d_->insertReturnPos_ = d_->pos_;
    d_->clearEdits();
    d_->state_ = State::Insert;
    d_->invalidateRow();
    d_->fireAfterScroll();
}

void Table::cancel() {
    d_->requireOpen();
    // Leaving an appended row makes the row that was current before it current again.
    const bool wasInsert = d_->state_ == State::Insert;
    if (wasInsert)
        d_->fireBeforeScroll();
    if (wasInsert)
        d_->pos_ = d_->rows_.empty() ? -1 : std::clamp(d_->insertReturnPos_, 0, recordCount() - 1);
    d_->state_ = State::Browse;
    d_->clearEdits();
    d_->invalidateRow();
    if (wasInsert)
        d_->fireAfterScroll();
}

bool Table::Impl::readPlacement(qint64 key, std::vector<SortVal>& vals) {
    if (!placementStmt_.isPrepared()) {
        QString sql =
            QStringLiteral("SELECT ") +
            (whereSql_.isEmpty() ? QStringLiteral("1") : QStringLiteral("(") + whereSql_ + ")");
        if (!sortFields_.empty())
            sql += QStringLiteral(", ") + quotedColumns(sortFields_);
        sql += QStringLiteral(" FROM ") + QLatin1String(kDataTable) +
               QStringLiteral(" WHERE rowid = ?");
        placementStmt_ = prepare(sql);
    }
    Statement& st = placementStmt_;
    st.reset();
    st.clearBindings();
    int n = 1;
    for (const QVariant& b : whereBinds_)
        st.bindFilterValue(n++, b);
    st.bindInteger(n, key);
    const int rc = st.step();
    if (rc == SQLITE_DONE) {
        st.reset();
        return false;
    }
    if (rc != SQLITE_ROW) {
        st.reset();
        failSql(QStringLiteral("comprobar el filtro"));
    }
    const bool visible = !st.isNull(0) && st.integer(0) != 0;
    vals.clear();
    for (std::size_t c = 0; c < sortFields_.size(); ++c)
        vals.push_back(st.sortValue(static_cast<int>(c) + 1));
    st.reset();
    return visible;
}

qint64 Table::lastPostedKey() const {
    return d_->lastPostedKey_;
}

void Table::post() {
    d_->requireOpen();
    if (d_->state_ != State::Edit && d_->state_ != State::Insert)
        d_->fail(QStringLiteral("La tabla %1 no está en modo de edición o inserción").arg(path()));
    // Before the row is written: the values read must be those of the rows as they were.
    d_->ensureSortValues();
    std::vector<int> changed;
    for (int i = 0; i < fieldCount(); ++i)
        if (d_->modified_[i])
            changed.push_back(i);
    qint64 key = 0;
    int oldPos = -1;
    if (d_->state_ == State::Edit) {
        key = d_->editKey_;
        if (!changed.empty()) {
            Statement& st = d_->writeStatement('U', changed, [&] {
                QStringList sets;
                for (int i : changed)
                    sets << quoteIdentifier(d_->fields_[i].name) + QStringLiteral(" = ?");
                return QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                    .arg(QLatin1String(kDataTable), sets.join(QStringLiteral(", ")));
            });
            int n = 1;
            for (int i : changed)
                st.bindValue(n++, d_->edits_[i]);
            st.bindInteger(n, key);
            const int rc = st.step();
            st.reset();
            if (rc != SQLITE_DONE)
                d_->failSql(QStringLiteral("guardar el registro"));
            if (sqlite3_changes(d_->db_) == 0)
                d_->fail(QStringLiteral("El registro %1 ya no existe en la tabla %2")
                             .arg(key)
                             .arg(path()));
        }
        oldPos = (d_->pos_ >= 0 && d_->pos_ < recordCount() && d_->rows_.keyAt(d_->pos_) == key)
                     ? d_->pos_
                     : d_->rows_.indexOf(key);
    } else {
        Statement& st = d_->writeStatement('I', changed, [&] {
            if (changed.empty())
                return QStringLiteral("INSERT INTO %1 DEFAULT VALUES")
                    .arg(QLatin1String(kDataTable));
            QStringList marks;
            for (std::size_t i = 0; i < changed.size(); ++i)
                marks << QStringLiteral("?");
            return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                .arg(QLatin1String(kDataTable), d_->quotedColumns(changed),
                     marks.join(QStringLiteral(", ")));
        });
        int n = 1;
        for (int i : changed)
            st.bindValue(n++, d_->edits_[i]);
        const int rc = st.step();
        st.reset();
        if (rc != SQLITE_DONE)
            d_->failSql(QStringLiteral("añadir el registro"));
        key = sqlite3_last_insert_rowid(d_->db_);
    }
    const bool wasInsert = d_->state_ == State::Insert;
    d_->lastPostedKey_ = key;
    d_->state_ = State::Browse;
    d_->clearEdits();
    d_->invalidateRow();

    // Keep the visible key list in step: the row leaves it, and comes back at its new place
    // when it still satisfies the filter.
    const int resumePos = wasInsert ? d_->insertReturnPos_ : oldPos;
    if (oldPos >= 0)
        d_->rows_.eraseAt(oldPos);
    std::vector<SortVal> vals;
    if (d_->readPlacement(key, vals)) {
        d_->pos_ = d_->rows_.insertSorted(key, std::move(vals));
    } else {
        d_->pos_ = d_->rows_.empty() ? -1 : std::clamp(resumePos, 0, recordCount() - 1);
    }
    d_->eof_ = d_->bof_ = d_->rows_.empty();
    d_->viewChanged();
    if (afterPost)
        afterPost();
}

void Table::deleteCurrent() {
    d_->requireOpen();
    if (d_->state_ == State::Insert) {
        cancel();
        return;
    }
    if (d_->state_ == State::Edit)
        cancel();
    if (d_->pos_ < 0)
        d_->fail(QStringLiteral("La tabla %1 no tiene ningún registro que borrar").arg(path()));
    d_->fireBeforeScroll();
    const qint64 key = d_->rows_.keyAt(d_->pos_);
    Statement st = d_->prepare(
        QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(QLatin1String(kDataTable)));
    st.bindInteger(1, key);
    if (st.step() != SQLITE_DONE)
        d_->failSql(QStringLiteral("borrar el registro"));
    d_->rows_.eraseAt(d_->pos_);
    d_->viewChanged();
    d_->pos_ = d_->rows_.empty() ? -1 : std::min(d_->pos_, recordCount() - 1);
    d_->eof_ = d_->bof_ = d_->rows_.empty();
    d_->invalidateRow();
    d_->fireAfterScroll();
}

void Table::deleteBookmarks(const std::vector<Bookmark>& bookmarks) {
    d_->checkBrowseMode();
    if (bookmarks.empty())
        return;
    d_->fireBeforeScroll();
    const qint64 current = d_->pos_ >= 0 ? d_->rows_.keyAt(d_->pos_) : 0;
    const int oldPos = d_->pos_;
    std::unordered_set<qint64> gone;
    {
        BatchScope batch(*this);
        Statement st = d_->prepare(
            QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(QLatin1String(kDataTable)));
        for (Bookmark b : bookmarks) {
            st.reset();
            st.bindInteger(1, b);
            if (st.step() != SQLITE_DONE)
                d_->failSql(QStringLiteral("borrar los registros marcados"));
            gone.insert(b);
        }
    }
    d_->rows_.eraseKeys(gone);
    d_->viewChanged();
    const int newPos = d_->rows_.indexOf(current);
    if (d_->rows_.empty())
        d_->pos_ = -1;
    else if (newPos >= 0)
        d_->pos_ = newPos;
    else
        d_->pos_ = std::clamp(oldPos, 0, recordCount() - 1);
    d_->eof_ = d_->bof_ = d_->rows_.empty();
    d_->invalidateRow();
    d_->fireAfterScroll();
}

// ---------------------------------------------------------------------------------------------
// Scroll events

void Table::Impl::fireBeforeScroll() {
    if (scrollPause_ > 0) {
        scrollHeld_ = true;
        return;
    }
    if (owner_.beforeScroll)
        owner_.beforeScroll();
}

void Table::Impl::fireAfterScroll() {
    if (scrollPause_ > 0) {
        scrollHeld_ = true;
        return;
    }
    if (owner_.afterScroll)
        owner_.afterScroll();
}

ScrollEventsPaused::ScrollEventsPaused(Table& table)
    : table_(table), uncaught_(std::uncaught_exceptions()) {
    ++table_.d_->scrollPause_;
}

ScrollEventsPaused::~ScrollEventsPaused() noexcept(false) {
    Table::Impl& d = *table_.d_;
    if (--d.scrollPause_ > 0 || !std::exchange(d.scrollHeld_, false))
        return;
    if (!table_.isOpen() || !table_.afterScroll)
        return;
    if (std::uncaught_exceptions() > uncaught_) {
        // The exception that is leaving the scope is the one to report.
        try {
            table_.afterScroll();
        } catch (...) {
        }
        return;
    }
    table_.afterScroll();
}

// ---------------------------------------------------------------------------------------------
// Batch scopes

void Table::Impl::beginBatch() {
    requireOpen();
    if (batchDepth_ == 0 && sqlite3_get_autocommit(db_))
        exec("BEGIN IMMEDIATE");
    ++batchDepth_;
}

void Table::Impl::endBatch(bool throwOnError) {
    if (!db_ || batchDepth_ == 0)
        return;
    if (--batchDepth_ > 0)
        return;
    if (sqlite3_get_autocommit(db_))
        return; // the transaction ended already (an error rolled it back)
    if (sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
        if (throwOnError) {
            const QString msg = QString::fromUtf8(sqlite3_errmsg(db_));
            sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
            fail(QStringLiteral("No se pudieron guardar los cambios en la tabla %1: %2")
                     .arg(path(), msg));
        }
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    }
}

BatchScope::BatchScope(Table& table) : table_(table), uncaught_(std::uncaught_exceptions()) {
    table_.d_->beginBatch();
}

BatchScope::~BatchScope() noexcept(false) {
    // When an exception is leaving the scope, commit what was posted and let that exception go
    // on; otherwise a failed commit is reported.
    table_.d_->endBatch(std::uncaught_exceptions() <= uncaught_);
}

} // namespace table
