// orbanel-tool import-text and import-text-images: a text file imported as the two text import
// screens import it, every line checked before any card is added; and export-text, the cards
// written as the imports read them back.
#include "exchange/text_export.h"
#include "exchange/text_import.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/table/table.h"
#include "platform/text_file.h"
#include "streams/qx_streams.h"
#include "studyfile/card_content.h"
#include "studyfile/design_record.h"
#include "studyfile/font_style.h"
#include "tool/open_study_file.h"
#include "tool/tool_command.h"

#include <QFileInfo>

#include <iostream>
#include <string>

namespace {

using tool::Args;
using tool::argText;
using tool::noExtraPositionals;
using tool::ParsedArgs;
using tool::printed;
using tool::refuse;
using tool::ToolError;

// --separator: one character, or the word "tab"; `fallback` when not given.
QChar separatorOption(const ParsedArgs& p, QChar fallback = u'#') {
    const auto v = p.value("separator");
    if (!v)
        return fallback;
    if (*v == "tab")
        return u'\t';
    const QString text = argText(*v);
    if (text.size() != 1)
        throw ToolError("--separator needs one character or \"tab\", got \"" + *v + "\"");
    return text[0];
}

// --level: one digit; "1" when not given.
QString levelOption(const ParsedArgs& p) {
    const auto v = p.value("level");
    if (!v)
        return QStringLiteral("1");
    if (v->size() != 1 || (*v)[0] < '0' || (*v)[0] > '9')
        throw ToolError("--level needs a level from 0 to 9, got \"" + *v + "\"");
    return argText(*v);
}

int importText(const Args& args, exchange::ImportMode mode) {
    const ParsedArgs p(args, {"separator", "level", "password", "font-style"});
    const std::string& studyFile = p.at(0, "FILE.DB");
    const std::string& textFile = p.at(1, "TEXT.txt");
    noExtraPositionals(p, 2);
    const QChar separator = separatorOption(p);
    const QString level = levelOption(p);
    studyfile::FontStyle style = studyfile::defaultFontStyle();
    if (auto v = p.value("font-style"))
        style = studyfile::readFontStyle(files::readWhole(argText(*v)));

    const tool::OpenStudyFile s = tool::openStudyFile(studyFile, p.value("password"));
    const studyfile::DesignOptions& design = s.record.options;
    const QString path = argText(textFile);
    QStringList lines;
    try {
        lines = textfile::readTextLines(path);
    } catch (const textfile::ETextFile& e) {
        refuse(e.text());
    }
    exchange::TextImportPlan plan;
    try {
        plan = exchange::planTextImport(lines, mode, separator, level, design,
                                        QFileInfo(path).absolutePath());
    } catch (const exchange::EImportRefused& e) {
        refuse(e.text());
    }
    for (const exchange::IgnoredPicture& ignored : plan.ignoredPictures)
        std::cerr << "warning: line " << ignored.line << ": picture " << printed(ignored.name)
                  << " ignored: the study file's cards have no "
                  << (ignored.question ? "question image" : "answer image") << "\n";

    streams::TQXStreams qxs;
    studyfile::configureContentContainer(qxs, design, s.key);
    table::Table t;
    tool::openCardTable(t, s);
    const int imported =
        exchange::runTextImport(t, qxs, design, design.packedContent(), plan,
                                platform::dateKey(platform::Clock::system().today()), style,
                                [](int line, const QString& name) {
                                    std::cerr << "warning: line " << line << ": "
                                              << printed(exchange::kPictureFailedMessage) << ": "
                                              << printed(name) << "\n";
                                });
    std::cout << printed(mode == exchange::ImportMode::Text
                             ? exchange::importedMessage(imported)
                             : exchange::importedWithFilesMessage(imported))
              << "\n";
    if (plan.cutTexts > 0)
        std::cerr << "warning: "
                  << printed(studyfile::oneLine(
                         exchange::cutTextsMessage(plan.cutTexts, plan.firstCutLine)))
                  << "\n";
    return 0;
}

int exportText(const Args& args) {
    const ParsedArgs p(args, {"password", "separator", "filter"}, {"with-files", "windows-1252"});
    const std::string& studyFile = p.at(0, "FILE.DB");
    const QString out = argText(p.at(1, "OUT.txt"));
    noExtraPositionals(p, 2);
    exchange::TextExportRequest request;
    request.separator = separatorOption(p, u'\t');
    request.withFiles = p.flag("with-files");
    request.windows1252 = p.flag("windows-1252");

    const tool::OpenStudyFile s = tool::openStudyFile(studyFile, p.value("password"));
    const studyfile::DesignOptions& design = s.record.options;
    if (!design.exportable)
        refuse(exchange::kNotExportableMessage);
    table::Table cards;
    if (const auto filter = p.value("filter")) {
        cards.setFilter(argText(*filter));
        cards.setFiltered(true);
    }
    tool::openCardTable(cards, s);
    streams::TQXStreams qxs;
    studyfile::configureContentContainer(qxs, design, s.key);
    exchange::TextExportResult result;
    try {
        result = exchange::exportText(cards, qxs, design, design.packedContent(), out, request);
    } catch (const exchange::EExportRefused& e) {
        refuse(e.text());
    }
    if (result.flattenedFields > 0)
        std::cerr << "warning: " << result.flattenedFields
                  << " fields held the separator or a line break; written with spaces\n";
    std::cout << "exported " << result.cards << " cards\n";
    return 0;
}

const tool::RegisterGroup exportTextCommand(
    {"export-text",
     {{"",
       "export-text FILE.DB OUT.txt [--separator C|tab] [--filter EXPR] [--with-files]\n"
       "            [--windows-1252] [--password P]\n"
       "    write every card (level 0 included, or those of EXPR) as one line of question,\n"
       "    answer, key and importance separated by C (a tab by default), in UTF-8; with\n"
       "    --with-files each line is followed by the files line of import-text-images and\n"
       "    the pictures and long answers are written beside OUT\n",
       &exportText}}});

const tool::RegisterGroup importTextCommand(
    {"import-text",
     {{"",
       "import-text FILE.DB TEXT.txt [--separator C|tab] [--level N] [--password P]\n"
       "            [--font-style F.stl]\n"
       "    import one card per line of a text file (question, answer, key, importance\n"
       "    separated by C, \"#\" by default) at level N (0..9, default 1), as the text import\n"
       "    screen does: every line checked before any card is added\n",
       [](const Args& args) { return importText(args, exchange::ImportMode::Text); }}}});

const tool::RegisterGroup importTextImagesCommand(
    {"import-text-images",
     {{"",
       "import-text-images FILE.DB TEXT.txt [--separator C|tab] [--level N] [--password P]\n"
       "                   [--font-style F.stl]\n"
       "    import one card per pair of lines: a text line as import-text reads it and a files\n"
       "    line naming the question picture, the answer picture and the long-answer file\n"
       "    (relative to the text file's folder, any letter case)\n",
       [](const Args& args) { return importText(args, exchange::ImportMode::TextAndFiles); }}}});

} // namespace
