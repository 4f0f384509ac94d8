#include "review/review_layout.h"

namespace review {

ReviewLayout reviewLayout(const ReviewDesign& d, ReviewLayout l) {
    l.questionTop = d.questionImage ? 2 : 99;
    if (!d.answerImage && d.longAnswerText) {
        l.answerPictureVisible = false;
        l.longAnswerWidth = 972;
        l.longAnswerVisible = true;
        l.zoomLeft = 900;
        l.zoomVisible = true;
    }
    if (d.answerImage && !d.longAnswerText) {
        l.longAnswerVisible = false;
        l.zoomVisible = false;
        l.answerPictureLeft = 2;
        l.answerPictureWidth = 972;
        l.answerPictureVisible = true;
    }
    if (d.answerImage || d.longAnswerText) {
        l.shortAnswerTop = 2;
        l.shortAnswerHeight = 79;
    } else {
        l.shortAnswerTop = 99;
        l.shortAnswerHeight = 333;
        l.zoomVisible = false;
        l.answerPictureVisible = false;
        l.longAnswerVisible = false;
    }
    if (d.answerImage && d.longAnswerText) {
        l.zoomVisible = true;
        l.answerPictureVisible = true;
        l.longAnswerVisible = true;
        l.longAnswerLeft = 12;
        l.longAnswerWidth = 481;
        l.zoomLeft = 411;
        l.answerPictureLeft = 498;
        l.answerPictureWidth = 489;
    }
    l.shortAnswerVisible = !d.longAnswerText;
    l.answerPictureNumber = d.longAnswerText ? 5 : 6;
    return l;
}

} // namespace review
