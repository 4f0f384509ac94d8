#include "studyfile/card_grid_model.h"

#include <algorithm>
#include <utility>

namespace studyfile {

CardGridModel::CardGridModel(table::Table& cards, std::vector<GridColumn> columns, QObject* parent)
    : QAbstractTableModel(parent), cards_(cards), columns_(std::move(columns)) {
    for (const GridColumn& c : columns_)
        fields_ << c.field;
    generation_ = cards_.viewGeneration();
}

int CardGridModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !cards_.isOpen())
        return 0;
    return cards_.recordCount();
}

int CardGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant CardGridModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount() ||
        index.column() >= columnCount())
        return {};
    // A view asks while it paints: a failed read shows empty cells rather than throwing through
    // the event loop, and is tried again at the next paint.
    try {
        const Page& rows = page(index.row() / kPageRows);
        const std::size_t at = static_cast<std::size_t>(index.row() % kPageRows);
        if (at >= rows.size())
            return {};
        return rows[at].value(index.column());
    } catch (const table::EngineError&) {
        return {};
    }
}

QVariant CardGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return {};
    if (role == Qt::DisplayRole)
        return columns_[static_cast<std::size_t>(section)].title;
    return {};
}

Qt::ItemFlags CardGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

bool CardGridModel::refresh() {
    if (cards_.viewGeneration() == generation_)
        return false;
    beginResetModel();
    generation_ = cards_.viewGeneration();
    pages_.clear();
    recent_.clear();
    endResetModel();
    return true;
}

qint64 CardGridModel::keyAt(int row) const {
    return cards_.keyAt(row);
}

std::vector<qint64> CardGridModel::keysOfRows(const QModelIndexList& rows) const {
    std::vector<int> sorted;
    sorted.reserve(rows.size());
    for (const QModelIndex& index : rows)
        sorted.push_back(index.row());
    std::sort(sorted.begin(), sorted.end());
    std::vector<qint64> keys;
    keys.reserve(sorted.size());
    for (int row : sorted)
        keys.push_back(keyAt(row));
    return keys;
}

int CardGridModel::rowOfKey(qint64 key) const {
    return cards_.isOpen() ? cards_.positionOfKey(key) : -1;
}

const CardGridModel::Page& CardGridModel::page(int number) const {
    // The pages were read from a view that no longer exists.
    if (cacheGeneration_ != cards_.viewGeneration()) {
        pages_.clear();
        recent_.clear();
        cacheGeneration_ = cards_.viewGeneration();
    }
    if (const auto found = pages_.find(number); found != pages_.end()) {
        recent_.remove(number);
        recent_.push_front(number);
        return found->second;
    }

    const int first = number * kPageRows;
    const int end = std::min(cards_.recordCount(), first + kPageRows);
    std::vector<qint64> keys;
    keys.reserve(static_cast<std::size_t>(std::max(0, end - first)));
    for (int row = first; row < end; ++row)
        keys.push_back(cards_.keyAt(row));
    const std::vector<std::vector<QVariant>> values = cards_.readRows(keys, fields_);
    Page rows;
    rows.reserve(values.size());
    for (const std::vector<QVariant>& row : values) {
        QStringList cells;
        // A row gone meanwhile (deleted through another connection) shows empty cells.
        for (std::size_t c = 0; c < columns_.size(); ++c)
            cells << (c < row.size() && !row[c].isNull() ? row[c].toString() : QString());
        rows.push_back(std::move(cells));
    }
    rowsRead_ += static_cast<qint64>(rows.size());

    if (static_cast<int>(pages_.size()) >= kCachedPages) {
        pages_.erase(recent_.back());
        recent_.pop_back();
    }
    recent_.push_front(number);
    return pages_.emplace(number, std::move(rows)).first->second;
}

} // namespace studyfile
