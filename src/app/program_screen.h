// What every screen of the program has in common: an activation handler, run by the modal stack
// when the screen opens and whenever it regains the focus because a screen above it closed.
#pragma once

class ProgramScreen {
public:
    virtual ~ProgramScreen() = default;
    virtual void FormActivate() {}
};
