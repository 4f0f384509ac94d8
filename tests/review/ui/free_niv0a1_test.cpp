// The promotion screen through the main screen's entry A, driven by the scripted Ui: opening and
// closing (the filter found goes back, the empty-level-0 message once), the three ways of
// promoting and their refusals.
#include "support/screen_fixture.h"

#include "support/card_rows.h"

#include "review/promotion.h"
#include "review/ui/free_niv0a1.h"
#include "studyfile/card_grid_model.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>

#include <functional>
#include <map>
#include <set>

using review_test::Card;

// Test failures show texts as texts.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

TFreeNiv0a1_& asPromotion(QDialog& d) {
    return static_cast<TFreeNiv0a1_&>(d);
}

// The screen on view with the focus, as the learner uses it (focus changes need an active
// window).
void showActive(QDialog& d) {
    d.show();
    d.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&d));
}

const QString kSelection = QStringLiteral("Clav_Fich='verbos*' and  (Nive_fich <> 0 ) ");

// Level-0 cards A to E and a level-1 card F (its key "verbos" matches the selection above), dated
// so that a promotion shows that dates stay. Their importances put the level-0 cards in the table
// order C, B, E, D, A.
const std::vector<Card> kCourse = {
    {"A", "r", 0, "20240110", 3, "20240201", "verbos", 5},
    {"B", "r", 0, "20240110", 3, "20240201", "O'Hara", 3},
    {"C", "r", 0, "20240110", 3, "20240201", "", 1},
    {"D", "r", 0, "20240110", 3, "20240201", "", 4},
    {"E", "r", 0, "20240110", 3, "20240201", "nombres", 3},
    {"F", "r", 1, "20240110", 3, "20240201", "verbos", 2},
};

} // namespace

class PromotionScreenTest : public review_test::ScreenTest {
protected:
    // A study file N of the cards of kCourse, with card keys and importance levels, opened
    // through entry 1.
    void openCourse(const QString& name = QStringLiteral("Curso")) {
        studyfile::DesignOptions design;
        design.importanceLevel = true;
        const QString path = makeStudyFile(name, kCourse, design);
        name_ = name;
        startWith(path);
    }

    // Every field of every card of the study file, read with a table of its own.
    card_rows::Rows rows() const { return card_rows::read(dat(name_ + ".DB")); }

    // The questions of the cards now at level 1.
    std::set<QString> atLevel1() const {
        std::set<QString> out;
        for (const auto& [key, row] : rows())
            if (row.at("Nive_Fich") == "1")
                out.insert(QString::fromUtf8(row.at("Preg_Text")));
        return out;
    }

    // The AutoInc of the card with this question.
    qint64 keyOf(const QString& question) const {
        for (const auto& [key, row] : rows())
            if (row.at("Preg_Text") == question.toUtf8())
                return key;
        ADD_FAILURE() << "no card " << question.toStdString();
        return 0;
    }

    // Runs entry A with a script for the screen.
    void runScreen(std::function<void(TFreeNiv0a1_&)> script) {
        ui.queueScreen("TFreeNiv0a1_", [script](QDialog& d) {
            script(asPromotion(d));
            return d.result();
        });
        main().Label16Click();
    }

    TFreeNiv0a1_& screen() { return program->freeNiv0a1(); }

    QString name_;
};

