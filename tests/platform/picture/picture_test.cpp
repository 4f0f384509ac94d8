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
    return Picture::jpegFromImage(quarters()).bytes();
}

QByteArray bmpBytes() {
    return Picture::fromImage(quarters()).bytes();
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
    const Picture p;
    EXPECT_TRUE(p.isEmpty());
    EXPECT_EQ(p.kind(), Picture::Kind::Empty);
    EXPECT_EQ(p.width(), 0);
    EXPECT_EQ(p.height(), 0);
    EXPECT_TRUE(p.image().isNull());
    EXPECT_TRUE(p.bytes().isEmpty());
    EXPECT_TRUE(p.toBitmap().isEmpty());
    EXPECT_TRUE(Picture::fromImage(QImage()).isEmpty());
    EXPECT_TRUE(Picture::jpegFromImage(QImage()).isEmpty());
    EXPECT_TRUE(Picture::fromBytes(QByteArray(), Picture::Kind::Empty).isEmpty());
    EXPECT_TRUE(Picture::fromData(QByteArray()).isEmpty());
    EXPECT_THROW(Picture::fromBytes("xyz", Picture::Kind::Empty), PictureError);
}

TEST(Picture, JpegEncodeDecode) {
    const Picture p = Picture::jpegFromImage(quarters());
    EXPECT_EQ(p.kind(), Picture::Kind::Jpeg);
    EXPECT_EQ(p.width(), 32);
    EXPECT_EQ(p.height(), 24);
    ASSERT_TRUE(p.bytes().startsWith("\xFF\xD8\xFF"));
    expectQuarters(p.image());
    const Picture again = Picture::fromBytes(p.bytes(), Picture::Kind::Jpeg);
    expectQuarters(again.image());
}

TEST(Picture, JpegQualityChangesTheEncoding) {
    const QByteArray low = Picture::jpegFromImage(quarters(64, 64), 10).bytes();
    const QByteArray high = Picture::jpegFromImage(quarters(64, 64), 100).bytes();
    EXPECT_LT(low.size(), high.size());
    // Out-of-range qualities are clamped, not refused.
    EXPECT_EQ(Picture::jpegFromImage(quarters(), 0).bytes(),
              Picture::jpegFromImage(quarters(), 1).bytes());
    EXPECT_EQ(Picture::jpegFromImage(quarters(), 500).bytes(),
              Picture::jpegFromImage(quarters(), 100).bytes());
}

TEST(Picture, JpegOfTransparentPixelsIsWhite) {
    QImage image(8, 8, QImage::Format_ARGB32);
    image.fill(qRgba(0, 0, 0, 0));
    const Picture p = Picture::jpegFromImage(image);
    EXPECT_TRUE(near(p.image().pixel(3, 3), qRgb(255, 255, 255), 4));
}

// A JPEG keeps its own bytes: reading, asking for its bytes and saving it change nothing, even
// bytes that a re-encoding would lose (a comment, data after the end marker).
TEST(Picture, JpegBytesKeptByteForByte) {
    QByteArray original = jpegBytes();
    // A COM segment right after SOI, and trailing bytes after EOI.
    original.insert(2, QByteArray("\xFF\xFE\x00\x07hola", 9));
    original.append("trailer");
    const Picture p = Picture::fromBytes(original, Picture::Kind::Jpeg);
    EXPECT_EQ(p.bytes(), original);
    expectQuarters(p.image());

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("p.JPG");
    p.saveToFile(path);
    EXPECT_EQ(readAll(path), original);
    const Picture loaded = Picture::fromFile(path);
    EXPECT_EQ(loaded.kind(), Picture::Kind::Jpeg);
    EXPECT_EQ(loaded.bytes(), original);
    // A copy made by value shares, never alters, the bytes.
    const Picture copy = loaded;
    EXPECT_EQ(copy.bytes(), original);
}

