// The review session's arithmetic: its counters and their texts, the clock net of breaks, and
// the summary shown when the session ends.
#pragma once

#include <QDateTime>
#include <QString>

namespace review {

// Counters of one session, reset when it starts.
struct SessionCounters {
    int selected = 0;  // cards the session filter showed at the start
    int reviewed = 0;  // answers given, also those that changed nothing
    int pending = 0;   // cards not yet answered
    int correct = 0;   // "&Correcta" answers
    int incorrect = 0; // "I&ncorrecta" answers

    void start(int selectedCards);
    void answer(bool correct);

    QString reviewedText() const; // "Fichas ya Repasadas: 3"
    QString pendingText() const;  // "Fichas pendientes: 7"
    QString selectedText() const; // "Fichas Seleccionadas: 10"
};

// The counter caption shown before the first session.
extern const QString kTotalCardsCaption; // "Total de Fichas: "

// Milliseconds of review between start and now, without the breaks taken meanwhile; never
// negative (a clock set back gives 0).
qint64 netSessionMs(const QDateTime& start, const QDateTime& now, qint64 breakMs);

// "hh:mm:ss" time-of-day text of a duration (whole seconds; a day or more wraps round).
QString clockText(qint64 ms);

// Percent of part in whole, cut to its whole part: floor(100 * part / whole) in integers.
int wholePercent(int part, int whole);

// "Tiempo medio dedicado a cada ficha: " value: below a minute the seconds rounded to the
// nearest whole number (a half to the even neighbour) + " segundos."; otherwise
// "m minuto/s  r segundos." with both parts cut. reviewed must be at least 1.
QString averageText(qint64 ms, int reviewed);

struct SessionSummary {
    qint64 netMs = 0; // session time without breaks
    int reviewed = 0;
    int correct = 0;
    int incorrect = 0;
    bool cardsExhausted = false; // the session ended because its last card was answered
};

// The text of the message shown when the review screen closes ("\r" line breaks).
QString summaryText(const SessionSummary& summary);

} // namespace review
