#include "platform/picture/picture_files.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

namespace picture {

QStringList mainPictureNames() {
    return {QStringLiteral("Image.BMP"), QStringLiteral("Image.JPG"), QStringLiteral("Image.JPEG")};
}

Picture::Kind pictureKindOf(const QString& path) {
    const QString ending = path.right(4).toLower();
    if (ending == QLatin1String(".jpg") || ending == QLatin1String("jpeg"))
        return Picture::Kind::Jpeg;
    if (ending == QLatin1String(".bmp"))
        return Picture::Kind::Bitmap;
    return Picture::Kind::Empty;
}

namespace {

bool withinLimits(QSize size) {
    return size.width() > 0 && size.height() > 0 && size.width() <= Picture::maxPictureSide &&
           size.height() <= Picture::maxPictureSide &&
           qint64(size.width()) * size.height() <= Picture::maxPicturePixels;
}

} // namespace

Picture bitmapFromImage(const QImage& image) {
    if (image.isNull())
        throw PictureError(QStringLiteral("No hay imagen."));
    if (!withinLimits(image.size())) {
        throw PictureError(QStringLiteral("La imagen es demasiado grande (%1 × %2 píxeles).")
                               .arg(image.width())
                               .arg(image.height()));
    }
    QImage rgb(image.size(), QImage::Format_RGB32);
    if (rgb.isNull())
        throw PictureError(QStringLiteral("No hay memoria para la imagen."));
    rgb.fill(Qt::white);
    if (image.hasAlphaChannel()) {
        QPainter painter(&rgb);
        painter.drawImage(0, 0, image);
    } else {
        rgb = image.convertToFormat(QImage::Format_RGB32);
    }
    return Picture::fromImage(rgb);
}

namespace {

// The picture an image reader of another format reads, its size checked from the header before
// any pixel is decoded.
Picture readOtherFormat(QImageReader& reader, const QString& name) {
    if (!reader.canRead()) {
        throw PictureError(
            QStringLiteral("\"%1\" no es un fichero de imagen que pueda leerse.").arg(name));
    }
    if (!withinLimits(reader.size())) {
        throw PictureError(
            QStringLiteral("La imagen \"%1\" es demasiado grande o no dice su tamaño.").arg(name));
    }
    const QImage image = reader.read();
    if (image.isNull() || !withinLimits(image.size())) {
        throw PictureError(QStringLiteral("La imagen \"%1\" está dañada o no puede leerse (%2).")
                               .arg(name, reader.errorString()));
    }
    return bitmapFromImage(image);
}

} // namespace

Picture loadPictureFile(const QString& path) {
    if (Picture::kindOfFileName(path) != Picture::Kind::Empty)
        return Picture::fromFile(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw PictureError(
            QStringLiteral("No se pudo abrir la imagen \"%1\": %2.").arg(path, file.errorString()));
    }
    QImageReader reader(&file);
    return readOtherFormat(reader, QFileInfo(path).fileName());
}

Picture bitmapFromImageData(const QByteArray& bytes, const QString& name) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    return readOtherFormat(reader, name);
}

} // namespace picture
