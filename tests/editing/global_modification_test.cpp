#include "editing/global_modification.h"
#include "platform/table/table.h"
#include "studyfile/card_table.h"
#include "support/card_rows.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

using card_rows::Row;
using card_rows::Rows;

class GlobalModificationTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath("C.DB");
        studyfile::createCardTable(path);
        table::Table t;
        t.setTableName(path);
        t.open();
        struct Card {
            char name;
            int level;
            QString key;
            QVariant importance;
            bool marked;
        };
        const Card cards[] = {{'A', 2, "verbos", 1, false},
                              {'B', 2, "nombres", 3, false},
                              {'C', 1, "verbos2", 2, false},
                              {'D', 0, "verbos", 1, false},
                              {'E', 3, "", QVariant(), true}};
        for (const Card& c : cards) {
            t.append();
            t.fieldByName("Nive_Fich").setInteger(c.level);
            t.fieldByName("Clav_Fich").setString(c.key);
            if (c.importance.isValid())
                t.fieldByName("Nive_Impo").setInteger(c.importance.toInt());
            t.fieldByName("Preg_Text").setString(QString(QLatin1Char(c.name)));
            t.fieldByName("Fech_Ulti_Repa").setString("20240101");
            t.fieldByName("Fech_Prox_Repa").setString("20240110");
            t.fieldByName("Total_Repa").setInteger(4);
            t.fieldByName("Resp_Text").setBytes(QByteArray("respuesta ") + c.name);
            t.fieldByName("Camp_Logi").setBoolean(c.marked);
            t.post();
            ids[c.name] = t.lastPostedKey();
        }
    }

    std::set<qint64> keys(const char* names) {
        std::set<qint64> out;
        for (const char* n = names; *n; ++n)
            out.insert(ids.at(*n));
        return out;
    }

    QTemporaryDir dir;
    QString path;
    std::map<char, qint64> ids;
};

TEST_F(GlobalModificationTest, ChangesTheSelectionAndNothingElse) {
    const QString base = studyfile::kBaseFilter;
    struct Case {
        const char* name;
        QString filter;
        editing::GlobalChange change;
        const char* changedCards;
        std::map<QString, QByteArray> values; // every changed card gets these
    };
    editing::GlobalChange level3;
    level3.level = 3;
    editing::GlobalChange level0;
    level0.level = 0;
    editing::GlobalChange keyAndDate;
    keyAndDate.cardKey = "una clave demasiado larga";
    keyAndDate.nextReview = "20240305";
    editing::GlobalChange counts;
    counts.importance = 7;
    counts.reviews = 12;
    const Case cases[] = {
        // Each level-2 card leaves the selection the moment it changes; all of them change.
        {"level 2 to 3", "Nive_Fich=2 and " + base, level3, "AB", {{"Nive_Fich", "3"}}},
        {"no selection, level 0", base, level0, "ABCE", {{"Nive_Fich", "0"}}},
        {"key and date",
         "Clav_Fich='verbos*' and " + base,
         keyAndDate,
         "AC",
         {{"Clav_Fich", "una clave demas"}, {"Fech_Prox_Repa", "20240305"}}},
        {"importance and reviews",
         base,
         counts,
         "ABCE",
         {{"Nive_Impo", "7"}, {"Total_Repa", "12"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp(); // a fresh table for each case
        const Rows before = card_rows::read(path);
        table::Table t;
        t.setFilter(c.filter);
        t.setFiltered(true);
        t.setTableName(path);
        t.open();
        const int selected = t.recordCount();
        int scrolls = 0;
        t.afterScroll = [&scrolls] { ++scrolls; };
        int lastDone = 0, lastTotal = 0;
        const int changed = editing::runGlobalModification(t, c.change, [&](int done, int total) {
            lastDone = done;
            lastTotal = total;
        });
        EXPECT_EQ(changed, int(std::string(c.changedCards).size()));
        EXPECT_EQ(lastTotal, 2 * selected);
        EXPECT_EQ(lastDone, lastTotal);
        EXPECT_EQ(scrolls, 1);
        EXPECT_EQ(t.filter(), c.filter);
        EXPECT_TRUE(t.filtered());

        const Rows after = card_rows::read(path);
        for (const auto& [key, row] : after) {
            EXPECT_EQ(row.at("Camp_Logi"), "false") << key;
            std::set<QString> expected;
            if (keys(c.changedCards).count(key))
                for (const auto& [field, value] : c.values) {
                    EXPECT_EQ(row.at(field), value) << key;
                    if (before.at(key).at(field) != value)
                        expected.insert(field);
                }
            if (key == ids.at('E'))
                expected.insert("Camp_Logi"); // the stale mark is cleared, nothing else
            EXPECT_EQ(card_rows::changedFields(before.at(key), row), expected) << key;
        }
    }
}

TEST_F(GlobalModificationTest, NothingToChangeWritesNothing) {
    const Rows before = card_rows::read(path);
    table::Table t;
    t.setTableName(path);
    t.open();
    EXPECT_EQ(editing::runGlobalModification(t, editing::GlobalChange()), 0);
    EXPECT_EQ(card_rows::read(path), before);
}

TEST_F(GlobalModificationTest, AnErrorPutsTheSelectionBack) {
    table::Table t;
    t.setFilter("Nive_Fich=2 and " + studyfile::kBaseFilter);
    t.setFiltered(true);
    t.setTableName(path);
    t.open();
    editing::GlobalChange tooLarge;
    tooLarge.importance = 40000; // beyond the field
    EXPECT_THROW(editing::runGlobalModification(t, tooLarge), table::EngineError);
    EXPECT_EQ(t.filter(), "Nive_Fich=2 and " + studyfile::kBaseFilter);
    EXPECT_EQ(t.state(), table::Table::State::Browse);
    EXPECT_EQ(t.recordCount(), 2);
    // The next run clears what the failed one left marked and changes only the selection.
    editing::GlobalChange level1;
    level1.level = 1;
    EXPECT_EQ(editing::runGlobalModification(t, level1), 2);
    for (const auto& [key, row] : card_rows::read(path))
        EXPECT_EQ(row.at("Camp_Logi"), "false") << key;
}

} // namespace
