// The study break reminder: when the break timer may open the break screen, what its next
// interval is, and the break time that review sessions leave out of their clock. The screens own
// the timers and the break screen; they drive this state and apply the intervals it gives.
#pragma once

#include <QDateTime>

#include <array>
#include <optional>

namespace review {

// The break preferences: reminders on or off, periodic or a defined sequence, and the break
// schedule in minutes (entry 0: period of periodic breaks; entry 1: first break; entries 2 to 6:
// from each break to the next, for the second to sixth break).
struct BreakSettings {
    bool enabled = true;
    bool periodic = true;
    std::array<int, 7> schedule{30, 35, 30, 30, 25, 25, 20};
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

class BreakReminder {
public:
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

    bool breakAllowed() const { return breakAllowed_; }
    int breakNumber() const { return breakNumber_; }
    // Total length of the breaks since the last reset, in milliseconds.
    qint64 accumulatedBreakMs() const { return accumulatedMs_; }
    // Start of a review session.
    void resetAccumulatedBreak() { accumulatedMs_ = 0; }

private:
    bool breakAllowed_ = true;
    int breakNumber_ = 1;
    QDateTime breakStart_;
    qint64 accumulatedMs_ = 0;
};

} // namespace review
