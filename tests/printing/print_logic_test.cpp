// The print run's logic: the order of the boxes on question and answer sheets, the choice checks
// of the print screen, and where the items of a box sit.
#include "platform/report/report_geometry.h"
#include "printing/band_layout.h"
#include "printing/print_choices.h"
#include "printing/print_order.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

using printing::AnswerChoice;
using printing::QuestionChoice;
using printing::Side;

namespace {

// Rows as the sheets show them: card numbers 1-based, "-" for a blank box, pages split by " / ".
std::string sheets(const std::vector<std::optional<int>>& rows, int perPage) {
    std::string out;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (i > 0)
            out += i % static_cast<size_t>(perPage) == 0 ? " / " : " ";
        out += rows[i] ? std::to_string(*rows[i] + 1) : "-";
    }
    return out;
}

TEST(PrintRowOrder, WorkedExamples) {
    struct Case {
        int cards;
        int perPage;
        std::string questions;
        std::string answers;
    };
    const Case cases[] = {
        {0, 6, "", ""},
        {1, 6, "1", "- - - 1 - -"},
        {4, 6, "1 2 3 4", "4 - - 1 2 3"},
        {5, 6, "1 2 3 4 5", "4 5 - 1 2 3"},
        {12, 6, "1 2 3 4 5 6 / 7 8 9 10 11 12", "4 5 6 1 2 3 / 10 11 12 7 8 9"},
        {14, 6, "1 2 3 4 5 6 / 7 8 9 10 11 12 / 13 14",
         "4 5 6 1 2 3 / 10 11 12 7 8 9 / - - - 13 14 -"},
        {17, 6, "1 2 3 4 5 6 / 7 8 9 10 11 12 / 13 14 15 16 17",
         "4 5 6 1 2 3 / 10 11 12 7 8 9 / 16 17 - 13 14 15"},
        {5, 8, "1 2 3 4 5", "5 - - - 1 2 3 4"},
        {13, 8, "1 2 3 4 5 6 7 8 / 9 10 11 12 13", "5 6 7 8 1 2 3 4 / 13 - - - 9 10 11 12"},
        {7, 10, "1 2 3 4 5 6 7", "6 7 - - - 1 2 3 4 5"},
        {23, 10, "1 2 3 4 5 6 7 8 9 10 / 11 12 13 14 15 16 17 18 19 20 / 21 22 23",
         "6 7 8 9 10 1 2 3 4 5 / 16 17 18 19 20 11 12 13 14 15 / - - - - - 21 22 23 - -"},
        {7, 3, "1 2 3 / 4 5 6 / 7", "1 2 3 / 4 5 6 / 7"},
        {6, 5, "1 2 3 4 5 / 6", "1 2 3 4 5 / 6"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.cards) + " cards at " + std::to_string(c.perPage));
        const int columns = printing::columnsFor(c.perPage);
        EXPECT_EQ(sheets(printing::printRowOrder(c.cards, Side::Questions, c.perPage, columns),
                         c.perPage),
                  c.questions);
        EXPECT_EQ(
            sheets(printing::printRowOrder(c.cards, Side::Answers, c.perPage, columns), c.perPage),
            c.answers);
    }
}

