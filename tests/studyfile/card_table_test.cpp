#include "studyfile/card_table.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using table::EngineError;
using table::FieldType;
using table::Table;

namespace {

struct Expected {
    const char* name;
    FieldType type;
    int size;
};

void expectFields(const std::vector<table::FieldDef>& got, const std::vector<Expected>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        SCOPED_TRACE(want[i].name);
        EXPECT_EQ(got[i].name, QString(want[i].name));
        EXPECT_EQ(got[i].type, want[i].type);
        if (want[i].type == FieldType::Text) {
            EXPECT_EQ(got[i].size, want[i].size);
        }
    }
}

} // namespace

TEST(CardTable, CreatedTableHasTheFieldsInOrderAndTheLevelIndex) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Curso.DB");
    studyfile::createCardTable(path, 120);
    Table t;
    t.open(dir.path(), "Curso.DB");
    expectFields(t.fieldDefs(), {
                                    {"Nive_Fich", FieldType::SmallInt, 0},
                                    {"Nive_Impo", FieldType::SmallInt, 0},
                                    {"AutoInc", FieldType::AutoInc, 0},
                                    {"Clav_Fich", FieldType::Text, 15},
                                    {"Preg_Text", FieldType::Text, 120},
                                    {"Tipo_Preg_Imag", FieldType::Text, 4},
                                    {"Preg_Imag", FieldType::Blob, 0},
                                    {"Resp_Text", FieldType::Blob, 0},
                                    {"Tipo_Resp_Imag", FieldType::Text, 4},
                                    {"Resp_Imag", FieldType::Blob, 0},
                                    {"Resp_Memo", FieldType::Blob, 0},
                                    {"Fech_Crea", FieldType::Text, 8},
                                    {"Fech_Ulti_Repa", FieldType::Text, 8},
                                    {"Total_Repa", FieldType::SmallInt, 0},
                                    {"Fech_Prox_Repa", FieldType::Text, 8},
                                    {"Ficha_Comp_Encr", FieldType::Text, 3},
                                    {"Camp_Logi", FieldType::Boolean, 0},
                                });
    ASSERT_EQ(t.indexDefs().size(), 1u);
    EXPECT_EQ(t.indexDefs()[0].name, "NiveFich");
    EXPECT_EQ(t.indexDefs()[0].fields, QStringList({"Nive_Fich", "Nive_Impo", "AutoInc"}));
    EXPECT_TRUE(t.indexDefs()[0].primary);
}

TEST(CardTable, QuestionSizeOutsideOneTo255IsRefused) {
    for (int size : {0, 256, -1})
        EXPECT_THROW(studyfile::cardTableFields(size), EngineError) << size;
    EXPECT_EQ(studyfile::cardTableFields(255)[4].size, 255);
    EXPECT_EQ(studyfile::cardTableFields(1)[4].size, 1);
}

TEST(CardTable, BaseFilterHidesLevelZero) {
    QTemporaryDir dir;
    studyfile::createCardTable(dir.filePath("C.DB"));
    Table t;
    t.setFilter(studyfile::kBaseFilter);
    t.setFiltered(true);
    t.open(dir.path(), "C.DB");
    for (int level : {0, 1, 0, 4}) {
        t.append();
        t.fieldByName("Nive_Fich").setInteger(level);
        t.post();
    }
    EXPECT_EQ(t.recordCount(), 2);
}

TEST(PrintTable, CreationReplacesAnOldTableWithAnEmptyOne) {
    QTemporaryDir dir;
    const QString path = studyfile::createPrintTable(dir.path());
    EXPECT_EQ(path, QDir(dir.path()).filePath("IMP.db"));
    {
        Table t;
        t.open(dir.path(), "IMP.db");
        expectFields(t.fieldDefs(), {
                                        {"TEXT", FieldType::Text, 255},
                                        {"TEXT2", FieldType::Text, 8},
                                        {"Imag", FieldType::Blob, 0},
                                        {"Memo", FieldType::Blob, 0},
                                        {"Memo2", FieldType::Blob, 0},
                                        {"Comp_Encr", FieldType::Text, 6},
                                        {"Logi", FieldType::Boolean, 0},
                                    });
        EXPECT_TRUE(t.indexDefs().empty());
        t.append();
        t.fieldByName("TEXT").setString("una fila");
        t.post();
        EXPECT_EQ(t.recordCount(), 1);
    }
    // A leftover journal and an old table under other letters go too.
    QFile j(path + "-journal");
    ASSERT_TRUE(j.open(QIODevice::WriteOnly));
    j.write("stale");
    j.close();
    QFile::copy(path, dir.filePath("imp.DB"));
    studyfile::createPrintTable(dir.path());
    EXPECT_FALSE(QFile::exists(path + "-journal"));
    EXPECT_FALSE(QFile::exists(dir.filePath("imp.DB")));
    Table t;
    t.open(dir.path(), "IMP.db");
    EXPECT_TRUE(t.isEmpty());
}
