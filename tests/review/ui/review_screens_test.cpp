// The review cycle through its screens: selection, session, summary, breaks, blink notice and the
// zooms, driven through the scripted Ui.
#include "support/screen_fixture.h"

#include "app/ui/mensaje.h"
#include "platform/clock.h"
#include "platform/ui/picture_box.h"
#include "review/ui/descanso.h"
#include "review/ui/parpadeo_aviso.h"
#include "review/ui/repasar.h"
#include "review/ui/selecc_repaso.h"
#include "settings/ui/configura_progr.h"
#include "studyfile/ui/crea_fiche.h"
#include "viewers/picture_fit.h"
#include "viewers/ui/imag_zoom.h"
#include "viewers/ui/text_zoom.h"

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTextDocument>
#include <QTextEdit>

using review_test::Card;

namespace {

TRepasar_& asReview(QDialog& d) {
    return static_cast<TRepasar_&>(d);
}
TSelecc_Repaso_& asSelection(QDialog& d) {
    return static_cast<TSelecc_Repaso_&>(d);
}

// The selection screen presses one of its start buttons.
ScriptedUi::ScreenScript press(QPushButton* TSelecc_Repaso_::*button) {
    return [button](QDialog& d) {
        (asSelection(d).*button)->click();
        return d.result();
    };
}

} // namespace

class ReviewScreensTest : public review_test::ScreenTest {
protected:
    TRepasar_& review() { return program->repasar(); }
    TSelecc_Repaso_& selection() { return program->selecc_Repaso(); }
};

// Open a study file, review two cards (one right, one wrong), check the stored schedule and the
// summary.
TEST_F(ReviewScreensTest, EndToEndSessionWithOneRightAndOneWrongAnswer) {
    // 9 March 2005: the worked example's day.
    clock.setNow(QDateTime(QDate(2005, 3, 9), QTime(10, 0, 0)));
    const QString path = makeStudyFile(
        "Capitales", {
                         {"¿Capital de Francia?", "París", 3, "20050220", 4, "20050309"},
                         {"¿Capital de Italia?", "Roma", 3, "20050220", 4, "20050301"},
                         {"¿Capital de Suiza?", "", 2, "", 0, "20050401"},
                         {"¿Capital de Malta?", "", 0, "", 0, ""},
                     });
    startWith(path);

    QStringList seen;
    ui.queueScreen("TSelecc_Repaso_", press(&TSelecc_Repaso_::Button4));
    ui.queueScreen("TRepasar_", [&](QDialog& d) {
        TRepasar_& r = asReview(d);
        EXPECT_EQ(r.PageControl1->currentWidget(), r.Pregunta);
        EXPECT_EQ(r.Label2->text(), "Fichas Seleccionadas: 2");
        seen << r.DBText1->text();
        r.Button1->click();
        EXPECT_EQ(r.PageControl1->currentWidget(), r.Respuesta);
        EXPECT_EQ(r.Label7->text(), "París");
        EXPECT_TRUE(r.Label7->isVisibleTo(&r));
        EXPECT_EQ(r.DBText2->text(), "3");
        clock.advanceSeconds(40);
        r.Button6->click();
        EXPECT_EQ(r.PageControl1->currentWidget(), r.Pregunta);
        EXPECT_EQ(r.Label1->text(), "Fichas ya Repasadas: 1");
        EXPECT_EQ(r.Label13->text(), "Fichas pendientes: 1");
        seen << r.DBText1->text();
        r.Button1->click();
        clock.advanceSeconds(50);
        r.Button7->click();
        return d.result();
    });
    main().Label6Click();

    EXPECT_TRUE(ui.errors().isEmpty()) << ui.errors().join("|").toStdString();
    EXPECT_EQ(ui.screens(), QStringList({"TSelecc_Repaso_", "TRepasar_", "TMensaje"}));
    EXPECT_EQ(seen, QStringList({"¿Capital de Francia?", "¿Capital de Italia?"}));
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages().first(), "No hay más fichas seleccionadas que repasar\r\r"
                                     "La sesión de repaso ha durado   00:01:30\r\r"
                                     "Se han repasado 2 fichas.\r\r"
                                     "    *  Correctas: 1 fichas.   ( 50 % )\r\r"
                                     "    *  Incorrectas: 1 fichas.   ( 50 % )\r\r"
                                     "Tiempo medio dedicado a cada ficha: 45 segundos.");

    const Card right = stored("Capitales", "¿Capital de Francia?");
    EXPECT_EQ(right.level, 4);
    EXPECT_EQ(right.lastReview, "20050309");
    EXPECT_EQ(right.total, 5);
    EXPECT_EQ(right.nextReview, "20050330");
    const Card wrong = stored("Capitales", "¿Capital de Italia?");
    EXPECT_EQ(wrong.level, 1);
    EXPECT_EQ(wrong.lastReview, "20050309");
    EXPECT_EQ(wrong.total, 5);
    EXPECT_EQ(wrong.nextReview, "20050310");
    const Card untouched = stored("Capitales", "¿Capital de Suiza?");
    EXPECT_EQ(untouched.level, 2);
    EXPECT_EQ(untouched.total, 0);
    EXPECT_TRUE(program->state().pendingCards.isEmpty());
}

