// Text imports: the plan (refusals and their order, the card fields of a line, pairs of lines, the
// names of files, what the design lets in, texts the table will cut) and the run (what is stored,
// pictures by their content, long answers byte for byte, packed content, errors mid-run).
#include "exchange/text_import.h"

#include "platform/table/table.h"
#include "platform/text_file.h"
#include "review/selection.h"
#include "streams/qx_streams.h"
#include "studyfile/card_content.h"
#include "studyfile/card_table.h"
#include "studyfile/listed_card.h"
#include "support/card_rows.h"

#include <QDir>
#include <QFile>
#include <QStringConverter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using exchange::EImportRefused;
using exchange::ImportMode;

namespace {

studyfile::DesignOptions keyDesign(bool importance) {
    studyfile::DesignOptions d;
    d.cardKey = true;
    d.importanceLevel = importance;
    d.questionSize = 60;
    return d;
}

// Every option that the files line may fill.
studyfile::DesignOptions filesDesign() {
    studyfile::DesignOptions d = keyDesign(true);
    d.questionImage = true;
    d.answerImage = true;
    d.longAnswerText = true;
    d.shortAnswerSize = 0;
    return d;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

const QByteArray kJpeg = QByteArray("\xFF\xD8\xFF\xE0", 4) + QByteArray(300, 'j');
const QByteArray kBmp = QByteArray("BM") + QByteArray(200, 'b');
const QByteArray kOtherJpeg = QByteArray("\xFF\xD8\xFF\xDB", 4) + QByteArray(100, 'd');
const QByteArray kRtf = "{\\rtf1\\ansi\\ansicpg1252 {\\fonttbl{\\f0 Arial;}}\\f0 largo\\par }";

// Where the refusal of a plan lies: its line and text.
std::pair<int, QString> refusal(const QStringList& lines, ImportMode mode, QChar separator,
                                const QString& level, const studyfile::DesignOptions& design,
                                const QString& folder = QString()) {
    try {
        exchange::planTextImport(lines, mode, separator, level, design, folder);
    } catch (const EImportRefused& e) {
        return {e.line(), e.text()};
    }
    return {-1, QString()};
}

} // namespace

TEST(TextImportPlan, RefusalsInTheirOrder) {
    const studyfile::DesignOptions d = keyDesign(true);
    const QStringList bad = {"q#a#k#1", "q#a#k#x", "q#a#k#1,5"};
    EXPECT_EQ(refusal(bad, ImportMode::Text, QChar(), " ", d),
              std::make_pair(0, QStringLiteral("Escriba un carácter separador.")));
    EXPECT_EQ(refusal(bad, ImportMode::Text, u'#', " ", d),
              std::make_pair(0, QStringLiteral("Escriba el nivel de las fichas (de 0 a 9).")));
    EXPECT_EQ(refusal(bad, ImportMode::Text, u'#', "12", d).first, 0);
    EXPECT_EQ(refusal(bad, ImportMode::Text, u'#', " 2 ", d),
              std::make_pair(2, QStringLiteral("Línea 2: el nivel de importancia «x» no es un "
                                               "número entero entre -32768 y 32767.\r\rNo se ha "
                                               "importado ninguna ficha.")));
    // Without the importance level the text is never looked at.
    EXPECT_EQ(refusal(bad, ImportMode::Text, u'#', "2", keyDesign(false)).first, -1);
}

TEST(TextImportPlan, FieldsOfATextLine) {
    const struct {
        QString line;
        QString question, answer, key;
        int importanceUsed; // -1: refused
    } cases[] = {
        {"Q#A#K#3", "Q", "A", "K", 3},
        {"Q#A#", "Q", "A", "", 0},
        {"Q#A#K#", "Q", "A", "K", 0},
        {"Q", "", "", "", -1},
        {"", "", "", "", 0},
        {"Q#A#K#3#x", "Q", "A", "K", -1},
        {"Q#A#K# 4 ", "Q", "A", "K", 4},
        {"Q#A#K#   ", "Q", "A", "K", 0},
        {"Q#A#K#-32768", "Q", "A", "K", -32768},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        const QStringList lines = {"x#y#z#1", c.line};
        // Importance not used: every line is a card with importance 0.
        const auto unused =
            exchange::planTextImport(lines, ImportMode::Text, u'#', "1", keyDesign(false), {});
        ASSERT_EQ(unused.cards.size(), 2u);
        const exchange::PlannedCard& u = unused.cards[1];
        EXPECT_EQ(u.line, 2);
        EXPECT_EQ(u.question, c.question);
        EXPECT_EQ(u.answer, c.answer);
        EXPECT_EQ(u.cardKey, c.key);
        EXPECT_FALSE(u.importance);

        const auto [line, text] = refusal(lines, ImportMode::Text, u'#', "1", keyDesign(true));
        if (c.importanceUsed == -1) {
            EXPECT_EQ(line, 2);
            EXPECT_TRUE(text.startsWith("Línea 2: ")) << text.toStdString();
            continue;
        }
        const auto used =
            exchange::planTextImport(lines, ImportMode::Text, u'#', "1", keyDesign(true), {});
        EXPECT_EQ(used.cards[1].importance, c.importanceUsed);
    }
}

TEST(TextImportPlan, KeyOnlyWhenTheDesignUsesIt) {
    studyfile::DesignOptions d = keyDesign(false);
    d.cardKey = false;
    const auto plan = exchange::planTextImport({"Q#A#K#3"}, ImportMode::Text, u'#', "1", d, {});
    EXPECT_EQ(plan.cards[0].cardKey, QString());
}

TEST(TextImportPlan, TheSameCardsWhateverTheFileEncoding) {
    QStringList lines;
    for (int i = 1; i <= 12; ++i)
        lines << QStringLiteral("Ñandú %1#cuesta 5 €#clave#%1").arg(i);
    const QString text = lines.join("\r\n") + "\r\n";
    auto utf16 = QStringEncoder(QStringConverter::Utf16LE, QStringEncoder::Flag::WriteBom);
    auto cp1252 = QStringEncoder("windows-1252");
    ASSERT_TRUE(cp1252.isValid());
    const QByteArray encodings[] = {text.toUtf8(), cp1252.encode(text), utf16.encode(text)};
    for (const QByteArray& bytes : encodings) {
        const QStringList read = textfile::decodeText(bytes).split("\r\n");
        const auto plan = exchange::planTextImport(read.mid(0, 12), ImportMode::Text, u'#', "1",
                                                   keyDesign(true), {});
        ASSERT_EQ(plan.cards.size(), 12u);
        EXPECT_EQ(plan.cards[6].question, "Ñandú 7");
        EXPECT_EQ(plan.cards[6].answer, "cuesta 5 €");
        EXPECT_EQ(plan.cards[11].importance, 12);
    }
}

TEST(TextImportPlan, PairsOfLines) {
    const studyfile::DesignOptions d = keyDesign(false);
    const struct {
        QStringList lines;
        int cards;
    } cases[] = {
        {{"a", "", "b", "", "c", "", "d"}, 4},   // last text line without files line: a card
        {{"a", "", "b", "", "c", "", " \t"}, 3}, // a trailing blank line: none
        {{"a", "", "b", "", "c", ""}, 3},        {{}, 0}, {{""}, 0},
    };
    for (const auto& c : cases) {
        const auto plan =
            exchange::planTextImport(c.lines, ImportMode::TextAndFiles, u'#', "1", d, {});
        EXPECT_EQ(int(plan.cards.size()), c.cards) << c.lines.join('|').toStdString();
        for (std::size_t i = 0; i < plan.cards.size(); ++i)
            EXPECT_EQ(plan.cards[i].line, int(2 * i + 1));
    }
    // In text mode every line is a card, blank ones too.
    EXPECT_EQ(
        exchange::planTextImport({"a", "", " "}, ImportMode::Text, u'#', "1", d, {}).cards.size(),
        3u);
}

TEST(TextImportPlan, TextsTheTableWillCut) {
    studyfile::DesignOptions d = keyDesign(false);
    d.questionSize = 5;
    const QStringList lines = {"corta#r#k#", "larguisima#r#k#", "ok#r#clave_de_mas_de_15#",
                               "ok#r#k#", "otra_larga#r#clave_de_mas_de_15#"};
    auto plan = exchange::planTextImport(lines, ImportMode::Text, u'#', "1", d, {});
    EXPECT_EQ(plan.cutTexts, 4);
    EXPECT_EQ(plan.firstCutLine, 2);
    EXPECT_EQ(exchange::cutTextsMessage(plan.cutTexts, plan.firstCutLine),
              "4 textos eran más largos que su apartado y se han cortado (el primero, en la "
              "línea 2).");
    // Keys are not stored without the card key: not counted.
    d.cardKey = false;
    plan = exchange::planTextImport(lines, ImportMode::Text, u'#', "1", d, {});
    EXPECT_EQ(plan.cutTexts, 2);
    EXPECT_EQ(plan.firstCutLine, 2);
}

class TextImportRun : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        folder = dir.filePath("lista");
        ASSERT_TRUE(QDir().mkpath(folder + "/sub"));
        writeFile(folder + "/LEON.JPG", kJpeg);
        writeFile(folder + "/cebra.bmp", kBmp);
        writeFile(folder + "/dibujo.jpeg", kOtherJpeg);
        writeFile(folder + "/fake.jpg", "solo texto");
        writeFile(folder + "/sub/Tigre.jpg", kJpeg + "tigre");
        writeFile(folder + "/leon.RTF", kRtf);
        writeFile(dir.filePath("fuera.jpg"), kJpeg);
        writeFile(dir.filePath("fuera.rtf"), kRtf);
    }
    void open(const studyfile::DesignOptions& d) {
        design = d;
        studyfile::createCardTable(dir.filePath("C.DB"));
        cards.open(dir.path(), "C.DB");
        cards.setFilter(studyfile::kBaseFilter);
        cards.setFiltered(true);
        studyfile::configureContentContainer(qxs, design, "clave");
    }
    // Plans and runs; the failing pictures as "line:name".
    int run(const QStringList& lines, ImportMode mode, const QString& level = "1") {
        const auto plan = exchange::planTextImport(lines, mode, u'#', level, design, folder);
        return exchange::runTextImport(cards, qxs, design, design.packedContent(), plan, "20240305",
                                       studyfile::defaultFontStyle(),
                                       [this](int line, const QString& name) {
                                           failed << QStringLiteral("%1:%2").arg(line).arg(name);
                                       });
    }
    // A large value of a stored row as it was written (unpacked when content is packed).
    QByteArray content(const card_rows::Row& row, const char* field) {
        const QByteArray stored = row.at(field);
        if (stored == "<blank>" || !design.packedContent())
            return stored;
        return studyfile::unpackContent(qxs, stored);
    }

    QTemporaryDir dir;
    QString folder;
    table::Table cards;
    streams::TQXStreams qxs;
    studyfile::DesignOptions design;
    QStringList failed;
};

