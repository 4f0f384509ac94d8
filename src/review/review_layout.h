// Where the review screen places its question text, short answer, long answer, "&Zoom" button and
// answer picture, by what the cards of the open study file hold.
#pragma once

namespace review {

struct ReviewDesign {
    bool questionImage = false;
    bool answerImage = false;
    bool longAnswerText = false;
};

struct ReviewLayout {
    int questionTop = 99; // DBText1
    // Label7, the short answer text.
    int shortAnswerTop = 99;
    int shortAnswerHeight = 333;
    bool shortAnswerVisible = true;
    // RichEdit1, the long answer.
    bool longAnswerVisible = false;
    int longAnswerLeft = 12;
    int longAnswerWidth = 972;
    // Button5, "&Zoom".
    bool zoomVisible = false;
    int zoomLeft = 900;
    // Image2, the answer picture.
    bool answerPictureVisible = false;
    int answerPictureLeft = 2;
    int answerPictureWidth = 972;
    // The picture number that places the answer picture (5 beside a long answer, 6 alone).
    int answerPictureNumber = 6;
};

// The layout steps in their order; positions that a step leaves alone keep the previous
// layout's values, as the screen's controls keep theirs from one study file to the next.
ReviewLayout reviewLayout(const ReviewDesign& design, ReviewLayout previous = {});

} // namespace review
