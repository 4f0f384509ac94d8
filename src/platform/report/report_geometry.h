// Where the boxes of a banded report sit on paper: the page sizes the report offers, the band
// grid of one or two columns of equal boxes inside fixed margins, and the box a report row lands
// in. Every length is in millimetres, so that drawing, tests and checks of printed files compute
// the same places.
#pragma once

#include <QPageSize>
#include <QRectF>
#include <QSizeF>

namespace report {

enum class Paper { A4, Executive, Letter, Note };

constexpr double kMarginMm = 10;   // on all four sides
constexpr double kColumnGapMm = 4; // between the two columns

QPageSize pageSize(Paper paper);
// Portrait width x height in millimetres.
QSizeF pageSizeMm(Paper paper);

struct BandGrid {
    QSizeF page;            // mm, portrait
    int columns = 2;        // 1 or 2
    int boxesPerColumn = 3; // 3, 4 or 5
    double bandWidth = 0;   // exact, so that the right column mirrors the left one
    double bandHeight = 0;  // whole millimetres, so that a column never reaches the margin

    int boxesPerPage() const { return columns * boxesPerColumn; }
    // The page a report row (0-based) goes to.
    int pageOfRow(int row) const { return row / boxesPerPage(); }
    // The box of a report row on its page: the first column top to bottom, then the second.
    QRectF boxOfRow(int row) const;
    // How many pages rows fill; a report without rows still prints one blank page.
    int pageCount(int rows) const;
};

BandGrid bandGrid(QSizeF pageMm, int columns, int boxesPerColumn);

} // namespace report
