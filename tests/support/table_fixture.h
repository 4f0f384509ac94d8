// A small keyed table in a temporary folder, shaped like the card table.
#pragma once

#include "platform/table/table.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace table_test {

// The text of the engine error that f raises, or "(no error)" when it raises none.
inline std::string errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const table::EngineError& e) {
        return e.what();
    }
    return "(no error)";
}

inline std::vector<table::FieldDef> cardLikeFields() {
    using table::FieldType;
    return {
        {"Nive_Fich", FieldType::SmallInt, 0}, {"Nive_Impo", FieldType::SmallInt, 0},
        {"AutoInc", FieldType::AutoInc, 0},    {"Clav_Fich", FieldType::Text, 15},
        {"Preg_Text", FieldType::Text, 20},    {"Fech_Ulti_Repa", FieldType::Text, 8},
        {"Camp_Logi", FieldType::Boolean, 0},  {"Datos", FieldType::Blob, 0},
    };
}

inline std::vector<table::IndexDef> cardLikeIndexes() {
    return {{"NiveFich", {"Nive_Fich", "Nive_Impo", "AutoInc"}, true}};
}

// One row to append: a field left out (or given as an invalid QVariant) stays blank.
struct Row {
    QVariant nive, impo;
    QString clav, preg, fech;
    QVariant logi;
};

class TableFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        path_ = dir_.filePath("T.DB");
        table::Table::create(path_, cardLikeFields(), cardLikeIndexes());
    }

    QString path() const { return path_; }
    QString dirPath() const { return dir_.path(); }

    // Appends rows through a table of its own and returns their AutoInc values.
    std::vector<qint64> addRows(std::initializer_list<Row> rows) {
        table::Table t;
        t.setTableName(path_);
        t.open();
        std::vector<qint64> ids;
        for (const Row& r : rows) {
            t.append();
            if (r.nive.isValid())
                t.fieldByName("Nive_Fich").setInteger(r.nive.toLongLong());
            if (r.impo.isValid())
                t.fieldByName("Nive_Impo").setInteger(r.impo.toLongLong());
            t.fieldByName("Clav_Fich").setString(r.clav);
            t.fieldByName("Preg_Text").setString(r.preg);
            t.fieldByName("Fech_Ulti_Repa").setString(r.fech);
            if (r.logi.isValid())
                t.fieldByName("Camp_Logi").setBoolean(r.logi.toBool());
            t.post();
            ids.push_back(t.fieldByName("AutoInc").asInteger());
        }
        return ids;
    }

    // AutoInc values of the visible rows, walking the cursor.
    static std::vector<qint64> walk(table::Table& t) {
        std::vector<qint64> out;
        t.first();
        while (!t.eof()) {
            out.push_back(t.fieldByName("AutoInc").asInteger());
            t.next();
        }
        return out;
    }

    QTemporaryDir dir_;
    QString path_;
};

} // namespace table_test
