// The message dialog: the one way the program reports to the user (Program::Ver_Mensaje).
#pragma once

#include "app/screen_kit.h"

class QLabel;

class TMensaje : public ProgramDialog {
    Q_OBJECT
public:
    explicit TMensaje(Program& program);

    // Takes the message text of the run state, sizes the window to it and centres it, before
    // the window is on view.
    void FormShow() override;
    void FormActivate() override;

    // The text shown, as the program wrote it ("\r" line breaks).
    const QString& message() const { return message_; }

    // What the window's frame (title bar and borders) adds to its client area. Sizes of the
    // dialog are outer sizes, as the window system shows them.
    QSize frameExtra() const;

    QLabel* Label1; // the message
    QLabel* Label2; // the hint

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QString message_;
};
