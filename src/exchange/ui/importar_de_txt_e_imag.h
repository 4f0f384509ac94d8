// The text and image import screen: each card takes two lines of a text file, its texts and the
// names of its pictures and long answer lying beside the file.
#pragma once

#include "exchange/ui/text_import_screen.h"

class TImportar_de_txt_e_Imag_ : public TextImportScreen {
    Q_OBJECT
public:
    explicit TImportar_de_txt_e_Imag_(Program& program);
};
