// orbanel-tool group-file: a group text file read as the group entry screen reads it into an empty
// grid, and its rows stored as cards exactly as the screen's "Guardar y Salir" stores them.
#include "editing/group_entry.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/table/table.h"
#include "platform/text_file.h"
#include "streams/qx_streams.h"
#include "studyfile/card_content.h"
#include "studyfile/font_style.h"
#include "tool/open_study_file.h"
#include "tool/tool_command.h"

#include <iostream>
#include <string>

namespace {

using tool::Args;
using tool::argText;
using tool::noExtraPositionals;
using tool::ParsedArgs;
using tool::refuse;
using tool::ToolError;

// The rows of a group text file, the file's refusal on one line.
editing::GroupFileRows readRows(const std::string& file) {
    try {
        return editing::readGroupFile(argText(file));
    } catch (const textfile::ETextFile& e) {
        refuse(e.text());
    }
}

// The warning of a file of more lines than the grid has rows, on stderr once the command has
// done its work (a failing command writes its one error line only).
void warnOfExtraLines(const editing::GroupFileRows& read) {
    if (read.tooManyLines())
        std::cerr << "warning: the file has " << read.lineCount << " lines; only the first "
                  << editing::kGroupRows << " are read\n";
}

int show(const Args& args) {
    const ParsedArgs p(args, {});
    const std::string& file = p.at(0, "FILE.txt");
    noExtraPositionals(p, 1);
    const editing::GroupFileRows read = readRows(file);
    for (std::size_t i = 0; i < read.rows.size(); ++i) {
        const editing::GroupRow& row = read.rows[i];
        std::cout << (i + 1) << '\t' << tool::escapedValue(row.question) << '\t'
                  << tool::escapedValue(row.answer) << '\t' << tool::escapedValue(row.key) << '\t'
                  << tool::escapedValue(row.importance) << '\n';
    }
    warnOfExtraLines(read);
    return 0;
}

bool allDigits(const std::string& text) {
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

int store(const Args& args) {
    const ParsedArgs p(args, {"level", "card-key", "importance", "password", "font-style"});
    const std::string& studyFile = p.at(0, "FILE.DB");
    const std::string& file = p.at(1, "FILE.txt");
    noExtraPositionals(p, 2);

    // The three shared boxes of the screen: the level box takes one digit, the importance box up
    // to four.
    editing::GroupShared shared;
    if (auto v = p.value("level")) {
        if (v->size() != 1 || !allDigits(*v))
            throw ToolError("--level needs a level from 0 to 9, got \"" + *v + "\"");
        shared.level = argText(*v);
    }
    if (auto v = p.value("card-key"))
        shared.cardKey = argText(*v);
    if (auto v = p.value("importance")) {
        if (v->size() > 4 || !allDigits(*v))
            throw ToolError("--importance needs a whole number of at most 4 digits, got \"" + *v +
                            "\"");
        shared.importance = argText(*v);
    }
    studyfile::FontStyle style = studyfile::defaultFontStyle();
    if (auto v = p.value("font-style"))
        style = studyfile::readFontStyle(files::readWhole(argText(*v)));

    const tool::OpenStudyFile s = tool::openStudyFile(studyFile, p.value("password"));
    const studyfile::DesignOptions& design = s.record.options;
    const editing::GroupFileRows read = readRows(file);
    editing::GroupRows rows = read.rows;
    rows.resize(editing::kGroupRows);
    if (const auto problem = editing::checkGroupRows(rows, shared, design))
        refuse(problem->message);

    streams::TQXStreams qxs;
    studyfile::configureContentContainer(qxs, design, s.key);
    table::Table t;
    tool::openCardTable(t, s);
    const int stored =
        editing::storeGroupRows(t, qxs, design, design.packedContent(), rows, shared,
                                platform::dateKey(platform::Clock::system().today()), style);
    std::cout << tool::printed(editing::groupCreatedMessage(stored)) << "\n";
    warnOfExtraLines(read);
    return 0;
}

const tool::RegisterGroup
    reg({"group-file",
         {{"show",
           "group-file show FILE.txt\n"
           "    read a group text file as the group entry screen reads it into an empty grid and\n"
           "    print one line per row filled: N, question, answer, key, importance separated by\n"
           "    tabs (a tab in a cell as \\t, a backslash as \\\\)\n",
           &show},
          {"store",
           "group-file store FILE.DB FILE.txt [--level N] [--card-key K] [--importance N]\n"
           "          [--password P] [--font-style F.stl]\n"
           "    store the rows of a group text file as cards, as the group entry screen's\n"
           "    \"Guardar y Salir\" does: every row checked first, then all stored in one\n"
           "    transaction; the options are the screen's shared boxes (level 0..9, default 1;\n"
           "    importance up to four digits); long answers take the default font style or F.stl\n",
           &store}}});

} // namespace
