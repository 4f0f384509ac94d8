#include "app/ui/passw_fe.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

using namespace kit;

TPassw_FE_::TPassw_FE_(Program& program)
    : ProgramDialog(program, "TPassw_FE_", QStringLiteral("  Contraseña del Fichero de Estudio"),
                    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setFixedSize(430, 176);
    setFont(arialFont(14, plain));

    Label1 =
        label(this, "Label1", QStringLiteral("Introduzca la contraseña del Fichero de Estudio:"),
              QRect(20, 16, 390, 22), Px{14, bold});
    Edit1 = edit(this, "Edit1", QRect(20, 44, 390, 28));
    // Hidden characters show as "*".
    Edit1->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    CheckBox1 =
        check(this, "CheckBox1", QStringLiteral("Ocultar contraseña"), QRect(20, 84, 190, 24));
    CheckBox2 =
        check(this, "CheckBox2", QStringLiteral("Guardar contraseña"), QRect(220, 84, 190, 24));
    // Enter in the input is handled by the input itself (it presses "Aceptar" once); no button
    // is the dialog's default.
    BitBtn1 = button(this, "BitBtn1", QStringLiteral(" Ac&eptar"), QRect(20, 124, 120, 32));
    Button2 = button(this, "Button2", QStringLiteral("&Salir"), QRect(155, 124, 120, 32));
    Button3 = button(this, "Button3", QStringLiteral("&Ayuda"), QRect(290, 124, 120, 32));

    onClick(CheckBox1, &TPassw_FE_::CheckBox1Click);
    onClick(BitBtn1, &TPassw_FE_::BitBtn1Click);
    onClick(Button2, &TPassw_FE_::Button2Click);
    onClick(Button3, &TPassw_FE_::Button3Click);
    program_.connectGuarded(Edit1, &QLineEdit::returnPressed, this, [this] { BitBtn1Click(); });
}

QString TPassw_FE_::ask() {
    program_.runModal(*this);
    return Edit1->text();
}

void TPassw_FE_::FormActivate() {
    if (!beginActivation())
        return;
    centreOnDesktop(*this, size());
    Edit1->clear();
    Edit1->setEchoMode(CheckBox1->isChecked() ? QLineEdit::Password : QLineEdit::Normal);
    Edit1->setFocus();
}

void TPassw_FE_::CheckBox1Click() {
    Edit1->setEchoMode(CheckBox1->isChecked() ? QLineEdit::Password : QLineEdit::Normal);
    Edit1->setFocus();
}

void TPassw_FE_::BitBtn1Click() {
    RunState& state = program_.state();
    state.passwordAccepted = true;
    if (CheckBox2->isChecked())
        state.rememberPasswordRequest = true;
    accept();
}

void TPassw_FE_::Button2Click() {
    program_.state().passwordAccepted = false;
    Edit1->clear();
    QDialog::reject();
}

void TPassw_FE_::Button3Click() {
    program_.showHelp(52);
}

void TPassw_FE_::reject() {
    Button2Click();
}
