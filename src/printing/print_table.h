// The print table: one row per box of a print run, filled from the cards in view, and the band
// source that turns a row into what its box shows.
#pragma once

#include "platform/report/report.h"
#include "printing/print_order.h"
#include "studyfile/design_record.h"

#include <QString>

#include <functional>

#include <vector>

namespace table {
class Table;
}

namespace printing {

// The study file a run prints from: its design, whether it packs content, and the key of that
// content.
struct PrintSource {
    studyfile::DesignOptions design;
    bool packedContent = false;
    QString key;
};

// Empties printTable and fills it with one row per box of the run: the cards with keysInView
// (the cards in view, in table order) read from cards, a table open on the card table (any
// filter; it is moved, so it must not be the table a screen shows), in the order of
// printRowOrder. Every append is in one batch. Pictures are copied only under the kinds "BMP" and
// "JPG"; content is copied as stored (possibly packed). Without packed content an answer row also
// gets the first line of its short answer in TEXT. progress, when given, is told after each row
// (rows done, rows in all). Returns the number of rows.
int fillPrintTable(table::Table& printTable, table::Table& cards,
                   const std::vector<qint64>& keysInView, Side side, int perPage,
                   const PrintSource& source,
                   const std::function<void(qint64 done, qint64 total)>& progress = {});

// Empties the content fields (Imag, Memo, Memo2, TEXT, TEXT2, Comp_Encr) of every row, in one
// batch: what a run of a study file with packed content leaves behind.
void wipePrintContent(table::Table& printTable);
// Deletes every row of the print table, in one batch.
void emptyPrintTable(table::Table& printTable);

// What the box of print-table row `row` (0-based) shows: the text (the question, or the first line
// of the short answer), the picture decoded, the long answer as a document. Packed fields are
// unpacked in memory only; nothing is written back to the print table. A field that cannot be
// unpacked or decoded fails this band only: the content carries the reason and what could be
// prepared.
// The items a run prints: the others are neither unpacked nor decoded, so that a damaged field
// the run does not show cannot fail its band.
struct BandItemsUsed {
    bool text = true;
    bool picture = true;
    bool richText = true;
};

report::BandContent prepareBand(table::Table& printTable, int row, Side side,
                                const PrintSource& source, const BandItemsUsed& used = {});

// The fields of one print-table row.
struct PrintRow {
    QString text;     // TEXT
    QString text2;    // TEXT2
    QByteArray imag;  // Imag
    QByteArray memo;  // Memo
    QByteArray memo2; // Memo2
    QString compEncr; // Comp_Encr
};
report::BandContent prepareBand(const PrintRow& row, Side side, const PrintSource& source,
                                const BandItemsUsed& used = {});

} // namespace printing
