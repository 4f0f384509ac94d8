// Group entry logic: the checks before storing and their order, storing all rows or none, and the
// group text file written and read.
#include "editing/group_entry.h"

#include "platform/table/table.h"
#include "platform/text_file.h"
#include "streams/qx_streams.h"
#include "studyfile/card_content.h"
#include "studyfile/card_table.h"

#include <QTemporaryDir>

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <stdexcept>

using editing::GroupProblem;
using editing::GroupRow;
using editing::GroupRows;
using editing::GroupShared;

namespace {

studyfile::DesignOptions keyAndImportance() {
    studyfile::DesignOptions d;
    d.cardKey = true;
    d.importanceLevel = true;
    d.questionSize = 60;
    return d;
}

GroupRows grid(std::initializer_list<GroupRow> first) {
    GroupRows rows(first);
    rows.resize(editing::kGroupRows);
    return rows;
}

const QString kNothing = QStringLiteral("\r\rNo se ha guardado ninguna ficha.");

} // namespace

TEST(GroupEntry, RowsInUse) {
    EXPECT_FALSE((GroupRow{"  ", " ", "clave", "3"}).inUse());
    EXPECT_TRUE((GroupRow{"", "r", "", ""}).inUse());
    EXPECT_TRUE((GroupRow{" p", "", "", ""}).inUse());
}

TEST(GroupEntry, LevelBoxFirst) {
    GroupShared shared;
    shared.level = " ";
    const auto p =
        editing::checkGroupRows(grid({{"q", "a", "", "1,5"}}), shared, keyAndImportance());
    ASSERT_TRUE(p);
    EXPECT_EQ(p->place, GroupProblem::Place::LevelBox);
    EXPECT_EQ(p->message, "Escriba el nivel de las fichas (de 0 a 9) en «Nivel en el fichero:».");
    shared.level = "0";
    EXPECT_FALSE(editing::checkGroupRows(grid({{"q", "a", "", ""}}), shared, keyAndImportance()));
}

TEST(GroupEntry, ImportanceOfTheCellOrTheSharedBox) {
    const GroupShared shared;
    auto p = editing::checkGroupRows(
        grid({{"q1", "a", "", "2"}, {"q2", "a", "", ""}, {"q3", "a", "", "1,5"}}), shared,
        keyAndImportance());
    ASSERT_TRUE(p);
    EXPECT_EQ(p->place, GroupProblem::Place::Cell);
    EXPECT_EQ(p->row, 2);
    EXPECT_EQ(p->column, editing::kImportanceColumn);
    EXPECT_EQ(p->message, "Fila 3: el nivel de importancia «1,5» no es un número entero entre "
                          "-32768 y 32767." +
                              kNothing);

    GroupShared badShared;
    badShared.importance = "x";
    p = editing::checkGroupRows(grid({{"q1", "a", "", "2"}, {"q2", "a", "", ""}}), badShared,
                                keyAndImportance());
    ASSERT_TRUE(p);
    EXPECT_EQ(p->place, GroupProblem::Place::SharedImportance);
    EXPECT_EQ(p->row, 1);

    // Importance not used: nothing is checked.
    studyfile::DesignOptions d = keyAndImportance();
    d.importanceLevel = false;
    EXPECT_FALSE(editing::checkGroupRows(grid({{"q", "a", "", "1,5"}}), badShared, d));
}

TEST(GroupEntry, QuestionAndKeyLengthsAsTheTableCountsThem) {
    const GroupShared shared;
    const QString q60(60, u'é');
    EXPECT_FALSE(editing::checkGroupRows(grid({{q60, "a", QString(15, u'k'), ""}}), shared,
                                         keyAndImportance()));
    auto p = editing::checkGroupRows(grid({{q60 + "x", "a", "", ""}}), shared, keyAndImportance());
    ASSERT_TRUE(p);
    EXPECT_EQ(p->column, editing::kQuestionColumn);
    EXPECT_EQ(p->message,
              "Fila 1: la pregunta tiene 61 caracteres y en este Fichero de Estudio caben 60." +
                  kNothing);

    p = editing::checkGroupRows(grid({{"q", "a", QString(16, u'k'), ""}}), shared,
                                keyAndImportance());
    ASSERT_TRUE(p);
    EXPECT_EQ(p->column, editing::kKeyColumn);
    EXPECT_EQ(p->message, "Fila 1: la clave tiene 16 caracteres y caben 15." + kNothing);

    GroupShared longKey;
    longKey.cardKey = QString(20, u'k');
    p = editing::checkGroupRows(grid({{"q", "a", "propia", ""}, {"q", "a", "", ""}}), longKey,
                                keyAndImportance());
    ASSERT_TRUE(p);
    EXPECT_EQ(p->place, GroupProblem::Place::SharedKey);
    EXPECT_EQ(p->row, 1);

    // Key not used: not checked.
    studyfile::DesignOptions d = keyAndImportance();
    d.cardKey = false;
    EXPECT_FALSE(editing::checkGroupRows(grid({{"q", "a", QString(16, u'k'), ""}}), shared, d));
}

