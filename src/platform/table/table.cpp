#include "platform/table/table.h"

#include "platform/table/filter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <limits>
#include <unordered_set>

namespace table {

namespace {

constexpr int kBusyTimeoutMs = 1000;
const char kDataTable[] = "data";

using filter::quoteIdentifier;

const char* typeName(FieldType t) {
    switch (t) {
    case FieldType::Text:
        return "TEXT";
    case FieldType::SmallInt:
        return "SMALLINT";
    case FieldType::AutoInc:
        return "AUTOINC";
    case FieldType::Boolean:
        return "BOOLEAN";
    case FieldType::Blob:
        return "BLOB";
    }
    return "TEXT";
}

bool typeFromName(const QString& name, FieldType& out) {
    static const std::pair<const char*, FieldType> names[] = {
        {"TEXT", FieldType::Text},       {"SMALLINT", FieldType::SmallInt},
        {"AUTOINC", FieldType::AutoInc}, {"BOOLEAN", FieldType::Boolean},
        {"BLOB", FieldType::Blob},
    };
    for (const auto& [n, t] : names)
        if (name == QLatin1String(n)) {
            out = t;
            return true;
        }
    return false;
}

QString columnSql(const FieldDef& f) {
    const QString col = quoteIdentifier(f.name);
    switch (f.type) {
    case FieldType::Text:
        return col + QStringLiteral(" TEXT");
    case FieldType::SmallInt:
    case FieldType::Boolean:
        return col + QStringLiteral(" INTEGER");
    case FieldType::AutoInc:
        return col + QStringLiteral(" INTEGER PRIMARY KEY AUTOINCREMENT");
    case FieldType::Blob:
        return col + QStringLiteral(" BLOB");
    }
    return col;
}

bool isBusy(int rc) {
    const int primary = rc & 0xff;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

bool hasNativeHeader(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    return f.read(16) == QByteArray("SQLite format 3\0", 16);
}

void removeJournals(const QString& path) {
    for (const char* suffix : {"-journal", "-wal", "-shm"})
        QFile::remove(path + QLatin1String(suffix));
}

// A connection used only while one function runs.
struct Connection {
    sqlite3* db = nullptr;
    ~Connection() {
        if (db)
            sqlite3_close_v2(db);
    }
};

struct StmtGuard {
    sqlite3_stmt* s = nullptr;
    ~StmtGuard() { sqlite3_finalize(s); }
};

void bindValue(sqlite3_stmt* st, int index, const QVariant& v) {
    if (!v.isValid() || v.isNull()) {
        sqlite3_bind_null(st, index);
        return;
    }
    switch (v.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::Bool:
        sqlite3_bind_int64(st, index, v.toLongLong());
        return;
    case QMetaType::QString: {
        const QByteArray u = v.toString().toUtf8();
        sqlite3_bind_text(st, index, u.constData(), static_cast<int>(u.size()), SQLITE_TRANSIENT);
        return;
    }
    default: {
        // Text binds of the compiled filter arrive as UTF-8 byte arrays, blobs as byte arrays.
        const QByteArray b = v.toByteArray();
        sqlite3_bind_blob(st, index, b.constData(), static_cast<int>(b.size()), SQLITE_TRANSIENT);
        return;
    }
    }
}

void bindFilterValue(sqlite3_stmt* st, int index, const QVariant& v) {
    if (v.typeId() == QMetaType::QByteArray) {
        const QByteArray b = v.toByteArray();
        sqlite3_bind_text(st, index, b.constData(), static_cast<int>(b.size()), SQLITE_TRANSIENT);
    } else {
        bindValue(st, index, v);
    }
}

QVariant columnValue(sqlite3_stmt* st, int col, FieldType type) {
    switch (sqlite3_column_type(st, col)) {
    case SQLITE_NULL:
        return {};
    default:
        break;
    }
    switch (type) {
    case FieldType::Text: {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st, col));
        return QString::fromUtf8(p, sqlite3_column_bytes(st, col));
    }
    case FieldType::Blob: {
        const auto* p = static_cast<const char*>(sqlite3_column_blob(st, col));
        return QByteArray(p, sqlite3_column_bytes(st, col));
    }
    default:
        return QVariant::fromValue<qint64>(sqlite3_column_int64(st, col));
    }
}

} // namespace

QStringList splitFieldList(const QString& fields) {
    QStringList out;
    for (const QString& part : fields.split(u';'))
        if (!part.trimmed().isEmpty())
            out << part.trimmed();
    return out;
}

// ---------------------------------------------------------------------------------------------
// Field

const FieldDef& Field::def() const {
    if (index_ >= table_->fieldCount())
        table_->fail(QStringLiteral("La tabla %1 no está abierta").arg(table_->path()));
    return table_->fields_[index_];
}

bool Field::isNull() const {
    return table_->currentValue(index_).isNull();
}

QString Field::asString() const {
    const QVariant v = table_->currentValue(index_);
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
    const QVariant v = table_->currentValue(index_);
    if (v.isNull())
        return 0;
    if (type() == FieldType::Text || type() == FieldType::Blob) {
        bool ok = false;
        const qint64 n = asString().trimmed().toLongLong(&ok);
        if (!ok)
            table_->fail(QStringLiteral("El valor \"%1\" del campo %2 no es un número entero")
                             .arg(asString(), name()));
        return n;
    }
    return v.toLongLong();
}

bool Field::asBoolean() const {
    const QVariant v = table_->currentValue(index_);
    if (v.isNull())
        return false;
    if (type() == FieldType::Text || type() == FieldType::Blob) {
        const QString s = asString().trimmed().toLower();
        if (s == u"true")
            return true;
        if (s == u"false")
            return false;
        table_->fail(QStringLiteral("El valor \"%1\" del campo %2 no es un valor lógico")
                         .arg(asString(), name()));
    }
    return v.toLongLong() != 0;
}

QByteArray Field::asBytes() const {
    const QVariant v = table_->currentValue(index_);
    if (v.isNull())
        return {};
    if (type() == FieldType::Blob)
        return v.toByteArray();
    return asString().toUtf8();
}

void Field::setString(const QString& value) {
    table_->setValue(index_, value);
}
void Field::setInteger(qint64 value) {
    table_->setValue(index_, QVariant::fromValue(value));
}
void Field::setBoolean(bool value) {
    table_->setValue(index_, QVariant(value));
}
void Field::setBytes(const QByteArray& value) {
    table_->setValue(index_, value);
}
void Field::clear() {
    table_->setValue(index_, QVariant());
}

// ---------------------------------------------------------------------------------------------
// Table: set-up

struct Table::Stmt {
    sqlite3_stmt* s = nullptr;
    ~Stmt() { sqlite3_finalize(s); }
};

Table::Table() = default;

