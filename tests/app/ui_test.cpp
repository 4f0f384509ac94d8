#include "app/ui.h"
#include "platform/picture/picture_files.h"

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
        {"Imágenes|*.bmp;*.jpg;*.JPEG", "Imágenes (*.bmp *.BMP *.jpg *.JPG *.JPEG *.jpeg)"},
        // Upper-case patterns list the lower-case files too; a pattern given in both cases once.
        {"Archivo de Texto (*.TXT)|*.TXT", "Archivo de Texto (*.TXT *.txt)"},
        {"Text Files / Archivos de Texto|*.TXT|All Files / Todos los Archivos|*.*",
         "Text Files / Archivos de Texto (*.TXT *.txt);;All Files / Todos los Archivos (*)"},
        {"Dibujos|*.jpg;*.JPG", "Dibujos (*.jpg *.JPG)"},
        // Patterns separated by commas and blanks, and descriptions that carry their own list.
        {"JPEG Image File (*.jpg, *.jpeg)|*.jpg, *.jpeg",
         "JPEG Image File (*.jpg *.JPG *.jpeg *.JPEG)"},
        {"Dos | *.a ,*.b  *.c", "Dos (*.a *.A *.b *.B *.c *.C)"},
        {"All (*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf)|*.jpg;*.jpeg;*.bmp|Bitmaps (*.bmp)|*.bmp|"
         "All Files (*.*)|*.*",
         "All (*.jpg *.JPG *.jpeg *.JPEG *.bmp *.BMP);;Bitmaps (*.bmp *.BMP);;All Files (*)"},
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

TEST(UiTexts, PictureDialogsListJpegFilesUnderTheJpegEntry) {
    for (const QString& filter :
         {picture::kPictureDialogFilter, picture::kProgramPictureDialogFilter}) {
        const QStringList entries = qtFileFilter(filter).split(";;");
        ASSERT_EQ(entries.size(), 4) << filter.toStdString();
        EXPECT_EQ(entries[1], "JPEG Image File (*.jpg *.JPG *.jpeg *.JPEG)");
    }
}
