#include "review/ui/parpadeo_aviso.h"

#include "app/program.h"
#include "platform/clock.h"
#include "review/breaks.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

TParpadeo_Aviso_::TParpadeo_Aviso_(Program& program) : program_(program) {
    setObjectName(QStringLiteral("TParpadeo_Aviso_"));
    // No title-bar buttons, and the screen below keeps the keyboard.
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                   Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setModal(false);
    setFixedSize(560, 160);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0, 0, 255));
    setPalette(pal);

    Label1 = new QLabel(QStringLiteral("TIEMPO  DE  PARPADEAR"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setTextFormat(Qt::PlainText);
    Label1->setAlignment(Qt::AlignCenter);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(40);
    font.setBold(true);
    Label1->setFont(font);
    Label1->setStyleSheet(QStringLiteral("color: yellow;"));
    Label1->setGeometry(0, 0, 560, 160);

    Timer1 = new Timer(this, review::kBlinkNoticeIntervalMs, false);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    program_.connectGuarded(Timer1, &Timer::timeout, this, [this] { Timer1Timer(); });
}

void TParpadeo_Aviso_::Muestra() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect desktop = screen->geometry();
        move(desktop.left() + (desktop.width() - width()) / 2,
             desktop.top() + (desktop.height() - height()) / 2);
    }
    show();
    raise();
    program_.guard([this] { FormActivate(); });
}

void TParpadeo_Aviso_::FormActivate() {
    RunState& state = program_.state();
    if (state.takeSkipNextActivation())
        return;
    Timer1->setEnabled(true);
}

void TParpadeo_Aviso_::Timer1Timer() {
    Timer1->setEnabled(false);
    hide();
    // The screen below runs its activation, which finds the skip-next-activation flag.
    program_.activateTop();
}
