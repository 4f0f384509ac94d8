#include "support/scripted_ui.h"

#include "app/ui/mensaje.h"

#include <QBuffer>
#include <QDialog>
#include <QPdfWriter>

#include <stdexcept>

void ScriptedUi::clearRecords() {
    messages_.clear();
    errors_.clear();
    confirmations_.clear();
    screens_.clear();
    unexpected_.clear();
    fileRequests_.clear();
    reportRequests_.clear();
}

int ScriptedUi::runModal(QDialog& screen, QWidget* /*below*/, const std::function<void()>& shown) {
    const QString name = screen.objectName();
    screens_.append(name);
    screen.setResult(QDialog::Rejected);
    shown();
    if (auto* mensaje = qobject_cast<TMensaje*>(&screen)) {
        messages_.append(mensaje->message());
        if (messageLimit_ > 0 && messages_.size() > messageLimit_) {
            unexpected_.append(QStringLiteral("message limit: ") + mensaje->message());
            throw std::runtime_error("scripted Ui: message limit reached");
        }
        return QDialog::Accepted;
    }
    auto queued = queuedScripts_.find(name);
    if (queued != queuedScripts_.end() && !queued->empty()) {
        ScreenScript script = std::move(queued->front());
        queued->pop_front();
        return script(screen);
    }
    auto perScreen = screenScripts_.find(name);
    if (perScreen != screenScripts_.end())
        return (*perScreen)(screen);
    return QDialog::Rejected;
}

bool ScriptedUi::confirm(QWidget* /*parent*/, const QString& text) {
    confirmations_.append(text);
    if (confirmAnswers_.empty()) {
        unexpected_.append(QStringLiteral("confirm: ") + text);
        return false;
    }
    const bool ok = confirmAnswers_.front();
    confirmAnswers_.pop_front();
    return ok;
}

void ScriptedUi::errorBox(QWidget* /*parent*/, const QString& text) {
    errors_.append(text);
}

QString ScriptedUi::nextFile(const QString& kind, const FileDialogRequest& request) {
    fileRequests_.append(request);
    if (fileAnswers_.empty()) {
        unexpected_.append(kind + QStringLiteral(": ") + request.title);
        return QString();
    }
    QString path = fileAnswers_.front();
    fileAnswers_.pop_front();
    return path;
}

QString ScriptedUi::openFile(QWidget* /*parent*/, const FileDialogRequest& request) {
    return nextFile(QStringLiteral("open"), request);
}

QString ScriptedUi::saveFile(QWidget* /*parent*/, const FileDialogRequest& request) {
    return nextFile(QStringLiteral("save"), request);
}

QString ScriptedUi::openPicture(QWidget* /*parent*/, const FileDialogRequest& request) {
    return nextFile(QStringLiteral("picture"), request);
}

bool ScriptedUi::chooseFont(QWidget* /*parent*/, QFont& font) {
    if (fontAnswers_.empty()) {
        unexpected_.append(QStringLiteral("font"));
        return false;
    }
    std::optional<QFont> answer = fontAnswers_.front();
    fontAnswers_.pop_front();
    if (!answer)
        return false;
    font = *answer;
    return true;
}

namespace {

// Draws every page of job into a PDF file at path, or into memory for an empty path.
ReportOutcome drawJob(const ReportJob& job, const QString& path) {
    const auto draw = [&](QPagedPaintDevice& device) {
        return job.draw(device, 1, job.pageCount, {});
    };
    report::RunResult result;
    if (path.isEmpty()) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        result = draw(writer);
    } else {
        result = report::writePdfFile(path, draw);
    }
    if (result.outcome == report::RunOutcome::Cancelled)
        return ReportOutcome::Cancelled;
    return result.outcome == report::RunOutcome::Failed || !result.failures.empty()
               ? ReportOutcome::Failed
               : ReportOutcome::Done;
}

} // namespace

ReportOutcome ScriptedUi::previewReport(QWidget* /*parent*/, const ReportJob& job) {
    reportRequests_.append(QStringLiteral("preview: ") + job.title);
    if (previewAnswers_.empty()) {
        unexpected_.append(QStringLiteral("preview"));
        return ReportOutcome::Cancelled;
    }
    const QString path = previewAnswers_.front();
    previewAnswers_.pop_front();
    return drawJob(job, path);
}

ReportOutcome ScriptedUi::printReport(QWidget* /*parent*/, const ReportJob& job) {
    reportRequests_.append(QStringLiteral("print: ") + job.title);
    if (printAnswers_.empty()) {
        unexpected_.append(QStringLiteral("print"));
        return ReportOutcome::Cancelled;
    }
    const std::optional<QString> path = printAnswers_.front();
    printAnswers_.pop_front();
    if (!path)
        return ReportOutcome::Cancelled;
    return drawJob(job, *path);
}
