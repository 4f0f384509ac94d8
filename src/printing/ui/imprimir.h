// The print screen: the cards in view printed as question sheets and answer sheets that land back
// to back, previewed first or printed (a PDF file is chosen in the print dialog).
#pragma once

#include "app/screen_kit.h"
#include "printing/print_choices.h"
#include "printing/print_job.h"

#include <QFont>

#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class RadioGroup;

class TImprimir_ : public ProgramDialog {
    Q_OBJECT
public:
    explicit TImprimir_(Program& program);

    void FormShow() override;
    void FormActivate() override;

    void GrupoClick();      // a click in "Grupo_Preg" or "Grupo_Resp": the choice checks
    void ComboBox1Change(); // the paper size
    void CheckBox4Click();  // " - Ajustar Imagen al tamaño impresión."
    void Button4Click();    // "&Fuente de Texto y Solo Texto"
    void Button5Click();    // "  Selecci&onar Fichas"
    void Button3Click();    // "Ver  &Preguntas"
    void Button6Click();    // "Ver  &Respuestas"
    void Button2Click();    // "I&mprimir Preguntas"
    void Button7Click();    // "Imprimir Respu&estas"
    void Button1Click();    // "&Salir"
    void BitBtn1Click();    // "&Ayuda"

    // The choices and options as the controls hold them now.
    printing::PrintChoices choices() const;
    printing::PrintSettings settings() const;
    const QFont& textFont() const { return textFont_; }

    RadioGroup* Grupo_Preg;
    RadioGroup* Grupo_Resp;
    QGroupBox* Grupo_FichxPag;
    QRadioButton* FichxPag_6;
    QRadioButton* FichxPag_8;
    QRadioButton* FichxPag_10;
    QRadioButton* FichxPag_3;
    QRadioButton* FichxPag_4;
    QRadioButton* FichxPag_5;
    QGroupBox* GroupBox1; // " Tamaño  de  la  Página: "
    QComboBox* ComboBox1;
    QLabel* Label4;
    QLabel* Label6;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2;
    QCheckBox* CheckBox3;
    QCheckBox* CheckBox4;
    QPushButton* Button4;
    QLabel* Label5;
    QPushButton* Button5;
    QPushButton* Button3;
    QPushButton* Button6;
    QPushButton* Button2;
    QPushButton* Button7;
    QPushButton* Button1;
    QPushButton* BitBtn1;

protected:
    // Esc and the window's close button leave like "&Salir".
    void reject() override;

private:
    // The cards-per-page buttons in the order of printing::kPerPageValues.
    std::array<QRadioButton*, 6> perPageButtons() const;
    // Shows the result of the choice checks on the controls, without running them again.
    void applyCheck(const printing::ChoiceCheck& check);
    void showCount();
    // Fills the print table for `side` and previews or prints it; the print table holds no card
    // content afterwards.
    void run(printing::Side side, bool preview);
    void draw(printing::Side side, bool preview, const printing::PrintSettings& chosen,
              const printing::PrintSource& source);

    QFont textFont_ = report::ReportLayout::defaultFont();
    bool warnNotPrintable_ = false; // set when the screen opens, taken by its first activation
};
