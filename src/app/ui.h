// The one seam for every modal interaction of the program: running a screen modally, the warning
// box with OK and No, the platform error box, the file, picture and font dialogs. The program uses
// ProductionUi (real Qt dialogs); tests use ScriptedUi (tests/support), which records what was
// shown and answers from a script, so that no test blocks in an event loop.
#pragma once

#include "platform/report/report.h"

#include <QFont>
#include <QPageSize>
#include <QString>

#include <functional>

class QDialog;
class QWidget;

// What a file dialog was asked to show. `filter` is in the program's own form:
// " Ficheros de Estudio |*.db| Todos los Archivos |*.*" (description and patterns alternate,
// separated by "|").
struct FileDialogRequest {
    QString title;
    QString directory;
    QString fileName;
    QString filter;
};

// A report to preview or print: its title (the printed document's name), paper, page count and
// the drawing of pages from..to (1-based) on a paged device, which may be asked for more than
// once (a preview draws again when it prints or re-lays its pages).
struct ReportJob {
    QString title;
    QPageSize pageSize;
    int pageCount = 1;
    bool maximised = false; // the preview opens maximised
    std::function<report::RunResult(QPagedPaintDevice& device, int from, int to,
                                    const report::Progress& progress)>
        draw;
};

// How a preview or a print ended: Failed when a run failed or drew a band that failed.
enum class ReportOutcome { Done, Cancelled, Failed };

class Ui {
public:
    virtual ~Ui() = default;

    // Runs `screen` modally above `below` (the screen that has the focus now) and returns its
    // result. `shown` runs once the screen is on view; it runs the screen's activation.
    virtual int runModal(QDialog& screen, QWidget* below, const std::function<void()>& shown) = 0;

    // The warning box with the buttons OK and No; true when OK was chosen.
    virtual bool confirm(QWidget* parent, const QString& text) = 0;

    // The platform's error box (what the general error handler shows).
    virtual void errorBox(QWidget* parent, const QString& text) = 0;

    // File dialogs; an empty text when cancelled.
    virtual QString openFile(QWidget* parent, const FileDialogRequest& request) = 0;
    virtual QString saveFile(QWidget* parent, const FileDialogRequest& request) = 0;
    virtual QString openPicture(QWidget* parent, const FileDialogRequest& request) = 0;

    // The font dialog, starting from `font`; false when cancelled (then `font` is unchanged).
    virtual bool chooseFont(QWidget* parent, QFont& font) = 0;

    // The print preview of a report (from which the learner may also print); Done when every
    // drawing it asked for went without a failure.
    virtual ReportOutcome previewReport(QWidget* parent, const ReportJob& job) = 0;
    // The print dialog, then the printing (or the PDF file chosen there) with its progress.
    virtual ReportOutcome printReport(QWidget* parent, const ReportJob& job) = 0;
};

// Real Qt dialogs.
class ProductionUi : public Ui {
public:
    int runModal(QDialog& screen, QWidget* below, const std::function<void()>& shown) override;
    bool confirm(QWidget* parent, const QString& text) override;
    void errorBox(QWidget* parent, const QString& text) override;
    QString openFile(QWidget* parent, const FileDialogRequest& request) override;
    QString saveFile(QWidget* parent, const FileDialogRequest& request) override;
    QString openPicture(QWidget* parent, const FileDialogRequest& request) override;
    bool chooseFont(QWidget* parent, QFont& font) override;
    ReportOutcome previewReport(QWidget* parent, const ReportJob& job) override;
    ReportOutcome printReport(QWidget* parent, const ReportJob& job) override;
};

// Installs Qt's Spanish translations, so that the standard dialogs (file, font, the OK/No box)
// speak Spanish like the rest of the program. Installing again changes nothing; where the
// translations are not installed, those dialogs stay in English.
void installSpanishTranslations();

// The program's filter form converted to Qt's: "Ficheros de Estudio (*.db *.DB);;...". Patterns
// are separated by ";", "," or blanks and matched in both letter cases, as on the platform the
// study files come from; a description that ends in its own parenthesised list shows Qt's instead.
QString qtFileFilter(const QString& filter);

// The program's texts break lines with "\r" (and sometimes "\r\n"); Qt's widgets with "\n".
QString displayLines(const QString& text);
