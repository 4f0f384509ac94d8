#include "review/ui/descanso.h"

#include "app/program.h"
#include "app/screen_helpers.h"
#include "app/ui/acerca_de.h"
#include "app/ui/panta_inicio.h"
#include "platform/clock.h"
#include "review/breaks.h"
#include "review/ui/repasar.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

TDescanso_::TDescanso_(Program& program) : program_(program) {
    setObjectName(QStringLiteral("TDescanso_"));
    setWindowTitle(QStringLiteral(" Descanso"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(420, 220);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(programIcon());
    Image1->setGeometry(24, 28, 64, 64);

    Label1 = new QLabel(QStringLiteral(" AVISO DE DESCANSO "), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setTextFormat(Qt::PlainText);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setFont(arialFont(24, true));
    Label1->setAutoFillBackground(true);
    Label1->setStyleSheet(QStringLiteral("background-color: yellow; color: navy;"));
    Label1->setGeometry(104, 34, 292, 52);

    Button1 = new QPushButton(QStringLiteral("&Salir"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setFont(arialFont(15, true));
    Button1->setGeometry(150, 140, 120, 40);
    Button1->setDefault(true);
    program_.connectGuarded(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
}

void TDescanso_::FormActivate() {
    RunState& state = program_.state();
    if (state.takeSkipNextActivation())
        return;
    program_.repasar().Timer_n_Repaso->setEnabled(false);
    centreOnDesktop(*this, frameGeometry().size());
}

void TDescanso_::Button1Click() {
    reject();
}

void TDescanso_::done(int result) {
    program_.guard([this] {
        RunState& state = program_.state();
        Timer* breakTimer = program_.mainScreen().Timer_Descanso;
        breakTimer->setEnabled(false);
        breakTimer->setEnabled(true);
        review::BreakReminder reminder(state.breakAllowed, state.breakNumber, state.breakStart,
                                       state.accumulatedBreakMs);
        reminder.breakEnded(program_.clock().now());
        state.breakAllowed = reminder.breakAllowed();
        state.accumulatedBreakMs = reminder.accumulatedBreakMs();
        program_.repasar().Timer_n_Repaso->setEnabled(true);
    });
    QDialog::done(result);
}
