#include "exchange/text_import.h"

#include "platform/files.h"
#include "platform/picture/picture.h"
#include "platform/table/table.h"
#include "studyfile/card_line.h"
#include "studyfile/card_table.h"
#include "studyfile/listed_card.h"

#include <QFileInfo>

namespace exchange {

namespace {

const QString kNothingImported = QStringLiteral("\r\rNo se ha importado ninguna ficha.");

// The three names of a files line: the text before the first separator, between the first and
// the second, and after the second. Missing fields are empty.
struct FilesLine {
    QString question;
    QString answer;
    QString longAnswer;
};

FilesLine splitFilesLine(const QString& line, QChar separator) {
    FilesLine f;
    const qsizetype first = line.indexOf(separator);
    if (first < 0) {
        f.question = line;
        return f;
    }
    f.question = line.left(first);
    const qsizetype second = line.indexOf(separator, first + 1);
    if (second < 0) {
        f.answer = line.mid(first + 1);
        return f;
    }
    f.answer = line.mid(first + 1, second - first - 1);
    f.longAnswer = line.mid(second + 1);
    return f;
}

// A long-answer file that can be stored: regular, readable and not too large.
bool readableFile(const QString& path) {
    const QFileInfo info(path);
    return info.isFile() && info.isReadable() && info.size() <= kMaxImportFileSize;
}

// The card that a text line gives, with the design's choice of fields.
PlannedCard plannedCard(const QString& text, int line, QChar separator,
                        const studyfile::DesignOptions& design) {
    const studyfile::CardLine c = studyfile::splitCardLine(text, separator);
    PlannedCard card;
    card.line = line;
    card.question = c.question;
    card.answer = c.answer;
    if (design.cardKey)
        card.cardKey = c.key;
    if (design.importanceLevel) {
        const studyfile::ImportanceValue v = studyfile::parseImportance(c.importance);
        if (v.kind == studyfile::ImportanceValue::Kind::Invalid)
            throw EImportRefused(importanceRefusal(line, c.importance), line);
        card.importance = v.kind == studyfile::ImportanceValue::Kind::Number ? v.value : 0;
    }
    return card;
}

// The files of a files line that the design has places for.
void planFiles(PlannedCard& card, TextImportPlan& plan, const QString& text, int line,
               QChar separator, const studyfile::DesignOptions& design,
               files::RelativeNameResolver& names) {
    card.filesLine = line;
    const FilesLine given = splitFilesLine(text, separator);
    const auto picture = [&](const QString& written, bool designHas, bool question,
                             std::optional<PlannedFile>& planned) {
        const QString name = written.trimmed();
        if (name.isEmpty())
            return;
        if (!designHas) {
            plan.ignoredPictures.push_back({line, name, question});
            return;
        }
        planned = PlannedFile{name, names.resolve(name)};
    };
    picture(given.question, design.questionImage, true, card.questionPicture);
    picture(given.answer, design.answerImage, false, card.answerPicture);
    const QString longAnswer = given.longAnswer.trimmed();
    if (design.longAnswerText && !longAnswer.isEmpty()) {
        const QString path = names.resolve(longAnswer);
        if (path.isEmpty() || !readableFile(path))
            throw EImportRefused(longAnswerRefusal(line, longAnswer), line);
        card.longAnswerPath = path;
    }
}

// Counts the texts of a card that the table will cut.
void countCuts(TextImportPlan& plan, const PlannedCard& card,
               const studyfile::DesignOptions& design) {
    int cut = 0;
    if (card.question.size() > design.questionSize)
        ++cut;
    if (design.cardKey && card.cardKey.size() > studyfile::kCardKeySize)
        ++cut;
    if (cut == 0)
        return;
    if (plan.cutTexts == 0)
        plan.firstCutLine = card.line;
    plan.cutTexts += cut;
}

// The bytes and kind of a picture file, or nothing when it cannot be stored as a picture.
std::optional<studyfile::ListedPicture> readPicture(const QString& path) {
    if (path.isEmpty())
        return std::nullopt;
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > kMaxImportFileSize)
        return std::nullopt;
    QByteArray bytes;
    try {
        bytes = files::readWhole(path);
    } catch (const files::FileError&) {
        return std::nullopt;
    }
    switch (picture::Picture::kindOfData(bytes)) {
    case picture::Picture::Kind::Jpeg:
        return studyfile::ListedPicture{bytes, QStringLiteral("JPG")};
    case picture::Picture::Kind::Bitmap:
        return studyfile::ListedPicture{bytes, QStringLiteral("BMP")};
    case picture::Picture::Kind::Empty:
        break;
    }
    return std::nullopt;
}

QString importedBeforeError(int count) {
    return QStringLiteral("\r\rSe han importado %1 fichas antes del error.").arg(count);
}

} // namespace

