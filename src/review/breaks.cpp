#include "review/breaks.h"

namespace review {

namespace {

// The break number once the sixth break of a defined sequence has been taken.
constexpr int kSequenceEnd = 7;

} // namespace

int firstBreakIntervalMs(const BreakSettings& settings) {
    return minutesToMs(settings.schedule[1]);
}

bool BreakReminder::beginBreak(const BreakSettings& settings, const QDateTime& now) {
    if (!settings.enabled || !state_.breakAllowed)
        return false;
    state_.breakAllowed = false;
    state_.breakStart = now;
    return true;
}

void BreakReminder::breakEnded(const QDateTime& now) {
    if (state_.breakAllowed)
        return;
    const qint64 length = state_.breakStart.msecsTo(now);
    if (length > 0)
        state_.accumulatedMs += length;
    state_.breakAllowed = true;
}

std::optional<int> BreakReminder::nextIntervalMs(const BreakSettings& settings) {
    if (settings.periodic)
        return minutesToMs(settings.schedule[0]);
    if (state_.breakNumber < kSequenceEnd)
        state_.breakNumber += 1;
    if (state_.breakNumber >= kSequenceEnd)
        return std::nullopt;
    return minutesToMs(settings.schedule[static_cast<std::size_t>(state_.breakNumber)]);
}

} // namespace review
