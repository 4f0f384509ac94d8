// A clock that shows whatever it was set to, for tests.
#pragma once

#include "platform/clock.h"

#include <QDateTime>

#include <utility>

class ManualClock : public platform::Clock {
public:
    explicit ManualClock(QDateTime start = QDateTime(QDate(2024, 1, 15), QTime(10, 0, 0)))
        : now_(std::move(start)) {}
    QDateTime now() const override { return now_; }
    void setNow(const QDateTime& when) { now_ = when; }
    void advanceSeconds(qint64 seconds) { now_ = now_.addSecs(seconds); }
    void advanceDays(int days) { now_ = now_.addDays(days); }

private:
    QDateTime now_;
};
