#include "platform/volume.h"

#include <QDir>
#include <QRegularExpression>
#include <gtest/gtest.h>

TEST(VolumeSerial, FormatsEightUpperCaseHexDigitsWithDash) {
    EXPECT_EQ(platform::formatVolumeSerial(0x1a2b3c4d), "1A2B-3C4D");
    EXPECT_EQ(platform::formatVolumeSerial(0), "0000-0000");
    EXPECT_EQ(platform::formatVolumeSerial(0xffffffffu), "FFFF-FFFF");
    EXPECT_EQ(platform::formatVolumeSerial(0xabc), "0000-0ABC");
}

TEST(VolumeSerial, SameTextForOneDevice) {
    const QString a = platform::volumeSerialText(QDir::tempPath());
    EXPECT_TRUE(QRegularExpression("^[0-9A-F]{4}-[0-9A-F]{4}$").match(a).hasMatch())
        << a.toStdString();
    EXPECT_EQ(a, platform::volumeSerialText(QDir::tempPath()));
}

TEST(VolumeSerial, FallbackWhenUnreadable) {
    EXPECT_EQ(platform::volumeSerialText("/no/such/folder/at/all"),
              platform::volumeSerialFallback());
    EXPECT_EQ(platform::volumeSerialFallback().size(), 3);
}
