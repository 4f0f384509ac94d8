#include "review/ui/parpadeo_aviso.h"

#include "platform/clock.h"
#include "review/breaks.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

using namespace kit;

TParpadeo_Aviso_::TParpadeo_Aviso_(Program& program)
    // No title-bar buttons, and the screen below keeps the keyboard.
    : ProgramDialog(program, "TParpadeo_Aviso_", QString(),
                    Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                        Qt::WindowDoesNotAcceptFocus) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setModal(false);
    setFixedSize(560, 160);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0, 0, 255));
    setPalette(pal);

    Label1 = label(this, "Label1", QStringLiteral("TIEMPO  DE  PARPADEAR"), QRect(0, 0, 560, 160),
                   Px{40, bold});
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setStyleSheet(QStringLiteral("color: yellow;"));

    Timer1 = new platform::Timer(this, review::kBlinkNoticeIntervalMs, false);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    program_.connectGuarded(Timer1, &platform::Timer::timeout, this, [this] { Timer1Timer(); });
}

void TParpadeo_Aviso_::Muestra() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect desktop = screen->geometry();
        move(desktop.left() + (desktop.width() - width()) / 2,
             desktop.top() + (desktop.height() - height()) / 2);
    }
    show();
    raise();
    program_.activateOpening(*this);
}

void TParpadeo_Aviso_::FormActivate() {
    if (!beginActivation())
        return;
    Timer1->setEnabled(true);
}

void TParpadeo_Aviso_::Timer1Timer() {
    Timer1->setEnabled(false);
    hide();
    // The notice never took the focus, so no screen regains it: nothing is activated, and the
    // flag set when the notice was shown goes with it.
    program_.state().skipNextActivation = false;
}
