// The help window: shows the compiled-in help page of a context number (":/help/<N>.html") or the
// start page (":/help/index.html"). It is a window of its own, usable beside modal screens.
#pragma once

#include <QWidget>

class QTextBrowser;

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows the page of `context` and brings the window to the front.
    void showContext(int context);
    // Shows the start page.
    void showStart();

    // The context shown last (0 for the start page), and the resource path of its page
    // (":/help/3.html").
    int currentContext() const { return context_; }
    const QString& currentPage() const { return page_; }

    // The address of the page of a context number, and of the start page.
    static QString pagePath(int context);
    static QString startPagePath();

    QTextBrowser* Browser;

private:
    void showPage(const QString& path);

    int context_ = 0;
    QString page_;
    bool placed_ = false;
};
