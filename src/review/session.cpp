#include "review/session.h"

namespace review {

const QString kTotalCardsCaption = QStringLiteral("Total de Fichas: ");

void SessionCounters::start(int selectedCards) {
    selected = selectedCards;
    reviewed = 0;
    correct = 0;
    incorrect = 0;
    pending = selectedCards;
}

void SessionCounters::answer(bool isCorrect) {
    reviewed += 1;
    pending -= 1;
    if (isCorrect)
        correct += 1;
    else
        incorrect += 1;
}

QString SessionCounters::reviewedText() const {
    return QStringLiteral("Fichas ya Repasadas: ") + QString::number(reviewed);
}

QString SessionCounters::pendingText() const {
    return QStringLiteral("Fichas pendientes: ") + QString::number(pending);
}

QString SessionCounters::selectedText() const {
    return QStringLiteral("Fichas Seleccionadas: ") + QString::number(selected);
}

qint64 netSessionMs(const QDateTime& start, const QDateTime& now, qint64 breakMs) {
    const qint64 net = start.msecsTo(now) - breakMs;
    return net > 0 ? net : 0;
}

QString clockText(qint64 ms) {
    constexpr qint64 kDaySeconds = 24 * 3600;
    const qint64 seconds = (ms > 0 ? ms / 1000 : 0) % kDaySeconds;
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

int wholePercent(int part, int whole) {
    if (whole <= 0)
        return 0;
    return static_cast<int>(100LL * part / whole);
}

QString averageText(qint64 ms, int reviewed) {
    if (reviewed < 1)
        reviewed = 1;
    if (ms < 0)
        ms = 0;
    // Exact in integers: the average is ms / (1000 * reviewed) seconds.
    const qint64 perSecond = 1000LL * reviewed;
    const qint64 perMinute = 60 * perSecond;
    if (ms < perMinute) {
        qint64 s = ms / perSecond;
        const qint64 rest = ms % perSecond;
        if (2 * rest > perSecond || (2 * rest == perSecond && s % 2 == 1))
            s += 1;
        return QString::number(s) + QStringLiteral(" segundos.");
    }
    const qint64 m = ms / perMinute;
    const qint64 r = (ms - m * perMinute) / perSecond;
    return QString::number(m) + QStringLiteral(" minuto/s  ") + QString::number(r) +
           QStringLiteral(" segundos.");
}

QString summaryText(const SessionSummary& s) {
    const QString cr2 = QStringLiteral("\r\r");
    const QString duration =
        QStringLiteral("La sesión de repaso ha durado   ") + clockText(s.netMs) + cr2;
    if (s.reviewed < 1)
        return duration + QStringLiteral("No se han repasado fichas.");
    QString text;
    if (s.cardsExhausted)
        text += QStringLiteral("No hay más fichas seleccionadas que repasar") + cr2;
    text += duration;
    text += QStringLiteral("Se han repasado ") + QString::number(s.reviewed) +
            QStringLiteral(" fichas.") + cr2;
    text += QStringLiteral("    *  Correctas: ") + QString::number(s.correct) +
            QStringLiteral(" fichas.   ( ") + QString::number(wholePercent(s.correct, s.reviewed)) +
            QStringLiteral(" % )") + cr2;
    text += QStringLiteral("    *  Incorrectas: ") + QString::number(s.incorrect) +
            QStringLiteral(" fichas.   ( ") +
            QString::number(wholePercent(s.incorrect, s.reviewed)) + QStringLiteral(" % )") + cr2;
    text +=
        QStringLiteral("Tiempo medio dedicado a cada ficha: ") + averageText(s.netMs, s.reviewed);
    return text;
}

} // namespace review
