#include "viewers/picture_fit.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

int wholePart(double value) {
    return static_cast<int>(std::trunc(value));
}

} // namespace

QRect AdaptaImagen(int boxWidth, int boxHeight, int boxLeft, int boxTop, int pictureWidth,
                   int pictureHeight) {
    // Negative sides make no sense and would divide by zero below (a 0-wide picture "wider"
    // than a negative box).
    const int W = std::max(boxWidth, 0);
    const int H = std::max(boxHeight, 0);
    double pw = std::max(pictureWidth, 0);
    double ph = std::max(pictureHeight, 0);
    int width = wholePart(pw);
    int height = wholePart(ph);
    if (!(pw <= W && ph <= H)) {
        if (pw > W) {
            const double r = W / pw;
            pw = std::trunc(pw * r);
            ph = std::trunc(ph * r);
            width = wholePart(pw);
            height = wholePart(ph);
        }
        // The second step starts from the size the first one left.
        if (ph > H) {
            const double r = H / ph;
            ph = std::trunc(ph * r);
            pw = std::trunc(pw * r);
            height = wholePart(ph);
            width = wholePart(pw);
        }
    }
    const int left = boxLeft + wholePart((W - width) / 2.0);
    const int top = boxTop + wholePart((H - height) / 2.0);
    return QRect(left, top, width, height);
}

FitBox fitBoxForPicture(int pictureNumber) {
    // Pictures 1 to 3 share the main screen's box; the others sit in their screens' frames.
    static constexpr FitBox boxes[] = {
        {352, 15, 608, 437}, // 1 main screen, page 1
        {352, 15, 608, 437}, // 2 main screen, page 2
        {352, 15, 608, 437}, // 3 main screen, page 3
        {8, 101, 981, 333},  // 4 review, question
        {498, 99, 489, 333}, // 5 review, answer beside a long answer
        {2, 99, 972, 333},   // 6 review, answer alone
        {4, 20, 509, 185},   // 7 card editor, question
        {4, 20, 439, 243},   // 8 card editor, answer
        {4, 22, 445, 243},   // 9 information screen
        {6, 22, 397, 245},   // 10 creation screen
    };
    if (pictureNumber < 1 || pictureNumber > 10) {
        throw UnknownPictureNumber("no fit box for picture number " +
                                   std::to_string(pictureNumber));
    }
    return boxes[pictureNumber - 1];
}

int sizeSourceForPicture(int pictureNumber) {
    if (pictureNumber == picture_number::mainPage2 || pictureNumber == picture_number::mainPage3) {
        return picture_number::mainPage1;
    }
    return pictureNumber;
}
