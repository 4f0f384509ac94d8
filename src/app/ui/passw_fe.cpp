#include "app/ui/passw_fe.h"

#include "app/program.h"
#include "app/screen_helpers.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

TPassw_FE_::TPassw_FE_(Program& program) : program_(program) {
    setObjectName(QStringLiteral("TPassw_FE_"));
    setWindowTitle(QStringLiteral("  Contraseña del Fichero de Estudio"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(430, 176);

    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(14);
    setFont(font);

    Label1 = new QLabel(QStringLiteral("Introduzca la contraseña del Fichero de Estudio:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(20, 16, 390, 22);
    QFont bold = font;
    bold.setBold(true);
    Label1->setFont(bold);

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(20, 44, 390, 28);
    // Hidden characters show as "*".
    Edit1->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));

    CheckBox1 = new QCheckBox(QStringLiteral("Ocultar contraseña"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setGeometry(20, 84, 190, 24);
    CheckBox2 = new QCheckBox(QStringLiteral("Guardar contraseña"), this);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    CheckBox2->setGeometry(220, 84, 190, 24);

    BitBtn1 = new QPushButton(QStringLiteral(" Ac&eptar"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(20, 124, 120, 32);
    Button2 = new QPushButton(QStringLiteral("&Salir"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(155, 124, 120, 32);
    Button3 = new QPushButton(QStringLiteral("&Ayuda"), this);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button3->setGeometry(290, 124, 120, 32);
    // Enter in the input is handled by the input itself (it presses "Aceptar" once); no button
    // is the dialog's default.
    for (QPushButton* b : {BitBtn1, Button2, Button3}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }

    program_.connectGuarded(CheckBox1, &QCheckBox::clicked, this, [this] { CheckBox1Click(); });
    program_.connectGuarded(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    program_.connectGuarded(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    program_.connectGuarded(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
    program_.connectGuarded(Edit1, &QLineEdit::returnPressed, this, [this] { BitBtn1Click(); });
}

void TPassw_FE_::FormActivate() {
    RunState& state = program_.state();
    if (state.takeSkipNextActivation())
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
