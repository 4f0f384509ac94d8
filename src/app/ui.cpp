#include "app/ui.h"

#include <QCoreApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPaintEngine>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QTimer>
#include <QTranslator>

#include <algorithm>
#include <memory>

int ProductionUi::runModal(QDialog& screen, QWidget* below, const std::function<void()>& shown) {
    // The screen blocks the screens below it (its parent chain), not the help window, which is a
    // window of its own beside them.
    const Qt::WindowFlags flags = screen.windowFlags();
    screen.setParent(below, flags);
    screen.setWindowModality(Qt::WindowModal);
    QTimer::singleShot(0, &screen, shown);
    const int result = screen.exec();
    screen.setParent(nullptr, flags);
    return result;
}

bool ProductionUi::confirm(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Advertencia"), displayLines(text),
                    QMessageBox::Ok | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Ok;
}

void ProductionUi::errorBox(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Error"), displayLines(text),
                    QMessageBox::Ok, parent);
    box.exec();
}

static QString startPath(const FileDialogRequest& request) {
    if (request.fileName.isEmpty())
        return request.directory;
    if (request.directory.isEmpty())
        return request.fileName;
    return QDir(request.directory).filePath(request.fileName);
}

QString ProductionUi::openFile(QWidget* parent, const FileDialogRequest& request) {
    return QFileDialog::getOpenFileName(parent, request.title, startPath(request),
                                        qtFileFilter(request.filter));
}

QString ProductionUi::saveFile(QWidget* parent, const FileDialogRequest& request) {
    return QFileDialog::getSaveFileName(parent, request.title, startPath(request),
                                        qtFileFilter(request.filter));
}

QString ProductionUi::openPicture(QWidget* parent, const FileDialogRequest& request) {
    return QFileDialog::getOpenFileName(parent, request.title, startPath(request),
                                        qtFileFilter(request.filter));
}

bool ProductionUi::chooseFont(QWidget* parent, QFont& font) {
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, font, parent);
    if (ok)
        font = chosen;
    return ok;
}

namespace {

// A printer drawing whole pages: the report keeps its own margins wherever the printer's are.
void preparePrinter(QPrinter& printer, const ReportJob& job) {
    printer.setFullPage(true);
    printer.setPageSize(job.pageSize);
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setDocName(job.title);
}

// The pages the print dialog asked for, clamped to the report.
std::pair<int, int> pageRange(const QPrinter& printer, int pageCount) {
    if (printer.printRange() != QPrinter::PageRange || printer.fromPage() <= 0)
        return {1, pageCount};
    return {std::min(printer.fromPage(), pageCount),
            std::clamp(printer.toPage() > 0 ? printer.toPage() : pageCount, 1, pageCount)};
}

ReportOutcome outcomeOf(const report::RunResult& result) {
    if (result.outcome == report::RunOutcome::Cancelled)
        return ReportOutcome::Cancelled;
    if (result.outcome == report::RunOutcome::Failed || !result.failures.empty())
        return ReportOutcome::Failed;
    return ReportOutcome::Done;
}

// Prints on printer (or into the PDF file chosen in its dialog), with a progress window for
// more than one page.
ReportOutcome printOn(QPrinter& printer, QWidget* parent, const ReportJob& job) {
    const auto [from, to] = pageRange(printer, job.pageCount);
    std::unique_ptr<QProgressDialog> progressWindow;
    if (to > from) {
        progressWindow = std::make_unique<QProgressDialog>(QString(), QStringLiteral("Cancelar"), 0,
                                                           to - from + 1, parent);
        progressWindow->setWindowModality(Qt::WindowModal);
        progressWindow->setMinimumDuration(0);
    }
    const report::Progress progress = [&](int page, int count) {
        if (!progressWindow)
            return true;
        progressWindow->setLabelText(
            QStringLiteral("Imprimiendo página %1 de %2").arg(page).arg(count));
        progressWindow->setValue(page - 1);
        QCoreApplication::processEvents();
        if (!progressWindow->wasCanceled())
            return true;
        // The job is aborted while its painter is still active; ending the painter first would
        // send the pages drawn so far to the printer.
        if (printer.outputFormat() == QPrinter::NativeFormat)
            printer.abort();
        return false;
    };
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        return outcomeOf(
            report::writePdfFile(printer.outputFileName(), [&](QPagedPaintDevice& device) {
                return job.draw(device, from, to, progress);
            }));
    }
    return outcomeOf(job.draw(printer, from, to, progress));
}

} // namespace

ReportOutcome ProductionUi::previewReport(QWidget* parent, const ReportJob& job) {
    QPrinter printer(QPrinter::HighResolution);
    preparePrinter(printer, job);
    QPrintPreviewDialog preview(&printer, parent);
    preview.setWindowTitle(job.title);
    bool failed = false;
    QObject::connect(
        &preview, &QPrintPreviewDialog::paintRequested, &preview, [&](QPrinter* target) {
            // The preview lays its pages out through a picture engine; printing from it asks
            // again with the printer (or the PDF file) chosen there, whose page range, progress
            // and cancel are those of a print.
            const bool previewPages = target->paintEngine() != nullptr &&
                                      target->paintEngine()->type() == QPaintEngine::Picture;
            const ReportOutcome outcome = previewPages
                                              ? outcomeOf(job.draw(*target, 1, job.pageCount, {}))
                                              : printOn(*target, &preview, job);
            failed = failed || outcome == ReportOutcome::Failed;
        });
    if (job.maximised)
        preview.setWindowState(preview.windowState() | Qt::WindowMaximized);
    preview.exec();
    return failed ? ReportOutcome::Failed : ReportOutcome::Done;
}

ReportOutcome ProductionUi::printReport(QWidget* parent, const ReportJob& job) {
    QPrinter printer(QPrinter::HighResolution);
    preparePrinter(printer, job);
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setMinMax(1, job.pageCount);
    if (dialog.exec() != QDialog::Accepted)
        return ReportOutcome::Cancelled;
    return printOn(printer, parent, job);
}

void installSpanishTranslations() {
    static QTranslator* installed = nullptr;
    if (installed != nullptr)
        return;
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QLocale(QLocale::Spanish, QLocale::Spain), QStringLiteral("qtbase"),
                          QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return;
    }
    QCoreApplication::installTranslator(translator);
    installed = translator;
}

QString qtFileFilter(const QString& filter) {
    static const QRegularExpression separators(QStringLiteral("[;,\\s]+"));
    // A description that ends in its own list of patterns, "JPEG Image File (*.jpg, *.jpeg)".
    static const QRegularExpression ownList(QStringLiteral("\\s*\\([^()]*\\)$"));
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& p : parts[i + 1].split(separators, Qt::SkipEmptyParts)) {
            QString pattern = p.trimmed();
            // "*.*" means every file, also one without an extension.
            if (pattern == QLatin1String("*.*"))
                pattern = QStringLiteral("*");
            // Both letter cases: a case-sensitive dialog would otherwise hide "lista.txt" under
            // "*.TXT" or "FOTO.JPG" under "*.jpg".
            patterns.append(pattern);
            patterns.append(pattern.toLower());
            patterns.append(pattern.toUpper());
        }
        patterns.removeDuplicates();
        // Qt shows the list in parentheses after the description: one the description already
        // ends with is replaced by it, so that the patterns are not shown twice.
        QString description = parts[i].trimmed();
        description.remove(ownList);
        result.append(QStringLiteral("%1 (%2)").arg(description, patterns.join(' ')));
    }
    return result.join(QStringLiteral(";;"));
}

QString displayLines(const QString& text) {
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return lines;
}
