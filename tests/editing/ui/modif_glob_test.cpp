// The global modification screen through the scripted Ui: what it changes, on which cards, and the
// checks that stop a run before anything is written.
#include "support/card_rows.h"
#include "support/layout_check.h"
#include "support/screen_fixture.h"

#include "app/date_box_edit.h"
#include "app/ui/panta_inicio.h"
#include "editing/card_selection.h"
#include "editing/ui/modif_glob.h"
#include "platform/clock.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

using review_test::Card;

namespace {

const QString kDone = QStringLiteral(" LA MODIFICACIÓN GLOBAL SE HA COMPLETADO ");

} // namespace

class ModifGlobTest : public review_test::ScreenTest {
protected:
    // Cards A to F: A and B at level 2, C at level 1, D and E parked at level 0, F at level 3.
    void open(const studyfile::DesignOptions& design = keyAndImportance()) {
        path = makeStudyFile("Curso",
                             {{"A", "", 2, "", 0, "20240101", "verbos"},
                              {"B", "", 2, "", 0, "20240101", "nombres"},
                              {"C", "", 1, "", 0, "20240101", "verbos"},
                              {"D", "", 0, "", 0, "", "verbos"},
                              {"E", "", 0, "", 0, "", "nombres"},
                              {"F", "", 3, "", 0, "20240101", "verbos"}},
                             design);
        startWith(path);
    }
    static studyfile::DesignOptions keyAndImportance() {
        studyfile::DesignOptions d;
        d.cardKey = true;
        d.importanceLevel = true;
        return d;
    }
    TModif_glob_& screen() { return program->modif_glob(); }
    // Entry D with a script run on the screen.
    void entryD(const std::function<void(TModif_glob_&)>& script) {
        ui.queueScreen("TModif_glob_", [this, script](QDialog& d) {
            script(screen());
            screen().Button1->click();
            return d.result();
        });
        main().Label19Click();
    }
    // A card's stored fields by its question.
    card_rows::Row card(const QString& question) {
        for (const auto& [key, row] : card_rows::read(path))
            if (row.at("Preg_Text") == question.toUtf8())
                return row;
        ADD_FAILURE() << question.toStdString();
        return {};
    }
    static QString dateText(const char* day, const char* month, const char* year) {
        const QString sep = platform::systemDateSeparator();
        return QString::fromLatin1(day) + sep + QString::fromLatin1(month) + sep +
               QString::fromLatin1(year);
    }

    QString path;
};

TEST_F(ModifGlobTest, ChangesTheSelectionInForce) {
    open();
    editing::applyCardSelection(cards(), "Nive_Fich=2 and " + studyfile::kBaseFilter,
                                program->state().selection);
    // A window-selection review leaves its session conditions on the table; the screen works on
    // the selection itself.
    cards().setFilter("Nive_Fich=2 and " + studyfile::kBaseFilter +
                      " and (Fech_Prox_Repa <= '20000101')");
    ASSERT_EQ(cards().recordCount(), 0);
    const card_rows::Rows before = card_rows::read(path);
    entryD([](TModif_glob_& s) {
        EXPECT_FALSE(s.MaskEdit1->isEnabled());
        s.CheckBox1->click();
        EXPECT_TRUE(s.MaskEdit1->isEnabled());
        s.MaskEdit1->setText("3");
        s.BitBtn2->click();
        EXPECT_FALSE(s.Gauge1->isVisible());
    });
    EXPECT_EQ(ui.messages(), QStringList{kDone});
    EXPECT_EQ(card("A").at("Nive_Fich"), "3");
    EXPECT_EQ(card("B").at("Nive_Fich"), "3");
    const card_rows::Rows after = card_rows::read(path);
    std::set<QString> changedCards;
    for (const auto& [key, row] : after) {
        EXPECT_NE(row.at("Camp_Logi"), "true");
        if (row != before.at(key))
            changedCards.insert(QString::fromUtf8(row.at("Preg_Text")));
    }
    EXPECT_EQ(changedCards, (std::set<QString>{"A", "B"}));
    EXPECT_EQ(cards().filter(), "Nive_Fich=2 and " + studyfile::kBaseFilter);
}

