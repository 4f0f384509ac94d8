#include "platform/files.h"
#include "platform/rtf/rtf.h"
#include "platform/table/table.h"
#include "streams/corrupt_file.h"
#include "streams/memory_stream.h"
#include "streams/qx_streams.h"
#include "studyfile/card_content.h"
#include "studyfile/card_table.h"
#include "studyfile/font_style.h"

#include <QImage>
#include <QTemporaryDir>
#include <QTextBlock>

#include <gtest/gtest.h>

using namespace studyfile;

TEST(PackingState, WritersSetTheStateAndTheChangeFlags) {
    struct Case {
        const char* old;
        bool packed;
        const char* state;
        bool packedToPlain, plainToPacked;
    };
    const Case cases[] = {
        {"", true, "S", false, false}, // a new card
        {"", false, "N", false, false},
        {"N", true, "S", false, true},
        {"S", false, "N", true, false},
        {"S", true, "S", false, false},
        {"N", false, "N", false, false},
        {"SXX", false, "N", true, false}, // only the first character counts
        {"x", true, "S", false, false},
    };
    for (const Case& c : cases) {
        const PackingStateChange ch = packingStateFor(c.old, c.packed);
        EXPECT_EQ(ch.state, c.state) << c.old << c.packed;
        EXPECT_EQ(ch.packedToPlain, c.packedToPlain) << c.old << c.packed;
        EXPECT_EQ(ch.plainToPacked, c.plainToPacked) << c.old << c.packed;
    }
    EXPECT_TRUE(cardIsPacked("S", true));
    EXPECT_FALSE(cardIsPacked("S", false));
    EXPECT_FALSE(cardIsPacked("N", true));
    EXPECT_EQ(packingLabel("S", true), "Ficha Usa QXS: S");
    EXPECT_EQ(packingLabel("S", false), "Ficha Usa QXS: N");
}

TEST(PackedContent, RoundTripsInEveryForm) {
    const QByteArray plain = shortAnswerBytes("Respuesta con ñ y €");
    for (bool comp : {false, true}) {
        for (bool enc : {false, true}) {
            DesignOptions d;
            d.compressed = comp;
            d.enciphered = enc;
            streams::TQXStreams writer;
            configureContentContainer(writer, d, "clave");
            const QByteArray packed = packContent(writer, plain);
            EXPECT_EQ(packed[0], comp ? '&' : ' ');
            EXPECT_EQ(packed[1], enc ? '*' : ' ');
            // A reader's container takes the marks from the data.
            streams::TQXStreams reader;
            configureContentContainer(reader, DesignOptions{}, QString());
            reader.Key = "clave";
            EXPECT_EQ(unpackContent(reader, packed), plain);
            EXPECT_EQ(reader.Compressed, comp);
            EXPECT_EQ(reader.Encrypted, enc);
            EXPECT_EQ(shortAnswerText(unpackContent(reader, packed)), "Respuesta con ñ y €");
            if (enc) {
                reader.Key = "otra";
                EXPECT_THROW(unpackContent(reader, packed), streams::CorruptFile);
            }
        }
    }
    EXPECT_EQ(shortAnswerText("plain text\r\nsecond"), "plain text");
    EXPECT_EQ(shortAnswerText(QByteArray()), "");
}

class CardViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        createCardTable(dir.filePath("C.DB"));
        cards.open(dir.path(), "C.DB");
        design.questionImage = true;
        design.answerImage = true;
        design.compressed = true;
        configureContentContainer(qxs, design, QString());
        qxs.OnCorrupt = [this](streams::TQXStreams&) { ++corrupt; };
        QImage image(5, 4, QImage::Format_RGB32);
        image.fill(Qt::blue);
        jpeg = picture::Picture::jpegFromImage(image);
        bitmap = picture::Picture::fromImage(image);
    }
    // Appends a card: fields given as they are stored.
    void append(const QString& state, const QByteArray& answer, const QString& qKind,
                const QByteArray& qBytes, const QString& aKind, const QByteArray& aBytes) {
        cards.append();
        cards.fieldByName("Nive_Fich").setInteger(1);
        cards.fieldByName("Ficha_Comp_Encr").setString(state);
        cards.fieldByName("Resp_Text").setBytes(answer);
        cards.fieldByName("Tipo_Preg_Imag").setString(qKind);
        cards.fieldByName("Preg_Imag").setBytes(qBytes);
        cards.fieldByName("Tipo_Resp_Imag").setString(aKind);
        cards.fieldByName("Resp_Imag").setBytes(aBytes);
        cards.post();
    }
    void load() { loadCardView(view, cards, qxs, design, design.packedContent()); }
    QByteArray pack(const QByteArray& plain) { return packContent(qxs, plain); }

    QTemporaryDir dir;
    table::Table cards;
    streams::TQXStreams qxs;
    DesignOptions design;
    CardView view;
    picture::Picture jpeg, bitmap;
    int corrupt = 0;
};

TEST_F(CardViewTest, PackedAndPlainCardsOfAPackingStudyFile) {
    append("S", pack(shortAnswerBytes("uno")), "JPG", pack(jpeg.bytes()), "BMP",
           pack(bitmap.bytes()));
    load();
    EXPECT_EQ(view.packingLabel, "Ficha Usa QXS: S");
    EXPECT_EQ(view.shortAnswer, "uno");
    EXPECT_EQ(view.questionPicture.bytes(), jpeg.bytes());
    EXPECT_EQ(view.answerPicture.kind(), picture::Picture::Kind::Bitmap);
    EXPECT_EQ(view.answerPictureNumber, 6);
    EXPECT_FALSE(view.damaged);

    // State "N" in a study file that packs: read plain. "NO" empties the answer picture.
    append("N", shortAnswerBytes("dos"), "BMP", bitmap.bytes(), "NO", QByteArray());
    load();
    EXPECT_EQ(view.packingLabel, "Ficha Usa QXS: N");
    EXPECT_EQ(view.shortAnswer, "dos");
    EXPECT_EQ(view.questionPicture.kind(), picture::Picture::Kind::Bitmap);
    EXPECT_TRUE(view.answerPicture.isEmpty());

    // An empty short answer with state "S" is not unpacked.
    append("S", QByteArray(), "", QByteArray(), "", QByteArray());
    load();
    EXPECT_EQ(view.shortAnswer, "");
    EXPECT_TRUE(view.questionPicture.isEmpty());
    EXPECT_EQ(corrupt, 0);
}

TEST_F(CardViewTest, DamagedContentAndUndecodablePictures) {
    append("S", pack(shortAnswerBytes("uno")), "JPG", pack(jpeg.bytes()), "BMP",
           pack(bitmap.bytes()));
    load();
    ASSERT_FALSE(view.questionPicture.isEmpty());

    // Damaged packed answer: one report, nothing of the card shown.
    append("S", "&  damaged", "JPG", pack(jpeg.bytes()), "BMP", pack(bitmap.bytes()));
    load();
    EXPECT_TRUE(view.damaged);
    EXPECT_EQ(corrupt, 1);
    EXPECT_EQ(view.shortAnswer, "");
    EXPECT_TRUE(view.questionPicture.isEmpty());
    EXPECT_TRUE(view.answerPicture.isEmpty());

    // A question picture that unpacks but cannot be decoded: no report, and the answer picture
    // still loads.
    append("S", pack(shortAnswerBytes("tres")), "JPG", pack("not a jpeg"), "BMP",
           pack(bitmap.bytes()));
    load();
    EXPECT_FALSE(view.damaged);
    EXPECT_EQ(corrupt, 1);
    EXPECT_EQ(view.shortAnswer, "tres");
    EXPECT_TRUE(view.questionPicture.isEmpty());
    EXPECT_EQ(view.answerPicture.kind(), picture::Picture::Kind::Bitmap);

    // A damaged packed question picture is reported; the answer picture still loads.
    append("S", pack(shortAnswerBytes("tres")), "JPG", "  broken", "BMP", pack(bitmap.bytes()));
    load();
    EXPECT_TRUE(view.damaged);
    EXPECT_EQ(corrupt, 2);
    EXPECT_TRUE(view.questionPicture.isEmpty());
    EXPECT_EQ(view.answerPicture.kind(), picture::Picture::Kind::Bitmap);

    // A damaged packed answer picture is reported; the question picture is shown.
    append("S", pack(shortAnswerBytes("cuatro")), "BMP", pack(bitmap.bytes()), "JPG", "  broken");
    load();
    EXPECT_TRUE(view.damaged);
    EXPECT_EQ(corrupt, 3);
    EXPECT_EQ(view.shortAnswer, "cuatro");
    EXPECT_FALSE(view.questionPicture.isEmpty());
    EXPECT_TRUE(view.answerPicture.isEmpty());
}

