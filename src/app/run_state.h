// The shared state of the run: the values every screen reads or writes while the program runs.
// Program owns the one instance; screens and the data module reach it through Program.
#pragma once

#include "review/breaks.h"
#include "review/selection.h"
#include "settings/preferences.h"

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

    // The card selection: the filter built by the selection screen (the base filter when a study
    // file is opened), whether it is in force, and the filter a quick-selection review kept aside
    // to be put back afterwards.
    review::SelectionState selection;
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

    // The card the editor showed when it closed after changing cards of the card selection
    // (AutoInc; 0 for none): the selection's grid goes back to it.
    qint64 lastEditedCard = 0;
    // Input of the message dialog.
    QString messageText;

    // Set when the blink notice is shown and cleared when it hides. While it is set, the next
    // activation of a screen that regains the focus only clears it; a screen that opens runs its
    // whole activation and leaves it (Program::beginActivation).
    bool skipNextActivation = false;
    // Long work runs (LongOperation): the break and blink timers wait for their next tick.
    bool longOperation = false;
    // True (and the flag cleared) when a pending skip is there to be taken.
    bool takeSkipNextActivation() {
        const bool skip = skipNextActivation;
        skipNextActivation = false;
        return skip;
    }

    // The preferences in force (read at the main screen's activation; the defaults until then),
    // and whether the next read parses lines 1 and 2 of the preferences file.
    settings::Preferences prefs;
    bool preferencesReload = true;

    // The break reminder.
    review::BreakState breaks;
};
