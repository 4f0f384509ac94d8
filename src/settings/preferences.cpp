#include "settings/preferences.h"

#include "platform/files.h"
#include "platform/rtf/rtf.h"

#include <QDir>

#include <algorithm>

namespace settings {

const QString kFirstRunMessage = QStringLiteral(
    " Se ha creado un nuevo archivo con las preferencias del programa. \r\r Siempre verá este "
    "mensaje si usa el programa por primera vez. \r\r Si ya lo había usado antes, recuerde que "
    "perderá la configuración anterior. ");

namespace {

// Positions count from 1, as the layout of the lines is described.
constexpr int kIntervalStart = 15; // line 1, entry k at 15 + 4 * (k - 1)
constexpr int kScheduleStart = 10; // line 2, entry j at 10 + 4 * j
constexpr int kBlinkFlagPos = 45;
constexpr int kBlinkPeriodPos = 48;
constexpr int kLine1Read = 49; // last position read from line 1
constexpr int kLine2Read = 49; // last position read from line 2
constexpr int kThresholdPos = 5;
constexpr int kCountPos = 10;

const QString kSameDayNote =
    QStringLiteral("[Permitir repasar las fichas varias veces el mismo día]");

QString line(const QStringList& lines, int index) {
    return index < lines.size() ? lines[index] : QString();
}

QString at(const QString& text, int pos, int length) {
    return text.mid(pos - 1, length);
}

// The number at pos of width digits, when the text holds exactly that many digits there.
std::optional<int> digitsAt(const QString& text, int pos, int width) {
    const QString field = at(text, pos, width);
    if (field.size() != width)
        return std::nullopt;
    int value = 0;
    for (QChar c : field) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

template <std::size_t N> bool fieldsAt(const QString& text, int start, std::array<int, N>& out) {
    std::array<int, N> values{};
    for (std::size_t i = 0; i < N; ++i) {
        const auto v = digitsAt(text, start + 4 * static_cast<int>(i), 3);
        if (!v)
            return false;
        values[i] = *v;
    }
    out = values;
    return true;
}

QString padded(int value, int width) {
    const int max = width == 2 ? 99 : 999;
    return QStringLiteral("%1").arg(std::clamp(value, 0, max), width, 10, QLatin1Char('0'));
}

} // namespace

QStringList defaultPreferenceLines() {
    return {
        QStringLiteral("ddmmaa__ESP_S_000-001-007-021-045-090-120-150-180-"),
        QStringLiteral("SI_SIPER_030-035-030-030-025-025-020-Parpad_SI_05__"),
        QStringLiteral("SI__020__010__"),
        QStringLiteral("No       ") + kSameDayNote,
    };
}

bool parseReviewIntervals(const QStringList& lines, std::array<int, 9>& intervals) {
    const QString l1 = line(lines, 0);
    return l1.size() >= kLine1Read && fieldsAt(l1, kIntervalStart, intervals);
}

bool parseBreakSchedule(const QStringList& lines, std::array<int, 7>& schedule) {
    const QString l2 = line(lines, 1);
    return l2.size() >= kLine2Read && fieldsAt(l2, kScheduleStart, schedule);
}

bool preferenceLinesReadable(const QStringList& lines) {
    std::array<int, 9> intervals{};
    std::array<int, 7> schedule{};
    return parseReviewIntervals(lines, intervals) && parseBreakSchedule(lines, schedule) &&
           digitsAt(line(lines, 1), kBlinkPeriodPos, 2).has_value();
}

bool parseLines12(const QStringList& lines, Preferences& prefs) {
    if (!preferenceLinesReadable(lines))
        return false;
    const QString l1 = line(lines, 0);
    const QString l2 = line(lines, 1);
    prefs.dayFirstDates = at(l1, 1, 6) != QLatin1String("mmddaa");
    prefs.languageCode =
        at(l1, 9, 3) == QLatin1String("ING") ? QStringLiteral("ING") : QStringLiteral("ESP");
    parseReviewIntervals(lines, prefs.reviewIntervals);
    prefs.timedReviewEnabled = at(l1, 13, 1) == QLatin1String("S");
    prefs.breakRemindersEnabled = at(l2, 1, 2) != QLatin1String("NO");
    prefs.periodicBreaks = at(l2, 4, 5) == QLatin1String("SIPER");
    parseBreakSchedule(lines, prefs.breakSchedule);
    prefs.blinkEnabled = at(l2, kBlinkFlagPos, 2) == QLatin1String("SI");
    prefs.blinkPeriod = *digitsAt(l2, kBlinkPeriodPos, 2);
    return true;
}

void parseLines34(const QStringList& lines, Preferences& prefs) {
    const QString l3 = line(lines, 2);
    prefs.promotionFlag = at(l3, 1, 2) != QLatin1String("NO");
    if (const auto v = digitsAt(l3, kThresholdPos, 3))
        prefs.promotionThreshold = *v;
    if (const auto v = digitsAt(l3, kCountPos, 3))
        prefs.promotionCount = *v;
    prefs.sameDayReviewsAllowed = at(line(lines, 3), 1, 2) != QLatin1String("NO");
}

QStringList preferenceLines(const Preferences& p) {
    QString l1 =
        (p.dayFirstDates ? QStringLiteral("ddmmaa") : QStringLiteral("mmddaa")) +
        QStringLiteral("__") +
        (p.languageCode == QLatin1String("ING") ? QStringLiteral("ING") : QStringLiteral("ESP")) +
        QStringLiteral("_") + (p.timedReviewEnabled ? QStringLiteral("S") : QStringLiteral("N")) +
        QStringLiteral("_");
    for (int days : p.reviewIntervals)
        l1 += padded(days, 3) + QLatin1Char('-');

    QString l2 = (p.breakRemindersEnabled ? QStringLiteral("SI") : QStringLiteral("NO")) +
                 QStringLiteral("_") +
                 (p.periodicBreaks ? QStringLiteral("SIPER") : QStringLiteral("NOPER")) +
                 QStringLiteral("_");
    for (int minutes : p.breakSchedule)
        l2 += padded(minutes, 3) + QLatin1Char('-');
    l2 += (p.blinkEnabled ? QStringLiteral("Parpad_SI_") : QStringLiteral("Parpad_NO_")) +
          padded(p.blinkPeriod, 2) + QStringLiteral("__");

    const QString l3 = (p.promotionFlag ? QStringLiteral("SI") : QStringLiteral("NO")) +
                       QStringLiteral("__") + padded(p.promotionThreshold, 3) +
                       QStringLiteral("__") + padded(p.promotionCount, 3) + QStringLiteral("__");
    const QString l4 =
        (p.sameDayReviewsAllowed ? QStringLiteral("SI    ") : QStringLiteral("NO    ")) +
        kSameDayNote;
    return {l1, l2, l3, l4};
}

int breakTimerIntervalMs(const Preferences& prefs) {
    return prefs.breakSchedule[1] * 60000;
}

int blinkTimerIntervalMs(const Preferences& prefs) {
    return prefs.blinkPeriod * 60000;
}

LoadSteps loadPreferences(bool fileExists, const std::optional<QStringList>& fileLines,
                          PreferencesState& state) {
    LoadSteps steps;
    bool exists = fileExists;
    if (exists && (!fileLines || !preferenceLinesReadable(*fileLines))) {
        steps.deleteFile = true;
        exists = false;
    }
    if (exists) {
        state.text = *fileLines;
        if (state.reloadFlag) {
            parseLines12(state.text, state.values);
            steps.parsedLines12 = true;
        }
        state.reloadFlag = false;
    } else {
        // First run: the values that the rest of this activation needs; the next activation
        // parses the new file and brings every default into force.
        state.values.dayFirstDates = true;
        state.values.languageCode = QStringLiteral("ESP");
        state.values.timedReviewEnabled = true;
        state.values.breakRemindersEnabled = true;
        state.values.blinkPeriod = 5;
        state.values.blinkEnabled = true;
        state.text = defaultPreferenceLines();
        parseBreakSchedule(state.text, state.values.breakSchedule);
        state.reloadFlag = true;
        steps.firstRun = true;
    }
    parseLines34(state.text, state.values);
    return steps;
}

void writePreferencesFile(const QString& programFolder, const QStringList& lines) {
    const QString path = QDir(programFolder).filePath(kPreferencesFileName);
    const QByteArray bytes = rtf::writeLines(lines);
    try {
        files::writeWhole(path, bytes);
    } catch (const files::FileError& e) {
        // The options screen's own message for this file.
        throw files::FileError(QStringLiteral("No se pudo escribir el archivo %1.").arg(path),
                               e.reason());
    }
}

} // namespace settings