TEST_F(ReviewScreensTest, LeavingAtOnceChangesNoCard) {
    const QString path = makeStudyFile("Curso", {{"A", "", 1, "", 0, ""}, {"B", "", 2, "", 0, ""}});
    startWith(path);
    ui.queueScreen("TSelecc_Repaso_", press(&TSelecc_Repaso_::Button1));
    ui.queueScreen("TRepasar_", [&](QDialog& d) {
        clock.advanceSeconds(7);
        asReview(d).Button4->click();
        return d.result();
    });
    main().Label6Click();
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages().first(),
              "La sesión de repaso ha durado   00:00:07\r\rNo se han repasado fichas.");
    EXPECT_EQ(stored("Curso", "A").total, 0);
    EXPECT_EQ(stored("Curso", "B").level, 2);
}

// A second answer on the same day counts but changes nothing; a session left early has no
// "no more cards" line.
TEST_F(ReviewScreensTest, SameDaySecondAnswerCountsButChangesNothing) {
    clock.setNow(QDateTime(QDate(2024, 3, 5), QTime(9, 0, 0)));
    const QString path = makeStudyFile("Curso", {{"A", "", 4, "20240305", 7, "20240401"},
                                                 {"B", "", 1, "", 0, ""},
                                                 {"C", "", 5, "", 0, ""}});
    startWith(path);
    ui.queueScreen("TSelecc_Repaso_", press(&TSelecc_Repaso_::Button1));
    ui.queueScreen("TRepasar_", [&](QDialog& d) {
        TRepasar_& r = asReview(d);
        EXPECT_EQ(r.DBText1->text(), "B");
        r.Button7->click();
        EXPECT_EQ(r.DBText1->text(), "A");
        r.Button6->click();
        EXPECT_EQ(r.counters().reviewed, 2);
        EXPECT_EQ(r.counters().correct, 1);
        EXPECT_EQ(r.counters().incorrect, 1);
        EXPECT_EQ(r.counters().pending, 1);
        r.Button2->click();
        return d.result();
    });
    main().Label6Click();
    const Card a = stored("Curso", "A");
    EXPECT_EQ(a.level, 4);
    EXPECT_EQ(a.total, 7);
    EXPECT_EQ(a.nextReview, "20240401");
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(ui.messages().first().startsWith("La sesión de repaso ha durado"));
    EXPECT_TRUE(ui.messages().first().contains("Se han repasado 2 fichas."));
}

// The filter texts the selection screen builds, to the character, and the message when they
// leave no card (the screen stays open).
TEST_F(ReviewScreensTest, QuickSelectionFilterTextsAndNoCardMessage) {
    clock.setNow(QDateTime(QDate(2005, 3, 9), QTime(10, 0, 0)));
    const QString path = makeStudyFile(
        "Curso", {{"A", "", 2, "20050309", 1, "20050309"}, {"B", "", 5, "", 0, "20050301"}});
    startWith(path);
    ui.queueScreen("TSelecc_Repaso_", [&](QDialog& d) {
        TSelecc_Repaso_& s = asSelection(d);
        EXPECT_TRUE(s.RadioButton2->isChecked());
        EXPECT_FALSE(s.Button5->isEnabled());
        s.levelBoxes[1]->click();
        s.levelBoxes[2]->click();
        s.CheckBox9->setChecked(false);
        s.Button1->click();
        EXPECT_EQ(cards().filter(), " ( Nive_Fich = 2 or Nive_Fich = 3 ) and  (Nive_fich <> 0 ) "
                                    "and (Fech_Ulti_Repa <> 20050309)");
        // Card A was changed today: nothing left, the screen stays, still in quick selection.
        EXPECT_EQ(ui.messages().size(), 1);
        EXPECT_EQ(d.result(), QDialog::Rejected);
        EXPECT_TRUE(s.RadioButton2->isChecked());
        s.levelBoxes[1]->click();
        s.levelBoxes[2]->click();
        s.Button4->click();
        return d.result();
    });
    ui.queueScreen("TRepasar_", [&](QDialog& d) {
        EXPECT_EQ(cards().filter(), "Fech_Prox_Repa <= '20050309' and  (Nive_fich <> 0 ) and "
                                    "(Fech_Ulti_Repa <> 20050309)");
        EXPECT_EQ(asReview(d).DBText1->text(), "B");
        asReview(d).Button4->click();
        return d.result();
    });
    main().Label6Click();
    ASSERT_GE(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages().first(), review::kNoCardsMessage);
    EXPECT_EQ(ui.screens().count("TRepasar_"), 1);
    // The level choices follow the boxes, and stay for the run.
    EXPECT_EQ(program->state().levelChoices, review::LevelChoices{});
}

// After its own "no card" message the selection screen keeps the mode and levels the learner
// chose: a second "Repasar" reviews those levels, not every card.
TEST_F(ReviewScreensTest, NoCardMessageThenRepasarKeepsTheLevels) {
    clock.setNow(QDateTime(QDate(2005, 3, 9), QTime(10, 0, 0)));
    const QString path = makeStudyFile(
        "Curso", {{"A", "", 2, "20050309", 1, "20050309"}, {"B", "", 5, "", 0, "20050301"}});
    startWith(path);
    QStringList seen;
    ui.queueScreen("TSelecc_Repaso_", [&](QDialog& d) {
        TSelecc_Repaso_& s = asSelection(d);
        s.levelBoxes[1]->click();
        s.CheckBox9->setChecked(false);
        s.Button1->click();
        EXPECT_EQ(ui.messages(), QStringList{review::kNoCardsMessage});
        s.CheckBox9->setChecked(true);
        s.Button1->click();
        return d.result();
    });
    ui.queueScreen("TRepasar_", [&](QDialog& d) {
        seen << asReview(d).Label2->text() << asReview(d).DBText1->text() << cards().filter();
        asReview(d).Button4->click();
        return d.result();
    });
    main().Label6Click();
    EXPECT_EQ(seen, QStringList({"Fichas Seleccionadas: 1", "A",
                                 " ( Nive_Fich = 2 ) and  (Nive_fich <> 0 ) "}));
}

