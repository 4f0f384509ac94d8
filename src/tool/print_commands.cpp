// orbanel-tool print: the order of the boxes of a print run, and the run drawn into a PDF file,
// through the same code as the print screen.
#include "platform/table/table.h"
#include "printing/print_choices.h"
#include "printing/print_job.h"
#include "printing/print_order.h"
#include "printing/print_table.h"
#include "studyfile/card_table.h"
#include "studyfile/design_record.h"
#include "tool/open_study_file.h"
#include "tool/tool_command.h"

#include <QTemporaryDir>

#include <algorithm>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

namespace {

using printing::AnswerChoice;
using printing::QuestionChoice;
using printing::Side;
using tool::Args;
using tool::ParsedArgs;
using tool::ToolError;

template <typename T> using Names = std::vector<std::pair<std::string, T>>;

const Names<QuestionChoice> kQuestionNames = {{"text", QuestionChoice::Text},
                                              {"text-image", QuestionChoice::TextImage},
                                              {"image", QuestionChoice::Image}};
const Names<AnswerChoice> kAnswerNames = {{"text", AnswerChoice::Text},
                                          {"image", AnswerChoice::Image},
                                          {"long-text", AnswerChoice::LongText},
                                          {"text-image", AnswerChoice::TextImage},
                                          {"image-long-text", AnswerChoice::ImageLongText}};
const Names<report::Paper> kPaperNames = {{"a4", report::Paper::A4},
                                          {"executive", report::Paper::Executive},
                                          {"letter", report::Paper::Letter},
                                          {"note", report::Paper::Note}};
const Names<Side> kSideNames = {{"questions", Side::Questions}, {"answers", Side::Answers}};

template <typename T>
T named(const ParsedArgs& args, const std::string& option, const Names<T>& names, T fallback) {
    const auto value = args.value(option);
    if (!value)
        return fallback;
    std::string list;
    for (const auto& [name, item] : names) {
        if (*value == name)
            return item;
        list += (list.empty() ? "" : ", ") + name;
    }
    throw ToolError("--" + option + " must be one of " + list);
}

template <typename T> std::string nameOf(const Names<T>& names, T item) {
    for (const auto& [name, value] : names)
        if (value == item)
            return name;
    return {};
}

// What both commands share: the study file, the cards in view and the run's settings.
struct Run {
    tool::OpenStudyFile studyFile;
    table::Table cards;
    Side side = Side::Questions;
    printing::PrintSettings settings;
    bool ids = false;
};

void openRun(Run& run, const ParsedArgs& args) {
    run.studyFile = tool::openStudyFile(args.at(0, "FILE.DB"), args.value("password"));
    const studyfile::DesignOptions& design = run.studyFile.record.options;
    if (!design.printable)
        tool::refuse(printing::kNotPrintableMessage);
    run.side = named(args, "side", kSideNames, Side::Questions);
    run.ids = args.flag("ids");
    printing::PrintChoices& choices = run.settings.choices;
    choices.question = named(args, "question", kQuestionNames, QuestionChoice::Text);
    choices.answer = named(args, "answer", kAnswerNames, printing::defaultAnswerChoice(design));
    if (const auto perPage = args.value("per-page")) {
        choices.perPage = tool::wholeNumber("per-page", *perPage);
        if (std::find(printing::kPerPageValues.begin(), printing::kPerPageValues.end(),
                      choices.perPage) == printing::kPerPageValues.end())
            throw ToolError("--per-page must be one of 3, 4, 5, 6, 8, 10");
    }
    // The screen falls back from what the design cannot serve; the tool refuses instead.
    const printing::ChoiceCheck check = printing::checkChoices(choices, design);
    if (check.unavailableMessage)
        tool::refuse(printing::kUnavailableChoiceMessage);
    if (!check.perPageAllowed(choices.perPage)) {
        // Name the choice that disables the value: the question's, when it does so alone.
        printing::PrintChoices questionAlone = choices;
        questionAlone.answer = AnswerChoice::Text;
        studyfile::DesignOptions everything = design;
        everything.shortAnswerSize = std::max(1, design.shortAnswerSize);
        const bool question =
            !printing::checkChoices(questionAlone, everything).perPageAllowed(choices.perPage);
        const std::string culprit = question
                                        ? "--question " + nameOf(kQuestionNames, choices.question)
                                        : "--answer " + nameOf(kAnswerNames, choices.answer);
        throw ToolError("--per-page " + std::to_string(choices.perPage) + " cannot be used with " +
                        culprit);
    }
    run.cards.setFilter(args.value("filter") ? tool::argText(*args.value("filter"))
                                             : studyfile::kBaseFilter);
    run.cards.setFiltered(true);
    tool::openCardTable(run.cards, run.studyFile);
}

// "page N: ..." lines: each row the card's position in view (1-based), its AutoInc with --ids,
// or "-" for an empty box.
std::string pageLines(const Run& run, const std::vector<qint64>& keys) {
    const int perPage = run.settings.choices.perPage;
    const std::vector<std::optional<int>> rows = printing::printRowOrder(
        static_cast<int>(keys.size()), run.side, perPage, printing::columnsFor(perPage));
    std::string out = "page 1:";
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i > 0 && i % static_cast<std::size_t>(perPage) == 0)
            out += "\npage " + std::to_string(i / static_cast<std::size_t>(perPage) + 1) + ":";
        const auto& row = rows[i];
        out += ' ';
        out += !row      ? std::string("-")
               : run.ids ? std::to_string(keys[static_cast<std::size_t>(*row)])
                         : std::to_string(*row + 1);
    }
    return out + "\n";
}

