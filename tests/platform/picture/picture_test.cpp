#include "jpeg_fixtures.h"
#include "platform/picture/picture.h"
#include "platform/picture/picture_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// A picture with distinct colours in each quarter, so that decoding, orientation and channel
// order all show in the pixels.
QImage quarters(int w = 32, int h = 24) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const bool right = x >= w / 2, bottom = y >= h / 2;
            QRgb c = !right && !bottom  ? qRgb(220, 30, 30)    // red
                     : right && !bottom ? qRgb(30, 200, 40)    // green
                     : !right && bottom ? qRgb(30, 40, 210)    // blue
                                        : qRgb(240, 240, 240); // white
            image.setPixel(x, y, c);
        }
    }
    return image;
}

// Colours of a lossy picture are compared with a tolerance per channel.
::testing::AssertionResult near(QRgb actual, QRgb expected, int tolerance = 12) {
    const int dr = std::abs(qRed(actual) - qRed(expected));
    const int dg = std::abs(qGreen(actual) - qGreen(expected));
    const int db = std::abs(qBlue(actual) - qBlue(expected));
    if (dr <= tolerance && dg <= tolerance && db <= tolerance) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "got " << qRed(actual) << "," << qGreen(actual) << "," << qBlue(actual)
           << " expected " << qRed(expected) << "," << qGreen(expected) << "," << qBlue(expected);
}

