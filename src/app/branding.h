// What the program shows of itself: its icon and its product-and-version text.
#pragma once

#include <QPixmap>
#include <QString>

// The program icon, 64 × 64: a stack of two question-and-answer cards (compiled in from
// app/program_icon.png).
QPixmap programIcon();

// The product-and-version text ("Orbanel  vs. 2.0"), the one the design record stores.
QString productText();
