// The design record of a study file: the flags line with its options, the record version line and
// the description, and the design-record file N.STU (a container holding stream "FE_STU").
#pragma once

#include "platform/error.h"

#include <QString>
#include <QStringList>

namespace studyfile {

// Messages of the study-file set.
inline const QString kDamagedMessage =
    QStringLiteral("Los datos de este Fichero de Estudio están dañados.");
inline const QString kPasswordNotSavedMessage =
    QStringLiteral("No se ha podido guardar la contraseña.");
inline const QString kWrongPasswordMessage =
    QStringLiteral("La contraseña no es correcta para este Fichero de Estudio.");
inline const QString kNotModifiableMessage =
    QStringLiteral("El autor/a inicial de este Fichero de Estudio no \r\rautoriza la "
                   "modificación ni el borrado de sus fichas.");

// The product-and-version text of the record version line.
inline const QString kProductVersion = QStringLiteral("Orbanel  vs. 2.0");
// Name of the design record's stream in N.STU.
inline const QString kDesignStreamName = QStringLiteral("FE_STU");
constexpr int kFlagsLineLength = 200;
// The flags line must reach the printable flag (offsets 39-40).
constexpr int kMinFlagsLineLength = 41;

// What the cards of a study file may hold and how its content is kept, fixed at creation.
struct DesignOptions {
    bool questionImage = false;
    bool answerImage = false;
    bool longAnswerText = false;
    bool cardKey = true;
    bool importanceLevel = false;
    int questionSize = 60;
    int shortAnswerSize = 100; // 0: the cards have no short answer text
    bool compressed = false;
    bool enciphered = false;
    bool modifiable = true;
    bool exportable = true;
    bool printable = true;

    // Card content goes through the content container.
    bool packedContent() const { return compressed || enciphered; }
    bool operator==(const DesignOptions&) const = default;
};

// A design record that cannot be read: the text is the message the user sees.
class DamagedRecord : public platform::Error {
public:
    DamagedRecord() : Error(kDamagedMessage) {}
};

// An enciphered design record that the password does not open: the text is
// kWrongPasswordMessage.
class WrongPassword : public platform::Error {
public:
    WrongPassword() : Error(kWrongPasswordMessage) {}
};

// The 200-character flags line of the options.
QString flagsLine(const DesignOptions& options);
// The options of a flags line: one character per flag, the two sizes from their three characters
// with leading spaces removed. Throws DamagedRecord for a line shorter than 41 characters or a
// size field that is not a number.
DesignOptions parseFlagsLine(const QString& line);

// The record version line: the product-and-version text in 40 characters, then 200 spaces.
QString versionLine();

// The description that creation offers.
QStringList descriptionTemplate();

// A design record read from its lines.
struct DesignRecord {
    QString flags;
    QString version; // trimmed
    QStringList description;
    DesignOptions options;
    QStringList lines; // the whole record as read
};
// Lines 0 and 1 are the flags and version lines, line 2 is empty, the description follows.
// Throws DamagedRecord when the flags line is missing or damaged.
DesignRecord parseDesignRecord(const QStringList& lines);
// The lines of a new record: flags line, version line, an empty line, the description.
QStringList designRecordLines(const DesignOptions& options, const QStringList& description);

// The design-record file: a compressed container holding the record's lines as a stored text
// under "FE_STU", enciphered with password when password is not empty.
QByteArray designRecordFileImage(const QStringList& lines, const QString& password);
// Writes the file whole (nothing is left half written). Throws files::FileError.
void writeDesignRecordFile(const QString& path, const QStringList& lines, const QString& password);
// Reads the lines of a design-record file. An enciphered file is opened with password. Throws
// files::FileError when the file cannot be read, DamagedRecord when it is damaged and not
// enciphered, and WrongPassword (kWrongPasswordMessage) when it is enciphered and the password does
// not open it.
QStringList readDesignRecordFile(const QString& path, const QString& password);
// The same over the bytes of such a file (no files::FileError).
QStringList readDesignRecordImage(const QByteArray& image, const QString& password);
// Whether a design-record file is enciphered (its mark byte); false when it cannot be read.
bool designRecordFileEnciphered(const QString& path);

// A text of the program's messages as one line: every line break, with the spaces around it,
// becomes one space, and the ends are trimmed.
QString oneLine(const QString& text);

} // namespace studyfile

namespace studyfile {

// The remembered-password file N.CLA: a compressed container enciphered with the volume serial
// text, holding under "1" a stored text whose line 1 is the password (line 0 is a placeholder).
inline const QString kPasswordPlaceholder = QStringLiteral("RichEdit3");
QByteArray rememberedPasswordImage(const QStringList& lines, const QString& volumeKey);
// The lines of the stored text; throws (files::FileError, CorruptFile) when the file cannot be read
// with this key.
QStringList readRememberedPasswordFile(const QString& path, const QString& volumeKey);

} // namespace studyfile
