// The text zoom: a rich text shown large, read-only or editable with a save button.
#pragma once

#include "app/program_screen.h"

#include <QDialog>

class Program;
class QPushButton;
class QTextEdit;

class TText_Zoom_ : public QDialog, public ProgramScreen {
    Q_OBJECT
public:
    explicit TText_Zoom_(Program& program);

    void FormActivate() override;
    void Button1Click(); // "Guarda y A&caba"
    void Button2Click(); // " &Salir"
    void BitBtn1Click(); // "&Ayuda"

    QTextEdit* RichEdit1;
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* BitBtn1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    Program& program_;
};