Table::~Table() {
    try {
        close();
    } catch (...) {
        // A destructor cannot report; close() has already released what it could.
    }
}

QString Table::path() const {
    if (folder_.isEmpty() || QDir::isAbsolutePath(name_))
        return name_;
    return QDir(folder_).filePath(name_);
}

void Table::fail(const QString& what) const {
    throw EngineError(what);
}

void Table::failSql(const QString& what) const {
    const int rc = db_ ? sqlite3_extended_errcode(db_) : SQLITE_ERROR;
    if (isBusy(rc))
        throw EngineError(
            QStringLiteral("La tabla %1 está en uso por otro programa (%2)").arg(path(), what));
    throw EngineError(
        QStringLiteral("Error en la tabla %1 al %2: %3")
            .arg(path(), what, QString::fromUtf8(db_ ? sqlite3_errmsg(db_) : "sin conexión")));
}

void Table::requireOpen() const {
    if (!db_)
        fail(QStringLiteral("La tabla %1 no está abierta").arg(path()));
}

void Table::exec(const char* sql) const {
    char* err = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &err) != SQLITE_OK) {
        sqlite3_free(err);
        failSql(QStringLiteral("ejecutar %1").arg(QLatin1String(sql)));
    }
}

sqlite3_stmt* Table::prepare(const QString& sql) const {
    sqlite3_stmt* st = nullptr;
    const QByteArray u = sql.toUtf8();
    if (sqlite3_prepare_v2(db_, u.constData(), static_cast<int>(u.size()), &st, nullptr) !=
        SQLITE_OK)
        failSql(QStringLiteral("preparar la consulta"));
    return st;
}

static void validateDefinitions(const QString& path, const std::vector<FieldDef>& fields,
                                const std::vector<IndexDef>& indexes) {
    if (fields.empty())
        throw EngineError(QStringLiteral("La tabla %1 no tiene campos").arg(path));
    QSet<QString> names;
    int autoIncs = 0;
    for (const FieldDef& f : fields) {
        if (f.name.trimmed().isEmpty())
            throw EngineError(QStringLiteral("Campo sin nombre en la tabla %1").arg(path));
        if (names.contains(f.name.toLower()))
            throw EngineError(QStringLiteral("Campo repetido: %1").arg(f.name));
        names.insert(f.name.toLower());
        if (f.type == FieldType::Text && (f.size < 1 || f.size > 255))
            throw EngineError(
                QStringLiteral("Tamaño no válido del campo %1: %2").arg(f.name).arg(f.size));
        if (f.type == FieldType::AutoInc)
            ++autoIncs;
    }
    if (autoIncs > 1)
        throw EngineError(
            QStringLiteral("La tabla %1 tiene más de un campo autoincremental").arg(path));
    int primaries = 0;
    for (const IndexDef& ix : indexes) {
        if (ix.fields.isEmpty())
            throw EngineError(QStringLiteral("El índice %1 no tiene campos").arg(ix.name));
        for (const QString& f : ix.fields)
            if (!names.contains(f.toLower()))
                throw EngineError(
                    QStringLiteral("Campo desconocido en el índice %1: %2").arg(ix.name, f));
        if (ix.primary)
            ++primaries;
    }
    if (primaries > 1)
        throw EngineError(QStringLiteral("La tabla %1 tiene más de un índice primario").arg(path));
}

static QString indexSql(const IndexDef& ix, const std::vector<FieldDef>& fields) {
    QStringList cols;
    for (const QString& f : ix.fields)
        for (const FieldDef& def : fields)
            if (def.name.compare(f, Qt::CaseInsensitive) == 0)
                cols << quoteIdentifier(def.name);
    return QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
        .arg(quoteIdentifier(QStringLiteral("ix_") + ix.name), QLatin1String(kDataTable),
             cols.join(QStringLiteral(", ")));
}

static void execOn(sqlite3* db, const QString& sql, const QString& path) {
    char* err = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
        const QString msg = QString::fromUtf8(err ? err : sqlite3_errmsg(db));
        sqlite3_free(err);
        throw EngineError(QStringLiteral("Error al crear la tabla %1: %2").arg(path, msg));
    }
}

