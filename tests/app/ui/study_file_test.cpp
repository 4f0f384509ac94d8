#include "support/app_fixture.h"

#include "app/prepara_imagen.h"
#include "app/ui/mensaje.h"
#include "app/ui/panta_inicio.h"
#include "platform/ui/picture_box.h"
#include "review/ui/selecc_repaso.h"
#include "studyfile/card_table.h"
#include "studyfile/design_record.h"
#include "studyfile/ui/data_module.h"
#include "viewers/picture_fit.h"

#include <QImage>
#include <QLabel>
#include <QRadioButton>
#include <QTest>

namespace {

const QString noFileChosen = QStringLiteral("No se seleccionó ningún Fichero de Estudio");
const QString incomplete = QStringLiteral("El Fichero de Estudio está incompleto.");
const QString oldFormat = QStringLiteral(
    "Este Fichero de Estudio usa el formato antiguo de tablas y todavía no puede abrirse.");

// Bytes that start like a Paradox table (anything that is not an SQLite database).
const QByteArray paradoxBytes("\x02\x0b\x00\x08\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00",
                              16);

void writeImage(const QString& path, int width, int height, const char* format) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    ASSERT_TRUE(image.save(path, format)) << path.toStdString();
}

} // namespace

class StudyFileTest : public AppTest {
protected:
    // A native study file N in dat/: its card table and a design record file.
    QString makeStudyFile(const QString& name, const QString& stuLetters = "STU") {
        const QString table = dat(name + ".db");
        studyfile::createCardTable(table);
        studyfile::writeDesignRecordFile(dat(name + "." + stuLetters),
                                         studyfile::designRecordLines({}, {"Descripción"}),
                                         QString());
        return table;
    }
    TPanta_Inicio_& main() { return program->mainScreen(); }
    TD_Module_& data() { return program->data(); }
    void open(const QString& path) {
        ui.queueFile(path);
        QTest::keyClick(&main(), '1');
    }
    void expectClosed() {
        EXPECT_FALSE(program->state().fileOpen);
        EXPECT_FALSE(data().Tabla_Activa.isOpen());
        for (QLabel* label : {main().Label1, main().Label2, main().Label3})
            EXPECT_EQ(label->text(), "Fichero Abierto:  (ninguno)");
    }
};

TEST_F(StudyFileTest, OpeningAStudyFile) {
    const QString table = makeStudyFile("Curso");
    start();
    QDir::setCurrent(QDir::tempPath());
    open(table);

    ASSERT_EQ(ui.fileRequests().size(), 1);
    const FileDialogRequest& request = ui.fileRequests().first();
    EXPECT_EQ(request.title, " Abrir un Fichero de Estudio");
    EXPECT_EQ(request.filter, " Ficheros de Estudio |*.db| Todos los Archivos |*.*");
    EXPECT_EQ(QDir(request.directory).canonicalPath(), QDir(dat()).canonicalPath());

    RunState& state = program->state();
    EXPECT_TRUE(ui.messages().isEmpty()) << ui.messages().join("|").toStdString();
    EXPECT_TRUE(ui.errors().isEmpty()) << ui.errors().join("|").toStdString();
    EXPECT_TRUE(state.fileOpen);
    EXPECT_EQ(state.currentTablePath, table);
    EXPECT_EQ(state.studyFileName, "Curso");
    EXPECT_EQ(QDir::currentPath(), QDir(folder.path()).canonicalPath());
    for (QLabel* label : {main().Label1, main().Label2, main().Label3})
        EXPECT_EQ(label->text(), "Fichero Abierto: Curso");
    EXPECT_TRUE(data().Tabla_Activa.isOpen());
    EXPECT_EQ(data().Tabla_Activa.filter(), " (Nive_fich <> 0 ) ");
    EXPECT_TRUE(data().Tabla_Activa.filtered());
    EXPECT_EQ(state.selection.selectionFilter, " (Nive_fich <> 0 ) ");
    EXPECT_EQ(main().Label5->palette().color(QPalette::WindowText), QColor(0, 0, 128));

    // The guard lets entries through now: entry 6 opens the information screen.
    ui.clearRecords();
    QTest::keyClick(&main(), '6');
    EXPECT_TRUE(ui.messages().isEmpty());
    EXPECT_EQ(ui.screens(), QStringList{"TVer_Info_"});

    // The next dialog starts in the folder of the open file.
    open(QString());
    EXPECT_EQ(ui.fileRequests().last().directory, QFileInfo(table).path());
}

