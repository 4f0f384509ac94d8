#include "app/screen_kit.h"

#include "app/ui/panta_inicio.h"
#include "platform/ui/picture_box.h"
#include "platform/ui/rich_text_edit.h"
#include "viewers/ui/imag_zoom.h"
#include "viewers/ui/text_zoom.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTextEdit>

namespace kit {

namespace {

template <typename W> W* place(W* widget, const char* name, const QRect& geometry, Px font) {
    if (name != nullptr)
        widget->setObjectName(QString::fromLatin1(name));
    if (font.pixels > 0)
        widget->setFont(arialFont(font));
    // QRect() leaves the control to the screen's own layout code (a box of no size at a place
    // is still a geometry: picture boxes start so).
    if (geometry != QRect())
        widget->setGeometry(geometry);
    return widget;
}

} // namespace

QFont arialFont(int pixels, bool bold) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QFont arialFont(Px px) {
    return arialFont(px.pixels, px.bold);
}

void centreOnDesktop(QWidget& window, QSize outerSize) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect desktop = screen->availableGeometry();
    window.move(desktop.left() + (desktop.width() - outerSize.width()) / 2,
                desktop.top() + (desktop.height() - outerSize.height()) / 2);
}

QLabel* label(QWidget* parent, const char* name, const QString& text, const QRect& geometry,
              Px font) {
    auto* l = place(new QLabel(text, parent), name, geometry, font);
    l->setTextFormat(Qt::PlainText);
    return l;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption,
                    const QRect& geometry, Px font) {
    auto* b = place(new QPushButton(caption, parent), name, geometry, font);
    b->setAutoDefault(false);
    return b;
}

QCheckBox* check(QWidget* parent, const char* name, const QString& caption, const QRect& geometry,
                 Px font) {
    return place(new QCheckBox(caption, parent), name, geometry, font);
}

QRadioButton* radio(QWidget* parent, const char* name, const QString& caption,
                    const QRect& geometry, Px font) {
    return place(new QRadioButton(caption, parent), name, geometry, font);
}

QLineEdit* edit(QWidget* parent, const char* name, const QRect& geometry, Px font) {
    return place(new QLineEdit(parent), name, geometry, font);
}

QGroupBox* group(QWidget* parent, const char* name, const QString& title, const QRect& geometry,
                 Px font) {
    return place(new QGroupBox(title, parent), name, geometry, font);
}

QTextEdit* richEdit(QWidget* parent, const char* name, const QRect& geometry, Px font) {
    auto* e = place(new RichTextEdit(parent), name, geometry, font);
    e->setAcceptRichText(true);
    return e;
}

PictureBox* pictureBox(QWidget* parent, const char* name, const QRect& geometry) {
    auto* box = place(new PictureBox(parent), name, geometry, {});
    box->setStretch(true);
    return box;
}

QWidget* panel(QWidget* parent, const char* name, const QRect& geometry) {
    return place(new QWidget(parent), name, geometry, {});
}

} // namespace kit

ProgramDialog::ProgramDialog(Program& program, const char* name, const QString& title,
                             Qt::WindowFlags flags)
    : program_(program) {
    setObjectName(QString::fromLatin1(name));
    setWindowTitle(title);
    if (flags != Qt::WindowFlags())
        setWindowFlags(flags);
}

void ProgramDialog::followMainWindowState() {
    if (program_.mainScreen().isMaximized())
        setWindowState(windowState() | Qt::WindowMaximized);
    else
        setWindowState(windowState() & ~Qt::WindowMaximized);
}

void ProgramDialog::maximiseWithMainWindow() {
    if (program_.mainScreen().isMaximized())
        setWindowState(windowState() | Qt::WindowMaximized);
}

QWidget* ProgramDialog::silverPanelOnTeal(QSize size) {
    QPalette windowPalette = palette();
    windowPalette.setColor(QPalette::Window, QColor(0, 128, 128));
    setPalette(windowPalette);
    setAutoFillBackground(true);
    QWidget* area = kit::panel(this, "Panel1", QRect(QPoint(0, 0), size));
    QPalette panelPalette = area->palette();
    panelPalette.setColor(QPalette::Window, QColor(192, 192, 192));
    area->setPalette(panelPalette);
    area->setAutoFillBackground(true);
    centreDesignArea(area);
    return area;
}

void ProgramDialog::centreDesignArea(QWidget* area, int lift) {
    designArea_ = area;
    lift_ = lift;
}

void ProgramDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (designArea_ != nullptr) {
        designArea_->move(qMax(0, (width() - designArea_->width()) / 2),
                          qMax(0, (height() - designArea_->height()) / 2 - lift_));
    }
}

void ProgramDialog::zoomPicture(const PictureBox& box) {
    if (box.picture().width() <= 0 || box.picture().height() <= 0)
        return;
    program_.imag_Zoom().show(box.picture(), program_.pictureNumberOf(&box));
}

bool ProgramDialog::zoomText(QTextDocument& document, bool editable) {
    return program_.text_Zoom().show(document, editable);
}
