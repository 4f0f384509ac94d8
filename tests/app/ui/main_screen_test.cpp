#include "support/app_fixture.h"

#include "app/ui/acerca_de.h"
#include "app/ui/panta_inicio.h"
#include "platform/ui/help_window.h"
#include "platform/volume.h"

#include <QFileInfo>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocument>

namespace {

const QString noFileOpen = QStringLiteral("No hay ningún Fichero de Estudio abierto.");

void clickLabel(QLabel* label) {
    QTest::mouseClick(label, Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
}

void moveOver(QWidget* widget, QPoint where = QPoint(3, 3)) {
    QMouseEvent move(QEvent::MouseMove, where, widget->mapToGlobal(where), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

} // namespace

TEST_F(AppTest, CaptionsOfEveryPageAndEntry) {
    TPanta_Inicio_& main = start().mainScreen();
    EXPECT_EQ(main.windowTitle(), "  Orbanel  vs. 2.0");
    EXPECT_EQ(QCoreApplication::applicationName(), "OB2");
    EXPECT_TRUE(main.isMaximized());
    ASSERT_EQ(main.PageControl1->count(), 3);
    EXPECT_EQ(main.PageControl1->tabText(0), " Principal ");
    EXPECT_EQ(main.PageControl1->tabText(1), " Utilidades ");
    EXPECT_EQ(main.PageControl1->tabText(2), "Herramientas ");

    struct Case {
        QLabel* label;
        const char* caption;
        QColor colour;
    };
    const QColor navy(0, 0, 128), blue(0, 0, 255), purple(128, 0, 128), maroon(128, 0, 0);
    const Case cases[] = {
        {main.Label5, "1- Abrir  Fichero", navy},
        {main.Label6, "2- Repasar Fichas", navy},
        {main.Label32, "3- Repaso por tiempo", navy},
        {main.Label7, "4- Añadir Fichas", navy},
        {main.Label8, "5- Añadir Fichas en Grupo", navy},
        {main.Label9, "6- Información del Fichero", navy},
        {main.Label10, "7-  Seleccionar, Modificar   o Borrar Fichas ", navy},
        {main.Label11, "8-  Crear Fichero ", navy},
        {main.Label13, "0-  Ayuda", maroon},
        {main.Label14, "Acerca de...", maroon},
        {main.Label15, "Salir", maroon},
        {main.Label16, "A- Pasar Fichas del   Nivel 0 al 1", blue},
        {main.Label17, "B- Opciones del Programa", blue},
        {main.Label18, "C- Imprimir Fichas ", blue},
        {main.Label19, "D- Modificación Global ", blue},
        {main.Label20, "Z- Ayuda", maroon},
        {main.Label21, "Salir", maroon},
        {main.Label22, "E- Ficheros de Transporte", purple},
        {main.Label4, "F- Reparar Fichero", purple},
        {main.Label12, "G- Borrar Fichero ", purple},
        {main.Label23, "H- Exportar a un nuevo Fichero de Estudio", purple},
        {main.Label24, "I- Importar Fichas con texto", purple},
        {main.Label25, "J- Importar desde un Fichero de Estudio", purple},
        {main.Label26, "K- Importar Fichas con texto e imagenes", purple},
        {main.Label27, "Y- Ayuda", maroon},
        {main.Label28, "Salir", maroon},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.label->text(), QString::fromUtf8(c.caption));
        EXPECT_EQ(c.label->palette().color(QPalette::WindowText), c.colour) << c.caption;
        EXPECT_EQ(main.entryColour(c.label), c.colour) << c.caption;
    }
    for (QLabel* label : {main.Label1, main.Label2, main.Label3}) {
        EXPECT_EQ(label->text(), "Fichero Abierto:  (ninguno)");
        EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::black));
    }
    // The hidden rich-text buffers and the timers are there with their names.
    for (const char* name :
         {"RichEdit1", "RichEdit2", "RichEdit3", "RE_Resp_Text", "RE_Estilo_Fuente"}) {
        auto* buffer = main.findChild<QWidget*>(name);
        ASSERT_NE(buffer, nullptr) << name;
        EXPECT_FALSE(buffer->isVisible()) << name;
    }
    // The first run's preferences are in force: first break at 35 minutes, blink every 5.
    EXPECT_TRUE(main.Timer_Descanso->enabled());
    EXPECT_EQ(main.Timer_Descanso->interval(), 35 * 60000);
    EXPECT_TRUE(main.Timer_Parpadeo->enabled());
    EXPECT_EQ(main.Timer_Parpadeo->interval(), 5 * 60000);
}

TEST_F(AppTest, StartStateOfTheRun) {
    RunState& state = start().state();
    const QString dat = QDir(folder.path()).filePath("dat") + "/";
    EXPECT_EQ(state.currentTablePath, dat);
    EXPECT_EQ(state.openDialogFolder, dat);
    EXPECT_FALSE(state.fileOpen);
    EXPECT_FALSE(state.volumeSerial.isEmpty());
    EXPECT_LE(state.volumeSerial.size(), 9);
    EXPECT_TRUE(state.breaks.breakAllowed);
    EXPECT_EQ(state.breaks.breakNumber, 1);
    EXPECT_EQ(program->stackDepth(), 1);
}

