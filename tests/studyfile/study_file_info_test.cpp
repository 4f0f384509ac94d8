// The information numbers and texts: the level lines, the counts of a small card table (beside
// the cursor: filter, current card and scroll events untouched) and every text of the screen.
#include "studyfile/study_file_info.h"

#include "platform/table/table.h"
#include "studyfile/card_table.h"

#include <QTemporaryDir>
#include <QVariant>

#include <gtest/gtest.h>

#include <optional>

using studyfile::StudyFileCounts;

namespace {

struct LevelLineCase {
    qint64 count;
    qint64 total;
    int percentage;
    int letters; // -1: one space instead of a bar
};

// Two rounding cases tell exact arithmetic from floating point: 23 of 40 is exactly 57.5 (to the
// even neighbour 58, where 23.0 / 40 * 100 gives 57.49...), 109 of 200 is exactly 54.5 (54).
const LevelLineCase kLevelLines[] = {
    {0, 0, 0, -1},  {3, 4, 75, 63}, {23, 40, 58, 49}, {109, 200, 54, 45},
    {1, 8, 12, 10}, {3, 8, 38, 32}, {1, 300, 0, 0},   {5, 5, 100, 84},
};

TEST(StudyFileInfo, LevelLines) {
    for (const LevelLineCase& c : kLevelLines) {
        SCOPED_TRACE(QStringLiteral("%1 of %2").arg(c.count).arg(c.total).toStdString());
        EXPECT_EQ(studyfile::levelPercentage(c.count, c.total), c.percentage);
        const QString bar = c.letters < 0 ? QStringLiteral(" ") : QString(c.letters, u'l');
        EXPECT_EQ(studyfile::levelBar(c.count, c.total), bar);
        EXPECT_EQ(studyfile::levelLine(2, c.count, c.total),
                  QStringLiteral("Nivel 2: ") + bar + QStringLiteral("   ") +
                      QString::number(c.count) + QStringLiteral("      (") +
                      QString::number(c.percentage) + QStringLiteral(" %)"));
    }
    // Written out whole, spaces included.
    EXPECT_EQ(studyfile::levelLine(3, 3, 4),
              QStringLiteral("Nivel 3: ") + QString(63, u'l') + QStringLiteral("   3      (75 %)"));
    EXPECT_EQ(studyfile::levelLine(4, 23, 40), QStringLiteral("Nivel 4: ") + QString(49, u'l') +
                                                   QStringLiteral("   23      (58 %)"));
    EXPECT_EQ(studyfile::levelLine(5, 109, 200), QStringLiteral("Nivel 5: ") + QString(45, u'l') +
                                                     QStringLiteral("   109      (54 %)"));
    EXPECT_EQ(studyfile::levelLine(1, 1, 300), "Nivel 1:    1      (0 %)");
    EXPECT_EQ(studyfile::levelLine(6, 0, 0), "Nivel 6:     0      (0 %)");
    EXPECT_EQ(studyfile::levelLine(0, 1, 8), "Nivel 0: llllllllll   1      (12 %)");
    // Large tables stay exact.
    EXPECT_EQ(studyfile::levelPercentage(50'000'001, 100'000'000), 50);
    EXPECT_EQ(studyfile::levelPercentage(1'000'000'000, 1'000'000'000), 100);
}

struct CardRow {
    int level;
    std::optional<int> reviews; // nullopt: blank
    QString state;
};

// Levels 0, 1, 1, 1, 7 and 9; one Total_Repa blank; states "S", "N" and one "SI".
const CardRow kSmallTable[] = {
    {0, 2, "S"}, {1, 5, "N"}, {1, std::nullopt, "SI"}, {1, 1, "S"}, {7, 3, "N"}, {9, 4, "S"},
};

class StudyFileCountsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        path_ = dir_.filePath("Curso.DB");
        studyfile::createCardTable(path_);
        table::Table t;
        t.setTableName(path_);
        t.open();
        for (const CardRow& r : kSmallTable) {
            t.append();
            t.fieldByName("Nive_Fich").setInteger(r.level);
            t.fieldByName("Preg_Text").setString(QStringLiteral("P%1").arg(r.level));
            if (r.reviews)
                t.fieldByName("Total_Repa").setInteger(*r.reviews);
            t.fieldByName("Ficha_Comp_Encr").setString(r.state);
            t.post();
        }
    }

    // The card table as the program keeps it: behind a filter, on its second visible card, its
    // scroll events counted (they run the content loader).
    void openBehind(const QString& filter) {
        cards_.afterScroll = nullptr;
        cards_.beforeScroll = nullptr;
        cards_.setTableName(path_);
        cards_.setFilter(filter);
        cards_.setFiltered(true);
        cards_.open();
        cards_.next();
        cards_.afterScroll = [this] { ++loads_; };
        cards_.beforeScroll = [this] { ++loads_; };
        loads_ = 0;
    }

    QTemporaryDir dir_;
    QString path_;
    table::Table cards_;
    int loads_ = 0;
};

