#include "settings/options.h"

namespace settings {

namespace {

constexpr int kBlinkField = 19;
constexpr int kThresholdField = 17;
constexpr int kCountField = 18;
constexpr int kFirstBreakField = 10;
constexpr int kPeriodField = 11;
constexpr int kSecondBreakField = 12; // to 16

} // namespace

int fieldWidth(int maskEdit) {
    return maskEdit == kBlinkField ? 2 : 3;
}

OptionsForm optionsForm(const QStringList& preferencesText, const Preferences& inForce) {
    std::array<int, 9> intervals = inForce.reviewIntervals;
    std::array<int, 7> schedule = inForce.breakSchedule;
    parseReviewIntervals(preferencesText, intervals);
    parseBreakSchedule(preferencesText, schedule);

    OptionsForm f;
    for (int k = 1; k <= 9; ++k)
        f.maskEdit[static_cast<std::size_t>(k)] =
            QString::number(intervals[static_cast<std::size_t>(k - 1)]);
    f.maskEdit[kPeriodField] = QString::number(schedule[0]);
    f.maskEdit[kFirstBreakField] = QString::number(schedule[1]);
    for (int j = 2; j <= 6; ++j)
        f.maskEdit[static_cast<std::size_t>(kSecondBreakField + j - 2)] =
            QString::number(schedule[static_cast<std::size_t>(j)]);
    f.maskEdit[kThresholdField] = QString::number(inForce.promotionThreshold);
    f.maskEdit[kCountField] = QString::number(inForce.promotionCount);
    f.maskEdit[kBlinkField] = QString::number(inForce.blinkPeriod);
    f.dayFirstDates = inForce.dayFirstDates;
    f.languageEnglish = inForce.languageCode == QLatin1String("ING");
    f.timedReview = inForce.timedReviewEnabled;
    f.breakReminders = inForce.breakRemindersEnabled;
    f.periodicBreaks = inForce.periodicBreaks;
    f.blinkNotice = inForce.blinkEnabled;
    f.sameDayReviews = inForce.sameDayReviewsAllowed;
    f.promotionFlag = inForce.promotionFlag;
    return f;
}

OptionsEnabling optionsEnabling(const OptionsForm& form) {
    OptionsEnabling e;
    e.intervals = form.timedReview;
    e.breaks = form.breakReminders;
    e.periodField = form.breakReminders && form.periodicBreaks;
    e.sequence = form.breakReminders && !form.periodicBreaks;
    e.blinkPeriod = form.blinkNotice;
    return e;
}

QString fieldTextOnExit(int maskEdit, const QString& text) {
    if (!text.trimmed().isEmpty())
        return text;
    switch (maskEdit) {
    case kBlinkField:
        return QStringLiteral("0");
    case kThresholdField:
        return QStringLiteral("20 ");
    case kCountField:
        return QStringLiteral("10 ");
    default:
        return text;
    }
}

std::optional<int> fieldNumber(int maskEdit, const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > fieldWidth(maskEdit))
        return std::nullopt;
    int value = 0;
    for (QChar c : t) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

QString conversionErrorMessage(const QString& text) {
    return QStringLiteral("'%1' no es un número entero válido.").arg(text);
}

SaveResult saveOptions(const OptionsForm& form, Preferences& inForce) {
    SaveResult result;
    auto read = [&](int maskEdit, int& into) {
        const QString& text = form.maskEdit[static_cast<std::size_t>(maskEdit)];
        const auto v = fieldNumber(maskEdit, text);
        if (!v) {
            result.badField = maskEdit;
            result.badText = text;
            return false;
        }
        into = *v;
        return true;
    };

    for (int k = 1; k <= 9; ++k)
        if (!read(k, inForce.reviewIntervals[static_cast<std::size_t>(k - 1)]))
            return result;
    inForce.languageCode = form.languageEnglish ? QStringLiteral("ING") : QStringLiteral("ESP");
    inForce.dayFirstDates = form.dayFirstDates;
    inForce.timedReviewEnabled = form.timedReview;

    if (!read(kPeriodField, inForce.breakSchedule[0]) ||
        !read(kFirstBreakField, inForce.breakSchedule[1]))
        return result;
    for (int j = 2; j <= 6; ++j)
        if (!read(kSecondBreakField + j - 2, inForce.breakSchedule[static_cast<std::size_t>(j)]))
            return result;
    inForce.breakRemindersEnabled = form.breakReminders;
    inForce.periodicBreaks = form.periodicBreaks;
    if (!read(kBlinkField, inForce.blinkPeriod))
        return result;
    inForce.blinkEnabled = form.blinkNotice;

    if (!read(kThresholdField, inForce.promotionThreshold) ||
        !read(kCountField, inForce.promotionCount))
        return result;
    inForce.promotionFlag = false;
    inForce.sameDayReviewsAllowed = form.sameDayReviews;

    result.ok = true;
    result.lines = preferenceLines(inForce);
    return result;
}

} // namespace settings
