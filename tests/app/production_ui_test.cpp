// The production Ui runs real dialogs: these tests close them from a timer.
#include "support/app_fixture.h"

#include "platform/rtf/rtf.h"
#include "settings/preferences.h"

#include "app/ui.h"
#include "app/ui/passw_fe.h"

#include <QLineEdit>
#include <QTimer>

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

TEST_F(AppTest, ProgramRunsThePasswordDialogThroughTheProductionUi) {
    ProductionUi real;
    // A preferences file, so that the main screen's activation shows no first-run message.
    writeFile(QDir(folder.path()).filePath("Study02.stu"),
              rtf::writeLines(settings::defaultPreferenceLines()));
    Program p(folder.path(), real, clock);
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