const std::vector<std::string> kOrderValueOptions = {"side",     "per-page", "filter",
                                                     "password", "question", "answer"};

int order(const Args& a) {
    ParsedArgs args(a, kOrderValueOptions, {"ids"});
    tool::noExtraPositionals(args, 1);
    Run run;
    openRun(run, args);
    std::cout << pageLines(run, run.cards.visibleKeys());
    return 0;
}

QFont fontOption(const std::string& text) {
    const QString value = tool::argText(text);
    const qsizetype comma = value.lastIndexOf(u',');
    bool ok = false;
    const double points = comma > 0 ? value.mid(comma + 1).toDouble(&ok) : 0;
    if (!ok || points <= 0 || points > 200)
        throw ToolError("--font needs FAMILY,POINTS (for instance Arial,9)");
    QFont font(value.left(comma));
    font.setPointSizeF(points);
    return font;
}

int pdf(const Args& a) {
    std::vector<std::string> valueOptions = kOrderValueOptions;
    valueOptions.insert(valueOptions.end(), {"paper", "font"});
    ParsedArgs args(a, valueOptions, {"ids", "no-frame", "stretch", "no-fit", "left"});
    tool::noExtraPositionals(args, 2);
    const QString out = tool::argText(args.at(1, "OUT.pdf"));
    Run run;
    openRun(run, args);
    run.settings.paper = named(args, "paper", kPaperNames, report::Paper::A4);
    run.settings.frame = !args.flag("no-frame");
    run.settings.stretch = args.flag("stretch");
    run.settings.fit = !args.flag("no-fit");
    run.settings.centreText = !args.flag("left");
    if (const auto font = args.value("font"))
        run.settings.font = fontOption(*font);

    // The print table of this run lives in a folder of its own and goes with it.
    QTemporaryDir scratch;
    if (!scratch.isValid())
        throw ToolError("cannot create a temporary folder for the print table");
    table::Table printTable;
    printTable.setTableName(studyfile::createPrintTable(scratch.path()));
    printTable.open();
    const std::vector<qint64> keys = run.cards.visibleKeys();
    const studyfile::DesignOptions& design = run.studyFile.record.options;
    const printing::PrintSource source{design, design.packedContent(), run.studyFile.key};
    printing::fillPrintTable(printTable, run.cards, keys, run.side, run.settings.choices.perPage,
                             source);
    const report::Report report = printing::printReport(printTable, run.side, run.settings, source);

    // A damaged card refuses the whole file: nothing is written then.
    const report::RunResult result = printing::writePdf(report, out, {}, true);
    if (!result.failures.empty()) {
        const report::BandFailure& f = result.failures.front();
        const int perPage = run.settings.choices.perPage;
        const auto rows = printing::printRowOrder(static_cast<int>(keys.size()), run.side, perPage,
                                                  printing::columnsFor(perPage));
        const auto& row = rows[static_cast<std::size_t>(f.row)];
        const qint64 card = !row ? 0 : run.ids ? keys[static_cast<std::size_t>(*row)] : *row + 1;
        tool::refuse(QStringLiteral("card %1: %2").arg(card).arg(f.reason));
    }
    if (result.outcome != report::RunOutcome::Done)
        tool::refuse(result.error);
    std::cout << pageLines(run, keys);
    return 0;
}

const tool::RegisterGroup group{
    {"print",
     {{"order",
       "print order FILE.DB [--side questions|answers] [--per-page 3|4|5|6|8|10] [--filter EXPR]\n"
       "          [--question CHOICE] [--answer CHOICE] [--ids] [--password P]\n"
       "    the boxes of each page of a print run: the card's position in view (its AutoInc with\n"
       "    --ids) or - for an empty box\n",
       &order},
      {"pdf",
       "print pdf FILE.DB OUT.pdf [the options of order] [--paper a4|executive|letter|note]\n"
       "          [--question text|text-image|image]\n"
       "          [--answer text|image|long-text|text-image|image-long-text] [--no-frame]\n"
       "          [--stretch] [--no-fit] [--left] [--font FAMILY,POINTS]\n"
       "    draw the print run into OUT.pdf as the print screen does, then print its pages as\n"
       "    order does\n",
       &pdf}}}};

} // namespace
