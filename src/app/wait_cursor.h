// The hourglass pointer for the length of a scope: long work on many cards shows it, and the
// message that follows shows the normal pointer again.
#pragma once

#include <QApplication>

class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};