TEST_F(StudyFileCountsTest, CountsEveryCardBesideTheCursor) {
    for (const QString& filter :
         {studyfile::kBaseFilter, QStringLiteral(" (Nive_fich <> 0 ) and (Nive_Fich = 1)")}) {
        SCOPED_TRACE(filter.toStdString());
        openBehind(filter);
        const qint64 current = cards_.bookmark();
        const int visible = cards_.recordCount();
        const quint64 generation = cards_.viewGeneration();

        StudyFileCounts expected;
        expected.total = 6;
        expected.level0 = 1;     // parked cards count, although the filter hides them
        expected.packed = 2 + 1; // the "SI" card is in neither row
        expected.plain = 2;
        expected.reviews = 15;                   // the blank counts 0
        expected.levels = {1, 3, 0, 0, 0, 0, 2}; // levels 7 and 9 count as "6 or more"
        EXPECT_EQ(studyfile::countStudyFile(cards_, true), expected);

        // Without packed content every card is plain and none packed.
        expected.packed = 0;
        expected.plain = 6;
        EXPECT_EQ(studyfile::countStudyFile(cards_, false), expected);

        EXPECT_EQ(cards_.filter(), filter);
        EXPECT_TRUE(cards_.filtered());
        EXPECT_EQ(cards_.bookmark(), current);
        EXPECT_EQ(cards_.recordCount(), visible);
        EXPECT_EQ(cards_.viewGeneration(), generation);
        EXPECT_EQ(loads_, 0) << "no scroll event, so no card was loaded";
        cards_.close();
    }
}

TEST_F(StudyFileCountsTest, AClosedTableIsAnEngineError) {
    EXPECT_THROW(studyfile::countStudyFile(cards_, false), table::EngineError);
}

TEST(StudyFileInfo, ScreenTextsInTheirOrder) {
    studyfile::DesignOptions design;
    design.questionSize = 100;
    design.shortAnswerSize = 0;
    design.longAnswerText = true;
    design.answerImage = true;
    design.importanceLevel = true;
    design.cardKey = false;
    design.compressed = true;
    design.enciphered = true;
    design.printable = false;
    design.exportable = false; // each permission on its own row
    design.questionImage = true;
    StudyFileCounts counts;
    counts.total = 6;
    counts.level0 = 1;
    counts.packed = 3;
    counts.plain = 2;
    counts.reviews = 15;
    counts.levels = {1, 3, 0, 0, 0, 0, 2};

    const QStringList texts = studyfile::infoScreenTexts("Capitales", design, counts);
    const QStringList expected = {
        " Nombre del Fichero:    Capitales",
        " Tamaño de la Pregunta: ",
        " 100",
        " Imagen en la Pregunta:",
        " SI",
        " Tamaño de la Respuesta:",
        " NO",
        " Imagen en la Respuesta:",
        " SI",
        " Texto Largo en Respuesta:",
        " SI",
        "",
        "",
        " Nivel de Importancia:",
        " SI",
        " Clave para Seleccionar:",
        " NO",
        "",
        "",
        " Comprimido:",
        " SI",
        " Con Contraseña:",
        " SI",
        "",
        "",
        " Puede ser Exportado:",
        " NO",
        " Modificar o Borrar Fichas:",
        " SI",
        " Puede ser Imprimido:",
        " NO",
        "",
        "",
        " Nº total de Fichas:",
        " 6",
        " Fichas en Nivel 0:",
        " 1",
        " Con Compresión/Contraseña:",
        " 3",
        " Sin Comprimir ni Contraseña:",
        " 2",
        " Las fichas de este fichero se han repasado un total de 15 veces.  ",
        " Nº de Fichas en cada Nivel:    ( Total: 6 fichas ) ",
        "Nivel 0: " + QString(15, u'l') + "   1      (17 %)",
        "Nivel 1: " + QString(42, u'l') + "   3      (50 %)",
        "Nivel 2:     0      (0 %)",
        "Nivel 3:     0      (0 %)",
        "Nivel 4:     0      (0 %)",
        "Nivel 5:     0      (0 %)",
        "Nivel 6: " + QString(28, u'l') + "   2      (33 %)",
    };
    ASSERT_EQ(texts.size(), studyfile::info_text::kCount);
    for (int i = 0; i < expected.size(); ++i)
        EXPECT_EQ(texts[i], expected[i]) << "text " << i;
    EXPECT_EQ(texts[studyfile::info_text::grid(16, 1)], " 6");
    EXPECT_EQ(texts[studyfile::info_text::kFirstLevelLine], expected[43]);

    // The short answer size is its number when there is one.
    design.shortAnswerSize = 30;
    EXPECT_EQ(studyfile::infoScreenTexts("x", design, counts)[studyfile::info_text::grid(2, 1)],
              " 30");
}

TEST(StudyFileInfo, FrameTitleIsBuiltFromTheDesignCaption) {
    EXPECT_EQ(studyfile::levelsFrameTitle(studyfile::kLevelsFrameCaption, 0),
              " Nº de Fichas en cada Nivel:    ( Total: 0 fichas ) ");
    EXPECT_EQ(studyfile::levelsFrameTitle("A", 100000), "A  ( Total: 100000 fichas ) ");
}

} // namespace
