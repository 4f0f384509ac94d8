#include "app/long_operation.h"

#include "app/run_state.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace {

constexpr int kStepMs = 100;

bool isInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::ContextMenu:
        return true;
    default:
        return false;
    }
}

} // namespace

LongOperation::LongOperation(RunState& state, QWidget* screen)
    : state_(state), wasRunning_(state.longOperation), screen_(screen) {
    state_.longOperation = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (screen_ != nullptr) {
        for (QAbstractButton* button : screen_->findChildren<QAbstractButton*>()) {
            if (button->isEnabled()) {
                button->setEnabled(false);
                disabled_.emplace_back(button);
            }
        }
        screen_->installEventFilter(this);
    }
    qApp->installEventFilter(this);
    sinceStep_.start();
}

LongOperation::~LongOperation() {
    // Input that arrived while the work ran is still queued: it goes now, while it is discarded.
    QCoreApplication::processEvents();
    qApp->removeEventFilter(this);
    if (screen_ != nullptr)
        screen_->removeEventFilter(this);
    for (const QPointer<QAbstractButton>& button : disabled_)
        if (button != nullptr)
            button->setEnabled(true);
    QApplication::restoreOverrideCursor();
    state_.longOperation = wasRunning_;
}

void LongOperation::step() {
    if (sinceStep_.elapsed() < kStepMs)
        return;
    sinceStep_.restart();
    QCoreApplication::processEvents();
}

bool LongOperation::eventFilter(QObject* watched, QEvent* event) {
    if (isInput(event->type()))
        return true;
    if (event->type() == QEvent::Close && watched == screen_) {
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