// Every card once on each side, as many pages on both, and every answer in the box behind its
// question: the same height, the column swapped (two columns) or the same box (one column).
TEST(PrintRowOrder, EveryAnswerLandsBehindItsQuestion) {
    for (int perPage : printing::kPerPageValues) {
        const int columns = printing::columnsFor(perPage);
        const report::BandGrid grid =
            report::bandGrid(report::pageSizeMm(report::Paper::A4), columns, perPage / columns);
        for (int cards = 0; cards <= 40; ++cards) {
            SCOPED_TRACE(std::to_string(cards) + " cards at " + std::to_string(perPage));
            const auto questions =
                printing::printRowOrder(cards, Side::Questions, perPage, columns);
            const auto answers = printing::printRowOrder(cards, Side::Answers, perPage, columns);
            std::map<int, int> questionRow;
            std::map<int, int> answerRow;
            for (int row = 0; row < static_cast<int>(questions.size()); ++row) {
                ASSERT_TRUE(questions[static_cast<size_t>(row)].has_value());
                EXPECT_TRUE(questionRow.emplace(*questions[static_cast<size_t>(row)], row).second);
            }
            for (int row = 0; row < static_cast<int>(answers.size()); ++row) {
                if (answers[static_cast<size_t>(row)]) {
                    EXPECT_TRUE(answerRow.emplace(*answers[static_cast<size_t>(row)], row).second);
                }
            }
            ASSERT_EQ(static_cast<int>(questionRow.size()), cards);
            ASSERT_EQ(static_cast<int>(answerRow.size()), cards);
            EXPECT_EQ(grid.pageCount(static_cast<int>(questions.size())),
                      grid.pageCount(static_cast<int>(answers.size())));
            for (const auto& [card, qRow] : questionRow) {
                const int aRow = answerRow.at(card);
                EXPECT_EQ(grid.pageOfRow(qRow), grid.pageOfRow(aRow));
                const QRectF front = grid.boxOfRow(qRow);
                const QRectF back = grid.boxOfRow(aRow);
                EXPECT_DOUBLE_EQ(front.top(), back.top());
                // Turned about the long edge, a box at x shows through at W - x - width.
                const double behind =
                    columns == 2 ? grid.page.width() - front.left() - front.width() : front.left();
                EXPECT_NEAR(back.left(), behind, 1e-9) << "card " << card + 1;
            }
        }
    }
}

TEST(ReportGeometry, PapersAndBoxesPerPage) {
    struct Case {
        report::Paper paper;
        double width;
        double height;
        double twoColumnBand;
        double rightColumnX;
        double oneColumnBand;
        std::array<double, 3> bandHeights; // 3, 4 and 5 boxes per column
    };
    const Case cases[] = {
        {report::Paper::A4, 210, 297, 93, 107, 190, {92, 69, 55}},
        {report::Paper::Executive, 184.2, 266.7, 80.1, 94.1, 164.2, {82, 61, 49}},
        {report::Paper::Letter, 215.9, 279.4, 95.95, 109.95, 195.9, {86, 64, 51}},
        {report::Paper::Note, 215.9, 279.4, 95.95, 109.95, 195.9, {86, 64, 51}},
    };
    for (const Case& c : cases) {
        const QSizeF page = report::pageSizeMm(c.paper);
        SCOPED_TRACE(std::to_string(page.width()) + " x " + std::to_string(page.height()));
        EXPECT_NEAR(page.width(), c.width, 0.05);
        EXPECT_NEAR(page.height(), c.height, 0.05);
        for (int perPage : printing::kPerPageValues) {
            const int columns = printing::columnsFor(perPage);
            const int perColumn = perPage / columns;
            const report::BandGrid grid = report::bandGrid(page, columns, perColumn);
            EXPECT_NEAR(grid.bandWidth, columns == 2 ? c.twoColumnBand : c.oneColumnBand, 0.06);
            EXPECT_EQ(grid.bandHeight, c.bandHeights[static_cast<size_t>(perColumn - 3)]);
            for (int row = 0; row < perPage; ++row) {
                const QRectF box = grid.boxOfRow(row);
                EXPECT_GE(box.left(), report::kMarginMm - 1e-9);
                EXPECT_GE(box.top(), report::kMarginMm - 1e-9);
                EXPECT_LE(box.right(), page.width() - report::kMarginMm + 1e-9);
                EXPECT_LE(box.bottom(), page.height() - report::kMarginMm + 1e-9);
            }
            if (columns == 2) {
                EXPECT_NEAR(grid.boxOfRow(perColumn).left(), c.rightColumnX, 0.06);
            }
            // The next page starts again at the top left.
            EXPECT_EQ(grid.boxOfRow(perPage), grid.boxOfRow(0));
            EXPECT_EQ(grid.pageOfRow(perPage), 1);
        }
    }
}

studyfile::DesignOptions everything() {
    studyfile::DesignOptions design;
    design.questionImage = true;
    design.answerImage = true;
    design.longAnswerText = true;
    return design;
}