TEST_F(TextImportRun, TwelveLinesAtTheLevelGivenDueAtOnce) {
    open(keyDesign(true));
    QStringList lines;
    for (int i = 1; i <= 12; ++i)
        lines << QStringLiteral("p%1#r%1#k#%1").arg(i);
    EXPECT_EQ(run(lines, ImportMode::Text, "0"), 12);
    EXPECT_EQ(exchange::importedMessage(12), "Se han importado 12 fichas.");
    EXPECT_EQ(cards.countMatching(studyfile::kBaseFilter), 0); // level 0: outside the base filter
    const card_rows::Rows rows = card_rows::read(dir.filePath("C.DB"));
    ASSERT_EQ(rows.size(), 12u);
    const card_rows::Row& seventh = std::next(rows.begin(), 6)->second;
    EXPECT_EQ(seventh.at("Nive_Fich"), "0");
    EXPECT_EQ(seventh.at("Nive_Impo"), "7");
    EXPECT_EQ(seventh.at("Preg_Text"), "p7");
    EXPECT_EQ(seventh.at("Clav_Fich"), "k");
    EXPECT_EQ(seventh.at("Fech_Crea"), "20240305");
    EXPECT_EQ(seventh.at("Fech_Prox_Repa"), "<blank>");
    EXPECT_EQ(seventh.at("Total_Repa"), "0");
}

