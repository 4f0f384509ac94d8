// The numbers and texts of the information screen: how many cards a study file has, at which
// levels, how they are stored and how often they were reviewed, and every text the screen (and
// `orbanel-tool studyfile info --screen`) shows for them.
#pragma once

#include "studyfile/design_record.h"

#include <QString>
#include <QStringList>

#include <array>

namespace table {
class Table;
}

namespace studyfile {

// The seven level lines: levels 0 to 5, and 6 or more.
constexpr int kLevelLines = 7;

struct StudyFileCounts {
    int total = 0;      // every card, whatever the table's filter
    int level0 = 0;     // cards parked at level 0
    int packed = 0;     // packing state exactly "S" (0 without packed content)
    int plain = 0;      // packing state exactly "N" (the total without packed content)
    qint64 reviews = 0; // Total_Repa added over every card, a blank counting 0
    std::array<int, kLevelLines> levels{}; // levels 0..5, then 6 and above

    bool operator==(const StudyFileCounts&) const = default;
};

// Counts the cards of an open card table beside its cursor: the table's filter, filtering flag,
// visible rows and current card stay as they are and no scroll event fires, so no card is
// unpacked. A card whose packing state is neither exactly "S" nor exactly "N" counts in the total
// and its level only. Throws table::EngineError when the table is closed.
StudyFileCounts countStudyFile(const table::Table& cards, bool packedContent);

// A level's share of the total in whole percent, rounded in exact integer arithmetic: up above a
// half, to the even neighbour at exactly a half. 0 when total is 0.
int levelPercentage(qint64 count, qint64 total);
// The bar of a level line: one space for no card, else percentage − percentage / 6 letters "l"
// (empty when a card or more round to 0 %).
QString levelBar(qint64 count, qint64 total);
// "Nivel L: " + bar + "   " + count + "      (P %)"; level 6 stands for 6 and above.
QString levelLine(int level, qint64 count, qint64 total);

// The caption the levels frame is designed with; the screen shows it with the total appended.
inline const QString kLevelsFrameCaption = QStringLiteral(" Nº de Fichas en cada Nivel:  ");
// The frame's title: its design caption followed by "  ( Total: T fichas ) ".
QString levelsFrameTitle(const QString& designCaption, qint64 total);

// Where each text stands in infoScreenTexts.
namespace info_text {
constexpr int kGridRows = 20;
constexpr int kName = 0;                              // Label8
constexpr int kGridFirst = 1;                         // row 0 column 0, row 0 column 1, row 1 ...
constexpr int kReviews = kGridFirst + 2 * kGridRows;  // Label7
constexpr int kFrameTitle = kReviews + 1;             // GroupBox2's title
constexpr int kFirstLevelLine = kFrameTitle + 1;      // levels 0..5, 6 and above
constexpr int kCount = kFirstLevelLine + kLevelLines; // every text
// The text of grid row `row` (0..19), column `column` (0 or 1).
constexpr int grid(int row, int column) {
    return kGridFirst + 2 * row + column;
}
} // namespace info_text

// Every text of the information screen in one fixed order (info_text): the name line, the 20
// grid rows as column 0 and column 1, the reviews line, the levels frame title and the seven
// level lines. Numbers are plain decimal; the grid's values carry one leading space.
QStringList infoScreenTexts(const QString& studyFileName, const DesignOptions& design,
                            const StudyFileCounts& counts);

} // namespace studyfile
