// Feeds arbitrary bytes to the picture decoders: as a bitmap, as a JPEG image, and as a file of
// another image format (GIF and the others Qt reads; not PNG, see below) taken through "Disco",
// its size checked from its header first. Each ends in PictureError or in a picture within the
// picture limits.

#include "platform/picture/picture.h"
#include "platform/picture/picture_files.h"

#include <QByteArray>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

namespace {

void check(const picture::Picture& p) {
    using picture::Picture;
    if (p.width() > Picture::maxPictureSide || p.height() > Picture::maxPictureSide ||
        qint64(p.width()) * p.height() > Picture::maxPicturePixels) {
        std::fprintf(stderr, "picture beyond the limits: %d x %d\n", p.width(), p.height());
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const picture::Picture::Kind kind :
         {picture::Picture::Kind::Bitmap, picture::Picture::Kind::Jpeg}) {
        try {
            check(picture::Picture::fromBytes(bytes, kind));
        } catch (const picture::PictureError&) {
        }
    }
    // PNG data is left to libpng's own fuzzing: a mutated chunk length makes it allocate and free
    // a buffer of hundreds of megabytes, which takes seconds under the address sanitizer and
    // trips the time limit of a run; the checks of ours around every format are the same.
    if (bytes.startsWith("\x89PNG"))
        return 0;
    try {
        const picture::Picture p = picture::bitmapFromImageData(bytes, QStringLiteral("fuzz"));
        check(p);
        // A bitmap taken in is stored as BMP bytes that read back at the same size.
        const picture::Picture again =
            picture::Picture::fromBytes(p.bytes(), picture::Picture::Kind::Bitmap);
        if (again.width() != p.width() || again.height() != p.height()) {
            std::fprintf(stderr, "stored bitmap reads back at another size\n");
            std::abort();
        }
    } catch (const picture::PictureError&) {
    }
    return 0;
}