TEST(BandItems, PlacesOfTheItems) {
    struct Case {
        const char* name;
        Side side;
        QuestionChoice question;
        AnswerChoice answer;
        int perPage;
        std::optional<QRectF> text;
        std::optional<QRectF> picture;
        std::optional<QRectF> richText;
    };
    const Case cases[] = {
        {"question text", Side::Questions, QuestionChoice::Text, AnswerChoice::Text, 6,
         QRectF(1, 1, 91, 90), std::nullopt, std::nullopt},
        {"question text and picture", Side::Questions, QuestionChoice::TextImage,
         AnswerChoice::Text, 6, QRectF(1, 1, 91, 44), QRectF(1, 45, 91, 46), std::nullopt},
        {"question picture", Side::Questions, QuestionChoice::Image, AnswerChoice::Text, 6,
         std::nullopt, QRectF(1, 1, 91, 90), std::nullopt},
        {"answer text", Side::Answers, QuestionChoice::Text, AnswerChoice::Text, 6,
         QRectF(1, 1, 91, 91), std::nullopt, std::nullopt},
        {"answer picture", Side::Answers, QuestionChoice::Text, AnswerChoice::Image, 6,
         std::nullopt, QRectF(1, 1, 91, 90), std::nullopt},
        {"answer long text", Side::Answers, QuestionChoice::Text, AnswerChoice::LongText, 6,
         std::nullopt, std::nullopt, QRectF(1, 1, 91, 91)},
        {"answer text and picture at 6", Side::Answers, QuestionChoice::Text,
         AnswerChoice::TextImage, 6, QRectF(1, 1, 91, 44), QRectF(1, 45, 91, 46), std::nullopt},
        {"answer text and picture at 5", Side::Answers, QuestionChoice::Text,
         AnswerChoice::TextImage, 5, QRectF(1, 1, 92, 54), QRectF(96, 1, 92, 53), std::nullopt},
        {"answer picture and long text at 5", Side::Answers, QuestionChoice::Text,
         AnswerChoice::ImageLongText, 5, std::nullopt, QRectF(96, 1, 92, 53), QRectF(1, 1, 92, 54)},
    };
    const QSizeF a4 = report::pageSizeMm(report::Paper::A4);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int columns = printing::columnsFor(c.perPage);
        const report::BandGrid grid = report::bandGrid(a4, columns, c.perPage / columns);
        const printing::BandItems items =
            printing::bandItems(c.side, {c.question, c.answer, c.perPage}, everything(), columns,
                                grid.bandWidth, grid.bandHeight);
        EXPECT_EQ(items.text, c.text);
        EXPECT_EQ(items.picture, c.picture);
        EXPECT_EQ(items.richText, c.richText);
    }
}

// An item the study file has no content for is not printed, whatever the choice.
TEST(BandItems, ItemsFollowTheDesign) {
    studyfile::DesignOptions design;
    design.questionSize = 0;
    design.shortAnswerSize = 0;
    const printing::BandItems question = printing::bandItems(
        Side::Questions, {QuestionChoice::TextImage, AnswerChoice::Text, 6}, design, 2, 93, 92);
    EXPECT_FALSE(question.text || question.picture || question.richText);
    const printing::BandItems answer = printing::bandItems(
        Side::Answers, {QuestionChoice::Text, AnswerChoice::TextImage, 6}, design, 2, 93, 92);
    EXPECT_FALSE(answer.text || answer.picture || answer.richText);
}

// Enabled cards-per-page buttons as text: the values of kPerPageValues that are enabled.
std::string enabled(const printing::ChoiceCheck& check) {
    std::string out;
    for (size_t i = 0; i < printing::kPerPageValues.size(); ++i)
        if (check.perPageEnabled[i])
            out += (out.empty() ? "" : " ") + std::to_string(printing::kPerPageValues[i]);
    return out;
}

