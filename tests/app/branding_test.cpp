#include "support/app_fixture.h"

#include "app/branding.h"

#include <QApplication>
#include <QIcon>
#include <QImage>

// The icon comes from the compiled-in resource: two cards, the yellow one behind the white one,
// on a transparent ground.
TEST_F(AppTest, ProgramIconIsTheCompiledInCardStack) {
    const QImage icon = programIcon().toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(icon.size(), QSize(64, 64));
    EXPECT_EQ(qAlpha(icon.pixel(1, 1)), 0);                    // outside both cards
    EXPECT_EQ(icon.pixelColor(40, 14), QColor(255, 255, 160)); // the card behind
    EXPECT_EQ(icon.pixelColor(12, 50), QColor(255, 255, 255)); // the card in front

    start();
    EXPECT_FALSE(QApplication::windowIcon().isNull());
}
