// Every field of every row of a card table, read with a table of its own and no filter, so that a
// test can tell exactly which rows and fields a store changed.
#pragma once

#include "platform/table/table.h"

#include <QByteArray>
#include <QFileInfo>
#include <QString>

#include <map>
#include <set>

namespace card_rows {

// Field name -> stored value (a blank field reads as "<blank>").
using Row = std::map<QString, QByteArray>;
using Rows = std::map<qint64, Row>; // by AutoInc

inline Rows read(const QString& tablePath) {
    table::Table t;
    t.open(QFileInfo(tablePath).path(), QFileInfo(tablePath).fileName());
    t.setFiltered(false);
    Rows rows;
    for (t.first(); !t.eof(); t.next()) {
        Row row;
        for (const table::FieldDef& def : t.fieldDefs()) {
            const table::Field f = t.fieldByName(def.name);
            row[def.name] = f.isNull()                           ? QByteArray("<blank>")
                            : def.type == table::FieldType::Blob ? f.asBytes()
                                                                 : f.asString().toUtf8();
        }
        rows[t.fieldByName(QStringLiteral("AutoInc")).asInteger()] = row;
    }
    return rows;
}

// The fields whose values differ between two versions of a row.
inline std::set<QString> changedFields(const Row& before, const Row& after) {
    std::set<QString> changed;
    for (const auto& [name, value] : after) {
        const auto it = before.find(name);
        if (it == before.end() || it->second != value)
            changed.insert(name);
    }
    return changed;
}

// The AutoInc values of rows that were added or changed, or that disappeared.
inline std::set<qint64> changedRows(const Rows& before, const Rows& after) {
    std::set<qint64> changed;
    for (const auto& [key, row] : after) {
        const auto it = before.find(key);
        if (it == before.end() || it->second != row)
            changed.insert(key);
    }
    for (const auto& [key, row] : before)
        if (after.find(key) == after.end())
            changed.insert(key);
    return changed;
}

} // namespace card_rows
