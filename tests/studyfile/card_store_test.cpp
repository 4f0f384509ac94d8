#include "platform/files.h"
#include "platform/rtf/rtf.h"
#include "platform/table/table.h"
#include "streams/qx_streams.h"
#include "studyfile/card_content.h"
#include "studyfile/card_store.h"
#include "studyfile/card_table.h"
#include "support/card_rows.h"

#include <QImage>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <gtest/gtest.h>

using namespace studyfile;

namespace {

class CardStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath("C.DB");
        createCardTable(path);
        cards.open(dir.path(), "C.DB");
        design.questionImage = true;
        design.answerImage = true;
        design.longAnswerText = true;
        design.shortAnswerSize = 0;
        design.cardKey = true;
        design.importanceLevel = true;
        design.compressed = true;
        design.enciphered = true;
        configureContentContainer(qxs, design, "clave");
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        jpeg = picture::Picture::jpegFromImage(image);
        bitmap = picture::Picture::fromImage(image);
        otherRtf = files::readWhole(ORBANEL_TEST_FIXTURES "/rtf/word-processor-1.rtf");
    }

    qint64 store(const CardEdit& edit, qint64 autoInc = 0) {
        return storeCard(cards, qxs, design, true, edit, autoInc, "20240305");
    }

    // A packed card with everything, the long answer written by another rich-text writer.
    qint64 fullCard(const QString& question, const QString& key = "verbos") {
        CardEdit e;
        e.question = question;
        e.cardKey = key;
        e.importance = 4;
        e.longAnswerRtf = otherRtf;
        e.questionPicture = jpeg;
        e.answerPicture = bitmap;
        return store(e);
    }

    // A card stored plain ("N") with the given question picture bytes.
    qint64 plainCard(const QByteArray& questionPicture) {
        cards.append();
        const auto f = [&](const char* n) { return cards.fieldByName(n); };
        f("Nive_Fich").setInteger(2);
        f("Nive_Impo").setInteger(3);
        f("Preg_Text").setString("plana");
        f("Clav_Fich").setString("verbos");
        f("Ficha_Comp_Encr").setString("N");
        f("Resp_Text").setBytes(shortAnswerBytes("corta"));
        f("Resp_Memo").setBytes(otherRtf);
        f("Tipo_Preg_Imag").setString("JPG");
        f("Preg_Imag").setBytes(questionPicture);
        f("Tipo_Resp_Imag").setString("BMP");
        f("Resp_Imag").setBytes(bitmap.bytes());
        cards.post();
        return cards.lastPostedKey();
    }

    // The edit the card editor makes when only the question text changes.
    CardEdit questionOnly(qint64 key, const QString& question) {
        EXPECT_TRUE(cards.locateKey(key));
        CardEdit e;
        e.question = question;
        e.cardKey = cards.fieldByName("Clav_Fich").asString();
        e.importance = int(cards.fieldByName("Nive_Impo").asInteger());
        return e;
    }

    QByteArray unpacked(const card_rows::Row& row, const QString& field) {
        return unpackContent(qxs, row.at(field));
    }

    QTemporaryDir dir;
    QString path;
    table::Table cards;
    streams::TQXStreams qxs;
    DesignOptions design;
    picture::Picture jpeg, bitmap;
    QByteArray otherRtf;
};