TEST_F(StudyFileTest, CancellingTheOpenDialogKeepsTheOpenFile) {
    const QString table = makeStudyFile("Curso");
    start();
    open(table);
    ASSERT_TRUE(program->state().fileOpen);

    open(QString());
    EXPECT_EQ(ui.messages(), QStringList{noFileChosen});
    EXPECT_TRUE(program->state().fileOpen);
    EXPECT_TRUE(data().Tabla_Activa.isOpen());
    EXPECT_EQ(main().Label2->text(), "Fichero Abierto: Curso");
    EXPECT_EQ(program->state().currentTablePath, QString());

    // With an empty table path the next dialog has no initial folder.
    open(QString());
    EXPECT_EQ(ui.fileRequests().last().directory, QString());
    EXPECT_EQ(ui.messages().size(), 2);
}

TEST_F(StudyFileTest, IncompleteStudyFileClosesTheOneOpenBefore) {
    const QString good = makeStudyFile("Curso");
    const QString broken = dat("Roto.db");
    studyfile::createCardTable(broken); // no Roto.STU
    start();
    open(good);
    ASSERT_TRUE(program->state().fileOpen);

    open(broken);
    EXPECT_EQ(ui.messages(), QStringList{incomplete});
    expectClosed();
    EXPECT_EQ(program->state().currentTablePath, broken);
}

TEST_F(StudyFileTest, SiblingFilesAreFoundWhateverTheirCase) {
    const QString table = makeStudyFile("curso", "STU");
    start();
    open(table);
    EXPECT_TRUE(ui.messages().isEmpty()) << ui.messages().join("|").toStdString();
    EXPECT_TRUE(program->state().fileOpen);
}

TEST_F(StudyFileTest, OldFormatTables) {
    // A Paradox N.DB needs its N.MB and N.PX; with them it is refused as the old format.
    writeFile(dat("Viejo.DB"), paradoxBytes);
    writeFile(dat("Viejo.STU"));
    start();
    open(dat("Viejo.DB"));
    EXPECT_EQ(ui.messages(), QStringList{incomplete});
    expectClosed();

    writeFile(dat("Viejo.MB"));
    writeFile(dat("Viejo.PX"));
    ui.clearRecords();
    open(dat("Viejo.DB"));
    EXPECT_EQ(ui.messages(), QStringList{oldFormat});
    EXPECT_TRUE(ui.errors().isEmpty());
    expectClosed();
}

TEST_F(StudyFileTest, AnEngineErrorWhileOpeningLeavesNoFileOpen) {
    const QString good = makeStudyFile("Curso");
    // An SQLite header over garbage: the engine cannot open it.
    writeFile(dat("Malo.db"), QByteArray("SQLite format 3\0", 16) + QByteArray(600, '\x7f'));
    studyfile::writeDesignRecordFile(dat("Malo.STU"), studyfile::designRecordLines({}, {}),
                                     QString());
    start();
    open(good);
    ASSERT_TRUE(program->state().fileOpen);

    open(dat("Malo.db"));
    EXPECT_EQ(ui.errors().size(), 1) << "the engine's error reaches the error box";
    EXPECT_TRUE(ui.messages().isEmpty());
    expectClosed();
    EXPECT_EQ(main().Label5->palette().color(QPalette::WindowText), QColor(0, 0, 128));
}