TEST(Picture, GreyJpeg) {
    std::vector<unsigned char> grey(16 * 8);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 16; ++x) {
            grey[std::size_t(y * 16 + x)] = x < 8 ? 40 : 200;
        }
    }
    const Picture p = Picture::fromBytes(fixtures::greyJpeg(16, 8, grey), Picture::Kind::Jpeg);
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
    const Picture p = Picture::fromBytes(bytes, Picture::Kind::Jpeg);
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
    const Picture p = Picture::fromBytes(bytes, Picture::Kind::Jpeg);
    ASSERT_EQ(p.image().size(), QSize(32, 16));
    EXPECT_TRUE(near(p.image().pixel(3, 8), qRgb(230, 220, 20)));
    EXPECT_TRUE(near(p.image().pixel(28, 8), qRgb(10, 128, 128)));
    // A progressive image cut short has all its scans started but not finished.
    for (qsizetype length = 0; length < bytes.size(); length += 7) {
        EXPECT_THROW(Picture::fromBytes(bytes.left(length), Picture::Kind::Jpeg), PictureError)
            << "length " << length << " of " << bytes.size();
    }
}

TEST(Picture, BitmapRoundTripIsExact) {
    const Picture p = Picture::fromImage(quarters());
    EXPECT_EQ(p.kind(), Picture::Kind::Bitmap);
    const QByteArray bytes = p.bytes();
    ASSERT_TRUE(bytes.startsWith("BM"));
    const Picture back = Picture::fromBytes(bytes, Picture::Kind::Bitmap);
    EXPECT_EQ(back.image().convertToFormat(QImage::Format_RGB32), quarters());
    // Bytes read are the bytes kept.
    EXPECT_EQ(back.bytes(), bytes);
}

TEST(Picture, ToBitmapKeepsThePixels) {
    const Picture jpeg = Picture::jpegFromImage(quarters());
    const Picture bitmap = jpeg.toBitmap();
    EXPECT_EQ(bitmap.kind(), Picture::Kind::Bitmap);
    EXPECT_EQ(bitmap.image(), jpeg.image());
    const Picture reread = Picture::fromBytes(bitmap.bytes(), Picture::Kind::Bitmap);
    EXPECT_EQ(reread.image().convertToFormat(QImage::Format_RGB32),
              jpeg.image().convertToFormat(QImage::Format_RGB32));
    const Picture same = bitmap.toBitmap();
    EXPECT_EQ(same.bytes(), bitmap.bytes());
}

TEST(Picture, KindFromData) {
    EXPECT_EQ(Picture::kindOfData(jpegBytes()), Picture::Kind::Jpeg);
    EXPECT_EQ(Picture::kindOfData(bmpBytes()), Picture::Kind::Bitmap);
    EXPECT_EQ(Picture::kindOfData("GIF89a"), Picture::Kind::Empty);
    EXPECT_EQ(Picture::fromData(jpegBytes()).kind(), Picture::Kind::Jpeg);
    EXPECT_EQ(Picture::fromData(bmpBytes()).kind(), Picture::Kind::Bitmap);
    EXPECT_THROW(Picture::fromData("GIF89a........"), PictureError);
}

TEST(Picture, FromFileByExtension) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    struct Case {
        const char* name;
        bool jpeg;
        Picture::Kind kind;
    };
    const Case cases[] = {
        {"a.bmp", false, Picture::Kind::Bitmap},    {"b.BMP", false, Picture::Kind::Bitmap},
        {"c.Bmp", false, Picture::Kind::Bitmap},    {"d.jpg", true, Picture::Kind::Jpeg},
        {"e.JPG", true, Picture::Kind::Jpeg},       {"f.jpeg", true, Picture::Kind::Jpeg},
        {"g.JPEG", true, Picture::Kind::Jpeg},      {"h.JpEg", true, Picture::Kind::Jpeg},
        {"dir.x/i.jpg", true, Picture::Kind::Jpeg},
    };
    QDir(dir.path()).mkdir("dir.x");
    for (const Case& c : cases) {
        const QString path = dir.filePath(c.name);
        writeAll(path, c.jpeg ? jpegBytes() : bmpBytes());
        const Picture p = Picture::fromFile(path);
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
        EXPECT_THROW(Picture::fromFile(dir.filePath(name)), PictureError) << name;
    }
    // A folder named like a picture.
    QDir(dir.path()).mkdir("folder.jpg");
    EXPECT_THROW(Picture::fromFile(dir.filePath("folder.jpg")), PictureError);
}

