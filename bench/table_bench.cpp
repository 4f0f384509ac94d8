// The table engine on a card table of 100,000 cards: creation in a batch, open and count under
// the base filter (beside SQLite's own fetch of the same keys), count and walk under a level
// filter, the promotion loop of 10,000 posts that each move a card out of the filter, the reads
// of a card grid beside the cursor, and 1,000 single committed posts.
#include "bench_support.h"
#include "platform/table/table.h"
#include "studyfile/card_table.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <vector>

namespace {

constexpr int kCards = 100000;
constexpr int kLevels = 8; // 12,500 cards per level

QTemporaryDir& workDir() {
    static QTemporaryDir dir;
    return dir;
}

QString templatePath() {
    return workDir().filePath("PLANTILLA.DB");
}

void fillCards(const QString& path) {
    bench::fillCardTable(path, kCards, kLevels);
}

// A fresh copy of the 100,000-card table for benchmarks that change it.
QString freshCopy(const char* name) {
    if (!QFile::exists(templatePath()))
        fillCards(templatePath());
    const QString path = workDir().filePath(QString::fromLatin1(name));
    QFile::remove(path);
    QFile::copy(templatePath(), path);
    return path;
}

void BM_CreateInBatch(benchmark::State& state) {
    for (auto _ : state)
        fillCards(workDir().filePath("CREA.DB"));
    state.counters["cards"] = kCards;
}
BENCHMARK(BM_CreateInBatch)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_OpenBaseFilterCount(benchmark::State& state) {
    const QString path = freshCopy("ABRE.DB");
    int count = 0;
    for (auto _ : state) {
        table::Table t;
        t.setFilter(studyfile::kBaseFilter);
        t.setFiltered(true);
        t.setTableName(path);
        t.open();
        count = t.recordCount();
        benchmark::DoNotOptimize(count);
    }
    state.counters["visible"] = count;
}
BENCHMARK(BM_OpenBaseFilterCount)->Iterations(10)->Unit(benchmark::kMillisecond);

// The baseline of the benchmark above: SQLite itself, through its C API on a new connection,
// fetching the keys of the same rows in the same order (the primary index's order), as the
// engine's open does. The keys are checked against the engine's view.
void BM_OpenBaseFilterRawSqlite(benchmark::State& state) {
    const QString path = freshCopy("CRUDO.DB");
    const QByteArray file = QFile::encodeName(path);
    const char* const sql = "SELECT rowid FROM data WHERE (\"Nive_Fich\" IS NULL OR "
                            "\"Nive_Fich\" <> 0) ORDER BY \"Nive_Fich\", \"Nive_Impo\", "
                            "\"AutoInc\"";
    std::vector<qint64> keys;
    for (auto _ : state) {
        sqlite3* db = nullptr;
        sqlite3_stmt* st = nullptr;
        if (sqlite3_open_v2(file.constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK ||
            sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK) {
            state.SkipWithError(sqlite3_errmsg(db));
            sqlite3_close_v2(db);
            return;
        }
        keys.clear();
        keys.shrink_to_fit(); // a fresh list each time, as a new process would build it
        while (sqlite3_step(st) == SQLITE_ROW)
            keys.push_back(sqlite3_column_int64(st, 0));
        sqlite3_finalize(st);
        sqlite3_close_v2(db);
        benchmark::DoNotOptimize(keys.data());
    }
    table::Table t;
    t.setFilter(studyfile::kBaseFilter);
    t.setFiltered(true);
    t.setTableName(path);
    t.open();
    if (t.visibleKeys() != keys)
        state.SkipWithError("SQLite's keys differ from the engine's view");
    state.counters["visible"] = double(keys.size());
}
BENCHMARK(BM_OpenBaseFilterRawSqlite)->Iterations(10)->Unit(benchmark::kMillisecond);

void BM_CountUnderLevelFilter(benchmark::State& state) {
    const QString path = freshCopy("NIVEL.DB");
    table::Table t;
    t.setFilter(studyfile::kBaseFilter);
    t.setFiltered(true);
    t.setTableName(path);
    t.open();
    int count = 0;
    bool toggle = false;
    for (auto _ : state) {
        // Alternate two texts so that every iteration really applies a new filter.
        t.setFilter(toggle ? QStringLiteral("Nive_Fich = 3") : QStringLiteral("nive_fich = 3 "));
        toggle = !toggle;
        count = t.recordCount();
        benchmark::DoNotOptimize(count);
    }
    state.counters["visible"] = count;
}
BENCHMARK(BM_CountUnderLevelFilter)->Iterations(20)->Unit(benchmark::kMillisecond);

void BM_WalkUnderLevelFilter(benchmark::State& state) {
    const QString path = freshCopy("RECORRE.DB");
    table::Table t;
    t.setFilter(QStringLiteral("Nive_Fich = 3"));
    t.setFiltered(true);
    t.setTableName(path);
    t.open();
    qint64 sum = 0;
    int rows = 0;
    for (auto _ : state) {
        rows = 0;
        for (t.first(); !t.eof(); t.next()) {
            sum += t.fieldByName("Total_Repa").asInteger();
            ++rows;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.counters["rows"] = rows;
}
BENCHMARK(BM_WalkUnderLevelFilter)->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_PromotionLoopInBatch(benchmark::State& state) {
    const QString path = freshCopy("PROMO.DB");
    table::Table t;
    t.setFilter(QStringLiteral("nive_fich = 0"));
    t.setFiltered(true);
    t.setTableName(path);
    t.open();
    const int before = t.recordCount();
    for (auto _ : state) {
        table::BatchScope batch(t);
        for (int i = 0; i < 10000; ++i) {
            t.first();
            t.edit();
            t.fieldByName("Nive_Fich").setInteger(1);
            t.post();
        }
    }
    if (t.recordCount() != before - 10000)
        state.SkipWithError("the promoted cards did not leave the view");
    state.counters["posts"] = 10000;
}
BENCHMARK(BM_PromotionLoopInBatch)->Iterations(1)->Unit(benchmark::kMillisecond);

// Opens t over a fresh copy of the 100,000-card table, behind the base filter.
void openUnderBaseFilter(table::Table& t, const char* name) {
    t.setFilter(studyfile::kBaseFilter);
    t.setFiltered(true);
    t.setTableName(freshCopy(name));
    t.open();
}

// What a card grid does beside the cursor over the base filter's 87,500 cards: the keys of a page
// of 64 rows and their three grid fields, the row of a key near the end of the view, and a count
// under another filter.
void BM_GridPageByKey(benchmark::State& state) {
    table::Table t;
    openUnderBaseFilter(t, "REJILLA.DB");
    const QStringList fields{QStringLiteral("Nive_Impo"), QStringLiteral("Clav_Fich"),
                             QStringLiteral("Preg_Text")};
    int start = 0;
    std::vector<qint64> keys(64);
    for (auto _ : state) {
        start = (start + 6400) % (t.recordCount() - 64);
        for (int i = 0; i < 64; ++i)
            keys[std::size_t(i)] = t.keyAt(start + i);
        const auto rows = t.readRows(keys, fields);
        if (rows.size() != 64 || rows.back().size() != 3)
            state.SkipWithError("the page was not read");
        benchmark::DoNotOptimize(rows.data());
    }
    state.counters["rows"] = 64;
}
BENCHMARK(BM_GridPageByKey)->Unit(benchmark::kMicrosecond);

void BM_PositionOfALateKey(benchmark::State& state) {
    table::Table t;
    openUnderBaseFilter(t, "POSICION.DB");
    const qint64 key = t.keyAt(t.recordCount() - 1);
    int pos = 0;
    for (auto _ : state) {
        pos = t.positionOfKey(key);
        benchmark::DoNotOptimize(pos);
    }
    if (pos != t.recordCount() - 1)
        state.SkipWithError("the key was not found at its place");
    state.counters["visible"] = t.recordCount();
}
BENCHMARK(BM_PositionOfALateKey)->Unit(benchmark::kMicrosecond);

void BM_CountMatchingBesideTheView(benchmark::State& state) {
    table::Table t;
    openUnderBaseFilter(t, "CUENTA.DB");
    int count = 0;
    for (auto _ : state) {
        count = t.countMatching(QStringLiteral("Nive_Fich = 0 "));
        benchmark::DoNotOptimize(count);
    }
    state.counters["matching"] = count;
}
BENCHMARK(BM_CountMatchingBesideTheView)->Unit(benchmark::kMillisecond);

void BM_SingleCommittedPosts(benchmark::State& state) {
    const QString path = freshCopy("POSTS.DB");
    table::Table t;
    t.setFilter(studyfile::kBaseFilter);
    t.setFiltered(true);
    t.setTableName(path);
    t.open();
    for (auto _ : state) {
        t.first();
        for (int i = 0; i < 1000; ++i) {
            t.edit();
            t.fieldByName("Total_Repa").setInteger(i);
            t.fieldByName("Fech_Ulti_Repa").setString(QStringLiteral("20241210"));
            t.post();
            t.next();
        }
    }
    state.counters["posts"] = 1000;
    // Wall time per post: each one waits for the disk.
    state.counters["per_post"] = benchmark::Counter(
        1000, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_SingleCommittedPosts)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
