// The global modification screen: one value for up to five fields of every card of the selection
// in force (the card selection's, or every card of a level other than 0).
#pragma once

#include "app/screen_kit.h"
#include "editing/global_modification.h"

#include <optional>

class DateBoxEdit;
class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

class TModif_glob_ : public ProgramDialog {
    Q_OBJECT
public:
    explicit TModif_glob_(Program& program);

    void FormShow() override;
    void FormActivate() override;

    void CheckBoxClick(QCheckBox* box); // ticking or clearing one of the five boxes
    void Button5Click();                // "  Selecci&onar Fichas"
    void BitBtn2Click();                // " Realizar la &Modificación"
    void Button1Click();                // "&Salir"
    void BitBtn1Click();                // "&Ayuda"

    // The change the ticked boxes ask for; nullopt (after the message, the focus in the box)
    // when a ticked box holds no valid value.
    std::optional<editing::GlobalChange> checkedChange();

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3; // the date hint
    QCheckBox* CheckBox1;
    QLineEdit* MaskEdit1;
    QCheckBox* CheckBox2;
    QLineEdit* Edit1;
    QCheckBox* CheckBox3;
    QLineEdit* MaskEdit2;
    QCheckBox* CheckBox4;
    DateBoxEdit* MaskEdit3;
    QCheckBox* CheckBox5;
    QLineEdit* MaskEdit4;
    QPushButton* Button5;
    QPushButton* BitBtn2;
    QPushButton* Button1;
    QPushButton* BitBtn1;
    QProgressBar* Gauge1;

private:
    // The value box of a check box.
    QWidget* valueBox(QCheckBox* box) const;
    // Puts the selection in force on the card table.
    void putSelectionOnTable();
};
