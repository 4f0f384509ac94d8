// A masked date box: day or month, the system's date separator, month or day, separator, a
// two-digit year. Its text is read in the program's form, eight characters with a blank for each
// position not typed ("05/  /24"), as studyfile::readDateBox expects it.
#pragma once

#include "platform/clock.h"

#include <QLineEdit>

class DateBoxEdit : public QLineEdit {
    Q_OBJECT
public:
    // The mask is built here, once: the text typed survives every later activation of the screen.
    explicit DateBoxEdit(QWidget* parent = nullptr,
                         const QString& separator = platform::systemDateSeparator());

    // The input mask for a separator: two optional digits, separator, two optional digits,
    // separator, two required digits, "_" marking the blanks. (The program's masks write
    // "!99/99/00" with "9" optional and "0" required, Qt's mask letters the other way round;
    // the "/" stands for the date separator.)
    static QString maskFor(const QString& separator);

    // The text in the program's form: the shown text with each "_" a blank. (QLineEdit::text()
    // drops the blanks, so "05/__/24" would read "05//24" and shift every position after it.)
    QString programText() const;
};