TEST_F(CardStoreTest, ChangesKeepTheStoredBytesOfEveryPartLeftAlone) {
    const qint64 packed = fullCard("empaquetada");
    const qint64 plain = plainCard(jpeg.bytes());
    const qint64 undecodable = plainCard("not a jpeg");
    const qint64 other = fullCard("otra");

    struct Case {
        const char* name;
        qint64 card;
        std::function<CardEdit()> edit;
        std::set<QString> changed;
    };
    const std::set<QString> repacked = {"Preg_Text", "Ficha_Comp_Encr", "Resp_Text",
                                        "Resp_Memo", "Preg_Imag",       "Resp_Imag"};
    const Case cases[] = {
        {"question of a packed card",
         packed,
         [&] { return questionOnly(packed, "nueva"); },
         {"Preg_Text"}},
        {"question of a plain card", plain, [&] { return questionOnly(plain, "nueva"); }, repacked},
        {"plain card whose picture does not decode", undecodable,
         [&] { return questionOnly(undecodable, "nueva"); }, repacked},
        {"answer picture removed",
         packed,
         [&] {
             CardEdit e = questionOnly(packed, "nueva");
             e.answerPicture = picture::Picture();
             return e;
         },
         {"Tipo_Resp_Imag", "Resp_Imag"}},
        {"key and importance",
         other,
         [&] {
             CardEdit e = questionOnly(other, "otra");
             e.cardKey = "nombres";
             e.importance = 9;
             return e;
         },
         {"Clav_Fich", "Nive_Impo"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const card_rows::Rows before = card_rows::read(path);
        const CardEdit edit = c.edit();
        EXPECT_EQ(store(edit, c.card), c.card);
        const card_rows::Rows after = card_rows::read(path);
        EXPECT_EQ(card_rows::changedRows(before, after), std::set<qint64>{c.card});
        const card_rows::Row& was = before.at(c.card);
        const card_rows::Row& now = after.at(c.card);
        EXPECT_EQ(card_rows::changedFields(was, now), c.changed);
        if (c.changed == repacked) {
            // Packed now, and each large field unpacks to exactly what was stored plain.
            EXPECT_EQ(now.at("Ficha_Comp_Encr"), "S");
            for (const char* f : {"Resp_Text", "Resp_Memo", "Preg_Imag", "Resp_Imag"})
                EXPECT_EQ(unpacked(now, f), was.at(f)) << f;
            EXPECT_EQ(now.at("Tipo_Preg_Imag"), "JPG");
        }
    }
    EXPECT_EQ(card_rows::read(path).at(packed).at("Resp_Imag"), "<blank>");

    // The card whose question picture cannot be decoded still shows its answer picture.
    ASSERT_TRUE(cards.locateKey(undecodable));
    CardView view;
    loadCardView(view, cards, qxs, design, true);
    EXPECT_TRUE(view.questionPicture.isEmpty());
    EXPECT_EQ(view.answerPicture.bytes(), bitmap.bytes());
}

TEST_F(CardStoreTest, NewCardsGetTheirLevelDatesAndPackedContent) {
    fullCard("uno");
    cards.setFilter("Nive_Fich>=3 and  (Nive_fich <> 0 ) ");
    cards.setFiltered(true);
    const card_rows::Rows before = card_rows::read(path);
    CardEdit e;
    e.question = "dos";
    e.cardKey = "k";
    e.importance = -3;
    e.longAnswerRtf = rtf::writeLines({"larga"});
    e.questionPicture = jpeg;
    const qint64 id = store(e);
    ASSERT_NE(id, 0);
    const card_rows::Rows after = card_rows::read(path);
    ASSERT_EQ(card_rows::changedRows(before, after), std::set<qint64>{id});
    const card_rows::Row& row = after.at(id);
    EXPECT_EQ(row.at("Preg_Text"), "dos");
    EXPECT_EQ(row.at("Nive_Fich"), "1");
    EXPECT_EQ(row.at("Nive_Impo"), "0");
    EXPECT_EQ(row.at("Total_Repa"), "0");
    EXPECT_EQ(row.at("Fech_Crea"), "20240305");
    EXPECT_EQ(row.at("Fech_Prox_Repa"), "20240305");
    EXPECT_EQ(row.at("Fech_Ulti_Repa"), "<blank>");
    EXPECT_EQ(row.at("Ficha_Comp_Encr"), "S");
    EXPECT_EQ(unpacked(row, "Resp_Memo"), rtf::writeLines({"larga"}));
    EXPECT_EQ(unpacked(row, "Preg_Imag"), jpeg.bytes());
    EXPECT_EQ(row.at("Tipo_Resp_Imag"), "NO");
    EXPECT_EQ(row.at("Resp_Imag"), "<blank>");
    EXPECT_EQ(cards.state(), table::Table::State::Browse);

    // A design without key and importance leaves both blank; an empty long answer stays blank.
    design.cardKey = false;
    design.importanceLevel = false;
    CardEdit bare;
    bare.question = "tres";
    bare.cardKey = "ignored";
    bare.importance = 5;
    bare.longAnswerRtf = QByteArray();
    const qint64 bareId = store(bare);
    const card_rows::Row plainRow = card_rows::read(path).at(bareId);
    EXPECT_EQ(plainRow.at("Clav_Fich"), "<blank>");
    EXPECT_EQ(plainRow.at("Nive_Impo"), "<blank>");
    EXPECT_EQ(plainRow.at("Resp_Memo"), "<blank>");
    EXPECT_EQ(plainRow.at("Tipo_Preg_Imag"), "NO");
}

TEST_F(CardStoreTest, ACardThatLeavesTheFilterIsTheOneChanged) {
    const qint64 a = fullCard("A");
    const qint64 b = fullCard("B");
    const qint64 c = fullCard("C");
    cards.setFilter("Clav_Fich='verbos*' and  (Nive_fich <> 0 ) ");
    cards.setFiltered(true);
    ASSERT_EQ(cards.recordCount(), 3);
    const card_rows::Rows before = card_rows::read(path);
    CardEdit e = questionOnly(b, "B");
    e.cardKey = "nombres";
    store(e, b);
    const card_rows::Rows after = card_rows::read(path);
    EXPECT_EQ(card_rows::changedRows(before, after), std::set<qint64>{b});
    EXPECT_EQ(card_rows::changedFields(before.at(b), after.at(b)), std::set<QString>{"Clav_Fich"});
    EXPECT_EQ(cards.recordCount(), 2);
    const qint64 current = cards.fieldByName("AutoInc").asInteger();
    EXPECT_TRUE(current == a || current == c);
    // The card is no longer visible: changing it again is refused, nothing written.
    EXPECT_THROW(store(e, b), MissingCard);
    EXPECT_EQ(card_rows::read(path), after);
}

TEST_F(CardStoreTest, AFailedStoreLeavesNothingBehind) {
    const qint64 a = fullCard("A");
    fullCard("B");
    const card_rows::Rows before = card_rows::read(path);
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    CardEdit e = questionOnly(a, "cambiada");
    e.answerPicture = jpeg;
    EXPECT_THROW(store(e, a), table::EngineError);
    EXPECT_EQ(cards.state(), table::Table::State::Browse);
    CardEdit added;
    added.question = "nueva";
    EXPECT_THROW(store(added), table::EngineError);
    EXPECT_EQ(cards.state(), table::Table::State::Browse);
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    // Moving on writes nothing.
    cards.first();
    cards.next();
    cards.first();
    EXPECT_EQ(card_rows::read(path), before);
}

TEST(ReadImportance, SignsDigitsAndTheLimit) {
    const struct {
        const char* text;
        std::optional<int> value;
    } cases[] = {
        {"", 0},
        {"-3", 0},
        {"0", 0},
        {"-", 0},
        {"+", 0},
        {"+7", 7},
        {"32767", 32767},
        {"40000", std::nullopt},
        {"32768", std::nullopt},
        {"abc", std::nullopt},
        {"99999999999999999999", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readImportance(c.text), c.value) << c.text;
}

} // namespace
