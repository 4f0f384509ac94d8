#include "printing/band_layout.h"

#include <cmath>

namespace printing {

BandItems bandItems(Side side, const PrintChoices& choices, const studyfile::DesignOptions& design,
                    int columns, double bandWidth, double bandHeight) {
    const double b = bandWidth;
    const double v = bandHeight;
    const double full = b - 2;
    const double half = std::round(b / 2 - 3);
    const double rightLeft = std::round(b / 2 + 1);
    // Text above, picture under it, each about half the box.
    const double upperTextHeight = std::floor((v - 1) / 2) - 1;
    const QRectF upperText(1, 1, full, upperTextHeight);
    const QRectF lowerPicture(1, 1 + upperTextHeight, full, v - 1 - upperTextHeight - 1);

    BandItems items;
    if (side == Side::Questions) {
        const bool text = design.questionSize != 0 && choices.question != QuestionChoice::Image;
        const bool picture = design.questionImage && choices.question != QuestionChoice::Text;
        switch (choices.question) {
        case QuestionChoice::Text:
            if (text)
                items.text = QRectF(1, 1, full, v - 2);
            break;
        case QuestionChoice::TextImage:
            if (text)
                items.text = upperText;
            if (picture)
                items.picture = lowerPicture;
            break;
        case QuestionChoice::Image:
            if (picture)
                items.picture = QRectF(1, 1, full, v - 2);
            break;
        }
        return items;
    }

    const AnswerChoice a = choices.answer;
    const bool text =
        design.shortAnswerSize != 0 && (a == AnswerChoice::Text || a == AnswerChoice::TextImage);
    const bool picture =
        design.answerImage && (a == AnswerChoice::Image || a == AnswerChoice::TextImage ||
                               a == AnswerChoice::ImageLongText);
    const bool richText =
        design.longAnswerText && (a == AnswerChoice::LongText || a == AnswerChoice::ImageLongText);
    std::optional<QRectF> textRect;
    std::optional<QRectF> pictureRect;
    std::optional<QRectF> richRect;
    switch (a) {
    case AnswerChoice::Text:
        textRect = QRectF(1, 1, full, v - 1);
        break;
    case AnswerChoice::Image:
        pictureRect = QRectF(1, 1, full, v - 2);
        break;
    case AnswerChoice::LongText:
        richRect = QRectF(1, 1, full, v - 1);
        break;
    case AnswerChoice::TextImage:
        if (columns == 2) {
            textRect = upperText;
            pictureRect = lowerPicture;
        } else {
            textRect = QRectF(1, 1, half, v - 1);
            pictureRect = QRectF(rightLeft, 1, half, v - 2);
        }
        break;
    case AnswerChoice::ImageLongText:
        pictureRect = QRectF(rightLeft, 1, half, v - 2);
        richRect = QRectF(1, 1, half, v - 1);
        break;
    }
    if (text)
        items.text = textRect;
    if (picture)
        items.picture = pictureRect;
    if (richText)
        items.richText = richRect;
    return items;
}

} // namespace printing
