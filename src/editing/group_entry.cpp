#include "editing/group_entry.h"

#include "platform/table/table.h"
#include "platform/text_file.h"
#include "studyfile/card_line.h"

namespace editing {

namespace {

// The size of Clav_Fich.
constexpr int kKeySize = 15;

const QString kNothingStored = QStringLiteral("\r\rNo se ha guardado ninguna ficha.");

// The cell's text when it holds more than blanks, else the shared one's, else nothing.
QString cellOrShared(const QString& cell, const QString& shared) {
    if (!studyfile::isBlank(cell))
        return cell;
    if (!studyfile::isBlank(shared))
        return shared;
    return QString();
}

GroupProblem cellProblem(int row, int column, const QString& message) {
    GroupProblem p;
    p.place = GroupProblem::Place::Cell;
    p.row = row;
    p.column = column;
    p.message = message;
    return p;
}

GroupProblem boxProblem(GroupProblem::Place place, int row, const QString& message) {
    GroupProblem p;
    p.place = place;
    p.row = row;
    p.message = message;
    return p;
}

// The level of the level box: one digit, blanks around it trimmed.
std::optional<int> sharedLevel(const QString& text) {
    const QString t = text.trimmed();
    if (t.size() != 1 || t[0] < u'0' || t[0] > u'9')
        return std::nullopt;
    return t[0].unicode() - u'0';
}

} // namespace

bool GroupRow::inUse() const {
    return !studyfile::isBlank(question) || !studyfile::isBlank(answer);
}

QString groupImportanceMessage(int row, const QString& text) {
    return QStringLiteral("Fila %1: el nivel de importancia «%2» no es un número entero entre "
                          "-32768 y 32767.")
               .arg(row)
               .arg(text) +
           kNothingStored;
}

QString groupQuestionMessage(int row, int length, int size) {
    return QStringLiteral("Fila %1: la pregunta tiene %2 caracteres y en este Fichero de Estudio "
                          "caben %3.")
               .arg(row)
               .arg(length)
               .arg(size) +
           kNothingStored;
}

QString groupKeyMessage(int row, int length) {
    return QStringLiteral("Fila %1: la clave tiene %2 caracteres y caben %3.")
               .arg(row)
               .arg(length)
               .arg(kKeySize) +
           kNothingStored;
}

QString groupAmpersandMessage(int row) {
    return QStringLiteral("Fila %1: el carácter & no puede ir en el archivo, porque separa los "
                          "datos de cada ficha.\r\rNo se ha guardado el archivo.")
        .arg(row);
}

QString groupCreatedMessage(int count) {
    return QStringLiteral("Se han creado %1 fichas.").arg(count);
}

QString groupFileSavedMessage(int count) {
    return QStringLiteral("Se ha guardado el archivo con %1 fichas.").arg(count);
}

QString groupTooManyLinesMessage(qsizetype lines) {
    return QStringLiteral(
               "El archivo tiene %1 líneas y solo caben %2 fichas: se han leído las %2 primeras.")
        .arg(lines)
        .arg(kGroupRows);
}

std::optional<GroupProblem> checkGroupRows(const GroupRows& rows, const GroupShared& shared,
                                           const studyfile::DesignOptions& design) {
    if (!sharedLevel(shared.level))
        return boxProblem(GroupProblem::Place::LevelBox, -1, kGroupLevelMessage);
    for (int r = 0; r < int(rows.size()); ++r) {
        const GroupRow& row = rows[r];
        if (!row.inUse())
            continue;
        if (design.importanceLevel) {
            const bool own = !studyfile::isBlank(row.importance);
            const QString& text = own ? row.importance : shared.importance;
            if (studyfile::parseImportance(text).kind ==
                studyfile::ImportanceValue::Kind::Invalid) {
                const QString message = groupImportanceMessage(r + 1, text);
                return own ? cellProblem(r, kImportanceColumn, message)
                           : boxProblem(GroupProblem::Place::SharedImportance, r, message);
            }
        }
        if (row.question.size() > design.questionSize)
            return cellProblem(
                r, kQuestionColumn,
                groupQuestionMessage(r + 1, int(row.question.size()), design.questionSize));
        if (design.cardKey) {
            const bool own = !studyfile::isBlank(row.key);
            const QString key = cellOrShared(row.key, shared.cardKey);
            if (key.size() > kKeySize) {
                const QString message = groupKeyMessage(r + 1, int(key.size()));
                return own ? cellProblem(r, kKeyColumn, message)
                           : boxProblem(GroupProblem::Place::SharedKey, r, message);
            }
        }
    }
    return std::nullopt;
}

studyfile::ListedCard groupCard(const GroupRow& row, const GroupShared& shared,
                                const studyfile::DesignOptions& design) {
    studyfile::ListedCard card;
    card.level = sharedLevel(shared.level).value_or(1);
    if (design.importanceLevel) {
        const studyfile::ImportanceValue v =
            studyfile::parseImportance(cellOrShared(row.importance, shared.importance));
        if (v.kind == studyfile::ImportanceValue::Kind::Number)
            card.importance = v.value;
    }
    if (design.cardKey)
        card.cardKey = cellOrShared(row.key, shared.cardKey);
    card.question = row.question;
    card.answer = row.answer;
    return card;
}

int storeGroupRows(table::Table& cards, streams::TQXStreams& qxs,
                   const studyfile::DesignOptions& design, bool packedContent,
                   const GroupRows& rows, const GroupShared& shared, const QString& todayKey,
                   const studyfile::FontStyle& fontStyle,
                   const std::function<void(int row)>& posted) {
    if (const auto problem = checkGroupRows(rows, shared, design))
        throw GroupRefused(*problem);
    // The rows posted, with their cards' keys: they are told only once the cards are stored for
    // good, so that a screen empties no row whose card a failed commit took back.
    std::vector<std::pair<int, qint64>> done;
    // Every post in one transaction, committed also when an error ends the loop; the card
    // content loader runs once at the end, not once per card.
    const table::ScrollEventsPaused paused(cards);
    try {
        const table::BatchScope batch(cards);
        for (int r = 0; r < int(rows.size()); ++r) {
            if (!rows[r].inUse())
                continue;
            studyfile::appendListedCard(cards, qxs, design, packedContent,
                                        groupCard(rows[r], shared, design), todayKey, fontStyle);
            done.emplace_back(r, cards.lastPostedKey());
        }
    } catch (...) {
        // What the error left: the cards posted before it when their transaction was committed,
        // none when the commit failed or the database took the whole transaction back.
        if (posted) {
            for (const auto& [row, key] : done) {
                bool kept = false;
                try {
                    kept = cards.countMatching(QStringLiteral("AutoInc = %1").arg(key)) > 0;
                } catch (...) {
                    kept = false; // unknown: keep the row's text rather than lose it
                }
                if (kept)
                    posted(row);
            }
        }
        throw;
    }
    if (posted)
        for (const auto& [row, key] : done)
            posted(row);
    return int(done.size());
}

GroupFileText groupFileLines(const GroupRows& rows, const GroupShared& shared) {
    GroupFileText text;
    const QString sharedImportance = shared.importance.leftJustified(4, u' ');
    for (int r = 0; r < int(rows.size()); ++r) {
        const GroupRow& row = rows[r];
        if (!row.inUse())
            continue;
        const bool ownKey = !studyfile::isBlank(row.key);
        const bool ownImportance = !studyfile::isBlank(row.importance);
        const QString key = ownKey ? row.key : shared.cardKey;
        const QString importance = ownImportance ? row.importance : sharedImportance;
        const auto refuse = [&](GroupProblem problem) {
            text.lines.clear();
            text.problem = std::move(problem);
            return text;
        };
        const QString message = groupAmpersandMessage(r + 1);
        if (row.question.contains(kGroupSeparator))
            return refuse(cellProblem(r, kQuestionColumn, message));
        if (row.answer.contains(kGroupSeparator))
            return refuse(cellProblem(r, kAnswerColumn, message));
        if (key.contains(kGroupSeparator))
            return refuse(ownKey ? cellProblem(r, kKeyColumn, message)
                                 : boxProblem(GroupProblem::Place::SharedKey, r, message));
        if (importance.contains(kGroupSeparator))
            return refuse(ownImportance
                              ? cellProblem(r, kImportanceColumn, message)
                              : boxProblem(GroupProblem::Place::SharedImportance, r, message));
        const QChar s(kGroupSeparator);
        text.lines.append(row.question + s + row.answer + s + key + s + importance);
    }
    return text;
}

GroupFileRows groupRowsFromLines(const QStringList& lines) {
    GroupFileRows read;
    read.lineCount = lines.size();
    const qsizetype used = std::min<qsizetype>(lines.size(), kGroupRows);
    read.rows.reserve(used);
    for (qsizetype i = 0; i < used; ++i) {
        const studyfile::CardLine c = studyfile::splitCardLine(lines[i], QChar(kGroupSeparator));
        read.rows.push_back({c.question, c.answer, c.key, c.importance});
    }
    return read;
}

GroupFileRows readGroupFile(const QString& path) {
    return groupRowsFromLines(textfile::readTextLines(path));
}

void writeGroupFile(const QString& path, const QStringList& lines) {
    textfile::writeTextLines(path, lines);
}

} // namespace editing