// Every prefix of a JPEG short of the whole is refused, whether the cut falls in the headers,
// the compressed data, or just before the end marker.
TEST(Picture, TruncatedJpegIsAnError) {
    const QByteArray full = jpegBytes();
    ASSERT_GT(full.size(), 100);
    for (qsizetype length = 0; length < full.size(); ++length) {
        EXPECT_THROW(Picture::fromBytes(full.left(length), Picture::Kind::Jpeg), PictureError)
            << "length " << length << " of " << full.size();
    }
    EXPECT_NO_THROW(Picture::fromBytes(full, Picture::Kind::Jpeg));
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
        EXPECT_THROW(Picture::fromBytes(bytes, Picture::Kind::Jpeg), PictureError)
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
                const Picture p = Picture::fromBytes(damaged, Picture::Kind::Jpeg);
                EXPECT_FALSE(p.image().isNull());
                EXPECT_GT(p.width(), 0);
            } catch (const PictureError&) {
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
        Picture::fromBytes(bytes, Picture::Kind::Jpeg);
        FAIL() << "a 60000 × 60000 JPEG was accepted";
    } catch (const PictureError& e) {
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
        EXPECT_THROW(Picture::fromBytes(bytes, Picture::Kind::Bitmap), PictureError)
            << "case " << i;
        ++i;
    }
}

TEST(Picture, SaveToFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const Picture bitmap = Picture::fromImage(quarters());
    bitmap.saveToFile(dir.filePath("b.bmp"));
    EXPECT_EQ(readAll(dir.filePath("b.bmp")), bitmap.bytes());

    // Saved under the other format's name, the file holds what its name says.
    const Picture jpeg = Picture::jpegFromImage(quarters());
    jpeg.saveToFile(dir.filePath("j.bmp"));
    const Picture jAsBmp = Picture::fromFile(dir.filePath("j.bmp"));
    EXPECT_EQ(jAsBmp.kind(), Picture::Kind::Bitmap);
    expectQuarters(jAsBmp.image());
    bitmap.saveToFile(dir.filePath("b.jpeg"));
    const Picture bAsJpeg = Picture::fromFile(dir.filePath("b.jpeg"));
    EXPECT_EQ(bAsJpeg.kind(), Picture::Kind::Jpeg);
    expectQuarters(bAsJpeg.image());

    // Overwriting replaces the whole file.
    writeAll(dir.filePath("over.jpg"), QByteArray(100000, 'z'));
    jpeg.saveToFile(dir.filePath("over.jpg"));
    EXPECT_EQ(readAll(dir.filePath("over.jpg")), jpeg.bytes());

    EXPECT_THROW(Picture().saveToFile(dir.filePath("e.bmp")), PictureError);
    EXPECT_FALSE(QFile::exists(dir.filePath("e.bmp")));
    EXPECT_THROW(jpeg.saveToFile(dir.filePath("no/such/folder/x.jpg")), PictureError);
}

} // namespace

TEST(PictureFiles, KindOfAChosenFileByItsLastFourCharacters) {
    const struct {
        const char* path;
        Picture::Kind kind;
    } cases[] = {
        {"/x/foto.jpg", Picture::Kind::Jpeg},
        {"/x/FOTO.JPEG", Picture::Kind::Jpeg},
        {"/x/fotojpeg", Picture::Kind::Jpeg},
        {"/x/a.BMP", Picture::Kind::Bitmap},
        {"/x/a.bmp.png", Picture::Kind::Empty},
        {"/x/a.jpg.txt", Picture::Kind::Empty},
        {"/x/fotobmp", Picture::Kind::Empty},
        {"bmp", Picture::Kind::Empty},
        {"", Picture::Kind::Empty},
        {"/x/a.jpe", Picture::Kind::Empty},
    };
    for (const auto& c : cases)
        EXPECT_EQ(picture::pictureKindOf(c.path), c.kind) << c.path;
}
