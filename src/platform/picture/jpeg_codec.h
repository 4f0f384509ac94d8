// JPEG decoding and encoding with libjpeg-turbo, used by Picture.
//
// libjpeg reports fatal errors through a callback that must not return; the codec jumps back
// out of the library (setjmp/longjmp) and turns every such error into PictureError.
#pragma once

#include <QByteArray>
#include <QImage>

namespace picture {

// Decodes a whole JPEG image into RGB32 pixels. Greyscale, YCbCr, RGB, CMYK and YCCK images are
// accepted. Truncated data is an error, as is a picture larger than the given limits.
// Throws PictureError.
QImage decodeJpeg(const QByteArray& bytes, qint64 maxPixels, int maxSide);

// Encodes pixels as a baseline YCbCr JPEG of the given quality (1..100). Throws PictureError.
QByteArray encodeJpeg(const QImage& image, int quality);

} // namespace picture
