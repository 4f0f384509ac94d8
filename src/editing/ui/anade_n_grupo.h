// Group entry: up to 98 short cards typed in a grid, one a row, stored all at once;
// the grid written to and read from a group text file. Entry 5 of the main screen opens it.
#pragma once

#include "app/screen_kit.h"
#include "editing/group_entry.h"

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

class TAnade_n_Grupo : public ProgramDialog {
    Q_OBJECT
public:
    explicit TAnade_n_Grupo(Program& program);

    void FormActivate() override;

    void button5Click();     // "Borra lín&ea"
    void button4Click();     // "Borrar t&odo"
    void buttonbtn1Click();  // "G&uarda a archivo TXT (separador &&)"
    void buttonbtn2Click();  // "&Lee de archivo TXT (separador &&)"
    void btnButton10Click(); // "&Guardar y Salir"
    void btnButton9Click();  // "&Salir sin guardar" (also Esc)
    void btn1Click();        // "&Ayuda"

    // The 98 rows of the grid as the cells hold them (an open cell editor's text not included
    // until it is committed).
    editing::GroupRows rows() const;
    // The three shared boxes.
    editing::GroupShared shared() const;

    // Every close (buttons, Esc, the window's close button) first commits an open cell editor.
    void done(int result) override;

    // The beep of a key the importance column refuses (tests count it).
    std::function<void()> beep;

    QWidget* Panel1; // the top panel
    QLabel* label2;
    QLabel* label1;
    QLineEdit* maskedit3;
    QLabel* label6;
    QLineEdit* edit1;
    QLabel* label3;
    QLineEdit* maskedit2;
    QLabel* label4;
    QTableWidget* StringGrid1;
    QPushButton* button5;
    QPushButton* button4;
    QPushButton* buttonbtn1;
    QPushButton* buttonbtn2;
    QPushButton* btnButton10;
    QPushButton* btnButton9;
    QPushButton* btn1;

protected:
    // Leaving the window closes the cell editor (its text kept); coming back to the grid opens it
    // again.
    void changeEvent(QEvent* event) override;

private:
    class Grid;
    class CellDelegate;

    Grid& grid() const;
    void setRow(int row, const editing::GroupRow& cells);
    void emptyRows(int first, int count);
    // Opens the cell editor on the current cell again (the editor is always shown).
    void editCurrentCell();
    // Shows the message of a refused row or value and puts the focus where it is.
    void showProblem(const editing::GroupProblem& problem);
    QString importFolder() const;

    // The last paths chosen in the save and open dialogs (empty while none was chosen).
    QString savePath_;
    QString openPath_;
};