TEST_F(ReviewScreensTest, QuickSelectionWithNoLevelReviewsEveryLevelIgnoringDueDates) {
    const QString path = makeStudyFile("Curso", {{"A", "", 3, "", 0, "20991231"},
                                                 {"P", "", 0, "", 0, ""},
                                                 {"B", "", 1, "", 0, "20991231"}});
    startWith(path);
    QStringList seen;
    ui.queueScreen("TSelecc_Repaso_", press(&TSelecc_Repaso_::Button1));
    ui.queueScreen("TRepasar_", [&](QDialog& d) {
        EXPECT_EQ(cards().filter(), " (Nive_fich <> 0 ) ");
        TRepasar_& r = asReview(d);
        seen << r.DBText1->text();
        r.Button6->click();
        seen << r.DBText1->text();
        r.Button6->click();
        return d.result();
    });
    main().Label6Click();
    // Table order: lowest level first; the parked card is never shown.
    EXPECT_EQ(seen, QStringList({"B", "A"}));
    EXPECT_TRUE(ui.messages().value(0).startsWith("No hay más fichas seleccionadas"));
}

// Entry 3: the due condition with the bare date, never the same-day condition, and the filter
// put back at the next activation of the main screen.
TEST_F(ReviewScreensTest, TimedReviewAddsOnlyTheDueConditionAndRestoresTheFilter) {
    clock.setNow(QDateTime(QDate(2005, 3, 9), QTime(10, 0, 0)));
    const QString path = makeStudyFile("Curso", {{"A", "", 2, "20050309", 1, "20050309"}});
    startWith(path);
    selection().CheckBox9->setChecked(false);
    cards().setFilter(QString());
    ui.queueScreen("TRepasar_", [&](QDialog& d) {
        EXPECT_EQ(cards().filter(), "( Nive_Fich <> 0 )  and (Fech_Prox_Repa <= 20050309)");
        asReview(d).Button4->click();
        return d.result();
    });
    main().Label32Click();
    EXPECT_EQ(ui.screens(), QStringList({"TRepasar_", "TMensaje"}));
    // The main screen's activation ran when the review closed.
    EXPECT_EQ(cards().filter(), "( Nive_Fich <> 0 ) ");
    EXPECT_TRUE(program->state().savedTimedReviewFilter.isEmpty());
}

TEST_F(ReviewScreensTest, TimedReviewWithNothingDueShowsTheMessage) {
    clock.setNow(QDateTime(QDate(2005, 3, 9), QTime(10, 0, 0)));
    const QString path = makeStudyFile("Curso", {{"A", "", 2, "", 0, "20050310"}});
    startWith(path);
    main().Label32Click();
    EXPECT_EQ(ui.messages(), QStringList({review::kNoCardsMessage}));
    EXPECT_EQ(ui.screens().count("TRepasar_"), 0);
}

TEST_F(ReviewScreensTest, EntriesTwoAndThreeNeedAnOpenStudyFile) {
    start();
    ui.clearRecords();
    main().Label6Click();
    main().Label32Click();
    EXPECT_EQ(ui.messages(), QStringList({"No hay ningún Fichero de Estudio abierto.",
                                          "No hay ningún Fichero de Estudio abierto."}));
    EXPECT_EQ(ui.screens(), QStringList({"TMensaje", "TMensaje"}));
}

// The due-date button follows the timed review preference; the selection screen preselects
// window selection when the card table carries another filter.
TEST_F(ReviewScreensTest, SelectionScreenActivation) {
    const QString path = makeStudyFile("Curso", {{"A", "", 1, "", 0, ""}});
    startWith(path);
    EXPECT_FALSE(selection().RadioButton1->isChecked());
    EXPECT_FALSE(selection().RadioButton2->isChecked());
    program->state().prefs.timedReviewEnabled = false;
    cards().setFilter("Nive_Fich = 1");
    ui.queueScreen("TSelecc_Repaso_", [](QDialog& d) {
        TSelecc_Repaso_& s = asSelection(d);
        EXPECT_FALSE(s.Button4->isEnabled());
        EXPECT_TRUE(s.RadioButton1->isChecked());
        EXPECT_TRUE(s.Button5->isEnabled());
        for (QCheckBox* box : s.levelBoxes)
            EXPECT_FALSE(box->isEnabled());
        s.RadioButton2->click();
        EXPECT_FALSE(s.Button5->isEnabled());
        for (QCheckBox* box : s.levelBoxes)
            EXPECT_TRUE(box->isEnabled());
        s.Button2->click();
        return d.result();
    });
    main().Label6Click();
    EXPECT_EQ(ui.screens(), QStringList({"TSelecc_Repaso_"}));
}

