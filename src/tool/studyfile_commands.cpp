// orbanel-tool studyfile: create study files, show their design record and their information
// numbers, add a card and read one back, count and promote level-0 cards, through the same code
// as the program's screens.
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/picture/picture.h"
#include "platform/picture/picture_files.h"
#include "platform/rtf/codepage.h"
#include "platform/rtf/rtf.h"
#include "platform/table/table.h"
#include "platform/volume.h"
#include "review/promotion.h"
#include "streams/corrupt_file.h"
#include "streams/memory_stream.h"
#include "streams/qx_streams.h"
#include "studyfile/card_content.h"
#include "studyfile/card_store.h"
#include "studyfile/creation.h"
#include "studyfile/design_record.h"
#include "studyfile/study_file_info.h"
#include "tool/open_study_file.h"
#include "tool/tool_command.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <iostream>
#include <string>

namespace {

using tool::Args;
using tool::argText;
using tool::noExtraPositionals;
using tool::OpenStudyFile;
using tool::openStudyFile;
using tool::ParsedArgs;
using tool::refuse;
using tool::ToolError;
using tool::wholeNumber;

QString yesNo(bool on) {
    return on ? QStringLiteral("yes") : QStringLiteral("no");
}

studyfile::DesignOptions optionsFrom(const ParsedArgs& p) {
    studyfile::DesignOptions o;
    if (auto v = p.value("question-size"))
        o.questionSize = wholeNumber("question-size", *v);
    if (auto v = p.value("answer-size"))
        o.shortAnswerSize = wholeNumber("answer-size", *v);
    if (p.flag("long-answer"))
        o.shortAnswerSize = 0;
    // Without a short answer text the answer is a long text, as unticking the short text does.
    o.longAnswerText = o.shortAnswerSize == 0;
    o.questionImage = p.flag("question-image");
    o.answerImage = p.flag("answer-image");
    o.cardKey = !p.flag("no-card-key");
    o.importanceLevel = p.flag("importance");
    o.compressed = p.flag("compressed");
    return o;
}

int create(const Args& args) {
    const ParsedArgs p(args, {"question-size", "answer-size", "password", "description-file"},
                       {"long-answer", "question-image", "answer-image", "no-card-key",
                        "importance", "compressed"});
    const QString target = argText(p.at(0, "DIR/N"));
    noExtraPositionals(p, 1);
    const int slash = target.lastIndexOf(QLatin1Char('/'));
    studyfile::CreationRequest r;
    r.datFolder = slash < 0 ? QStringLiteral(".") : target.left(slash);
    if (r.datFolder.isEmpty())
        r.datFolder = QStringLiteral("/");
    r.name = slash < 0 ? target : target.mid(slash + 1);
    if (!QFileInfo(r.datFolder).isDir())
        throw ToolError("no folder " + r.datFolder.toStdString());
    if (r.name.isEmpty())
        refuse(studyfile::kNoNameMessage);
    r.options = optionsFrom(p);
    r.description = studyfile::descriptionTemplate();
    if (auto f = p.value("description-file"))
        r.description = rtf::splitLines(QString::fromUtf8(files::readWhole(argText(*f))));
    if (auto pw = p.value("password")) {
        if (pw->empty())
            throw ToolError("--password needs a password that is not empty");
        r.password = argText(*pw);
    }
    try {
        studyfile::createStudyFile(r);
    } catch (const studyfile::CreationRefused& e) {
        refuse(e.text());
    }
    return 0;
}

int show(const Args& args) {
    const ParsedArgs p(args, {"password"});
    const std::string& file = p.at(0, "FILE.DB");
    noExtraPositionals(p, 1);
    const OpenStudyFile s = openStudyFile(file, p.value("password"));
    const studyfile::DesignOptions& o = s.record.options;
    QString out;
    out += QStringLiteral("question size: %1\n").arg(o.questionSize);
    out += QStringLiteral("short answer size: %1\n").arg(o.shortAnswerSize);
    out += QStringLiteral("question image: ") + yesNo(o.questionImage) + QLatin1Char('\n');
    out += QStringLiteral("answer image: ") + yesNo(o.answerImage) + QLatin1Char('\n');
    out += QStringLiteral("long answer text: ") + yesNo(o.longAnswerText) + QLatin1Char('\n');
    out += QStringLiteral("card key: ") + yesNo(o.cardKey) + QLatin1Char('\n');
    out += QStringLiteral("importance level: ") + yesNo(o.importanceLevel) + QLatin1Char('\n');
    out += QStringLiteral("compressed: ") + yesNo(o.compressed) + QLatin1Char('\n');
    out += QStringLiteral("enciphered: ") + yesNo(o.enciphered) + QLatin1Char('\n');
    out += QStringLiteral("modifiable: ") + yesNo(o.modifiable) + QLatin1Char('\n');
    out += QStringLiteral("exportable: ") + yesNo(o.exportable) + QLatin1Char('\n');
    out += QStringLiteral("printable: ") + yesNo(o.printable) + QLatin1Char('\n');
    out += QStringLiteral("description:\n");
    for (const QString& line : s.record.description)
        out += line + QLatin1Char('\n');
    std::cout << out.toStdString();
    return 0;
}

int info(const Args& args) {
    const ParsedArgs p(args, {"password"}, {"screen"});
    const std::string& file = p.at(0, "FILE.DB");
    noExtraPositionals(p, 1);
    const OpenStudyFile s = openStudyFile(file, p.value("password"));
    const studyfile::DesignOptions& design = s.record.options;
    table::Table t;
    tool::openCardTable(t, s);
    const studyfile::StudyFileCounts c = studyfile::countStudyFile(t, design.packedContent());

    QString out;
    if (p.flag("screen")) {
        // The study file name as the main screen derives it from the path it was given: the file
        // name without ".DB".
        const QString fileName = QFileInfo(tool::argText(file)).fileName();
        const QStringList texts = studyfile::infoScreenTexts(
            fileName.left(std::max<qsizetype>(0, fileName.size() - 3)), design, c);
        namespace at = studyfile::info_text;
        out += texts[at::kName] + QLatin1Char('\n');
        for (int row = 0; row < at::kGridRows; ++row)
            out += texts[at::grid(row, 0)] + QLatin1Char('\t') + texts[at::grid(row, 1)] +
                   QLatin1Char('\n');
        for (int i = at::kReviews; i < at::kCount; ++i)
            out += texts[i] + QLatin1Char('\n');
    } else {
        out += QStringLiteral("cards: %1\n").arg(c.total);
        out += QStringLiteral("level 0 cards: %1\n").arg(c.level0);
        out += QStringLiteral("packed cards: %1\n").arg(c.packed);
        out += QStringLiteral("plain cards: %1\n").arg(c.plain);
        out += QStringLiteral("total reviews: %1\n").arg(c.reviews);
        for (int line = 0; line < studyfile::kLevelLines; ++line) {
            const int n = c.levels[std::size_t(line)];
            out += QStringLiteral("level %1: %2 (%3 %)\n")
                       .arg(line < studyfile::kLevelLines - 1 ? QString::number(line)
                                                              : QStringLiteral("6+"))
                       .arg(n)
                       .arg(studyfile::levelPercentage(n, c.total));
        }
    }
    std::cout << tool::printed(out);
    return 0;
}

picture::Picture pictureFile(const std::string& file) {
    try {
        return picture::loadPictureFile(argText(file));
    } catch (const picture::PictureError& e) {
        throw ToolError("cannot read picture " + file + ": " + e.what());
    }
}

void requireDesign(bool has, const char* option, const char* what) {
    if (!has)
        throw ToolError(std::string("--") + option + ": the study file's cards have no " + what);
}

// The rich text of a long-answer file: an RTF document as it is, any other text as lines.
QByteArray longAnswerFile(const std::string& file) {
    const QByteArray bytes = files::readWhole(argText(file));
    return rtf::isRtf(bytes) ? bytes : rtf::writeLines(rtf::readLines(bytes));
}

// The parts of a card given as options (short answer, long-answer file, pictures, card key);
// each must be one the design has.
void readCardParts(const ParsedArgs& p, const studyfile::DesignOptions& design,
                   studyfile::CardEdit& c) {
    if (auto v = p.value("answer")) {
        requireDesign(design.shortAnswerSize > 0, "answer", "short answer text");
        c.shortAnswer = argText(*v);
    }
    if (auto v = p.value("long-answer-file")) {
        requireDesign(design.longAnswerText, "long-answer-file", "long answer text");
        c.longAnswerRtf = longAnswerFile(*v);
    }
    if (auto v = p.value("question-image")) {
        requireDesign(design.questionImage, "question-image", "question image");
        c.questionPicture = pictureFile(*v);
    }
    if (auto v = p.value("answer-image")) {
        requireDesign(design.answerImage, "answer-image", "answer image");
        c.answerPicture = pictureFile(*v);
    }
    if (auto v = p.value("card-key")) {
        requireDesign(design.cardKey, "card-key", "card key");
        c.cardKey = argText(*v);
    }
}

int addCard(const Args& args) {
    const ParsedArgs p(args, {"question", "answer", "long-answer-file", "question-image",
                              "answer-image", "card-key", "importance", "level", "password"});
    const std::string& file = p.at(0, "FILE.DB");
    noExtraPositionals(p, 1);
    const auto question = p.value("question");
    if (!question)
        throw ToolError("--question is required");
    const OpenStudyFile s = openStudyFile(file, p.value("password"));
    const studyfile::DesignOptions& design = s.record.options;

    studyfile::CardEdit c;
    c.question = argText(*question);
    readCardParts(p, design, c);
    if (auto v = p.value("importance")) {
        requireDesign(design.importanceLevel, "importance", "importance level");
        c.importance = wholeNumber("importance", *v);
    }
    if (auto v = p.value("level"))
        c.level = wholeNumber("level", *v);

    streams::TQXStreams qxs;
    studyfile::configureContentContainer(qxs, design, s.key);
    table::Table t;
    t.open(QFileInfo(s.table).path(), QFileInfo(s.table).fileName());
    const qint64 id = studyfile::storeCard(t, qxs, design, design.packedContent(), c, 0,
                                           platform::dateKey(platform::Clock::system().today()));
    std::cout << id << "\n";
    return 0;
}

int editCard(const Args& args) {
    const ParsedArgs p(args,
                       {"question", "answer", "long-answer-file", "question-image", "answer-image",
                        "card-key", "importance", "password"},
                       {"no-question-image", "no-answer-image"});
    const std::string& file = p.at(0, "FILE.DB");
    const std::string& idText = p.at(1, "AUTOINC");
    noExtraPositionals(p, 2);
    const int id = wholeNumber("AUTOINC", idText);
    for (const char* part : {"question", "answer"}) {
        const std::string option = std::string(part) + "-image";
        if (p.value(option) && p.flag("no-" + option))
            throw ToolError("--" + option + " and --no-" + option + " exclude each other");
    }
    const OpenStudyFile s = openStudyFile(file, p.value("password"));
    const studyfile::DesignOptions& design = s.record.options;
    if (!design.modifiable)
        refuse(studyfile::kNotModifiableMessage);
    table::Table t;
    t.open(QFileInfo(s.table).path(), QFileInfo(s.table).fileName());
    if (!t.locateKey(id))
        throw ToolError("no card with AutoInc " + idText);

    // Every part not given keeps what is stored.
    studyfile::CardEdit c;
    c.question = t.fieldByName(QStringLiteral("Preg_Text")).asString();
    c.cardKey = t.fieldByName(QStringLiteral("Clav_Fich")).asString();
    if (auto v = p.value("question"))
        c.question = argText(*v);
    readCardParts(p, design, c);
    if (p.flag("no-question-image")) {
        requireDesign(design.questionImage, "no-question-image", "question image");
        c.questionPicture = picture::Picture();
    }
    if (p.flag("no-answer-image")) {
        requireDesign(design.answerImage, "no-answer-image", "answer image");
        c.answerPicture = picture::Picture();
    }
    if (auto v = p.value("importance")) {
        requireDesign(design.importanceLevel, "importance", "importance level");
        const std::optional<int> importance = studyfile::readImportance(argText(*v));
        if (!importance || v->empty())
            throw ToolError("--importance needs a whole number up to 32767");
        c.importance = *importance;
    }

    streams::TQXStreams qxs;
    studyfile::configureContentContainer(qxs, design, s.key);
    studyfile::storeCard(t, qxs, design, design.packedContent(), c, id,
                         platform::dateKey(platform::Clock::system().today()));
    t.locateKey(id);
    std::cout << id << " "
              << t.fieldByName(QStringLiteral("Ficha_Comp_Encr")).asString().toStdString() << "\n";
    return 0;
}

QString extensionOf(const QString& kind) {
    const QString k = kind.trimmed();
    if (k == QLatin1String("BMP"))
        return QStringLiteral("bmp");
    if (k == QLatin1String("JPG"))
        return QStringLiteral("jpg");
    return QString();
}

int card(const Args& args) {
    const ParsedArgs p(args, {"password", "out"});
    const std::string& file = p.at(0, "FILE.DB");
    const std::string& idText = p.at(1, "AUTOINC");
    noExtraPositionals(p, 2);
    const int id = wholeNumber("AUTOINC", idText);
    const OpenStudyFile s = openStudyFile(file, p.value("password"));
    const studyfile::DesignOptions& design = s.record.options;
    table::Table t;
    t.open(QFileInfo(s.table).path(), QFileInfo(s.table).fileName());
    if (!t.locateKey(id))
        throw ToolError("no card with AutoInc " + idText);

    streams::TQXStreams qxs;
    studyfile::configureContentContainer(qxs, design, s.key);
    const bool packed = studyfile::cardIsPacked(
        t.fieldByName(QStringLiteral("Ficha_Comp_Encr")).asString(), design.packedContent());
    const auto plainField = [&](const char* name) {
        QByteArray bytes = t.fieldByName(QLatin1String(name)).asBytes();
        if (packed && !bytes.isEmpty()) {
            try {
                bytes = studyfile::unpackContent(qxs, bytes);
            } catch (const streams::CorruptFile&) {
                refuse(studyfile::kDamagedMessage);
            }
        }
        return bytes;
    };

    QString out;
    for (const table::FieldDef& def : t.fieldDefs()) {
        if (def.type == table::FieldType::Blob)
            continue;
        out += def.name + QStringLiteral(": ") + t.fieldByName(def.name).asString() +
               QLatin1Char('\n');
    }
    const QString shortAnswer = design.shortAnswerSize > 0
                                    ? studyfile::shortAnswerText(plainField("Resp_Text"))
                                    : QString();
    out += QStringLiteral("short answer: ") + shortAnswer + QLatin1Char('\n');

    if (auto dir = p.value("out")) {
        const QDir outDir(argText(*dir));
        if (!outDir.exists())
            throw ToolError("no folder " + *dir);
        const QString questionExt =
            extensionOf(t.fieldByName(QStringLiteral("Tipo_Preg_Imag")).asString());
        const QByteArray questionBytes =
            questionExt.isEmpty() ? QByteArray() : plainField("Preg_Imag");
        const QString answerExt =
            extensionOf(t.fieldByName(QStringLiteral("Tipo_Resp_Imag")).asString());
        const QByteArray answerBytes = answerExt.isEmpty() ? QByteArray() : plainField("Resp_Imag");
        const QByteArray memo = design.longAnswerText ? plainField("Resp_Memo") : QByteArray();
        if (!questionBytes.isEmpty())
            files::writeWhole(outDir.filePath(QStringLiteral("question.") + questionExt),
                              questionBytes);
        if (!answerBytes.isEmpty())
            files::writeWhole(outDir.filePath(QStringLiteral("answer.") + answerExt), answerBytes);
        if (!memo.isEmpty())
            files::writeWhole(outDir.filePath(QStringLiteral("long-answer.rtf")), memo);
    }
    std::cout << out.toStdString();
    return 0;
}

// The condition of promote and level0: "--importance OP N" or "--key OP TEXT". Both take two
// words, so they are taken out of the arguments before the rest is parsed; a key may then be any
// text, one that begins with "--" included.
struct ConditionArgs {
    Args rest;
    std::optional<std::string> kind; // "importance" or "key"
    std::string op;
    std::string operand;
};

ConditionArgs takeCondition(const Args& args) {
    ConditionArgs c;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a != "--importance" && a != "--key") {
            c.rest.push_back(a);
            continue;
        }
        const std::string kind = a.substr(2);
        if (c.kind)
            throw ToolError("give only one of --importance, --key");
        if (i + 2 >= args.size())
            throw ToolError("option --" + kind + " needs OP and " + (kind == "key" ? "TEXT" : "N"));
        c.kind = kind;
        c.op = args[i + 1];
        c.operand = args[i + 2];
        i += 2;
    }
    return c;
}

