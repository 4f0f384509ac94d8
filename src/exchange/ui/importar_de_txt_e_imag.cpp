#include "exchange/ui/importar_de_txt_e_imag.h"

TImportar_de_txt_e_Imag_::TImportar_de_txt_e_Imag_(Program& program)
    : TextImportScreen(
          program, "TImportar_de_txt_e_Imag_",
          QStringLiteral("   Importar Fichas con texto e Imágenes desde un Archivo de Texto"),
          exchange::ImportMode::TextAndFiles, 43) {}
