#include "platform/picture/picture_files.h"

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

} // namespace picture
