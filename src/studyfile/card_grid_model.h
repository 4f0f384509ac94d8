// A read-only table model over the visible rows of a card table, for the grids that list cards.
// It reads only the rows a view asks for: pages of 64 rows by key, without moving the table's
// cursor and without firing its scroll events (each of which would unpack a card's content). At
// most 32 pages are kept; they are dropped as soon as the table's view generation changes, so a
// grid over 100,000 cards costs what its visible rows cost.
#pragma once

#include "platform/table/table.h"

#include <QAbstractTableModel>
#include <QString>

#include <list>
#include <map>
#include <vector>

namespace studyfile {

// One column of a card grid: its title, the card field it shows and its width in pixels.
struct GridColumn {
    QString title;
    QString field;
    int width = 0;
};

class CardGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Rows read together, and pages kept.
    static constexpr int kPageRows = 64;
    static constexpr int kCachedPages = 32;

    // A model over the visible rows of cards (which must outlive it), with these columns.
    CardGridModel(table::Table& cards, std::vector<GridColumn> columns, QObject* parent = nullptr);

    const std::vector<GridColumn>& columns() const { return columns_; }

    // The table's visible rows (0 while it is closed), and the columns.
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    // The field as text (a blank field as empty text); column titles across the top.
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Resets the model when the table's visible rows changed since the last reset (its view
    // generation); otherwise nothing happens, and a view keeps its selection and current row.
    // True when it reset.
    bool refresh();

    // The key (AutoInc) of a row, and the row of a key (-1 when it is not visible).
    qint64 keyAt(int row) const;
    int rowOfKey(qint64 key) const;
    // The keys of the given rows (indexes of any column), in row order.
    std::vector<qint64> keysOfRows(const QModelIndexList& rows) const;

    // Rows read from the table since the model was made.
    qint64 rowsRead() const { return rowsRead_; }

private:
    using Page = std::vector<QStringList>; // one list of cell texts per row
    const Page& page(int number) const;

    table::Table& cards_;
    std::vector<GridColumn> columns_;
    QStringList fields_;
    quint64 generation_ = 0; // of the table at the last reset

    // The cached pages by number, and their numbers from the most recently used on.
    mutable quint64 cacheGeneration_ = 0;
    mutable std::map<int, Page> pages_;
    mutable std::list<int> recent_;
    mutable qint64 rowsRead_ = 0;
};

} // namespace studyfile
