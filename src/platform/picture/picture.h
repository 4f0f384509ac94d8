// A picture of the program: empty, a bitmap, or a JPEG image.
//
// A JPEG picture keeps the bytes it was read from, so storing it again writes exactly those bytes;
// its pixels are decoded once with libjpeg-turbo. A bitmap keeps the BMP file bytes it was read
// from as well (pictures made from pixels are encoded as BMP when their bytes are asked for).
// Damaged or unreadable data always ends in PictureError, never in a crash.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include "platform/error.h"

namespace picture {

class PictureError : public platform::Error {
public:
    using Error::Error;
};

class Picture {
public:
    enum class Kind { Empty, Bitmap, Jpeg };

    // Largest picture accepted when decoding: at most this many pixels, and at most
    // maxPictureSide pixels on either side. Checked before any pixel memory is allocated.
    static constexpr qint64 maxPicturePixels = 100'000'000;
    static constexpr int maxPictureSide = 32'000;

    Picture(); // empty

    // Reads a picture file by its extension: .bmp is a bitmap, .jpg and .jpeg are JPEG images
    // (case-insensitive). Throws PictureError for any other extension, an unreadable file or data
    // that cannot be decoded.
    static Picture fromFile(const QString& path);
    // Decodes bytes of the given kind. Kind::Empty gives an empty picture (the bytes must be
    // empty too). Throws PictureError when the bytes cannot be decoded.
    static Picture fromBytes(const QByteArray& bytes, Kind kind);
    // Decodes bytes whose kind is told by their signature (FF D8 FF: JPEG, "BM": bitmap); empty
    // bytes give an empty picture. Throws PictureError for anything else.
    static Picture fromData(const QByteArray& bytes);
    // The kind that bytes announce by their signature (Empty for no bytes or an unknown one).
    static Kind kindOfData(const QByteArray& bytes);
    // A bitmap with these pixels; a null image gives an empty picture.
    static Picture fromImage(const QImage& image);
    // Encodes pixels as a JPEG image with libjpeg-turbo (quality 1..100, clamped).
    static Picture jpegFromImage(const QImage& image, int quality = 90);

    bool isEmpty() const { return kind_ == Kind::Empty; }
    Kind kind() const { return kind_; }
    int width() const { return image_.width(); }
    int height() const { return image_.height(); }
    // The decoded pixels (a null image when the picture is empty).
    const QImage& image() const { return image_; }
    // JPEG: its own bytes unchanged. Bitmap: BMP file bytes. Empty: no bytes.
    QByteArray bytes() const;
    // Writes the picture's bytes atomically (QSaveFile). When the file name's extension names the
    // other format (.bmp for a JPEG, .jpg/.jpeg for a bitmap) the picture is converted first, so
    // that the file always holds what its name says. Throws PictureError when the picture is
    // empty or the file cannot be written.
    void saveToFile(const QString& path) const;
    // The same pixels as a bitmap (an empty picture stays empty).
    Picture toBitmap() const;

    // The kind a file name announces by its extension (Empty when it names no picture format).
    static Kind kindOfFileName(const QString& path);

private:
    Kind kind_ = Kind::Empty;
    QImage image_;
    mutable QByteArray bytes_; // bitmaps made from pixels encode these on first request
};

} // namespace picture