void expectQuarters(const QImage& image) {
    ASSERT_EQ(image.size(), QSize(32, 24));
    EXPECT_TRUE(near(image.pixel(4, 4), qRgb(220, 30, 30)));
    EXPECT_TRUE(near(image.pixel(27, 4), qRgb(30, 200, 40)));
    EXPECT_TRUE(near(image.pixel(4, 19), qRgb(30, 40, 210)));
    EXPECT_TRUE(near(image.pixel(27, 19), qRgb(240, 240, 240)));
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QByteArray jpegBytes() {
    return picture::Picture::jpegFromImage(quarters()).bytes();
}

QByteArray bmpBytes() {
    return picture::Picture::fromImage(quarters()).bytes();
}

// The position of the start-of-frame segment (FF C0 baseline or FF C2 progressive).
qsizetype frameMarker(const QByteArray& jpeg) {
    for (qsizetype i = 2; i + 9 < jpeg.size(); ++i) {
        if (uchar(jpeg[i]) == 0xFF && (uchar(jpeg[i + 1]) == 0xC0 || uchar(jpeg[i + 1]) == 0xC2)) {
            return i;
        }
    }
    return -1;
}

TEST(Picture, EmptyPicture) {
    const picture::Picture p;
    EXPECT_TRUE(p.isEmpty());
    EXPECT_EQ(p.kind(), picture::Picture::Kind::Empty);
    EXPECT_EQ(p.width(), 0);
    EXPECT_EQ(p.height(), 0);
    EXPECT_TRUE(p.image().isNull());
    EXPECT_TRUE(p.bytes().isEmpty());
    EXPECT_TRUE(p.toBitmap().isEmpty());
    EXPECT_TRUE(picture::Picture::fromImage(QImage()).isEmpty());
    EXPECT_TRUE(picture::Picture::jpegFromImage(QImage()).isEmpty());
    EXPECT_TRUE(picture::Picture::fromBytes(QByteArray(), picture::Picture::Kind::Empty).isEmpty());
    EXPECT_TRUE(picture::Picture::fromData(QByteArray()).isEmpty());
    EXPECT_THROW(picture::Picture::fromBytes("xyz", picture::Picture::Kind::Empty),
                 picture::PictureError);
}

TEST(Picture, JpegEncodeDecode) {
    const picture::Picture p = picture::Picture::jpegFromImage(quarters());
    EXPECT_EQ(p.kind(), picture::Picture::Kind::Jpeg);
    EXPECT_EQ(p.width(), 32);
    EXPECT_EQ(p.height(), 24);
    ASSERT_TRUE(p.bytes().startsWith("\xFF\xD8\xFF"));
    expectQuarters(p.image());
    const picture::Picture again =
        picture::Picture::fromBytes(p.bytes(), picture::Picture::Kind::Jpeg);
    expectQuarters(again.image());
}

TEST(Picture, JpegQualityChangesTheEncoding) {
    const QByteArray low = picture::Picture::jpegFromImage(quarters(64, 64), 10).bytes();
    const QByteArray high = picture::Picture::jpegFromImage(quarters(64, 64), 100).bytes();
    EXPECT_LT(low.size(), high.size());
    // Out-of-range qualities are clamped, not refused.
    EXPECT_EQ(picture::Picture::jpegFromImage(quarters(), 0).bytes(),
              picture::Picture::jpegFromImage(quarters(), 1).bytes());
    EXPECT_EQ(picture::Picture::jpegFromImage(quarters(), 500).bytes(),
              picture::Picture::jpegFromImage(quarters(), 100).bytes());
}

TEST(Picture, JpegOfTransparentPixelsIsWhite) {
    QImage image(8, 8, QImage::Format_ARGB32);
    image.fill(qRgba(0, 0, 0, 0));
    const picture::Picture p = picture::Picture::jpegFromImage(image);
    EXPECT_TRUE(near(p.image().pixel(3, 3), qRgb(255, 255, 255), 4));
}

// A JPEG keeps its own bytes: reading, asking for its bytes and saving it change nothing, even
// bytes that a re-encoding would lose (a comment, data after the end marker).
TEST(Picture, JpegBytesKeptByteForByte) {
    QByteArray original = jpegBytes();
    // A COM segment right after SOI, and trailing bytes after EOI.
    original.insert(2, QByteArray("\xFF\xFE\x00\x07hola", 9));
    original.append("trailer");
    const picture::Picture p = picture::Picture::fromBytes(original, picture::Picture::Kind::Jpeg);
    EXPECT_EQ(p.bytes(), original);
    expectQuarters(p.image());

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("p.JPG");
    p.saveToFile(path);
    EXPECT_EQ(readAll(path), original);
    const picture::Picture loaded = picture::Picture::fromFile(path);
    EXPECT_EQ(loaded.kind(), picture::Picture::Kind::Jpeg);
    EXPECT_EQ(loaded.bytes(), original);
    // A copy made by value shares, never alters, the bytes.
    const picture::Picture copy = loaded;
    EXPECT_EQ(copy.bytes(), original);
}

TEST(Picture, GreyJpeg) {
    std::vector<unsigned char> grey(16 * 8);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 16; ++x) {
            grey[std::size_t(y * 16 + x)] = x < 8 ? 40 : 200;
        }
    }
    const picture::Picture p =
        picture::Picture::fromBytes(fixtures::greyJpeg(16, 8, grey), picture::Picture::Kind::Jpeg);
    ASSERT_EQ(p.image().size(), QSize(16, 8));
    EXPECT_TRUE(near(p.image().pixel(2, 3), qRgb(40, 40, 40), 6));
    EXPECT_TRUE(near(p.image().pixel(13, 3), qRgb(200, 200, 200), 6));
}

TEST(Picture, CmykJpeg) {
    // Inverted CMYK (255 = no ink): left half full magenta and yellow (red), right half only a
    // light black (grey 128).
    std::vector<unsigned char> cmyk;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 16; ++x) {
            if (x < 8) {
                cmyk.insert(cmyk.end(), {255, 0, 0, 255});
            } else {
                cmyk.insert(cmyk.end(), {255, 255, 255, 128});
            }
        }
    }
    const QByteArray bytes = fixtures::cmykJpeg(16, 8, cmyk);
    const picture::Picture p = picture::Picture::fromBytes(bytes, picture::Picture::Kind::Jpeg);
    ASSERT_EQ(p.image().size(), QSize(16, 8));
    EXPECT_TRUE(near(p.image().pixel(2, 3), qRgb(255, 0, 0)));
    EXPECT_TRUE(near(p.image().pixel(13, 3), qRgb(128, 128, 128)));
    EXPECT_EQ(p.bytes(), bytes);
}

