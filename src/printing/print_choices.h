// What the print screen lets the learner choose: what each side shows, how many cards a page
// holds, and which choices the study file's design can serve. The screen and orbanel-tool share
// these rules.
#pragma once

#include "studyfile/design_record.h"

#include <QString>

#include <array>

namespace printing {

// Items of the question group, by index.
enum class QuestionChoice { Text = 0, TextImage = 1, Image = 2 };
// Items of the answer group, by index.
enum class AnswerChoice { Text = 0, Image = 1, LongText = 2, TextImage = 3, ImageLongText = 4 };

// The cards-per-page values, in the order of their buttons: two columns of 3, 4 or 5 boxes, then
// one column of double width.
inline constexpr std::array<int, 6> kPerPageValues = {6, 8, 10, 3, 4, 5};

extern const QString kUnavailableChoiceMessage;

struct PrintChoices {
    QuestionChoice question = QuestionChoice::Text;
    AnswerChoice answer = AnswerChoice::Text;
    int perPage = 6;

    bool operator==(const PrintChoices&) const = default;
};

struct ChoiceCheck {
    PrintChoices choices;
    std::array<bool, 6> perPageEnabled{}; // by kPerPageValues
    bool unavailableMessage = false;      // a choice the design cannot serve was moved
    bool fontButtonEnabled = true;        // some side prints the short text

    bool perPageAllowed(int perPage) const;
};

// The checks run on every click in either group: fall back from a choice the design cannot
// serve, disable the page layouts a choice cannot fill, and move the cards-per-page choice off a
// disabled button (10, then 8, then 6 fall back to the next smaller).
ChoiceCheck checkChoices(const PrintChoices& choices, const studyfile::DesignOptions& design);

// At every activation: a short-text answer for a study file without short answers becomes the
// long text (or the picture), then the checks run without their message, because choices kept
// from another study file may name content this one does not have.
ChoiceCheck activationChoices(const PrintChoices& choices, const studyfile::DesignOptions& design);

// Two columns for 6, 8 and 10 cards per page, one of double width for 3, 4 and 5.
int columnsFor(int perPage);

} // namespace printing