TEST_F(StudyFileTest, DeletingAStudyFile) {
    const QString table = makeStudyFile("Curso");
    for (const char* ext : {"MB", "PX", "JPG", "BMP", "CLA", "JPEG"})
        writeFile(dat(QString("Curso.") + ext));
    writeFile(table + "-journal");
    const QString other = makeStudyFile("Otro");
    start();
    open(other);
    ASSERT_TRUE(program->state().fileOpen);

    ui.queueFile(table);
    ui.queueConfirm(true);
    QTest::keyClick(&main(), 'g');

    ASSERT_EQ(ui.fileRequests().size(), 2);
    const FileDialogRequest& request = ui.fileRequests().last();
    EXPECT_EQ(request.title, " B O R R A R  un Fichero de Estudio");
    EXPECT_EQ(request.filter, " Ficheros de Estudio |*.db");
    EXPECT_EQ(request.fileName, QString());
    EXPECT_EQ(QDir(request.directory).canonicalPath(), QDir(dat()).canonicalPath());
    EXPECT_EQ(
        ui.confirmations(),
        QStringList{"¿Seguro que quiere borrar el Fichero de Estudio\r\r" + dat("Curso") + " ?"});
    EXPECT_TRUE(ui.messages().isEmpty()) << "no message follows";

    QStringList left = QDir(dat()).entryList(QDir::Files);
    left.sort();
    EXPECT_EQ(left, (QStringList{"Curso.JPEG", "Otro.STU", "Otro.db"}));
    // The open study file is closed whichever file is deleted.
    expectClosed();
}

TEST_F(StudyFileTest, DeletingAsksFirstAndStopsQuietly) {
    const QString table = makeStudyFile("Curso");
    start();
    open(table);

    // No: nothing is deleted and the open file stays open.
    ui.queueFile(table);
    ui.queueConfirm(false);
    QTest::keyClick(&main(), 'G');
    EXPECT_TRUE(QFile::exists(table));
    EXPECT_TRUE(program->state().fileOpen);

    // A file that does not exist: silently nothing.
    ui.queueFile(dat("Nada.db"));
    QTest::keyClick(&main(), 'G');
    EXPECT_EQ(ui.confirmations().size(), 1);
    EXPECT_TRUE(ui.messages().isEmpty());

    // Cancelled.
    ui.queueFile(QString());
    QTest::keyClick(&main(), 'G');
    EXPECT_EQ(ui.messages(), QStringList{noFileChosen});
    EXPECT_TRUE(ui.unexpected().isEmpty()) << ui.unexpected().join("|").toStdString();
    EXPECT_TRUE(program->state().fileOpen);
}

TEST_F(StudyFileTest, MainScreenAndStudyFilePictures) {
    writeImage(QDir(folder.path()).filePath("image.bmp"), 1200, 900, "BMP");
    const QString table = makeStudyFile("Curso");
    writeImage(dat("Curso.JPG"), 100, 50, "JPG");
    start();

    // "Image.BMP" is found as image.bmp, fitted into the page box and copied to the pages.
    ASSERT_EQ(main().Image1->picture().width(), 1200);
    const QRect fitted = AdaptaImagen(608, 437, 352, 15, 1200, 900);
    EXPECT_EQ(fitted.size(), QSize(582, 437));
    for (PictureBox* box : {main().Image1, main().Image2, main().Image3}) {
        EXPECT_EQ(box->geometry(), fitted) << box->objectName().toStdString();
        EXPECT_EQ(box->picture().height(), 900);
        EXPECT_TRUE(box->stretch());
    }

    open(table);
    EXPECT_EQ(main().Image1->picture().width(), 100);
    EXPECT_EQ(main().Image3->picture().width(), 100);
    EXPECT_EQ(main().Image2->geometry(), QRect(352 + 254, 15 + 193, 100, 50));

    // Closing (a failed open closes too) brings the main-screen picture back.
    open(dat("Nada.db"));
    EXPECT_EQ(ui.messages(), QStringList{incomplete});
    EXPECT_EQ(main().Image1->picture().width(), 1200);
    EXPECT_EQ(main().Image2->geometry(), fitted);
}

TEST_F(StudyFileTest, MainPictureMayBeAJpegFile) {
    writeImage(QDir(folder.path()).filePath("Image.JPEG"), 300, 200, "JPG");
    const QString plain = makeStudyFile("Curso");
    const QString pictured = makeStudyFile("Fotos");
    writeImage(dat("fotos.bmp"), 40, 30, "BMP");
    start();
    EXPECT_EQ(main().Image1->picture().kind(), picture::Picture::Kind::Jpeg);
    open(plain);
    EXPECT_EQ(main().Image1->picture().width(), 300) << "a study file without picture";
    open(pictured);
    EXPECT_EQ(main().Image1->picture().width(), 40);
    open(dat("Nada.db"));
    EXPECT_EQ(main().Image1->picture().width(), 300) << "shown again after closing";
    EXPECT_EQ(main().Image3->picture().width(), 300);
}

