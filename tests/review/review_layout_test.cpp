#include "review/review_layout.h"

#include <gtest/gtest.h>

using review::ReviewDesign;
using review::reviewLayout;

TEST(ReviewLayout, EachDesignPlacesTheAnswerParts) {
    struct Case {
        ReviewDesign design;
        int questionTop, shortTop, shortHeight;
        bool shortVisible, longVisible;
        int longLeft, longWidth;
        bool zoomVisible;
        int zoomLeft;
        bool pictureVisible;
        int pictureLeft, pictureWidth, pictureNumber;
    };
    const Case cases[] = {
        // Texts only.
        {{false, false, false}, 99, 99, 333, true, false, 12, 972, false, 900, false, 2, 972, 6},
        // Long answer only: the box full width with its zoom at the right.
        {{false, false, true}, 99, 2, 79, false, true, 12, 972, true, 900, false, 2, 972, 5},
        // Answer picture only: full width.
        {{true, true, false}, 2, 2, 79, true, false, 12, 972, false, 900, true, 2, 972, 6},
        // Both: side by side.
        {{false, true, true}, 99, 2, 79, false, true, 12, 481, true, 411, true, 498, 489, 5},
    };
    for (const Case& c : cases) {
        const review::ReviewLayout l = reviewLayout(c.design);
        SCOPED_TRACE(testing::Message()
                     << c.design.questionImage << c.design.answerImage << c.design.longAnswerText);
        EXPECT_EQ(l.questionTop, c.questionTop);
        EXPECT_EQ(l.shortAnswerTop, c.shortTop);
        EXPECT_EQ(l.shortAnswerHeight, c.shortHeight);
        EXPECT_EQ(l.shortAnswerVisible, c.shortVisible);
        EXPECT_EQ(l.longAnswerVisible, c.longVisible);
        EXPECT_EQ(l.longAnswerLeft, c.longLeft);
        EXPECT_EQ(l.longAnswerWidth, c.longWidth);
        EXPECT_EQ(l.zoomVisible, c.zoomVisible);
        EXPECT_EQ(l.zoomLeft, c.zoomLeft);
        EXPECT_EQ(l.answerPictureVisible, c.pictureVisible);
        EXPECT_EQ(l.answerPictureLeft, c.pictureLeft);
        EXPECT_EQ(l.answerPictureWidth, c.pictureWidth);
        EXPECT_EQ(l.answerPictureNumber, c.pictureNumber);
    }
}

// A study file with answer pictures only, reviewed after one with both, shows its picture full
// width again.
TEST(ReviewLayout, AnswerPictureAloneAfterASideBySideLayout) {
    const auto both = reviewLayout({false, true, true});
    const auto alone = reviewLayout({false, true, false}, both);
    EXPECT_EQ(alone.answerPictureLeft, 2);
    EXPECT_EQ(alone.answerPictureWidth, 972);
    EXPECT_TRUE(alone.answerPictureVisible);
    EXPECT_FALSE(alone.longAnswerVisible);
    EXPECT_FALSE(alone.zoomVisible);
    // And a long answer alone after that takes the full width back.
    const auto text = reviewLayout({false, false, true}, both);
    EXPECT_EQ(text.longAnswerWidth, 972);
    EXPECT_EQ(text.zoomLeft, 900);
    EXPECT_FALSE(text.answerPictureVisible);
}
