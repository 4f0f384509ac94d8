#include "platform/report/report_geometry.h"

#include <cmath>

namespace report {

QPageSize pageSize(Paper paper) {
    switch (paper) {
    case Paper::A4:
        return QPageSize(QPageSize::A4);
    case Paper::Executive:
        // 7 1/4 x 10 1/2 in; QPageSize::Executive is the other, 7 1/2 x 10 in, sheet.
        return QPageSize(QPageSize::ExecutiveStandard);
    case Paper::Letter:
        return QPageSize(QPageSize::Letter);
    case Paper::Note:
        return QPageSize(QPageSize::Note);
    }
    return QPageSize(QPageSize::A4);
}

QSizeF pageSizeMm(Paper paper) {
    return pageSize(paper).size(QPageSize::Millimeter);
}

BandGrid bandGrid(QSizeF pageMm, int columns, int boxesPerColumn) {
    BandGrid grid;
    grid.page = pageMm;
    grid.columns = columns;
    grid.boxesPerColumn = boxesPerColumn;
    grid.bandWidth = (pageMm.width() - 2 * kMarginMm - (columns - 1) * kColumnGapMm) / columns;
    grid.bandHeight = std::floor((pageMm.height() - 2 * kMarginMm) / boxesPerColumn);
    return grid;
}

QRectF BandGrid::boxOfRow(int row) const {
    const int onPage = row % boxesPerPage();
    const int column = onPage / boxesPerColumn;
    const int slot = onPage % boxesPerColumn;
    return QRectF(kMarginMm + column * (bandWidth + kColumnGapMm), kMarginMm + slot * bandHeight,
                  bandWidth, bandHeight);
}

int BandGrid::pageCount(int rows) const {
    if (rows <= 0)
        return 1;
    return (rows + boxesPerPage() - 1) / boxesPerPage();
}

} // namespace report