// The blink notice's flag (set while it is on view) neither stops the fitting nor is taken by it.
TEST_F(StudyFileTest, PreparaImagenPlacesWhateverTheSkipFlagSays) {
    writeImage(QDir(folder.path()).filePath("Image.BMP"), 100, 50, "BMP");
    Program& p = start();
    const QRect placed = main().Image1->geometry();
    EXPECT_EQ(placed, QRect(352 + 254, 15 + 193, 100, 50));
    main().Image1->setGeometry(0, 0, 10, 10);

    p.state().skipNextActivation = true;
    Prepara_Imagen(p, 1);
    EXPECT_TRUE(p.state().skipNextActivation);
    EXPECT_EQ(main().Image1->geometry(), placed);

    // Pictures 2 and 3 take the size of the page-1 picture.
    main().Image2->clear();
    Prepara_Imagen(p, 2);
    EXPECT_EQ(main().Image2->geometry(), placed);
    EXPECT_THROW(Prepara_Imagen(p, 0), UnknownPictureNumber);
    EXPECT_THROW(Prepara_Imagen(p, 12), UnknownPictureNumber);
}

// The card editor's and the information screen's picture numbers place their own boxes and take
// no other screen's.
TEST_F(StudyFileTest, PreparaImagenPlacesOnlyThePictureOfItsNumber) {
    writeImage(QDir(folder.path()).filePath("Image.BMP"), 100, 50, "BMP");
    Program& p = start();
    const QRect placed = main().Image1->geometry();
    for (int number : {7, 8, 9})
        Prepara_Imagen(p, number);
    EXPECT_EQ(main().Image1->geometry(), placed);
}

TEST_F(StudyFileTest, ActivationRestoresTheTimedReviewFilter) {
    const QString table = makeStudyFile("Curso");
    start();
    open(table);
    RunState& state = program->state();
    state.savedTimedReviewFilter = "( Nive_Fich <> 0 ) ";
    data().Tabla_Activa.setFilter("( Nive_Fich <> 0 )  and (Fech_Prox_Repa <= 20240305)");
    program->activateTop();
    EXPECT_EQ(data().Tabla_Activa.filter(), "( Nive_Fich <> 0 ) ");
    EXPECT_TRUE(state.savedTimedReviewFilter.isEmpty());
    // Nothing saved: the filter stays as it is.
    data().Tabla_Activa.setFilter("Nive_Fich = 3");
    program->activateTop();
    EXPECT_EQ(data().Tabla_Activa.filter(), "Nive_Fich = 3");
}

// A study file opens with no selection in force, whatever the one before had: the selection
// filter and the saved selection filter are the base filter.
TEST_F(StudyFileTest, OpeningDropsTheSelectionOfTheStudyFileBefore) {
    const QString first = makeStudyFile("Curso");
    const QString second = makeStudyFile("Otro");
    start();
    open(first);
    RunState& state = program->state();
    state.selection = {"Nive_Fich=2 and  (Nive_fich <> 0 ) ", "Nive_Fich=3 and  (Nive_fich <> 0 ) ",
                       true};
    data().Tabla_Activa.setFilter(state.selection.selectionFilter);
    open(second);
    ASSERT_EQ(state.studyFileName, "Otro");
    EXPECT_EQ(state.selection.selectionFilter, studyfile::kBaseFilter);
    EXPECT_EQ(state.selection.savedSelectionFilter, studyfile::kBaseFilter);
    EXPECT_FALSE(state.selection.selectionActive);
    EXPECT_EQ(data().Tabla_Activa.filter(), studyfile::kBaseFilter);
}

