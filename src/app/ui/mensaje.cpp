#include "app/ui/mensaje.h"

#include "app/ui.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QStyle>

// The size of `text` drawn in `font`, line by line.
static QSize textSize(const QFont& font, const QString& text) {
    const QFontMetrics metrics(font);
    return metrics.boundingRect(QRect(0, 0, 100000, 100000), Qt::AlignLeft | Qt::AlignTop, text)
        .size();
}

using namespace kit;

TMensaje::TMensaje(Program& program)
    // A dialog border without title-bar buttons.
    : ProgramDialog(program, "TMensaje", QStringLiteral("    Información"),
                    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(177, 0, 221));
    setPalette(pal);

    // Both are placed when a message is shown.
    Label1 = label(this, "Label1", QString(), QRect(), Px{19, bold});
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setStyleSheet(QStringLiteral("color: white;"));
    Label2 = label(this, "Label2", QStringLiteral("Pulsar tecla o Clic para Continuar"), QRect(),
                   Px{16, bold});
    Label2->setStyleSheet(QStringLiteral("color: yellow;"));
}

void TMensaje::FormActivate() {
    // The dialog has nothing to set up at activation; a pending skip is only cleared.
    beginActivation();
}

void TMensaje::FormShow() {
    // Before the dialog is on view, so that it never appears at the size and place of the
    // previous message. The frame is then estimated (frameExtra).
    message_ = program_.state().messageText;
    const QString lines = displayLines(message_);
    Label1->setText(lines);
    const QSize text = textSize(Label1->font(), lines);
    Label1->setGeometry(27, 16, text.width(), text.height());

    // The window's outer size follows the text; the hint is placed from the outer edges.
    const QSize hint = textSize(Label2->font(), Label2->text());
    const int width = qMax(text.width() + 54, hint.width() + 45);
    const int height = text.height() + 110;
    const QSize frame = frameExtra();
    setFixedSize(width - frame.width(), height - frame.height());
    Label2->setGeometry(width - 36 - hint.width(), height - 54 - hint.height(), hint.width(),
                        hint.height());

    centreOnDesktop(*this, QSize(width, height));
}

QSize TMensaje::frameExtra() const {
    const QRect outer = frameGeometry();
    const QRect inner = geometry();
    if (isVisible() && outer != inner)
        return outer.size() - inner.size();
    // Not on view yet: a title bar and thin borders.
    const int border = 4;
    return QSize(2 * border, style()->pixelMetric(QStyle::PM_TitleBarHeight) + 2 * border);
}

void TMensaje::keyPressEvent(QKeyEvent* event) {
    event->accept();
    accept();
}

void TMensaje::mousePressEvent(QMouseEvent* event) {
    event->accept();
    accept();
}
