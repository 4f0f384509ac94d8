// The program's preferences: the four lines of the preferences text (stored in "Study02.stu"),
// the values they hold, and the load steps of the main screen. Values sit at fixed positions;
// numbers are written with leading zeros to their width.
#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace settings {

inline const QString kPreferencesFileName = QStringLiteral("Study02.stu");

// Shown after the preferences file was created with the defaults.
extern const QString kFirstRunMessage;

struct Preferences {
    // Line 1.
    bool dayFirstDates = true;
    QString languageCode = QStringLiteral("ESP"); // "ESP" or "ING"
    bool timedReviewEnabled = true;
    std::array<int, 9> reviewIntervals{0, 1, 7, 21, 45, 90, 120, 150, 180}; // entries 1 to 9
    // Line 2.
    bool breakRemindersEnabled = true;
    bool periodicBreaks = true;
    std::array<int, 7> breakSchedule{30, 35, 30, 30, 25, 25, 20}; // minutes, entries 0 to 6
    bool blinkEnabled = true;
    int blinkPeriod = 5; // minutes
    // Line 3: promotion settings that are stored and carried along; nothing acts on them.
    bool promotionFlag = true;
    int promotionThreshold = 20;
    int promotionCount = 10;
    // Line 4.
    bool sameDayReviewsAllowed = true;

    friend bool operator==(const Preferences&, const Preferences&) = default;
};

// The four lines written on the first run.
QStringList defaultPreferenceLines();

// False when line 1 or line 2 is shorter than the positions read from it or holds anything but
// a digit in one of its number fields; such a preferences file is deleted and made anew.
bool preferenceLinesReadable(const QStringList& lines);

// Only the review interval table of line 1, or only the break schedule of line 2. False, and
// nothing changed, when the line is too short or a field is not all digits.
bool parseReviewIntervals(const QStringList& lines, std::array<int, 9>& intervals);
bool parseBreakSchedule(const QStringList& lines, std::array<int, 7>& schedule);

// Lines 1 and 2 into prefs. False, and prefs unchanged, when they are not readable.
bool parseLines12(const QStringList& lines, Preferences& prefs);
// Lines 3 and 4 into prefs. A missing line reads as empty; a line-3 number that is not all
// digits keeps its value in prefs.
void parseLines34(const QStringList& lines, Preferences& prefs);

// The four lines of prefs. Line 3 is written as given by promotionFlag. Numbers are cut into
// their field range (0 to 999, blink period 0 to 99) so that every value keeps its position.
QStringList preferenceLines(const Preferences& prefs);

// Timer intervals the preferences set: the break timer (first break) and the blink timer.
int breakTimerIntervalMs(const Preferences& prefs);
int blinkTimerIntervalMs(const Preferences& prefs);

// Writes the preferences text as the preferences file of the program folder, whole (a failure
// leaves the old file); throws files::FileError with the message shown to the user.
void writePreferencesFile(const QString& programFolder, const QStringList& lines);

// The preferences of the run as the main screen keeps them.
struct PreferencesState {
    Preferences values;
    QStringList text;       // the preferences text (the lines of the file)
    bool reloadFlag = true; // parse lines 1 and 2 at the next load
};

// What the main screen does after a load, in this order.
struct LoadSteps {
    bool deleteFile = false;    // the file could not be read or is unreadable: delete it
    bool firstRun = false;      // save state.text as the file, switch the break and blink timers
                                // on, show kFirstRunMessage
    bool parsedLines12 = false; // set the break and blink timers from state.values
};

// The load of every main-screen activation. fileExists: the preferences file is there;
// fileLines: its lines, or nullopt when reading it failed. Lines 1 and 2 are parsed only while
// the reload flag is set (which is then cleared); lines 3 and 4 every time. A missing, unreadable
// or unreadable-by-content file leads to the first run: the defaults replace the text, the
// first-run values are set and the reload flag is set, so that the next load parses the new
// file.
LoadSteps loadPreferences(bool fileExists, const std::optional<QStringList>& fileLines,
                          PreferencesState& state);

} // namespace settings
