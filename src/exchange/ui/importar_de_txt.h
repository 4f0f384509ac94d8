// The text import screen: every line of a text file becomes a new card of the open study file.
#pragma once

#include "exchange/ui/text_import_screen.h"

class TImportar_de_txt_ : public TextImportScreen {
    Q_OBJECT
public:
    explicit TImportar_de_txt_(Program& program);
};
