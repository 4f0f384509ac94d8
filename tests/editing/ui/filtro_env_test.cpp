// The card selection screen through the main screen's entry 7 and the review selection's
// "Seleccionar" button, driven by the scripted Ui: selecting, deleting, modifying through the card
// editor, selector mode and its three ways out, the checks of the rows, and the grid's laziness.
#include "support/layout_check.h"
#include "support/screen_fixture.h"

#include "support/card_rows.h"

#include "app/date_box_edit.h"
#include "editing/selection_filter.h"
#include "editing/ui/alta_fichas.h"
#include "editing/ui/filtro_env.h"
#include "editing/ui/modif_glob.h"
#include "platform/ui/help_window.h"
#include "review/ui/repasar.h"
#include "review/ui/selecc_repaso.h"
#include "studyfile/card_grid_model.h"
#include "studyfile/card_table.h"
#include "studyfile/design_record.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

#include <algorithm>
#include <functional>
#include <iterator>
#include <map>
#include <set>

using review_test::Card;

// Test failures show texts as texts.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

const QString kConfirmMarked = QStringLiteral("¿Seguro que quiere borrar las FICHAS MARCADAS?");
const QString kConfirmAll = QStringLiteral("¿Seguro que quiere BORRAR las TODAS LAS FICHAS?");
const QString kMarkedKept = QStringLiteral("NO se han borrado las Fichas Marcadas");
const QString kNoneDeleted = QStringLiteral("No se ha borrado ninguna ficha");
const QString kSelectionReset =
    QStringLiteral("Si hay una condición de selección, activela pulsando SELECCION");
const QString kSelection = QStringLiteral("Clav_Fich='verbos*' and  (Nive_fich <> 0 ) ");

// Ten cards: two at level 0, keys "verbos", "nombres" and blank, levels 1 to 3. Level >= 2 with a
// key beginning "verb" chooses D and E.
const std::vector<Card> kCourse = {
    {"A", "r", 0, "", 0, "", "verbos"},  {"B", "r", 0, "", 0, "", ""},
    {"C", "r", 1, "", 0, "", "verbos"},  {"D", "r", 2, "", 0, "", "verbos"},
    {"E", "r", 3, "", 0, "", "verbos"},  {"F", "r", 2, "", 0, "", "nombres"},
    {"G", "r", 3, "", 0, "", "nombres"}, {"H", "r", 1, "", 0, "", ""},
    {"I", "r", 2, "", 0, "", ""},        {"J", "r", 3, "", 0, "", "nombres"},
};

TFILTRO_ENV& asSelection(QDialog& d) {
    return static_cast<TFILTRO_ENV&>(d);
}

void showActive(QDialog& d) {
    d.show();
    d.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&d));
}

// Row 1 "Nivel de la Ficha" "Mayor o Igual Que" 2; row 2 "Y" "Clave de la Ficha" "Igual a" verb.
void levelAndKeyRows(TFILTRO_ENV& s) {
    s.fieldCombos[0]->setCurrentIndex(editing::kLevelField);
    s.operatorCombos[0]->setCurrentIndex(editing::kGreaterOrEqualOperator);
    s.valueBoxes[0]->setText("2");
    s.addingBoxes[0]->setChecked(true);
    s.connectorCombos[1]->setCurrentIndex(editing::kAndConnector);
    s.fieldCombos[1]->setCurrentIndex(editing::kKeyField);
    s.operatorCombos[1]->setCurrentIndex(0);
    s.valueBoxes[1]->setText("verb");
}