TEST(Picture, ProgressiveJpeg) {
    // Left half yellow, right half teal.
    std::vector<unsigned char> rgb;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 32; ++x) {
            if (x < 16) {
                rgb.insert(rgb.end(), {230, 220, 20});
            } else {
                rgb.insert(rgb.end(), {10, 128, 128});
            }
        }
    }
    const QByteArray bytes = fixtures::progressiveJpeg(32, 16, rgb);
    ASSERT_EQ(frameMarker(bytes) > 0 && uchar(bytes[frameMarker(bytes) + 1]) == 0xC2, true);
    const picture::Picture p = picture::Picture::fromBytes(bytes, picture::Picture::Kind::Jpeg);
    ASSERT_EQ(p.image().size(), QSize(32, 16));
    EXPECT_TRUE(near(p.image().pixel(3, 8), qRgb(230, 220, 20)));
    EXPECT_TRUE(near(p.image().pixel(28, 8), qRgb(10, 128, 128)));
    // A progressive image cut short has all its scans started but not finished.
    for (qsizetype length = 0; length < bytes.size(); length += 7) {
        EXPECT_THROW(picture::Picture::fromBytes(bytes.left(length), picture::Picture::Kind::Jpeg),
                     picture::PictureError)
            << "length " << length << " of " << bytes.size();
    }
}

TEST(Picture, BitmapRoundTripIsExact) {
    const picture::Picture p = picture::Picture::fromImage(quarters());
    EXPECT_EQ(p.kind(), picture::Picture::Kind::Bitmap);
    const QByteArray bytes = p.bytes();
    ASSERT_TRUE(bytes.startsWith("BM"));
    const picture::Picture back =
        picture::Picture::fromBytes(bytes, picture::Picture::Kind::Bitmap);
    EXPECT_EQ(back.image().convertToFormat(QImage::Format_RGB32), quarters());
    // Bytes read are the bytes kept.
    EXPECT_EQ(back.bytes(), bytes);
}

TEST(Picture, ToBitmapKeepsThePixels) {
    const picture::Picture jpeg = picture::Picture::jpegFromImage(quarters());
    const picture::Picture bitmap = jpeg.toBitmap();
    EXPECT_EQ(bitmap.kind(), picture::Picture::Kind::Bitmap);
    EXPECT_EQ(bitmap.image(), jpeg.image());
    const picture::Picture reread =
        picture::Picture::fromBytes(bitmap.bytes(), picture::Picture::Kind::Bitmap);
    EXPECT_EQ(reread.image().convertToFormat(QImage::Format_RGB32),
              jpeg.image().convertToFormat(QImage::Format_RGB32));
    const picture::Picture same = bitmap.toBitmap();
    EXPECT_EQ(same.bytes(), bitmap.bytes());
}

TEST(Picture, KindFromData) {
    EXPECT_EQ(picture::Picture::kindOfData(jpegBytes()), picture::Picture::Kind::Jpeg);
    EXPECT_EQ(picture::Picture::kindOfData(bmpBytes()), picture::Picture::Kind::Bitmap);
    EXPECT_EQ(picture::Picture::kindOfData("GIF89a"), picture::Picture::Kind::Empty);
    EXPECT_EQ(picture::Picture::fromData(jpegBytes()).kind(), picture::Picture::Kind::Jpeg);
    EXPECT_EQ(picture::Picture::fromData(bmpBytes()).kind(), picture::Picture::Kind::Bitmap);
    EXPECT_THROW(picture::Picture::fromData("GIF89a........"), picture::PictureError);
}

TEST(Picture, FromFileByExtension) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    struct Case {
        const char* name;
        bool jpeg;
        picture::Picture::Kind kind;
    };
    const Case cases[] = {
        {"a.bmp", false, picture::Picture::Kind::Bitmap},
        {"b.BMP", false, picture::Picture::Kind::Bitmap},
        {"c.Bmp", false, picture::Picture::Kind::Bitmap},
        {"d.jpg", true, picture::Picture::Kind::Jpeg},
        {"e.JPG", true, picture::Picture::Kind::Jpeg},
        {"f.jpeg", true, picture::Picture::Kind::Jpeg},
        {"g.JPEG", true, picture::Picture::Kind::Jpeg},
        {"h.JpEg", true, picture::Picture::Kind::Jpeg},
        {"dir.x/i.jpg", true, picture::Picture::Kind::Jpeg},
    };
    QDir(dir.path()).mkdir("dir.x");
    for (const Case& c : cases) {
        const QString path = dir.filePath(c.name);
        writeAll(path, c.jpeg ? jpegBytes() : bmpBytes());
        const picture::Picture p = picture::Picture::fromFile(path);
        EXPECT_EQ(p.kind(), c.kind) << c.name;
        expectQuarters(p.image());
    }
}