// Every entry that needs a study file shows the guard message and nothing else, by key (upper and
// lower case, whatever page is on view) and by click.
TEST_F(AppTest, GuardedEntriesWithoutStudyFile) {
    TPanta_Inicio_& main = start().mainScreen();
    struct Case {
        char key;
        QLabel* label;
    };
    const Case guarded[] = {
        {'2', main.Label6},  {'3', main.Label32}, {'4', main.Label7},  {'5', main.Label8},
        {'6', main.Label9},  {'7', main.Label10}, {'A', main.Label16}, {'C', main.Label18},
        {'D', main.Label19}, {'H', main.Label23}, {'I', main.Label24}, {'K', main.Label26},
    };
    for (int page = 0; page < 3; ++page) {
        main.PageControl1->setCurrentIndex(page);
        for (const Case& c : guarded) {
            for (const char key : {c.key, char(QChar(c.key).toLower().toLatin1())}) {
                ui.clearRecords();
                QTest::keyClick(&main, key);
                EXPECT_EQ(ui.messages(), QStringList{noFileOpen}) << key << " page " << page;
                EXPECT_EQ(ui.screens(), QStringList{"TMensaje"}) << key;
            }
        }
    }
    for (const Case& c : guarded) {
        ui.clearRecords();
        main.PageControl1->setCurrentWidget(c.label->parentWidget());
        clickLabel(c.label);
        EXPECT_EQ(ui.messages(), QStringList{noFileOpen}) << c.key;
    }
    EXPECT_TRUE(ui.errors().isEmpty()) << ui.errors().join(" | ").toStdString();
}

// Entries without the guard ask nothing while their screens are not part of the program.
TEST_F(AppTest, UnguardedEntriesShowNoGuardMessage) {
    TPanta_Inicio_& main = start().mainScreen();
    for (const char key : {'8', 'B', 'b', 'E', 'e', 'F', 'f', 'J', 'j'}) {
        ui.clearRecords();
        QTest::keyClick(&main, key);
        EXPECT_TRUE(ui.messages().isEmpty()) << key;
        EXPECT_TRUE(ui.unexpected().isEmpty()) << key;
    }
}

TEST_F(AppTest, PrintEntryRebuildsThePrintTableBeforeTheGuard) {
    writeFile(QDir(folder.path()).filePath("IMP.db"), "an old print table");
    TPanta_Inicio_& main = start().mainScreen();
    QTest::keyClick(&main, 'c');
    EXPECT_EQ(ui.messages(), QStringList{noFileOpen});
    EXPECT_TRUE(ui.errors().isEmpty()) << ui.errors().join(" | ").toStdString();
    QFile table(QDir(folder.path()).filePath("IMP.db"));
    ASSERT_TRUE(table.open(QIODevice::ReadOnly));
    EXPECT_EQ(table.read(16), QByteArray("SQLite format 3\0", 16));
    EXPECT_FALSE(program->state().printTableRequest);
}

TEST_F(AppTest, HelpKeysOpenTheirContexts) {
    TPanta_Inicio_& main = start().mainScreen();
    EXPECT_EQ(program->helpWindow(), nullptr);
    struct Case {
        char key;
        int context;
    };
    const Case cases[] = {{'0', 1}, {'Z', 2}, {'z', 2}, {'Y', 3}, {'y', 3}};
    HelpWindow* first = nullptr;
    for (const Case& c : cases) {
        QTest::keyClick(&main, c.key);
        HelpWindow* help = program->helpWindow();
        ASSERT_NE(help, nullptr) << c.key;
        if (first == nullptr)
            first = help;
        EXPECT_EQ(help, first) << "the help window is created once and reused";
        EXPECT_EQ(help->currentContext(), c.context) << c.key;
        EXPECT_EQ(help->currentPage(), QString(":/help/%1.html").arg(c.context));
        EXPECT_TRUE(help->isVisible());
        // The compiled-in page is what the window shows: the program registers its pages itself.
        QFile page(help->currentPage());
        ASSERT_TRUE(page.open(QIODevice::ReadOnly)) << help->currentPage().toStdString();
        QTextDocument expected;
        expected.setHtml(QString::fromUtf8(page.readAll()));
        EXPECT_EQ(help->Browser->toPlainText(), expected.toPlainText());
    }
    clickLabel(main.Label20);
    EXPECT_EQ(program->helpWindow()->currentContext(), 2);
    EXPECT_TRUE(ui.messages().isEmpty());
    EXPECT_TRUE(ui.screens().isEmpty()) << "help is not modal";
}

