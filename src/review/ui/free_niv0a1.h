// The promotion screen: releases parked level-0 cards into the review cycle, by a number of
// cards, by cards marked in a grid, or by a condition on the importance level or the card key.
// While it is open the card table shows the level-0 cards; closing it puts back the filter it
// found.
#pragma once

#include "app/screen_kit.h"
#include "review/promotion.h"

#include <array>
#include <optional>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QCheckBox;
class QTableView;
class QTabWidget;
namespace studyfile {
class CardGridModel;
}

class TFreeNiv0a1_ : public ProgramDialog {
    Q_OBJECT
public:
    explicit TFreeNiv0a1_(Program& program);

    // Each opening: the filter found is kept and the level-0 cards are shown.
    void FormShow() override;
    // The first activation of an opening says when level 0 is empty, and closes; later ones
    // (after a message) only bring the count and the grid up to date.
    void FormActivate() override;

    void Muestra_Num_Fichas_en_Nivel_0();
    void Button1Click(); // promote by count
    void Button2Click(); // promote the marked cards
    void Button3Click(); // promote by condition
    // The count of level-0 cards meeting the condition of page 3, in Label7.
    void Comprobar();
    void RadioButton1Click(); // condition on the importance level
    void RadioButton2Click(); // condition on the card key
    void RadioGroup1Click();  // an importance operator chosen
    void RadioGroup2Click();  // a key operator chosen
    void CheckBox1Click();    // "Limitar el número de fichas"

    // The operator chosen in an operator group (item 0 "Igual que" ... 4 "Menor o igual que").
    review::Comparison importanceComparison() const;
    review::Comparison keyComparison() const;
    // The AutoInc values of the rows marked in the grid, in table order.
    std::vector<qint64> markedCards() const;
    studyfile::CardGridModel& gridModel() { return *gridModel_; }

    // However the screen closes, the filter found at its opening goes back on the card table.
    void done(int result) override;

    QLabel* label5; // count of level-0 cards
    QTabWidget* PageControl1;
    QWidget* TabSheet1;
    QWidget* TabSheet2;
    QWidget* TabSheet3;
    // Page 1: by count.
    QLineEdit* MaskEdit1;
    QPushButton* Button1;
    // Page 2: one by one.
    QTableView* DBGrid1;
    QPushButton* Button2;
    // Page 3: by importance level or by card key.
    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QGroupBox* RadioGroup1;
    std::array<QRadioButton*, 5> RadioGroup1Items;
    QLineEdit* MaskEdit2;
    QGroupBox* RadioGroup2;
    std::array<QRadioButton*, 5> RadioGroup2Items;
    QLineEdit* Edit1;
    QLabel* Label7; // count for the condition
    QCheckBox* CheckBox1;
    QLabel* limitLabel;   // "que van a pasar al nivel 1": clicking it toggles CheckBox1
    QLabel* maximumLabel; // "Cantidad máxima:"
    QLineEdit* MaskEdit3;
    QPushButton* Button3;
    QPushButton* exitButton; // "  &Salir"
    QPushButton* helpButton; // "  &Ayuda"

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The condition of page 3, or nullopt when the importance field is empty.
    std::optional<QString> condition() const;
    // Brings the grid and the count up to date after a promotion.
    void afterPromotion();
    void showConditionKind();
    // Comprobar, when the field of the chosen kind holds more than blanks (an operator chosen,
    // the number or key field left).
    void countWhenFilled();

    QButtonGroup* operators1_;
    QButtonGroup* operators2_;
    studyfile::CardGridModel* gridModel_;
    // The card table's filter found at the opening.
    QString savedFilter_;
    bool savedFiltered_ = true;
    bool open_ = false;    // between the opening and the close
    bool opening_ = false; // the first activation of an opening is still to come
};
