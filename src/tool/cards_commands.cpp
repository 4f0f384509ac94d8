// orbanel-tool cards: the card selection's filter built from condition rows, and listing, deleting
// and changing the selected cards, through the same code as the card selection and global
// modification screens.
#include "editing/global_modification.h"
#include "editing/selection_filter.h"
#include "platform/table/table.h"
#include "studyfile/date_box.h"
#include "studyfile/design_record.h"
#include "tool/open_study_file.h"
#include "tool/tool_command.h"

#include <QStringList>

#include <algorithm>

#include <iostream>
#include <optional>
#include <string>
#include <unordered_set>
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

// The selected cards of a study file: its card table filtered by the --row conditions (the base
// filter without any).
struct Selection {
    tool::OpenStudyFile studyFile;
    table::Table cards;
};

void openSelection(Selection& s, const ParsedArgs& args, std::size_t positionals) {
    const std::string& file = args.at(0, "FILE.DB");
    noExtraPositionals(args, positionals);
    const std::vector<editing::ConditionRow> rows = parseRows(args);
    s.studyFile = tool::openStudyFile(file, args.value("password"));
    const QString filter =
        selectionFilter(rows, !args.flag("month-first"), s.studyFile.record.options);
    s.cards.setFilter(filter);
    s.cards.setFiltered(true);
    tool::openCardTable(s.cards, s.studyFile);
}

int list(const Args& a) {
    ParsedArgs args(a, {"row", "password"}, {"month-first"});
    Selection s;
    openSelection(s, args, 1);
    std::string out = "count: " + std::to_string(s.cards.recordCount()) + "\n";
    const QStringList columns = {QStringLiteral("AutoInc"), QStringLiteral("Nive_Fich"),
                                 QStringLiteral("Clav_Fich"), QStringLiteral("Nive_Impo"),
                                 QStringLiteral("Preg_Text")};
    for (s.cards.first(); !s.cards.eof(); s.cards.next()) {
        for (qsizetype i = 0; i < columns.size(); ++i) {
            if (i > 0)
                out += '\t';
            out += tool::escapedValue(s.cards.fieldByName(columns[i]).asString());
        }
        out += '\n';
    }
    std::cout << out;
    return 0;
}

// The keys of "--keys K1,K2,...".
std::vector<qint64> keyList(const std::string& text) {
    std::vector<qint64> keys;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        const std::string item = text.substr(start, comma - start);
        keys.push_back(tool::wholeNumber("keys", item));
        if (comma == std::string::npos)
            return keys;
        start = comma + 1;
    }
}

int remove(const Args& a) {
    ParsedArgs args(a, {"row", "password", "keys"}, {"month-first", "all"});
    const auto keysText = args.value("keys");
    if (args.flag("all") == bool(keysText))
        throw ToolError("give either --all or --keys");
    Selection s;
    openSelection(s, args, 1);
    if (!s.studyFile.record.options.modifiable)
        tool::refuse(studyfile::kNotModifiableMessage);
    std::vector<qint64> keys;
    if (keysText) {
        const std::vector<qint64> visible = s.cards.visibleKeys();
        const std::unordered_set<qint64> selected(visible.begin(), visible.end());
        for (qint64 key : keyList(*keysText))
            if (!selected.count(key))
                throw ToolError("card " + std::to_string(key) + " is not in the selection");
        keys = keyList(*keysText);
    } else {
        keys = s.cards.visibleKeys();
    }
    const int before = s.cards.recordCount();
    s.cards.deleteBookmarks(keys);
    std::cout << "deleted: " << before - s.cards.recordCount() << "\n"
              << "count: " << s.cards.recordCount() << "\n";
    return 0;
}

// "Falta el nuevo valor de '...'." for an empty value box.
[[noreturn]] void missingValue(const char* box) {
    tool::refuse(QStringLiteral("Falta el nuevo valor de '%1'.").arg(QString::fromUtf8(box)));
}

// A value box of up to `digits` digits, as the screen's masked boxes take it.
int digitsValue(const std::optional<std::string>& text, int digits, const char* option,
                const char* box) {
    if (text->empty())
        missingValue(box);
    const QString value = argText(*text);
    if (value.size() > digits ||
        !std::all_of(value.begin(), value.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        throw ToolError(std::string("--") + option + " needs " +
                        (digits == 1 ? "one digit" : "one to three digits"));
    return value.toInt();
}

int modify(const Args& a) {
    ParsedArgs args(a, {"row", "password", "level", "key", "importance", "next-review", "reviews"},
                    {"month-first"});
    const bool dayFirst = !args.flag("month-first");
    editing::GlobalChange change;
    if (auto v = args.value("level"))
        change.level = digitsValue(v, 1, "level", "Nivel de la Ficha");
    if (auto v = args.value("key"))
        change.cardKey = argText(*v);
    if (auto v = args.value("importance"))
        change.importance = digitsValue(v, 3, "importance", "Nivel de Importancia");
    if (auto v = args.value("next-review")) {
        const studyfile::DateBoxDate date = studyfile::readDateBox(argText(*v), dayFirst);
        if (v->size() > std::size_t(studyfile::kDateBoxSize) ||
            date.kind != studyfile::DateBoxDate::Kind::Date)
            tool::refuse(QStringLiteral("La 'Fecha del Próximo Repaso' no es una fecha válida."));
        change.nextReview = date.dateString;
    }
    if (auto v = args.value("reviews"))
        change.reviews = digitsValue(v, 3, "reviews", "Nº de Repasos Realizados");
    if (!change.any())
        throw ToolError("give at least one of --level, --key, --importance, --next-review, "
                        "--reviews");
    Selection s;
    openSelection(s, args, 1);
    const studyfile::DesignOptions& design = s.studyFile.record.options;
    if (change.cardKey && !design.cardKey)
        tool::refuse(editing::kKeyNotUsedMessage);
    if (change.importance && !design.importanceLevel)
        tool::refuse(editing::kImportanceNotUsedMessage);
    std::cout << "modified: " << editing::runGlobalModification(s.cards, change) << "\n";
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
       &filter},
      {"list",
       "cards list FILE.DB [--row SPEC]... [--month-first] [--password P]\n"
       "    print the number of selected cards, then AutoInc, Nive_Fich, Clav_Fich, Nive_Impo\n"
       "    and Preg_Text of each in table order, separated by tabs\n",
       &list},
      {"delete",
       "cards delete FILE.DB (--all | --keys K1,K2,...) [--row SPEC]... [--month-first]\n"
       "          [--password P]\n"
       "    delete every selected card, or the listed ones (each must be selected); print the\n"
       "    cards deleted and the cards left in the selection\n",
       &remove},
      {"modify",
       "cards modify FILE.DB [--row SPEC]... [--level N] [--key K] [--importance N]\n"
       "          [--next-review DATE] [--reviews N] [--month-first] [--password P]\n"
       "    give every selected card the values given, as the global modification does (DATE: the\n"
       "    8-character date box text); print the number of cards changed\n",
       &modify}}}};

} // namespace
