// What the two text import screens share: the separator and level boxes, the import button (also
// a click on the level's label), the open dialog that remembers where the learner last was, and
// the import itself (plan, then run), with its messages. The two screens differ in their caption,
// their help page and the import mode.
#pragma once

#include "app/screen_kit.h"
#include "exchange/text_import.h"

class QLabel;
class QLineEdit;
class QPushButton;

class TextImportScreen : public ProgramDialog {
    Q_OBJECT
public:
    void FormActivate() override;

    void Button1Click(); // "  I&mportar Fichas" (also a click on Label2)
    void Button2Click(); // "&Salir" (also Esc)
    void Button3Click(); // "&Ayuda"

    QLabel* Label1;
    QLineEdit* Edit1; // separator
    QLabel* Label2;
    QLineEdit* MaskEdit1; // level
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button3;

protected:
    TextImportScreen(Program& program, const char* name, const QString& title,
                     exchange::ImportMode mode, int helpContext);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The message of a finished import with `count` cards.
    QString doneMessage(int count) const;

    exchange::ImportMode mode_;
    int helpContext_;
    QString lastFolder_; // folder of the last file chosen; empty before the first
};