TEST(Picture, FromFileFailures) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    writeAll(dir.filePath("x.png"), bmpBytes());
    writeAll(dir.filePath("noext"), jpegBytes());
    writeAll(dir.filePath("jpeg.bmp"), jpegBytes()); // content does not match the name
    writeAll(dir.filePath("bmp.jpg"), bmpBytes());
    writeAll(dir.filePath("empty.jpg"), QByteArray());
    writeAll(dir.filePath("empty.bmp"), QByteArray());
    for (const char* name :
         {"x.png", "noext", "jpeg.bmp", "bmp.jpg", "empty.jpg", "empty.bmp", "missing.jpg"}) {
        EXPECT_THROW(picture::Picture::fromFile(dir.filePath(name)), picture::PictureError) << name;
    }
    // A folder named like a picture.
    QDir(dir.path()).mkdir("folder.jpg");
    EXPECT_THROW(picture::Picture::fromFile(dir.filePath("folder.jpg")), picture::PictureError);
}

// Every prefix of a JPEG short of the whole is refused, whether the cut falls in the headers,
// the compressed data, or just before the end marker.
TEST(Picture, TruncatedJpegIsAnError) {
    const QByteArray full = jpegBytes();
    ASSERT_GT(full.size(), 100);
    for (qsizetype length = 0; length < full.size(); ++length) {
        EXPECT_THROW(picture::Picture::fromBytes(full.left(length), picture::Picture::Kind::Jpeg),
                     picture::PictureError)
            << "length " << length << " of " << full.size();
    }
    EXPECT_NO_THROW(picture::Picture::fromBytes(full, picture::Picture::Kind::Jpeg));
}

TEST(Picture, GarbageJpegIsAnError) {
    QByteArray random(4000, '\0');
    std::srand(7);
    for (char& c : random) {
        c = char(std::rand() & 0xFF);
    }
    const QByteArray cases[] = {
        QByteArray("not a picture at all"),
        random,
        QByteArray("\xFF\xD8\xFF", 3) + random,
        QByteArray("\xFF\xD8", 2),
        QByteArray("\xFF\xD8\xFF\xD9", 4), // start and end, no image between
        bmpBytes(),
    };
    for (const QByteArray& bytes : cases) {
        EXPECT_THROW(picture::Picture::fromBytes(bytes, picture::Picture::Kind::Jpeg),
                     picture::PictureError)
            << bytes.left(8).toHex().toStdString();
    }
}

// Damage anywhere in a JPEG either still decodes to a picture of the announced size or raises
// PictureError; it never ends the program.
TEST(Picture, DamagedJpegNeverCrashes) {
    const QByteArray full = jpegBytes();
    int refused = 0;
    for (qsizetype at = 0; at < full.size(); ++at) {
        for (const char value : {'\x00', '\xFF', '\x7F'}) {
            QByteArray damaged = full;
            damaged[at] = value;
            try {
                const picture::Picture p =
                    picture::Picture::fromBytes(damaged, picture::Picture::Kind::Jpeg);
                EXPECT_FALSE(p.image().isNull());
                EXPECT_GT(p.width(), 0);
            } catch (const picture::PictureError&) {
                ++refused;
            }
        }
    }
    EXPECT_GT(refused, 0);
}

TEST(Picture, HugeJpegRefusedBeforeDecoding) {
    QByteArray bytes = jpegBytes();
    const qsizetype sof = frameMarker(bytes);
    ASSERT_GT(sof, 0);
    // Height and width follow the marker, its length and the sample precision: 60000 × 60000.
    bytes[sof + 5] = char(0xEA);
    bytes[sof + 6] = char(0x60);
    bytes[sof + 7] = char(0xEA);
    bytes[sof + 8] = char(0x60);
    try {
        picture::Picture::fromBytes(bytes, picture::Picture::Kind::Jpeg);
        FAIL() << "a 60000 × 60000 JPEG was accepted";
    } catch (const picture::PictureError& e) {
        EXPECT_NE(std::string(e.what()).find("grande"), std::string::npos) << e.what();
    }
}