TEST(GroupEntry, FirstProblemInRowOrderRowsNotInUseSkipped) {
    const GroupShared shared;
    const auto p = editing::checkGroupRows(grid({{"", "", QString(30, u'k'), "x"},
                                                 {QString(61, u'q'), "a", "", ""},
                                                 {"q", "a", "", "x"}}),
                                           shared, keyAndImportance());
    ASSERT_TRUE(p);
    EXPECT_EQ(p->row, 1);
    EXPECT_EQ(p->column, editing::kQuestionColumn);
}

TEST(GroupEntry, CardOfARow) {
    GroupShared shared;
    shared.level = "4";
    shared.cardKey = "tema1";
    shared.importance = "3";
    const studyfile::DesignOptions d = keyAndImportance();
    studyfile::ListedCard c = editing::groupCard({" q", "a", "tema2", " 7 "}, shared, d);
    EXPECT_EQ(c.level, 4);
    EXPECT_EQ(c.cardKey, "tema2");
    EXPECT_EQ(c.importance, 7);
    EXPECT_EQ(c.question, " q");
    c = editing::groupCard({"q", "a", "  ", ""}, shared, d);
    EXPECT_EQ(c.cardKey, "tema1");
    EXPECT_EQ(c.importance, 3);
    c = editing::groupCard({"q", "a", "", ""}, GroupShared{"1", " ", ""}, d);
    EXPECT_EQ(c.cardKey, "");
    EXPECT_FALSE(c.importance);
}

TEST(GroupEntry, FileLines) {
    GroupShared shared;
    shared.cardKey = "tema";
    shared.importance = "3";
    const GroupRows rows =
        grid({{" p1", "r1 ", "", ""}, {"", "", "solo clave", "9"}, {"", "r3", "k3", "12345"}});
    editing::GroupFileText text = editing::groupFileLines(rows, shared);
    EXPECT_FALSE(text.problem);
    EXPECT_EQ(text.lines, (QStringList{" p1&r1 &tema&3   ", "&r3&k3&12345"}));
    shared.importance.clear();
    text = editing::groupFileLines(rows, shared);
    EXPECT_EQ(text.lines.first(), " p1&r1 &tema&    ");
    EXPECT_TRUE(editing::groupFileLines(grid({}), shared).lines.isEmpty());
}

TEST(GroupEntry, AnAmpersandRefusesTheFile) {
    const GroupShared shared;
    const QString message = QStringLiteral(
        "Fila 2: el carácter & no puede ir en el archivo, porque separa los datos de cada ficha."
        "\r\rNo se ha guardado el archivo.");
    for (int column = 0; column < 4; ++column) {
        GroupRow bad{"q", "a", "k", "1"};
        QString* cells[] = {&bad.question, &bad.answer, &bad.key, &bad.importance};
        *cells[column] = "AT&T";
        const editing::GroupFileText text =
            editing::groupFileLines(grid({{"q", "a", "", ""}, bad}), shared);
        EXPECT_TRUE(text.lines.isEmpty());
        ASSERT_TRUE(text.problem);
        EXPECT_EQ(text.problem->message, message);
        EXPECT_EQ(text.problem->row, 1);
        EXPECT_EQ(text.problem->column, column);
    }
    GroupShared ampersandKey;
    ampersandKey.cardKey = "a&b";
    const editing::GroupFileText text =
        editing::groupFileLines(grid({{"q", "a", "k", ""}, {"q", "a", "", ""}}), ampersandKey);
    ASSERT_TRUE(text.problem);
    EXPECT_EQ(text.problem->place, GroupProblem::Place::SharedKey);
}

TEST(GroupEntry, WrittenAndReadBack) {
    QTemporaryDir dir;
    const QString path = dir.filePath("g.txt");
    const GroupRows rows =
        grid({{" ¿Qué?", "€uro ", "k", "-3"}, {"q", "", "", ""}, {"", "", "", ""}});
    const editing::GroupFileText text = editing::groupFileLines(rows, GroupShared{});
    editing::writeGroupFile(path, text.lines);
    const editing::GroupFileRows read = editing::readGroupFile(path);
    EXPECT_EQ(read.lineCount, 2);
    ASSERT_EQ(read.rows.size(), 2u);
    EXPECT_EQ(read.rows[0], rows[0]);
    EXPECT_EQ(read.rows[1], (GroupRow{"q", "", "", "    "}));
}

TEST(GroupEntry, AtMost98LinesAreRows) {
    QStringList lines;
    for (int i = 1; i <= 100; ++i)
        lines << QStringLiteral("q%1&a%1&&").arg(i);
    const editing::GroupFileRows read = editing::groupRowsFromLines(lines);
    EXPECT_EQ(read.lineCount, 100);
    EXPECT_TRUE(read.tooManyLines());
    ASSERT_EQ(read.rows.size(), 98u);
    EXPECT_EQ(read.rows[97].question, "q98");
    EXPECT_EQ(editing::groupTooManyLinesMessage(100),
              "El archivo tiene 100 líneas y solo caben 98 fichas: se han leído las 98 "
              "primeras.");
}

class GroupStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        studyfile::createCardTable(dir.filePath("C.DB"));
        cards.open(dir.path(), "C.DB");
        cards.setFilter(studyfile::kBaseFilter);
        cards.setFiltered(true);
        cards.afterScroll = [this] { ++scrolls; };
        design = keyAndImportance();
        design.compressed = true;
        design.enciphered = true;
        studyfile::configureContentContainer(qxs, design, "clave");
    }
    int count() const { return cards.countMatching(QString()); }
    // Inserting a card with this question fails inside the database.
    void stopInsertsOf(const char* question) {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(dir.filePath("C.DB").toUtf8().constData(), &db), SQLITE_OK);
        const QByteArray sql = QByteArray("CREATE TRIGGER stop BEFORE INSERT ON data WHEN "
                                          "NEW.\"Preg_Text\" = '") +
                               question + "' BEGIN SELECT RAISE(ABORT, 'stop'); END;";
        ASSERT_EQ(sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    }

    QTemporaryDir dir;
    table::Table cards;
    streams::TQXStreams qxs;
    studyfile::DesignOptions design;
    int scrolls = 0;
};

TEST_F(GroupStoreTest, StoresEveryRowInUseWithOneScrollEvent) {
    GroupShared shared;
    shared.cardKey = "tema1";
    std::vector<int> posted;
    const int stored = editing::storeGroupRows(
        cards, qxs, design, true,
        grid({{"q1", "a1", "tema2", "5"}, {}, {"", "solo respuesta", "", ""}, {"q4", "", "", ""}}),
        shared, "20240305", studyfile::defaultFontStyle(),
        [&posted](int row) { posted.push_back(row); });
    EXPECT_EQ(stored, 3);
    EXPECT_EQ(posted, (std::vector<int>{0, 2, 3}));
    EXPECT_EQ(scrolls, 1);
    EXPECT_EQ(count(), 3);
    EXPECT_EQ(cards.countMatching("Clav_Fich = 'tema2' and Nive_Impo = 5"), 1);
    EXPECT_EQ(cards.countMatching("Clav_Fich = 'tema1' and Ficha_Comp_Encr = 'S'"), 2);
}

TEST_F(GroupStoreTest, ARefusedRowStoresNothing) {
    try {
        editing::storeGroupRows(cards, qxs, design, true,
                                grid({{"q1", "a", "", "1"}, {"q2", "a", "", "1,5"}}), GroupShared{},
                                "20240305", studyfile::defaultFontStyle());
        ADD_FAILURE() << "stored";
    } catch (const editing::GroupRefused& e) {
        EXPECT_EQ(e.problem().row, 1);
    }
    EXPECT_EQ(count(), 0);
}

// An error in the middle of the loop: the cards posted before it stay, and only their rows are
// told.
TEST_F(GroupStoreTest, CardsPostedBeforeAnErrorStay) {
    stopInsertsOf("boom");
    std::vector<int> posted;
    EXPECT_THROW(
        editing::storeGroupRows(cards, qxs, design, true,
                                grid({{"q1", "a"}, {"q2", "a"}, {"boom", "a"}, {"q4", "a"}}),
                                GroupShared{}, "20240305", studyfile::defaultFontStyle(),
                                [&posted](int row) { posted.push_back(row); }),
        table::EngineError);
    EXPECT_EQ(posted, (std::vector<int>{0, 1}));
    EXPECT_EQ(cards.state(), table::Table::State::Browse);
    table::Table other;
    other.open(dir.path(), "C.DB");
    EXPECT_EQ(other.countMatching(QString()), 2);
}

// A commit that fails (another program holds the file) stores nothing, and no row is told: the
// screen keeps every typed row.
TEST_F(GroupStoreTest, AFailedCommitTellsNoRow) {
    sqlite3* reader = nullptr;
    ASSERT_EQ(sqlite3_open(dir.filePath("C.DB").toUtf8().constData(), &reader), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(reader, "BEGIN; SELECT count(*) FROM data;", nullptr, nullptr, nullptr),
              SQLITE_OK);
    std::vector<int> posted;
    EXPECT_THROW(editing::storeGroupRows(cards, qxs, design, true, grid({{"q1", "a"}, {"q2", "a"}}),
                                         GroupShared{}, "20240305", studyfile::defaultFontStyle(),
                                         [&posted](int row) { posted.push_back(row); }),
                 table::EngineError);
    sqlite3_exec(reader, "COMMIT;", nullptr, nullptr, nullptr);
    sqlite3_close(reader);
    EXPECT_TRUE(posted.empty());
    table::Table other;
    other.open(dir.path(), "C.DB");
    EXPECT_EQ(other.countMatching(QString()), 0);
}
