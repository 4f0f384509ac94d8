// The shared state of the run: the values every screen reads or writes while the program runs.
// Program owns the one instance; screens and the data module reach it through Program.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <array>

struct RunState {
    // Folder of the program file, without a trailing separator.
    QString programFolder;
    // Full path of the open study file's .DB file. At start the dat folder of the program folder
    // with a trailing separator; it takes whatever the open dialog returned, also an empty text.
    QString currentTablePath;
    // Initial folder of the open dialog: the dat folder at start, then the folder of the current
    // table path each time entry 1 shows the dialog.
    QString openDialogFolder;
    // File name of the open .DB file without its extension.
    QString studyFileName;
    // A study file is open.
    bool fileOpen = false;
    // The open study file packs its card content (compressed or enciphered).
    bool packedContent = false;

    // Filter built by the selection screen; the base filter when a study file is opened.
    QString selectionFilter;
    // The selection screen's filter is in force, and the filter a quick-selection review kept
    // aside to be put back afterwards; set by the card selection screen.
    bool selectionActive = false;
    QString savedSelectionFilter;
    // Set before the card selection screen opens from the review selection.
    bool selectorMode = false;
    bool resetSelection = false;
    // The quick selection's level choices, levels 1 to 8.
    std::array<bool, 8> levelChoices{};
    // Filter saved by the timed review before it narrows the card table; restored at the next
    // activation of the main screen.
    QString savedTimedReviewFilter;

    // Today as eight digits year, month, day, and as shown in masked date inputs.
    QString todayKey;
    QString todayDisplay;

    // Key of remembered-password files, computed once at start.
    QString volumeSerial;
    // Set by the password dialog, consumed when a study file is opened.
    bool rememberPasswordRequest = false;
    // Set by the password dialog's accept button, cleared by its exit button.
    bool passwordAccepted = false;

    // Set by entry 4 before the card editor opens in add mode.
    bool addMode = false;
    // True only while the print entry rebuilds the print table.
    bool printTableRequest = false;

    // Review order: AutoInc values (decimal text) a review still has to visit, and the flag set
    // when the last of them has been taken.
    QStringList pendingCards;
    bool lastCard = false;

    // Review session: when it started, and whether it ended because its last card was answered.
    QDateTime sessionStart;
    bool cardsExhausted = false;
    // The card editor was opened from the review screen: the card is loaded again on return.
    bool reviewEdit = false;

    // Zoom windows: the picture the image zoom shows, the text zoom's edit mode and whether it
    // was left with "Guarda y A&caba".
    QString zoomSource;
    bool textZoomEditMode = false;
    bool textZoomSaveRequest = false;

    // Input of the message dialog.
    QString messageText;

    // Set when the blink notice is shown: the next activation of any screen only clears it,
    // because showing the notice re-activates the screen below it.
    bool skipNextActivation = false;
    // Every activation handler starts here: true (and the flag cleared) when it must skip itself
    // once.
    bool takeSkipNextActivation() {
        const bool skip = skipNextActivation;
        skipNextActivation = false;
        return skip;
    }

    // Preferences (read at the main screen's activation). The values below are the defaults of
    // the preferences file.
    bool preferencesReload = true;
    bool dayFirstDates = true;
    QString languageCode = QStringLiteral("ESP");
    bool timedReviewEnabled = true;
    std::array<int, 9> reviewIntervals{0, 1, 7, 21, 45, 90, 120, 150, 180};
    bool breaksEnabled = true;
    bool periodicBreaks = true;
    std::array<int, 7> breakSchedule{30, 35, 30, 30, 25, 25, 20};
    bool blinkEnabled = true;
    int blinkPeriod = 5;
    // Stored and carried along; nothing acts on them.
    bool promotionFlag = true;
    int promotionThreshold = 20;
    int promotionCount = 10;
    bool sameDayReviewsAllowed = true;

    // Break reminder.
    bool breakAllowed = true;
    int breakNumber = 1;
    QDateTime breakStart;
    qint64 accumulatedBreakMs = 0;
};
