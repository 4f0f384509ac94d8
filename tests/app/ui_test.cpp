#include "app/ui.h"

#include <gtest/gtest.h>

TEST(UiTexts, FileFiltersInQtForm) {
    struct Case {
        const char* program;
        const char* qt;
    };
    const Case cases[] = {
        {" Ficheros de Estudio |*.db| Todos los Archivos |*.*",
         "Ficheros de Estudio (*.db *.DB);;Todos los Archivos (*)"},
        {" Ficheros de Estudio |*.db", "Ficheros de Estudio (*.db *.DB)"},
        {"Imágenes|*.bmp;*.jpg;*.JPEG", "Imágenes (*.bmp *.BMP *.jpg *.JPG *.JPEG)"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(qtFileFilter(QString::fromUtf8(c.program)), QString::fromUtf8(c.qt)) << c.program;
}

TEST(UiTexts, LineBreaksForDisplay) {
    EXPECT_EQ(displayLines("uno\r\rdos"), "uno\n\ndos");
    EXPECT_EQ(displayLines("uno\r\ndos\rtres\n"), "uno\ndos\ntres\n");
    EXPECT_EQ(displayLines("  sin salto  "), "  sin salto  ");
}
