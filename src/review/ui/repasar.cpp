#include "review/ui/repasar.h"

#include "app/prepara_imagen.h"
#include "app/ui.h"
#include "app/ui/panta_inicio.h"
#include "editing/ui/alta_fichas.h"
#include "platform/clock.h"
#include "platform/ui/picture_box.h"
#include "review/breaks.h"
#include "studyfile/ui/data_module.h"
#include "viewers/picture_fit.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>

using namespace kit;

review::ReviewDesign reviewDesign(Program& program) {
    const studyfile::DesignOptions& design = program.data().design;
    return {design.questionImage, design.answerImage, design.longAnswerText};
}

TRepasar_::TRepasar_(Program& program)
    : ProgramDialog(program, "TRepasar_", QStringLiteral("   Repaso"),
                    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                        Qt::WindowCloseButtonHint | Qt::WindowMaximizeButtonHint) {
    resize(1024, 768);
    panel_ = panel(this, "Panel1", QRect(0, 0, 1024, 768));
    centreDesignArea(panel_);
    const Px text{15, bold};
    const Px small{13, bold};

    // The card's data and the session's tools along the top.
    label(panel_, nullptr, QStringLiteral("Nivel en el FE: "), QRect(10, 6, 170, 24), text);
    DBText2 = label(panel_, "DBText2", QString(), QRect(180, 6, 60, 24), text);
    label(panel_, nullptr, QStringLiteral("Nivel de importancia: "), QRect(10, 32, 170, 24), text);
    DBText3 = label(panel_, "DBText3", QString(), QRect(180, 32, 60, 24), text);
    label(panel_, nullptr, QStringLiteral("Clave para clasificar:"), QRect(250, 6, 180, 24), text);
    DBText4 = label(panel_, "DBText4", QString(), QRect(430, 6, 130, 24), text);
    label(panel_, nullptr, QStringLiteral("Nº de repasos hechos:"), QRect(250, 32, 180, 24), text);
    DBText5 = label(panel_, "DBText5", QString(), QRect(430, 32, 130, 24), text);
    Button11 = button(panel_, "Button11", QStringLiteral("Modifica&r ficha"),
                      QRect(566, 4, 150, 26), small);
    Button12 =
        button(panel_, "Button12", QStringLiteral("&Descansar"), QRect(566, 33, 150, 26), small);
    CheckBox2 =
        check(panel_, "CheckBox2", QStringLiteral("Centrar"), QRect(730, 6, 110, 22), small);
    CheckBox2->setChecked(true);
    Button9 =
        button(panel_, "Button9", QStringLiteral("Tipo de letra"), QRect(726, 33, 120, 26), small);
    label(panel_, nullptr, QStringLiteral("Tiempo:"), QRect(862, 6, 150, 22), Px{14, bold});
    Label12 =
        label(panel_, "Label12", QStringLiteral("00:00:00"), QRect(862, 30, 150, 28), Px{20, bold});

    PageControl1 = new QTabWidget(panel_);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setFont(arialFont(14, bold));
    PageControl1->setGeometry(4, 64, 1016, 700);
    PageControl1->setFocusPolicy(Qt::NoFocus);
    Pregunta = panel(nullptr, "Pregunta", QRect());
    Respuesta = panel(nullptr, "Respuesta", QRect());
    PageControl1->addTab(Pregunta, QStringLiteral("   P R E G U N T A   "));
    PageControl1->addTab(Respuesta, QStringLiteral("   R E S P U E S T A   "));
    // The answer page is reached only through "Ver la Respuesta": clicks on the tabs are
    // ignored.
    PageControl1->tabBar()->installEventFilter(this);

    // Question page.
    DBText1 = label(Pregunta, "DBText1", QString(), QRect(8, 99, 981, 333), Px{19, bold});
    DBText1->setWordWrap(true);
    Image1 = pictureBox(Pregunta, "Image1", QRect(8, 101, 0, 0));
    Label1 = label(Pregunta, "Label1", QString(), QRect(8, 456, 320, 26), text);
    Label13 = label(Pregunta, "Label13", QString(), QRect(340, 456, 320, 26), text);
    Label2 = label(Pregunta, "Label2", review::kTotalCardsCaption, QRect(672, 456, 320, 26), text);
    Button1 = button(Pregunta, "Button1", QStringLiteral("  &Ver la Respuesta"),
                     QRect(8, 510, 420, 64), Px{22, bold});
    Button4 = button(Pregunta, "Button4", QStringLiteral("&Salir"), QRect(746, 520, 116, 44), text);
    Button3 = button(Pregunta, "Button3", QStringLiteral("&Ayuda"), QRect(874, 520, 116, 44), text);

    // Answer page.
    Label7 = label(Respuesta, "Label7", QString(), QRect(12, 99, 972, 333), Px{19, bold});
    Label7->setWordWrap(true);
    RichEdit1 = richEdit(Respuesta, "RichEdit1", QRect(12, 99, 972, 333));
    RichEdit1->setReadOnly(true);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Button5 = button(Respuesta, "Button5", QStringLiteral("&Zoom"), QRect(900, 436, 84, 28), text);
    Image2 = pictureBox(Respuesta, "Image2", QRect(2, 99, 0, 0));
    Label3 = label(Respuesta, "Label3", QString(), QRect(8, 472, 320, 26), text);
    Label14 = label(Respuesta, "Label14", QString(), QRect(340, 472, 320, 26), text);
    Label4 = label(Respuesta, "Label4", review::kTotalCardsCaption, QRect(672, 472, 320, 26), text);
    Button6 = button(Respuesta, "Button6", QStringLiteral("&Correcta"), QRect(8, 520, 210, 56),
                     Px{20, bold});
    Button7 = button(Respuesta, "Button7", QStringLiteral("I&ncorrecta"), QRect(230, 520, 210, 56),
                     Px{20, bold});
    Button8 = button(Respuesta, "Button8", QStringLiteral("&Ver Pregunta"),
                     QRect(460, 526, 170, 44), text);
    Button2 =
        button(Respuesta, "Button2", QStringLiteral("&Salir"), QRect(746, 526, 116, 44), text);
    BitBtn1 =
        button(Respuesta, "BitBtn1", QStringLiteral("&Ayuda"), QRect(874, 526, 116, 44), text);
    for (QLabel* l : {Label1, Label13, Label2, Label3, Label14, Label4})
        l->setStyleSheet(QStringLiteral("color: maroon;"));
    Button6->setStyleSheet(QStringLiteral("color: darkgreen;"));
    Button7->setStyleSheet(QStringLiteral("color: darkred;"));

    Timer_n_Repaso = new platform::Timer(this, 1000, true);
    Timer_n_Repaso->setObjectName(QStringLiteral("Timer_n_Repaso"));

    onClick(Button1, &TRepasar_::Button1Click);
    onClick(Button8, &TRepasar_::Button8Click);
    onClick(Button6, &TRepasar_::Button6Click);
    onClick(Button7, &TRepasar_::Button7Click);
    onClick(Button4, &TRepasar_::Button4Click);
    onClick(Button2, &TRepasar_::Button2Click);
    onClick(Button5, &TRepasar_::Button5Click);
    onClick(Button9, &TRepasar_::Button9Click);
    onClick(Button11, &TRepasar_::Button11Click);
    onClick(Button12, &TRepasar_::Button12Click);
    for (QPushButton* help : {Button3, BitBtn1})
        onClick(help, [this] { program_.showHelp(12); });
    onClick(CheckBox2, &TRepasar_::CheckBox2Click);
    onClick(Image1, &TRepasar_::Image1Click);
    onClick(Image2, &TRepasar_::Image2Click);
    program_.connectGuarded(Timer_n_Repaso, &platform::Timer::timeout, this,
                            [this] { Timer_n_RepasoTimer(); });
    program_.registerPicture(picture_number::reviewQuestion, Image1);
    program_.registerPicture(picture_number::reviewAnswerBesideText, Image2);
    program_.registerPicture(picture_number::reviewAnswerAlone, Image2);
    CheckBox2Click();
}