TEST_F(TextImportRun, ImportedCardsAreDueInTheTimedReviewAtOnce) {
    open(keyDesign(false));
    EXPECT_EQ(run({"p1#r", "p2#r", "p3#r"}, ImportMode::Text), 3);
    const QString due =
        review::timedReviewFilters(studyfile::kBaseFilter, QStringLiteral("20240305")).session;
    EXPECT_EQ(cards.countMatching(due), 3);
}

TEST_F(TextImportRun, ARefusedFileAddsNoCard) {
    open(keyDesign(true));
    QStringList lines;
    for (int i = 1; i <= 10; ++i)
        lines << (i == 7 ? QStringLiteral("p#r#k#siete") : QStringLiteral("p#r#k#%1").arg(i));
    EXPECT_EQ(refusal(lines, ImportMode::Text, u'#', "1", design).first, 7);
    EXPECT_EQ(cards.state(), table::Table::State::Browse);
    EXPECT_EQ(card_rows::read(dir.filePath("C.DB")).size(), 0u);
}

TEST_F(TextImportRun, ALongAnswerDesignKeepsTheAnswerAsItsLongAnswer) {
    studyfile::DesignOptions d = keyDesign(false);
    d.longAnswerText = true;
    d.shortAnswerSize = 0;
    d.compressed = true;
    open(d);
    EXPECT_EQ(run({"p#la respuesta#k"}, ImportMode::Text), 1);
    const card_rows::Row row = card_rows::read(dir.filePath("C.DB")).begin()->second;
    EXPECT_EQ(content(row, "Resp_Memo"),
              studyfile::longAnswerDocument("la respuesta", studyfile::defaultFontStyle()));
    EXPECT_EQ(row.at("Resp_Text"), "<blank>");
}

