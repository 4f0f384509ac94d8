// The shared state of the run: the values every screen reads or writes while the program runs.
// Program owns the one instance; screens and the data module reach it through Program.
#pragma once

#include <QString>
#include <QStringList>

struct RunState {
    // Review order: AutoInc values (decimal text) a review still has to visit, and the flag set
    // when the last of them has been taken.
    QStringList pendingCards;
    bool lastCard = false;
};
