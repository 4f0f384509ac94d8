#include "exchange/ui/importar_de_txt.h"

TImportar_de_txt_::TImportar_de_txt_(Program& program)
    : TextImportScreen(program, "TImportar_de_txt_",
                       QStringLiteral(" Importar Fichas desde un Archivo de Texto"),
                       exchange::ImportMode::Text, 33) {}