std::vector<int> markedRows(const TFILTRO_ENV& s) {
    std::vector<int> rows;
    for (const QModelIndex& index : s.DBGrid1->selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void mark(TFILTRO_ENV& s, std::initializer_list<int> rows) {
    QItemSelectionModel* selection = s.DBGrid1->selectionModel();
    selection->clearSelection();
    for (int row : rows)
        selection->select(s.gridModel().index(row, 0),
                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
    selection->setCurrentIndex(s.gridModel().index(*rows.begin(), 0),
                               QItemSelectionModel::NoUpdate);
}

} // namespace

class SelectionScreenTest : public review_test::ScreenTest {
protected:
    void openCourse(const studyfile::DesignOptions& design = {}) {
        startWith(makeStudyFile("Curso", kCourse, design));
    }

    card_rows::Rows rows() const { return card_rows::read(dat("Curso.DB")); }

    std::set<QString> questionsOnDisk() const {
        std::set<QString> out;
        for (const auto& [key, row] : rows())
            out.insert(QString::fromUtf8(row.at("Preg_Text")));
        return out;
    }

    QString questionOf(qint64 key) const {
        return QString::fromUtf8(rows().at(key).at("Preg_Text"));
    }

    // Entry 7 with a script for the screen.
    void runEntry7(std::function<void(TFILTRO_ENV&)> script) {
        ui.queueScreen("TFILTRO_ENV", [script](QDialog& d) {
            script(asSelection(d));
            return d.result();
        });
        main().Label10Click();
    }

    TFILTRO_ENV& screen() { return program->filtro_Env(); }
    QString currentQuestion() { return cards().fieldByName("Preg_Text").asString(); }
};

// Every control named as the program names it, the combos with their items and first texts.
TEST_F(SelectionScreenTest, ControlsCarryTheirNames) {
    start();
    TFILTRO_ENV& s = screen();
    const QStringList fieldCombos = {"ComboBox1",  "ComboBox4",  "ComboBox7",
                                     "ComboBox10", "ComboBox13", "ComboBox16"};
    const QStringList operatorCombos = {"ComboBox2",  "ComboBox5",  "ComboBox8",
                                        "ComboBox11", "ComboBox14", "ComboBox17"};
    const QStringList connectorCombos = {"",          "ComboBox3",  "ComboBox6",
                                         "ComboBox9", "ComboBox12", "ComboBox15"};
    for (int row = 0; row < TFILTRO_ENV::kRows; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(s.findChild<QComboBox*>(fieldCombos[row]), s.fieldCombos[row]);
        EXPECT_EQ(s.fieldCombos[row]->currentText(), "Nivel de la Ficha");
        EXPECT_EQ(s.findChild<QComboBox*>(operatorCombos[row]), s.operatorCombos[row]);
        EXPECT_EQ(s.operatorCombos[row]->currentIndex(), -1);
        EXPECT_EQ(s.operatorCombos[row]->placeholderText(), "Igual Que");
        EXPECT_FALSE(s.operatorCombos[row]->isEditable());
        if (row > 0) {
            EXPECT_EQ(s.findChild<QComboBox*>(connectorCombos[row]), s.connectorCombos[row]);
            EXPECT_EQ(s.connectorCombos[row]->currentText(), "O");
        }
        EXPECT_EQ(s.findChild<QLineEdit*>(QStringLiteral("Edit%1").arg(row + 1)),
                  s.valueBoxes[row]);
        EXPECT_EQ(s.findChild<DateBoxEdit*>(QStringLiteral("MaskEdit%1").arg(row + 1)),
                  s.dateBoxes[row]);
        if (row < TFILTRO_ENV::kRows - 1) {
            QCheckBox* adding = s.findChild<QCheckBox*>(QStringLiteral("CheckBox%1").arg(row + 1));
            EXPECT_EQ(adding, s.addingBoxes[row]);
            EXPECT_EQ(adding->text(), QStringLiteral("Añadir %1º Condición").arg(row + 2));
        }
    }
    const std::map<QString, QString> buttons = {
        {"Button1", " &Salir"},
        {"Button2", "  S&elección"},
        {"Button3", "&Ayuda"},
        {"Button4", "  &Quitar Selección"},
        {"Button5", "Borrar &Todas las Fichas"},
        {"Button6", "&Borrar Fichas Marcadas"},
        {"Button7", "Mo&dificar Fichas"},
    };
    for (const auto& [name, caption] : buttons)
        EXPECT_EQ(s.findChild<QPushButton*>(name)->text(), caption) << name.toStdString();
    EXPECT_EQ(s.DBGrid1->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(s.DBGrid1->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(s.DBGrid1->editTriggers(), QAbstractItemView::NoEditTriggers);

    // "&Ayuda" shows the help page of the card selection.
    s.Button3->click();
    ASSERT_NE(program->helpWindow(), nullptr);
    EXPECT_EQ(program->helpWindow()->currentContext(), 15);
}

// Ticking the adding boxes shows the rows one by one; clearing the first removes every row after
// it, and the rows in use are row 1 alone.
TEST_F(SelectionScreenTest, AddingBoxesCascade) {
    start();
    TFILTRO_ENV& s = screen();
    for (int row = 1; row < TFILTRO_ENV::kRows; ++row)
        EXPECT_FALSE(s.fieldCombos[row]->isVisibleTo(&s)) << row;
    for (int row = 0; row < TFILTRO_ENV::kRows - 1; ++row) {
        EXPECT_TRUE(s.addingBoxes[row]->isVisibleTo(&s)) << row;
        s.addingBoxes[row]->setChecked(true);
        EXPECT_TRUE(s.fieldCombos[row + 1]->isVisibleTo(&s)) << row;
        EXPECT_TRUE(s.valueBoxes[row + 1]->isVisibleTo(&s)) << row;
    }
    EXPECT_EQ(s.conditionRows().size(), 6u);
    s.addingBoxes[0]->setChecked(false);
    for (int row = 1; row < TFILTRO_ENV::kRows; ++row) {
        SCOPED_TRACE(row);
        EXPECT_FALSE(s.fieldCombos[row]->isVisibleTo(&s));
        EXPECT_FALSE(s.valueBoxes[row]->isVisibleTo(&s));
        EXPECT_FALSE(s.connectorCombos[row]->isEnabled());
        if (row < TFILTRO_ENV::kRows - 1) {
            EXPECT_FALSE(s.addingBoxes[row]->isChecked());
        }
    }
    EXPECT_EQ(s.conditionRows().size(), 1u);
}

// Steps 1 to 4 of a learner's work: select, delete the marked card, decline deleting all, and
// modify a card through the editor's navigator.
TEST_F(SelectionScreenTest, SelectDeleteAndModifyEndToEnd) {
    openCourse();
    runEntry7([&](TFILTRO_ENV& s) {
        EXPECT_TRUE(s.Button7->isEnabled());
        // 1. The selection.
        levelAndKeyRows(s);
        s.Button2->click();
        EXPECT_EQ(ui.messages(), QStringList());
        EXPECT_EQ(s.Label5->text(), " Fichas en uso: 2 ");
        EXPECT_EQ(s.Label6->text(), " Fichas Nivel 0: 2 ");
        EXPECT_EQ(s.gridModel().rowCount(), 2);
        const review::SelectionState& sel = program->state().selection;
        EXPECT_EQ(cards().filter(), "Nive_Fich>=2 AND Clav_Fich='verb*' and  (Nive_fich <> 0 ) ");
        EXPECT_EQ(sel.selectionFilter, cards().filter());
        EXPECT_EQ(sel.savedSelectionFilter, cards().filter());
        EXPECT_TRUE(sel.selectionActive);
        std::set<QString> shown;
        for (int row = 0; row < 2; ++row)
            shown.insert(s.gridModel().data(s.gridModel().index(row, 3)).toString());
        EXPECT_EQ(shown, (std::set<QString>{"D", "E"}));

        // 2. One card marked and deleted: gone on disk, the others stay.
        mark(s, {1});
        const QString deleted = questionOf(s.gridModel().keyAt(1));
        ui.queueConfirm(true);
        s.Button6->click();
        EXPECT_EQ(ui.confirmations(), QStringList{kConfirmMarked});
        EXPECT_EQ(ui.messages(), QStringList());
        std::set<QString> expected = {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J"};
        expected.erase(deleted);
        EXPECT_EQ(questionsOnDisk(), expected);
        EXPECT_EQ(s.Label5->text(), " Fichas en uso: 1 ");
        EXPECT_EQ(s.gridModel().rowCount(), 1);

        // 3. Deleting all declined: nothing deleted.
        ui.clearRecords();
        ui.queueConfirm(false);
        s.Button5->click();
        EXPECT_EQ(ui.confirmations(), QStringList{kConfirmAll});
        EXPECT_EQ(ui.messages(), QStringList{kNoneDeleted});
        EXPECT_EQ(questionsOnDisk(), expected);

        // 4. Modify: the editor opens on the grid's current card; it steps twice with its
        // navigator and closes; the grid lands on the card it showed.
        s.Button4->click();
        ASSERT_EQ(s.gridModel().rowCount(), 7);
        s.DBGrid1->setCurrentIndex(s.gridModel().index(1, 0));
        cards().first();
        const qint64 opened = s.gridModel().keyAt(1);
        ui.clearRecords();
        qint64 edited = 0;
        ui.queueScreen("TAlta_Fichas_", [&](QDialog& d) {
            auto& e = static_cast<TAlta_Fichas_&>(d);
            EXPECT_EQ(cards().fieldByName("AutoInc").asInteger(), opened);
            e.nbNextClick();
            e.nbNextClick();
            edited = cards().fieldByName("AutoInc").asInteger();
            e.Button1Click();
            return d.result();
        });
        s.Button7->click();
        EXPECT_EQ(ui.screens(), QStringList{"TAlta_Fichas_"});
        ASSERT_NE(edited, opened);
        EXPECT_EQ(program->state().lastEditedCard, edited);
        EXPECT_EQ(s.DBGrid1->currentIndex().row(), s.gridModel().rowOfKey(edited));
        EXPECT_EQ(s.DBGrid1->currentIndex().row(), 3);
        // The row clicked before stays marked; the grid's following marks nothing.
        EXPECT_EQ(markedRows(s), std::vector<int>{1});

        // The selection once more, for the global modification.
        levelAndKeyRows(s);
        s.Button2->click();
        EXPECT_EQ(s.gridModel().rowCount(), 1);
        s.Button1->click();
    });

    // 5. Entry D changes the selected card only; the parked cards stay as they were and no card
    // keeps a mark.
    const card_rows::Rows before = rows();
    ui.clearRecords();
    ui.queueScreen("TModif_glob_", [this](QDialog& d) {
        TModif_glob_& g = program->modif_glob();
        if (!g.CheckBox1->isChecked())
            g.CheckBox1->click();
        g.MaskEdit1->setText("3");
        g.BitBtn2->click();
        g.Button1->click();
        return d.result();
    });
    main().Label19Click();
    EXPECT_EQ(ui.messages(), QStringList{" LA MODIFICACIÓN GLOBAL SE HA COMPLETADO "});
    const card_rows::Rows after = rows();
    std::set<QString> changed;
    for (const auto& [key, row] : after) {
        EXPECT_NE(row.at("Camp_Logi"), "true");
        if (row != before.at(key)) {
            changed.insert(QString::fromUtf8(row.at("Preg_Text")));
            EXPECT_EQ(row.at("Nive_Fich"), "3");
        }
        if (before.at(key).at("Nive_Fich") == "0") {
            EXPECT_EQ(row, before.at(key));
        }
    }
    EXPECT_EQ(changed.size(), 1u);
}

// Only the rows the learner marks are deleted: the row the grid follows the table to is current,
// not marked, when the screen opens and after a delete.
TEST_F(SelectionScreenTest, OnlyTheRowsTheLearnerMarksAreDeleted) {
    openCourse();
    runEntry7([&](TFILTRO_ENV& s) {
        EXPECT_TRUE(markedRows(s).empty());
        const int before = s.gridModel().rowCount();
        // Ctrl+click on row 3: it joins whatever is highlighted.
        s.DBGrid1->selectionModel()->select(
            s.gridModel().index(3, 0), QItemSelectionModel::Toggle | QItemSelectionModel::Rows);
        const QString chosen = questionOf(s.gridModel().keyAt(3));
        ui.queueConfirm(true);
        s.Button6->click();
        EXPECT_EQ(s.gridModel().rowCount(), before - 1);
        EXPECT_EQ(questionsOnDisk().count(chosen), 0u);
        EXPECT_TRUE(markedRows(s).empty());
        s.Button1->click();
    });
}

// Marks made with the mouse: a click marks one row, Ctrl+click adds a row, Shift+click a range
// from the last row clicked; a delete takes exactly those cards.
TEST_F(SelectionScreenTest, MouseClicksMarkTheRowsThatAreDeleted) {
    openCourse();
    runEntry7([&](TFILTRO_ENV& s) {
        showActive(s);
        QWidget* viewport = s.DBGrid1->viewport();
        const auto click = [&](int row, Qt::KeyboardModifiers modifiers) {
            const QPoint at = s.DBGrid1->visualRect(s.gridModel().index(row, 3)).center();
            QTest::mouseClick(viewport, Qt::LeftButton, modifiers, at);
        };
        click(1, Qt::NoModifier);
        EXPECT_EQ(markedRows(s), std::vector<int>({1}));
        click(3, Qt::ControlModifier);
        EXPECT_EQ(markedRows(s), std::vector<int>({1, 3}));
        click(5, Qt::ShiftModifier);
        EXPECT_EQ(markedRows(s), std::vector<int>({1, 3, 4, 5}));
        click(4, Qt::ControlModifier);
        const std::vector<int> marked = markedRows(s);
        ASSERT_EQ(marked, std::vector<int>({1, 3, 5}));

        std::set<QString> chosen;
        for (int row : marked)
            chosen.insert(questionOf(s.gridModel().keyAt(row)));
        const std::set<QString> before = questionsOnDisk();
        ui.queueConfirm(true);
        s.Button6->click();
        std::set<QString> expected;
        std::set_difference(before.begin(), before.end(), chosen.begin(), chosen.end(),
                            std::inserter(expected, expected.end()));
        EXPECT_EQ(questionsOnDisk(), expected);
        s.Button1->click();
    });
}

// Back from the editor after the card it showed left the view: the grid lands on the last card.
TEST_F(SelectionScreenTest, EditedCardOutOfViewLandsOnTheLastCard) {
    openCourse();
    runEntry7([&](TFILTRO_ENV& s) {
        const int count = s.gridModel().rowCount();
        ASSERT_EQ(count, 8);
        s.DBGrid1->setCurrentIndex(s.gridModel().index(0, 0));
        ui.queueScreen("TAlta_Fichas_", [&](QDialog& d) {
            // The card the editor closes on is no longer in view (as after a change that took
            // it out of the selection).
            program->state().lastEditedCard = 0;
            static_cast<TAlta_Fichas_&>(d).Button1Click();
            program->state().lastEditedCard = 987654;
            return d.result();
        });
        s.Button7->click();
        EXPECT_EQ(s.DBGrid1->currentIndex().row(), count - 1);
        EXPECT_EQ(cards().recNo(), count);
    });
}

// A study file whose cards may not be modified: both deletes show the refusal, ask nothing and
// delete nothing.
TEST_F(SelectionScreenTest, NonModifiableStudyFileDeletesNothing) {
    openCourse();
    // Study files created by this program are modifiable; one from another author may not be.
    program->data().design.modifiable = false;
    const card_rows::Rows before = rows();
    runEntry7([&](TFILTRO_ENV& s) {
        mark(s, {0, 1});
        for (QPushButton* b : {s.Button6, s.Button5}) {
            SCOPED_TRACE(b->objectName().toStdString());
            ui.clearRecords();
            b->click();
            EXPECT_EQ(ui.messages(), QStringList{studyfile::kNotModifiableMessage});
            EXPECT_EQ(ui.confirmations(), QStringList());
            EXPECT_EQ(s.gridModel().rowCount(), 8);
        }
    });
    EXPECT_EQ(rows(), before);
}

// A declined delete: the message closes, the screen's activation runs again, and the two marked
// rows, the grid's current row and the table's current card are as they were.
TEST_F(SelectionScreenTest, AMessageKeepsTheMarksAndTheCurrentCard) {
    openCourse();
    const card_rows::Rows before = rows();
    runEntry7([&](TFILTRO_ENV& s) {
        mark(s, {2, 5});
        cards().setRecNo(4);
        const qint64 current = cards().fieldByName("AutoInc").asInteger();
        ui.queueConfirm(false);
        s.Button6->click();
        EXPECT_EQ(ui.messages(), QStringList{kMarkedKept});
        EXPECT_EQ(markedRows(s), (std::vector<int>{2, 5}));
        EXPECT_EQ(s.DBGrid1->currentIndex().row(), 2);
        EXPECT_EQ(cards().fieldByName("AutoInc").asInteger(), current);
    });
    EXPECT_EQ(rows(), before);
}

// Deleting all cards in view leaves the level-0 cards and nothing else.
TEST_F(SelectionScreenTest, DeletingAllKeepsTheLevel0Cards) {
    openCourse();
    runEntry7([&](TFILTRO_ENV& s) {
        ui.queueConfirm(true);
        s.Button5->click();
        EXPECT_EQ(s.gridModel().rowCount(), 0);
        EXPECT_EQ(s.Label5->text(), " Fichas en uso: 0 ");
        EXPECT_EQ(s.Label6->text(), " Fichas Nivel 0: 2 ");
        // Nothing left to modify.
        ui.clearRecords();
        s.Button7->click();
        EXPECT_EQ(ui.messages(), QStringList{"No hay fichas disponibles para modificar."});
        EXPECT_EQ(ui.screens(), QStringList{"TMensaje"});
    });
    EXPECT_EQ(questionsOnDisk(), (std::set<QString>{"A", "B"}));
}

// Selector mode from the review selection's "Seleccionar": the three buttons off, a double click
// opens nothing, the selection left on the table is dropped with its message once; every way out
// clears both flags, and the next opening from entry 7 has the buttons on again.
TEST_F(SelectionScreenTest, SelectorModeFromTheReviewSelection) {
    struct Way {
        const char* name;
        std::function<void(TFILTRO_ENV&)> leave;
    };
    const Way ways[] = {
        {"Salir", [](TFILTRO_ENV& s) { s.Button1->click(); }},
        {"Esc",
         [](TFILTRO_ENV& s) {
             showActive(s);
             QTest::keyClick(&s, Qt::Key_Escape);
         }},
        {"close box",
         [](TFILTRO_ENV& s) {
             showActive(s);
             s.close();
         }},
    };
    openCourse();
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        ui.clearRecords();
        // A selection in force on the table and in the shared state.
        cards().setFilter(kSelection);
        cards().setFiltered(true);
        program->state().selection = {kSelection, kSelection, true};
        bool ran = false;
        ui.queueScreen("TSelecc_Repaso_", [&](QDialog& d) {
            ui.queueScreen("TFILTRO_ENV", [&](QDialog& f) {
                TFILTRO_ENV& s = asSelection(f);
                ran = true;
                EXPECT_TRUE(program->state().selectorMode);
                EXPECT_FALSE(program->state().resetSelection);
                for (QPushButton* b : {s.Button5, s.Button6, s.Button7})
                    EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
                EXPECT_EQ(ui.messages(), QStringList{kSelectionReset});
                EXPECT_EQ(cards().filter(), studyfile::kBaseFilter);
                // The shared selection state is left alone by the reset.
                EXPECT_EQ(program->state().selection.selectionFilter, kSelection);
                emit s.DBGrid1->doubleClicked(s.gridModel().index(0, 0));
                EXPECT_FALSE(ui.screens().contains("TAlta_Fichas_"));
                way.leave(s);
                EXPECT_FALSE(program->state().selectorMode);
                return f.result();
            });
            static_cast<TSelecc_Repaso_&>(d).Button5->click();
            return d.result();
        });
        main().Label6Click();
        EXPECT_TRUE(ran);
        EXPECT_EQ(ui.messages(), QStringList{kSelectionReset});
        EXPECT_FALSE(program->state().selectorMode);
        EXPECT_FALSE(program->state().resetSelection);

        runEntry7([&](TFILTRO_ENV& s) {
            for (QPushButton* b : {s.Button5, s.Button6, s.Button7})
                EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
        });
        EXPECT_EQ(ui.messages(), QStringList{kSelectionReset});
    }
}

// The reset request is taken at the first activation even when the table already had the base
// filter: a selection made afterwards survives the next activation (a message).
TEST_F(SelectionScreenTest, ResetRequestIsConsumedWhenNothingWasReset) {
    openCourse();
    ui.queueScreen("TFILTRO_ENV", [&](QDialog& d) {
        TFILTRO_ENV& s = asSelection(d);
        EXPECT_FALSE(program->state().resetSelection);
        EXPECT_EQ(ui.messages(), QStringList());
        levelAndKeyRows(s);
        s.Button2->click();
        const QString selected = cards().filter();
        // A message closes: the activation runs again and must not reset the selection.
        program->Ver_Mensaje("aviso");
        EXPECT_EQ(cards().filter(), selected);
        EXPECT_EQ(s.gridModel().rowCount(), 2);
        return d.result();
    });
    screen().runAsSelector(true);
    EXPECT_FALSE(program->state().selectorMode);
    EXPECT_FALSE(program->state().resetSelection);
    EXPECT_EQ(ui.messages(), QStringList{"aviso"});
}

// "  S&elección" and "  &Quitar Selección" leave the table's filter, the selection filter and the
// saved selection filter equal; after "Quitar", a quick-selection review hands back the base
// filter, not the selection just removed.
TEST_F(SelectionScreenTest, SelectAndRemoveLeaveOneFilterEverywhere) {
    openCourse();
    const QString selected =
        QStringLiteral("Nive_Fich>=2 AND Clav_Fich='verb*' and  (Nive_fich <> 0 ) ");
    runEntry7([&](TFILTRO_ENV& s) {
        levelAndKeyRows(s);
        s.Button2->click();
        const review::SelectionState& sel = program->state().selection;
        EXPECT_EQ(cards().filter(), selected);
        EXPECT_EQ(sel.selectionFilter, selected);
        EXPECT_EQ(sel.savedSelectionFilter, selected);
        EXPECT_TRUE(sel.selectionActive);

        s.Button4->click();
        EXPECT_EQ(cards().filter(), studyfile::kBaseFilter);
        EXPECT_EQ(sel.selectionFilter, studyfile::kBaseFilter);
        EXPECT_EQ(sel.savedSelectionFilter, studyfile::kBaseFilter);
        EXPECT_FALSE(sel.selectionActive);
        EXPECT_EQ(s.Label5->text(), " Fichas en uso: 8 ");
        EXPECT_EQ(s.gridModel().rowCount(), 8);
        s.Button1->click();
    });

    // A quick-selection review of level 2, stopped at once.
    ui.queueScreen("TSelecc_Repaso_", [](QDialog& d) {
        auto& r = static_cast<TSelecc_Repaso_&>(d);
        r.RadioButton2->click();
        if (!r.levelBoxes[1]->isChecked())
            r.levelBoxes[1]->click();
        r.Button1->click();
        return d.result();
    });
    ui.queueScreen("TRepasar_", [](QDialog& d) {
        static_cast<TRepasar_&>(d).Button4->click();
        return d.result();
    });
    main().Label6Click();
    EXPECT_EQ(ui.screens().count("TRepasar_"), 1);
    EXPECT_EQ(cards().filter(), studyfile::kBaseFilter);
    EXPECT_EQ(cards().recordCount(), 8);
}

// The refusals of "  S&elección" through the screen: the message, where the focus or the combo
// goes, and the state they leave.
TEST_F(SelectionScreenTest, SelectionRefusalsAndTheStateTheyLeave) {
    struct Case {
        const char* name;
        std::function<void(TFILTRO_ENV&)> fill;
        QString message;
        bool toBaseFilter; // the incomplete row drops the selection
    };
    const Case cases[] = {
        {"incomplete row 2",
         [](TFILTRO_ENV& s) {
             s.valueBoxes[0]->setText("2");
             s.addingBoxes[0]->setChecked(true);
         },
         editing::kIncompleteConditionMessage, true},
        {"bad digits", [](TFILTRO_ENV& s) { s.valueBoxes[0]->setText("1 OR Nive_Fich=0"); },
         editing::kDigitsOnlyMessage, false},
        {"impossible date",
         [](TFILTRO_ENV& s) {
             s.fieldCombos[0]->setCurrentIndex(editing::kDateField);
             emit s.fieldCombos[0]->activated(editing::kDateField);
             s.dateBoxes[0]->setText("31/02/24");
         },
         editing::kInvalidDateMessage, false},
        {"importance not used",
         [](TFILTRO_ENV& s) {
             s.fieldCombos[0]->setCurrentIndex(editing::kImportanceField);
             s.valueBoxes[0]->setText("3");
         },
         editing::kImportanceNotUsedMessage, false},
    };
    openCourse();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui.clearRecords();
        runEntry7([&](TFILTRO_ENV& s) {
            // A selection in force first.
            s.addingBoxes[0]->setChecked(false);
            s.fieldCombos[0]->setCurrentIndex(editing::kLevelField);
            s.valueBoxes[0]->setText("3");
            s.Button2->click();
            ASSERT_EQ(s.gridModel().rowCount(), 3);
            const review::SelectionState before = program->state().selection;
            c.fill(s);
            showActive(s);
            s.Button2->click();
            EXPECT_EQ(ui.messages(), QStringList{c.message});
            const review::SelectionState& after = program->state().selection;
            const QString expectedFilter =
                c.toBaseFilter ? studyfile::kBaseFilter : before.selectionFilter;
            EXPECT_EQ(cards().filter(), expectedFilter);
            EXPECT_EQ(after.selectionFilter, expectedFilter);
            EXPECT_EQ(after.savedSelectionFilter, expectedFilter);
            EXPECT_EQ(after.selectionActive, !c.toBaseFilter);
            EXPECT_EQ(s.gridModel().rowCount(), c.toBaseFilter ? 8 : 3);
            if (c.message == editing::kDigitsOnlyMessage) {
                EXPECT_TRUE(s.valueBoxes[0]->hasFocus());
            }
            if (c.message == editing::kInvalidDateMessage) {
                EXPECT_TRUE(s.dateBoxes[0]->hasFocus());
            }
            if (c.message == editing::kImportanceNotUsedMessage) {
                EXPECT_EQ(s.fieldCombos[0]->currentIndex(), editing::kLevelField);
            }
            s.Button1->click();
        });
    }
}

// Leaving a number box with anything but digits shows the digits message, the focus goes back;
// a window or a menu opening above is not leaving the box, and a key box takes any text.
TEST_F(SelectionScreenTest, LeavingANumberBoxChecksItsDigits) {
    struct Case {
        const char* name;
        int field;
        QString text;
        Qt::FocusReason reason;
        bool message;
    };
    const Case cases[] = {
        {"letters, tab", editing::kLevelField, "3a", Qt::TabFocusReason, true},
        {"Arabic-Indic digit, mouse", editing::kTotalField, "٣", Qt::MouseFocusReason, true},
        {"digits", editing::kImportanceField, "12", Qt::TabFocusReason, false},
        {"empty", editing::kLevelField, "", Qt::TabFocusReason, false},
        {"message opening", editing::kLevelField, "3a", Qt::ActiveWindowFocusReason, false},
        {"menu opening", editing::kLevelField, "3a", Qt::PopupFocusReason, false},
        {"key box", editing::kKeyField, "a b,c", Qt::TabFocusReason, false},
    };
    start();
    TFILTRO_ENV& s = screen();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui.clearRecords();
        s.fieldCombos[0]->setCurrentIndex(c.field);
        s.valueBoxes[0]->setText(c.text);
        QFocusEvent leave(QEvent::FocusOut, c.reason);
        QApplication::sendEvent(s.valueBoxes[0], &leave);
        EXPECT_EQ(ui.messages(),
                  c.message ? QStringList{editing::kDigitsOnlyMessage} : QStringList());
    }
}

// Clicking "Selección" straight from a level box holding a letter: the digits message once, the
// focus back in the box, and no selection applied.
TEST_F(SelectionScreenTest, ClickingSelectionFromABadBoxWarnsOnce) {
    openCourse();
    runEntry7([&](TFILTRO_ENV& s) {
        showActive(s);
        const QString filterBefore = cards().filter();
        s.fieldCombos[0]->setCurrentIndex(editing::kLevelField);
        s.valueBoxes[0]->setText(QStringLiteral("3a"));
        s.valueBoxes[0]->setFocus();
        ui.clearRecords();
        QTest::mouseClick(s.Button2, Qt::LeftButton);
        EXPECT_EQ(ui.messages(), QStringList{editing::kDigitsOnlyMessage});
        EXPECT_EQ(QApplication::focusWidget(), s.valueBoxes[0]);
        EXPECT_EQ(cards().filter(), filterBefore);
        s.valueBoxes[0]->clear();
        s.Button1->click();
    });
}

// Choosing a field: the key and the importance level refused where the study file does not use
// them (the combo back at "Nivel de la Ficha"), the date field showing the date box with today.
TEST_F(SelectionScreenTest, ChoosingAFieldFollowsTheStudyFile) {
    struct Case {
        const char* name;
        bool cardKey;
        bool importance;
        int field;
        QString message;
        int fieldAfter;
    };
    const Case cases[] = {
        {"key unused", false, true, editing::kKeyField, editing::kKeyNotUsedMessage,
         editing::kLevelField},
        {"key used", true, true, editing::kKeyField, QString(), editing::kKeyField},
        {"importance unused", true, false, editing::kImportanceField,
         editing::kImportanceNotUsedMessage, editing::kLevelField},
        {"importance used", true, true, editing::kImportanceField, QString(),
         editing::kImportanceField},
        {"date", true, true, editing::kDateField, QString(), editing::kDateField},
    };
    openCourse();
    TFILTRO_ENV& s = screen();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui.clearRecords();
        program->data().design.cardKey = c.cardKey;
        program->data().design.importanceLevel = c.importance;
        s.valueBoxes[0]->clear();
        s.fieldCombos[0]->setCurrentIndex(c.field);
        emit s.fieldCombos[0]->activated(c.field);
        EXPECT_EQ(ui.messages(), c.message.isEmpty() ? QStringList() : QStringList{c.message});
        EXPECT_EQ(s.fieldCombos[0]->currentIndex(), c.fieldAfter);
        const bool date = c.fieldAfter == editing::kDateField;
        EXPECT_EQ(s.dateBoxes[0]->isVisibleTo(&s), date);
        EXPECT_EQ(s.valueBoxes[0]->isVisibleTo(&s), !date);
        if (date) {
            EXPECT_EQ(s.dateBoxes[0]->programText(), program->state().todayDisplay);
            // Picking the date field again keeps the date typed in the meantime.
            s.dateBoxes[0]->setText(QStringLiteral("07/08/23"));
            const QString typed = s.dateBoxes[0]->programText();
            ASSERT_NE(typed, program->state().todayDisplay);
            emit s.fieldCombos[0]->activated(editing::kDateField);
            EXPECT_EQ(s.dateBoxes[0]->programText(), typed);
        }
        s.fieldCombos[0]->setCurrentIndex(editing::kLevelField);
        emit s.fieldCombos[0]->activated(editing::kLevelField);
    }
}

// The grid over 5,000 cards reads only the rows it shows: at most two pages when shown at
// 1024x768, and only the last pages after scrolling to the bottom.
TEST_F(SelectionScreenTest, GridReadsOnlyTheRowsItShows) {
    const QString path = makeStudyFile("Grande", {});
    {
        table::Table t;
        t.open(QFileInfo(path).path(), QFileInfo(path).fileName());
        table::BatchScope batch(t);
        for (int i = 0; i < 5000; ++i) {
            t.append();
            t.fieldByName("Preg_Text").setString(QStringLiteral("pregunta %1").arg(i));
            t.fieldByName("Nive_Fich").setInteger(1 + i % 3);
            t.fieldByName("Clav_Fich").setString(QStringLiteral("k%1").arg(i, 5, 10, QChar('0')));
            t.post();
        }
    }
    startWith(path);
    runEntry7([&](TFILTRO_ENV& s) {
        s.setWindowState(Qt::WindowNoState);
        s.resize(1024, 768);
        showActive(s);
        s.DBGrid1->viewport()->repaint();
        QApplication::processEvents();
        ASSERT_EQ(s.gridModel().rowCount(), 5000);
        const qint64 shown = s.gridModel().rowsRead();
        EXPECT_GT(shown, 0);
        EXPECT_LE(shown, 2 * studyfile::CardGridModel::kPageRows);

        s.DBGrid1->scrollToBottom();
        s.DBGrid1->viewport()->repaint();
        QApplication::processEvents();
        EXPECT_LE(s.gridModel().rowsRead() - shown, 2 * studyfile::CardGridModel::kPageRows);
        EXPECT_EQ(s.DBGrid1->rowAt(s.DBGrid1->viewport()->height() - 2) / 64,
                  4999 / studyfile::CardGridModel::kPageRows);
        s.close();
    });
}

// In the 1024 x 768 window with every row in use (dates on the even rows): every control inside
// the window, no two controls overlapping, and every caption wide enough for its text.
TEST_F(SelectionScreenTest, ControlsFitAndDoNotOverlap) {
    openCourse();
    runEntry7([&](TFILTRO_ENV& s) {
        s.setWindowState(Qt::WindowNoState);
        s.resize(1024, 768);
        s.show();
        for (int row = 0; row < TFILTRO_ENV::kRows; ++row) {
            if (row < TFILTRO_ENV::kRows - 1) {
                s.addingBoxes[row]->setChecked(true);
            }
            if (row % 2 == 1) {
                s.fieldCombos[row]->setCurrentIndex(editing::kDateField);
                emit s.fieldCombos[row]->activated(editing::kDateField);
            }
        }
        QWidget* panel = s.findChild<QWidget*>("Panel1");
        ASSERT_NE(panel, nullptr);
        const int placed = expectControlsFit(s, *panel, QRect(0, 0, 1024, 768));
        EXPECT_GE(placed, 40);
        s.reject();
    });
}
