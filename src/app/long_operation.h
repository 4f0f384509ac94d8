// A scope for work that takes more than a moment (printing, exports, imports, transport, repair):
// the wait cursor, the running screen's buttons off and its close requests ignored, the learner's
// mouse, key and wheel input discarded rather than queued (a second impatient click must not
// start the work again when it ends), and the break and blink timers held by the long-operation
// flag. step() keeps the window painted. Everything is put back when the scope ends, also when an
// exception leaves it.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

#include <vector>

class QAbstractButton;
class QWidget;
struct RunState;

class LongOperation : public QObject {
    Q_OBJECT
public:
    LongOperation(RunState& state, QWidget* screen);
    ~LongOperation() override;
    LongOperation(const LongOperation&) = delete;
    LongOperation& operator=(const LongOperation&) = delete;

    // Paints pending changes (progress) and lets the window manager through, at most every
    // 100 ms; input that arrived meanwhile is discarded.
    void step();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    RunState& state_;
    bool wasRunning_;
    QPointer<QWidget> screen_;
    std::vector<QPointer<QAbstractButton>> disabled_;
    QElapsedTimer sinceStep_;
};
