// The card grid model over a real card table: what it shows, how little it reads, and when it
// resets.
#include "studyfile/card_grid_model.h"

#include "studyfile/card_table.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

using studyfile::CardGridModel;
using studyfile::GridColumn;

namespace {

const std::vector<GridColumn> kColumns = {
    {"Nivel Imp.", "Nive_Impo", 90}, {"Clave", "Clav_Fich", 130}, {"  Pregunta", "Preg_Text", 490}};

class CardGridModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        studyfile::createCardTable(dir_.filePath("Curso.DB"));
        cards_.open(dir_.path(), "Curso.DB");
        cards_.afterScroll = [this] { ++scrolls_; };
    }

    // Appends a card; an importance of 0 and an empty key stay blank.
    qint64 add(int level, int importance, const QString& key, const QString& question) {
        cards_.append();
        cards_.fieldByName("Nive_Fich").setInteger(level);
        if (importance != 0)
            cards_.fieldByName("Nive_Impo").setInteger(importance);
        cards_.fieldByName("Clav_Fich").setString(key);
        cards_.fieldByName("Preg_Text").setString(question);
        cards_.post();
        return cards_.lastPostedKey();
    }

    // n level-0 cards "P0" ... whose importance is their number.
    void addMany(int n) {
        table::BatchScope batch(cards_);
        for (int i = 0; i < n; ++i)
            add(0, i + 1, QString(), QString("P%1").arg(i));
    }

    void showLevel0() {
        cards_.setFilter("Nive_Fich = 0 ");
        cards_.setFiltered(true);
    }

    static QString cell(const CardGridModel& m, int row, int column) {
        const QVariant v = m.data(m.index(row, column));
        EXPECT_TRUE(v.isValid()) << row << "," << column;
        return v.toString();
    }

    QTemporaryDir dir_;
    table::Table cards_;
    int scrolls_ = 0;
};

} // namespace

TEST_F(CardGridModelTest, ShowsTheVisibleRowsInTableOrder) {
    const qint64 a = add(0, 5, "verbos", "¿Uno?");
    const qint64 b = add(0, 0, "", "¿Dos?");
    const qint64 hidden = add(2, 1, "x", "¿Tres?");
    const qint64 c = add(0, 3, "O'Hara", "¿Cuatro?");
    showLevel0();
    CardGridModel model(cards_, kColumns);

    ASSERT_EQ(model.rowCount(), 3);
    ASSERT_EQ(model.columnCount(), 3);
    // Blank fields are empty cells, not 0.
    const QStringList expected[] = {
        {"", "", "¿Dos?"}, {"3", "O'Hara", "¿Cuatro?"}, {"5", "verbos", "¿Uno?"}};
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            EXPECT_EQ(cell(model, row, column), expected[row][column]) << row << "," << column;
    EXPECT_FALSE(model.data(model.index(0, 0), Qt::EditRole).isValid());
    EXPECT_FALSE(model.data(model.index(3, 0)).isValid());
    EXPECT_EQ(model.headerData(2, Qt::Horizontal).toString(), "  Pregunta");
    EXPECT_FALSE(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_TRUE(model.flags(model.index(0, 0)) & Qt::ItemIsSelectable);

    EXPECT_EQ(model.keyAt(0), b);
    EXPECT_EQ(model.keyAt(2), a);
    EXPECT_EQ(model.rowOfKey(c), 1);
    EXPECT_EQ(model.rowOfKey(hidden), -1);

    cards_.close();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.rowOfKey(a), -1);
}

// Reading cells reads their page of 64 rows once, never moves the cursor, and keeps at most 32
// pages.
TEST_F(CardGridModelTest, ReadsPagesOnlyWhenAskedAndKeepsThirtyTwo) {
    addMany(3000);
    showLevel0();
    cards_.setRecNo(10);
    scrolls_ = 0;
    CardGridModel model(cards_, kColumns);
    EXPECT_EQ(model.rowCount(), 3000);
    EXPECT_EQ(model.rowsRead(), 0);

    EXPECT_EQ(cell(model, 0, 0), "1");
    EXPECT_EQ(model.rowsRead(), 64);
    EXPECT_EQ(cell(model, 63, 2), "P63");
    EXPECT_EQ(cell(model, 64, 2), "P64");
    EXPECT_EQ(model.rowsRead(), 128);
    EXPECT_EQ(cell(model, 2999, 0), "3000"); // the last page is short
    EXPECT_EQ(model.rowsRead(), 128 + 56);

    // Pages 0 .. 31 are now the ones kept (page 46 was used least recently and goes).
    for (int page = 0; page < 32; ++page)
        cell(model, page * 64, 1);
    const qint64 read = model.rowsRead();
    for (int page = 31; page >= 0; --page)
        cell(model, page * 64 + 5, 2);
    EXPECT_EQ(model.rowsRead(), read);
    cell(model, 2999, 1);
    EXPECT_EQ(model.rowsRead(), read + 56);

    EXPECT_EQ(scrolls_, 0);
    EXPECT_EQ(cards_.recNo(), 10);
}

TEST_F(CardGridModelTest, RefreshResetsOnlyWhenTheViewChanged) {
    addMany(100);
    showLevel0();
    CardGridModel model(cards_, kColumns);
    int resets = 0;
    QObject::connect(&model, &CardGridModel::modelReset, [&] { ++resets; });
    EXPECT_EQ(cell(model, 0, 2), "P0");

    // Moves, reads and counts beside the view change nothing.
    cards_.last();
    cards_.countMatching("Nive_Impo > 50");
    EXPECT_FALSE(model.refresh());
    EXPECT_EQ(resets, 0);

    // A card leaves the view: the cells show the new rows even before the reset.
    const qint64 read = model.rowsRead();
    cards_.first();
    cards_.edit();
    cards_.fieldByName("Nive_Fich").setInteger(1);
    cards_.post();
    EXPECT_EQ(cell(model, 0, 2), "P1");
    EXPECT_GT(model.rowsRead(), read);
    EXPECT_TRUE(model.refresh());
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(model.rowCount(), 99);
    EXPECT_FALSE(model.refresh());

    cards_.setFilter("Nive_Fich = 0 and Nive_Impo >=90");
    EXPECT_TRUE(model.refresh());
    EXPECT_EQ(model.rowCount(), 11);
    EXPECT_EQ(cell(model, 0, 0), "90");
    EXPECT_EQ(resets, 2);
}