// A five-minute break in a session is left out of the clock and of the average.
TEST_F(ReviewScreensTest, BreakIsLeftOutOfClockAndSummary) {
    const QString path = makeStudyFile("Curso", {{"A", "", 1, "", 0, ""}});
    startWith(path);
    ui.queueScreen("TSelecc_Repaso_", press(&TSelecc_Repaso_::Button1));
    ui.queueScreen("TDescanso_", [&](QDialog& d) {
        EXPECT_FALSE(review().Timer_n_Repaso->enabled());
        // The timer fires again while the break screen is open: no second break screen.
        main().Timer_DescansoTimer();
        clock.advanceSeconds(300);
        static_cast<TDescanso_&>(d).Button1->click();
        return d.result();
    });
    ui.queueScreen("TRepasar_", [&](QDialog& d) {
        TRepasar_& r = asReview(d);
        EXPECT_TRUE(r.Button12->isEnabled());
        clock.advanceSeconds(10);
        r.Button12->click();
        EXPECT_EQ(main().Timer_Descanso->interval(), 99);
        EXPECT_TRUE(main().Timer_Descanso->enabled());
        main().Timer_DescansoTimer();
        EXPECT_TRUE(r.Timer_n_Repaso->enabled());
        clock.advanceSeconds(10);
        r.Timer_n_RepasoTimer();
        EXPECT_EQ(r.Label12->text(), "00:00:20");
        r.Button6->click();
        return d.result();
    });
    main().Label6Click();
    EXPECT_EQ(ui.screens().count("TDescanso_"), 1);
    // Periodic breaks: the next one after the period.
    EXPECT_EQ(main().Timer_Descanso->interval(), 30 * 60000);
    EXPECT_TRUE(program->state().breaks.breakAllowed);
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(ui.messages().first().contains("ha durado   00:00:20"));
    EXPECT_TRUE(ui.messages().first().endsWith("Tiempo medio dedicado a cada ficha: 20 segundos."));
}

TEST_F(ReviewScreensTest, DefinedSequenceStopsAfterTheSixthBreak) {
    start();
    RunState& state = program->state();
    state.prefs.periodicBreaks = false;
    state.prefs.breakSchedule = {30, 35, 31, 32, 33, 34, 36};
    ui.onScreen("TDescanso_", [](QDialog& d) {
        static_cast<TDescanso_&>(d).Button1->click();
        return d.result();
    });
    std::vector<int> intervals;
    for (int i = 0; i < 5; ++i) {
        main().Timer_DescansoTimer();
        intervals.push_back(main().Timer_Descanso->interval());
        EXPECT_TRUE(main().Timer_Descanso->enabled());
    }
    EXPECT_EQ(intervals,
              (std::vector<int>{31 * 60000, 32 * 60000, 33 * 60000, 34 * 60000, 36 * 60000}));
    main().Timer_DescansoTimer(); // the sixth
    EXPECT_FALSE(main().Timer_Descanso->enabled());
    EXPECT_EQ(state.breaks.breakNumber, 7);
    // "Descansar" after that still opens the break screen; the timer stops again.
    review().Button12Click();
    EXPECT_TRUE(main().Timer_Descanso->enabled());
    main().Timer_DescansoTimer();
    EXPECT_FALSE(main().Timer_Descanso->enabled());
    EXPECT_EQ(ui.screens().count("TDescanso_"), 7);
}

TEST_F(ReviewScreensTest, BreakRemindersOffOpenNoBreakScreen) {
    const QString path = makeStudyFile("Curso", {{"A", "", 1, "", 0, ""}});
    startWith(path);
    program->state().prefs.breakRemindersEnabled = false;
    main().Timer_DescansoTimer();
    EXPECT_TRUE(ui.screens().isEmpty());
    ui.queueScreen("TSelecc_Repaso_", press(&TSelecc_Repaso_::Button1));
    ui.queueScreen("TRepasar_", [](QDialog& d) {
        EXPECT_FALSE(asReview(d).Button12->isEnabled());
        asReview(d).Button4->click();
        return d.result();
    });
    main().Label6Click();
    EXPECT_EQ(ui.screens().count("TDescanso_"), 0);
}

// A blink notice during a session: the review screen keeps its page and counters.
TEST_F(ReviewScreensTest, BlinkNoticeLeavesTheReviewAsItWas) {
    const QString path = makeStudyFile("Curso", {{"A", "", 1, "", 0, ""}, {"B", "", 1, "", 0, ""}});
    startWith(path);
    ui.queueScreen("TSelecc_Repaso_", press(&TSelecc_Repaso_::Button1));
    ui.queueScreen("TRepasar_", [&](QDialog& d) {
        TRepasar_& r = asReview(d);
        r.Button6->click();
        r.Button1->click();
        main().Timer_ParpadeoTimer();
        program->parpadeo_Aviso().Timer1Timer();
        EXPECT_EQ(r.PageControl1->currentWidget(), r.Respuesta);
        EXPECT_EQ(r.counters().reviewed, 1);
        EXPECT_FALSE(program->state().skipNextActivation);
        r.Button2->click();
        return d.result();
    });
    main().Label6Click();
    EXPECT_TRUE(ui.messages().value(0).contains("Se han repasado 1 fichas."));
}

// The blink notice shows without taking the focus. When it hides it clears the flag it set and
// activates nothing: no screen lost the focus to it.
TEST_F(ReviewScreensTest, BlinkNoticeDisappearsAndActivatesNothing) {
    start();
    TParpadeo_Aviso_& notice = program->parpadeo_Aviso();
    main().Timer_ParpadeoTimer();
    EXPECT_TRUE(notice.isVisible());
    EXPECT_FALSE(notice.isModal());
    EXPECT_TRUE(notice.Timer1->enabled());
    EXPECT_EQ(notice.Timer1->interval(), 3000);
    EXPECT_TRUE(program->state().skipNextActivation);
    // A message closes while the notice is on view: the main screen regains the focus.
    program->Ver_Mensaje("Aviso");
    clock.advanceDays(1);
    notice.Timer1Timer();
    EXPECT_FALSE(notice.isVisible());
    EXPECT_FALSE(notice.Timer1->enabled());
    EXPECT_FALSE(program->state().skipNextActivation);
    EXPECT_EQ(program->state().todayKey, "20240305") << "the main screen was not activated";

    // The flag goes with the notice also when nothing took it.
    main().Timer_ParpadeoTimer();
    notice.Timer1Timer();
    EXPECT_FALSE(program->state().skipNextActivation);
    EXPECT_EQ(program->state().todayKey, "20240305");
}

