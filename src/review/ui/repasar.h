// The review screen: one review session over the cards the selection chose. It shows each card's
// question, then its answer, takes the learner's verdict, applies the schedule rule and moves on;
// when it closes it shows the session summary.
#pragma once

#include "app/screen_kit.h"
#include "review/review_layout.h"
#include "review/schedule.h"
#include "review/session.h"

class PictureBox;
class QCheckBox;
class QLabel;
class QPushButton;
class QTabWidget;
class QTextEdit;
namespace platform {
class Timer;
}

class TRepasar_ : public ProgramDialog {
    Q_OBJECT
public:
    explicit TRepasar_(Program& program);

    // Start session: the card table carries the session filter and shows at least one card.
    // Fills the pending-card list, moves to its first card and opens the screen modally.
    void Inicia_Sesion();

    void FormShow() override;
    void FormActivate() override;

    void Button1Click();   // "  &Ver la Respuesta"
    void Button8Click();   // "&Ver Pregunta"
    void Button6Click();   // "&Correcta"
    void Button7Click();   // "I&ncorrecta"
    void Button4Click();   // "&Salir" (question page)
    void Button2Click();   // "&Salir" (answer page)
    void Button5Click();   // "&Zoom" of the long answer
    void Button9Click();   // "Tipo de letra"
    void Button11Click();  // "Modifica&r ficha"
    void Button12Click();  // "&Descansar"
    void CheckBox2Click(); // "Centrar"
    void Image1Click();
    void Image2Click();
    void Timer_n_RepasoTimer();
    // The session clock stops while the learner takes a break, and runs again after it.
    void pauseClock();
    void resumeClock();

    // Gives the question text and the short answer the stored font style.
    void Actualiza_Fuente();
    // Shows the current card of the card table: its fields, and the content the card content
    // loader put in the card view.
    void Muestra_Ficha();

    const review::SessionCounters& counters() const { return counters_; }
    const review::ReviewLayout& layout() const { return layout_; }

    QLabel* DBText2; // level
    QLabel* DBText3; // importance
    QLabel* DBText4; // card key
    QLabel* DBText5; // review count
    QLabel* Label12; // session clock
    QPushButton* Button11;
    QPushButton* Button12;
    QCheckBox* CheckBox2;
    QPushButton* Button9;
    QTabWidget* PageControl1;
    QWidget* Pregunta;
    QWidget* Respuesta;
    // Question page.
    QLabel* DBText1;
    PictureBox* Image1;
    QLabel *Label1, *Label13, *Label2;
    QPushButton* Button1;
    QPushButton* Button4;
    QPushButton* Button3;
    // Answer page.
    QLabel* Label7;
    QTextEdit* RichEdit1;
    QPushButton* Button5;
    PictureBox* Image2;
    QLabel *Label3, *Label14, *Label4;
    QPushButton* Button6;
    QPushButton* Button7;
    QPushButton* Button8;
    QPushButton* Button2;
    QPushButton* BitBtn1;

    platform::Timer* Timer_n_Repaso;

    // The summary is shown however the screen closes.
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void answer(review::Answer verdict);
    void refreshCounters();
    void showQuestionPage();
    void applyLayout();
    void clearCard();

    QWidget* panel_ = nullptr;
    review::SessionCounters counters_;
    review::ReviewLayout layout_;
    // Set when start session opened the screen: its first activation starts the session.
    bool opened_ = false;
    // The AutoInc of the card on show.
    qint64 shownCard_ = 0;
    // Set while the screen shows its summary and closes.
    bool closing_ = false;
};

// What the open study file's cards may hold, as the review screen lays itself out for it.
review::ReviewDesign reviewDesign(Program& program);
