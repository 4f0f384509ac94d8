#include "platform/clock.h"

#include <QLocale>

namespace platform {

Clock& Clock::system() {
    static SystemClock clock;
    return clock;
}

static QString twoDigits(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

QString dateKey(const QDate& date) {
    return QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0')) +
           twoDigits(date.month()) + twoDigits(date.day());
}

QString dateDisplay(const QDate& date, bool dayFirst, const QString& separator) {
    const QString year = QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0')).mid(2, 2);
    const QString day = twoDigits(date.day());
    const QString month = twoDigits(date.month());
    return dayFirst ? day + separator + month + separator + year
                    : month + separator + day + separator + year;
}

QString dateSeparatorOf(const QString& shortDateFormat) {
    for (const QChar c : shortDateFormat) {
        if (!c.isLetter())
            return QString(c);
    }
    return QStringLiteral("/");
}

QString systemDateSeparator() {
    return dateSeparatorOf(QLocale::system().dateFormat(QLocale::ShortFormat));
}

QString longTimeText(const QTime& time) {
    return time.toString(QStringLiteral("hh:mm:ss"));
}

Timer::Timer(QObject* parent, int intervalMs, bool enabled)
    : QObject(parent), enabled_(enabled), interval_(intervalMs) {
    connect(&timer_, &QTimer::timeout, this, &Timer::timeout);
    update();
}

void Timer::setEnabled(bool enabled) {
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    update();
}

void Timer::setInterval(int intervalMs) {
    if (intervalMs == interval_)
        return;
    interval_ = intervalMs;
    update();
}

void Timer::update() {
    timer_.stop();
    if (enabled_ && interval_ > 0)
        timer_.start(interval_);
}

} // namespace platform
