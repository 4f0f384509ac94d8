// The image zoom: one of the program's pictures scaled to the screen. A click or Esc closes it.
#pragma once

#include "app/screen_kit.h"
#include "platform/picture/picture.h"

class PictureBox;
class QLabel;

class TImag_Zoom_ : public ProgramDialog {
    Q_OBJECT
public:
    explicit TImag_Zoom_(Program& program);

    // Shows `picture` modally; `source` is the number of the program's picture it comes from.
    void show(const picture::Picture& picture, int source);

    void FormActivate() override;
    // Fits the zoomed picture into the picture area (picture number 11).
    void Ajusta_Imagen();

    // The number of the picture shown by the current (or last) opening.
    int source() const { return source_; }

    QWidget* Panel1;    // the picture area
    PictureBox* Image1; // the zoomed picture
    QLabel* Label1;     // the closing hint

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    picture::Picture picture_;
    int source_ = 0;
};
