// Creating a study file: the checks and messages of the creation screen in their order, and the
// writing of the design-record file, the empty card table and the study-file picture. The
// creation screen and orbanel-tool share it.
#pragma once

#include "platform/picture/picture.h"
#include "studyfile/design_record.h"

#include <QString>
#include <QStringList>

namespace studyfile {

inline const QString kNoAnswerKindMessage = QStringLiteral(
    "     Debe seleccionar algún tipo de \r\r respuesta: Texto, Imagen o Texto Largo.");
inline const QString kNoNameMessage =
    QStringLiteral(" Debe escribir un nombre\r\rpara el Fichero de Estudio.");
inline const QString kSlashInNameMessage = QStringLiteral(
    " El nombre no puede contener el carácter /\r\rDebe cambiarlo para poder crear un Fichero "
    "nuevo.");
inline const QString kAlreadyExistsMessage = QStringLiteral(
    "      Ya existe un Fichero con ese nombre.\r\rDebe cambiarlo para poder crear un Fichero "
    "nuevo.");
inline const QString kOnlyDigitsMessage = QStringLiteral("Sólo se admiten números (0, 1, 2, etc.)");
inline const QString kSizeTooLargeMessage = QStringLiteral(
    "        El tamaño máximo es 255.\rEl valor que escriba debe ser igual o menor.");
inline const QString kSizeTooSmallMessage =
    QStringLiteral("        El tamaño mínimo es 1.\rEl valor que escriba debe ser igual o mayor.");
inline const QString kCreatedMessage =
    QStringLiteral("El Fichero de Estudio\r\r%1\r\rha sido creado.");

// A refusal of creation: the text is the message the user sees; nothing was written.
class CreationRefused : public platform::Error {
public:
    using Error::Error;
};

// The size check of an "other size" input: the message for text that is not a size of 1 to 255
// (only digits; at most 255; at least 1), empty when the text passes. Empty text passes the check
// (creation then fails to read it as a number).
QString sizeCheckMessage(const QString& text);

// The number in an "other size" input. Throws platform::ConversionError (the number reader's error)
// for text that is empty or not a number, CreationRefused for a number the size check refuses.
int readSizeText(const QString& text);

struct CreationRequest {
    QString datFolder;
    QString name;
    DesignOptions options; // compressed as chosen; modifiable, exportable, printable on
    QStringList description;
    QString password;         // not empty: the record is enciphered with it (the tool's addition)
    picture::Picture picture; // empty: none
    QString pictureKind;      // "JPG" or "BMP": the extension of the saved picture
};

// Checks in the screen's order that do not depend on the sizes: an answer kind, a name, no "/"
// in the name, the sizes within 1..255 (short answer 0 when there is no short text), no file of
// that name. Throws CreationRefused.
void checkCreation(const CreationRequest& request);

// Writes N.STU (compressed, enciphered exactly when there is a password), the empty card table
// N.DB and the picture. Checks first (checkCreation); pictures N.BMP, N.JPG and N.JPEG left by an
// earlier study file of the name are removed. When a step fails, the files written so far are
// removed before the error goes on. Returns the path of the card table.
QString createStudyFile(const CreationRequest& request);

// Whether a file of the study file name already exists in folder (N.STU, N.MB, N.DB or N.PX,
// without regard to letter case).
bool studyFileExists(const QString& folder, const QString& name);

} // namespace studyfile
