// A rich-text editor that takes text from paste and drop, formatted or plain, but never images:
// the program stores rich text without pictures, so an image would show here and vanish when the
// text is stored.
#pragma once

#include <QTextEdit>

class RichTextEdit : public QTextEdit {
    Q_OBJECT
public:
    using QTextEdit::QTextEdit;

protected:
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
};
