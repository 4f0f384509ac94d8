// The study-file operations of the main screen: opening, closing and deleting a study file, and
// the print table rebuilt by the print entry.
#include "app/ui/panta_inicio.h"

#include "app/program.h"
#include "app/ui.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/picture/picture.h"
#include "platform/picture/picture_files.h"
#include "platform/rtf/rtf.h"
#include "platform/table/native_table.h"
#include "platform/ui/picture_box.h"
#include "studyfile/card_table.h"
#include "studyfile/ui/data_module.h"
#include "studyfile/ui/ver_info.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTextEdit>

namespace {

const QString noFileChosen = QStringLiteral("No se seleccionó ningún Fichero de Estudio");
const QString incompleteFile = QStringLiteral("El Fichero de Estudio está incompleto.");
const QString oldTableFormat = QStringLiteral(
    "Este Fichero de Estudio usa el formato antiguo de tablas y todavía no puede abrirse.");

// The folder a file dialog starts in for a path: the folder of a file, the path itself when it
// ends with a separator, nothing when it is empty.
QString folderOf(const QString& path) {
    if (path.isEmpty())
        return QString();
    if (path.endsWith(QLatin1Char('/')))
        return path;
    return QFileInfo(path).path();
}

} // namespace

void TPanta_Inicio_::Label5Click() {
    RunState& state = program_.state();
    // The open dialog starts in the folder of the current table path (the repair entry shows the
    // same dialog without resetting its folder).
    state.openDialogFolder = folderOf(state.currentTablePath);
    const QString chosen = program_.ui().openFile(
        this, {QStringLiteral(" Abrir un Fichero de Estudio"), state.openDialogFolder, QString(),
               QStringLiteral(" Ficheros de Estudio |*.db| Todos los Archivos |*.*")});
    state.currentTablePath = chosen;
    QDir::setCurrent(state.programFolder);
    if (chosen.isEmpty()) {
        program_.Ver_Mensaje(noFileChosen);
        setEntryColour(Label5);
        return;
    }

    const QString fileName = QFileInfo(chosen).fileName();
    state.studyFileName = fileName.left(qMax(0, fileName.size() - 3));
    setFicheroAbierto(ficheroAbiertoText(state.studyFileName));

    const QString table = files::findSibling(chosen, QStringLiteral("DB"));
    bool complete =
        !table.isEmpty() && !files::findSibling(chosen, QStringLiteral("STU")).isEmpty();
    if (complete && !table::isNativeTable(table)) {
        complete = !files::findSibling(chosen, QStringLiteral("MB")).isEmpty() &&
                   !files::findSibling(chosen, QStringLiteral("PX")).isEmpty();
    }
    if (!complete) {
        program_.Ver_Mensaje(incompleteFile);
        Cierra_Fichero();
        setEntryColour(Label5);
        return;
    }

    state.fileOpen = true;
    TD_Module_& data = program_.data();
    data.Tabla_Activa.close();
    try {
        if (!table::isNativeTable(table)) {
            program_.Ver_Mensaje(oldTableFormat);
            Cierra_Fichero();
            setEntryColour(Label5);
            return;
        }
        if (!Abre_Fichero_Estudio(table)) {
            // The design record could not be read; any message was shown.
            Cierra_Fichero();
            setEntryColour(Label5);
            return;
        }
    } catch (...) {
        // Whatever went wrong, no study file is left half open.
        Cierra_Fichero();
        setEntryColour(Label5);
        throw;
    }
    // The study-file picture, or the main-screen picture when it has none. The study file is
    // open by now: a picture that cannot be read is reported and the main-screen picture shown,
    // the cards stay usable.
    // The information screen never keeps the picture of the study file opened before.
    program_.ver_Info().hideStudyFilePicture();
    const QString picture = studyFilePicture();
    if (picture.isEmpty()) {
        showMainPicture();
    } else {
        try {
            Image1->setPicture(picture::Picture::fromFile(picture));
        } catch (const picture::PictureError&) {
            showMainPicture();
            setEntryColour(Label5);
            throw;
        }
        Actualiza_Imagenes(InfoPicture::Yes);
    }
    setEntryColour(Label5);
}

QString TPanta_Inicio_::studyFilePicture() const {
    const QString& table = program_.state().currentTablePath;
    for (const QString& letters :
         {QStringLiteral("BMP"), QStringLiteral("JPG"), QStringLiteral("JPEG")}) {
        const QString picture = files::findSibling(table, letters);
        if (!picture.isEmpty())
            return picture;
    }
    return QString();
}

bool TPanta_Inicio_::Abre_Fichero_Estudio(const QString& tablePath) {
    // The design record (with the password), the content container and the card table.
    TD_Module_& data = program_.data();
    if (!data.Abre_Conjunto_Fichero(tablePath))
        return false;
    // The hidden buffers hold the description and the remembered password as stored text.
    rtf::readDocument(rtf::writeLines(data.description), *RichEdit1->document());
    rtf::readDocument(rtf::writeLines(data.rememberedPassword), *RichEdit3->document());
    return true;
}

void TPanta_Inicio_::Cierra_Fichero() {
    RunState& state = program_.state();
    program_.data().Tabla_Activa.close();
    setFicheroAbierto(ficheroAbiertoText(QString()));
    state.fileOpen = false;
    showMainPicture();
}

void TPanta_Inicio_::showMainPicture() {
    const QString path =
        files::findFirstNoCase(program_.state().programFolder, picture::mainPictureNames());
    Image1->clear();
    if (!path.isEmpty()) {
        // A picture that cannot be read is no picture: closing a study file, creating or
        // deleting one goes on without it. Its error is shown once in a run, not at every close.
        try {
            Image1->setPicture(picture::Picture::fromFile(path));
        } catch (const platform::Error& e) {
            if (!mainPictureErrorShown_) {
                mainPictureErrorShown_ = true;
                program_.ui().errorBox(program_.topWindow(), e.text());
            }
        }
    }
    Actualiza_Imagenes(InfoPicture::No);
}

void TPanta_Inicio_::Label12Click() {
    RunState& state = program_.state();
    const QString chosen =
        program_.ui().openFile(this, {QStringLiteral(" B O R R A R  un Fichero de Estudio"),
                                      QDir(state.programFolder).filePath(QStringLiteral("dat")),
                                      QString(), QStringLiteral(" Ficheros de Estudio |*.db")});
    QDir::setCurrent(state.programFolder);
    if (chosen.isEmpty()) {
        program_.Ver_Mensaje(noFileChosen);
        return;
    }
    const QString table = files::findPathNoCase(chosen);
    if (table.isEmpty())
        return;
    const QString question = QStringLiteral("¿Seguro que quiere borrar el Fichero de Estudio\r\r") +
                             chosen.left(qMax(0, chosen.size() - 3)) + QStringLiteral(" ?");
    if (!program_.ui().confirm(this, question))
        return;

    Cierra_Fichero();
    files::removeNoCase(table);
    // A journal left by an interrupted write belongs to the table and goes with it.
    files::removeNoCase(table + QStringLiteral("-journal"));
    for (const QString& letters :
         {QStringLiteral("MB"), QStringLiteral("PX"), QStringLiteral("STU"), QStringLiteral("JPG"),
          QStringLiteral("BMP"), QStringLiteral("CLA")}) {
        files::removeNoCase(files::siblingPath(chosen, letters));
    }
}

void TPanta_Inicio_::Crea_Tabla_Impresion() {
    program_.data().Crea_Tabla_Imprime(program_.state().programFolder);
}