void Table::create(const QString& path, const std::vector<FieldDef>& fields,
                   const std::vector<IndexDef>& indexes) {
    validateDefinitions(path, fields, indexes);
    const QFileInfo info(path);
    if (!info.absoluteDir().exists())
        throw EngineError(QStringLiteral("No existe la carpeta de la tabla %1").arg(path));

    // An existing native table in use elsewhere is not pulled away from its users.
    if (info.exists() && hasNativeHeader(path)) {
        Connection c;
        if (sqlite3_open_v2(path.toUtf8().constData(), &c.db, SQLITE_OPEN_READWRITE, nullptr) ==
            SQLITE_OK) {
            const int rc = sqlite3_exec(c.db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
            if (isBusy(rc))
                throw EngineError(
                    QStringLiteral("La tabla %1 está en uso por otro programa").arg(path));
            sqlite3_exec(c.db, "ROLLBACK", nullptr, nullptr, nullptr);
        }
    }

    // Built beside the target and renamed over it, so a failure leaves no half-made table.
    const QString tmp = path + QStringLiteral(".creating");
    QFile::remove(tmp);
    removeJournals(tmp);
    {
        Connection c;
        if (sqlite3_open_v2(tmp.toUtf8().constData(), &c.db,
                            SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK)
            throw EngineError(QStringLiteral("No se puede crear la tabla %1: %2")
                                  .arg(path, QString::fromUtf8(sqlite3_errmsg(c.db))));
        try {
            execOn(c.db, QStringLiteral("PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL"),
                   path);
            execOn(c.db, QStringLiteral("BEGIN"), path);
            execOn(c.db,
                   QStringLiteral("CREATE TABLE _fields (pos INTEGER PRIMARY KEY, name TEXT NOT "
                                  "NULL, type TEXT NOT NULL, size INTEGER NOT NULL);"
                                  "CREATE TABLE _indexes (name TEXT NOT NULL, fields TEXT NOT "
                                  "NULL, is_primary INTEGER NOT NULL)"),
                   path);
            QStringList cols;
            for (const FieldDef& f : fields)
                cols << columnSql(f);
            execOn(c.db,
                   QStringLiteral("CREATE TABLE %1 (%2)")
                       .arg(QLatin1String(kDataTable), cols.join(QStringLiteral(", "))),
                   path);
            for (std::size_t i = 0; i < fields.size(); ++i) {
                QString name = fields[i].name;
                name.replace(u'\'', QStringLiteral("''"));
                execOn(c.db,
                       QStringLiteral("INSERT INTO _fields VALUES (%1, '%2', '%3', %4)")
                           .arg(i)
                           .arg(name, QLatin1String(typeName(fields[i].type)))
                           .arg(fields[i].type == FieldType::Text ? fields[i].size : 0),
                       path);
            }
            for (const IndexDef& ix : indexes) {
                QString name = ix.name;
                name.replace(u'\'', QStringLiteral("''"));
                QString list = ix.fields.join(u';');
                list.replace(u'\'', QStringLiteral("''"));
                execOn(c.db,
                       QStringLiteral("INSERT INTO _indexes VALUES ('%1', '%2', %3)")
                           .arg(name, list)
                           .arg(ix.primary ? 1 : 0),
                       path);
                execOn(c.db, indexSql(ix, fields), path);
            }
            execOn(c.db, QStringLiteral("COMMIT"), path);
        } catch (...) {
            sqlite3_close_v2(c.db);
            c.db = nullptr;
            QFile::remove(tmp);
            removeJournals(tmp);
            throw;
        }
    }
    removeJournals(tmp);
    // A journal left by the old table must not be played back into the new one.
    removeJournals(path);
    if (std::rename(QFile::encodeName(tmp).constData(), QFile::encodeName(path).constData()) != 0) {
        QFile::remove(tmp);
        throw EngineError(QStringLiteral("No se puede reemplazar la tabla %1").arg(path));
    }
}

void Table::createTable(const std::vector<FieldDef>& fields, const std::vector<IndexDef>& indexes) {
    if (isOpen())
        fail(QStringLiteral("La tabla %1 está abierta: ciérrela antes de crearla").arg(path()));
    create(path(), fields, indexes);
}

QString Table::tableType() const {
    requireOpen();
    return QStringLiteral("SQLITE");
}

void Table::open(const QString& folder, const QString& name) {
    close();
    folder_ = folder;
    name_ = name;
    open();
}

void Table::open() {
    if (isOpen())
        return;
    const QString p = path();
    if (p.isEmpty())
        fail(QStringLiteral("No se ha indicado el nombre de la tabla"));
    if (!QFileInfo::exists(p))
        fail(QStringLiteral("No existe la tabla %1").arg(p));
    if (!hasNativeHeader(p))
        fail(QStringLiteral("La tabla %1 no tiene un formato que este motor pueda abrir").arg(p));
    if (sqlite3_open_v2(QFile::encodeName(p).constData(), &db_, SQLITE_OPEN_READWRITE, nullptr) !=
        SQLITE_OK) {
        const QString msg = QString::fromUtf8(sqlite3_errmsg(db_));
        sqlite3_close_v2(db_);
        db_ = nullptr;
        fail(QStringLiteral("No se puede abrir la tabla %1: %2").arg(p, msg));
    }
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    try {
        exec("PRAGMA synchronous=FULL");
        if (exclusive_) {
            exec("PRAGMA locking_mode=EXCLUSIVE");
            // Taking the write lock once keeps it for as long as the connection stays open.
            exec("BEGIN EXCLUSIVE");
            exec("COMMIT");
        }
        exec("PRAGMA journal_mode=DELETE");
        openExclusive_ = exclusive_;
        loadStructure();
        state_ = State::Browse;
        compileFilter();
        loadView();
    } catch (...) {
        finalizeStatements();
        sqlite3_close_v2(db_);
        db_ = nullptr;
        state_ = State::Inactive;
        fields_.clear();
        fieldIndex_.clear();
        rows_.clear();
        throw;
    }
    pos_ = rows_.empty() ? -1 : 0;
    bof_ = true;
    eof_ = rows_.empty();
    invalidateRow();
    if (!rows_.empty() && afterScroll)
        afterScroll();
}

void Table::finalizeStatements() {
    sqlite3_finalize(rowStmt_);
    rowStmt_ = nullptr;
    sqlite3_finalize(placementStmt_);
    placementStmt_ = nullptr;
    writeStmts_.clear();
}

void Table::close() {
    if (!db_)
        return;
    state_ = State::Browse;
    if (batchDepth_ > 0) {
        batchDepth_ = 0;
        if (!sqlite3_get_autocommit(db_))
            sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
    }
    finalizeStatements();
    sqlite3_close_v2(db_);
    db_ = nullptr;
    state_ = State::Inactive;
    openExclusive_ = false;
    fields_.clear();
    indexes_.clear();
    fieldIndex_.clear();
    orderFields_.clear();
    rows_.clear();
    whereSql_.clear();
    whereBinds_.clear();
    pos_ = -1;
    eof_ = bof_ = true;
    invalidateRow();
}

void Table::loadStructure() {
    fields_.clear();
    indexes_.clear();
    fieldIndex_.clear();
    orderFields_.clear();
    {
        StmtGuard g{prepare(QStringLiteral("SELECT name, type, size FROM _fields ORDER BY pos"))};
        int rc;
        while ((rc = sqlite3_step(g.s)) == SQLITE_ROW) {
            FieldDef f;
            f.name = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(g.s, 0)));
            const QString type =
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(g.s, 1)));
            if (!typeFromName(type, f.type))
                fail(QStringLiteral("La tabla %1 tiene un campo de tipo desconocido: %2 (%3)")
                         .arg(path(), f.name, type));
            f.size = sqlite3_column_int(g.s, 2);
            fieldIndex_.insert(f.name.toLower(), static_cast<int>(fields_.size()));
            fields_.push_back(f);
        }
        if (rc != SQLITE_DONE)
            failSql(QStringLiteral("leer la estructura"));
    }
    if (fields_.empty())
        fail(QStringLiteral("La tabla %1 no tiene la estructura de una tabla de este programa")
                 .arg(path()));
    {
        StmtGuard g{prepare(QStringLiteral("SELECT name, fields, is_primary FROM _indexes"))};
        int rc;
        while ((rc = sqlite3_step(g.s)) == SQLITE_ROW) {
            IndexDef ix;
            ix.name = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(g.s, 0)));
            ix.fields = splitFieldList(
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(g.s, 1))));
            ix.primary = sqlite3_column_int(g.s, 2) != 0;
            indexes_.push_back(ix);
        }
        if (rc != SQLITE_DONE)
            failSql(QStringLiteral("leer la estructura"));
    }
    orderByKeyLast_ = true;
    for (const IndexDef& ix : indexes_) {
        if (!ix.primary)
            continue;
        for (const QString& f : ix.fields) {
            const int i = findField(f);
            if (i < 0)
                fail(QStringLiteral("Campo desconocido en el índice %1: %2").arg(ix.name, f));
            orderFields_.push_back(i);
            if (fields_[i].type == FieldType::AutoInc)
                orderByKeyLast_ = false;
        }
    }
    cache_.assign(fields_.size(), QVariant());
    cacheLoaded_.assign(fields_.size(), 0);
    edits_.assign(fields_.size(), QVariant());
    modified_.assign(fields_.size(), 0);
}

