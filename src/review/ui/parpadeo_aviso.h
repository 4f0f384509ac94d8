// The blink notice: shown for three seconds without blocking the screen below it.
#pragma once

#include "app/program_screen.h"

#include <QDialog>

class Program;
class QLabel;
class Timer;

class TParpadeo_Aviso_ : public QDialog, public ProgramScreen {
    Q_OBJECT
public:
    explicit TParpadeo_Aviso_(Program& program);

    // Shows the notice above the screen with the focus, without taking its input, and starts its
    // own timer.
    void Muestra();
    void FormActivate() override;
    void Timer1Timer();

    QLabel* Label1; // "TIEMPO  DE  PARPADEAR"
    Timer* Timer1;

private:
    Program& program_;
};