// A number as the promotion screen's digit fields take it: 1 to maxDigits digits.
int digitsNumber(const std::string& option, const std::string& text, int maxDigits) {
    const std::optional<int> n = review::digitsNumber(argText(text), maxDigits);
    if (!n)
        throw ToolError("--" + option + " needs a whole number of at most " +
                        std::to_string(maxDigits) + " digits, got \"" + text + "\"");
    return *n;
}

// The level-0 filter of a condition: "--importance >= 3" or "--key = verbos".
QString conditionFilter(const ConditionArgs& c) {
    const auto comparison = review::comparisonFromOperator(argText(c.op));
    if (!comparison)
        throw ToolError("--" + *c.kind + ": OP must be one of =, >, >=, <, <=, got \"" + c.op +
                        "\"");
    if (*c.kind == "importance")
        return review::importanceCondition(*comparison, digitsNumber("importance", c.operand, 6));
    return review::keyCondition(*comparison, argText(c.operand));
}

// Only the card table is opened: promotion needs neither the design record nor the password.
void openCardTable(table::Table& t, const std::string& file) {
    const QString path = files::findPathNoCase(argText(file));
    if (path.isEmpty())
        throw ToolError("no study file " + file);
    t.open(QFileInfo(path).path(), QFileInfo(path).fileName());
}