// A screen opened while the blink notice is on view runs its whole opening activation, whatever
// an earlier opening left in it; the flag stays for the notice to clear.
TEST_F(ReviewScreensTest, ScreensOpenedDuringTheBlinkNoticeRunTheirOpening) {
    const QString path = makeStudyFile("Curso", {{"A", "", 1, "", 0, ""}, {"B", "", 1, "", 0, ""}});
    startWith(path);
    TParpadeo_Aviso_& notice = program->parpadeo_Aviso();
    QImage small(300, 200, QImage::Format_RGB32);
    small.fill(Qt::blue);
    QImage large(1200, 900, QImage::Format_RGB32);
    large.fill(Qt::red);
    QTextDocument document;
    document.setPlainText("Texto");

    struct Case {
        const char* screen;
        // Leaves the screen as an earlier opening does (no notice on view).
        std::function<void()> earlier;
        // Opens it again (the notice on view).
        std::function<void()> open;
        // What its activation must have set; closes it.
        std::function<int(QDialog&)> check;
    };
    const std::vector<Case> cases = {
        {"TRepasar_",
         [&] {
             // A session left on the answer page of its second card.
             ui.queueScreen("TSelecc_Repaso_", press(&TSelecc_Repaso_::Button1));
             ui.queueScreen("TRepasar_", [](QDialog& d) {
                 asReview(d).Button6->click();
                 asReview(d).Button1->click();
                 asReview(d).Button2->click();
                 return d.result();
             });
             main().Label6Click();
         },
         [&] {
             // The notice comes while the selection screen is open, right before "Repasar".
             ui.queueScreen("TSelecc_Repaso_", [&](QDialog& d) {
                 main().Timer_ParpadeoTimer();
                 return press(&TSelecc_Repaso_::Button1)(d);
             });
             main().Label6Click();
         },
         [](QDialog& d) {
             TRepasar_& r = asReview(d);
             EXPECT_EQ(r.PageControl1->currentWidget(), r.Pregunta);
             EXPECT_EQ(r.DBText1->text(), "B") << "A went up a level: B comes first";
             EXPECT_EQ(r.counters().reviewed, 0);
             EXPECT_EQ(r.Label1->text(), "Fichas ya Repasadas: 0");
             EXPECT_EQ(r.Label2->text(), "Fichas Seleccionadas: 2");
             r.Button4->click();
             return d.result();
         }},
        {"TSelecc_Repaso_",
         [&] {
             ui.queueScreen("TSelecc_Repaso_", press(&TSelecc_Repaso_::Button2));
             main().Label6Click();
             program->state().prefs.timedReviewEnabled = false;
         },
         [&] { main().Label6Click(); },
         [&](QDialog& d) {
             EXPECT_FALSE(asSelection(d).Button4->isEnabled());
             program->state().prefs.timedReviewEnabled = true;
             return d.result();
         }},
        {"TText_Zoom_", [&] { program->text_Zoom().show(document, true); },
         [&] { program->text_Zoom().show(document, false); },
         [](QDialog& d) {
             auto& z = static_cast<TText_Zoom_&>(d);
             EXPECT_TRUE(z.RichEdit1->isReadOnly());
             EXPECT_FALSE(z.Button1->isVisibleTo(&z));
             return d.result();
         }},
        {"TImag_Zoom_",
         [&] {
             program->imag_Zoom().show(picture::Picture::fromImage(small),
                                       picture_number::reviewQuestion);
         },
         [&] {
             program->imag_Zoom().show(picture::Picture::fromImage(large),
                                       picture_number::reviewQuestion);
         },
         [](QDialog& d) {
             auto& z = static_cast<TImag_Zoom_&>(d);
             EXPECT_EQ(z.Image1->picture().width(), 1200);
             EXPECT_LE(z.Image1->width(), z.Panel1->width()) << "fitted";
             return d.result();
         }},
        {"TConfigura_Progr_",
         [&] {
             ui.queueScreen("TConfigura_Progr_", [](QDialog& d) {
                 static_cast<TConfigura_Progr_&>(d).MaskEdit[1]->setText("77");
                 return d.result();
             });
             main().Label17Click();
         },
         [&] { main().Label17Click(); },
         [](QDialog& d) {
             EXPECT_EQ(static_cast<TConfigura_Progr_&>(d).MaskEdit[1]->text(), "0");
             return d.result();
         }},
        {"TDescanso_", [&] { review().resumeClock(); },
         [&] {
             review().Button12Click();
             main().Timer_DescansoTimer();
         },
         [&](QDialog& d) {
             EXPECT_FALSE(review().Timer_n_Repaso->enabled()) << "the review clock stopped";
             static_cast<TDescanso_&>(d).Button1->click();
             return d.result();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.screen);
        c.earlier();
        ui.clearRecords();
        main().Timer_ParpadeoTimer();
        ui.queueScreen(c.screen, [&](QDialog& d) {
            EXPECT_TRUE(program->state().skipNextActivation) << "the opening left the flag";
            return c.check(d);
        });
        c.open();
        EXPECT_EQ(ui.screens().count(c.screen), 1);
        EXPECT_TRUE(ui.errors().isEmpty()) << ui.errors().join("|").toStdString();
        notice.Timer1Timer();
        EXPECT_FALSE(program->state().skipNextActivation);
    }
}

TEST_F(ReviewScreensTest, ZoomsFromTheReviewScreen) {
    const QString path = makeStudyFile("Curso", {{"A", "", 1, "", 0, ""}});
    startWith(path);
    ui.queueScreen("TSelecc_Repaso_", press(&TSelecc_Repaso_::Button1));
    ui.queueScreen("TText_Zoom_", [](QDialog& d) {
        auto& z = static_cast<TText_Zoom_&>(d);
        EXPECT_TRUE(z.RichEdit1->isReadOnly());
        EXPECT_FALSE(z.Button1->isVisibleTo(&z));
        EXPECT_EQ(z.RichEdit1->toPlainText(), "Texto largo");
        z.Button2->click();
        return d.result();
    });
    ui.queueScreen("TImag_Zoom_", [](QDialog& d) {
        auto& z = static_cast<TImag_Zoom_&>(d);
        EXPECT_EQ(z.Image1->picture().width(), 1200);
        EXPECT_GE(z.Image1->y(), 2);
        EXPECT_LE(z.Image1->width(), z.Panel1->width());
        EXPECT_LE(z.Image1->height(), z.Panel1->height());
        z.accept();
        return d.result();
    });
    ui.queueScreen("TRepasar_", [&](QDialog& d) {
        TRepasar_& r = asReview(d);
        r.Button1->click();
        r.RichEdit1->setPlainText("Texto largo");
        r.Button5->click();
        // An empty picture opens no zoom.
        r.Image1Click();
        QImage image(1200, 900, QImage::Format_RGB32);
        image.fill(Qt::red);
        r.Image1->setPicture(picture::Picture::fromImage(image));
        r.Image1Click();
        EXPECT_EQ(program->imag_Zoom().source(), picture_number::reviewQuestion);
        // Coming back shows the question page and keeps the counters.
        EXPECT_EQ(r.PageControl1->currentWidget(), r.Pregunta);
        EXPECT_EQ(r.counters().pending, 1);
        r.Button4->click();
        return d.result();
    });
    main().Label6Click();
    EXPECT_EQ(ui.screens(), QStringList({"TSelecc_Repaso_", "TRepasar_", "TText_Zoom_",
                                         "TImag_Zoom_", "TMensaje"}));
}

TEST_F(ReviewScreensTest, EditableTextZoomLeftWithEscDiscards) {
    start();
    TText_Zoom_& zoom = program->text_Zoom();
    QTextDocument document;
    document.setPlainText("Antes");
    ui.queueScreen("TText_Zoom_", [](QDialog& d) {
        auto& z = static_cast<TText_Zoom_&>(d);
        EXPECT_FALSE(z.RichEdit1->isReadOnly());
        EXPECT_TRUE(z.Button1->isVisibleTo(&z));
        EXPECT_EQ(z.RichEdit1->toPlainText(), "Antes");
        z.RichEdit1->setPlainText("Cambiado");
        QTest::keyClick(z.RichEdit1, Qt::Key_Escape);
        return d.result();
    });
    EXPECT_FALSE(zoom.show(document, true));
    EXPECT_FALSE(zoom.saveRequested());
    EXPECT_EQ(document.toPlainText(), "Antes");
    ui.queueScreen("TText_Zoom_", [](QDialog& d) {
        auto& z = static_cast<TText_Zoom_&>(d);
        z.RichEdit1->setPlainText("Cambiado");
        z.Button1->click();
        return d.result();
    });
    EXPECT_TRUE(zoom.show(document, true));
    EXPECT_TRUE(zoom.saveRequested());
    EXPECT_EQ(document.toPlainText(), "Cambiado");
}

// The creation screen's "&Zoom" edits the description in the text zoom; its picture opens the
// image zoom.
TEST_F(ReviewScreensTest, CreationScreenZooms) {
    start();
    TCrea_Fiche_& crea = program->crea_Fiche();
    crea.RichEdit1->setPlainText("Antes");
    ui.queueScreen("TText_Zoom_", [](QDialog& d) {
        auto& z = static_cast<TText_Zoom_&>(d);
        EXPECT_FALSE(z.RichEdit1->isReadOnly());
        EXPECT_EQ(z.RichEdit1->toPlainText(), "Antes");
        z.RichEdit1->setPlainText("Cambiado");
        z.Button2->click();
        return d.result();
    });
    crea.Button12->click();
    EXPECT_EQ(crea.RichEdit1->toPlainText(), "Antes");
    ui.queueScreen("TText_Zoom_", [](QDialog& d) {
        auto& z = static_cast<TText_Zoom_&>(d);
        z.RichEdit1->setPlainText("Cambiado");
        z.Button1->click();
        return d.result();
    });
    crea.Button12->click();
    EXPECT_EQ(crea.RichEdit1->toPlainText(), "Cambiado");
    EXPECT_FALSE(program->text_Zoom().editable());

    crea.Image1Click();
    EXPECT_EQ(ui.screens().count("TImag_Zoom_"), 0);
    QImage image(300, 200, QImage::Format_RGB32);
    image.fill(Qt::blue);
    crea.Image1->setPicture(picture::Picture::fromImage(image));
    ui.queueScreen("TImag_Zoom_", [](QDialog& d) {
        auto& z = static_cast<TImag_Zoom_&>(d);
        // Smaller than the zoom area: its own size, centred.
        EXPECT_EQ(z.Image1->size(), QSize(300, 200));
        EXPECT_EQ(z.Image1->x(), (z.Panel1->width() - 300) / 2);
        return d.result();
    });
    crea.Image1Click();
    EXPECT_EQ(program->imag_Zoom().source(), picture_number::creation);
    EXPECT_EQ(ui.screens().count("TImag_Zoom_"), 1);
}

// The layout follows the design of the open study file: a long answer beside the answer picture,
// the short answer hidden; the long answer shown through the loader.
TEST_F(ReviewScreensTest, LayoutFollowsTheDesignOptions) {
    studyfile::DesignOptions design;
    design.answerImage = true;
    design.longAnswerText = true;
    design.shortAnswerSize = 0;
    const QString path = makeStudyFile("Largo", {{"A", "", 1, "", 0, ""}}, design);
    startWith(path);
    ui.queueScreen("TSelecc_Repaso_", press(&TSelecc_Repaso_::Button1));
    ui.queueScreen("TRepasar_", [&](QDialog& d) {
        TRepasar_& r = asReview(d);
        EXPECT_FALSE(r.Label7->isVisibleTo(&r));
        EXPECT_EQ(r.RichEdit1->geometry(), QRect(12, 99, 481, 333));
        EXPECT_EQ(r.Button5->x(), 411);
        EXPECT_EQ(r.layout().answerPictureLeft, 498);
        EXPECT_EQ(r.layout().answerPictureNumber, 5);
        EXPECT_EQ(r.DBText1->y(), 99);
        r.Button4->click();
        return d.result();
    });
    main().Label6Click();
    EXPECT_EQ(ui.screens().count("TRepasar_"), 1);
}

TEST_F(ReviewScreensTest, ModifyingACardOfAClosedStudyFileIsRefused) {
    const QString path = makeStudyFile("Curso", {{"A", "", 1, "", 0, ""}});
    startWith(path);
    program->data().design.modifiable = false;
    review().Button11Click();
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages().first(),
              "El autor/a inicial de este Fichero de Estudio no \r\rautoriza "
              "la modificación ni el borrado de sus fichas.");
    EXPECT_FALSE(program->state().reviewEdit);
}

