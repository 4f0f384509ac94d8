// What every screen of the program has in common: a show handler, run by the modal stack each time
// the screen opens, before it is on view, and an activation handler, run once it is on view and
// again whenever the screen regains the focus because a screen above it closed.
#pragma once

class ProgramScreen {
public:
    virtual ~ProgramScreen() = default;
    virtual void FormShow() {}
    virtual void FormActivate() {}
};
