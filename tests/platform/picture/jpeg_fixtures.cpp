#include "jpeg_fixtures.h"

#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

namespace fixtures {
namespace {

QByteArray encodeRaw(int width, int height, int components, J_COLOR_SPACE space,
                     const std::vector<unsigned char>& samples, bool progressive = false) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = components;
    cinfo.in_color_space = space;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    if (progressive) {
        jpeg_simple_progression(&cinfo);
    }
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<unsigned char*>(samples.data()) +
                       std::size_t(cinfo.next_scanline) * std::size_t(width * components);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    QByteArray bytes(reinterpret_cast<const char*>(out), qsizetype(size));
    std::free(out);
    return bytes;
}

} // namespace

QByteArray greyJpeg(int width, int height, const std::vector<unsigned char>& grey) {
    return encodeRaw(width, height, 1, JCS_GRAYSCALE, grey);
}

QByteArray cmykJpeg(int width, int height, const std::vector<unsigned char>& cmyk) {
    return encodeRaw(width, height, 4, JCS_CMYK, cmyk);
}

QByteArray progressiveJpeg(int width, int height, const std::vector<unsigned char>& rgb) {
    return encodeRaw(width, height, 3, JCS_RGB, rgb, true);
}

} // namespace fixtures
