// The study-file password dialog. The caller reads the typed password from Edit1 after the dialog
// closed (empty after "Salir").
#pragma once

#include "app/program_screen.h"

#include <QDialog>

class Program;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TPassw_FE_ : public QDialog, public ProgramScreen {
    Q_OBJECT
public:
    explicit TPassw_FE_(Program& program);

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

private:
    Program& program_;
};