int Table::findField(const QString& name) const {
    const auto it = fieldIndex_.constFind(name.trimmed().toLower());
    return it == fieldIndex_.constEnd() ? -1 : it.value();
}

Field Table::field(int index) {
    requireOpen();
    if (index < 0 || index >= fieldCount())
        fail(QStringLiteral("La tabla %1 no tiene el campo número %2").arg(path()).arg(index));
    return Field(this, index);
}

Field Table::fieldByName(const QString& name) {
    requireOpen();
    const int i = findField(name);
    if (i < 0)
        fail(QStringLiteral("Campo desconocido: %1").arg(name));
    return Field(this, i);
}

QString Table::quotedColumns(const std::vector<int>& indexes) const {
    QStringList cols;
    for (int i : indexes)
        cols << quoteIdentifier(fields_[i].name);
    return cols.join(QStringLiteral(", "));
}

// ---------------------------------------------------------------------------------------------
// Filter and view

void Table::compileFilter() {
    whereSql_.clear();
    whereBinds_.clear();
    sqlite3_finalize(placementStmt_);
    placementStmt_ = nullptr;
    if (!filtered_ || filterText_.trimmed().isEmpty())
        return;
    const auto compiled = filter::compile(filterText_, [this](const QString& n) -> const FieldDef* {
        const int i = findField(n);
        return i < 0 ? nullptr : &fields_[i];
    });
    whereSql_ = compiled.sql;
    whereBinds_ = compiled.binds;
}

void Table::loadView() {
    try {
        loadViewFrom(false);
    } catch (const EngineError&) {
        // A damaged index must not keep the rows from being read (and the table from being
        // packed): read the rows themselves and sort them.
        if ((sqlite3_extended_errcode(db_) & 0xff) != SQLITE_CORRUPT)
            throw;
        loadViewFrom(true);
    }
}

void Table::loadViewFrom(bool bypassIndex) {
    std::vector<qint64> keys;
    std::vector<SortVal> vals;
    QString sql = QStringLiteral("SELECT rowid");
    if (!orderFields_.empty())
        sql += QStringLiteral(", ") + quotedColumns(orderFields_);
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
    StmtGuard g{prepare(sql)};
    for (std::size_t i = 0; i < whereBinds_.size(); ++i)
        bindFilterValue(g.s, static_cast<int>(i) + 1, whereBinds_[i]);
    const int nOrder = static_cast<int>(orderFields_.size());
    int rc;
    while ((rc = sqlite3_step(g.s)) == SQLITE_ROW) {
        keys.push_back(sqlite3_column_int64(g.s, 0));
        for (int c = 0; c < nOrder; ++c) {
            SortVal v;
            switch (sqlite3_column_type(g.s, c + 1)) {
            case SQLITE_NULL:
                break;
            case SQLITE_INTEGER:
            case SQLITE_FLOAT:
                v.kind = SortKind::Integer;
                v.i = sqlite3_column_int64(g.s, c + 1);
                break;
            case SQLITE_TEXT:
                v.kind = SortKind::Text;
                v.s = QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(g.s, c + 1)),
                                 sqlite3_column_bytes(g.s, c + 1));
                break;
            default:
                v.kind = SortKind::Bytes;
                v.s = QByteArray(static_cast<const char*>(sqlite3_column_blob(g.s, c + 1)),
                                 sqlite3_column_bytes(g.s, c + 1));
                break;
            }
            vals.push_back(std::move(v));
        }
    }
    if (rc != SQLITE_DONE)
        failSql(QStringLiteral("leer las filas"));
    rows_.reset(static_cast<int>(orderFields_.size()));
    rows_.assign(std::move(keys), std::move(vals));
}

void Table::resetCursorToFirst() {
    pos_ = rows_.empty() ? -1 : 0;
    bof_ = true;
    eof_ = rows_.empty();
    invalidateRow();
    if (afterScroll)
        afterScroll();
}

void Table::setFilter(const QString& text) {
    if (text == filterText_ && (!isOpen() || !filtered_))
        return;
    const QString old = filterText_;
    filterText_ = text;
    if (!isOpen() || !filtered_)
        return;
    checkBrowseMode();
    try {
        compileFilter();
    } catch (...) {
        filterText_ = old;
        compileFilter();
        throw;
    }
    if (beforeScroll)
        beforeScroll();
    loadView();
    resetCursorToFirst();
}

void Table::setFiltered(bool on) {
    if (on == filtered_)
        return;
    filtered_ = on;
    if (!isOpen())
        return;
    checkBrowseMode();
    try {
        compileFilter();
    } catch (...) {
        filtered_ = !on;
        compileFilter();
        throw;
    }
    if (beforeScroll)
        beforeScroll();
    loadView();
    resetCursorToFirst();
}

void Table::refresh() {
    requireOpen();
    checkBrowseMode();
    const qint64 key = pos_ >= 0 ? rows_.keyAt(pos_) : 0;
    const int oldPos = pos_;
    loadView();
    if (rows_.empty()) {
        pos_ = -1;
    } else {
        const int at = rows_.indexOf(key);
        pos_ = at >= 0 ? at : std::clamp(oldPos, 0, recordCount() - 1);
    }
    eof_ = bof_ = rows_.empty();
    invalidateRow();
}

// ---------------------------------------------------------------------------------------------
// Navigation

void Table::checkBrowseMode() {
    requireOpen();
    if (state_ == State::Edit || state_ == State::Insert) {
        if (std::any_of(modified_.begin(), modified_.end(), [](char m) { return m != 0; }))
            post();
        else
            cancel();
    }
}

void Table::moveTo(int pos, bool always) {
    if (pos == pos_ && !always)
        return;
    if (beforeScroll)
        beforeScroll();
    pos_ = pos;
    invalidateRow();
    if (afterScroll)
        afterScroll();
}

void Table::first() {
    checkBrowseMode();
    moveTo(rows_.empty() ? -1 : 0, true);
    bof_ = true;
    eof_ = rows_.empty();
}

void Table::last() {
    checkBrowseMode();
    moveTo(recordCount() - 1, true);
    eof_ = true;
    bof_ = rows_.empty();
}

void Table::next() {
    checkBrowseMode();
    if (pos_ + 1 < recordCount()) {
        moveTo(pos_ + 1, false);
        bof_ = eof_ = false;
    } else {
        eof_ = true;
    }
}

void Table::prior() {
    checkBrowseMode();
    if (pos_ > 0) {
        moveTo(pos_ - 1, false);
        bof_ = eof_ = false;
    } else {
        bof_ = true;
    }
}

int Table::moveBy(int distance) {
    checkBrowseMode();
    if (rows_.empty()) {
        eof_ = bof_ = true;
        return 0;
    }
    if (distance == 0)
        return 0;
    const int target = std::clamp(pos_ + distance, 0, recordCount() - 1);
    const int moved = target - pos_;
    moveTo(target, false);
    // Asked to go past an end: that end is reached.
    eof_ = distance > 0 && moved < distance;
    bof_ = distance < 0 && moved > distance;
    return moved;
}

