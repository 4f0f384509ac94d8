// Work on whole tables: batch copy and batch append, adding the primary index, and pack, which
// rebuilds a damaged table from the rows that can still be read.
#include "platform/table/table.h"

#include "platform/table/table_impl.h"

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <limits>

namespace table {

namespace {

// Copies every row of the data table on `from` that can still be read into `write` (an INSERT
// of the given columns), in key order. A damaged part ends a read in key order: past it, keys
// are probed one by one up to the highest key the table has had, and reading in key order
// resumes after the first row found. Rows that cannot be written are left out.
void copyReadableRows(sqlite3* from, const QString& columns, const std::vector<FieldDef>& fields,
                      Statement& write) {
    const QString readSql =
        QStringLiteral("SELECT rowid, %1 FROM %2 WHERE rowid > ? ORDER BY rowid")
            .arg(columns, QLatin1String(kDataTable));
    qint64 maxKey = 0;
    for (const char* sql :
         {"SELECT max(rowid) FROM data", "SELECT seq FROM sqlite_sequence WHERE name = 'data'"}) {
        Statement st;
        if (st.prepare(from, QByteArray(sql)) && st.step() == SQLITE_ROW && !st.isNull(0))
            maxKey = std::max(maxKey, st.integer(0));
    }
    Statement probe;
    probe.prepare(from, QStringLiteral("SELECT rowid, %1 FROM %2 WHERE rowid = ?")
                            .arg(columns, QLatin1String(kDataTable)));
    auto copyRow = [&](const Statement& row) {
        write.reset();
        for (int col = 0; col < static_cast<int>(fields.size()); ++col)
            write.bindValue(col + 1, row.value(col + 1, fields[col].type));
        write.step();
    };
    qint64 after = std::numeric_limits<qint64>::min();
    for (;;) {
        Statement read;
        int rc = SQLITE_ERROR;
        if (read.prepare(from, readSql)) {
            read.bindInteger(1, after);
            while ((rc = read.step()) == SQLITE_ROW) {
                after = read.integer(0);
                copyRow(read);
            }
        }
        if (rc == SQLITE_DONE || !probe.isPrepared())
            break;
        bool found = false;
        for (qint64 k = std::max<qint64>(after, 0) + 1; k <= maxKey && !found; ++k) {
            probe.reset();
            probe.bindInteger(1, k);
            after = k;
            if (probe.step() == SQLITE_ROW) {
                copyRow(probe);
                found = true;
            }
        }
        if (!found)
            break;
    }
}

} // namespace

int Table::batchCopyTo(const QString& destPath, int rowLimit) const {
    d_->requireOpen();
    if (QFileInfo(destPath).absoluteFilePath() == QFileInfo(path()).absoluteFilePath())
        d_->fail(QStringLiteral("No se puede copiar la tabla %1 sobre sí misma").arg(path()));
    create(destPath, d_->fields_, {});
    Table dest;
    dest.setTableName(destPath);
    dest.open();
    std::vector<qint64> keys = d_->rows_.keys();
    if (rowLimit > 0 && static_cast<int>(keys.size()) > rowLimit)
        keys.resize(rowLimit);
    std::vector<int> all(d_->fields_.size());
    for (std::size_t i = 0; i < all.size(); ++i)
        all[i] = static_cast<int>(i);
    QStringList marks;
    for (std::size_t i = 0; i < all.size(); ++i)
        marks << QStringLiteral("?");
    Statement read = d_->prepare(QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?")
                                     .arg(d_->quotedColumns(all), QLatin1String(kDataTable)));
    Statement write = dest.d_->prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                           .arg(QLatin1String(kDataTable), d_->quotedColumns(all),
                                                marks.join(QStringLiteral(", "))));
    int copied = 0;
    {
        BatchScope batch(dest);
        for (qint64 key : keys) {
            read.reset();
            read.bindInteger(1, key);
            const int rc = read.step();
            if (rc == SQLITE_DONE)
                continue;
            if (rc != SQLITE_ROW)
                d_->failSql(QStringLiteral("copiar las filas"));
            write.reset();
            for (int c = 0; c < static_cast<int>(all.size()); ++c)
                write.bindValue(c + 1, read.value(c, d_->fields_[c].type));
            if (write.step() != SQLITE_DONE)
                dest.d_->failSql(QStringLiteral("copiar las filas"));
            ++copied;
        }
    }
    return copied;
}

