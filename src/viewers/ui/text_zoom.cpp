#include "viewers/ui/text_zoom.h"

#include "app/program.h"
#include "app/screen_helpers.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QTextEdit>

TText_Zoom_::TText_Zoom_(Program& program) : program_(program) {
    setObjectName(QStringLiteral("TText_Zoom_"));
    setWindowTitle(QStringLiteral(" Zoom de texto"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::WindowMaximizeButtonHint);
    resize(1000, 720);

    RichEdit1 = new QTextEdit(this);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setAcceptRichText(true);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Text without formatting of its own is shown bold at 16 pixels.
    RichEdit1->document()->setDefaultFont(arialFont(16, true));
    RichEdit1->installEventFilter(this);

    const auto makeButton = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setFont(arialFont(14, true));
        return b;
    };
    Button1 = makeButton("Button1", QStringLiteral("Guarda y A&caba"));
    Button2 = makeButton("Button2", QStringLiteral(" &Salir"));
    BitBtn1 = makeButton("BitBtn1", QStringLiteral("&Ayuda"));
    program_.connectGuarded(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    program_.connectGuarded(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    program_.connectGuarded(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
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
    RunState& state = program_.state();
    if (state.takeSkipNextActivation())
        return;
    RichEdit1->setReadOnly(!state.textZoomEditMode);
    Button1->setVisible(state.textZoomEditMode);
    RichEdit1->setFocus();
}

void TText_Zoom_::Button1Click() {
    program_.state().textZoomSaveRequest = true;
    accept();
}

void TText_Zoom_::Button2Click() {
    program_.state().textZoomSaveRequest = false;
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
