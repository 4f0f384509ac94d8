#include "platform/picture/picture.h"

#include "platform/files.h"
#include "platform/picture/jpeg_codec.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>

namespace picture {

namespace {

[[noreturn]] void fail(const QString& message) {
    throw PictureError(message);
}

quint32 le32(const QByteArray& b, qsizetype at) {
    const auto* p = reinterpret_cast<const uchar*>(b.constData()) + at;
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

quint16 le16(const QByteArray& b, qsizetype at) {
    const auto* p = reinterpret_cast<const uchar*>(b.constData()) + at;
    return quint16(p[0] | p[1] << 8);
}

// Checks a BMP file's headers before it is decoded: the size it announces must be within the
// limits, and an uncompressed bitmap must hold all of its rows (the image reader would show a
// cut-off bitmap with the missing rows blank).
void checkBmpHeaders(const QByteArray& b) {
    constexpr qsizetype fileHeader = 14;
    if (b.size() < fileHeader + 12 || b[0] != 'B' || b[1] != 'M') {
        fail(QStringLiteral("Los datos no son una imagen BMP."));
    }
    const quint32 pixelOffset = le32(b, 10);
    const quint32 infoSize = le32(b, 14);
    qint64 width = 0;
    qint64 height = 0;
    quint32 bitCount = 0;
    quint32 compression = 0;
    if (infoSize == 12) { // the old core header
        width = le16(b, 18);
        height = le16(b, 20);
        bitCount = le16(b, 24);
    } else if (infoSize >= 40 && b.size() >= fileHeader + 40) {
        width = qint32(le32(b, 18));
        height = qint32(le32(b, 22));
        bitCount = le16(b, 28);
        compression = le32(b, 30);
    } else {
        fail(QStringLiteral("La imagen BMP está dañada (cabecera incompleta)."));
    }
    if (height < 0) { // rows stored top-down
        height = -height;
    }
    if (width <= 0 || height <= 0) {
        fail(QStringLiteral("La imagen BMP está dañada (tamaño %1 × %2).").arg(width).arg(height));
    }
    if (width > Picture::maxPictureSide || height > Picture::maxPictureSide ||
        width * height > Picture::maxPicturePixels) {
        fail(QStringLiteral("La imagen BMP es demasiado grande (%1 × %2 píxeles).")
                 .arg(width)
                 .arg(height));
    }
    constexpr quint32 uncompressed = 0, bitFields = 3, alphaBitFields = 6;
    if (compression == uncompressed || compression == bitFields || compression == alphaBitFields) {
        const qint64 rowBytes = (width * bitCount + 31) / 32 * 4;
        if (qint64(pixelOffset) + rowBytes * height > b.size()) {
            fail(QStringLiteral("La imagen BMP está incompleta."));
        }
    }
}

QImage decodeBmp(const QByteArray& bytes) {
    checkBmpHeaders(bytes);
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    QImage image = reader.read();
    if (image.isNull()) {
        fail(QStringLiteral("La imagen BMP está dañada o no puede leerse (%1).")
                 .arg(reader.errorString()));
    }
    return image;
}

QByteArray encodeBmp(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "BMP")) {
        fail(QStringLiteral("No se pudo codificar la imagen BMP."));
    }
    return bytes;
}

} // namespace

Picture::Picture() = default;

Picture::Kind Picture::kindOfFileName(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("bmp")) {
        return Kind::Bitmap;
    }
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg")) {
        return Kind::Jpeg;
    }
    return Kind::Empty;
}

Picture::Kind Picture::kindOfData(const QByteArray& bytes) {
    if (bytes.startsWith("\xFF\xD8\xFF")) {
        return Kind::Jpeg;
    }
    if (bytes.startsWith("BM")) {
        return Kind::Bitmap;
    }
    return Kind::Empty;
}

Picture Picture::fromFile(const QString& path) {
    const Kind kind = kindOfFileName(path);
    if (kind == Kind::Empty) {
        fail(QStringLiteral("\"%1\" no es un fichero de imagen BMP ni JPEG.").arg(path));
    }
    QByteArray bytes;
    try {
        bytes = files::readWhole(path);
    } catch (const files::FileError& e) {
        fail(QStringLiteral("No se pudo abrir la imagen \"%1\": %2.").arg(path, e.reason()));
    }
    return fromBytes(bytes, kind);
}

Picture Picture::fromBytes(const QByteArray& bytes, Kind kind) {
    Picture p;
    switch (kind) {
    case Kind::Empty:
        if (!bytes.isEmpty()) {
            fail(QStringLiteral("Hay datos de imagen sin formato conocido."));
        }
        return p;
    case Kind::Bitmap:
        p.image_ = decodeBmp(bytes);
        break;
    case Kind::Jpeg:
        p.image_ = decodeJpeg(bytes, maxPicturePixels, maxPictureSide);
        break;
    }
    p.kind_ = kind;
    p.bytes_ = bytes;
    return p;
}

Picture Picture::fromData(const QByteArray& bytes) {
    if (bytes.isEmpty()) {
        return Picture();
    }
    const Kind kind = kindOfData(bytes);
    if (kind == Kind::Empty) {
        fail(QStringLiteral("Los datos no son una imagen BMP ni JPEG."));
    }
    return fromBytes(bytes, kind);
}

Picture Picture::fromImage(const QImage& image) {
    Picture p;
    if (image.isNull()) {
        return p;
    }
    p.kind_ = Kind::Bitmap;
    p.image_ = image;
    return p;
}

Picture Picture::jpegFromImage(const QImage& image, int quality) {
    if (image.isNull()) {
        return Picture();
    }
    // The pixels held are those the JPEG decodes to, as they would be after reading it back.
    return fromBytes(encodeJpeg(image, quality), Kind::Jpeg);
}

QByteArray Picture::bytes() const {
    if (kind_ == Kind::Bitmap && bytes_.isEmpty()) {
        bytes_ = encodeBmp(image_);
    }
    return bytes_;
}

Picture Picture::toBitmap() const {
    if (kind_ == Kind::Jpeg) {
        return fromImage(image_);
    }
    return *this;
}

void Picture::saveToFile(const QString& path) const {
    if (isEmpty()) {
        fail(QStringLiteral("No hay imagen que guardar en \"%1\".").arg(path));
    }
    const Kind wanted = kindOfFileName(path);
    QByteArray data;
    if (wanted == Kind::Bitmap && kind_ == Kind::Jpeg) {
        data = encodeBmp(image_);
    } else if (wanted == Kind::Jpeg && kind_ == Kind::Bitmap) {
        data = encodeJpeg(image_, 90);
    } else {
        data = bytes();
    }
    try {
        files::writeWhole(path, data);
    } catch (const files::FileError& e) {
        fail(QStringLiteral("No se pudo guardar la imagen \"%1\": %2.").arg(path, e.reason()));
    }
}

} // namespace picture
