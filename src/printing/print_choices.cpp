#include "printing/print_choices.h"

#include <algorithm>

namespace printing {

const QString kUnavailableChoiceMessage = QStringLiteral(
    "     Ha elegido imprimir un Texto, Imagen o Texto Largo\r\rque no está disponible en el "
    "diseño de este Fichero de Estudio.");

namespace {

int indexOfPerPage(int perPage) {
    const auto it = std::find(kPerPageValues.begin(), kPerPageValues.end(), perPage);
    return it == kPerPageValues.end() ? -1 : static_cast<int>(it - kPerPageValues.begin());
}

void disable(ChoiceCheck& check, int perPage) {
    check.perPageEnabled[static_cast<size_t>(indexOfPerPage(perPage))] = false;
}

bool hasPicture(AnswerChoice a) {
    return a == AnswerChoice::Image || a == AnswerChoice::TextImage ||
           a == AnswerChoice::ImageLongText;
}

bool hasLongText(AnswerChoice a) {
    return a == AnswerChoice::LongText || a == AnswerChoice::ImageLongText;
}

bool hasShortText(AnswerChoice a) {
    return a == AnswerChoice::Text || a == AnswerChoice::TextImage;
}

} // namespace

bool ChoiceCheck::perPageAllowed(int perPage) const {
    const int index = indexOfPerPage(perPage);
    return index >= 0 && perPageEnabled[static_cast<size_t>(index)];
}

int columnsFor(int perPage) {
    return perPage >= 6 ? 2 : 1;
}

ChoiceCheck checkChoices(const PrintChoices& choices, const studyfile::DesignOptions& design) {
    ChoiceCheck check;
    check.choices = choices;
    check.perPageEnabled.fill(true);
    PrintChoices& c = check.choices;

    if (c.question != QuestionChoice::Text && !design.questionImage) {
        check.unavailableMessage = true;
        c.question = QuestionChoice::Text;
    }
    if (c.question == QuestionChoice::TextImage) {
        disable(check, 8);
        disable(check, 10);
    }

    const bool shortText = design.shortAnswerSize > 0;
    if (hasPicture(c.answer) && !design.answerImage) {
        check.unavailableMessage = true;
        c.answer = shortText ? AnswerChoice::Text : AnswerChoice::LongText;
    } else if (hasLongText(c.answer) && !design.longAnswerText) {
        check.unavailableMessage = true;
        c.answer = shortText ? AnswerChoice::Text : AnswerChoice::Image;
    } else if (hasShortText(c.answer) && !shortText) {
        check.unavailableMessage = true;
        c.answer = design.longAnswerText ? AnswerChoice::LongText : AnswerChoice::Image;
    } else if (c.answer == AnswerChoice::TextImage) {
        disable(check, 8);
        disable(check, 10);
    } else if (c.answer == AnswerChoice::ImageLongText) {
        disable(check, 6);
        disable(check, 8);
        disable(check, 10);
    }

    if (c.perPage == 10 && !check.perPageAllowed(10))
        c.perPage = 8;
    if (c.perPage == 8 && !check.perPageAllowed(8))
        c.perPage = 6;
    if (c.perPage == 6 && !check.perPageAllowed(6))
        c.perPage = 5;

    check.fontButtonEnabled = !(c.question == QuestionChoice::Image && !hasShortText(c.answer));
    return check;
}

ChoiceCheck activationChoices(const PrintChoices& choices, const studyfile::DesignOptions& design) {
    PrintChoices c = choices;
    if (c.answer == AnswerChoice::Text && design.shortAnswerSize == 0)
        c.answer = design.longAnswerText ? AnswerChoice::LongText : AnswerChoice::Image;
    ChoiceCheck check = checkChoices(c, design);
    check.unavailableMessage = false;
    return check;
}

} // namespace printing
