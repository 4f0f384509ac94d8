// Group entry: up to 98 short cards typed in a grid, one card a row, with three values
// shared by every row (level, key, importance); the checks every row passes before any card is
// stored, the storing of all of them in one transaction, and the group text file (one card a line,
// four fields separated by "&") that the grid is written to and read from. The screen and
// orbanel-tool both work through these.
#pragma once

#include "platform/error.h"
#include "studyfile/design_record.h"
#include "studyfile/font_style.h"
#include "studyfile/listed_card.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace streams {
class TQXStreams;
}

namespace table {
class Table;
}

namespace editing {

// Rows of the grid, and the separator of the group text file.
constexpr int kGroupRows = 98;
inline constexpr char16_t kGroupSeparator = u'&';

// Columns of the grid.
enum GroupColumn { kQuestionColumn = 0, kAnswerColumn = 1, kKeyColumn = 2, kImportanceColumn = 3 };

// One row of the grid: its four cells as typed.
struct GroupRow {
    QString question;
    QString answer;
    QString key;
    QString importance;
    // A row is in use when its question or its answer holds something other than blanks.
    bool inUse() const;
    bool isEmpty() const {
        return question.isEmpty() && answer.isEmpty() && key.isEmpty() && importance.isEmpty();
    }
    bool operator==(const GroupRow&) const = default;
};
using GroupRows = std::vector<GroupRow>;

// The values shared by every row: "Nivel en el fichero:", "Clave ficha:", "Nivel Importancia:".
struct GroupShared {
    QString level = QStringLiteral("1");
    QString cardKey;
    QString importance;
};

// Messages.
inline const QString kGroupLevelMessage =
    QStringLiteral("Escriba el nivel de las fichas (de 0 a 9) en «Nivel en el fichero:».");
QString groupImportanceMessage(int row, const QString& text); // row from 1
QString groupQuestionMessage(int row, int length, int size);
QString groupKeyMessage(int row, int length);
QString groupAmpersandMessage(int row);
QString groupCreatedMessage(int count);   // "Se han creado %d fichas."
QString groupFileSavedMessage(int count); // "Se ha guardado el archivo con %d fichas."
inline const QString kGroupNoCardsToSaveMessage =
    QStringLiteral("No se ha guardado el archivo porque no hay fichas.");
inline const QString kGroupFileNotSavedMessage = QStringLiteral("No se ha guardado el archivo.");
QString groupTooManyLinesMessage(qsizetype lines);

// Where a refused row or value is, so that the screen can put the focus there.
struct GroupProblem {
    enum class Place { LevelBox, SharedKey, SharedImportance, Cell };
    Place place = Place::Cell;
    int row = -1;    // 0-based grid row (Cell)
    int column = -1; // GroupColumn (Cell)
    QString message;
};

// The checks before storing, over the rows in use in row order: the level box empty or not a
// digit; then, for each row, an importance (the cell's, or the shared one when the cell is blank)
// that is no whole number in -32768..32767 (when the design uses the importance level), a question
// longer than the question size, a key (the cell's, or the shared one) longer than 15 characters
// (when the design uses the card key). Lengths are counted as the table counts them. The first
// problem found, or nothing.
std::optional<GroupProblem> checkGroupRows(const GroupRows& rows, const GroupShared& shared,
                                           const studyfile::DesignOptions& design);

// The card a row in use gives: the shared level; the importance and key of the cell, or the
// shared ones when the cell is blank (none when both are blank). Expects checked rows.
studyfile::ListedCard groupCard(const GroupRow& row, const GroupShared& shared,
                                const studyfile::DesignOptions& design);

// A refusal of checkGroupRows met by storeGroupRows.
class GroupRefused : public platform::Error {
public:
    explicit GroupRefused(GroupProblem problem)
        : Error(problem.message), problem_(std::move(problem)) {}
    const GroupProblem& problem() const { return problem_; }

private:
    GroupProblem problem_;
};

// Checks the rows (GroupRefused, nothing stored, when a check fails), then appends and posts one
// card per row in use, top to bottom, through writeListedCard, in one transaction and with the
// table's scroll events held back until the end. `posted` is told the 0-based row of each card
// stored, once the transaction is committed. When an error ends the loop, the cards posted before
// it stay (and are told) when their transaction could be committed, the card being written is
// cancelled and the error goes on. Returns the number of cards stored.
int storeGroupRows(table::Table& cards, streams::TQXStreams& qxs,
                   const studyfile::DesignOptions& design, bool packedContent,
                   const GroupRows& rows, const GroupShared& shared, const QString& todayKey,
                   const studyfile::FontStyle& fontStyle,
                   const std::function<void(int row)>& posted = {});

// The group text file's lines for the rows in use, in row order: question & answer & (the key
// cell, or the shared key when it is blank) & (the importance cell, or, when it is blank, the
// shared importance left-aligned in four characters). A "&" in any of those texts would split the
// line differently when it is read back, so such a row is refused (problem set, no lines).
struct GroupFileText {
    QStringList lines;
    std::optional<GroupProblem> problem;
};
GroupFileText groupFileLines(const GroupRows& rows, const GroupShared& shared);

// The rows that the lines of a group text file give: line n fills row n (at most kGroupRows),
// split by splitCardLine with "&". lineCount is the number of lines of the file.
struct GroupFileRows {
    GroupRows rows;
    qsizetype lineCount = 0;
    bool tooManyLines() const { return lineCount > kGroupRows; }
};
GroupFileRows groupRowsFromLines(const QStringList& lines);
// Reads a group text file (textfile::readTextLines: UTF-8, Windows-1252 or UTF-16 with its mark,
// any line end). Throws textfile::ETextFile.
GroupFileRows readGroupFile(const QString& path);
// Writes the lines (UTF-8, CR LF). Throws textfile::ETextFile.
void writeGroupFile(const QString& path, const QStringList& lines);

} // namespace editing
