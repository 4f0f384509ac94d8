#include "platform/picture/jpeg_codec.h"

#include "platform/picture/picture.h"

#include <QtGlobal>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
// jpeglib.h needs size_t and FILE declared before it.
#include <jerror.h>
#include <jpeglib.h>

namespace picture {
namespace {

// RGB32 pixels are 0xffRRGGBB words; these libjpeg layouts put the bytes in that order.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
constexpr J_COLOR_SPACE kRgb32Space = JCS_EXT_BGRA;
#else
constexpr J_COLOR_SPACE kRgb32Space = JCS_EXT_ARGB;
#endif

// The error manager: libjpeg calls error_exit for a fatal error and must not get control back,
// so we jump to the setjmp point of the codec function that called into the library. The codec
// functions that call setjmp hold only trivially destructible locals, so the jump skips no
// destructor.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void onFatalError(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

// Warnings about data that ends too early mean a truncated or damaged picture: libjpeg would
// fill the missing part with grey and carry on, we refuse the picture instead. Other warnings
// (stray bytes between markers and the like) leave a usable picture and are only counted.
// Trace messages are dropped: nothing is ever printed.
void onMessage(j_common_ptr cinfo, int level) {
    if (level >= 0) {
        return;
    }
    const int code = cinfo->err->msg_code;
    if (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER) {
        onFatalError(cinfo);
    }
    ++cinfo->err->num_warnings;
}

void installErrorManager(ErrorManager& err) {
    jpeg_std_error(&err.pub);
    err.pub.error_exit = onFatalError;
    err.pub.emit_message = onMessage;
    err.message[0] = '\0';
}

struct Decoder {
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    bool cmyk;
};

// Reads the header and chooses the output layout. Returns false on a libjpeg error.
bool readHeader(Decoder& d, const unsigned char* data, unsigned long size) {
    if (setjmp(d.err.jump)) {
        return false;
    }
    jpeg_create_decompress(&d.cinfo);
    jpeg_mem_src(&d.cinfo, data, size);
    jpeg_read_header(&d.cinfo, TRUE);
    d.cmyk = d.cinfo.jpeg_color_space == JCS_CMYK || d.cinfo.jpeg_color_space == JCS_YCCK;
    d.cinfo.out_color_space = d.cmyk ? JCS_CMYK : kRgb32Space;
    jpeg_calc_output_dimensions(&d.cinfo);
    return true;
}

// Four-channel CMYK as libjpeg delivers it: files with an Adobe marker hold inverted values
// (0 = full ink), others plain ones.
void cmykToRgb32(const JSAMPLE* in, quint32* out, unsigned width, bool inverted) {
    for (unsigned x = 0; x < width; ++x, in += 4) {
        unsigned c = in[0], m = in[1], y = in[2], k = in[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        out[x] = 0xff000000u | ((c * k / 255) << 16) | ((m * k / 255) << 8) | (y * k / 255);
    }
}

// Decodes every scanline into bits (rows of bytesPerLine bytes). Returns false on an error.
bool readPixels(Decoder& d, unsigned char* bits, qsizetype bytesPerLine) {
    if (setjmp(d.err.jump)) {
        return false;
    }
    jpeg_start_decompress(&d.cinfo);
    JSAMPARRAY cmykRow = nullptr;
    if (d.cmyk) {
        cmykRow = (*d.cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&d.cinfo),
                                               JPOOL_IMAGE, d.cinfo.output_width * 4, 1);
    }
    while (d.cinfo.output_scanline < d.cinfo.output_height) {
        unsigned char* line = bits + qsizetype(d.cinfo.output_scanline) * bytesPerLine;
        if (d.cmyk) {
            if (jpeg_read_scanlines(&d.cinfo, cmykRow, 1) != 1) {
                ERREXIT(&d.cinfo, JERR_INPUT_EOF);
            }
            cmykToRgb32(cmykRow[0], reinterpret_cast<quint32*>(line), d.cinfo.output_width,
                        d.cinfo.saw_Adobe_marker);
        } else {
            JSAMPROW row = line;
            if (jpeg_read_scanlines(&d.cinfo, &row, 1) != 1) {
                ERREXIT(&d.cinfo, JERR_INPUT_EOF);
            }
        }
    }
    jpeg_finish_decompress(&d.cinfo);
    return true;
}

[[noreturn]] void fail(const char* what, const ErrorManager& err) {
    throw PictureError(QStringLiteral("La imagen JPEG está dañada o no puede leerse (%1: %2).")
                           .arg(QString::fromLatin1(what), QString::fromLocal8Bit(err.message)));
}

struct Encoder {
    jpeg_compress_struct cinfo;
    ErrorManager err;
    unsigned char* out;
    unsigned long outSize;
};

bool writeJpeg(Encoder& e, const QImage& rgb32, int quality) {
    if (setjmp(e.err.jump)) {
        return false;
    }
    jpeg_create_compress(&e.cinfo);
    jpeg_mem_dest(&e.cinfo, &e.out, &e.outSize);
    e.cinfo.image_width = JDIMENSION(rgb32.width());
    e.cinfo.image_height = JDIMENSION(rgb32.height());
    e.cinfo.input_components = 4;
    e.cinfo.in_color_space = kRgb32Space;
    jpeg_set_defaults(&e.cinfo);
    jpeg_set_quality(&e.cinfo, quality, TRUE);
    jpeg_start_compress(&e.cinfo, TRUE);
    while (e.cinfo.next_scanline < e.cinfo.image_height) {
        // libjpeg only reads the rows it is given.
        JSAMPROW row = const_cast<JSAMPLE*>(rgb32.constScanLine(int(e.cinfo.next_scanline)));
        jpeg_write_scanlines(&e.cinfo, &row, 1);
    }
    jpeg_finish_compress(&e.cinfo);
    return true;
}

} // namespace

QImage decodeJpeg(const QByteArray& bytes, qint64 maxPixels, int maxSide) {
    if (bytes.isEmpty()) {
        throw PictureError("La imagen JPEG está vacía.");
    }
    Decoder d;
    std::memset(&d, 0, sizeof d);
    d.cinfo.err = &d.err.pub;
    installErrorManager(d.err);
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    if (!readHeader(d, data, static_cast<unsigned long>(bytes.size()))) {
        jpeg_destroy_decompress(&d.cinfo);
        fail("cabecera", d.err);
    }
    const qint64 w = d.cinfo.output_width;
    const qint64 h = d.cinfo.output_height;
    if (w <= 0 || h <= 0 || w > maxSide || h > maxSide || w * h > maxPixels) {
        jpeg_destroy_decompress(&d.cinfo);
        throw PictureError(
            QStringLiteral("La imagen JPEG es demasiado grande (%1 × %2 píxeles).").arg(w).arg(h));
    }
    QImage image(int(w), int(h), QImage::Format_RGB32);
    if (image.isNull()) {
        jpeg_destroy_decompress(&d.cinfo);
        throw PictureError("No hay memoria suficiente para la imagen JPEG.");
    }
    const bool ok = readPixels(d, image.bits(), image.bytesPerLine());
    jpeg_destroy_decompress(&d.cinfo);
    if (!ok) {
        fail("datos", d.err);
    }
    return image;
}

QByteArray encodeJpeg(const QImage& image, int quality) {
    if (image.isNull()) {
        throw PictureError("No hay imagen que guardar como JPEG.");
    }
    QImage rgb32;
    if (image.hasAlphaChannel()) {
        // Transparent parts become white, as they show on a white page.
        rgb32 = QImage(image.size(), QImage::Format_RGB32);
        rgb32.fill(Qt::white);
        const QImage argb = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        for (int y = 0; y < argb.height(); ++y) {
            const auto* src = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
            auto* dst = reinterpret_cast<QRgb*>(rgb32.scanLine(y));
            for (int x = 0; x < argb.width(); ++x) {
                const QRgb p = src[x];
                const int a = 255 - qAlpha(p);
                dst[x] = qRgb(qRed(p) + a, qGreen(p) + a, qBlue(p) + a);
            }
        }
    } else {
        rgb32 = image.convertToFormat(QImage::Format_RGB32);
    }
    if (rgb32.isNull()) {
        throw PictureError("No hay memoria suficiente para codificar la imagen JPEG.");
    }
    Encoder e;
    std::memset(&e, 0, sizeof e);
    e.cinfo.err = &e.err.pub;
    installErrorManager(e.err);
    const bool ok = writeJpeg(e, rgb32, qBound(1, quality, 100));
    jpeg_destroy_compress(&e.cinfo);
    QByteArray result;
    if (ok && e.out) {
        result = QByteArray(reinterpret_cast<const char*>(e.out), qsizetype(e.outSize));
    }
    std::free(e.out);
    if (!ok) {
        throw PictureError(QStringLiteral("No se pudo codificar la imagen JPEG (%1).")
                               .arg(QString::fromLocal8Bit(e.err.message)));
    }
    return result;
}

} // namespace picture
