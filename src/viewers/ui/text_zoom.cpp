#include "viewers/ui/text_zoom.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QTextEdit>

using namespace kit;

TText_Zoom_::TText_Zoom_(Program& program)
    : ProgramDialog(program, "TText_Zoom_", QStringLiteral(" Zoom de texto"),
                    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                        Qt::WindowCloseButtonHint | Qt::WindowMaximizeButtonHint) {
    resize(1000, 720);

    // Placed by resizeEvent.
    RichEdit1 = richEdit(this, "RichEdit1", QRect());
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Text without formatting of its own is shown bold at 16 pixels.
    RichEdit1->document()->setDefaultFont(arialFont(16, bold));
    RichEdit1->installEventFilter(this);
    Button1 = button(this, "Button1", QStringLiteral("Guarda y A&caba"), QRect(), Px{14, bold});
    Button2 = button(this, "Button2", QStringLiteral(" &Salir"), QRect(), Px{14, bold});
    BitBtn1 = button(this, "BitBtn1", QStringLiteral("&Ayuda"), QRect(), Px{14, bold});
    // Enter on a button that has the focus presses it.
    for (QPushButton* b : {Button1, Button2, BitBtn1})
        b->setAutoDefault(true);

    onClick(Button1, &TText_Zoom_::Button1Click);
    onClick(Button2, &TText_Zoom_::Button2Click);
    onClick(BitBtn1, &TText_Zoom_::BitBtn1Click);
}

bool TText_Zoom_::show(QTextDocument& document, bool editable) {
    RichEdit1->document()->setHtml(document.toHtml());
    editable_ = editable;
    saveRequested_ = false;
    program_.runModal(*this);
    editable_ = false;
    if (saveRequested_)
        document.setHtml(RichEdit1->document()->toHtml());
    return saveRequested_;
}

void TText_Zoom_::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    const int w = width();
    const int h = height();
    RichEdit1->setGeometry(8, 8, w - 16, h - 64);
    BitBtn1->setGeometry(w - 128, h - 48, 120, 36);
    Button2->setGeometry(w - 256, h - 48, 120, 36);
    Button1->setGeometry(w - 444, h - 48, 180, 36);
}

void TText_Zoom_::FormActivate() {
    if (!beginActivation())
        return;
    RichEdit1->setReadOnly(!editable_);
    Button1->setVisible(editable_);
    RichEdit1->setFocus();
}

void TText_Zoom_::Button1Click() {
    saveRequested_ = true;
    accept();
}

void TText_Zoom_::Button2Click() {
    saveRequested_ = false;
    QDialog::reject();
}

void TText_Zoom_::BitBtn1Click() {
    program_.showHelp(61);
}

void TText_Zoom_::reject() {
    // Esc and the window's close button discard the changes, as " &Salir" does.
    Button2Click();
}

bool TText_Zoom_::eventFilter(QObject* watched, QEvent* event) {
    if (watched == RichEdit1 && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        program_.guard([this] { Button2Click(); });
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
