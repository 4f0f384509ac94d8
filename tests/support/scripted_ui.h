// A Ui for tests: records every message, error box, confirmation and dialog request, and answers
// them from queues and per-screen scripts, so that no test blocks in an event loop.
//
//   ScriptedUi ui;
//   ui.queueFile("/tmp/x/dat/Curso.db");          // the next file dialog returns this
//   ui.queueConfirm(true);                         // the next OK/No box answers OK
//   ui.onScreen("TPassw_FE_", [](QDialog& d) {     // every run of this screen
//       d.findChild<QLineEdit*>("Edit1")->setText("clave");
//       return QDialog::Accepted; });
//
// A modal screen runs its activation, then its script (queued scripts first, then the
// per-screen one); without a script it is left as it is and its result is Rejected. The message
// dialog needs no script: its text is recorded in messages(). A dialog or box asked for with
// nothing queued is a fault of the test: it is recorded in unexpected() and answered with
// "cancel".
#pragma once

#include "app/ui.h"

#include <QList>
#include <QMap>
#include <QStringList>

#include <deque>
#include <optional>

class ScriptedUi : public Ui {
public:
    using ScreenScript = std::function<int(QDialog&)>;

    // Answers.
    void queueConfirm(bool ok) { confirmAnswers_.push_back(ok); }
    void queueFile(const QString& path) { fileAnswers_.push_back(path); }
    void queueFont(std::optional<QFont> font) { fontAnswers_.push_back(std::move(font)); }
    // The next print preview draws its pages into this PDF file (an empty path: into memory).
    void queuePreview(const QString& pdfPath) { previewAnswers_.push_back(pdfPath); }
    // The next print dialog prints into this PDF file; nullopt: the dialog is cancelled.
    void queuePrint(std::optional<QString> pdfPath) { printAnswers_.push_back(std::move(pdfPath)); }
    void queueScreen(const QString& name, ScreenScript script) {
        queuedScripts_[name].push_back(std::move(script));
    }
    void onScreen(const QString& name, ScreenScript script) {
        screenScripts_[name] = std::move(script);
    }
    // More than `limit` messages since the last clearRecords() is a fault of the program (a
    // message that brings itself back): the next one is recorded in unexpected() and throws, so
    // the test fails instead of running on. 0: no limit.
    void setMessageLimit(int limit) { messageLimit_ = limit; }

    // What was shown, in order.
    const QStringList& messages() const { return messages_; }
    const QStringList& errors() const { return errors_; }
    const QStringList& confirmations() const { return confirmations_; }
    const QList<FileDialogRequest>& fileRequests() const { return fileRequests_; }
    // "preview: TITLE" or "print: TITLE" for every report asked for.
    const QStringList& reportRequests() const { return reportRequests_; }
    // Object names of the modal screens run (the message dialog included).
    const QStringList& screens() const { return screens_; }
    const QStringList& unexpected() const { return unexpected_; }
    // Forgets what was recorded (answers still queued are kept).
    void clearRecords();

    int runModal(QDialog& screen, QWidget* below, const std::function<void()>& shown) override;
    bool confirm(QWidget* parent, const QString& text) override;
    void errorBox(QWidget* parent, const QString& text) override;
    QString openFile(QWidget* parent, const FileDialogRequest& request) override;
    QString saveFile(QWidget* parent, const FileDialogRequest& request) override;
    QString openPicture(QWidget* parent, const FileDialogRequest& request) override;
    bool chooseFont(QWidget* parent, QFont& font) override;
    ReportOutcome previewReport(QWidget* parent, const ReportJob& job) override;
    ReportOutcome printReport(QWidget* parent, const ReportJob& job) override;

private:
    QString nextFile(const QString& kind, const FileDialogRequest& request);

    std::deque<bool> confirmAnswers_;
    std::deque<QString> fileAnswers_;
    std::deque<std::optional<QFont>> fontAnswers_;
    std::deque<QString> previewAnswers_;
    std::deque<std::optional<QString>> printAnswers_;
    QMap<QString, std::deque<ScreenScript>> queuedScripts_;
    QMap<QString, ScreenScript> screenScripts_;
    int messageLimit_ = 0;

    QStringList messages_, errors_, confirmations_, screens_, unexpected_;
    QList<FileDialogRequest> fileRequests_;
    QStringList reportRequests_;
};
