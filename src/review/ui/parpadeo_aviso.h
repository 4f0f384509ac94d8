// The blink notice: shown for three seconds without blocking the screen below it.
#pragma once

#include "app/screen_kit.h"

class QLabel;
namespace platform {
class Timer;
}

class TParpadeo_Aviso_ : public ProgramDialog {
    Q_OBJECT
public:
    explicit TParpadeo_Aviso_(Program& program);

    // Shows the notice above the screen with the focus, without taking its input, and starts its
    // own timer.
    void Muestra();
    void FormActivate() override;
    void Timer1Timer();

    QLabel* Label1; // "TIEMPO  DE  PARPADEAR"
    platform::Timer* Timer1;
};
