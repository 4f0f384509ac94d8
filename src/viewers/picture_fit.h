// Placing a picture in its box: a picture larger than the box shrinks proportionally, a smaller
// one keeps its size, and the result is centred in the box.
#pragma once

#include "platform/error.h"

#include <QRect>

// A picture number the program does not have: a programming error, never the user's.
class UnknownPictureNumber : public platform::Error {
public:
    using Error::Error;
};

struct FitBox {
    int left, top, width, height;
};

// The fitting arithmetic: the geometry (left, top, width, height) that a picture of
// pictureWidth × pictureHeight pixels takes in the box. An empty picture (0 × 0) gets size 0 × 0
// at the centre of the box. All arithmetic is in double precision and every whole part is cut
// towards zero, so a scaled side can come out one pixel short of the box. A box or picture with a
// negative side is treated as having a side of 0.
QRect AdaptaImagen(int boxWidth, int boxHeight, int boxLeft, int boxTop, int pictureWidth,
                   int pictureHeight);

// The numbers of the program's pictures, as Prepara_Imagen knows them.
namespace picture_number {
constexpr int mainPage1 = 1;
constexpr int mainPage2 = 2;
constexpr int mainPage3 = 3;
constexpr int reviewQuestion = 4;
constexpr int reviewAnswerBesideText = 5;
constexpr int reviewAnswerAlone = 6;
constexpr int editorQuestion = 7;
constexpr int editorAnswer = 8;
constexpr int information = 9;
constexpr int creation = 10;
constexpr int imageZoom = 11;
} // namespace picture_number

// The fit box of picture numbers 1..10, in pixels of the picture's parent area (number 11, the
// image zoom, uses the zoom window's own box). Throws UnknownPictureNumber for any other number.
FitBox fitBoxForPicture(int pictureNumber);

// The picture whose size is fitted when placing picture pictureNumber: the pictures of main
// pages 2 and 3 take the size of the page 1 picture, every other picture its own.
int sizeSourceForPicture(int pictureNumber);
