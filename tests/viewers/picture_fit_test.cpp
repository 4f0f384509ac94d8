#include "viewers/picture_fit.h"

#include <gtest/gtest.h>

namespace {

struct FitCase {
    const char* what;
    int W, H, L, T; // box
    int pw, ph;     // picture
    int left, top, width, height;
};

TEST(AdaptaImagen, TableOfCases) {
    const FitCase cases[] = {
        // Too wide (981 × 735 after the first step), then still too tall: 444 × 333.
        {"1200x900 in review box", 981, 333, 8, 101, 1200, 900, 276, 101, 444, 333},
        {"smaller keeps its size, centred", 981, 333, 8, 101, 100, 50, 448, 242, 100, 50},
        {"exact fit", 981, 333, 8, 101, 981, 333, 8, 101, 981, 333},
        {"empty picture at the centre", 981, 333, 8, 101, 0, 0, 498, 267, 0, 0},
        {"empty picture, odd box", 445, 243, 4, 22, 0, 0, 226, 143, 0, 0},
        // Only too tall: scaled by height alone, 500 × 0.333 = 166.5 -> 166.
        {"too tall only", 981, 333, 8, 101, 500, 1000, 415, 101, 166, 333},
        // Only too wide: 2000 × 100 -> 981 × 49 (49.05).
        {"too wide only", 981, 333, 8, 101, 2000, 100, 8, 243, 981, 49},
        // 1101 × (981 / 1101) is 980.999... in double precision: one pixel short of the box.
        {"product just below a whole number", 981, 333, 8, 101, 1101, 100, 8, 223, 980, 89},
        // Same width as the box but taller: one step by height.
        {"as wide, taller", 608, 437, 352, 15, 608, 874, 504, 15, 304, 437},
        // The second step works from the size the first one left: 3000 × 3000 -> 439 × 439 ->
        // 243 × 243.
        {"square in wide box", 439, 243, 4, 20, 3000, 3000, 102, 20, 243, 243},
        {"one pixel too wide", 397, 245, 6, 22, 398, 100, 6, 95, 397, 99},
        {"zero-sized box", 0, 0, 10, 20, 50, 40, 10, 20, 0, 0},
        {"negative box is a zero box", -5, -5, 10, 20, 50, 40, 10, 20, 0, 0},
        {"negative box, empty picture", -5, 10, 10, 20, 0, 0, 10, 25, 0, 0},
    };
    for (const FitCase& c : cases) {
        const QRect r = AdaptaImagen(c.W, c.H, c.L, c.T, c.pw, c.ph);
        EXPECT_EQ(r.left(), c.left) << c.what;
        EXPECT_EQ(r.top(), c.top) << c.what;
        EXPECT_EQ(r.width(), c.width) << c.what;
        EXPECT_EQ(r.height(), c.height) << c.what;
    }
}

TEST(AdaptaImagen, ResultAlwaysInsideTheBox) {
    for (int pw = 0; pw <= 1300; pw += 37) {
        for (int ph = 0; ph <= 1300; ph += 41) {
            const QRect r = AdaptaImagen(489, 333, 498, 99, pw, ph);
            EXPECT_GE(r.left(), 498);
            EXPECT_GE(r.top(), 99);
            EXPECT_LE(r.left() + r.width(), 498 + 489) << pw << "x" << ph;
            EXPECT_LE(r.top() + r.height(), 99 + 333) << pw << "x" << ph;
            if (pw <= 489 && ph <= 333) {
                EXPECT_EQ(r.size(), QSize(pw, ph));
            }
        }
    }
}

TEST(FitBox, PictureNumbers) {
    struct Row {
        int number;
        FitBox box;
    };
    const Row rows[] = {
        {1, {352, 15, 608, 437}}, {2, {352, 15, 608, 437}}, {3, {352, 15, 608, 437}},
        {4, {8, 101, 981, 333}},  {5, {498, 99, 489, 333}}, {6, {2, 99, 972, 333}},
        {7, {4, 20, 509, 185}},   {8, {4, 20, 439, 243}},   {9, {4, 22, 445, 243}},
        {10, {6, 22, 397, 245}},
    };
    for (const Row& row : rows) {
        const FitBox b = fitBoxForPicture(row.number);
        EXPECT_EQ(b.left, row.box.left) << row.number;
        EXPECT_EQ(b.top, row.box.top) << row.number;
        EXPECT_EQ(b.width, row.box.width) << row.number;
        EXPECT_EQ(b.height, row.box.height) << row.number;
    }
    for (int bad : {0, 11, -1, 12}) {
        EXPECT_THROW(fitBoxForPicture(bad), UnknownPictureNumber) << bad;
    }
}

TEST(FitBox, SizeSource) {
    EXPECT_EQ(sizeSourceForPicture(1), 1);
    EXPECT_EQ(sizeSourceForPicture(2), 1);
    EXPECT_EQ(sizeSourceForPicture(3), 1);
    for (int n = 4; n <= 11; ++n) {
        EXPECT_EQ(sizeSourceForPicture(n), n);
    }
}

} // namespace
