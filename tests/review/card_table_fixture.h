// A real card table in a temporary folder, with cards given by their schedule fields and, where a
// test needs them, their importance level and card key.
#pragma once

#include "platform/table/table.h"
#include "studyfile/card_table.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace review_test {

struct CardRow {
    int level = 1;
    QString lastReview;
    int total = 0;
    QString nextReview;
    int importance = 0; // 0 leaves Nive_Impo blank
    QString key;        // "" leaves Clav_Fich blank
};

class CardTableFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        studyfile::createCardTable(dir_.filePath("Curso.DB"));
        cards_.open(dir_.path(), "Curso.DB");
    }

    // Appends the cards and returns their AutoInc values.
    std::vector<qint64> addCards(const std::vector<CardRow>& rows) {
        std::vector<qint64> ids;
        for (const CardRow& r : rows) {
            cards_.append();
            cards_.fieldByName("Nive_Fich").setInteger(r.level);
            cards_.fieldByName("Fech_Ulti_Repa").setString(r.lastReview);
            cards_.fieldByName("Total_Repa").setInteger(r.total);
            cards_.fieldByName("Fech_Prox_Repa").setString(r.nextReview);
            if (r.importance != 0)
                cards_.fieldByName("Nive_Impo").setInteger(r.importance);
            cards_.fieldByName("Clav_Fich").setString(r.key);
            cards_.post();
            ids.push_back(cards_.fieldByName("AutoInc").asInteger());
        }
        return ids;
    }

    // AutoInc values of the cards a filter shows, in table order.
    std::vector<qint64> selected(const QString& filter) {
        cards_.setFilter(filter);
        cards_.setFiltered(true);
        std::vector<qint64> ids;
        for (cards_.first(); !cards_.eof(); cards_.next())
            ids.push_back(cards_.fieldByName("AutoInc").asInteger());
        return ids;
    }

    QTemporaryDir dir_;
    table::Table cards_;
};

} // namespace review_test
