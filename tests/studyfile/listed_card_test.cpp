// The writer of listed cards (group entry rows, text import lines): every field it writes, and
// what it leaves.
#include "platform/rtf/rtf.h"
#include "platform/table/table.h"
#include "streams/qx_streams.h"
#include "studyfile/card_content.h"
#include "studyfile/card_table.h"
#include "studyfile/font_style.h"
#include "studyfile/listed_card.h"

#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace studyfile;

namespace {

class ListedCardTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        createCardTable(dir.filePath("C.DB"));
        cards.open(dir.path(), "C.DB");
        cards.setFiltered(false);
    }

    // Writes and posts one card; the table is then on it.
    void write(const ListedCard& card, const DesignOptions& design,
               const FontStyle& style = defaultFontStyle()) {
        configureContentContainer(qxs, design, design.enciphered ? "clave" : "");
        cards.append();
        writeListedCard(cards, qxs, design, design.packedContent(), card, "20240305", style);
        cards.post();
        ASSERT_TRUE(cards.locateKey(cards.lastPostedKey()));
    }
    table::Field f(const char* name) { return cards.fieldByName(name); }
    QByteArray plain(const char* name) {
        const QByteArray stored = f(name).asBytes();
        return f("Ficha_Comp_Encr").asString() == "S" ? unpackContent(qxs, stored) : stored;
    }

    QTemporaryDir dir;
    table::Table cards;
    streams::TQXStreams qxs;
};

DesignOptions keyAndImportance() {
    DesignOptions d;
    d.cardKey = true;
    d.importanceLevel = true;
    d.shortAnswerSize = 10;
    return d;
}

} // namespace

TEST_F(ListedCardTest, ShortCardFields) {
    ListedCard c;
    c.level = 3;
    c.importance = -5;
    c.cardKey = "tema1";
    c.question = "  ¿pregunta? ";
    c.answer = "una respuesta más larga que diez";
    write(c, keyAndImportance());
    EXPECT_EQ(f("Nive_Fich").asInteger(), 3);
    EXPECT_EQ(f("Nive_Impo").asInteger(), -5);
    EXPECT_EQ(f("Clav_Fich").asString(), "tema1");
    EXPECT_EQ(f("Preg_Text").asString(), "  ¿pregunta? ");
    EXPECT_EQ(f("Fech_Crea").asString(), "20240305");
    EXPECT_TRUE(f("Fech_Ulti_Repa").isNull());
    EXPECT_TRUE(f("Fech_Prox_Repa").isNull()) << "due at once";
    EXPECT_EQ(f("Total_Repa").asInteger(), 0);
    EXPECT_FALSE(f("Total_Repa").isNull());
    EXPECT_EQ(f("Ficha_Comp_Encr").asString(), "N");
    // The short answer is stored whole, as Guarda_Texto_Corto_Respuesta stores it.
    EXPECT_EQ(f("Resp_Text").asBytes(), shortAnswerBytes(c.answer));
    EXPECT_TRUE(f("Resp_Memo").isNull());
    EXPECT_TRUE(f("Tipo_Preg_Imag").isNull());
    EXPECT_TRUE(f("Preg_Imag").isNull());
}

TEST_F(ListedCardTest, NoImportanceGivenLeavesItBlank) {
    ListedCard c;
    c.question = "q";
    write(c, keyAndImportance());
    EXPECT_TRUE(f("Nive_Impo").isNull());
    EXPECT_TRUE(f("Clav_Fich").isNull());
    EXPECT_EQ(f("Nive_Fich").asInteger(), 1);
}

TEST_F(ListedCardTest, UnusedKeyAndImportance) {
    DesignOptions d;
    d.cardKey = false;
    d.importanceLevel = false;
    ListedCard c;
    c.question = "q";
    c.importance = 7;
    c.cardKey = "tema";
    write(c, d);
    EXPECT_EQ(f("Nive_Impo").asInteger(), 0);
    EXPECT_FALSE(f("Nive_Impo").isNull());
    EXPECT_TRUE(f("Clav_Fich").isNull());
}

TEST_F(ListedCardTest, NoShortAnswerTextStoresNoAnswer) {
    DesignOptions d;
    d.shortAnswerSize = 0;
    ListedCard c;
    c.question = "q";
    c.answer = "a";
    write(c, d);
    EXPECT_TRUE(f("Resp_Text").isNull());
    EXPECT_TRUE(f("Resp_Memo").isNull());
}

TEST_F(ListedCardTest, LongAnswerIsOneParagraphInTheFontStyle) {
    DesignOptions d;
    d.longAnswerText = true;
    d.shortAnswerSize = 100; // a record with both: the answer goes to the long answer alone
    d.compressed = true;
    d.enciphered = true;
    FontStyle style;
    style.font = QFont("Liberation Serif");
    style.font.setPixelSize(23);
    style.font.setItalic(true);
    style.font.setBold(false);
    style.colour = QColor(128, 0, 0);
    ListedCard c;
    c.question = "q";
    c.answer = " la respuesta\r\nlarga";
    write(c, d, style);
    EXPECT_EQ(f("Ficha_Comp_Encr").asString(), "S");
    EXPECT_TRUE(f("Resp_Text").isNull());
    const QByteArray memo = plain("Resp_Memo");
    ASSERT_TRUE(rtf::isRtf(memo));
    EXPECT_EQ(rtf::readLines(memo), QStringList{" la respuesta larga"});
    QTextDocument doc;
    rtf::readDocument(memo, doc);
    ASSERT_EQ(doc.blockCount(), 1);
    QTextCursor cursor(&doc);
    cursor.setPosition(3);
    const QTextCharFormat format = cursor.charFormat();
    EXPECT_EQ(format.font().family(), "Liberation Serif");
    EXPECT_TRUE(format.fontItalic());
    EXPECT_LT(format.fontWeight(), QFont::DemiBold);
    EXPECT_EQ(format.foreground().color(), QColor(128, 0, 0));
    // The size as RTF keeps it, in half points.
    const QFont font = format.font();
    const double pixels = font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * 96.0 / 72.0;
    EXPECT_NEAR(pixels, 23, 1);
}

TEST_F(ListedCardTest, RawLongAnswerAndPictureBytesAsGiven) {
    DesignOptions d;
    d.longAnswerText = true;
    d.shortAnswerSize = 0;
    d.questionImage = true;
    d.answerImage = false;
    d.compressed = true;
    ListedCard c;
    c.question = "q";
    c.answer = "no se usa";
    c.longAnswerRtf = rtf::writeLines({"de un archivo"});
    c.questionPicture = ListedPicture{QByteArray("BM not decoded here"), "BMP"};
    c.answerPicture = ListedPicture{QByteArray("\xFF\xD8\xFF"), "JPG"};
    write(c, d);
    EXPECT_EQ(plain("Resp_Memo"), *c.longAnswerRtf);
    EXPECT_EQ(f("Tipo_Preg_Imag").asString(), "BMP");
    EXPECT_EQ(plain("Preg_Imag"), QByteArray("BM not decoded here"));
    // The design has no answer picture: nothing of it is written.
    EXPECT_TRUE(f("Tipo_Resp_Imag").isNull());
    EXPECT_TRUE(f("Resp_Imag").isNull());
}
