// Small things every screen does the same way: its fonts and its place on the desktop.
#pragma once

#include <QFont>
#include <QSize>

class QWidget;

// The "Arial" font of the screens, sized in pixels.
QFont arialFont(int pixels, bool bold);

// Moves window so that a window of outerSize sits in the middle of the desktop's available area.
void centreOnDesktop(QWidget& window, QSize outerSize);