void Table::setRecNo(int recNo) {
    checkBrowseMode();
    if (rows_.empty())
        return;
    moveTo(std::clamp(recNo, 1, recordCount()) - 1, false);
    eof_ = bof_ = false;
}

bool Table::locateKey(qint64 key) {
    checkBrowseMode();
    const int at = rows_.indexOf(key);
    if (at < 0)
        return false;
    moveTo(at, true);
    eof_ = bof_ = false;
    return true;
}

Bookmark Table::bookmark() const {
    requireOpen();
    if (pos_ < 0)
        fail(QStringLiteral("La tabla %1 no tiene ningún registro visible").arg(path()));
    return rows_.keyAt(pos_);
}

bool Table::bookmarkValid(Bookmark bookmark) const {
    return isOpen() && rows_.indexOf(bookmark) >= 0;
}

void Table::gotoBookmark(Bookmark bookmark) {
    if (!locateKey(bookmark))
        fail(QStringLiteral("El registro marcado ya no está en la tabla %1").arg(path()));
}

// ---------------------------------------------------------------------------------------------
// Row values

void Table::invalidateRow() {
    cacheValid_ = false;
    std::fill(cacheLoaded_.begin(), cacheLoaded_.end(), 0);
}

void Table::loadRowCache() {
    const qint64 key = state_ == State::Edit ? editKey_ : rows_.keyAt(pos_);
    if (cacheValid_ && cacheKey_ == key)
        return;
    std::fill(cacheLoaded_.begin(), cacheLoaded_.end(), 0);
    std::vector<int> cols;
    for (int i = 0; i < fieldCount(); ++i)
        if (fields_[i].type != FieldType::Blob)
            cols.push_back(i);
    if (!rowStmt_) {
        rowStmt_ = prepare(QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?")
                               .arg(cols.empty() ? QStringLiteral("rowid") : quotedColumns(cols),
                                    QLatin1String(kDataTable)));
    }
    sqlite3_reset(rowStmt_);
    sqlite3_bind_int64(rowStmt_, 1, key);
    const int rc = sqlite3_step(rowStmt_);
    if (rc == SQLITE_ROW) {
        for (std::size_t c = 0; c < cols.size(); ++c) {
            cache_[cols[c]] = columnValue(rowStmt_, static_cast<int>(c), fields_[cols[c]].type);
            cacheLoaded_[cols[c]] = 1;
        }
        sqlite3_reset(rowStmt_);
    } else {
        sqlite3_reset(rowStmt_);
        if (rc == SQLITE_DONE)
            fail(QStringLiteral("El registro %1 ya no existe en la tabla %2").arg(key).arg(path()));
        failSql(QStringLiteral("leer un registro"));
    }
    cacheKey_ = key;
    cacheValid_ = true;
}

