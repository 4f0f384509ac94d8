#include "exchange/ui/text_import_screen.h"

#include "app/ui.h"
#include "platform/text_file.h"
#include "studyfile/ui/data_module.h"

#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpressionValidator>

using namespace kit;

namespace {

const QString kDialogTitle = QStringLiteral("Import / Importar");
const QString kDialogFilter =
    QStringLiteral("Text Files / Archivos de Texto|*.TXT|All Files / Todos los Archivos|*.*");

// The wait cursor of an import, lifted while a message is on view.
class ImportCursor {
public:
    ImportCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~ImportCursor() {
        if (on_)
            QApplication::restoreOverrideCursor();
    }
    ImportCursor(const ImportCursor&) = delete;
    ImportCursor& operator=(const ImportCursor&) = delete;
    void lift() {
        if (std::exchange(on_, false))
            QApplication::restoreOverrideCursor();
    }
    void setAgain() {
        if (!std::exchange(on_, true))
            QApplication::setOverrideCursor(Qt::WaitCursor);
    }

private:
    bool on_ = true;
};

} // namespace

TextImportScreen::TextImportScreen(Program& program, const char* name, const QString& title,
                                   exchange::ImportMode mode, int helpContext)
    : ProgramDialog(program, name, title,
                    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      mode_(mode), helpContext_(helpContext) {
    const QSize size(520, 200);
    QWidget* area = silverPanelOnTeal(size);
    setFixedSize(size);
    const Px caption{16, bold};
    Label1 = label(area, "Label1", QStringLiteral("Caracter separador:"), QRect(20, 24, 220, 28),
                   caption);
    Edit1 = edit(area, "Edit1", QRect(250, 22, 50, 32), caption);
    Edit1->setMaxLength(1);
    Edit1->setText(QStringLiteral("#"));
    Label2 = label(area, "Label2", QStringLiteral("Nivel de las Fichas:"), QRect(20, 70, 220, 28),
                   caption);
    MaskEdit1 = edit(area, "MaskEdit1", QRect(250, 68, 50, 32), caption);
    MaskEdit1->setMaxLength(1);
    MaskEdit1->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]?")), MaskEdit1));
    MaskEdit1->setText(QStringLiteral("1"));
    Button1 = button(area, "Button1", QStringLiteral("  I&mportar Fichas"), QRect(320, 20, 180, 40),
                     caption);
    Button2 = button(area, "Button2", QStringLiteral("&Salir"), QRect(320, 70, 180, 40), caption);
    Button3 = button(area, "Button3", QStringLiteral("&Ayuda"), QRect(320, 140, 180, 40), caption);
    Label2->installEventFilter(this);
    onClick(Button1, &TextImportScreen::Button1Click);
    onClick(Button2, &TextImportScreen::Button2Click);
    onClick(Button3, &TextImportScreen::Button3Click);
    centreOnDesktop(*this, size);
}

bool TextImportScreen::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Label2 && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton &&
            Label2->rect().contains(mouse->position().toPoint()))
            program_.guard([this] { Button1Click(); });
    }
    return ProgramDialog::eventFilter(watched, event);
}

void TextImportScreen::FormActivate() {
    if (!beginActivation())
        return;
    Button1->setFocus();
}

QString TextImportScreen::doneMessage(int count) const {
    return mode_ == exchange::ImportMode::Text ? exchange::importedMessage(count)
                                               : exchange::importedWithFilesMessage(count);
}

void TextImportScreen::Button1Click() {
    RunState& state = program_.state();
    FileDialogRequest request;
    request.title = kDialogTitle;
    request.filter = kDialogFilter;
    // The first time in a run the dialog starts in the program folder, then where the learner
    // last chose a file.
    request.directory = lastFolder_.isEmpty() ? state.programFolder : lastFolder_;
    const QString path = program_.ui().openFile(this, request);
    if (path.isEmpty())
        return;
    const QString folder = QFileInfo(path).absolutePath();
    lastFolder_ = folder;

    QStringList lines;
    try {
        lines = textfile::readTextLines(path);
    } catch (const textfile::ETextFile& e) {
        program_.Ver_Mensaje(QString::fromUtf8(e.what()));
        return;
    }
    TD_Module_& data = program_.data();
    exchange::TextImportPlan plan;
    try {
        const QString separator = Edit1->text();
        plan =
            exchange::planTextImport(lines, mode_, separator.isEmpty() ? QChar() : separator.at(0),
                                     MaskEdit1->text(), data.design, folder);
    } catch (const exchange::EImportRefused& e) {
        program_.Ver_Mensaje(e.text());
        return;
    }
    int count = 0;
    {
        // The break and blink timers wait while the cards are stored. The learner's input is not
        // held back as in other long work: a picture's message must be dismissed on the way.
        struct TimersHeld {
            RunState& state;
            bool was = state.longOperation;
            ~TimersHeld() { state.longOperation = was; }
        } held{state};
        state.longOperation = true;
        ImportCursor cursor;
        count =
            exchange::runTextImport(data.Tabla_Activa, data.QXS, data.design, state.packedContent,
                                    plan, state.todayKey, data.fontStyle, [&](int, const QString&) {
                                        // Said when its card comes, once per picture; the card goes
                                        // on without it.
                                        cursor.lift();
                                        program_.Ver_Mensaje(exchange::kPictureFailedMessage);
                                        cursor.setAgain();
                                    });
    }
    program_.Ver_Mensaje(doneMessage(count));
    if (plan.cutTexts > 0)
        program_.Ver_Mensaje(exchange::cutTextsMessage(plan.cutTexts, plan.firstCutLine));
}

void TextImportScreen::Button2Click() {
    reject();
}

void TextImportScreen::Button3Click() {
    program_.showHelp(helpContext_);
}