TEST_F(AppTest, EscAndSalirCloseTheProgramAndTheHelp) {
    TPanta_Inicio_& main = start().mainScreen();
    QTest::keyClick(&main, '0');
    ASSERT_NE(program->helpWindow(), nullptr);
    QTest::keyClick(&main, Qt::Key_Escape);
    EXPECT_FALSE(main.isVisible());
    EXPECT_EQ(program->helpWindow(), nullptr);

    main.show();
    main.PageControl1->setCurrentIndex(2);
    clickLabel(main.Label28);
    EXPECT_FALSE(main.isVisible());
    EXPECT_TRUE(ui.confirmations().isEmpty()) << "the program ends without a question";
}

TEST_F(AppTest, HoverHighlightsOneEntryAtATime) {
    TPanta_Inicio_& main = start().mainScreen();
    moveOver(main.Label6);
    EXPECT_EQ(main.hoverEntry(), main.Label6);
    EXPECT_EQ(main.Label6->palette().color(QPalette::WindowText), QColor(Qt::white));
    EXPECT_EQ(main.Label6->cursor().shape(), Qt::PointingHandCursor);

    moveOver(main.Label13);
    EXPECT_EQ(main.Label13->palette().color(QPalette::WindowText), QColor(Qt::white));
    EXPECT_EQ(main.Label6->palette().color(QPalette::WindowText), QColor(0, 0, 128));

    moveOver(main.TabSheet1, QPoint(700, 600));
    EXPECT_EQ(main.hoverEntry(), nullptr);
    EXPECT_EQ(main.Label13->palette().color(QPalette::WindowText), QColor(128, 0, 0));
    EXPECT_EQ(main.Label13->cursor().shape(), Qt::ArrowCursor);

    main.PageControl1->setCurrentIndex(2);
    moveOver(main.Label12);
    moveOver(main.TabSheet3, QPoint(700, 600));
    EXPECT_EQ(main.Label12->palette().color(QPalette::WindowText), QColor(128, 0, 128));
}

TEST_F(AppTest, TodayKeyAndDisplayFollowTheDateOrder) {
    Program& p = start();
    RunState& state = p.state();
    const QString sep = platform::systemDateSeparator();
    EXPECT_EQ(state.todayKey, "20240305");
    EXPECT_EQ(state.todayDisplay, "05" + sep + "03" + sep + "24");

    state.prefs.dayFirstDates = false;
    clock.setNow(QDateTime(QDate(2025, 11, 9), QTime(23, 0)));
    p.mainScreen().FormActivate();
    EXPECT_EQ(state.todayKey, "20251109");
    EXPECT_EQ(state.todayDisplay, "11" + sep + "09" + sep + "25");
}

TEST_F(AppTest, AboutBoxAndItsLinkToTheHelp) {
    TPanta_Inicio_& main = start().mainScreen();
    ui.onScreen("TAcercaDe_", [](QDialog& dialog) {
        auto& about = static_cast<TAcercaDe_&>(dialog);
        EXPECT_EQ(about.windowTitle(), " Acerca de...");
        EXPECT_EQ(about.ProductName->text(), "Orbanel  vs. 2.0");
        EXPECT_EQ(about.Comments->text(),
                  "Le ayuda al repasar en el estudio, aumentando el recuerdo.");
        const QColor blue = about.linkColour();
        moveOver(about.LinkLabel);
        EXPECT_EQ(about.linkColour(), QColor(Qt::white));
        EXPECT_EQ(about.LinkLabel->cursor().shape(), Qt::PointingHandCursor);
        moveOver(about.Panel1, QPoint(300, 240));
        EXPECT_EQ(about.linkColour(), blue);
        moveOver(about.LinkLabel);
        clickLabel(about.LinkLabel);
        EXPECT_EQ(about.linkColour(), blue) << "back to blue after a click";
        about.OKButton->click();
        return about.result();
    });
    clickLabel(main.Label14);
    EXPECT_EQ(ui.screens(), QStringList{"TAcercaDe_"});
    ASSERT_NE(program->helpWindow(), nullptr);
    EXPECT_EQ(program->helpWindow()->currentContext(), 0);
    EXPECT_EQ(program->helpWindow()->currentPage(), ":/help/index.html");
}

TEST_F(AppTest, VolumeSerialIsTheOneOfTheStudyFilesDevice) {
    // Started from a folder on another file system, the key of remembered passwords is still the
    // serial of the device that holds dat/.
    const QString elsewhere = QStringLiteral("/dev/shm");
    if (!QFileInfo(elsewhere).isDir() ||
        platform::volumeSerialText(elsewhere) == platform::volumeSerialText(dat()))
        GTEST_SKIP() << "no second file system to start from";
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(elsewhere));
    const auto back = qScopeGuard([&] { QDir::setCurrent(before); });
    start();
    EXPECT_EQ(program->state().volumeSerial, platform::volumeSerialText(dat()));
    EXPECT_NE(program->state().volumeSerial, platform::volumeSerialText(elsewhere));
}