int Table::batchAppendFrom(Table& source) {
    d_->requireOpen();
    source.d_->requireOpen();
    d_->checkBrowseMode();
    source.d_->checkBrowseMode();
    // Every row of the source, whatever its filter, in its table order; taken before the first
    // row is appended, so that appending a table to itself ends.
    std::vector<qint64> keys;
    {
        QString sql =
            QStringLiteral("SELECT rowid FROM %1 ORDER BY ").arg(QLatin1String(kDataTable));
        sql += source.d_->orderFields_.empty()
                   ? QStringLiteral("rowid")
                   : source.d_->quotedColumns(source.d_->orderFields_) +
                         (source.d_->orderByKeyLast_ ? QStringLiteral(", rowid") : QString());
        Statement st = source.d_->prepare(sql);
        int rc;
        while ((rc = st.step()) == SQLITE_ROW)
            keys.push_back(st.integer(0));
        if (rc != SQLITE_DONE)
            source.d_->failSql(QStringLiteral("leer las filas que se añaden"));
    }
    const int n = std::min(fieldCount(), source.fieldCount());
    std::vector<int> srcCols;
    std::vector<int> dstCols;
    for (int i = 0; i < n; ++i) {
        if (d_->fields_[i].type == FieldType::AutoInc)
            continue; // appended rows get new identities
        srcCols.push_back(i);
        dstCols.push_back(i);
    }
    Statement read = source.d_->prepare(
        QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?")
            .arg(srcCols.empty() ? QStringLiteral("rowid") : source.d_->quotedColumns(srcCols),
                 QLatin1String(kDataTable)));
    QStringList marks;
    for (std::size_t i = 0; i < dstCols.size(); ++i)
        marks << QStringLiteral("?");
    Statement write = d_->prepare(
        dstCols.empty()
            ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(QLatin1String(kDataTable))
            : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                  .arg(QLatin1String(kDataTable), d_->quotedColumns(dstCols),
                       marks.join(QStringLiteral(", "))));
    int appended = 0;
    try {
        BatchScope batch(*this);
        for (qint64 key : keys) {
            read.reset();
            read.bindInteger(1, key);
            const int rc = read.step();
            if (rc == SQLITE_DONE)
                continue;
            if (rc != SQLITE_ROW)
                source.d_->failSql(QStringLiteral("leer las filas que se añaden"));
            std::vector<QVariant> values;
            for (std::size_t c = 0; c < srcCols.size(); ++c)
                values.push_back(d_->toStorage(
                    d_->fields_[dstCols[c]],
                    read.value(static_cast<int>(c), source.d_->fields_[srcCols[c]].type)));
            read.reset();
            write.reset();
            for (std::size_t c = 0; c < values.size(); ++c)
                write.bindValue(static_cast<int>(c) + 1, values[c]);
            if (write.step() != SQLITE_DONE)
                d_->failSql(QStringLiteral("añadir las filas"));
            ++appended;
        }
    } catch (...) {
        d_->loadView();
        d_->resetCursorToFirst();
        throw;
    }
    d_->loadView();
    d_->resetCursorToFirst();
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
    d_->checkBrowseMode();
    for (const IndexDef& ix : d_->indexes_)
        if (ix.primary)
            d_->fail(QStringLiteral("La tabla %1 ya tiene un índice primario (%2)")
                         .arg(path(), ix.name));
    IndexDef ix;
    ix.name = name;
    ix.fields = splitFieldList(fieldList);
    ix.primary = true;
    validateDefinitions(path(), d_->fields_, {ix});
    {
        BatchScope batch(*this);
        d_->exec(indexSql(ix, d_->fields_).toUtf8().constData());
        Statement st = d_->prepare(QStringLiteral("INSERT INTO _indexes VALUES (?, ?, 1)"));
        st.bindText(1, name);
        st.bindText(2, ix.fields.join(u';'));
        if (st.step() != SQLITE_DONE)
            d_->failSql(QStringLiteral("añadir el índice"));
    }
    d_->finalizeStatements();
    d_->loadStructure();
    d_->compileFilter();
    d_->loadView();
    d_->resetCursorToFirst();
}

