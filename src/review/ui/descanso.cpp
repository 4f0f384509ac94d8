#include "review/ui/descanso.h"

#include "app/branding.h"
#include "app/ui/panta_inicio.h"
#include "platform/clock.h"
#include "review/breaks.h"
#include "review/ui/repasar.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

using namespace kit;

TDescanso_::TDescanso_(Program& program)
    : ProgramDialog(program, "TDescanso_", QStringLiteral(" Descanso"),
                    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                        Qt::WindowCloseButtonHint) {
    setFixedSize(420, 220);

    Image1 = label(this, "Image1", QString(), QRect(24, 28, 64, 64));
    Image1->setPixmap(programIcon());
    Label1 = label(this, "Label1", QStringLiteral(" AVISO DE DESCANSO "), QRect(104, 34, 292, 52),
                   Px{24, bold});
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setAutoFillBackground(true);
    Label1->setStyleSheet(QStringLiteral("background-color: yellow; color: navy;"));
    Button1 =
        button(this, "Button1", QStringLiteral("&Salir"), QRect(150, 140, 120, 40), Px{15, bold});
    Button1->setDefault(true);
    onClick(Button1, &TDescanso_::Button1Click);
}

void TDescanso_::FormActivate() {
    if (!beginActivation())
        return;
    program_.repasar().pauseClock();
    centreOnDesktop(*this, frameGeometry().size());
}

void TDescanso_::Button1Click() {
    reject();
}

void TDescanso_::done(int result) {
    program_.guard([this] {
        program_.mainScreen().restartBreakCountdown();
        review::BreakReminder(program_.state().breaks).breakEnded(program_.clock().now());
        program_.repasar().resumeClock();
    });
    QDialog::done(result);
}
