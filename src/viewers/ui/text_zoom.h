// The text zoom: a rich text shown large, read-only or editable with a save button.
#pragma once

#include "app/screen_kit.h"

class QPushButton;
class QTextDocument;
class QTextEdit;

class TText_Zoom_ : public ProgramDialog {
    Q_OBJECT
public:
    explicit TText_Zoom_(Program& program);

    // Shows `document` modally, editable (with "Guarda y A&caba") or read-only. True when it was
    // left with "Guarda y A&caba": `document` then holds the edited text; otherwise `document` is
    // left as it was.
    bool show(QTextDocument& document, bool editable);

    void FormActivate() override;
    void Button1Click(); // "Guarda y A&caba"
    void Button2Click(); // " &Salir"
    void BitBtn1Click(); // "&Ayuda"

    // The mode of the current (or last) opening, and whether it ended with a save.
    bool editable() const { return editable_; }
    bool saveRequested() const { return saveRequested_; }

    QTextEdit* RichEdit1;
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* BitBtn1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    bool editable_ = false;
    bool saveRequested_ = false;
};