// With the review selection left in quick selection, activation hands the saved selection filter
// back; the base filter when none was kept, never an empty filter.
TEST_F(StudyFileTest, QuickSelectionHandBackNeverLeavesTheTableUnfiltered) {
    const QString table = makeStudyFile("Curso");
    start();
    open(table);
    program->selecc_Repaso().RadioButton2->setChecked(true);
    RunState& state = program->state();
    struct Case {
        QString saved;
        QString handedBack;
    };
    const Case cases[] = {
        {"Nive_Fich=2 and  (Nive_fich <> 0 ) ", "Nive_Fich=2 and  (Nive_fich <> 0 ) "},
        {"", studyfile::kBaseFilter},
        {"  ", studyfile::kBaseFilter}};
    for (const Case& c : cases) {
        state.selection.savedSelectionFilter = c.saved;
        data().Tabla_Activa.setFilter("Nive_Fich = 3");
        program->activateTop();
        EXPECT_EQ(data().Tabla_Activa.filter(), c.handedBack) << c.saved.toStdString();
    }
}

TEST_F(StudyFileTest, DataModuleMessagesUseTheMessageDialog) {
    start();
    data().Ver_Mensaje("Hola\r\rAdiós");
    EXPECT_EQ(ui.messages(), QStringList{"Hola\r\rAdiós"});
    EXPECT_EQ(program->state().messageText, "Hola\r\rAdiós");
    EXPECT_EQ(program->mensaje().Label1->text(), "Hola\n\nAdiós");
}

TEST_F(StudyFileTest, ADamagedStudyFilePictureDoesNotCloseTheStudyFile) {
    writeImage(QDir(folder.path()).filePath("Image.BMP"), 300, 200, "BMP");
    const QString table = makeStudyFile("Curso");
    writeFile(dat("Curso.BMP"), QByteArray("BM") + QByteArray(40, '\0'));
    start();
    ui.clearRecords();
    open(table);

    // The picture's error is reported; the cards are as usable as ever.
    EXPECT_EQ(ui.errors().size(), 1);
    EXPECT_TRUE(ui.messages().isEmpty()) << ui.messages().join("|").toStdString();
    EXPECT_TRUE(program->state().fileOpen);
    EXPECT_TRUE(data().Tabla_Activa.isOpen());
    for (QLabel* label : {main().Label1, main().Label2, main().Label3})
        EXPECT_EQ(label->text(), "Fichero Abierto: Curso");
    // The pages show the main-screen picture instead.
    EXPECT_EQ(main().Image1->picture().width(), 300);
    EXPECT_EQ(main().Image3->picture().width(), 300);
    EXPECT_EQ(main().Label5->palette().color(QPalette::WindowText), QColor(0, 0, 128));
}

TEST_F(StudyFileTest, ADamagedMainPictureIsNoPictureAndIsReportedOnce) {
    writeFile(QDir(folder.path()).filePath("Image.BMP"), QByteArray("BM") + QByteArray(40, '\0'));
    const QString table = makeStudyFile("Curso");
    program = std::make_unique<Program>(folder.path(), ui, clock);
    program->start();
    EXPECT_EQ(ui.errors().size(), 1);
    EXPECT_TRUE(main().Image1->picture().isEmpty());

    // Entry 8 closes the open study file and opens the creation screen.
    open(table);
    ASSERT_TRUE(program->state().fileOpen);
    ui.queueScreen("TCrea_Fiche_", [](QDialog&) { return int(QDialog::Rejected); });
    QTest::keyClick(&main(), '8');
    EXPECT_TRUE(ui.screens().contains("TCrea_Fiche_")) << ui.screens().join("|").toStdString();
    expectClosed();

    // A failed opening shows only its own message.
    ui.clearRecords();
    open(dat("Nada.db"));
    EXPECT_EQ(ui.messages(), QStringList{incomplete});

    // Entry G deletes after OK.
    ui.queueFile(table);
    ui.queueConfirm(true);
    QTest::keyClick(&main(), 'g');
    EXPECT_FALSE(QFile::exists(table));
    EXPECT_FALSE(QFile::exists(dat("Curso.STU")));

    EXPECT_TRUE(ui.errors().isEmpty()) << ui.errors().join("|").toStdString();
    EXPECT_TRUE(ui.unexpected().isEmpty()) << ui.unexpected().join("|").toStdString();
    EXPECT_TRUE(main().Image1->picture().isEmpty());
}
