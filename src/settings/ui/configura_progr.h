// The options screen: the preferences shown in a form and written to the preferences file
// "Study02.stu" by "A&ceptar".
#pragma once

#include "app/screen_kit.h"
#include "settings/options.h"
#include "settings/preferences.h"

#include <QFont>

#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class TConfigura_Progr_ : public ProgramDialog {
    Q_OBJECT
public:
    explicit TConfigura_Progr_(Program& program);

    void FormActivate() override;
    // The preferences just read: the same-day tick box follows them, and on the first run also
    // the timed review and break reminder tick boxes.
    void showPreferences(const settings::Preferences& prefs, bool firstRun);
    void Button10Click(); // "&Tipo de letra"
    void Button2Click();  // "Nue&va" main-screen picture
    void Button1Click();  // "Eli&minar" main-screen picture
    void CheckBox2Click();
    void CheckBox1Click();
    void RadioButtonClick();
    void CheckBox5Click();
    void Button3Click(); // "A&ceptar"
    void BitBtn2Click(); // "&Salir"
    // A number field lost the focus.
    void MaskEditExit(int number);

    // The form's values as the controls show them, and shown in the controls.
    settings::OptionsForm form() const;
    void setForm(const settings::OptionsForm& form);
    // The sample text and the font dialog take the stored font style.
    void Actualiza_Fuente_Conf();
    // Step 1 of the save: the font of the font dialog becomes the stored font style.
    void Guarda_Fuente();
    // The enabling rules.
    void applyEnabling();

    QWidget* Panel1;
    QLabel* Label37;
    QPushButton* Button10;
    QGroupBox* RadioGroup1;
    QRadioButton* RadioGroup1Item0; // "Mes - Día - Año  (mm-dd-aa)"
    QRadioButton* RadioGroup1Item1; // "Día - Mes - Año  (dd-mm-aa)"
    QGroupBox* RadioGroup2;         // hidden
    QRadioButton* RadioGroup2Item0; // "English / Inglés "
    QRadioButton* RadioGroup2Item1; // "Spanish / Español"
    QCheckBox* CheckBox5;
    QCheckBox* CheckBox6;
    QLabel* Label18;
    QPushButton* Button2;
    QPushButton* Button1;
    QCheckBox* CheckBox2;
    QCheckBox* CheckBox1;
    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QCheckBox* CheckBox3; // hidden
    QPushButton* Button3;
    QPushButton* BitBtn2;
    QPushButton* BitBtn1;
    // MaskEdit[k] is MaskEditk, k = 1 to 19 (index 0 unused).
    std::array<QLineEdit*, 20> MaskEdit{};

    // The font the font dialog holds (stored only by "A&ceptar").
    QFont dialogFont;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Captions enabled with their fields.
    std::array<QList<QWidget*>, 20> captions_;
    QString pictureFolder_; // where the picture dialog starts; empty before its first use
};
