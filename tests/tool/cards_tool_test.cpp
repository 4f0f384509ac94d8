// End-to-end tests of orbanel-tool cards filter: the selection filter of the card selection
// screen, printed exactly, and the refusals, the screen's in Spanish and the tool's own.
#include "tool_runner.h"

#include <gtest/gtest.h>

namespace {

QStringList filterArgs(const QStringList& options) {
    return QStringList{"cards", "filter"} + options;
}

TEST(CardsTool, FilterPrintsTheSelectionFilterExactly) {
    struct Case {
        QStringList options;
        std::string out;
    };
    const Case cases[] = {
        {{}, " (Nive_fich <> 0 ) \n"},
        {{"--row", "Nive_Fich,=,2"}, "Nive_Fich=2 and  (Nive_fich <> 0 ) \n"},
        {{"--row", "nive_fich,>=,3", "--row", "Y,CLAV_FICH,=,verbos"},
         "Nive_Fich>=3 AND Clav_Fich='verbos*' and  (Nive_fich <> 0 ) \n"},
        {{"--row", "Nive_Fich,<,2", "--row", "O,Clav_Fich,=,abc"},
         "(Nive_Fich<2 OR Clav_Fich='abc*') and  (Nive_fich <> 0 ) \n"},
        {{"--row", "Clav_Fich,>=,b"}, "Clav_Fich>='b' and  (Nive_fich <> 0 ) \n"},
        {{"--row", "Clav_Fich,<,b"}, "Clav_Fich<'b*' and  (Nive_fich <> 0 ) \n"},
        // The value is the rest of the text: commas and quotes included.
        {{"--row", "Clav_Fich,=,O'Hara, J"}, "Clav_Fich='O''Hara, J*' and  (Nive_fich <> 0 ) \n"},
        {{"--row", "Fech_Ulti_Repa,=,05/03/24"},
         "Fech_Ulti_Repa='20240305' and  (Nive_fich <> 0 ) \n"},
        {{"--row", "Fech_Ulti_Repa,=,05/03/24", "--month-first"},
         "Fech_Ulti_Repa='20240503' and  (Nive_fich <> 0 ) \n"},
        {{"--row", "Fech_Ulti_Repa,<>, 5/ 3/24"},
         "Fech_Ulti_Repa<>'20240305' and  (Nive_fich <> 0 ) \n"},
        {{"--row", "Nive_Impo,<=,4", "--row", "y,Total_Repa,>,10", "--row", "o,Nive_Fich,=,1"},
         "(Nive_Impo<=4 AND Total_Repa>10 OR Nive_Fich=1) and  (Nive_fich <> 0 ) \n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options.join(' ').toStdString());
        const ToolResult r = runTool(filterArgs(c.options));
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out, c.out);
    }
}

TEST(CardsTool, FilterRefusals) {
    const QStringList six = {"--row", "Nive_Fich,=,1",   "--row", "O,Nive_Fich,=,2",
                             "--row", "O,Nive_Fich,=,3", "--row", "O,Nive_Fich,=,4",
                             "--row", "O,Nive_Fich,=,5", "--row", "O,Nive_Fich,=,6"};
    struct Case {
        QStringList options;
        std::string err;
    };
    const Case cases[] = {
        {six + QStringList{"--row", "O,Nive_Fich,=,7"}, "error: at most 6 --row conditions\n"},
        {{"--row", "Y,Nive_Fich,=,1"}, "error: --row 1: the first row takes no connector\n"},
        {{"--row", "Nive_Fich,=,1", "--row", "Nive_Fich,=,2"},
         "error: --row 2: a row after the first starts with its connector Y or O\n"},
        {{"--row", "Preg_Text,=,1"},
         "error: --row 1: unknown field \"Preg_Text\" (Nive_Fich, Clav_Fich, Nive_Impo, "
         "Fech_Ulti_Repa, Total_Repa)\n"},
        {{"--row", "Nive_Fich,==,1"},
         "error: --row 1: unknown operator \"==\" (=, >, >=, <, <=, <>)\n"},
        {{"--row", "Nive_Fich=1"}, "error: --row 1: expected FIELD,OP,VALUE\n"},
        {{"--row", "Nive_Fich,=,1", "--row", "Y,Nive_Fich"},
         "error: --row 2: expected Y|O,FIELD,OP,VALUE\n"},
        {{"--row", "Fech_Ulti_Repa,=,05/03/2024"},
         "error: --row 1: a date box holds 8 characters\n"},
        {{"--row", "Clav_Fich,=,abcdefghijklmnop"},
         "error: --row 1: a value box holds at most 15 characters\n"},
        // The screen's refusals, as one line.
        {{"--row", "Nive_Fich,=,1", "--row", "Y,Clav_Fich,=,"},
         "error: La condición de selección no está completa\n"},
        {{"--row", "Fech_Ulti_Repa,=,05/  /24"},
         "error: La condición de selección no está completa\n"},
        {{"--row", "Total_Repa,=,1 OR Nive_Fich=0"},
         "error: Los apartados: 'Nivel de la Ficha' 'Nivel de Importancia'  y 'Nº Total de "
         "Repasos' Sólo admiten cifras (del 0 al 9) No aceptan letras, espacios, comas, ni "
         "puntos Para no repetir este mensaje: corrija el error o borre el texto cuando acepte "
         "este mensaje.\n"},
        {{"--row", "Fech_Ulti_Repa,=,31/02/24"},
         "error: La fecha de la condición de selección no es válida.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options.join(' ').toStdString());
        const ToolResult r = runTool(filterArgs(c.options));
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, c.err);
    }
}

} // namespace