void Table::pack() {
    d_->requireOpen();
    if (!d_->openExclusive_)
        d_->fail(
            QStringLiteral("La tabla %1 ha de estar abierta en modo exclusivo para compactarla")
                .arg(path()));
    d_->checkBrowseMode();
    if (d_->batchDepth_ > 0)
        d_->fail(QStringLiteral("La tabla %1 no se puede compactar dentro de un lote").arg(path()));
    d_->finalizeStatements();
    bool healthy = false;
    {
        Statement st;
        if (st.prepare(d_->db_, QByteArray("PRAGMA integrity_check")) && st.step() == SQLITE_ROW)
            healthy = st.textBytes(0) == "ok";
    }
    if (!healthy) {
        d_->rebuildFromReadableRows();
        return;
    }
    d_->exec("VACUUM");
    d_->exec("REINDEX");
    d_->loadStructure();
    d_->compileFilter();
    d_->loadView();
    d_->resetCursorToFirst();
}

void Table::Impl::rebuildFromReadableRows() {
    // Built into a new file that then takes the table's place.
    const QString p = path();
    const QString tmp = p + QStringLiteral(".packing");
    const std::vector<FieldDef> fields = fields_;
    const std::vector<IndexDef> indexes = indexes_;
    Table::create(tmp, fields, indexes);
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
        const QString columns = quotedColumns(all);
        Statement write;
        if (!write.prepare(c.db, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                     .arg(QLatin1String(kDataTable), columns,
                                          marks.join(QStringLiteral(", ")))))
            fail(QStringLiteral("No se puede reconstruir la tabla %1").arg(p));
        copyReadableRows(db_, columns, fields, write);
        // Identities stay unused after the rebuild, also those of rows deleted at the end.
        Statement seq;
        if (seq.prepare(db_, QByteArray("SELECT seq FROM sqlite_sequence WHERE name = 'data'")) &&
            seq.step() == SQLITE_ROW) {
            const QByteArray update = QByteArray("UPDATE sqlite_sequence SET seq = max(seq, ") +
                                      QByteArray::number(seq.integer(0)) + ") WHERE name = 'data'";
            sqlite3_exec(c.db, update.constData(), nullptr, nullptr, nullptr);
        }
        seq.finalize();
        if (sqlite3_exec(c.db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
            fail(QStringLiteral("No se puede reconstruir la tabla %1").arg(p));
    }
    // Reopen over the rebuilt file, still exclusively.
    sqlite3_close_v2(db_);
    db_ = nullptr;
    removeJournals(p);
    if (std::rename(QFile::encodeName(tmp).constData(), QFile::encodeName(p).constData()) != 0) {
        QFile::remove(tmp);
        owner_.close();
        fail(QStringLiteral("No se puede reemplazar la tabla %1").arg(p));
    }
    state_ = State::Inactive;
    const bool wasExclusive = exclusive_;
    exclusive_ = true;
    rows_.clear();
    try {
        owner_.open();
    } catch (...) {
        exclusive_ = wasExclusive;
        throw;
    }
    exclusive_ = wasExclusive;
}

} // namespace table