TEST_F(ModifGlobTest, DatesKeysAndEveryCardWithoutSelection) {
    open();
    for (const bool dayFirst : {true, false}) {
        SCOPED_TRACE(dayFirst);
        program->state().prefs.dayFirstDates = dayFirst;
        ui.clearRecords();
        entryD([&](TModif_glob_& s) {
            // The ticks survive between openings.
            EXPECT_EQ(s.CheckBox4->isChecked(), !dayFirst);
            if (!s.CheckBox4->isChecked())
                s.CheckBox4->click();
            s.MaskEdit3->setText(dateText("05", "03", "24"));
            s.CheckBox2->setChecked(true);
            s.CheckBox2->click(); // clear, then tick again: the key box keeps its text
            s.CheckBox2->click();
            s.Edit1->setText("una clave demasiado larga");
            s.BitBtn2->click();
        });
        EXPECT_EQ(ui.messages(), QStringList{kDone});
        for (const char* q : {"A", "B", "C", "F"}) {
            EXPECT_EQ(card(q).at("Fech_Prox_Repa"), dayFirst ? "20240305" : "20240503") << q;
            EXPECT_EQ(card(q).at("Clav_Fich"), "una clave demas") << q;
        }
        for (const char* q : {"D", "E"})
            EXPECT_EQ(card(q).at("Fech_Prox_Repa"), "<blank>") << q;
    }
}

TEST_F(ModifGlobTest, BadValuesStopTheRunBeforeAnyWrite) {
    open();
    const card_rows::Rows before = card_rows::read(path);
    struct Case {
        const char* name;
        std::function<void(TModif_glob_&)> fill;
        QStringList messages;
    };
    const Case cases[] = {
        {"empty level",
         [](TModif_glob_& s) { s.CheckBox1->click(); },
         {"Falta el nuevo valor de 'Nivel de la Ficha'."}},
        {"empty reviews",
         [](TModif_glob_& s) {
             s.CheckBox5->click();
             s.MaskEdit4->clear();
         },
         {"Falta el nuevo valor de 'Nº de Repasos Realizados'."}},
        {"impossible date",
         [](TModif_glob_& s) {
             s.CheckBox4->click();
             s.MaskEdit3->setText(dateText("31", "02", "24"));
         },
         {"La 'Fecha del Próximo Repaso' no es una fecha válida."}},
        {"nothing ticked", [](TModif_glob_&) {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui.clearRecords();
        entryD([&](TModif_glob_& s) {
            for (QCheckBox* box : {s.CheckBox1, s.CheckBox2, s.CheckBox3, s.CheckBox4, s.CheckBox5})
                if (box->isChecked())
                    box->click();
            c.fill(s);
            s.BitBtn2->click();
        });
        EXPECT_EQ(ui.messages(), c.messages);
        EXPECT_EQ(card_rows::read(path), before);
    }
}

TEST_F(ModifGlobTest, FieldsTheStudyFileLacksAreNotOffered) {
    studyfile::DesignOptions bare;
    bare.cardKey = false;
    open(bare);
    entryD([](TModif_glob_& s) {
        EXPECT_FALSE(s.CheckBox2->isEnabled());
        EXPECT_FALSE(s.CheckBox3->isEnabled());
        EXPECT_TRUE(s.CheckBox1->isEnabled());
        // The date box starts on today.
        EXPECT_EQ(s.MaskEdit3->programText().remove(QRegularExpression("\\D")).size(), 6);
    });
}

TEST_F(ModifGlobTest, SelectingCardsFromTheScreen) {
    open();
    entryD([this](TModif_glob_& s) {
        ui.queueScreen("TFILTRO_ENV", [this](QDialog& d) {
            EXPECT_TRUE(program->state().selectorMode);
            editing::applyCardSelection(cards(),
                                        "Clav_Fich='verbos*' and " + studyfile::kBaseFilter,
                                        program->state().selection);
            d.reject();
            return d.result();
        });
        s.Button5->click();
        EXPECT_FALSE(program->state().selectorMode);
        if (!s.CheckBox5->isChecked())
            s.CheckBox5->click();
        s.MaskEdit4->setText("7");
        s.BitBtn2->click();
    });
    EXPECT_EQ(ui.screens().count("TFILTRO_ENV"), 1);
    for (const char* q : {"A", "C", "F"})
        EXPECT_EQ(card(q).at("Total_Repa"), "7") << q;
    for (const char* q : {"B", "D", "E"})
        EXPECT_EQ(card(q).at("Total_Repa"), "0") << q;
}

// In a 1024 x 768 window: every control inside it, none overlapping, every caption fitting.
TEST_F(ModifGlobTest, ControlsFitAndDoNotOverlap) {
    open();
    entryD([](TModif_glob_& s) {
        s.setWindowState(Qt::WindowNoState);
        s.resize(1024, 768);
        s.show();
        QWidget* panel = s.findChild<QWidget*>("Panel1");
        ASSERT_NE(panel, nullptr);
        EXPECT_GE(expectControlsFit(s, *panel, QRect(0, 0, 1024, 768)), 16);
        s.hide();
    });
}
