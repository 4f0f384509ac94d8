// What every screen builds the same way: one-line builders for its controls (each sets the
// control's name, font and geometry), its fonts and its place on the desktop, and ProgramDialog,
// the base of the program's dialogs (activation skip test, window state, centring of the design
// area, guarded click wiring and the shared zoom operations).
#pragma once

#include "app/program.h"
#include "app/program_screen.h"

#include <QDialog>
#include <QFont>
#include <QRect>
#include <QSize>

#include <concepts>

class PictureBox;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTextDocument;
class QTextEdit;
class QWidget;

namespace kit {

inline constexpr bool bold = true;
inline constexpr bool plain = false;

// An "Arial" font size in pixels; a size of 0 leaves the control with its parent's font.
struct Px {
    int pixels = 0;
    bool bold = false;
};

// The "Arial" font of the screens, sized in pixels.
QFont arialFont(int pixels, bool bold);
QFont arialFont(Px px);

// Moves window so that a window of outerSize sits in the middle of the desktop's available area.
void centreOnDesktop(QWidget& window, QSize outerSize);

// The builders. `name` becomes the objectName (null: an unnamed caption); a geometry of QRect()
// leaves the control to the screen's layout code. Labels show plain text; buttons never become the
// default button by taking the focus (autoDefault off).
QLabel* label(QWidget* parent, const char* name, const QString& text, const QRect& geometry,
              Px font = {});
QPushButton* button(QWidget* parent, const char* name, const QString& caption,
                    const QRect& geometry, Px font = {});
QCheckBox* check(QWidget* parent, const char* name, const QString& caption, const QRect& geometry,
                 Px font = {});
QRadioButton* radio(QWidget* parent, const char* name, const QString& caption,
                    const QRect& geometry, Px font = {});
QLineEdit* edit(QWidget* parent, const char* name, const QRect& geometry, Px font = {});
QGroupBox* group(QWidget* parent, const char* name, const QString& title, const QRect& geometry,
                 Px font = {});
// A rich-text editor that takes formatted or plain text from paste and drop, never images.
QTextEdit* richEdit(QWidget* parent, const char* name, const QRect& geometry, Px font = {});
// A picture box that stretches its picture to the geometry it gets.
PictureBox* pictureBox(QWidget* parent, const char* name, const QRect& geometry);
// A plain child area (a panel) of the given geometry.
QWidget* panel(QWidget* parent, const char* name, const QRect& geometry);

} // namespace kit

class ProgramDialog : public QDialog, public ProgramScreen {
    Q_OBJECT
public:
    // A screen named `name` (its objectName) with its window title and, unless none are given,
    // its window flags.
    ProgramDialog(Program& program, const char* name, const QString& title,
                  Qt::WindowFlags flags = {});

protected:
    // The first step of every activation: false (and the skip-next-activation flag cleared)
    // when this activation is to be skipped (Program::beginActivation).
    bool beginActivation() { return program_.beginActivation(); }
    // The window is maximised when the main screen is, and not maximised when it is not.
    void followMainWindowState();
    // The window is maximised when the main screen is (and otherwise left as it is).
    void maximiseWithMainWindow();
    // The window teal and a silver design area "Panel1" of `size`, kept centred in it.
    QWidget* silverPanelOnTeal(QSize size);
    // Keeps `area` (a fixed-size design area) centred in the window whenever it is resized,
    // `lift` pixels above the middle; never beyond the top-left corner.
    void centreDesignArea(QWidget* area, int lift = 0);

    // Runs `handler` inside the guard when `control` is clicked.
    template <typename Control, typename Screen>
    void onClick(Control* control, void (Screen::*handler)()) {
        auto* screen = static_cast<Screen*>(this);
        program_.connectGuarded(control, &Control::clicked, this,
                                [screen, handler] { (screen->*handler)(); });
    }
    template <typename Control, std::invocable Handler>
    void onClick(Control* control, Handler handler) {
        program_.connectGuarded(control, &Control::clicked, this, handler);
    }

    // "Zoom this picture": the picture of `box` in the image zoom; an empty picture opens
    // nothing.
    void zoomPicture(const PictureBox& box);
    // "Zoom this text": `document` in the text zoom, editable or read-only; true when it was
    // left with "Guarda y A&caba" (the document then holds the edited text).
    bool zoomText(QTextDocument& document, bool editable);

    void resizeEvent(QResizeEvent* event) override;

    Program& program_;

private:
    QWidget* designArea_ = nullptr;
    int lift_ = 0;
};
