// The production Ui runs real dialogs: these tests close them from a timer.
#include "support/app_fixture.h"

#include "platform/rtf/rtf.h"
#include "settings/preferences.h"

#include "app/ui.h"
#include "app/ui/mensaje.h"
#include "app/ui/passw_fe.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTimer>

namespace {

// Runs `onShow` when the watched widget gets its show event.
class ShowProbe : public QObject {
public:
    explicit ShowProbe(std::function<void()> onShow) : onShow_(std::move(onShow)) {}
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::Show)
            onShow_();
        return false;
    }

private:
    std::function<void()> onShow_;
};

} // namespace

// A program over the production Ui.
class ProductionProgramTest : public AppTest {
protected:
    // A preferences file first, so that the main screen's activation shows no first-run
    // message.
    std::unique_ptr<Program> makeProgram() {
        writeFile(QDir(folder.path()).filePath("Study02.stu"),
                  rtf::writeLines(settings::defaultPreferenceLines()));
        return std::make_unique<Program>(folder.path(), real, clock);
    }
    ProductionUi real;
};

TEST(ProductionUiTest, ModalScreenSitsAboveTheScreenBelowAndIsReleasedAfter) {
    ProductionUi ui;
    QWidget below;
    below.show();
    QDialog screen;
    screen.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    const Qt::WindowFlags flags = screen.windowFlags();

    bool shownWhileOpen = false;
    QWidget* parentWhileOpen = nullptr;
    Qt::WindowModality modality = Qt::NonModal;
    const int result = ui.runModal(screen, &below, [&] {
        shownWhileOpen = screen.isVisible();
        parentWhileOpen = screen.parentWidget();
        modality = screen.windowModality();
        QTimer::singleShot(0, &screen, &QDialog::accept);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_TRUE(shownWhileOpen) << "the activation runs once the screen is on view";
    EXPECT_EQ(parentWhileOpen, &below);
    EXPECT_EQ(modality, Qt::WindowModal) << "blocks the screens below, not the help window";
    EXPECT_EQ(screen.parentWidget(), nullptr);
    EXPECT_EQ(screen.windowFlags(), flags);
    EXPECT_FALSE(screen.isVisible());
}

TEST_F(ProductionProgramTest, ProgramRunsThePasswordDialogThroughTheProductionUi) {
    program = makeProgram();
    Program& p = *program;
    TPassw_FE_& d = p.passw_FE();
    d.Edit1->setText("viejo");
    // Once the dialog is on view (after its activation): the input is empty; Enter accepts.
    QTimer::singleShot(0, &d, [&] {
        QTimer::singleShot(0, &d, [&] {
            EXPECT_TRUE(d.isVisible());
            EXPECT_TRUE(d.Edit1->text().isEmpty());
            d.Edit1->setText("clave");
            emit d.Edit1->returnPressed();
        });
    });
    EXPECT_EQ(p.runModal(d), QDialog::Accepted);
    EXPECT_EQ(d.Edit1->text(), "clave");
    EXPECT_TRUE(p.state().passwordAccepted);
    EXPECT_EQ(p.stackDepth(), 1);
}

TEST(ProductionUiTest, StandardDialogsSpeakSpanish) {
    // The file dialogs, the OK/No box and the font dialog are Qt's own: their buttons and labels
    // come from Qt's translations, which the program installs at start.
    installSpanishTranslations();
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancelar");
    EXPECT_NE(QCoreApplication::translate("QFileDialog", "Look in:"), "Look in:");
    // Installing twice keeps one set of translations.
    installSpanishTranslations();
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancelar");
}

// The message dialog has its text, size and place before it is on view: it never appears with
// the previous message's size and place.
TEST_F(ProductionProgramTest, MessageDialogIsReadyBeforeItIsOnView) {
    program = makeProgram();
    Program& p = *program;
    TMensaje& m = p.mensaje();
    struct Seen {
        QString text;
        QSize size;
        QPoint place;
    };
    Seen seen;
    ShowProbe probe([&] {
        seen = {m.Label1->text(), m.size(), m.pos()};
        QTimer::singleShot(0, &m, &QDialog::accept);
    });
    m.installEventFilter(&probe);
    const QString texts[] = {
        "Hola",
        "Una línea de mensaje bastante más larga que el texto de la indicación\r\rY otra más",
        "Adiós",
    };
    const QRect desktop = QGuiApplication::primaryScreen()->availableGeometry();
    for (const QString& text : texts) {
        SCOPED_TRACE(text.toStdString());
        p.Ver_Mensaje(text);
        EXPECT_EQ(seen.text, displayLines(text));
        EXPECT_EQ(seen.size, m.size()) << "the size it keeps is the one it appeared with";
        const QSize outer = m.size() + m.frameExtra();
        EXPECT_EQ(seen.place, QPoint(desktop.left() + (desktop.width() - outer.width()) / 2,
                                     desktop.top() + (desktop.height() - outer.height()) / 2));
    }
    m.removeEventFilter(&probe);
}
