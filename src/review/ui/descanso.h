// The break screen: open for as long as the learner rests; its time is left out of the review
// session's clock.
#pragma once

#include "app/screen_kit.h"

class QLabel;
class QPushButton;

class TDescanso_ : public ProgramDialog {
    Q_OBJECT
public:
    explicit TDescanso_(Program& program);

    void FormActivate() override;
    void Button1Click(); // "&Salir"

    QLabel* Image1; // the icon
    QLabel* Label1; // " AVISO DE DESCANSO "
    QPushButton* Button1;

    // However the window closes (Salir, Esc, the window's close button): the break timer's
    // count-down restarts, the break ends and the review clock runs again.
    void done(int result) override;
};