void TRepasar_::Inicia_Sesion() {
    RunState& state = program_.state();
    TD_Module_& data = program_.data();
    data.Valores_a_NumFich();
    data.Siguiente_Registro();
    state.lastCard = false;
    state.breaks.accumulatedMs = 0;
    state.sessionStart = QDateTime();
    program_.runModal(*this);
}

void TRepasar_::FormShow() {
    // Start session opens the screen; this opening starts a new session.
    opened_ = true;
    closing_ = false;
}

void TRepasar_::FormActivate() {
    if (!beginActivation())
        return;
    if (closing_)
        return;
    followMainWindowState();
    RunState& state = program_.state();
    Button12->setEnabled(state.prefs.breakRemindersEnabled);

    if (state.reviewEdit) {
        // Back from the card editor: the card may have changed, or left the session's selection
        // (its key or importance no longer meets it); then the cursor is on another card.
        state.reviewEdit = false;
        TD_Module_& data = program_.data();
        table::Table& cards = data.Tabla_Activa;
        const bool current = !cards.isEmpty() &&
                             cards.fieldByName(QStringLiteral("AutoInc")).asInteger() == shownCard_;
        if (current || cards.locateKey(shownCard_)) {
            data.Tabla_ActivaAfterScroll();
        } else {
            // The card leaves the session: the next pending card, as after an answer.
            counters_.pending = std::max(0, counters_.pending - 1);
            if (state.lastCard || !data.Siguiente_Registro()) {
                state.cardsExhausted = true;
                reject();
                return;
            }
        }
    } else if (opened_) {
        opened_ = false;
        state.sessionStart = program_.clock().now();
        state.cardsExhausted = false;
        counters_.start(program_.data().Tabla_Activa.recordCount());
        Label2->setText(counters_.selectedText());
        Label4->setText(counters_.selectedText());
    }

    // Common steps.
    Actualiza_Fuente();
    refreshCounters();
    applyLayout();
    Muestra_Ficha();
    showQuestionPage();
}

