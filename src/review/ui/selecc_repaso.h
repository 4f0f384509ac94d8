// The review selection screen: chooses the cards of a review session, by the selection of the
// card selection screen or by level, and starts the session.
#pragma once

#include "app/screen_kit.h"
#include "review/selection.h"
#include "settings/preferences.h"

#include <array>

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;

class TSelecc_Repaso_ : public ProgramDialog {
    Q_OBJECT
public:
    explicit TSelecc_Repaso_(Program& program);

    // Opening: the mode follows the card table's filter.
    void FormShow() override;
    void FormActivate() override;
    // The preferences just read: the same-day tick box follows them.
    void showPreferences(const settings::Preferences& prefs);
    void RadioButton1Click();
    void RadioButton2Click();
    void Button5Click(); // "  Selecci&onar Fichas"
    void CheckBoxClick(int level);
    void Button1Click(); // "  &Repasar"
    void Button4Click(); // "   Repasar con REPASO POR &TIEMPO"
    void Button2Click(); // "&Salir"

    // The mode the radio buttons show; nullopt while neither is ticked (before the first
    // activation of the run).
    std::optional<review::SelectionMode> mode() const;

    QRadioButton* RadioButton1;
    QPushButton* Button5;
    QRadioButton* RadioButton2;
    std::array<QCheckBox*, 8> levelBoxes; // CheckBox1 ... CheckBox8
    QCheckBox* CheckBox9;
    QLabel* Label1;
    QPushButton* Button1;
    QPushButton* Button4;
    QPushButton* Button2;
    QPushButton* BitBtn1;

private:
    void modeSwitch();
    // Both start buttons: the session filter, then the session (or the message when it leaves no
    // card).
    void start(bool dueDate);
};
