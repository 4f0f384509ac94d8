#include "viewers/ui/imag_zoom.h"

#include "app/prepara_imagen.h"
#include "app/program.h"
#include "platform/ui/picture_box.h"
#include "review/ui/repasar.h"
#include "studyfile/ui/crea_fiche.h"
#include "viewers/picture_fit.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>

namespace {

constexpr int kHintHeight = 24;

} // namespace

const PictureBox* zoomSourcePicture(Program& program, const QString& zoomSource) {
    if (zoomSource == QLatin1String("Repaso_Preg"))
        return program.repasar().Image1;
    if (zoomSource == QLatin1String("Repaso_Resp"))
        return program.repasar().Image2;
    if (zoomSource == QLatin1String("Crea_Fich"))
        return program.crea_Fiche().Image1;
    // "Ver_Info", "Altas_Preg" and "Altas_Resp" name pictures of screens that join here when
    // they are part of the program.
    return nullptr;
}

TImag_Zoom_::TImag_Zoom_(Program& program) : program_(program) {
    setObjectName(QStringLiteral("TImag_Zoom_"));
    setWindowTitle(QStringLiteral("Zoom de imagen"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0, 128, 128));
    setPalette(pal);
    resize(1006, 714);

    Label1 = new QLabel(
        QStringLiteral("'Clic' con el ratón o pulsar 'Esc' para cerrar esta ventana)"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setTextFormat(Qt::PlainText);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    font.setBold(true);
    Label1->setFont(font);
    Label1->setStyleSheet(QStringLiteral("color: white;"));
    Label1->setGeometry(4, 2, 600, kHintHeight - 4);
    Label1->installEventFilter(this);

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->installEventFilter(this);

    Image1 = new PictureBox(Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setStretch(true);
    Image1->installEventFilter(this);
}

void TImag_Zoom_::FormActivate() {
    RunState& state = program_.state();
    if (state.takeSkipNextActivation())
        return;
    QRect desktop(0, 0, 1024, 768);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        desktop = screen->availableGeometry();
    // The window covers the desktop (less the sizes the window frame takes).
    resize(desktop.width() - 18, desktop.height() - 54);
    Panel1->setGeometry(0, kHintHeight, width() - 18, height() - 54);

    const PictureBox* source = zoomSourcePicture(program_, state.zoomSource);
    Image1->setPicture(source != nullptr ? source->picture() : Picture());
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
