#include "streams/text_bytes.h"

#include <gtest/gtest.h>

TEST(TextBytes, Windows1252WhereEveryCharacterHasOneElseUtf8) {
    struct Row {
        QString text;
        QByteArray bytes;
    } rows[] = {
        {"clave", "clave"},
        {QString::fromUtf8("Contraseña"), "Contrase\xF1"
                                          "a"},
        {QString::fromUtf8("€uro—“x”"), "\x80uro\x97\x93x\x94"},
        {QString::fromUtf8("ñ and ł"), "\xC3\xB1 and \xC5\x82"}, // ł has no Windows-1252 byte
        {QString::fromUtf8("日本"), "\xE6\x97\xA5\xE6\x9C\xAC"},
        {QString(), QByteArray()},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(streams::textBytes(row.text), row.bytes) << row.text.toStdString();
        EXPECT_EQ(streams::bytesText(row.bytes), row.text) << row.text.toStdString();
    }
}

TEST(TextBytes, EveryByteHasAText) {
    QByteArray all;
    for (int i = 1; i < 256; ++i)
        all.append(char(i));
    EXPECT_EQ(streams::textBytes(streams::bytesText(all)), all);
    EXPECT_EQ(streams::bytesText("\xC3\xB1"),
              QString::fromUtf8("Ã±")); // stays Windows-1252: ñ has a byte
}
