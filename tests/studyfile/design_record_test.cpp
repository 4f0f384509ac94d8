#include "platform/files.h"
#include "streams/memory_stream.h"
#include "studyfile/creation.h"
#include "studyfile/design_record.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>

using namespace studyfile;

namespace {

DesignOptions options(bool qImg, bool aImg, bool longText, bool key, bool impo, int qSize,
                      int aSize, bool comp) {
    DesignOptions o;
    o.questionImage = qImg;
    o.answerImage = aImg;
    o.longAnswerText = longText;
    o.cardKey = key;
    o.importanceLevel = impo;
    o.questionSize = qSize;
    o.shortAnswerSize = aSize;
    o.compressed = comp;
    return o;
}

} // namespace

TEST(FlagsLine, WrittenAtItsOffsetsAndReadBack) {
    struct Case {
        DesignOptions options;
        const char* start; // the first 41 characters; the rest are spaces
    };
    const Case cases[] = {
        {options(false, false, false, true, false, 60, 100, false),
         "0 0 0 1 0   60 100  Cno Eno Msi EXsi IMsi"},
        // No short answer text: two spaces and 0; the long text is on.
        {options(false, false, true, true, false, 60, 0, false),
         "0 0 1 1 0   60   0  Cno Eno Msi EXsi IMsi"},
        {options(true, true, false, false, true, 7, 255, true),
         "1 1 0 0 1    7 255  Csi Eno Msi EXsi IMsi"},
        {options(false, true, true, false, false, 255, 30, false),
         "0 1 1 0 0  255  30  Cno Eno Msi EXsi IMsi"},
    };
    for (const Case& c : cases) {
        const QString line = flagsLine(c.options);
        EXPECT_EQ(line, QString(c.start).leftJustified(200, ' '));
        EXPECT_EQ(parseFlagsLine(line), c.options) << c.start;
    }
    DesignOptions locked = cases[0].options;
    locked.enciphered = true;
    locked.modifiable = false;
    locked.exportable = false;
    locked.printable = false;
    EXPECT_EQ(flagsLine(locked).left(41), "0 0 0 1 0   60 100  Cno Esi Mno EXno IMno");
    EXPECT_EQ(parseFlagsLine(flagsLine(locked)), locked);
}

TEST(FlagsLine, ReadersLookAtOneCharacterPerFlag) {
    // Only "1" and a lower-case "s" mean yes; the line may be as short as 41 characters.
    QString line(41, ' ');
    const auto set = [&](int offset, const char* text) {
        line.replace(offset, int(strlen(text)), text);
    };
    set(0, "1");
    set(2, "x");
    set(4, "0");
    set(6, "1");
    set(8, "I");
    set(11, " 60");
    set(15, "  0");
    set(20, "CSi");
    set(24, "Xsi");
    set(28, "Mno");
    set(32, "??s?");
    set(37, "IMs");
    ASSERT_EQ(line.size(), 41);
    const DesignOptions o = parseFlagsLine(line);
    EXPECT_TRUE(o.questionImage);
    EXPECT_FALSE(o.answerImage);
    EXPECT_FALSE(o.longAnswerText);
    EXPECT_TRUE(o.cardKey);
    EXPECT_FALSE(o.importanceLevel);
    EXPECT_EQ(o.questionSize, 60);
    EXPECT_EQ(o.shortAnswerSize, 0);
    EXPECT_FALSE(o.compressed); // "S" is not "s"
    EXPECT_TRUE(o.enciphered);
    EXPECT_FALSE(o.modifiable);
    EXPECT_TRUE(o.exportable);
    EXPECT_TRUE(o.printable);
}

TEST(FlagsLine, DamagedLinesAreRefused) {
    const QString good = flagsLine(DesignOptions{});
    const QString damaged[] = {
        good.left(40),
        QString(),
        QString(good).replace(11, 3, "6 0"), // a space after the first digit
        QString(good).replace(11, 3, "   "),
        QString(good).replace(15, 3, " -1"),
        QString(good).replace(15, 3, "1e2"),
    };
    for (const QString& line : damaged) {
        EXPECT_THROW(parseFlagsLine(line), DamagedRecord) << line.left(20).toStdString();
    }
    try {
        parseFlagsLine(good.left(10));
        FAIL();
    } catch (const DamagedRecord& e) {
        EXPECT_EQ(QString::fromStdString(e.what()), kDamagedMessage);
    }
}

TEST(DesignRecord, LinesAndDescription) {
    const QStringList description{"Vocabulario", "", "Autor/a: Ana"};
    const QStringList lines = designRecordLines(DesignOptions{}, description);
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[1], QString("Orbanel  vs. 2.0").leftJustified(240, ' '));
    EXPECT_EQ(lines[2], "");
    const DesignRecord r = parseDesignRecord(lines);
    EXPECT_EQ(r.version, "Orbanel  vs. 2.0");
    EXPECT_EQ(r.description, description);
    EXPECT_EQ(r.options, DesignOptions{});
    EXPECT_EQ(r.lines, lines);
    EXPECT_THROW(parseDesignRecord({}), DamagedRecord);
    EXPECT_EQ(descriptionTemplate().size(), 16);
}

