// orbanel-tool table: create, fill, list and count card tables through the table engine.
#include "platform/table/table.h"
#include "studyfile/card_table.h"
#include "tool/tool_command.h"

#include <QStringList>

#include <iostream>
#include <string>

namespace {

using tool::Args;
using tool::ParsedArgs;
using tool::ToolError;

const char kUsage[] =
    "table create-cards FILE.DB [--question-size N]\n"
    "    create an empty card table (question size 1..255, default 60), replacing FILE.DB\n"
    "table insert FILE.DB Field=Value...\n"
    "    append one row with the fields given (the others blank; booleans true/false) and\n"
    "    print its AutoInc\n"
    "table list FILE.DB [--filter EXPR] [--unfiltered] [--fields F1,F2,...]\n"
    "    print the rows in table order, one per line, fields separated by a tab (all rows\n"
    "    unless --filter is given)\n"
    "table count FILE.DB [--filter EXPR]\n"
    "    print the number of rows (that satisfy EXPR)\n";

const QStringList kDefaultListFields = {"AutoInc",        "Nive_Fich", "Nive_Impo",
                                        "Clav_Fich",      "Preg_Text", "Fech_Ulti_Repa",
                                        "Fech_Prox_Repa", "Total_Repa"};

QString fromLocal(const std::string& s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

void openTable(table::Table& t, const std::string& file, const std::optional<std::string>& filter) {
    t.setTableName(fromLocal(file));
    if (filter) {
        t.setFilter(fromLocal(*filter));
        t.setFiltered(true);
    }
    t.open();
}

int parseQuestionSize(const std::string& text) {
    std::size_t used = 0;
    int n = 0;
    try {
        n = std::stoi(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != text.size())
        throw ToolError("--question-size needs a whole number, got \"" + text + "\"");
    return n;
}

int createCards(const Args& args) {
    const ParsedArgs p(args, {"question-size"});
    const std::string& file = p.at(1, "FILE.DB");
    if (p.positional().size() > 2)
        throw ToolError("unexpected argument \"" + p.positional()[2] + "\"");
    int size = studyfile::kDefaultQuestionSize;
    if (auto v = p.value("question-size"))
        size = parseQuestionSize(*v);
    studyfile::createCardTable(fromLocal(file), size);
    return 0;
}

int insert(const Args& args) {
    const ParsedArgs p(args, {});
    const std::string& file = p.at(1, "FILE.DB");
    table::Table t;
    openTable(t, file, std::nullopt);
    t.append();
    for (std::size_t i = 2; i < p.positional().size(); ++i) {
        const auto [name, value] = tool::splitAssignment(p.positional()[i]);
        t.fieldByName(fromLocal(name)).setString(fromLocal(value));
    }
    t.post();
    if (t.findField("AutoInc") >= 0)
        std::cout << t.lastPostedKey() << "\n"; // the key is the AutoInc value
    return 0;
}

std::string escaped(const QString& value) {
    std::string out;
    for (char c : value.toStdString()) {
        if (c == '\t')
            out += "\\t";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out;
}

int list(const Args& args) {
    const ParsedArgs p(args, {"filter", "fields"}, {"unfiltered"});
    const std::string& file = p.at(1, "FILE.DB");
    const auto filter = p.value("filter");
    if (filter && p.flag("unfiltered"))
        throw ToolError("--filter and --unfiltered exclude each other");
    table::Table t;
    openTable(t, file, filter);
    QStringList names = kDefaultListFields;
    if (auto f = p.value("fields"))
        names = fromLocal(*f).split(u',', Qt::SkipEmptyParts);
    if (names.isEmpty())
        throw ToolError("--fields names no field");
    std::vector<table::Field> fields;
    for (const QString& n : names) {
        table::Field field = t.fieldByName(n.trimmed());
        if (field.type() == table::FieldType::Blob)
            throw ToolError("blob field " + field.name().toStdString() + " cannot be listed");
        fields.push_back(field);
    }
    std::string out;
    for (t.first(); !t.eof(); t.next()) {
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (i > 0)
                out += '\t';
            out += escaped(fields[i].asString());
        }
        out += '\n';
    }
    std::cout << out;
    return 0;
}

int count(const Args& args) {
    const ParsedArgs p(args, {"filter"});
    const std::string& file = p.at(1, "FILE.DB");
    table::Table t;
    openTable(t, file, p.value("filter"));
    std::cout << t.recordCount() << "\n";
    return 0;
}

int run(const Args& args) {
    if (args.empty())
        throw ToolError(std::string("missing table command\n") + kUsage);
    const std::string& cmd = args[0];
    if (cmd == "create-cards")
        return createCards(args);
    if (cmd == "insert")
        return insert(args);
    if (cmd == "list")
        return list(args);
    if (cmd == "count")
        return count(args);
    throw ToolError("unknown table command \"" + cmd + "\"");
}

const tool::RegisterGroup reg({"table", kUsage, &run});

} // namespace
