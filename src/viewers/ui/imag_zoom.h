// The image zoom: one of the program's pictures, named by the zoom source name, scaled to the
// screen. A click or Esc closes it.
#pragma once

#include "app/program_screen.h"

#include <QDialog>

class PictureBox;
class Program;
class QLabel;

class TImag_Zoom_ : public QDialog, public ProgramScreen {
    Q_OBJECT
public:
    explicit TImag_Zoom_(Program& program);

    void FormActivate() override;
    // Fits the zoomed picture into the picture area (picture number 11).
    void Ajusta_Imagen();

    QWidget* Panel1;    // the picture area
    PictureBox* Image1; // the zoomed picture
    QLabel* Label1;     // the closing hint

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    Program& program_;
};

// The picture box that a zoom source name names ("Repaso_Preg", "Repaso_Resp", "Crea_Fich"...),
// or null when that screen is not part of the program or the name is unknown.
const PictureBox* zoomSourcePicture(Program& program, const QString& zoomSource);
