// The card selection screen: up to six condition rows choose the cards the card table lets
// through, a grid shows them, and they are modified one by one in the card editor or deleted.
// Opened from the main screen for full use, or in selector mode by a screen that only needs the
// cards chosen (modifying and deleting disabled). The selection stays on the card table when the
// screen closes.
#pragma once

#include "app/screen_kit.h"
#include "editing/selection_filter.h"

#include <array>
#include <vector>

class DateBoxEdit;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
namespace studyfile {
class CardGridModel;
}

class TFILTRO_ENV : public ProgramDialog {
    Q_OBJECT
public:
    static constexpr int kRows = 6;

    explicit TFILTRO_ENV(Program& program);

    // Runs the screen in selector mode (modifying and deleting disabled); with resetRequest the
    // first activation drops a selection left on the card table. Both flags are clear again when
    // it returns.
    void runAsSelector(bool resetRequest);

    // Each opening: the next activation puts the grid on the table's current card.
    void FormShow() override;
    // Each activation (also after every message and on return from the card editor): cheap, it
    // keeps the grid's marks and current row unless the cards in view changed.
    void FormActivate() override;
    // Every way of closing (" &Salir", Esc, the window's close box) leaves selector mode.
    void reject() override;

    void Button2Click(); // "  S&elección"
    void Button4Click(); // "  &Quitar Selección"
    void Button7Click(); // "Mo&dificar Fichas" (also a double click in the grid)
    void Button6Click(); // "&Borrar Fichas Marcadas"
    void Button5Click(); // "Borrar &Todas las Fichas"
    void Button3Click(); // "&Ayuda"
    // A field chosen in the field combo of a row (0-based).
    void fieldChosen(int row);
    // The adding box of a row (0-based, 0 to 4) ticked or cleared.
    void addingBoxChanged(int row);

    // The condition rows in use, as the filter builder reads them.
    std::vector<editing::ConditionRow> conditionRows() const;
    // The AutoInc values of the rows marked in the grid, in table order.
    std::vector<qint64> markedCards() const;
    studyfile::CardGridModel& gridModel() { return *gridModel_; }

    // The controls of each row (0-based): the connector combo (none for the first row), field
    // and operator combos, value box, date box, and the box that adds the next row (none for the
    // last). Their objectNames are ComboBox1..ComboBox17, Edit1..Edit6, MaskEdit1..MaskEdit6,
    // CheckBox1..CheckBox5.
    std::array<QLabel*, kRows> rowLabels{};
    std::array<QComboBox*, kRows> connectorCombos{};
    std::array<QComboBox*, kRows> fieldCombos{};
    std::array<QComboBox*, kRows> operatorCombos{};
    std::array<QLineEdit*, kRows> valueBoxes{};
    std::array<DateBoxEdit*, kRows> dateBoxes{};
    std::array<QCheckBox*, kRows - 1> addingBoxes{};

    QLabel* Label5; // " Fichas en uso: n "
    QLabel* Label6; // " Fichas Nivel 0: n "
    QTableView* DBGrid1;
    QPushButton* Button1; // " &Salir"
    QPushButton* Button2; // "  S&elección"
    QPushButton* Button3; // "&Ayuda"
    QPushButton* Button4; // "  &Quitar Selección"
    QPushButton* Button5; // "Borrar &Todas las Fichas"
    QPushButton* Button6; // "&Borrar Fichas Marcadas"
    QPushButton* Button7; // "Mo&dificar Fichas"

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Shows the row's value box or, for the date field, its date box.
    void showValueOrDate(int row);
    // Shows or hides (and enables or disables) a row after the first.
    void setRowInUse(int row, bool inUse);
    // The digit check of a value box: false (with the message, the focus back in the box) when
    // it holds anything but the digits 0-9.
    bool checkDigits(int row);
    // The counts of Label5 and Label6.
    void showCounts();
    // The grid's current row goes to the table's current card, marked alone.
    void gridFollowsTable();
    // After cards were deleted: the grid, the counts and the current card brought up to date.
    void afterDelete();
    // Deletes the cards with these keys in one transaction, under a wait cursor.
    void deleteCards(const std::vector<qint64>& keys);

    studyfile::CardGridModel* gridModel_;
    // Set when the card editor opens from here: the next activation puts the grid on the card
    // the editor showed last.
    bool returnToCard_ = false;
    // Set at each opening, taken by its first activation.
    bool opening_ = false;
};