// With no level-0 card the message shows once and the screen closes; the messages that follow
// (here: the damaged first card of the filter put back) bring it back neither.
TEST_F(PromotionScreenTest, NoLevel0CardShowsItsMessageOnceAndCloses) {
    struct Case {
        const char* name;
        bool damagedFirstCard;
        QStringList messages;
    };
    const Case cases[] = {
        {"Sana", false, {review::kNoLevel0Message}},
        {"Danada", true, {review::kNoLevel0Message, studyfile::kDamagedMessage}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        studyfile::DesignOptions design;
        design.compressed = true;
        const QString path =
            makeStudyFile(c.name, {{"G", "g", 1, "", 0, ""}, {"H", "h", 2, "", 0, ""}}, design);
        if (c.damagedFirstCard) {
            table::Table t;
            t.open(dat(), QString(c.name) + ".DB");
            t.first();
            t.edit();
            t.fieldByName("Ficha_Comp_Encr").setString("S");
            t.fieldByName("Resp_Text").setBytes("esto no es un contenedor");
            t.post();
        }
        program.reset();
        startWith(path);
        ui.setMessageLimit(6);
        for (int opening = 0; opening < 2; ++opening) {
            ui.clearRecords();
            main().FormKeyPress(0, opening == 0 ? "a" : "A");
            EXPECT_TRUE(ui.unexpected().isEmpty()) << ui.unexpected().join("|").toStdString();
            EXPECT_TRUE(ui.errors().isEmpty()) << ui.errors().join("|").toStdString();
            EXPECT_EQ(ui.messages(), c.messages);
            EXPECT_EQ(ui.screens().count("TFreeNiv0a1_"), 1);
            EXPECT_EQ(program->stackDepth(), 1);
            EXPECT_EQ(cards().filter(), studyfile::kBaseFilter);
        }
        ui.setMessageLimit(0);
    }
}

TEST_F(PromotionScreenTest, EntryANeedsAnOpenStudyFile) {
    start();
    main().Label16Click();
    EXPECT_EQ(ui.messages(), QStringList({"No hay ningún Fichero de Estudio abierto."}));
    EXPECT_EQ(ui.screens().count("TFreeNiv0a1_"), 0);
}

// After promotions of every kind, each with its message, the screen still shows level 0; closing
// it, whichever way, puts back the filter found at its opening.
TEST_F(PromotionScreenTest, ClosingPutsBackTheFilterFoundAtOpening) {
    struct Case {
        const char* name;
        std::function<void(TFreeNiv0a1_&)> close;
    };
    const Case cases[] = {
        {"Salir", [](TFreeNiv0a1_& s) { s.exitButton->click(); }},
        {"Esc", [](TFreeNiv0a1_& s) { QTest::keyClick(&s, Qt::Key_Escape); }},
        {"close box", [](TFreeNiv0a1_& s) { s.close(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        program.reset();
        openCourse(QString("Curso%1").arg(&c - cases));
        cards().setFilter(kSelection);
        ui.clearRecords();
        bool closed = false;
        runScreen([&](TFreeNiv0a1_& s) {
            showActive(s);
            EXPECT_EQ(s.label5->text(), "5  Fichas en el Nivel 0.");
            s.MaskEdit1->setText("1");
            s.Button1->click();
            EXPECT_EQ(cards().filter(), review::kLevel0Filter);
            s.DBGrid1->selectRow(0);
            s.Button2->click();
            s.RadioGroup1Items[2]->click();
            s.MaskEdit2->setText("4");
            s.Button3->click();
            EXPECT_EQ(cards().filter(), review::kLevel0Filter);
            EXPECT_EQ(s.label5->text(), "1  Fichas en el Nivel 0.");
            c.close(s);
            closed = !s.isVisible() && s.result() == QDialog::Rejected;
        });
        EXPECT_TRUE(ui.errors().isEmpty()) << ui.errors().join("|").toStdString();
        EXPECT_EQ(ui.messages(), QStringList({"1  Fichas han pasado al Nivel 1.",
                                              "1  Fichas han pasado al Nivel 1.",
                                              "2  Fichas han pasado al Nivel 1."}));
        EXPECT_TRUE(closed);
        EXPECT_EQ(cards().filter(), kSelection);
        EXPECT_EQ(cards().recordCount(), 2); // A, now at level 1, and F
        EXPECT_EQ(atLevel1(), std::set<QString>({"A", "B", "C", "D", "F"}));
    }
}

// A field left empty, or a count above the level-0 cards: the message, the focus in the field,
// and no card changes.
TEST_F(PromotionScreenTest, EmptyFieldsAndTooLargeACountChangeNothing) {
    openCourse();
    struct Case {
        const char* name;
        std::function<QWidget*(TFreeNiv0a1_&)> act; // returns the field that should have the focus
        QString message;
    };
    const Case cases[] = {
        {"empty count",
         [](TFreeNiv0a1_& s) {
             s.PageControl1->setCurrentWidget(s.TabSheet1);
             s.MaskEdit1->clear();
             s.Button1->click();
             return s.MaskEdit1;
         },
         "Escriba el número de fichas que van a pasar al Nivel 1."},
        {"count above level 0",
         [](TFreeNiv0a1_& s) {
             s.PageControl1->setCurrentWidget(s.TabSheet1);
             s.MaskEdit1->setText("6");
             s.Button1->click();
             return s.MaskEdit1;
         },
         review::kNotEnoughLevel0Message},
        {"empty importance",
         [](TFreeNiv0a1_& s) {
             s.PageControl1->setCurrentWidget(s.TabSheet3);
             s.RadioButton1->click();
             s.MaskEdit2->clear();
             s.CheckBox1->setChecked(true);
             s.MaskEdit3->setText("2");
             s.Button3->click();
             return s.MaskEdit2;
         },
         "Escriba el Nivel de Importancia de la condición."},
    };
    const auto before = rows();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui.clearRecords();
        QWidget* field = nullptr;
        QWidget* focused = nullptr;
        runScreen([&](TFreeNiv0a1_& s) {
            showActive(s);
            s.exitButton->setFocus();
            field = c.act(s);
            focused = s.focusWidget();
            s.reject();
        });
        EXPECT_TRUE(ui.errors().isEmpty()) << ui.errors().join("|").toStdString();
        EXPECT_EQ(ui.messages(), QStringList({c.message}));
        EXPECT_EQ(focused, field);
        EXPECT_EQ(rows(), before);
    }
}

// Marks are the highlighted rows: a click marks one row, Ctrl+click marks and unmarks. They
// survive a message and a count of the condition page; only the marked cards are promoted.
TEST_F(PromotionScreenTest, PromotesTheMarkedRows) {
    openCourse();
    const auto before = rows();
    runScreen([&](TFreeNiv0a1_& s) {
        showActive(s);
        s.PageControl1->setCurrentWidget(s.TabSheet2);
        QTableView& grid = *s.DBGrid1;
        const auto click = [&](int row, Qt::KeyboardModifiers modifiers) {
            const QRect r = grid.visualRect(grid.model()->index(row, 2));
            QTest::mouseClick(grid.viewport(), Qt::LeftButton, modifiers, r.center());
        };
        // Table order C, B, E, D, A.
        ASSERT_EQ(grid.model()->rowCount(), 5);
        EXPECT_EQ(grid.model()->index(0, 2).data().toString(), "C");
        EXPECT_EQ(grid.model()->index(0, 0).data().toString(), "1");
        click(0, Qt::NoModifier);
        click(1, Qt::NoModifier); // a plain click marks that row alone
        click(3, Qt::ControlModifier);
        click(4, Qt::ControlModifier);
        click(4, Qt::ControlModifier); // unmarked again
        EXPECT_EQ(grid.selectionModel()->selectedRows().size(), 2);

        // A count on page 3 and a refused promotion (the screen regains the focus after its
        // message) keep the marks.
        s.RadioButton2->click();
        s.Edit1->setText("nombres");
        s.RadioGroup2Items[0]->click();
        EXPECT_EQ(s.Label7->text(), "1");
        s.MaskEdit1->setText("9");
        s.Button1->click();
        EXPECT_EQ(grid.selectionModel()->selectedRows().size(), 2);

        s.Button2->click();
        EXPECT_EQ(s.label5->text(), "3  Fichas en el Nivel 0.");
        EXPECT_EQ(grid.model()->rowCount(), 3);
        EXPECT_TRUE(grid.selectionModel()->selectedRows().isEmpty());
        s.reject();
    });
    EXPECT_TRUE(ui.errors().isEmpty()) << ui.errors().join("|").toStdString();
    EXPECT_EQ(ui.messages(),
              QStringList({review::kNotEnoughLevel0Message, "2  Fichas han pasado al Nivel 1."}));
    // B and D; nothing else changed, their dates included.
    auto expected = before;
    expected[keyOf("B")]["Nive_Fich"] = "1";
    expected[keyOf("D")]["Nive_Fich"] = "1";
    EXPECT_EQ(rows(), expected);
}

// Page 3: the count follows the operator chosen and the field left, only when the field holds
// something; the limit box shows its field; a limit promotes the first cards in table order.
TEST_F(PromotionScreenTest, ConditionPageCountsAndPromotes) {
    openCourse();
    runScreen([&](TFreeNiv0a1_& s) {
        showActive(s);
        s.PageControl1->setCurrentWidget(s.TabSheet3);
        EXPECT_TRUE(s.RadioButton1->isChecked());
        EXPECT_TRUE(s.RadioGroup1Items[0]->isChecked());
        EXPECT_TRUE(s.RadioGroup2Items[0]->isChecked());
        EXPECT_TRUE(s.MaskEdit2->isVisible());
        EXPECT_FALSE(s.Edit1->isVisible());

        // An operator chosen with an empty field counts nothing.
        s.Label7->setText("0");
        s.RadioGroup1Items[2]->click();
        EXPECT_EQ(s.Label7->text(), "0");
        // ">=" 3 over the level-0 cards: B, E, D, A.
        s.MaskEdit2->setFocus();
        s.MaskEdit2->setText("3");
        s.exitButton->setFocus(); // the field is left
        EXPECT_EQ(s.Label7->text(), "4");
        s.RadioGroup1Items[1]->click(); // ">" 3: D, A
        EXPECT_EQ(s.Label7->text(), "2");
        s.RadioGroup1Items[2]->click();

        // The limit: the box and its caption both toggle it.
        EXPECT_FALSE(s.MaskEdit3->isVisible());
        QTest::mouseClick(s.limitLabel, Qt::LeftButton);
        EXPECT_TRUE(s.CheckBox1->isChecked());
        EXPECT_TRUE(s.MaskEdit3->isVisible());
        EXPECT_TRUE(s.maximumLabel->isVisible());
        s.MaskEdit3->setText("0");
        s.Button3->click(); // nothing promoted
        s.MaskEdit3->setText("2");
        s.Button3->click(); // B and E
        EXPECT_EQ(s.Label7->text(), "2");
        EXPECT_EQ(s.label5->text(), "3  Fichas en el Nivel 0.");

        // By key, with a quote in it; the limit box cleared promotes every match.
        s.CheckBox1->click();
        EXPECT_FALSE(s.MaskEdit3->isVisible());
        s.RadioButton2->click();
        EXPECT_FALSE(s.MaskEdit2->isVisible());
        EXPECT_TRUE(s.Edit1->isVisible());
        s.Edit1->setText("  ");
        s.RadioGroup2Items[0]->click(); // only blanks: no count
        EXPECT_EQ(s.Label7->text(), "2");
        s.Edit1->setText("");
        s.Button3->click(); // "=" with an empty key: C and D
        s.reject();
    });
    EXPECT_TRUE(ui.errors().isEmpty()) << ui.errors().join("|").toStdString();
    EXPECT_EQ(ui.messages(),
              QStringList({"0  Fichas han pasado al Nivel 1.", "2  Fichas han pasado al Nivel 1.",
                           "2  Fichas han pasado al Nivel 1."}));
    EXPECT_EQ(atLevel1(), std::set<QString>({"B", "C", "D", "E", "F"}));
}

// The count names the number as the field wrote it; the first cards in table order go.
TEST_F(PromotionScreenTest, CountPromotesTheFirstCardsInTableOrder) {
    openCourse();
    runScreen([&](TFreeNiv0a1_& s) {
        EXPECT_EQ(s.MaskEdit1->text(), "10");
        s.MaskEdit1->setText("002");
        s.Button1->click();
        EXPECT_EQ(s.gridModel().rowCount(), 3);
        s.reject();
    });
    EXPECT_EQ(ui.messages(), QStringList({"002  Fichas han pasado al Nivel 1."}));
    EXPECT_EQ(atLevel1(), std::set<QString>({"B", "C", "F"}));
}

// On each page, in the 1024 x 768 window: every control inside the window, and no two controls of
// one panel overlapping (the limit's field shown).
TEST_F(PromotionScreenTest, ControlsOfEachPageFitAndDoNotOverlap) {
    openCourse();
    runScreen([&](TFreeNiv0a1_& s) {
        s.setWindowState(Qt::WindowNoState);
        s.resize(1024, 768);
        s.show();
        s.CheckBox1->click();
        for (QWidget* page : {s.TabSheet1, s.TabSheet2, s.TabSheet3}) {
            s.PageControl1->setCurrentWidget(page);
            for (bool keyKind : {false, true}) {
                (keyKind ? s.RadioButton2 : s.RadioButton1)->click();
                QWidget* const containers[] = {s.findChild<QWidget*>("Panel1"), page,
                                               s.findChild<QWidget*>("countBox"), s.RadioGroup1,
                                               s.RadioGroup2};
                for (QWidget* container : containers) {
                    QList<QRect> placed;
                    for (QWidget* w :
                         container->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
                        if (!w->isVisibleTo(&s) || w->size().isEmpty())
                            continue;
                        const QRect r(w->mapTo(&s, QPoint(0, 0)), w->size());
                        const std::string what = page->objectName().toStdString() + " " +
                                                 w->objectName().toStdString() + " " +
                                                 w->property("text").toString().toStdString();
                        EXPECT_TRUE(QRect(0, 0, 1024, 768).contains(r)) << what;
                        for (const QRect& other : placed)
                            EXPECT_FALSE(other.intersects(r)) << what;
                        placed << r;
                    }
                }
            }
        }
        s.reject();
    });
}
