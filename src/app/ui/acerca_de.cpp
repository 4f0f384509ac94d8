#include "app/ui/acerca_de.h"

#include "app/branding.h"

#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>

using namespace kit;

TAcercaDe_::TAcercaDe_(Program& program)
    : ProgramDialog(program, "TAcercaDe_", QStringLiteral(" Acerca de..."),
                    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                        Qt::WindowCloseButtonHint) {
    setFixedSize(420, 330);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(8, 8, 404, 264);
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Sunken);
    Panel1->setAutoFillBackground(true);
    QPalette pal = Panel1->palette();
    pal.setColor(QPalette::Window, QColor(40, 44, 60));
    Panel1->setPalette(pal);
    Panel1->setMouseTracking(true);
    Panel1->installEventFilter(this);

    ProgramIcon = label(Panel1, "ProgramIcon", QString(), QRect(16, 16, 64, 64));
    ProgramIcon->setPixmap(programIcon());
    ProductName =
        label(Panel1, "ProductName", productText().trimmed(), QRect(96, 24, 296, 40), Px{24, bold});
    ProductName->setStyleSheet(QStringLiteral("color: yellow;"));
    Comments = label(Panel1, "Comments",
                     QStringLiteral("Le ayuda al repasar en el estudio, aumentando el recuerdo."),
                     QRect(16, 96, 372, 48), Px{15, bold});
    Comments->setWordWrap(true);
    Comments->setStyleSheet(QStringLiteral("color: white;"));
    LinkLabel =
        label(Panel1, "LinkLabel", QStringLiteral("Ayuda del programa"), QRect(16, 152, 372, 24));
    QFont linkFont = arialFont(15, bold);
    linkFont.setUnderline(true);
    LinkLabel->setFont(linkFont);
    LinkLabel->setMouseTracking(true);
    LinkLabel->installEventFilter(this);
    setLinkColour(QColor(0x40, 0x80, 0xff));
    Copyright = label(Panel1, "Copyright",
                      QStringLiteral("Repaso de fichas de preguntas y respuestas con\n"
                                     "intervalos crecientes entre repasos.\n"
                                     "Versión 2.0"),
                      QRect(16, 188, 372, 64), Px{13, plain});
    Copyright->setStyleSheet(QStringLiteral("color: #d0d0ff;"));

    OKButton = button(this, "OKButton", QStringLiteral("&Ok"), QRect(160, 284, 100, 32));
    OKButton->setDefault(true);
    onClick(OKButton, &TAcercaDe_::OKButtonClick);
}

void TAcercaDe_::FormActivate() {
    if (!beginActivation())
        return;
    centreOnDesktop(*this, size());
}

void TAcercaDe_::setLinkColour(const QColor& colour) {
    linkColour_ = colour;
    LinkLabel->setStyleSheet(QStringLiteral("color: %1;").arg(colour.name()));
}

void TAcercaDe_::LinkLabelClick() {
    setLinkColour(QColor(0x40, 0x80, 0xff));
    LinkLabel->unsetCursor();
    program_.showHelpStart();
}

void TAcercaDe_::LinkLabelMouseMove() {
    setLinkColour(Qt::white);
    LinkLabel->setCursor(Qt::PointingHandCursor);
}

void TAcercaDe_::Panel1MouseMove() {
    setLinkColour(QColor(0x40, 0x80, 0xff));
    LinkLabel->unsetCursor();
}

void TAcercaDe_::OKButtonClick() {
    accept();
}

bool TAcercaDe_::eventFilter(QObject* watched, QEvent* event) {
    if (watched == LinkLabel) {
        if (event->type() == QEvent::MouseMove) {
            program_.guard([this] { LinkLabelMouseMove(); });
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton && LinkLabel->rect().contains(mouse->pos()))
                program_.guard([this] { LinkLabelClick(); });
            return true;
        }
    } else if (watched == Panel1 && event->type() == QEvent::MouseMove) {
        program_.guard([this] { Panel1MouseMove(); });
    }
    return QDialog::eventFilter(watched, event);
}
