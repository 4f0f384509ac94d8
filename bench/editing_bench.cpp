// Card editing at the sizes a learner reaches with imported courses: promoting level-0 cards by
// count and by marks, and the promotion screen's grid reading every cell of its level-0 cards.
// Each run that changes cards works on a fresh copy of a study file's card table built once.
#include "platform/memory.h"
#include "platform/table/table.h"
#include "review/promotion.h"
#include "studyfile/card_grid_model.h"
#include "studyfile/card_table.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace {

// The card tables of the benchmarks, each built once and copied for every run that changes it.
class Fixture {
public:
    // A card table of `cards` cards, the first `level0` of them at level 0 and the others spread
    // over levels 1 to 9, with questions, keys, importances and dates as an imported course has
    // them (importances scattered, so that table order is not the order of entry).
    QString cardTable(int cards, int level0) {
        const QString name = QStringLiteral("C%1_%2.DB").arg(cards).arg(level0);
        const QString path = dir_.filePath(name);
        if (built_.count(name))
            return path;
        studyfile::createCardTable(path);
        table::Table t;
        t.setTableName(path);
        t.open();
        table::BatchScope batch(t);
        for (int i = 0; i < cards; ++i) {
            t.append();
            t.fieldByName("Nive_Fich").setInteger(i < level0 ? 0 : 1 + i % 9);
            t.fieldByName("Nive_Impo").setInteger((i * 7919) % 50);
            t.fieldByName("Clav_Fich")
                .setString(i % 4 == 0 ? QString() : QStringLiteral("tema%1").arg(i % 13));
            t.fieldByName("Preg_Text")
                .setString(QStringLiteral("¿Cuál es la respuesta de la pregunta %1?").arg(i));
            t.fieldByName("Tipo_Preg_Imag").setString(QStringLiteral("NO"));
            t.fieldByName("Tipo_Resp_Imag").setString(QStringLiteral("NO"));
            t.fieldByName("Fech_Crea").setString(QStringLiteral("20240101"));
            t.fieldByName("Fech_Prox_Repa").setString(QStringLiteral("20240115"));
            t.fieldByName("Total_Repa").setInteger(0);
            t.fieldByName("Ficha_Comp_Encr").setString(QStringLiteral("N"));
            t.post();
        }
        built_[name] = true;
        return path;
    }

    // A fresh copy of a table built above, for a run that changes it.
    QString freshCopy(const QString& path) {
        const QString copy = dir_.filePath(QStringLiteral("RUN.DB"));
        QFile::remove(copy);
        QFile::copy(path, copy);
        return copy;
    }

private:
    QTemporaryDir dir_;
    std::map<QString, bool> built_;
};

Fixture& fixture() {
    static auto* f = new Fixture;
    return *f;
}

// The card table as the promotion screen leaves it: the level-0 cards in view, and a scroll
// handler that counts how often the current card would be loaded.
void openAtLevel0(table::Table& t, const QString& path, int& scrolls) {
    t.setFilter(review::kLevel0Filter);
    t.setFiltered(true);
    t.setTableName(path);
    t.open();
    t.afterScroll = [&scrolls] { ++scrolls; };
}

// Runs of one promotion, each on a fresh copy of source with its level-0 cards in view. setUp
// (not timed) returns the promotion to time, which returns how many cards it promoted; every run
// must promote `expected` cards.
void timePromotions(benchmark::State& state, const QString& source, int expected,
                    const std::function<std::function<int()>(table::Table&)>& setUp) {
    int scrolls = 0;
    for (auto _ : state) {
        state.PauseTiming();
        table::Table t;
        openAtLevel0(t, fixture().freshCopy(source), scrolls);
        const std::function<int()> promote = setUp(t);
        const int before = t.recordCount();
        scrolls = 0;
        state.ResumeTiming();
        const int promoted = promote();
        state.PauseTiming();
        if (promoted != expected || t.recordCount() != before - expected)
            state.SkipWithError("the cards were not promoted");
        t.close();
        state.ResumeTiming();
    }
    state.counters["promoted"] = expected;
    state.counters["scroll_events"] = scrolls;
}

// " (1) - Cantidad ": 10,000 of 20,000 level-0 cards.
void PromoteByCount(benchmark::State& state) {
    timePromotions(state, fixture().cardTable(20000, 20000), 10000, [](table::Table& t) {
        return [&t] { return review::promoteByCount(t, 10000).value_or(-1); };
    });
}
BENCHMARK(PromoteByCount)->Iterations(3)->Unit(benchmark::kMillisecond);

// " (2) - Una por una ": every other card of 10,000 at level 0 marked.
void PromoteMarkedCards(benchmark::State& state) {
    timePromotions(state, fixture().cardTable(10000, 10000), 5000, [](table::Table& t) {
        std::vector<qint64> marked;
        for (int row = 0; row < t.recordCount(); row += 2)
            marked.push_back(t.keyAt(row));
        return [&t, marked] { return review::promoteCards(t, marked); };
    });
}
BENCHMARK(PromoteMarkedCards)->Iterations(3)->Unit(benchmark::kMillisecond);

// Opening page " (2) - Una por una " and scrolling through all of it: a new model over 10,000
// level-0 cards (among 20,000), every cell of its three columns read.
void GridEveryCell(benchmark::State& state) {
    const QString path = fixture().cardTable(20000, 10000);
    table::Table t;
    int scrolls = 0;
    openAtLevel0(t, path, scrolls);
    scrolls = 0;
    qint64 rowsRead = 0;
    for (auto _ : state) {
        studyfile::CardGridModel model(t, {{QStringLiteral("Nivel Imp."), "Nive_Impo", 90},
                                           {QStringLiteral("Clave"), "Clav_Fich", 130},
                                           {QStringLiteral("  Pregunta"), "Preg_Text", 490}});
        qsizetype characters = 0;
        for (int row = 0; row < model.rowCount(); ++row)
            for (int column = 0; column < model.columnCount(); ++column)
                characters += model.data(model.index(row, column)).toString().size();
        benchmark::DoNotOptimize(characters);
        rowsRead = model.rowsRead();
        if (model.rowCount() != 10000 || characters == 0)
            state.SkipWithError("the grid did not show the level-0 cards");
    }
    state.counters["rows_read"] = static_cast<double>(rowsRead);
    state.counters["scroll_events"] = scrolls;
}
BENCHMARK(GridEveryCell)->Iterations(20)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    // As the program does at its start.
    platform::keepFreedMemoryForReuse();
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
