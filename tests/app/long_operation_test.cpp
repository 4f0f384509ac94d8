// Long work's scope: the screen's buttons off and back, input discarded rather than replayed, the
// screen kept open, the flag that holds the break and blink timers, and everything put back when
// an exception leaves the scope.
#include "support/app_fixture.h"

#include "app/long_operation.h"
#include "app/run_state.h"
#include "app/ui/panta_inicio.h"

#include <QDialog>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

#include <stdexcept>

namespace {

struct Screen {
    QDialog dialog;
    QPushButton* run = new QPushButton("Ejecutar", &dialog);
    QPushButton* off = new QPushButton("Apagado", &dialog);
    int clicks = 0;
    Screen() {
        off->setEnabled(false);
        QObject::connect(run, &QPushButton::clicked, [this] { ++clicks; });
        dialog.show();
    }
    // A click the window system delivers later, as a learner's impatient second click.
    void queueClick(QPushButton* button = nullptr) {
        button = button != nullptr ? button : run;
        const QPointF at(button->rect().center());
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
            QCoreApplication::postEvent(button, new QMouseEvent(type, at, button->mapToGlobal(at),
                                                                Qt::LeftButton, Qt::LeftButton,
                                                                Qt::NoModifier));
    }
};

TEST(LongOperation, ButtonsInputAndCloseDuringTheScope) {
    RunState state;
    Screen s;
    // A window below the screen keeps its buttons, but takes no input either.
    QPushButton below("Debajo");
    int belowClicks = 0;
    QObject::connect(&below, &QPushButton::clicked, [&] { ++belowClicks; });
    below.show();
    {
        LongOperation op(state, &s.dialog);
        s.queueClick(&below);
        EXPECT_TRUE(state.longOperation);
        EXPECT_FALSE(s.run->isEnabled());
        s.queueClick();
        op.step();
        QTest::qWait(120);
        op.step();
        EXPECT_FALSE(s.dialog.close());
        EXPECT_TRUE(s.dialog.isVisible());
        s.queueClick(); // still queued when the scope ends
    }
    EXPECT_EQ(s.clicks, 0);
    EXPECT_EQ(belowClicks, 0);
    EXPECT_FALSE(state.longOperation);
    EXPECT_TRUE(s.run->isEnabled());
    EXPECT_FALSE(s.off->isEnabled()); // a button that was off stays off
    s.queueClick();
    s.queueClick(&below);
    QCoreApplication::processEvents();
    EXPECT_EQ(s.clicks, 1);
    EXPECT_EQ(belowClicks, 1);
    EXPECT_TRUE(s.dialog.close());
}

TEST(LongOperation, AnExceptionPutsEverythingBack) {
    RunState state;
    Screen s;
    const Qt::CursorShape before =
        QApplication::overrideCursor() ? QApplication::overrideCursor()->shape() : Qt::ArrowCursor;
    EXPECT_THROW(
        {
            LongOperation outer(state, &s.dialog);
            { LongOperation inner(state, nullptr); }
            EXPECT_TRUE(state.longOperation); // the inner scope leaves the outer one running
            throw std::runtime_error("fallo");
        },
        std::runtime_error);
    EXPECT_FALSE(state.longOperation);
    EXPECT_TRUE(s.run->isEnabled());
    const Qt::CursorShape after =
        QApplication::overrideCursor() ? QApplication::overrideCursor()->shape() : Qt::ArrowCursor;
    EXPECT_EQ(after, before);
}

} // namespace

// The blink and break timers do nothing while long work runs; they act at their next tick.
class LongOperationTimersTest : public AppTest {};

TEST_F(LongOperationTimersTest, TimersWaitForTheWorkToEnd) {
    start();
    RunState& state = program->state();
    state.longOperation = true;
    program->mainScreen().Timer_ParpadeoTimer();
    program->mainScreen().Timer_DescansoTimer();
    EXPECT_FALSE(state.skipNextActivation);
    EXPECT_TRUE(ui.screens().isEmpty());
    state.longOperation = false;
    program->mainScreen().Timer_ParpadeoTimer();
    EXPECT_TRUE(state.skipNextActivation);
}