void TRepasar_::applyLayout() {
    layout_ = review::reviewLayout(reviewDesign(program_), layout_);
    const review::ReviewLayout& l = layout_;
    DBText1->setGeometry(8, l.questionTop, 981, l.questionTop == 2 ? 96 : 333);
    Label7->setGeometry(12, l.shortAnswerTop, 972, l.shortAnswerHeight);
    Label7->setVisible(l.shortAnswerVisible);
    RichEdit1->setGeometry(l.longAnswerLeft, 99, l.longAnswerWidth, 333);
    RichEdit1->setVisible(l.longAnswerVisible);
    Button5->move(l.zoomLeft, 436);
    Button5->setVisible(l.zoomVisible);
    Image2->setVisible(l.answerPictureVisible);
}

void TRepasar_::Muestra_Ficha() {
    table::Table& cards = program_.data().Tabla_Activa;
    if (!cards.isOpen() || cards.isEmpty()) {
        for (QLabel* l : {DBText1, DBText2, DBText3, DBText4, DBText5})
            l->clear();
        clearCard();
        return;
    }
    const auto text = [&cards](const char* field) {
        return cards.fieldByName(QString::fromLatin1(field)).asString();
    };
    shownCard_ = cards.fieldByName(QStringLiteral("AutoInc")).asInteger();
    DBText1->setText(text("Preg_Text"));
    DBText2->setText(text("Nive_Fich"));
    DBText3->setText(text("Nive_Impo"));
    DBText4->setText(text("Clav_Fich"));
    DBText5->setText(text("Total_Repa"));

    const studyfile::CardView& view = program_.data().cardView;
    Label7->setText(view.shortAnswer);
    RichEdit1->document()->setHtml(view.longAnswer.toHtml());
    Image1->setPicture(view.questionPicture);
    Image2->setPicture(view.answerPicture);
    Prepara_Imagen(program_, picture_number::reviewQuestion);
    Prepara_Imagen(program_, layout_.answerPictureNumber);
}

void TRepasar_::clearCard() {
    Label7->clear();
    RichEdit1->clear();
    Image1->clear();
    Image2->clear();
}

void TRepasar_::refreshCounters() {
    for (QLabel* l : {Label1, Label3})
        l->setText(counters_.reviewedText());
    for (QLabel* l : {Label13, Label14})
        l->setText(counters_.pendingText());
}

void TRepasar_::showQuestionPage() {
    PageControl1->setCurrentWidget(Pregunta);
    Button1->setFocus();
}