// "Tipo de letra": the chosen font becomes the stored font style and the question's font.
TEST_F(ReviewScreensTest, FontDialogStoresTheFontStyle) {
    start();
    QFont chosen(QStringLiteral("DejaVu Serif"));
    chosen.setPixelSize(30);
    ui.queueFont(chosen);
    review().Button9Click();
    EXPECT_TRUE(QFile::exists(folder.filePath("01.stl")));
    EXPECT_EQ(review().DBText1->font().family(), chosen.family());
    // The style file keeps sizes in points: 30 pixels are 22.5 points.
    EXPECT_DOUBLE_EQ(review().DBText1->font().pointSizeF(), 22.5);
    EXPECT_DOUBLE_EQ(program->data().fontStyle.font.pointSizeF(), 22.5);
    // Cancelled: nothing changes.
    ui.queueFont(std::nullopt);
    review().Button9Click();
    EXPECT_DOUBLE_EQ(review().Label7->font().pointSizeF(), 22.5);
}

// After a quick-selection session the selection screen stays in quick selection, and the main
// screen puts the saved selection filter back: with no selection built, the base filter the study
// file was opened with. The session's levels and same-day condition stay behind, so entry 3
// afterwards takes every due card of level 1 and above (also one answered today), and level-0
// cards stay hidden.
TEST_F(ReviewScreensTest, QuickSelectionHandsTheFilterBack) {
    clock.setNow(QDateTime(QDate(2005, 3, 9), QTime(10, 0, 0)));
    const QString path = makeStudyFile("Curso", {{"A", "", 1, "", 0, ""},
                                                 {"B", "", 2, "20050301", 1, "20050301"},
                                                 {"C", "", 3, "20050309", 2, "20050309"},
                                                 {"P", "", 0, "", 0, ""}});
    startWith(path);
    struct Case {
        std::vector<int> levels;
        bool sameDay;
    };
    const Case cases[] = {{{2}, true}, {{}, false}, {{1, 3}, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.levels.size() * 10 + (c.sameDay ? 1 : 0));
        ui.queueScreen("TSelecc_Repaso_", [&](QDialog& d) {
            TSelecc_Repaso_& s = asSelection(d);
            for (int level = 1; level <= 8; ++level) {
                QCheckBox* box = s.levelBoxes[static_cast<std::size_t>(level - 1)];
                const bool wanted =
                    std::find(c.levels.begin(), c.levels.end(), level) != c.levels.end();
                if (box->isChecked() != wanted)
                    box->click();
            }
            s.CheckBox9->setChecked(c.sameDay);
            return press(&TSelecc_Repaso_::Button1)(d);
        });
        ui.queueScreen("TRepasar_", [](QDialog& d) {
            asReview(d).Button4->click();
            return d.result();
        });
        main().Label6Click();
        EXPECT_EQ(ui.screens().count("TRepasar_"), 1);
        EXPECT_TRUE(selection().RadioButton2->isChecked());
        EXPECT_EQ(cards().filter(), studyfile::kBaseFilter);
        EXPECT_EQ(cards().recordCount(), 3);

        QStringList seen;
        ui.queueScreen("TRepasar_", [&](QDialog& d) {
            seen << cards().filter() << asReview(d).Label2->text();
            asReview(d).Button4->click();
            return d.result();
        });
        main().Label32Click();
        EXPECT_EQ(seen, QStringList({studyfile::kBaseFilter + " and (Fech_Prox_Repa <= 20050309)",
                                     "Fichas Seleccionadas: 3"}));
        EXPECT_EQ(cards().filter(), studyfile::kBaseFilter);
        ui.clearRecords();
    }
}

