// orbanel-tool table: create, fill, list and count card tables through the table engine.
#include "platform/table/table.h"
#include "studyfile/card_table.h"
#include "tool/tool_command.h"

#include <QStringList>

#include <iostream>
#include <string>

namespace {

using tool::Args;
using tool::argText;
using tool::ParsedArgs;
using tool::ToolError;

const QStringList kDefaultListFields = {"AutoInc",        "Nive_Fich", "Nive_Impo",
                                        "Clav_Fich",      "Preg_Text", "Fech_Ulti_Repa",
                                        "Fech_Prox_Repa", "Total_Repa"};

void openTable(table::Table& t, const std::string& file, const std::optional<std::string>& filter) {
    t.setTableName(argText(file));
    if (filter) {
        t.setFilter(argText(*filter));
        t.setFiltered(true);
    }
    t.open();
}

int createCards(const Args& args) {
    const ParsedArgs p(args, {"question-size"});
    const std::string& file = p.at(0, "FILE.DB");
    tool::noExtraPositionals(p, 1);
    int size = studyfile::kDefaultQuestionSize;
    if (auto v = p.value("question-size"))
        size = tool::wholeNumber("question-size", *v);
    studyfile::createCardTable(argText(file), size);
    return 0;
}

int insert(const Args& args) {
    const ParsedArgs p(args, {});
    const std::string& file = p.at(0, "FILE.DB");
    table::Table t;
    openTable(t, file, std::nullopt);
    t.append();
    for (std::size_t i = 1; i < p.positional().size(); ++i) {
        const auto [name, value] = tool::splitAssignment(p.positional()[i]);
        t.fieldByName(argText(name)).setString(argText(value));
    }
    t.post();
    if (t.findField("AutoInc") >= 0)
        std::cout << t.lastPostedKey() << "\n"; // the key is the AutoInc value
    return 0;
}

int list(const Args& args) {
    const ParsedArgs p(args, {"filter", "fields"}, {"unfiltered"});
    const std::string& file = p.at(0, "FILE.DB");
    const auto filter = p.value("filter");
    if (filter && p.flag("unfiltered"))
        throw ToolError("--filter and --unfiltered exclude each other");
    table::Table t;
    openTable(t, file, filter);
    QStringList names = kDefaultListFields;
    if (auto f = p.value("fields"))
        names = argText(*f).split(u',', Qt::SkipEmptyParts);
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
            out += tool::escapedValue(fields[i].asString());
        }
        out += '\n';
    }
    std::cout << out;
    return 0;
}

int count(const Args& args) {
    const ParsedArgs p(args, {"filter"});
    const std::string& file = p.at(0, "FILE.DB");
    table::Table t;
    openTable(t, file, p.value("filter"));
    std::cout << t.recordCount() << "\n";
    return 0;
}

const tool::RegisterGroup
    reg({"table",
         {{"create-cards",
           "table create-cards FILE.DB [--question-size N]\n"
           "    create an empty card table (question size 1..255, default 60), replacing FILE.DB\n",
           &createCards},
          {"insert",
           "table insert FILE.DB Field=Value...\n"
           "    append one row with the fields given (the others blank; booleans true/false) and\n"
           "    print its AutoInc\n",
           &insert},
          {"list",
           "table list FILE.DB [--filter EXPR] [--unfiltered] [--fields F1,F2,...]\n"
           "    print the rows in table order, one per line, fields separated by a tab (all rows\n"
           "    unless --filter is given)\n",
           &list},
          {"count",
           "table count FILE.DB [--filter EXPR]\n"
           "    print the number of rows (that satisfy EXPR)\n",
           &count}}});

} // namespace