TEST(PrintChoices, ChecksOnAClick) {
    studyfile::DesignOptions textOnly; // short answer 100, no pictures, no long text
    studyfile::DesignOptions noShort = textOnly;
    noShort.shortAnswerSize = 0;
    noShort.longAnswerText = true;
    studyfile::DesignOptions pictureAndLong = everything();
    pictureAndLong.shortAnswerSize = 0;
    // An answer picture and a short answer of 50, no long text: only the long-text rule applies.
    studyfile::DesignOptions shortAndPicture = textOnly;
    shortAndPicture.shortAnswerSize = 50;
    shortAndPicture.answerImage = true;
    studyfile::DesignOptions pictureOnly = textOnly;
    pictureOnly.shortAnswerSize = 0;
    pictureOnly.answerImage = true;
    struct Case {
        const char* name;
        studyfile::DesignOptions design;
        printing::PrintChoices clicked;
        printing::PrintChoices after;
        std::string enabled;
        bool message;
        bool font;
    };
    const Case cases[] = {
        {"no answer image, picture, short text",
         textOnly,
         {QuestionChoice::Text, AnswerChoice::Image, 6},
         {QuestionChoice::Text, AnswerChoice::Text, 6},
         "6 8 10 3 4 5",
         true,
         true},
        {"no answer image, picture, no short text",
         noShort,
         {QuestionChoice::Text, AnswerChoice::Image, 6},
         {QuestionChoice::Text, AnswerChoice::LongText, 6},
         "6 8 10 3 4 5",
         true,
         true},
        {"picture and long text at 8 moves to 5",
         pictureAndLong,
         {QuestionChoice::Text, AnswerChoice::ImageLongText, 8},
         {QuestionChoice::Text, AnswerChoice::ImageLongText, 5},
         "3 4 5",
         false,
         true},
        {"question text and picture at 10 moves to 6",
         everything(),
         {QuestionChoice::TextImage, AnswerChoice::Text, 10},
         {QuestionChoice::TextImage, AnswerChoice::Text, 6},
         "6 3 4 5",
         false,
         true},
        {"long text unused, short size 50",
         shortAndPicture,
         {QuestionChoice::Text, AnswerChoice::ImageLongText, 6},
         {QuestionChoice::Text, AnswerChoice::Text, 6},
         "6 8 10 3 4 5",
         true,
         true},
        {"long text unused, no short text",
         pictureOnly,
         {QuestionChoice::Text, AnswerChoice::LongText, 6},
         {QuestionChoice::Text, AnswerChoice::Image, 6},
         "6 8 10 3 4 5",
         true,
         true},
        {"no short text, no long text, short text chosen",
         pictureOnly,
         {QuestionChoice::Text, AnswerChoice::Text, 6},
         {QuestionChoice::Text, AnswerChoice::Image, 6},
         "6 8 10 3 4 5",
         true,
         true},
        {"no short text, short text chosen",
         noShort,
         {QuestionChoice::Text, AnswerChoice::Text, 6},
         {QuestionChoice::Text, AnswerChoice::LongText, 6},
         "6 8 10 3 4 5",
         true,
         true},
        {"no question image",
         textOnly,
         {QuestionChoice::Image, AnswerChoice::Text, 6},
         {QuestionChoice::Text, AnswerChoice::Text, 6},
         "6 8 10 3 4 5",
         true,
         true},
        {"question picture, answer long text: no short text printed",
         pictureAndLong,
         {QuestionChoice::Image, AnswerChoice::LongText, 6},
         {QuestionChoice::Image, AnswerChoice::LongText, 6},
         "6 8 10 3 4 5",
         false,
         false},
        {"question picture, answer text and picture",
         everything(),
         {QuestionChoice::Image, AnswerChoice::TextImage, 8},
         {QuestionChoice::Image, AnswerChoice::TextImage, 6},
         "6 3 4 5",
         false,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const printing::ChoiceCheck check = printing::checkChoices(c.clicked, c.design);
        EXPECT_EQ(check.choices, c.after);
        EXPECT_EQ(enabled(check), c.enabled);
        EXPECT_EQ(check.unavailableMessage, c.message);
        EXPECT_EQ(check.fontButtonEnabled, c.font);
    }
}

// Choices kept from another study file are brought in line at activation, without a message.
TEST(PrintChoices, ActivationFallsBackSilently) {
    studyfile::DesignOptions textOnly;
    printing::ChoiceCheck check = printing::activationChoices(
        {QuestionChoice::Image, AnswerChoice::ImageLongText, 5}, textOnly);
    EXPECT_EQ(check.choices, (printing::PrintChoices{QuestionChoice::Text, AnswerChoice::Text, 5}));
    EXPECT_FALSE(check.unavailableMessage);
    EXPECT_EQ(enabled(check), "6 8 10 3 4 5");

    studyfile::DesignOptions noShort;
    noShort.shortAnswerSize = 0;
    noShort.answerImage = true;
    check = printing::activationChoices({QuestionChoice::Text, AnswerChoice::Text, 6}, noShort);
    EXPECT_EQ(check.choices.answer, AnswerChoice::Image);
    EXPECT_FALSE(check.unavailableMessage);
}

} // namespace