// A card table left without a filter (no screen of the review leaves it so) preselects window
// selection. Its selection filter is the base filter set when the study file was opened, so
// neither start button brings the parked level-0 card into the session.
TEST_F(ReviewScreensTest, WindowSelectionWithoutASelectionNeverReviewsLevelZero) {
    clock.setNow(QDateTime(QDate(2005, 3, 9), QTime(10, 0, 0)));
    const QString path = makeStudyFile("Curso", {{"A", "", 1, "", 0, ""}, {"P", "", 0, "", 0, ""}});
    startWith(path);
    ui.queueScreen("TSelecc_Repaso_", press(&TSelecc_Repaso_::Button1));
    ui.queueScreen("TRepasar_", [](QDialog& d) {
        asReview(d).Button4->click();
        return d.result();
    });
    main().Label6Click();
    ASSERT_EQ(cards().filter(), studyfile::kBaseFilter) << "the quick selection's hand-back";

    for (QPushButton* TSelecc_Repaso_::*button :
         {&TSelecc_Repaso_::Button1, &TSelecc_Repaso_::Button4}) {
        cards().setFilter(QString());
        QStringList seen;
        ui.queueScreen("TSelecc_Repaso_", [button](QDialog& d) {
            EXPECT_TRUE(asSelection(d).RadioButton1->isChecked());
            return press(button)(d);
        });
        ui.queueScreen("TRepasar_", [&](QDialog& d) {
            seen << asReview(d).DBText1->text() << asReview(d).Label2->text();
            asReview(d).Button4->click();
            return d.result();
        });
        main().Label6Click();
        EXPECT_TRUE(ui.errors().isEmpty()) << ui.errors().join("|").toStdString();
        EXPECT_EQ(seen, QStringList({"A", "Fichas Seleccionadas: 1"}));
    }
}

