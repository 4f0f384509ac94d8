// The study-file password dialog.
#pragma once

#include "app/screen_kit.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TPassw_FE_ : public ProgramDialog {
    Q_OBJECT
public:
    explicit TPassw_FE_(Program& program);

    // Shows the dialog modally and returns the password typed (empty after "Salir").
    QString ask();

    void FormActivate() override;
    void CheckBox1Click();
    void BitBtn1Click();
    void Button2Click();
    void Button3Click();

    QLabel* Label1;
    QLineEdit* Edit1;
    QCheckBox* CheckBox1; // hide the password
    QCheckBox* CheckBox2; // remember the password
    QPushButton* BitBtn1; // accept
    QPushButton* Button2; // exit
    QPushButton* Button3; // help

protected:
    // Esc and the window manager's close leave the dialog as "Salir" does.
    void reject() override;
};