// The files line of each case follows the text line "p#r#k#1" at line 1.
struct FilesCase {
    QString filesLine;
    QByteArray questionPicture; // expected stored bytes (unpacked); empty: none
    QString questionKind;
    QByteArray answerPicture;
    QString answerKind;
    QByteArray longAnswer; // empty: the answer "r" as a long answer document
    QStringList failed;
    bool refused = false;
};

const std::vector<FilesCase>& filesCases() {
    static const std::vector<FilesCase> cases = {
        {"leon.jpg#cebra.BMP#leon.rtf", kJpeg, "JPG", kBmp, "BMP", kRtf, {}},
        {" #Cebra.bmp# ", {}, {}, kBmp, "BMP", {}, {}},
        {"dibujo.jpeg##", kOtherJpeg, "JPG", {}, {}, {}, {}},
        {"fake.jpg##", {}, {}, {}, {}, {}, {"2:fake.jpg"}},
        {"sub\\tigre.JPG##", kJpeg + "tigre", "JPG", {}, {}, {}, {}},
        {"../fuera.jpg##", {}, {}, {}, {}, {}, {"2:../fuera.jpg"}},
        {"falta.jpg#leon.jpg", {}, {}, kJpeg, "JPG", {}, {"2:falta.jpg"}},
        {"leon.jpg", kJpeg, "JPG", {}, {}, {}, {}},
        {"##missing.rtf", {}, {}, {}, {}, {}, {}, true},
        {"##../fuera.rtf", {}, {}, {}, {}, {}, {}, true},
        {"##sub", {}, {}, {}, {}, {}, {}, true}, // a folder
    };
    return cases;
}

class TextAndFilesRun : public TextImportRun, public ::testing::WithParamInterface<bool> {};