TEST(Picture, DamagedBitmapIsAnError) {
    const QByteArray full = bmpBytes();
    QByteArray hugeSize = full;
    hugeSize[18] = char(0xFF); // width 0x7FFF00FF-ish
    hugeSize[21] = char(0x7F);
    QByteArray zeroWidth = full;
    zeroWidth[18] = zeroWidth[19] = zeroWidth[20] = zeroWidth[21] = 0;
    QByteArray badDepth = full;
    badDepth[28] = 7;
    QByteArray offsetPastEnd = full;
    offsetPastEnd[12] = char(0x7F);
    const QByteArray cases[] = {
        QByteArray(),
        QByteArray("BM"),
        full.left(14 + 20),         // cut inside the info header
        full.left(54),              // headers without pixels
        full.left(full.size() / 2), // half the rows
        full.left(full.size() - 1), // one byte short
        QByteArray("BM") + QByteArray(200, 'x'),
        jpegBytes(),
        hugeSize,
        zeroWidth,
        badDepth,
        offsetPastEnd,
    };
    int i = 0;
    for (const QByteArray& bytes : cases) {
        EXPECT_THROW(picture::Picture::fromBytes(bytes, picture::Picture::Kind::Bitmap),
                     picture::PictureError)
            << "case " << i;
        ++i;
    }
}

TEST(Picture, SaveToFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const picture::Picture bitmap = picture::Picture::fromImage(quarters());
    bitmap.saveToFile(dir.filePath("b.bmp"));
    EXPECT_EQ(readAll(dir.filePath("b.bmp")), bitmap.bytes());

    // Saved under the other format's name, the file holds what its name says.
    const picture::Picture jpeg = picture::Picture::jpegFromImage(quarters());
    jpeg.saveToFile(dir.filePath("j.bmp"));
    const picture::Picture jAsBmp = picture::Picture::fromFile(dir.filePath("j.bmp"));
    EXPECT_EQ(jAsBmp.kind(), picture::Picture::Kind::Bitmap);
    expectQuarters(jAsBmp.image());
    bitmap.saveToFile(dir.filePath("b.jpeg"));
    const picture::Picture bAsJpeg = picture::Picture::fromFile(dir.filePath("b.jpeg"));
    EXPECT_EQ(bAsJpeg.kind(), picture::Picture::Kind::Jpeg);
    expectQuarters(bAsJpeg.image());

    // Overwriting replaces the whole file.
    writeAll(dir.filePath("over.jpg"), QByteArray(100000, 'z'));
    jpeg.saveToFile(dir.filePath("over.jpg"));
    EXPECT_EQ(readAll(dir.filePath("over.jpg")), jpeg.bytes());

    EXPECT_THROW(picture::Picture().saveToFile(dir.filePath("e.bmp")), picture::PictureError);
    EXPECT_FALSE(QFile::exists(dir.filePath("e.bmp")));
    EXPECT_THROW(jpeg.saveToFile(dir.filePath("no/such/folder/x.jpg")), picture::PictureError);
}

} // namespace

TEST(PictureFiles, KindOfAChosenFileByItsLastFourCharacters) {
    const struct {
        const char* path;
        picture::Picture::Kind kind;
    } cases[] = {
        {"/x/foto.jpg", picture::Picture::Kind::Jpeg},
        {"/x/FOTO.JPEG", picture::Picture::Kind::Jpeg},
        {"/x/fotojpeg", picture::Picture::Kind::Jpeg},
        {"/x/a.BMP", picture::Picture::Kind::Bitmap},
        {"/x/a.bmp.png", picture::Picture::Kind::Empty},
        {"/x/a.jpg.txt", picture::Picture::Kind::Empty},
        {"/x/fotobmp", picture::Picture::Kind::Empty},
        {"bmp", picture::Picture::Kind::Empty},
        {"", picture::Picture::Kind::Empty},
        {"/x/a.jpe", picture::Picture::Kind::Empty},
    };
    for (const auto& c : cases)
        EXPECT_EQ(picture::pictureKindOf(c.path), c.kind) << c.path;
}
