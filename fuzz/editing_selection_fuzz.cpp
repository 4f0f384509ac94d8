// Decodes bytes into up to six condition rows of the card selection (combo indices from -1 to
// the last item, any value text, any 8-character date box text) and builds their selection
// filter. The builder must refuse with one of its messages, or give a filter that the engine
// runs on a 12-card table, that ends with " and " and the base filter, and that lets no level-0
// card through. A value that slipped unquoted into the filter, or a row that escaped the base
// filter by precedence, aborts here.
//
// Input: one byte per row, then for each row five bytes (connector, field, operator, value
// length, flags) followed by the value's bytes and 8 date bytes; what is missing reads as zero
// bytes. Bit 0 of the flags builds for a study file without card key, bit 1 without importance
// level, bit 2 reads dates month first.

#include "editing/selection_filter.h"
#include "platform/table/table.h"
#include "studyfile/card_table.h"

#include <QDir>
#include <QString>
#include <QTemporaryDir>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kCards = 12;

table::Table* cards() {
    static QTemporaryDir dir;
    static table::Table t;
    if (!t.isOpen()) {
        const QString path = QDir(dir.path()).filePath(QStringLiteral("S.DB"));
        studyfile::createCardTable(path);
        t.open(dir.path(), QStringLiteral("S.DB"));
        const char* keys[] = {"", "verbos", "O'Hara", "b*", "nombres", ""};
        const char* dates[] = {"", "20240305", "20240503", "", "20231231", "20000101"};
        for (int i = 0; i < kCards; ++i) {
            t.append();
            t.fieldByName(QStringLiteral("Nive_Fich")).setInteger(i % 4); // three at level 0
            if (i % 3 != 0)
                t.fieldByName(QStringLiteral("Nive_Impo")).setInteger(i);
            t.fieldByName(QStringLiteral("Clav_Fich")).setString(QString::fromLatin1(keys[i % 6]));
            t.fieldByName(QStringLiteral("Fech_Ulti_Repa"))
                .setString(QString::fromLatin1(dates[i % 6]));
            t.fieldByName(QStringLiteral("Total_Repa")).setInteger(i * 2);
            t.post();
        }
    }
    return &t;
}

[[noreturn]] void fail(const char* what, const QString& filter) {
    std::fprintf(stderr, "%s: %s\n", what, filter.toUtf8().constData());
    std::abort();
}

class Bytes {
public:
    Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint8_t next() { return pos_ < size_ ? data_[pos_++] : 0; }
    QString text(size_t n) {
        const size_t take = std::min(n, size_ - pos_);
        const QString t = QString::fromUtf8(reinterpret_cast<const char*>(data_ + pos_),
                                            static_cast<qsizetype>(take));
        pos_ += take;
        return t;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

// An index from -1 to count - 1.
int index(uint8_t byte, qsizetype count) {
    return static_cast<int>(byte % (count + 1)) - 1;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Bytes in(data, size);
    const int rowCount = in.next() % 7;
    std::vector<editing::ConditionRow> rows;
    uint8_t flags = 0;
    for (int i = 0; i < rowCount; ++i) {
        editing::ConditionRow row;
        row.connector = index(in.next(), editing::kConnectorItems.size());
        row.field = index(in.next(), editing::kFieldItems.size());
        row.op = index(in.next(), editing::kOperatorItems.size());
        const size_t valueLength = in.next() % 24;
        flags |= in.next();
        row.value = in.text(valueLength);
        row.dateText = in.text(8);
        rows.push_back(row);
    }
    studyfile::DesignOptions design;
    design.cardKey = (flags & 1) == 0;
    design.importanceLevel = (flags & 2) == 0;
    const bool dayFirst = (flags & 4) == 0;

    const editing::SelectionFilter built = editing::buildSelectionFilter(rows, dayFirst, design);
    if (!built.accepted()) {
        const QString& m = built.message;
        if (m != editing::kIncompleteConditionMessage && m != editing::kKeyNotUsedMessage &&
            m != editing::kImportanceNotUsedMessage && m != editing::kDigitsOnlyMessage &&
            m != editing::kInvalidDateMessage)
            fail("refusal without one of the messages", m);
        if (!built.filter.isEmpty())
            fail("refusal with a filter", built.filter);
        return 0;
    }
    const QString& filter = built.filter;
    if (!filter.endsWith(studyfile::kBaseFilter))
        fail("filter without the base filter at its end", filter);
    if (!rows.empty() && !filter.endsWith(QStringLiteral(" and ") + studyfile::kBaseFilter))
        fail("filter without \" and \" before the base filter", filter);
    try {
        const int n = cards()->countMatching(filter);
        if (n < 0 || n > kCards)
            fail("count out of range", filter);
        if (cards()->countMatching(u'(' + filter + QStringLiteral(") and Nive_Fich = 0")) != 0)
            fail("filter lets level-0 cards through", filter);
    } catch (const table::EngineError& e) {
        std::fprintf(stderr, "engine refused: %s\n", e.what());
        fail("filter the engine cannot run", filter);
    }
    return 0;
}
