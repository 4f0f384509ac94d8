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
    if (!settings.enabled || !breakAllowed_)
        return false;
    breakAllowed_ = false;
    breakStart_ = now;
    return true;
}

void BreakReminder::breakEnded(const QDateTime& now) {
    if (breakAllowed_)
        return;
    const qint64 length = breakStart_.msecsTo(now);
    if (length > 0)
        accumulatedMs_ += length;
    breakAllowed_ = true;
}

std::optional<int> BreakReminder::nextIntervalMs(const BreakSettings& settings) {
    if (settings.periodic)
        return minutesToMs(settings.schedule[0]);
    if (breakNumber_ < kSequenceEnd)
        breakNumber_ += 1;
    if (breakNumber_ >= kSequenceEnd)
        return std::nullopt;
    return minutesToMs(settings.schedule[static_cast<std::size_t>(breakNumber_)]);
}

} // namespace review
