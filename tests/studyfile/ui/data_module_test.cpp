#include "studyfile/ui/data_module.h"

#include "studyfile/card_table.h"

#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace {

class DataModuleTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        studyfile::createCardTable(dir_.filePath("F.DB"));
        table::Table t;
        t.open(dir_.path(), "F.DB");
        // Levels in insertion order; table order is by level, then importance, then AutoInc.
        for (int level : {2, 0, 1, 3, 1}) {
            t.append();
            t.fieldByName("Nive_Fich").setInteger(level);
            t.fieldByName("Nive_Impo").setInteger(0);
            t.post();
            ids_.push_back(t.fieldByName("AutoInc").asInteger());
        }
        dm_.cardLoader = [this] {
            loaded_.push_back(dm_.Tabla_Activa.isEmpty()
                                  ? -1
                                  : dm_.Tabla_Activa.fieldByName("AutoInc").asInteger());
        };
        dm_.Tabla_Activa.setFilter(studyfile::kBaseFilter);
        dm_.Tabla_Activa.setFiltered(true);
        dm_.Tabla_Activa.open(dir_.path(), "F.DB");
        loaded_.clear();
    }

    qint64 current() { return dm_.Tabla_Activa.fieldByName("AutoInc").asInteger(); }
    QString id(int i) const { return QString::number(ids_[i]); }

    QTemporaryDir dir_;
    RunState state_;
    TD_Module_ dm_{state_};
    std::vector<qint64> ids_;
    std::vector<qint64> loaded_;
};

} // namespace

TEST_F(DataModuleTest, ValoresListsTheVisibleCardsInTableOrderWithoutMoving) {
    dm_.Tabla_Activa.last();
    loaded_.clear();
    dm_.Valores_a_NumFich();
    EXPECT_EQ(state_.pendingCards, QStringList({id(2), id(4), id(0), id(3)}));
    EXPECT_TRUE(loaded_.empty());
    EXPECT_EQ(current(), ids_[3]);
}

TEST_F(DataModuleTest, SiguienteGoesStraightToEachListedCardAndLoadsItOnce) {
    dm_.Valores_a_NumFich();
    std::vector<qint64> shown;
    while (!state_.lastCard) {
        ASSERT_TRUE(dm_.Siguiente_Registro());
        shown.push_back(current());
        // Answering moves the card to another level; the order stays that of the list.
        dm_.Tabla_Activa.edit();
        dm_.Tabla_Activa.fieldByName("Nive_Fich")
            .setInteger(dm_.Tabla_Activa.fieldByName("Nive_Fich").asInteger() + 1);
        dm_.Tabla_Activa.post();
    }
    EXPECT_THAT(shown, ElementsAre(ids_[2], ids_[4], ids_[0], ids_[3]));
    EXPECT_EQ(loaded_, shown);
    EXPECT_TRUE(state_.pendingCards.isEmpty());
}

TEST_F(DataModuleTest, OneEntryListLeavesTheListEmptyAndSetsTheFlag) {
    state_.pendingCards = {id(3)};
    state_.lastCard = false;
    EXPECT_TRUE(dm_.Siguiente_Registro());
    EXPECT_EQ(current(), ids_[3]);
    EXPECT_TRUE(state_.pendingCards.isEmpty());
    EXPECT_TRUE(state_.lastCard);
}

TEST_F(DataModuleTest, VanishedCardsAreSkippedAndAnExhaustedListReportsNotFound) {
    dm_.Valores_a_NumFich(); // 2, 4, 0, 3
    // Card 4 is deleted and card 0 parked at level 0 during the review.
    ASSERT_TRUE(dm_.Tabla_Activa.locateKey(ids_[4]));
    dm_.Tabla_Activa.deleteCurrent();
    ASSERT_TRUE(dm_.Tabla_Activa.locateKey(ids_[0]));
    dm_.Tabla_Activa.edit();
    dm_.Tabla_Activa.fieldByName("Nive_Fich").setInteger(0);
    dm_.Tabla_Activa.post();

    ASSERT_TRUE(dm_.Siguiente_Registro());
    EXPECT_EQ(current(), ids_[2]);
    loaded_.clear();
    ASSERT_TRUE(dm_.Siguiente_Registro()); // skips 4 and 0
    EXPECT_EQ(current(), ids_[3]);
    EXPECT_THAT(loaded_, ElementsAre(ids_[3]));
    EXPECT_TRUE(state_.lastCard);

    // A list whose cards are all gone ends the review without moving.
    state_.pendingCards = {id(4), id(0)};
    state_.lastCard = false;
    loaded_.clear();
    EXPECT_FALSE(dm_.Siguiente_Registro());
    EXPECT_TRUE(state_.lastCard);
    EXPECT_TRUE(state_.pendingCards.isEmpty());
    EXPECT_TRUE(loaded_.empty());
    EXPECT_EQ(current(), ids_[3]);

    state_.lastCard = false;
    EXPECT_FALSE(dm_.Siguiente_Registro()); // an empty list too
    EXPECT_TRUE(state_.lastCard);
}

TEST_F(DataModuleTest, PostedCardIsOnDiskWhenPostReturns) {
    dm_.Tabla_Activa.first();
    dm_.Tabla_Activa.edit();
    dm_.Tabla_Activa.fieldByName("Clav_Fich").setString("guardada");
    dm_.Tabla_Activa.post();
    table::Table other;
    other.setFilter("Clav_Fich = 'guardada'");
    other.setFiltered(true);
    other.open(dir_.path(), "F.DB");
    EXPECT_EQ(other.recordCount(), 1);
}

TEST_F(DataModuleTest, PrintTableIsCreatedAndOpened) {
    dm_.Crea_Tabla_Imprime(dir_.path());
    ASSERT_TRUE(dm_.Imprime.isOpen());
    dm_.Imprime.append();
    dm_.Imprime.fieldByName("TEXT").setString("x");
    dm_.Imprime.post();
    dm_.Crea_Tabla_Imprime(dir_.path());
    EXPECT_TRUE(dm_.Imprime.isOpen());
    EXPECT_TRUE(dm_.Imprime.isEmpty());
}