void TRepasar_::Actualiza_Fuente() {
    const studyfile::FontStyle& stored = program_.data().fontStyle;
    for (QLabel* l : {DBText1, Label7}) {
        l->setFont(stored.font);
        QPalette pal = l->palette();
        pal.setColor(QPalette::WindowText, stored.colour);
        l->setPalette(pal);
    }
}

void TRepasar_::CheckBox2Click() {
    const Qt::Alignment horizontal = CheckBox2->isChecked() ? Qt::AlignHCenter : Qt::AlignLeft;
    DBText1->setAlignment(horizontal | Qt::AlignVCenter);
    Label7->setAlignment(horizontal | Qt::AlignVCenter);
}

void TRepasar_::Button1Click() {
    PageControl1->setCurrentWidget(Respuesta);
    Button6->setFocus();
}

void TRepasar_::Button8Click() {
    showQuestionPage();
}

void TRepasar_::Button6Click() {
    answer(review::Answer::Correct);
}

void TRepasar_::Button7Click() {
    answer(review::Answer::Wrong);
}

void TRepasar_::answer(review::Answer verdict) {
    RunState& state = program_.state();
    TD_Module_& data = program_.data();
    // An engine error leaves here before the counters move.
    review::recordAnswer(data.Tabla_Activa, verdict, state.prefs.reviewIntervals, state.todayKey,
                         program_.clock().today());
    counters_.answer(verdict == review::Answer::Correct);
    if (state.lastCard || !data.Siguiente_Registro()) {
        state.cardsExhausted = true;
        reject();
        return;
    }
    Muestra_Ficha();
    refreshCounters();
    showQuestionPage();
}

void TRepasar_::Button4Click() {
    reject();
}

void TRepasar_::Button2Click() {
    reject();
}

bool TRepasar_::eventFilter(QObject* watched, QEvent* event) {
    if (watched == PageControl1->tabBar() &&
        (event->type() == QEvent::MouseButtonPress ||
         event->type() == QEvent::MouseButtonDblClick || event->type() == QEvent::Wheel))
        return true;
    return QDialog::eventFilter(watched, event);
}

void TRepasar_::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        program_.guard([this] { reject(); });
        return;
    }
    QDialog::keyPressEvent(event);
}

void TRepasar_::done(int result) {
    if (!closing_) {
        closing_ = true;
        program_.guard([this] {
            RunState& state = program_.state();
            review::SessionSummary summary;
            summary.netMs = review::netSessionMs(state.sessionStart, program_.clock().now(),
                                                 state.breaks.accumulatedMs);
            summary.reviewed = counters_.reviewed;
            summary.correct = counters_.correct;
            summary.incorrect = counters_.incorrect;
            summary.cardsExhausted = state.cardsExhausted;
            program_.Ver_Mensaje(review::summaryText(summary));
            state.pendingCards.clear();
            clearCard();
        });
    }
    QDialog::done(result);
}

void TRepasar_::Timer_n_RepasoTimer() {
    const RunState& state = program_.state();
    if (!state.sessionStart.isValid())
        return;
    Label12->setText(review::clockText(review::netSessionMs(
        state.sessionStart, program_.clock().now(), state.breaks.accumulatedMs)));
}

void TRepasar_::Button5Click() {
    zoomText(*RichEdit1->document(), false);
}

void TRepasar_::Image1Click() {
    zoomPicture(*Image1);
}

void TRepasar_::Image2Click() {
    zoomPicture(*Image2);
}

void TRepasar_::Button9Click() {
    TD_Module_& data = program_.data();
    QFont font = data.fontStyle.font;
    if (!program_.ui().chooseFont(this, font))
        return;
    data.Guarda_Estilo_Fuente(font);
    data.Lee_Estilo_Fuente();
    Actualiza_Fuente();
}

void TRepasar_::Button11Click() {
    if (!program_.data().design.modifiable) {
        program_.data().FE_No_Modificable();
        return;
    }
    RunState& state = program_.state();
    state.reviewEdit = true;
    state.addMode = false;
    program_.runModal(program_.alta_Fichas());
}

void TRepasar_::Button12Click() {
    program_.mainScreen().breakNow();
}

void TRepasar_::pauseClock() {
    Timer_n_Repaso->setEnabled(false);
}

void TRepasar_::resumeClock() {
    Timer_n_Repaso->setEnabled(true);
}
