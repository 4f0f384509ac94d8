// The system date and time, replaceable in tests, the locale values the program uses, and a timer
// with the platform's semantics.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>

namespace platform {

// Where the program reads the date and time from. Screens hold a Clock& (the system clock in the
// program, a manual clock in tests).
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    QDate today() const { return now().date(); }
    QTime time() const { return now().time(); }

    // The clock of the running system.
    static Clock& system();
};

class SystemClock : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

// A date as eight digits year, month, day ("20240105"). Texts of this form order as their dates.
QString dateKey(const QDate& date);

// A date as shown to the user and prefilled in masked date inputs: "dd", separator, "mm",
// separator, two-digit year when dayFirst, month first otherwise.
QString dateDisplay(const QDate& date, bool dayFirst, const QString& separator);

// The date separator of a short date format: its first character that is not a letter, "/" when
// it has none.
QString dateSeparatorOf(const QString& shortDateFormat);
// The date separator of the system's short date format.
QString systemDateSeparator();

// The long time format: hours, minutes and seconds, "hh:mm:ss", without a time zone.
QString longTimeText(const QTime& time);

// A periodic timer with the platform's semantics: its enabled state and interval are kept
// separately and it runs only while enabled with an interval above 0 (an interval of 0 stops it
// instead of firing continuously). Changing the interval, or enabling it, restarts the count-down.
class Timer : public QObject {
    Q_OBJECT
public:
    explicit Timer(QObject* parent = nullptr, int intervalMs = 1000, bool enabled = true);

    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    int interval() const { return interval_; }
    void setInterval(int intervalMs);
    // Whether the count-down is running (enabled and an interval above 0).
    bool isRunning() const { return timer_.isActive(); }

signals:
    void timeout();

private:
    void update();

    QTimer timer_;
    bool enabled_;
    int interval_;
};

} // namespace platform
