#include "platform/ui/help_window.h"

#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

// The help pages live in a static library, where nothing else pulls their resource in: register
// them once, before the first page is read.
static void registerHelpPages() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(help);
        return true;
    }();
    (void)registered;
}

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    registerHelpPages();
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Ayuda de Orbanel"));
    resize(720, 600);
    Browser = new QTextBrowser(this);
    Browser->setObjectName(QStringLiteral("Browser"));
    Browser->setOpenLinks(true);
    Browser->setOpenExternalLinks(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Browser);
}

QString HelpWindow::pagePath(int context) {
    return QStringLiteral(":/help/%1.html").arg(context);
}

QString HelpWindow::startPagePath() {
    return QStringLiteral(":/help/index.html");
}

void HelpWindow::showContext(int context) {
    context_ = context;
    showPage(pagePath(context));
}

void HelpWindow::showStart() {
    context_ = 0;
    showPage(startPagePath());
}

void HelpWindow::showPage(const QString& path) {
    page_ = path;
    if (QFile::exists(path)) {
        Browser->setSource(QUrl(QStringLiteral("qrc") + path));
    } else {
        Browser->setSource(QUrl());
        Browser->setHtml(QStringLiteral("<p>No se encuentra la página de ayuda <b>%1</b>.</p>")
                             .arg(path.toHtmlEscaped()));
    }
    if (!isVisible() && !placed_) {
        // The first time it appears, the window is centred on the screen.
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect desktop = screen->availableGeometry();
            move(desktop.left() + (desktop.width() - width()) / 2,
                 desktop.top() + (desktop.height() - height()) / 2);
        }
        placed_ = true;
    }
    show();
    raise();
    activateWindow();
}
