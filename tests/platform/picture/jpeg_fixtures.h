// Small JPEG images made with libjpeg directly, in the colour spaces the program's own encoder
// never writes (greyscale, CMYK), to check that the decoder reads them.
#pragma once

#include <QByteArray>

#include <vector>

namespace fixtures {

// A width × height JPEG with one component per pixel (grey values row by row).
QByteArray greyJpeg(int width, int height, const std::vector<unsigned char>& grey);
// A width × height CMYK JPEG (four bytes per pixel, stored as given: libjpeg marks CMYK files
// with an Adobe marker, whose convention is inverted values, 255 = no ink).
QByteArray cmykJpeg(int width, int height, const std::vector<unsigned char>& cmyk);

// A width × height progressive JPEG (three bytes R, G, B per pixel).
QByteArray progressiveJpeg(int width, int height, const std::vector<unsigned char>& rgb);

} // namespace fixtures