std::vector<qint64> cardList(const std::string& text) {
    std::vector<qint64> keys;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        const std::string item = text.substr(start, comma - start);
        const bool digits =
            !item.empty() && item.size() <= 18 &&
            std::all_of(item.begin(), item.end(), [](char c) { return c >= '0' && c <= '9'; });
        if (!digits)
            throw ToolError("--cards needs AutoInc values separated by commas, got \"" + text +
                            "\"");
        keys.push_back(std::stoll(item));
        if (comma == std::string::npos)
            return keys;
        start = comma + 1;
    }
}

int promote(const Args& args) {
    const ConditionArgs c = takeCondition(args);
    const ParsedArgs p(c.rest, {"count", "cards", "limit"});
    const std::string& file = p.at(0, "FILE.DB");
    noExtraPositionals(p, 1);
    const auto count = p.value("count");
    const auto cards = p.value("cards");
    if (int(count.has_value()) + int(cards.has_value()) + int(c.kind.has_value()) != 1)
        throw ToolError("give exactly one of --count, --cards, --importance, --key");
    const auto limitText = p.value("limit");
    if (limitText && !c.kind)
        throw ToolError("--limit needs --importance or --key");

    // Every argument is checked before the table is opened, and every listed card before any
    // change.
    std::optional<int> n;
    std::vector<qint64> keys;
    QString condition;
    std::optional<int> limit;
    if (count)
        n = digitsNumber("count", *count, 3);
    if (cards)
        keys = cardList(*cards);
    if (c.kind)
        condition = conditionFilter(c);
    if (limitText)
        limit = digitsNumber("limit", *limitText, 3);

    table::Table t;
    openCardTable(t, file);
    std::optional<int> promoted;
    if (n) {
        promoted = review::promoteByCount(t, *n);
        if (!promoted)
            refuse(review::kNotEnoughLevel0Message);
    } else if (cards) {
        if (const auto missing = review::firstNotAtLevel0(t, keys))
            throw ToolError("no level-0 card with AutoInc " + std::to_string(*missing));
        promoted = review::promoteCards(t, keys);
    } else {
        promoted = review::promoteByCondition(t, condition, limit);
    }
    std::cout << tool::printed(review::promotedMessage(*promoted)) << "\n";
    return 0;
}