QString importanceRefusal(int line, const QString& text) {
    return QStringLiteral("Línea %1: el nivel de importancia «%2» no es un número entero entre "
                          "-32768 y 32767.")
               .arg(line)
               .arg(text) +
           kNothingImported;
}

QString longAnswerRefusal(int line, const QString& name) {
    return QStringLiteral("Línea %1: no se puede leer el archivo de texto largo «%2».")
               .arg(line)
               .arg(name) +
           kNothingImported;
}

QString importedMessage(int count) {
    return QStringLiteral("Se han importado %1 fichas.").arg(count);
}

QString importedWithFilesMessage(int count) {
    return QStringLiteral("Se han importado %1 Fichas.").arg(count);
}

QString cutTextsMessage(int count, int firstLine) {
    return QStringLiteral("%1 textos eran más largos que su apartado y se han cortado (el primero, "
                          "en la línea %2).")
        .arg(count)
        .arg(firstLine);
}

TextImportPlan planTextImport(const QStringList& lines, ImportMode mode, QChar separator,
                              const QString& levelText, const studyfile::DesignOptions& design,
                              const QString& folder) {
    if (separator.isNull())
        throw EImportRefused(kNoSeparatorMessage, 0);
    const QString level = levelText.trimmed();
    if (level.size() != 1 || level[0] < u'0' || level[0] > u'9')
        throw EImportRefused(kNoLevelMessage, 0);
    TextImportPlan plan;
    plan.level = level[0].unicode() - u'0';
    // The names of a file are resolved against the folder read once, not once per name.
    files::RelativeNameResolver names(folder);
    const qsizetype step = mode == ImportMode::Text ? 1 : 2;
    for (qsizetype i = 0; i < lines.size(); i += step) {
        const bool unpaired = mode == ImportMode::TextAndFiles && i + 1 == lines.size();
        // An editor's trailing blank line is no card.
        if (unpaired && studyfile::isBlank(lines[i]))
            break;
        PlannedCard card = plannedCard(lines[i], int(i + 1), separator, design);
        if (mode == ImportMode::TextAndFiles && !unpaired)
            planFiles(card, plan, lines[i + 1], int(i + 2), separator, design, names);
        countCuts(plan, card, design);
        plan.cards.push_back(std::move(card));
    }
    return plan;
}

int runTextImport(table::Table& cards, streams::TQXStreams& qxs,
                  const studyfile::DesignOptions& design, bool packedContent,
                  const TextImportPlan& plan, const QString& todayKey,
                  const studyfile::FontStyle& fontStyle,
                  const std::function<void(int line, const QString& name)>& pictureFailed) {
    int posted = 0;
    try {
        // Every post in one transaction, committed also when an error ends the loop; the card
        // content loader runs once at the end, not once per card.
        const table::ScrollEventsPaused paused(cards);
        const table::BatchScope batch(cards);
        for (const PlannedCard& planned : plan.cards) {
            studyfile::ListedCard card;
            card.level = plan.level;
            card.importance = planned.importance;
            card.cardKey = planned.cardKey;
            card.question = planned.question;
            card.answer = planned.answer;
            const auto picture = [&](const std::optional<PlannedFile>& file,
                                     std::optional<studyfile::ListedPicture>& into) {
                if (!file)
                    return;
                into = readPicture(file->path);
                if (!into && pictureFailed)
                    pictureFailed(planned.filesLine, file->name);
            };
            picture(planned.questionPicture, card.questionPicture);
            picture(planned.answerPicture, card.answerPicture);
            if (planned.longAnswerPath)
                card.longAnswerRtf = files::readWhole(*planned.longAnswerPath);
            studyfile::appendListedCard(cards, qxs, design, packedContent, card, todayKey,
                                        fontStyle);
            ++posted;
        }
    } catch (const table::EngineError& e) {
        throw table::EngineError(e.text() + importedBeforeError(posted));
    } catch (const files::FileError& e) {
        throw files::FileError(e.text() + importedBeforeError(posted), e.reason());
    }
    return posted;
}

} // namespace exchange
