// The options screen's logic: the values its controls show, which controls are enabled, the
// clean-up of a number field when it is left, and the save, which reads the fields in order and
// stops at the first one that does not hold a whole number.
#pragma once

#include "settings/preferences.h"

#include <QString>
#include <QStringList>

#include <array>

namespace settings {

// The values of the options screen's controls.
struct OptionsForm {
    // maskEdit[k] is the text of MaskEditk (k = 1 to 19; index 0 unused): 1-9 review intervals,
    // 10 first break, 11 break period, 12-16 second to sixth break, 17-18 promotion settings,
    // 19 blink period.
    std::array<QString, 20> maskEdit;
    bool dayFirstDates = true;    // RadioGroup1 shows item 1
    bool languageEnglish = false; // RadioGroup2 shows item 0
    bool timedReview = true;      // CheckBox2
    bool breakReminders = true;   // CheckBox1
    bool periodicBreaks = true;   // RadioButton1 selected (else RadioButton2)
    bool blinkNotice = true;      // CheckBox5
    bool sameDayReviews = true;   // CheckBox6
    bool promotionFlag = true;    // CheckBox3 (hidden)
};

// Number of digits a field holds: 2 for MaskEdit19, 3 for the others.
int fieldWidth(int maskEdit);

// The form as the screen's activation fills it: intervals and break schedule parsed again from
// lines 1 and 2 of the preferences text (those of inForce when the text cannot be read), every
// other control from the values in force. Numbers are shown without leading zeros.
OptionsForm optionsForm(const QStringList& preferencesText, const Preferences& inForce);

// Enabled state of the controls that depend on others.
struct OptionsEnabling {
    bool intervals = false;   // MaskEdit1-9 and their captions: CheckBox2
    bool breaks = false;      // first break field, its captions, both radio buttons: CheckBox1
    bool periodField = false; // MaskEdit11 and "min.": CheckBox1 and RadioButton1
    bool sequence = false;    // MaskEdit12-16 and their captions: CheckBox1 and RadioButton2
    bool blinkPeriod = false; // MaskEdit19: CheckBox5
};
OptionsEnabling optionsEnabling(const OptionsForm& form);

// The text a number field takes when the focus leaves it: an empty blink period becomes "0",
// a blank promotion threshold "20 " and a blank promotion count "10 "; other fields keep theirs.
QString fieldTextOnExit(int maskEdit, const QString& text);

// A field's value: its trimmed text must be one to width digits.
std::optional<int> fieldNumber(int maskEdit, const QString& text);

// The message shown when a field cannot be read as a whole number.
QString conversionErrorMessage(const QString& text);

struct SaveResult {
    bool ok = false;
    int badField = 0;  // MaskEdit number of the first field that is not a whole number
    QString badText;   // its text
    QStringList lines; // the new preferences text when ok
};

// Save ("A&ceptar") after the font was stored: reads the fields in the screen's order (review
// intervals 1-9, then break period, first break, breaks 2 to 6, blink period, promotion threshold
// and count) into inForce as each is read, and builds the four lines. At the first field that is
// not a whole number it stops: the fields read before it stay in force, and nothing is to be
// written. On success the promotion flag is cleared (line 3 is written with "NO").
SaveResult saveOptions(const OptionsForm& form, Preferences& inForce);

} // namespace settings