int level0(const Args& args) {
    const ConditionArgs c = takeCondition(args);
    const ParsedArgs p(c.rest, {});
    const std::string& file = p.at(0, "FILE.DB");
    noExtraPositionals(p, 1);
    const QString condition = c.kind ? conditionFilter(c) : review::kLevel0Filter;
    table::Table t;
    openCardTable(t, file);
    std::cout << review::countLevel0(t, condition) << "\n";
    return 0;
}

const tool::RegisterGroup reg(
    {"studyfile",
     {{"create",
       "studyfile create DIR/N [--question-size N] [--answer-size N] [--long-answer]\n"
       "          [--question-image] [--answer-image] [--no-card-key] [--importance] "
       "[--compressed]\n"
       "          [--password P] [--description-file F]\n"
       "    create the study file N in DIR (design record and empty card table) as the creation\n"
       "    screen does (question 60, short answer 100, card key on by default); --password\n"
       "    enciphers it; the description is the screen's template or the lines of F (UTF-8)\n",
       &create},
      {"show",
       "studyfile show FILE.DB [--password P]\n"
       "    print the design options and the description of a study file\n",
       &show},
      {"info",
       "studyfile info FILE.DB [--password P] [--screen]\n"
       "    print the card counts of the information screen: every card, level 0, packed and\n"
       "    plain cards, the reviews made and the cards of each level with their share; with\n"
       "    --screen, every text of that screen (grid rows as column 0, TAB, column 1)\n",
       &info},
      {"add-card",
       "studyfile add-card FILE.DB --question Q [--answer A] [--long-answer-file F.rtf]\n"
       "          [--question-image F] [--answer-image F] [--card-key K] [--importance N]\n"
       "          [--level L] [--password P]\n"
       "    store one new card as the card editor's add mode does and print its AutoInc\n",
       &addCard},
      {"edit-card",
       "studyfile edit-card FILE.DB AUTOINC [--question Q] [--answer A] [--long-answer-file F]\n"
       "          [--question-image F | --no-question-image]\n"
       "          [--answer-image F | --no-answer-image] [--card-key K] [--importance N]\n"
       "          [--password P]\n"
       "    change one card as the card editor does: the parts given change, every other part\n"
       "    keeps its stored bytes; print its AutoInc and packing state (S or N)\n",
       &editCard},
      {"card",
       "studyfile card FILE.DB AUTOINC [--password P] [--out DIR]\n"
       "    print a card's fields and short answer; --out writes its pictures and long answer\n",
       &card},
      {"promote",
       "studyfile promote FILE.DB --count N\n"
       "studyfile promote FILE.DB --cards ID[,ID...]\n"
       "studyfile promote FILE.DB --importance OP N [--limit M]\n"
       "studyfile promote FILE.DB --key OP TEXT [--limit M]\n"
       "    move level-0 cards to level 1 as the promotion screen does (OP: =, >, >=, <, <=):\n"
       "    the first N in table order, the listed cards, or those meeting the condition (at\n"
       "    most M); only the card table is opened\n",
       &promote},
      {"level0",
       "studyfile level0 FILE.DB [--importance OP N | --key OP TEXT]\n"
       "    print the number of level-0 cards (meeting the condition)\n",
       &level0}}});

} // namespace
