#include "platform/ui/picture_box.h"

#include <QMouseEvent>
#include <QPainter>

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {}

void PictureBox::setPicture(const picture::Picture& picture) {
    m_picture = picture;
    updateGeometry();
    update();
}

void PictureBox::clear() {
    setPicture(picture::Picture());
}

void PictureBox::setStretch(bool stretch) {
    if (m_stretch != stretch) {
        m_stretch = stretch;
        update();
    }
}

QSize PictureBox::sizeHint() const {
    return m_picture.isEmpty() ? QSize(0, 0) : m_picture.image().size();
}

void PictureBox::paintEvent(QPaintEvent*) {
    if (m_picture.isEmpty()) {
        return;
    }
    QPainter painter(this);
    if (m_stretch) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(rect(), m_picture.image());
    } else {
        painter.drawImage(QPoint(0, 0), m_picture.image());
    }
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click) {
        emit clicked();
    }
}
