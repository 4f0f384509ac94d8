#include "viewers/ui/imag_zoom.h"

#include "app/prepara_imagen.h"
#include "platform/ui/picture_box.h"
#include "viewers/picture_fit.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>

namespace {

constexpr int kHintHeight = 24;

} // namespace

using namespace kit;

TImag_Zoom_::TImag_Zoom_(Program& program)
    : ProgramDialog(program, "TImag_Zoom_", QStringLiteral("Zoom de imagen")) {
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0, 128, 128));
    setPalette(pal);
    resize(1006, 714);

    Label1 = label(this, "Label1",
                   QStringLiteral("'Clic' con el ratón o pulsar 'Esc' para cerrar esta ventana)"),
                   QRect(4, 2, 600, kHintHeight - 4), Px{13, bold});
    Label1->setStyleSheet(QStringLiteral("color: white;"));
    Panel1 = panel(this, "Panel1", QRect());
    Image1 = pictureBox(Panel1, "Image1", QRect());
    for (QWidget* w : std::initializer_list<QWidget*>{Label1, Panel1, Image1})
        w->installEventFilter(this);
    program_.registerPicture(picture_number::imageZoom, Image1,
                             [this] { return QRect(QPoint(0, 0), Panel1->size()); });
}

void TImag_Zoom_::show(const picture::Picture& picture, int source) {
    picture_ = picture;
    source_ = source;
    program_.runModal(*this);
}

void TImag_Zoom_::FormActivate() {
    if (!beginActivation())
        return;
    QRect desktop(0, 0, 1024, 768);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        desktop = screen->availableGeometry();
    // The window covers the desktop (less the sizes the window frame takes).
    resize(desktop.width() - 18, desktop.height() - 54);
    Panel1->setGeometry(0, kHintHeight, width() - 18, height() - 54);

    Image1->setPicture(picture_);
    Prepara_Imagen(program_, picture_number::imageZoom);
    if (Image1->y() <= 0)
        Image1->move(Image1->x(), 2);

    move(desktop.left() + (desktop.width() - frameGeometry().width()) / 2,
         desktop.top() + (desktop.height() - frameGeometry().height()) / 2);
    update();
}

void TImag_Zoom_::Ajusta_Imagen() {
    AdaptaImagen(Panel1->width(), Panel1->height(), 0, 0, *Image1, *Image1);
}

bool TImag_Zoom_::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == Image1 || watched == Label1 || watched == Panel1) &&
        event->type() == QEvent::MouseButtonPress) {
        accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TImag_Zoom_::mousePressEvent(QMouseEvent* event) {
    event->accept();
    accept();
}

void TImag_Zoom_::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