// Every screen of the review cycle lays its controls out inside the 1024 x 768 design area.
TEST_F(ReviewScreensTest, ScreensFitTheDesignArea) {
    start();
    QList<QWidget*> screens = {&review(), &selection(), &program->descanso(),
                               &program->parpadeo_Aviso(), &program->text_Zoom()};
    for (QWidget* screen : screens) {
        screen->resize(1024, 768);
        for (QWidget* w : screen->findChildren<QWidget*>()) {
            if (w->isWindow() || !w->isVisibleTo(screen) || w->objectName().isEmpty() ||
                w->size().isEmpty())
                continue;
            const QRect r(w->mapTo(screen, QPoint(0, 0)), w->size());
            EXPECT_TRUE(QRect(0, 0, 1024, 768).contains(r))
                << screen->objectName().toStdString() << " " << w->objectName().toStdString();
        }
#ifdef ORBANEL_TEST_OUTPUT
        QDir().mkpath(ORBANEL_TEST_OUTPUT);
        screen->grab().save(QDir(ORBANEL_TEST_OUTPUT).filePath(screen->objectName() + ".png"));
#endif
    }
}

// A compressed study file with a card whose packed short answer is garbage: each load of that
// card shows the damaged-data message, and no activation that follows the message sets a filter
// over and over. Entry 3 runs only over its own filter: when the activation after the message has
// put the saved filter back, no session starts.
TEST_F(ReviewScreensTest, DamagedFirstCardOfTheTimedReview) {
    clock.setNow(QDateTime(QDate(2005, 3, 9), QTime(10, 0, 0)));
    studyfile::DesignOptions design;
    design.compressed = true;
    struct Case {
        const char* name;
        std::vector<Card> cards; // the card "D" is damaged
        int messages;
    };
    const Case cases[] = {
        // D is the first due card; the first card of the base filter is sound: one message.
        {"PrimeraPendiente",
         {{"G", "g", 1, "", 0, "20991231"},
          {"D", "d", 2, "", 0, "20050309"},
          {"H", "h", 3, "", 0, "20991231"}},
         1},
        // D is first under both filters: loaded by the session filter and again by the base
        // filter put back.
        {"PrimeraDeTodas", {{"D", "d", 1, "", 0, "20050309"}, {"N", "n", 2, "", 0, "20991231"}}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = makeStudyFile(c.name, c.cards, design);
        {
            table::Table t;
            t.open(dat(), QString(c.name) + ".DB");
            for (t.first(); !t.eof(); t.next()) {
                if (t.fieldByName("Preg_Text").asString() != "D")
                    continue;
                t.edit();
                t.fieldByName("Ficha_Comp_Encr").setString("S");
                t.fieldByName("Resp_Text").setBytes("esto no es un contenedor");
                t.post();
                break;
            }
        }
        program.reset();
        startWith(path);
        ui.setMessageLimit(10);
        main().Label32Click();
        EXPECT_TRUE(ui.errors().isEmpty()) << ui.errors().join("|").toStdString();
        EXPECT_TRUE(ui.unexpected().isEmpty()) << ui.unexpected().join("|").toStdString();
        EXPECT_EQ(ui.messages(), QStringList(c.messages, studyfile::kDamagedMessage));
        EXPECT_EQ(ui.screens().count("TRepasar_"), 0);
        EXPECT_EQ(cards().filter(), studyfile::kBaseFilter);
        EXPECT_TRUE(program->state().savedTimedReviewFilter.isEmpty());
        ui.setMessageLimit(0);
    }
}
