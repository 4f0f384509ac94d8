#include "app/screen_helpers.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

QFont arialFont(int pixels, bool bold) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

void centreOnDesktop(QWidget& window, QSize outerSize) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect desktop = screen->availableGeometry();
    window.move(desktop.left() + (desktop.width() - outerSize.width()) / 2,
                desktop.top() + (desktop.height() - outerSize.height()) / 2);
}