TEST(DesignRecordFile, PlainAndEnciphered) {
    QTemporaryDir dir;
    const QStringList lines = designRecordLines(DesignOptions{}, {"ñandú"});
    const QString plain = dir.filePath("P.STU");
    writeDesignRecordFile(plain, lines, QString());
    EXPECT_EQ(files::readWhole(plain).left(2), "& ");
    EXPECT_FALSE(designRecordFileEnciphered(plain));
    EXPECT_EQ(readDesignRecordFile(plain, "ignored"), lines);

    const QString secret = dir.filePath("S.STU");
    writeDesignRecordFile(secret, lines, "clave");
    EXPECT_EQ(files::readWhole(secret).left(2), "&*");
    EXPECT_TRUE(designRecordFileEnciphered(secret));
    EXPECT_EQ(readDesignRecordFile(secret, "clave"), lines);
    for (const QString& wrong : {QString("Clave"), QString()}) {
        try {
            readDesignRecordFile(secret, wrong);
            FAIL();
        } catch (const DamagedRecord&) {
            FAIL() << "a wrong password is not a damaged record";
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(QString::fromStdString(e.what()), kWrongPasswordMessage);
        }
    }
    files::writeWhole(plain, "  not a container");
    EXPECT_THROW(readDesignRecordFile(plain, QString()), DamagedRecord);
    EXPECT_THROW(readDesignRecordFile(dir.filePath("none.STU"), QString()), files::FileError);
}

TEST(RememberedPassword, OpensOnlyWithItsVolumeKey) {
    QTemporaryDir dir;
    const QString cla = dir.filePath("F.CLA");
    files::writeWhole(cla, rememberedPasswordImage({"RichEdit3", "contraseña"}, "1234-ABCD"));
    EXPECT_EQ(files::readWhole(cla).left(2), "&*");
    EXPECT_EQ(readRememberedPasswordFile(cla, "1234-ABCD"),
              QStringList({"RichEdit3", "contraseña"}));
    EXPECT_ANY_THROW(readRememberedPasswordFile(cla, "1234-ABCE"));
}

TEST(OneLine, FoldsLineBreaksAndTheirSpaces) {
    EXPECT_EQ(oneLine(kNoAnswerKindMessage),
              "Debe seleccionar algún tipo de respuesta: Texto, Imagen o Texto Largo.");
    EXPECT_EQ(oneLine(kSizeTooSmallMessage),
              "El tamaño mínimo es 1. El valor que escriba debe ser igual o mayor.");
    EXPECT_EQ(oneLine("a\r\nb"), "a b");
}

TEST(Creation, SizeCheck) {
    struct Case {
        const char* text;
        QString message;
    };
    const Case cases[] = {
        {"", QString()},
        {"1", QString()},
        {"255", QString()},
        {"007", QString()},
        {"0", kSizeTooSmallMessage},
        {"000", kSizeTooSmallMessage},
        {"256", kSizeTooLargeMessage},
        {"99999999999999999999", kSizeTooLargeMessage},
        {"12a", kOnlyDigitsMessage},
        {" 12", kOnlyDigitsMessage},
        {"-1", kOnlyDigitsMessage},
    };
    for (const Case& c : cases)
        EXPECT_EQ(sizeCheckMessage(c.text), c.message) << c.text;
    EXPECT_EQ(readSizeText("7"), 7);
    EXPECT_THROW(readSizeText(""), std::runtime_error);
    EXPECT_THROW(readSizeText("x"), std::runtime_error);
    EXPECT_THROW(readSizeText("0"), CreationRefused);
}

TEST(Creation, ChecksInOrderBeforeAnythingIsWritten) {
    QTemporaryDir dir;
    const auto refusal = [&](CreationRequest r) {
        try {
            createStudyFile(r);
        } catch (const CreationRefused& e) {
            return e.text();
        }
        return QString("created");
    };
    CreationRequest r;
    r.datFolder = dir.path();
    r.options.shortAnswerSize = 0; // no answer kind at all
    EXPECT_EQ(refusal(r), kNoAnswerKindMessage);
    r.options.answerImage = true;
    EXPECT_EQ(refusal(r), kNoNameMessage);
    r.name = "a/b";
    EXPECT_EQ(refusal(r), kSlashInNameMessage);
    r.name = "N";
    r.options.questionSize = 0;
    EXPECT_EQ(refusal(r), kSizeTooSmallMessage);
    r.options.questionSize = 256;
    EXPECT_EQ(refusal(r), kSizeTooLargeMessage);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    r.options.questionSize = 60;
    files::writeWhole(dir.filePath("n.Px"), "x");
    EXPECT_EQ(refusal(r), kAlreadyExistsMessage);
    QFile::remove(dir.filePath("n.Px"));

    // The name as typed, spaces included; a picture from a .jpeg file is saved as N.JPG.
    r.name = " Mi curso ";
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::red);
    r.picture = picture::Picture::jpegFromImage(image);
    r.pictureKind = "JPG";
    EXPECT_EQ(refusal(r), "created");
    EXPECT_TRUE(QFile::exists(dir.filePath(" Mi curso .STU")));
    EXPECT_TRUE(QFile::exists(dir.filePath(" Mi curso .DB")));
    EXPECT_EQ(files::readWhole(dir.filePath(" Mi curso .JPG")), r.picture.bytes());
    r.name = "B";
    r.picture = picture::Picture::fromImage(image);
    r.pictureKind = "BMP";
    EXPECT_EQ(refusal(r), "created");
    EXPECT_EQ(picture::Picture::kindOfData(files::readWhole(dir.filePath("B.BMP"))),
              picture::Picture::Kind::Bitmap);
}
