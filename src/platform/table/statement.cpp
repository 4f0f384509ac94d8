#include "platform/table/statement.h"

#include <sqlite3.h>

#include <utility>

namespace table {

Statement::~Statement() {
    sqlite3_finalize(stmt_);
}

Statement::Statement(Statement&& other) noexcept : stmt_(std::exchange(other.stmt_, nullptr)) {}

Statement& Statement::operator=(Statement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(stmt_);
        stmt_ = std::exchange(other.stmt_, nullptr);
    }
    return *this;
}

bool Statement::prepare(sqlite3* db, const QByteArray& sql) {
    finalize();
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), static_cast<int>(sql.size()), &st, nullptr) !=
        SQLITE_OK) {
        sqlite3_finalize(st);
        return false;
    }
    stmt_ = st;
    return true;
}

void Statement::finalize() {
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
}

void Statement::bindNull(int index) {
    sqlite3_bind_null(stmt_, index);
}

void Statement::bindInteger(int index, qint64 value) {
    sqlite3_bind_int64(stmt_, index, value);
}

void Statement::bindText(int index, const QString& text) {
    bindText(index, text.toUtf8());
}

void Statement::bindText(int index, const QByteArray& utf8) {
    sqlite3_bind_text(stmt_, index, utf8.constData(), static_cast<int>(utf8.size()),
                      SQLITE_TRANSIENT);
}

void Statement::bindBytes(int index, const QByteArray& bytes) {
    sqlite3_bind_blob(stmt_, index, bytes.constData(), static_cast<int>(bytes.size()),
                      SQLITE_TRANSIENT);
}

void Statement::bindValue(int index, const QVariant& value) {
    if (!value.isValid() || value.isNull()) {
        bindNull(index);
        return;
    }
    switch (value.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::Bool:
        bindInteger(index, value.toLongLong());
        return;
    case QMetaType::QString:
        bindText(index, value.toString());
        return;
    default:
        bindBytes(index, value.toByteArray());
        return;
    }
}

void Statement::bindFilterValue(int index, const QVariant& value) {
    if (value.typeId() == QMetaType::QByteArray)
        bindText(index, value.toByteArray());
    else
        bindValue(index, value);
}

void Statement::clearBindings() {
    sqlite3_clear_bindings(stmt_);
}

int Statement::step() {
    return sqlite3_step(stmt_);
}

void Statement::reset() {
    sqlite3_reset(stmt_);
}

bool Statement::isNull(int column) const {
    return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

qint64 Statement::integer(int column) const {
    return sqlite3_column_int64(stmt_, column);
}

QString Statement::text(int column) const {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return QString::fromUtf8(p, sqlite3_column_bytes(stmt_, column));
}

QByteArray Statement::textBytes(int column) const {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return QByteArray(p, sqlite3_column_bytes(stmt_, column));
}

QVariant Statement::value(int column, FieldType type) const {
    if (isNull(column))
        return {};
    switch (type) {
    case FieldType::Text:
        return text(column);
    case FieldType::Blob: {
        const auto* p = static_cast<const char*>(sqlite3_column_blob(stmt_, column));
        return QByteArray(p, sqlite3_column_bytes(stmt_, column));
    }
    default:
        return QVariant::fromValue<qint64>(integer(column));
    }
}

SortVal Statement::sortValue(int column) const {
    SortVal v;
    sortValueInto(column, v);
    return v;
}

void Statement::sortValueInto(int column, SortVal& v) const {
    // One column call, then the value's own accessors (which do not go through the statement).
    sqlite3_value* value = sqlite3_column_value(stmt_, column);
    switch (sqlite3_value_type(value)) {
    case SQLITE_NULL:
        v.kind = SortKind::Blank;
        v.i = 0;
        if (!v.s.isNull())
            v.s = QByteArray();
        break;
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        v.kind = SortKind::Integer;
        v.i = sqlite3_value_int64(value);
        if (!v.s.isNull())
            v.s = QByteArray();
        break;
    case SQLITE_TEXT: {
        v.kind = SortKind::Text;
        v.i = 0;
        const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(value));
        v.s = QByteArray(p, sqlite3_value_bytes(value));
        break;
    }
    default: {
        v.kind = SortKind::Bytes;
        v.i = 0;
        const auto* p = static_cast<const char*>(sqlite3_value_blob(value));
        v.s = QByteArray(p, sqlite3_value_bytes(value));
        break;
    }
    }
}

} // namespace table
