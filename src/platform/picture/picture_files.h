// Picture files as the program's screens choose and find them: the main-screen picture of the
// program folder, the picture dialog's filters and the kind a chosen file name announces.
#pragma once

#include "platform/picture/picture.h"

#include <QString>
#include <QStringList>

namespace picture {

// The main-screen picture of the program folder, in the order it is looked for (without regard
// to letter case).
QStringList mainPictureNames();

// The filter of the picture dialog of the creation screen and the card editor, in the program's
// form (description and patterns alternate, separated by bars).
inline const QString kPictureDialogFilter = QStringLiteral(
    "All (*.jpg;*.jpeg;*.bmp)|*.jpg;*.jpeg;*.bmp|JPEG Image File (*.jpg, *.jpeg)|*.jpg, "
    "*.jpeg|Bitmaps (*.bmp)|*.bmp|All Files (*.*)|*.*");
// The options screen's picture dialog: the same patterns, its first description names more kinds.
inline const QString kProgramPictureDialogFilter = QStringLiteral(
    "All (*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf)|*.jpg;*.jpeg;*.bmp|JPEG Image File (*.jpg, "
    "*.jpeg)|*.jpg, *.jpeg|Bitmaps (*.bmp)|*.bmp|All Files (*.*)|*.*");

// The card editor's picture dialog.
inline const QString kCardPictureDialogFilter =
    QStringLiteral("BMP y JPG / JPEG  (*.jpg;*.jpeg;*.bmp)|*.jpg;*.jpeg;*.bmp|JPEG  (*.jpg, "
                   "*.jpeg)|*.jpg, *.jpeg|BMP  (*.bmp)|*.bmp|Todos los archivos (*.*)|*.*");

// A picture file as the card editor loads it: .bmp, .jpg and .jpeg by their own decoders; any
// other file that Qt's image readers know (PNG, GIF...) becomes a bitmap, its size checked against
// the picture limits from its header before it is decoded. Throws PictureError for a file that
// cannot be read.
Picture loadPictureFile(const QString& path);
// The bytes of an image file of a format other than BMP and JPEG (its name only for messages) as
// a bitmap, its size checked against the picture limits from its header before it is decoded.
Picture bitmapFromImageData(const QByteArray& bytes, const QString& name);
// Pixels taken from elsewhere (the clipboard, another image format) as a bitmap: transparent areas
// are laid over white, since a BMP keeps no transparency. Throws PictureError for a null image or
// one beyond the picture limits.
Picture bitmapFromImage(const QImage& image);

// The kind of a file chosen in the picture dialog, told by the last four characters of its name
// in lower case: ".jpg" or "jpeg" is a JPEG image, ".bmp" a bitmap; anything else is no picture
// (Picture::Kind::Empty).
Picture::Kind pictureKindOf(const QString& path);

} // namespace picture
