#include "app/ui.h"

#include <QCoreApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTimer>
#include <QTranslator>

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
            patterns.append(pattern);
            if (pattern.toUpper() != pattern)
                patterns.append(pattern.toUpper());
        }
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
