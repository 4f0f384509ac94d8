// End-to-end tests of orbanel-tool cards: the selection filter of the card selection screen,
// printed exactly; listing, deleting and changing the selected cards of a study file; and the
// refusals, the screens' in Spanish and the tool's own, which leave the table as it was.
#include "tool_runner.h"

#include <QFile>
#include <QTemporaryDir>

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

namespace {

// A study file of seven cards built with the tool itself: levels 0 to 3, keys "verbos…" and
// "nombres…", importances 1 to 7.
class CardsOnFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ok({"studyfile", "create", dir.filePath("C"), "--importance"});
        const char* keys[] = {"verbos1", "nombres1", "verbos2", "nombres2",
                              "verbos3", "verbos4",  "nombres3"};
        for (int i = 0; i < 7; ++i)
            ok({"studyfile", "add-card", db(), "--question", QStringLiteral("q%1").arg(i + 1),
                "--card-key", keys[i], "--importance", QString::number(i + 1), "--level",
                QString::number(i % 4)});
    }
    QString db() const { return dir.filePath("C.DB"); }
    std::string ok(const QStringList& args) {
        const ToolResult r = runTool(args, dir.path());
        EXPECT_EQ(r.exitCode, 0) << args.join(' ').toStdString() << ": " << r.err;
        return r.out;
    }
    // Every row of the card table as `table list --unfiltered` prints it.
    std::string everyRow() { return ok({"table", "list", db(), "--unfiltered"}); }

    QTemporaryDir dir;
};

TEST_F(CardsOnFileTest, ListDeleteAndModifyTheSelection) {
    EXPECT_EQ(ok({"cards", "list", db(), "--row", "Nive_Fich,>=,2", "--row", "Y,Clav_Fich,=,verb"}),
              "count: 1\n3\t2\tverbos2\t3\tq3\n");
    // No selection: every card but the parked ones (level 0: cards 1 and 5).
    const std::string all = ok({"cards", "list", db()});
    EXPECT_EQ(all.substr(0, all.find('\n')), "count: 5");

    EXPECT_EQ(ok({"cards", "modify", db(), "--row", "Nive_Fich,=,1", "--level", "3",
                  "--next-review", "05/03/24", "--reviews", "9"}),
              "modified: 2\n");
    const std::string rows = everyRow();
    // Cards 2 and 6 were at level 1: their lines begin with AutoInc and the new level.
    for (const auto& [card, begin] :
         {std::pair{"\tq2\t", "2\t3\t"}, std::pair{"\tq6\t", "6\t3\t"}}) {
        const std::size_t at = rows.find(card);
        ASSERT_NE(at, std::string::npos) << card;
        const std::size_t from =
            rows.rfind('\n', at) == std::string::npos ? 0 : rows.rfind('\n', at) + 1;
        const std::string line = rows.substr(from, rows.find('\n', at) - from);
        EXPECT_EQ(line.rfind(begin, 0), 0u) << line;
        EXPECT_NE(line.find("\t20240305\t9"), std::string::npos) << line;
    }
    EXPECT_EQ(ok({"cards", "list", db(), "--row", "Nive_Fich,=,1"}), "count: 0\n");

    EXPECT_EQ(ok({"cards", "delete", db(), "--row", "Nive_Fich,=,3", "--keys", "2,4"}),
              "deleted: 2\ncount: 1\n");
    EXPECT_EQ(ok({"cards", "delete", db(), "--all", "--row", "Clav_Fich,=,nombres"}),
              "deleted: 1\ncount: 0\n");
    // The parked cards were never reachable.
    const std::string left = everyRow();
    for (const char* card : {"\tq1\t", "\tq5\t", "\tq3\t", "\tq6\t"})
        EXPECT_NE(left.find(card), std::string::npos) << card;
    for (const char* card : {"\tq2\t", "\tq4\t", "\tq7\t"})
        EXPECT_EQ(left.find(card), std::string::npos) << card;
}

TEST_F(CardsOnFileTest, RefusalsWriteNothing) {
    const QByteArray before = [&] {
        QFile f(db());
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }();
    struct Case {
        QStringList args;
        std::string err;
    };
    const Case cases[] = {
        {{"modify", db(), "--level", ""}, "error: Falta el nuevo valor de 'Nivel de la Ficha'.\n"},
        {{"modify", db(), "--importance", ""},
         "error: Falta el nuevo valor de 'Nivel de Importancia'.\n"},
        {{"modify", db(), "--reviews", ""},
         "error: Falta el nuevo valor de 'Nº de Repasos Realizados'.\n"},
        {{"modify", db(), "--next-review", "31/02/24"},
         "error: La 'Fecha del Próximo Repaso' no es una fecha válida.\n"},
        {{"modify", db(), "--next-review", "05/  /24"},
         "error: La 'Fecha del Próximo Repaso' no es una fecha válida.\n"},
        {{"modify", db(), "--level", "12"}, "error: --level needs one digit\n"},
        {{"modify", db(), "--reviews", "1000"}, "error: --reviews needs one to three digits\n"},
        {{"modify", db()},
         "error: give at least one of --level, --key, --importance, --next-review, --reviews\n"},
        {{"modify", db(), "--row", "Nive_Fich,=,3a", "--level", "1"}, "error: Los apartados:"},
        {{"delete", db()}, "error: give either --all or --keys\n"},
        {{"delete", db(), "--all", "--keys", "1"}, "error: give either --all or --keys\n"},
        {{"delete", db(), "--keys", "1"}, "error: card 1 is not in the selection\n"},
        {{"delete", db(), "--row", "Nive_Fich,=,2", "--keys", "3,2"},
         "error: card 2 is not in the selection\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const ToolResult r = runTool(QStringList{"cards"} + c.args, dir.path());
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err.rfind(c.err, 0), 0u) << r.err;
        QFile f(db());
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), before);
    }
}

} // namespace