TEST_P(TextAndFilesRun, WhatAFilesLineStores) {
    studyfile::DesignOptions d = filesDesign();
    d.compressed = GetParam();
    d.enciphered = GetParam();
    open(d);
    std::vector<FilesCase> cases = filesCases();
    cases.push_back({"##" + dir.filePath("fuera.rtf"), {}, {}, {}, {}, {}, {}, true});
    for (const FilesCase& c : cases) {
        SCOPED_TRACE(c.filesLine.toStdString());
        failed.clear();
        const auto before = card_rows::read(dir.filePath("C.DB"));
        if (c.refused) {
            const auto [line, text] = refusal({"p#r#k#1", c.filesLine}, ImportMode::TextAndFiles,
                                              u'#', "1", design, folder);
            EXPECT_EQ(line, 2);
            EXPECT_TRUE(text.startsWith("Línea 2: no se puede leer el archivo de texto largo «"))
                << text.toStdString();
            EXPECT_EQ(card_rows::read(dir.filePath("C.DB")).size(), before.size());
            continue;
        }
        ASSERT_EQ(run({"p#r#k#1", c.filesLine}, ImportMode::TextAndFiles), 1);
        EXPECT_EQ(failed, c.failed);
        const auto after = card_rows::read(dir.filePath("C.DB"));
        ASSERT_EQ(after.size(), before.size() + 1);
        const card_rows::Row& row = after.rbegin()->second;
        const auto picture = [&](const char* field, const char* kindField, const QByteArray& bytes,
                                 const QString& kind) {
            if (bytes.isEmpty()) {
                EXPECT_EQ(row.at(field), "<blank>") << field;
                EXPECT_EQ(row.at(kindField), "<blank>") << kindField;
                return;
            }
            EXPECT_EQ(content(row, field), bytes) << field;
            EXPECT_EQ(row.at(field) == bytes, !design.packedContent()) << field;
            EXPECT_EQ(row.at(kindField), kind.toUtf8());
        };
        picture("Preg_Imag", "Tipo_Preg_Imag", c.questionPicture, c.questionKind);
        picture("Resp_Imag", "Tipo_Resp_Imag", c.answerPicture, c.answerKind);
        EXPECT_EQ(content(row, "Resp_Memo"),
                  c.longAnswer.isEmpty()
                      ? studyfile::longAnswerDocument("r", studyfile::defaultFontStyle())
                      : c.longAnswer);
        EXPECT_EQ(row.at("Nive_Impo"), "1");
    }
}

INSTANTIATE_TEST_SUITE_P(PlainAndPacked, TextAndFilesRun, ::testing::Values(false, true));

TEST_F(TextImportRun, TheDesignDecidesWhatIsStored) {
    studyfile::DesignOptions d = keyDesign(false);
    d.answerImage = true; // no question image, no long answer text
    open(d);
    const QStringList lines = {"p#corta#k", "leon.jpg#cebra.bmp#missing.rtf"};
    const auto plan =
        exchange::planTextImport(lines, ImportMode::TextAndFiles, u'#', "1", design, folder);
    ASSERT_EQ(plan.ignoredPictures.size(), 1u);
    EXPECT_EQ(plan.ignoredPictures[0].line, 2);
    EXPECT_EQ(plan.ignoredPictures[0].name, "leon.jpg");
    EXPECT_TRUE(plan.ignoredPictures[0].question);
    EXPECT_EQ(run(lines, ImportMode::TextAndFiles), 1);
    EXPECT_TRUE(failed.isEmpty());
    const card_rows::Row row = card_rows::read(dir.filePath("C.DB")).begin()->second;
    EXPECT_EQ(row.at("Tipo_Preg_Imag"), "<blank>");
    EXPECT_EQ(row.at("Preg_Imag"), "<blank>");
    EXPECT_EQ(row.at("Resp_Imag"), kBmp);
    EXPECT_EQ(row.at("Resp_Memo"), "<blank>");
    EXPECT_EQ(studyfile::shortAnswerText(row.at("Resp_Text")), "corta");
}

TEST_F(TextImportRun, AnEngineErrorKeepsWhatWasPostedAndSaysHowMany) {
    open(keyDesign(true));
    auto plan = exchange::planTextImport({"p1#r#k#1", "p2#r#k#2", "p3#r#k#3"}, ImportMode::Text,
                                         u'#', "1", design, folder);
    plan.cards[2].importance = 70000; // out of the field's range: the table refuses it
    try {
        exchange::runTextImport(cards, qxs, design, false, plan, "20240305",
                                studyfile::defaultFontStyle(), {});
        ADD_FAILURE() << "no error";
    } catch (const table::EngineError& e) {
        EXPECT_TRUE(e.text().endsWith("\r\rSe han importado 2 fichas antes del error."))
            << e.text().toStdString();
    }
    EXPECT_EQ(cards.state(), table::Table::State::Browse);
    table::Table other;
    other.open(dir.path(), "C.DB");
    EXPECT_EQ(other.countMatching(QString()), 2);
}