QVariant Table::currentValue(int index) {
    requireOpen();
    if (index >= fieldCount())
        fail(QStringLiteral("La tabla %1 no tiene el campo número %2").arg(path()).arg(index));
    if (state_ == State::Insert)
        return edits_[index];
    if (state_ == State::Edit && modified_[index])
        return edits_[index];
    if (pos_ < 0 && state_ != State::Edit)
        return {};
    loadRowCache();
    if (!cacheLoaded_[index]) {
        // Large fields are read only when asked for.
        StmtGuard g{
            prepare(QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?")
                        .arg(quoteIdentifier(fields_[index].name), QLatin1String(kDataTable)))};
        sqlite3_bind_int64(g.s, 1, cacheKey_);
        const int rc = sqlite3_step(g.s);
        if (rc == SQLITE_ROW)
            cache_[index] = columnValue(g.s, 0, fields_[index].type);
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

QVariant Table::toStorage(const FieldDef& def, const QVariant& value) const {
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

void Table::setValue(int index, const QVariant& value) {
    requireOpen();
    if (index >= fieldCount())
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
    requireOpen();
    if (state_ == State::Edit || state_ == State::Insert)
        return;
    if (pos_ < 0)
        fail(QStringLiteral("La tabla %1 no tiene ningún registro que modificar").arg(path()));
    editKey_ = rows_.keyAt(pos_);
    std::fill(modified_.begin(), modified_.end(), 0);
    std::fill(edits_.begin(), edits_.end(), QVariant());
    state_ = State::Edit;
}

void Table::append() {
    checkBrowseMode();
    if (beforeScroll)
        beforeScroll();
    insertReturnPos_ = pos_;
    std::fill(modified_.begin(), modified_.end(), 0);
    std::fill(edits_.begin(), edits_.end(), QVariant());
    state_ = State::Insert;
    invalidateRow();
    if (afterScroll)
        afterScroll();
}

void Table::cancel() {
    requireOpen();
    // Leaving an appended row makes the row that was current before it current again.
    const bool wasInsert = state_ == State::Insert;
    if (wasInsert && beforeScroll)
        beforeScroll();
    if (wasInsert)
        pos_ = rows_.empty() ? -1 : std::clamp(insertReturnPos_, 0, recordCount() - 1);
    state_ = State::Browse;
    std::fill(modified_.begin(), modified_.end(), 0);
    std::fill(edits_.begin(), edits_.end(), QVariant());
    invalidateRow();
    if (wasInsert && afterScroll)
        afterScroll();
}

bool Table::readPlacement(qint64 key, std::vector<SortVal>& vals) {
    if (!placementStmt_) {
        QString sql =
            QStringLiteral("SELECT ") +
            (whereSql_.isEmpty() ? QStringLiteral("1") : QStringLiteral("(") + whereSql_ + ")");
        if (!orderFields_.empty())
            sql += QStringLiteral(", ") + quotedColumns(orderFields_);
        sql += QStringLiteral(" FROM ") + QLatin1String(kDataTable) +
               QStringLiteral(" WHERE rowid = ?");
        placementStmt_ = prepare(sql);
    }
    sqlite3_stmt* st = placementStmt_;
    sqlite3_reset(st);
    sqlite3_clear_bindings(st);
    int n = 1;
    for (const QVariant& b : whereBinds_)
        bindFilterValue(st, n++, b);
    sqlite3_bind_int64(st, n, key);
    const int rc = sqlite3_step(st);
    if (rc == SQLITE_DONE) {
        sqlite3_reset(st);
        return false;
    }
    if (rc != SQLITE_ROW) {
        sqlite3_reset(st);
        failSql(QStringLiteral("comprobar el filtro"));
    }
    const bool visible = sqlite3_column_type(st, 0) != SQLITE_NULL && sqlite3_column_int(st, 0);
    vals.clear();
    for (std::size_t c = 0; c < orderFields_.size(); ++c) {
        const int col = static_cast<int>(c) + 1;
        SortVal v;
        switch (sqlite3_column_type(st, col)) {
        case SQLITE_NULL:
            break;
        case SQLITE_INTEGER:
        case SQLITE_FLOAT:
            v.kind = SortKind::Integer;
            v.i = sqlite3_column_int64(st, col);
            break;
        case SQLITE_TEXT:
            v.kind = SortKind::Text;
            v.s = QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(st, col)),
                             sqlite3_column_bytes(st, col));
            break;
        default:
            v.kind = SortKind::Bytes;
            v.s = QByteArray(static_cast<const char*>(sqlite3_column_blob(st, col)),
                             sqlite3_column_bytes(st, col));
        }
        vals.push_back(std::move(v));
    }
    sqlite3_reset(st);
    return visible;
}

sqlite3_stmt* Table::writeStatement(char kind, const std::vector<int>& columns,
                                    const std::function<QString()>& sql) {
    std::string id(1, kind);
    for (int c : columns)
        id += std::to_string(c) + ',';
    auto it = writeStmts_.find(id);
    if (it == writeStmts_.end())
        it = writeStmts_.emplace(id, std::make_unique<Stmt>()).first;
    if (!it->second->s)
        it->second->s = prepare(sql());
    sqlite3_clear_bindings(it->second->s);
    return it->second->s;
}

void Table::post() {
    requireOpen();
    if (state_ != State::Edit && state_ != State::Insert)
        fail(QStringLiteral("La tabla %1 no está en modo de edición o inserción").arg(path()));
    std::vector<int> changed;
    for (int i = 0; i < fieldCount(); ++i)
        if (modified_[i])
            changed.push_back(i);
    qint64 key = 0;
    int oldPos = -1;
    if (state_ == State::Edit) {
        key = editKey_;
        if (!changed.empty()) {
            sqlite3_stmt* st = writeStatement('U', changed, [&] {
                QStringList sets;
                for (int i : changed)
                    sets << quoteIdentifier(fields_[i].name) + QStringLiteral(" = ?");
                return QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                    .arg(QLatin1String(kDataTable), sets.join(QStringLiteral(", ")));
            });
            int n = 1;
            for (int i : changed)
                bindValue(st, n++, edits_[i]);
            sqlite3_bind_int64(st, n, key);
            const int rc = sqlite3_step(st);
            sqlite3_reset(st);
            if (rc != SQLITE_DONE)
                failSql(QStringLiteral("guardar el registro"));
            if (sqlite3_changes(db_) == 0)
                fail(QStringLiteral("El registro %1 ya no existe en la tabla %2")
                         .arg(key)
                         .arg(path()));
        }
        oldPos = (pos_ >= 0 && pos_ < recordCount() && rows_.keyAt(pos_) == key)
                     ? pos_
                     : rows_.indexOf(key);
    } else {
        sqlite3_stmt* st = writeStatement('I', changed, [&] {
            if (changed.empty())
                return QStringLiteral("INSERT INTO %1 DEFAULT VALUES")
                    .arg(QLatin1String(kDataTable));
            QStringList marks;
            for (std::size_t i = 0; i < changed.size(); ++i)
                marks << QStringLiteral("?");
            return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                .arg(QLatin1String(kDataTable), quotedColumns(changed),
                     marks.join(QStringLiteral(", ")));
        });
        int n = 1;
        for (int i : changed)
            bindValue(st, n++, edits_[i]);
        const int rc = sqlite3_step(st);
        sqlite3_reset(st);
        if (rc != SQLITE_DONE)
            failSql(QStringLiteral("añadir el registro"));
        key = sqlite3_last_insert_rowid(db_);
    }
    const bool wasInsert = state_ == State::Insert;
    lastPostedKey_ = key;
    state_ = State::Browse;
    std::fill(modified_.begin(), modified_.end(), 0);
    std::fill(edits_.begin(), edits_.end(), QVariant());
    invalidateRow();

    // Keep the visible key list in step: the row leaves it, and comes back at its new place
    // when it still satisfies the filter.
    const int resumePos = wasInsert ? insertReturnPos_ : oldPos;
    if (oldPos >= 0)
        rows_.eraseAt(oldPos);
    std::vector<SortVal> vals;
    if (readPlacement(key, vals)) {
        pos_ = rows_.insertSorted(key, std::move(vals));
    } else {
        pos_ = rows_.empty() ? -1 : std::clamp(resumePos, 0, recordCount() - 1);
    }
    eof_ = bof_ = rows_.empty();
    if (afterPost)
        afterPost();
}

void Table::deleteCurrent() {
    requireOpen();
    if (state_ == State::Insert) {
        cancel();
        return;
    }
    if (state_ == State::Edit)
        cancel();
    if (pos_ < 0)
        fail(QStringLiteral("La tabla %1 no tiene ningún registro que borrar").arg(path()));
    if (beforeScroll)
        beforeScroll();
    const qint64 key = rows_.keyAt(pos_);
    StmtGuard g{
        prepare(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(QLatin1String(kDataTable)))};
    sqlite3_bind_int64(g.s, 1, key);
    if (sqlite3_step(g.s) != SQLITE_DONE)
        failSql(QStringLiteral("borrar el registro"));
    rows_.eraseAt(pos_);
    pos_ = rows_.empty() ? -1 : std::min(pos_, recordCount() - 1);
    eof_ = bof_ = rows_.empty();
    invalidateRow();
    if (afterScroll)
        afterScroll();
}

void Table::deleteBookmarks(const std::vector<Bookmark>& bookmarks) {
    checkBrowseMode();
    if (bookmarks.empty())
        return;
    if (beforeScroll)
        beforeScroll();
    const qint64 current = pos_ >= 0 ? rows_.keyAt(pos_) : 0;
    const int oldPos = pos_;
    std::unordered_set<qint64> gone;
    {
        BatchScope batch(*this);
        StmtGuard g{prepare(
            QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(QLatin1String(kDataTable)))};
        for (Bookmark b : bookmarks) {
            sqlite3_reset(g.s);
            sqlite3_bind_int64(g.s, 1, b);
            if (sqlite3_step(g.s) != SQLITE_DONE)
                failSql(QStringLiteral("borrar los registros marcados"));
            gone.insert(b);
        }
    }
    rows_.eraseKeys(gone);
    const int newPos = rows_.indexOf(current);
    if (rows_.empty())
        pos_ = -1;
    else if (newPos >= 0)
        pos_ = newPos;
    else
        pos_ = std::clamp(oldPos, 0, recordCount() - 1);
    eof_ = bof_ = rows_.empty();
    invalidateRow();
    if (afterScroll)
        afterScroll();
}

// ---------------------------------------------------------------------------------------------
// Batch scopes

void Table::beginBatch() {
    requireOpen();
    if (batchDepth_ == 0 && sqlite3_get_autocommit(db_))
        exec("BEGIN IMMEDIATE");
    ++batchDepth_;
}

void Table::endBatch(bool throwOnError) {
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
    table_.beginBatch();
}

BatchScope::~BatchScope() noexcept(false) {
    // When an exception is leaving the scope, commit what was posted and let that exception go
    // on; otherwise a failed commit is reported.
    table_.endBatch(std::uncaught_exceptions() <= uncaught_);
}

// ---------------------------------------------------------------------------------------------
// Batch copy, append, index, pack

int Table::batchCopyTo(const QString& destPath, int rowLimit) const {
    requireOpen();
    if (QFileInfo(destPath).absoluteFilePath() == QFileInfo(path()).absoluteFilePath())
        fail(QStringLiteral("No se puede copiar la tabla %1 sobre sí misma").arg(path()));
    create(destPath, fields_, {});
    Table dest;
    dest.setTableName(destPath);
    dest.open();
    std::vector<qint64> keys = rows_.keys();
    if (rowLimit > 0 && static_cast<int>(keys.size()) > rowLimit)
        keys.resize(rowLimit);
    std::vector<int> all(fields_.size());
    for (std::size_t i = 0; i < all.size(); ++i)
        all[i] = static_cast<int>(i);
    QStringList marks;
    for (std::size_t i = 0; i < all.size(); ++i)
        marks << QStringLiteral("?");
    StmtGuard read{prepare(QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?")
                               .arg(quotedColumns(all), QLatin1String(kDataTable)))};
    StmtGuard write{dest.prepare(
        QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
            .arg(QLatin1String(kDataTable), quotedColumns(all), marks.join(QStringLiteral(", "))))};
    int copied = 0;
    {
        BatchScope batch(dest);
        for (qint64 key : keys) {
            sqlite3_reset(read.s);
            sqlite3_bind_int64(read.s, 1, key);
            const int rc = sqlite3_step(read.s);
            if (rc == SQLITE_DONE)
                continue;
            if (rc != SQLITE_ROW)
                failSql(QStringLiteral("copiar las filas"));
            sqlite3_reset(write.s);
            for (int c = 0; c < static_cast<int>(all.size()); ++c)
                bindValue(write.s, c + 1, columnValue(read.s, c, fields_[c].type));
            if (sqlite3_step(write.s) != SQLITE_DONE)
                dest.failSql(QStringLiteral("copiar las filas"));
            ++copied;
        }
    }
    return copied;
}

int Table::batchAppendFrom(Table& source) {
    requireOpen();
    source.requireOpen();
    checkBrowseMode();
    source.checkBrowseMode();
    // Every row of the source, whatever its filter, in its table order; taken before the first
    // row is appended, so that appending a table to itself ends.
    std::vector<qint64> keys;
    {
        QString sql =
            QStringLiteral("SELECT rowid FROM %1 ORDER BY ").arg(QLatin1String(kDataTable));
        sql += source.orderFields_.empty()
                   ? QStringLiteral("rowid")
                   : source.quotedColumns(source.orderFields_) +
                         (source.orderByKeyLast_ ? QStringLiteral(", rowid") : QString());
        StmtGuard g{source.prepare(sql)};
        int rc;
        while ((rc = sqlite3_step(g.s)) == SQLITE_ROW)
            keys.push_back(sqlite3_column_int64(g.s, 0));
        if (rc != SQLITE_DONE)
            source.failSql(QStringLiteral("leer las filas que se añaden"));
    }
    const int n = std::min(fieldCount(), source.fieldCount());
    std::vector<int> srcCols;
    std::vector<int> dstCols;
    for (int i = 0; i < n; ++i) {
        if (fields_[i].type == FieldType::AutoInc)
            continue; // appended rows get new identities
        srcCols.push_back(i);
        dstCols.push_back(i);
    }
    StmtGuard read{source.prepare(
        QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?")
            .arg(srcCols.empty() ? QStringLiteral("rowid") : source.quotedColumns(srcCols),
                 QLatin1String(kDataTable)))};
    QStringList marks;
    for (std::size_t i = 0; i < dstCols.size(); ++i)
        marks << QStringLiteral("?");
    StmtGuard write{
        prepare(dstCols.empty()
                    ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(QLatin1String(kDataTable))
                    : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                          .arg(QLatin1String(kDataTable), quotedColumns(dstCols),
                               marks.join(QStringLiteral(", "))))};
    int appended = 0;
    try {
        BatchScope batch(*this);
        for (qint64 key : keys) {
            sqlite3_reset(read.s);
            sqlite3_bind_int64(read.s, 1, key);
            const int rc = sqlite3_step(read.s);
            if (rc == SQLITE_DONE)
                continue;
            if (rc != SQLITE_ROW)
                source.failSql(QStringLiteral("leer las filas que se añaden"));
            std::vector<QVariant> values;
            for (std::size_t c = 0; c < srcCols.size(); ++c)
                values.push_back(
                    toStorage(fields_[dstCols[c]], columnValue(read.s, static_cast<int>(c),
                                                               source.fields_[srcCols[c]].type)));
            sqlite3_reset(read.s);
            sqlite3_reset(write.s);
            for (std::size_t c = 0; c < values.size(); ++c)
                bindValue(write.s, static_cast<int>(c) + 1, values[c]);
            if (sqlite3_step(write.s) != SQLITE_DONE)
                failSql(QStringLiteral("añadir las filas"));
            ++appended;
        }
    } catch (...) {
        loadView();
        resetCursorToFirst();
        throw;
    }
    loadView();
    resetCursorToFirst();
    return appended;
}

void Table::addPrimaryIndex(const QString& name, const QString& fieldList) {
    if (!isOpen()) {
        // A closed table is opened for the change and closed again.
        open();
        try {
            addPrimaryIndex(name, fieldList);
        } catch (...) {
            close();
            throw;
        }
        close();
        return;
    }
    checkBrowseMode();
    for (const IndexDef& ix : indexes_)
        if (ix.primary)
            fail(QStringLiteral("La tabla %1 ya tiene un índice primario (%2)")
                     .arg(path(), ix.name));
    IndexDef ix;
    ix.name = name;
    ix.fields = splitFieldList(fieldList);
    ix.primary = true;
    validateDefinitions(path(), fields_, {ix});
    {
        BatchScope batch(*this);
        exec(indexSql(ix, fields_).toUtf8().constData());
        StmtGuard g{prepare(QStringLiteral("INSERT INTO _indexes VALUES (?, ?, 1)"))};
        const QByteArray n = name.toUtf8();
        const QByteArray f = ix.fields.join(u';').toUtf8();
        sqlite3_bind_text(g.s, 1, n.constData(), static_cast<int>(n.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(g.s, 2, f.constData(), static_cast<int>(f.size()), SQLITE_TRANSIENT);
        if (sqlite3_step(g.s) != SQLITE_DONE)
            failSql(QStringLiteral("añadir el índice"));
    }
    finalizeStatements();
    loadStructure();
    compileFilter();
    loadView();
    resetCursorToFirst();
}

void Table::pack() {
    requireOpen();
    if (!openExclusive_)
        fail(QStringLiteral("La tabla %1 ha de estar abierta en modo exclusivo para compactarla")
                 .arg(path()));
    checkBrowseMode();
    if (batchDepth_ > 0)
        fail(QStringLiteral("La tabla %1 no se puede compactar dentro de un lote").arg(path()));
    finalizeStatements();
    bool healthy = false;
    {
        StmtGuard g;
        if (sqlite3_prepare_v2(db_, "PRAGMA integrity_check", -1, &g.s, nullptr) == SQLITE_OK &&
            sqlite3_step(g.s) == SQLITE_ROW) {
            healthy =
                QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(g.s, 0))) == "ok";
        }
    }
    if (healthy) {
        exec("VACUUM");
        exec("REINDEX");
    } else {
        // Rebuild from what can still be read into a new file that then takes the table's place.
        const QString p = path();
        const QString tmp = p + QStringLiteral(".packing");
        const std::vector<FieldDef> fields = fields_;
        const std::vector<IndexDef> indexes = indexes_;
        create(tmp, fields, indexes);
        {
            Connection c;
            if (sqlite3_open_v2(QFile::encodeName(tmp).constData(), &c.db, SQLITE_OPEN_READWRITE,
                                nullptr) != SQLITE_OK)
                fail(QStringLiteral("No se puede reconstruir la tabla %1").arg(p));
            sqlite3_exec(c.db, "BEGIN", nullptr, nullptr, nullptr);
            std::vector<int> all(fields.size());
            for (std::size_t i = 0; i < all.size(); ++i)
                all[i] = static_cast<int>(i);
            QStringList marks;
            for (std::size_t i = 0; i < all.size(); ++i)
                marks << QStringLiteral("?");
            const QByteArray readSql =
                QStringLiteral("SELECT rowid, %1 FROM %2 WHERE rowid > ? ORDER BY rowid")
                    .arg(quotedColumns(all), QLatin1String(kDataTable))
                    .toUtf8();
            const QByteArray writeSql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                            .arg(QLatin1String(kDataTable), quotedColumns(all),
                                                 marks.join(QStringLiteral(", ")))
                                            .toUtf8();
            StmtGuard write;
            if (sqlite3_prepare_v2(c.db, writeSql.constData(), -1, &write.s, nullptr) != SQLITE_OK)
                fail(QStringLiteral("No se puede reconstruir la tabla %1").arg(p));
            // Read in key order; past a damaged part, probe key by key for the rows that can
            // still be read.
            qint64 maxKey = 0;
            for (const char* sql : {"SELECT max(rowid) FROM data",
                                    "SELECT seq FROM sqlite_sequence WHERE name = 'data'"}) {
                StmtGuard g;
                if (sqlite3_prepare_v2(db_, sql, -1, &g.s, nullptr) == SQLITE_OK &&
                    sqlite3_step(g.s) == SQLITE_ROW && sqlite3_column_type(g.s, 0) != SQLITE_NULL)
                    maxKey = std::max(maxKey, sqlite3_column_int64(g.s, 0));
            }
            const QByteArray probeSql = QStringLiteral("SELECT rowid, %1 FROM %2 WHERE rowid = ?")
                                            .arg(quotedColumns(all), QLatin1String(kDataTable))
                                            .toUtf8();
            StmtGuard probe;
            sqlite3_prepare_v2(db_, probeSql.constData(), -1, &probe.s, nullptr);
            auto copyRow = [&](sqlite3_stmt* from) {
                sqlite3_reset(write.s);
                for (int col = 0; col < static_cast<int>(all.size()); ++col)
                    bindValue(write.s, col + 1, columnValue(from, col + 1, fields[col].type));
                sqlite3_step(write.s);
            };
            qint64 after = std::numeric_limits<qint64>::min();
            for (;;) {
                StmtGuard read;
                int rc = SQLITE_ERROR;
                if (sqlite3_prepare_v2(db_, readSql.constData(), -1, &read.s, nullptr) ==
                    SQLITE_OK) {
                    sqlite3_bind_int64(read.s, 1, after);
                    while ((rc = sqlite3_step(read.s)) == SQLITE_ROW) {
                        after = sqlite3_column_int64(read.s, 0);
                        copyRow(read.s);
                    }
                }
                if (rc == SQLITE_DONE || !probe.s)
                    break;
                bool found = false;
                for (qint64 k = std::max<qint64>(after, 0) + 1; k <= maxKey && !found; ++k) {
                    sqlite3_reset(probe.s);
                    sqlite3_bind_int64(probe.s, 1, k);
                    after = k;
                    if (sqlite3_step(probe.s) == SQLITE_ROW) {
                        copyRow(probe.s);
                        found = true;
                    }
                }
                if (!found)
                    break;
            }
            // Identities stay unused after the rebuild, also those of rows deleted at the end.
            sqlite3_stmt* seq = nullptr;
            if (sqlite3_prepare_v2(db_, "SELECT seq FROM sqlite_sequence WHERE name = 'data'", -1,
                                   &seq, nullptr) == SQLITE_OK &&
                sqlite3_step(seq) == SQLITE_ROW) {
                const QByteArray update = QByteArray("UPDATE sqlite_sequence SET seq = max(seq, ") +
                                          QByteArray::number(sqlite3_column_int64(seq, 0)) +
                                          ") WHERE name = 'data'";
                sqlite3_exec(c.db, update.constData(), nullptr, nullptr, nullptr);
            }
            sqlite3_finalize(seq);
            if (sqlite3_exec(c.db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
                fail(QStringLiteral("No se puede reconstruir la tabla %1").arg(p));
        }
        // Reopen over the rebuilt file, still exclusively.
        sqlite3_close_v2(db_);
        db_ = nullptr;
        removeJournals(p);
        if (std::rename(QFile::encodeName(tmp).constData(), QFile::encodeName(p).constData()) !=
            0) {
            QFile::remove(tmp);
            close();
            fail(QStringLiteral("No se puede reemplazar la tabla %1").arg(p));
        }
        state_ = State::Inactive;
        const bool wasExclusive = exclusive_;
        exclusive_ = true;
        rows_.clear();
        try {
            open();
        } catch (...) {
            exclusive_ = wasExclusive;
            throw;
        }
        exclusive_ = wasExclusive;
        return;
    }
    loadStructure();
    compileFilter();
    loadView();
    resetCursorToFirst();
}

} // namespace table
