// The study break reminder: when the break timer may open the break screen, what its next
// interval is, and the break time that review sessions leave out of their clock. The screens own
// the timers and the break screen; they drive this state and apply the intervals it gives.
#pragma once

#include "settings/preferences.h"

#include <QDateTime>

#include <array>
#include <optional>

namespace review {

// The break preferences: reminders on or off, periodic or a defined sequence, and the break
// schedule in minutes (entry 0: period of periodic breaks; entry 1: first break; entries 2 to 6:
// from each break to the next, for the second to sixth break).
struct BreakSettings {
    // The break preferences of `prefs` (by default, the preferences' defaults).
    explicit BreakSettings(const settings::Preferences& prefs = {})
        : enabled(prefs.breakRemindersEnabled), periodic(prefs.periodicBreaks),
          schedule(prefs.breakSchedule) {}

    bool enabled;
    bool periodic;
    std::array<int, 7> schedule;
};

// What the run keeps of the break reminder between timer firings.
struct BreakState {
    bool breakAllowed = true; // no break screen is open
    int breakNumber = 1;
    QDateTime breakStart;
    qint64 accumulatedMs = 0; // break time since the start of the review session
};

// The break timer's interval that "break now" sets, so that the break opens at once.
inline constexpr int kBreakNowIntervalMs = 99;
// The blink notice's own timer.
inline constexpr int kBlinkNoticeIntervalMs = 3000;

// Minutes to a timer interval; 0 minutes gives 0 ms, which stops a timer.
constexpr int minutesToMs(int minutes) {
    return minutes * 60000;
}

// Interval of the break timer right after the preferences were read: the first break.
int firstBreakIntervalMs(const BreakSettings& settings);

// Works on a break state that the caller keeps.
class BreakReminder {
public:
    explicit BreakReminder(BreakState& state) : state_(state) {}

    // The break timer fired at now. True when the break screen is to be opened now: the break is
    // taken (no second break screen opens until breakEnded) and its start noted. False when
    // reminders are off or a break screen is already open.
    bool beginBreak(const BreakSettings& settings, const QDateTime& now);

    // The break screen closed at now: its time is added to the accumulated break time and a new
    // break may be announced. Does nothing when no break was begun.
    void breakEnded(const QDateTime& now);

    // After the break screen returned: the break timer's next interval, or nullopt when the
    // timer is to be stopped (after the sixth break of a defined sequence). In a defined sequence
    // each call moves the break number on by one step.
    std::optional<int> nextIntervalMs(const BreakSettings& settings);

    bool breakAllowed() const { return state_.breakAllowed; }
    int breakNumber() const { return state_.breakNumber; }
    const QDateTime& breakStart() const { return state_.breakStart; }
    // Total length of the breaks since the last reset, in milliseconds.
    qint64 accumulatedBreakMs() const { return state_.accumulatedMs; }
    // Start of a review session.
    void resetAccumulatedBreak() { state_.accumulatedMs = 0; }

private:
    BreakState& state_;
};

} // namespace review