TEST_F(CardViewTest, LongAnswerAndDesignWithoutShortText) {
    design.shortAnswerSize = 0;
    design.longAnswerText = true;
    design.answerImage = false;
    const QByteArray memo = files::readWhole(ORBANEL_TEST_FIXTURES "/studyfile/long-answer.rtf");
    append("S", pack(shortAnswerBytes("ignored")), "", QByteArray(), "", QByteArray());
    cards.edit();
    cards.fieldByName("Resp_Memo").setBytes(pack(memo));
    cards.post();
    load();
    EXPECT_EQ(view.shortAnswer, "");
    EXPECT_EQ(view.answerPictureNumber, 0);
    ASSERT_EQ(view.longAnswer.blockCount(), 2);
    EXPECT_EQ(view.longAnswer.firstBlock().text(), "Respuesta larga: camión");
    EXPECT_EQ(view.longAnswer.lastBlock().text(), "segunda línea");
    design.answerImage = true;
    load();
    EXPECT_EQ(view.answerPictureNumber, 5);
}

TEST(FontStyle, DefaultFileAndRoundTrip) {
    const FontStyle d = defaultFontStyle();
    EXPECT_EQ(d.font.family(), "Tahoma");
    EXPECT_TRUE(d.font.bold());
    EXPECT_EQ(d.font.pixelSize(), 19);
    EXPECT_EQ(d.colour, QColor(0, 0, 128));

    const FontStyle read =
        readFontStyle(files::readWhole(ORBANEL_TEST_FIXTURES "/studyfile/font-style.stl"));
    EXPECT_EQ(read.font.family(), "Arial");
    EXPECT_FALSE(read.font.bold());
    EXPECT_TRUE(read.font.italic());
    EXPECT_DOUBLE_EQ(read.font.pointSizeF(), 16.0);
    EXPECT_EQ(read.colour, QColor(255, 0, 0));

    FontStyle s;
    s.font = QFont("Liberation Serif");
    s.font.setPointSize(22);
    s.font.setUnderline(true);
    s.colour = QColor(0, 128, 0);
    const FontStyle back = readFontStyle(writeFontStyle(s));
    EXPECT_EQ(back.font.family(), "Liberation Serif");
    EXPECT_DOUBLE_EQ(back.font.pointSizeF(), 22.0);
    EXPECT_FALSE(back.font.bold());
    EXPECT_TRUE(back.font.underline());
    EXPECT_EQ(back.colour, QColor(0, 128, 0));

    // The style is that of the second character.
    const QByteArray mixed =
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}}\\f0 a\\f1\\i bc\\par}";
    EXPECT_EQ(readFontStyle(mixed).font.family(), "Courier New");
    EXPECT_TRUE(readFontStyle(mixed).font.italic());
    // Nothing to read: the default style.
    EXPECT_EQ(readFontStyle(QByteArray()), d);
}
