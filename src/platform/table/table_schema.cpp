// Creation and structure of tables: the descriptor tables (_fields, _indexes) beside the data
// table, field and index definitions, and creating or replacing a table file.
#include "platform/table/table.h"

#include "platform/table/filter.h"
#include "platform/table/native_table.h"
#include "platform/table/table_impl.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <sqlite3.h>

#include <cstdio>

namespace table {

namespace {

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

void execOn(sqlite3* db, const QString& sql, const QString& path) {
    char* err = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
        const QString msg = QString::fromUtf8(err ? err : sqlite3_errmsg(db));
        sqlite3_free(err);
        throw EngineError(QStringLiteral("Error al crear la tabla %1: %2").arg(path, msg));
    }
}

} // namespace

void removeJournals(const QString& path) {
    for (const char* suffix : {"-journal", "-wal", "-shm"})
        QFile::remove(path + QLatin1String(suffix));
}

Connection::~Connection() {
    if (db)
        sqlite3_close_v2(db);
}

QStringList splitFieldList(const QString& fields) {
    QStringList out;
    for (const QString& part : fields.split(u';'))
        if (!part.trimmed().isEmpty())
            out << part.trimmed();
    return out;
}

void validateDefinitions(const QString& path, const std::vector<FieldDef>& fields,
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

QString indexSql(const IndexDef& ix, const std::vector<FieldDef>& fields) {
    QStringList cols;
    for (const QString& f : ix.fields)
        for (const FieldDef& def : fields)
            if (def.name.compare(f, Qt::CaseInsensitive) == 0)
                cols << quoteIdentifier(def.name);
    return QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
        .arg(quoteIdentifier(QStringLiteral("ix_") + ix.name), QLatin1String(kDataTable),
             cols.join(QStringLiteral(", ")));
}

void Table::create(const QString& path, const std::vector<FieldDef>& fields,
                   const std::vector<IndexDef>& indexes) {
    validateDefinitions(path, fields, indexes);
    const QFileInfo info(path);
    if (!info.absoluteDir().exists())
        throw EngineError(QStringLiteral("No existe la carpeta de la tabla %1").arg(path));

    // An existing native table in use elsewhere is not pulled away from its users.
    if (info.exists() && isNativeTable(path)) {
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
        d_->fail(QStringLiteral("La tabla %1 está abierta: ciérrela antes de crearla").arg(path()));
    create(path(), fields, indexes);
}

QString Table::tableType() const {
    d_->requireOpen();
    return QStringLiteral("SQLITE");
}

void Table::Impl::loadStructure() {
    fields_.clear();
    indexes_.clear();
    fieldIndex_.clear();
    clearFieldNames();
    orderFields_.clear();
    sortFields_.clear();
    {
        Statement st = prepare(QStringLiteral("SELECT name, type, size FROM _fields ORDER BY pos"));
        int rc;
        while ((rc = st.step()) == SQLITE_ROW) {
            FieldDef f;
            f.name = st.text(0);
            const QString type = st.text(1);
            if (!typeFromName(type, f.type))
                fail(QStringLiteral("La tabla %1 tiene un campo de tipo desconocido: %2 (%3)")
                         .arg(path(), f.name, type));
            f.size = static_cast<int>(st.integer(2));
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
        Statement st = prepare(QStringLiteral("SELECT name, fields, is_primary FROM _indexes"));
        int rc;
        while ((rc = st.step()) == SQLITE_ROW) {
            IndexDef ix;
            ix.name = st.text(0);
            ix.fields = splitFieldList(st.text(1));
            ix.primary = static_cast<int>(st.integer(2)) != 0;
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
    // The key list keeps the values of the order fields but for a last AutoInc field: that one
    // is the row's key, by which the list breaks ties anyway.
    rowColumns_.clear();
    rowColumnOf_.assign(fields_.size(), -1);
    for (int i = 0; i < static_cast<int>(fields_.size()); ++i) {
        if (fields_[i].type != FieldType::Blob) {
            rowColumnOf_[i] = static_cast<int>(rowColumns_.size());
            rowColumns_.push_back(i);
        }
    }
    sortFields_ = orderFields_;
    if (!sortFields_.empty() && fields_[sortFields_.back()].type == FieldType::AutoInc)
        sortFields_.pop_back();
    cache_.assign(fields_.size(), QVariant());
    cacheLoaded_.assign(fields_.size(), 0);
    edits_.assign(fields_.size(), QVariant());
    modified_.assign(fields_.size(), 0);
}

int Table::fieldCount() const {
    return static_cast<int>(d_->fields_.size());
}

const std::vector<FieldDef>& Table::fieldDefs() const {
    return d_->fields_;
}

const std::vector<IndexDef>& Table::indexDefs() const {
    return d_->indexes_;
}

int Table::findField(const QString& name) const {
    return d_->findField(name);
}

int Table::Impl::findField(const QString& name) const {
    for (const RecentName& recent : recentNames_)
        if (recent.index >= 0 && recent.name == name)
            return recent.index;
    const auto it = fieldIndex_.constFind(name.trimmed().toLower());
    if (it == fieldIndex_.constEnd())
        return -1;
    recentNames_[nextRecentName_] = RecentName{name, it.value()};
    nextRecentName_ = (nextRecentName_ + 1) % recentNames_.size();
    return it.value();
}

void Table::Impl::clearFieldNames() {
    recentNames_.fill(RecentName{});
    nextRecentName_ = 0;
}

Field Table::field(int index) {
    d_->requireOpen();
    if (index < 0 || index >= fieldCount())
        d_->fail(QStringLiteral("La tabla %1 no tiene el campo número %2").arg(path()).arg(index));
    return Field(this, index);
}

Field Table::fieldByName(const QString& name) {
    d_->requireOpen();
    const int i = findField(name);
    if (i < 0)
        d_->fail(QStringLiteral("Campo desconocido: %1").arg(name));
    return Field(this, i);
}

QString Table::Impl::quotedColumns(const std::vector<int>& indexes) const {
    QStringList cols;
    for (int i : indexes)
        cols << quoteIdentifier(fields_[i].name);
    return cols.join(QStringLiteral(", "));
}

} // namespace table
