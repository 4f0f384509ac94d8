// orbanel-tool cards: the card selection's filter built from condition rows, through the same
// code as the card selection screen.
#include "editing/selection_filter.h"
#include "studyfile/date_box.h"
#include "studyfile/design_record.h"
#include "tool/tool_command.h"

#include <QStringList>

#include <iostream>
#include <string>
#include <vector>

namespace {

using tool::Args;
using tool::argText;
using tool::noExtraPositionals;
using tool::ParsedArgs;
using tool::printed;
using tool::ToolError;

// The combos hold six rows at most.
constexpr std::size_t kMaxRows = 6;

int connectorIndex(const QString& word) {
    if (word.compare(QStringLiteral("O"), Qt::CaseInsensitive) == 0)
        return editing::kOrConnector;
    if (word.compare(QStringLiteral("Y"), Qt::CaseInsensitive) == 0)
        return editing::kAndConnector;
    return -1;
}

// One --row SPEC: "FIELD,OP,VALUE" for the first row, "Y,FIELD,OP,VALUE" or "O,FIELD,OP,VALUE"
// for the next ones. VALUE is the rest of the text, commas and quotes included; for
// Fech_Ulti_Repa it is the date box's text.
editing::ConditionRow parseRow(const std::string& spec, std::size_t number) {
    const QString text = argText(spec);
    const std::string where = "--row " + std::to_string(number) + ": ";
    editing::ConditionRow row;
    qsizetype pos = 0;
    const auto nextPart = [&]() -> QString {
        const qsizetype comma = text.indexOf(u',', pos);
        if (comma < 0)
            throw ToolError(where + "expected " +
                            (number == 1 ? "FIELD,OP,VALUE" : "Y|O,FIELD,OP,VALUE"));
        const QString part = text.mid(pos, comma - pos);
        pos = comma + 1;
        return part;
    };
    QString first = nextPart();
    const int connector = connectorIndex(first);
    if (number == 1 && connector >= 0)
        throw ToolError(where + "the first row takes no connector");
    if (number > 1) {
        if (connector < 0)
            throw ToolError(where + "a row after the first starts with its connector Y or O");
        row.connector = connector;
        first = nextPart();
    }
    for (int i = 0; i < editing::kFieldItems.size(); ++i)
        if (first.compare(editing::conditionField(i), Qt::CaseInsensitive) == 0)
            row.field = i;
    if (row.field < 0)
        throw ToolError(where + "unknown field \"" + printed(first) +
                        "\" (Nive_Fich, Clav_Fich, Nive_Impo, Fech_Ulti_Repa, Total_Repa)");
    const QString op = nextPart();
    for (int i = 0; i < editing::kOperatorItems.size(); ++i)
        if (op == editing::conditionOperator(i))
            row.op = i;
    if (row.op < 0)
        throw ToolError(where + "unknown operator \"" + printed(op) + "\" (=, >, >=, <, <=, <>)");
    const QString value = text.mid(pos);
    if (row.field == editing::kDateField) {
        if (value.size() > studyfile::kDateBoxSize)
            throw ToolError(where + "a date box holds 8 characters");
        row.dateText = value;
    } else {
        row.value = value;
    }
    return row;
}

// The rows of the --row options, in order.
std::vector<editing::ConditionRow> parseRows(const ParsedArgs& args) {
    const std::vector<std::string> specs = args.values("row");
    if (specs.size() > kMaxRows)
        throw ToolError("at most 6 --row conditions");
    std::vector<editing::ConditionRow> rows;
    for (std::size_t i = 0; i < specs.size(); ++i)
        rows.push_back(parseRow(specs[i], i + 1));
    return rows;
}

// The selection filter of the rows, or the screen's refusal in Spanish.
QString selectionFilter(const std::vector<editing::ConditionRow>& rows, bool dayFirst,
                        const studyfile::DesignOptions& design) {
    const editing::SelectionFilter built = editing::buildSelectionFilter(rows, dayFirst, design);
    if (!built.accepted())
        throw ToolError(studyfile::oneLine(built.message).toStdString());
    // The screen's value box would have cut a longer text; the screen's refusals (a longer text
    // that is no number) come first, as they would for what the box kept.
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].value.size() > editing::kValueBoxSize)
            throw ToolError("--row " + std::to_string(i + 1) +
                            ": a value box holds at most 15 characters");
    return built.filter;
}

int filter(const Args& a) {
    ParsedArgs args(a, {"row"}, {"month-first"});
    noExtraPositionals(args, 0);
    // Without a study file every field counts as used.
    studyfile::DesignOptions design;
    design.cardKey = true;
    design.importanceLevel = true;
    std::cout << printed(selectionFilter(parseRows(args), !args.flag("month-first"), design))
              << "\n";
    return 0;
}

const tool::RegisterGroup kCards{
    {"cards",
     {{"filter",
       "cards filter [--row SPEC]... [--month-first]\n"
       "    print the selection filter of up to six condition rows, as the card selection\n"
       "    screen builds it; SPEC is FIELD,OP,VALUE for the first row and Y,FIELD,OP,VALUE or\n"
       "    O,FIELD,OP,VALUE for the next (FIELD: Nive_Fich, Clav_Fich, Nive_Impo,\n"
       "    Fech_Ulti_Repa, Total_Repa; OP: =, >, >=, <, <=, <>; VALUE: the rest of the text, the\n"
       "    8-character date box text such as 05/03/24 for Fech_Ulti_Repa); dates read day first\n"
       "    unless --month-first\n",
       &filter}}}};

} // namespace
