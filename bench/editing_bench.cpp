// Card editing at the sizes a learner reaches with imported courses: storing a card as the card
// editor does in a packed study file of 5,000 cards, storing a full grid of 98 group entry rows,
// promoting level-0 cards by count and by marks, and the promotion screen's grid reading every cell
// of its level-0 cards.
// Each run that changes cards works on a fresh copy of a study file's card table built once.
#include "bench_support.h"
#include "editing/card_selection.h"
#include "editing/global_modification.h"
#include "editing/group_entry.h"
#include "platform/rtf/rtf.h"
#include "platform/table/table.h"
#include "review/promotion.h"
#include "streams/qx_streams.h"
#include "studyfile/card_grid_model.h"
#include "studyfile/card_store.h"
#include "studyfile/card_table.h"
#include "studyfile/creation.h"
#include "studyfile/font_style.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextDocument>

#include <algorithm>

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

    // A file of the benchmarks' folder.
    QString path(const QString& name) const { return dir_.filePath(name); }

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

// A compressed and enciphered study file of 5,000 cards, open behind the base filter as the
// program opens it, and the content of a new card as the editor holds it: a question, a 2 KB long
// answer and two 1600 x 1200 JPEG pictures of quality 85.
struct StoreFixture {
    QTemporaryDir dir;
    studyfile::DesignOptions design;
    streams::TQXStreams qxs;
    table::Table cards;
    picture::Picture questionPicture;
    picture::Picture answerPicture;
    QTextDocument longAnswer;
    qint64 fullCard = 0;

    StoreFixture() {
        studyfile::CreationRequest r;
        r.datFolder = dir.path();
        r.name = QStringLiteral("Curso");
        r.options.questionImage = true;
        r.options.answerImage = true;
        r.options.longAnswerText = true;
        r.options.shortAnswerSize = 0;
        r.options.importanceLevel = true;
        r.options.compressed = true;
        r.password = QStringLiteral("clave");
        studyfile::createStudyFile(r);
        design = r.options;
        design.enciphered = true;
        studyfile::configureContentContainer(qxs, design, r.password);
        cards.setFilter(studyfile::kBaseFilter);
        cards.setFiltered(true);
        cards.open(dir.path(), QStringLiteral("Curso.DB"));
        questionPicture = picture::Picture::jpegFromImage(bench::photoImage(1600, 1200, 1), 85);
        answerPicture = picture::Picture::jpegFromImage(bench::photoImage(1600, 1200, 2), 85);
        QStringList lines;
        for (int i = 0; lines.join(QLatin1Char('\n')).size() < 2048; ++i)
            lines << QStringLiteral("Línea %1 de la respuesta larga, con su explicación.").arg(i);
        longAnswer.setPlainText(lines.join(QLatin1Char('\n')));

        // 4,999 cards with texts and a long answer, then one with everything.
        const QByteArray memo = studyfile::packContent(qxs, rtf::writeDocument(longAnswer));
        {
            table::BatchScope batch(cards);
            for (int i = 0; i < 4999; ++i) {
                cards.append();
                cards.fieldByName("Nive_Fich").setInteger(1 + i % 9);
                cards.fieldByName("Nive_Impo").setInteger(i % 50);
                cards.fieldByName("Preg_Text").setString(QStringLiteral("Pregunta %1").arg(i));
                cards.fieldByName("Clav_Fich").setString(QStringLiteral("tema%1").arg(i % 13));
                cards.fieldByName("Ficha_Comp_Encr").setString(QStringLiteral("S"));
                cards.fieldByName("Tipo_Preg_Imag").setString(QStringLiteral("NO"));
                cards.fieldByName("Tipo_Resp_Imag").setString(QStringLiteral("NO"));
                cards.fieldByName("Resp_Memo").setBytes(memo);
                cards.fieldByName("Fech_Crea").setString(QStringLiteral("20240101"));
                cards.fieldByName("Fech_Prox_Repa").setString(QStringLiteral("20240115"));
                cards.fieldByName("Total_Repa").setInteger(0);
                cards.post();
            }
        }
        fullCard = studyfile::storeCard(cards, qxs, design, true, newCard(0), 0,
                                        QStringLiteral("20240301"));
    }

    // What "&Guarda y Continua" hands to the store in add mode: the long answer as the editor's
    // document writes it, both pictures.
    studyfile::CardEdit newCard(int n) {
        studyfile::CardEdit e;
        e.question = QStringLiteral("¿Nueva pregunta %1?").arg(n);
        e.cardKey = QStringLiteral("tema");
        e.importance = 3;
        e.longAnswerRtf = rtf::writeDocument(longAnswer);
        e.questionPicture = questionPicture;
        e.answerPicture = answerPicture;
        return e;
    }
};

StoreFixture& storeFixture() {
    static auto* f = new StoreFixture;
    return *f;
}

// "&Guarda y Continua" on a new card: median < 100 ms.
void StoreNewCard(benchmark::State& state) {
    StoreFixture& f = storeFixture();
    int n = 0;
    for (auto _ : state) {
        const studyfile::CardEdit edit = f.newCard(++n);
        studyfile::storeCard(f.cards, f.qxs, f.design, true, edit, 0, QStringLiteral("20240301"));
    }
}
BENCHMARK(StoreNewCard)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

// A typo fixed in the question of a card with both pictures and a long answer: < 10 ms.
void StoreQuestionChange(benchmark::State& state) {
    StoreFixture& f = storeFixture();
    if (!f.cards.locateKey(f.fullCard))
        state.SkipWithError("the card is not in view");
    int n = 0;
    for (auto _ : state) {
        studyfile::CardEdit edit;
        edit.question = QStringLiteral("¿Pregunta corregida %1?").arg(++n);
        edit.cardKey = QStringLiteral("tema");
        edit.importance = 3;
        studyfile::storeCard(f.cards, f.qxs, f.design, true, edit, f.fullCard,
                             QStringLiteral("20240301"));
    }
}
BENCHMARK(StoreQuestionChange)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

// Group entry's "&Guardar y Salir": the 98 rows of a full grid checked and stored, in one
// transaction, into a compressed and enciphered study file that already holds 5,000 cards. The
// rows are what a learner types: a question and a short answer, the key typed in every third row
// (the others take the shared one), the importance in every other row. Floor < 200 ms, ambition
// < 50 ms: the learner waits on the button.
editing::GroupRows groupRows() {
    editing::GroupRows rows(editing::kGroupRows);
    for (int r = 0; r < editing::kGroupRows; ++r) {
        rows[r].question = QStringLiteral("¿Cómo se dice «palabra número %1» en inglés?").arg(r);
        rows[r].answer = QStringLiteral("La respuesta corta %1").arg(r);
        if (r % 3 == 0)
            rows[r].key = QStringLiteral("tema%1").arg(r % 7);
        if (r % 2 == 0)
            rows[r].importance = QString::number(r % 10);
    }
    return rows;
}

editing::GroupShared groupShared() {
    editing::GroupShared shared;
    shared.level = QStringLiteral("1");
    shared.cardKey = QStringLiteral("vocabulario");
    shared.importance = QStringLiteral("5");
    return shared;
}

// Short answers: a compressed and enciphered study file with key and importance, 5,000 cards.
struct GroupFixture {
    QTemporaryDir dir;
    studyfile::DesignOptions design;
    streams::TQXStreams qxs;
    table::Table cards;

    GroupFixture() {
        studyfile::CreationRequest r;
        r.datFolder = dir.path();
        r.name = QStringLiteral("Grupo");
        r.options.importanceLevel = true;
        r.options.compressed = true;
        r.password = QStringLiteral("clave");
        studyfile::createStudyFile(r);
        design = r.options;
        design.enciphered = true;
        studyfile::configureContentContainer(qxs, design, r.password);
        cards.setFilter(studyfile::kBaseFilter);
        cards.setFiltered(true);
        cards.open(dir.path(), QStringLiteral("Grupo.DB"));
        editing::GroupRows rows = groupRows();
        for (int i = 0; i < 51; ++i)
            editing::storeGroupRows(cards, qxs, design, true, rows, groupShared(),
                                    QStringLiteral("20240101"), studyfile::defaultFontStyle());
    }
};

void timeGroupStore(benchmark::State& state, table::Table& cards, streams::TQXStreams& qxs,
                    const studyfile::DesignOptions& design) {
    const editing::GroupRows rows = groupRows();
    const editing::GroupShared shared = groupShared();
    const studyfile::FontStyle style = studyfile::defaultFontStyle();
    int scrolls = 0;
    cards.afterScroll = [&scrolls] { ++scrolls; };
    for (auto _ : state) {
        if (editing::checkGroupRows(rows, shared, design))
            state.SkipWithError("a row was refused");
        const int stored = editing::storeGroupRows(cards, qxs, design, true, rows, shared,
                                                   QStringLiteral("20240301"), style);
        if (stored != editing::kGroupRows)
            state.SkipWithError("not every row was stored");
    }
    cards.afterScroll = nullptr;
    state.counters["cards"] = editing::kGroupRows;
    state.counters["scroll_events_per_store"] =
        static_cast<double>(scrolls) / static_cast<double>(state.iterations());
}

void StoreGroupShortAnswers(benchmark::State& state) {
    static auto* f = new GroupFixture;
    timeGroupStore(state, f->cards, f->qxs, f->design);
}
BENCHMARK(StoreGroupShortAnswers)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

// The same rows into the long-answer study file of the card editor's benchmarks (compressed and
// enciphered, 5,000 cards): each answer becomes a one-paragraph rich-text document in the font
// style.
void StoreGroupLongAnswers(benchmark::State& state) {
    StoreFixture& f = storeFixture();
    timeGroupStore(state, f.cards, f.qxs, f.design);
}
BENCHMARK(StoreGroupLongAnswers)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

// Global modification on the 100,000-card table of the table benchmarks (12,500 cards a level):
// a new level and next review date on the cards of one level, and on the whole base view
// (87,500 cards). Each run works on a fresh copy; the progress is reported as the screen's bar
// takes it.
const QString& hundredThousandCards() {
    static const QString path = [] {
        const QString p = fixture().path(QStringLiteral("CIEN_MIL.DB"));
        bench::fillCardTable(p, 100000, 8);
        return p;
    }();
    return path;
}

void timeGlobalModification(benchmark::State& state, const QString& filter, int expected) {
    int reports = 0;
    for (auto _ : state) {
        state.PauseTiming();
        table::Table t;
        t.setFilter(filter);
        t.setFiltered(true);
        t.setTableName(fixture().freshCopy(hundredThousandCards()));
        t.open();
        editing::GlobalChange change;
        change.level = 5;
        change.nextReview = QStringLiteral("20240305");
        reports = 0;
        state.ResumeTiming();
        const int changed =
            editing::runGlobalModification(t, change, [&reports](int, int) { ++reports; });
        state.PauseTiming();
        if (changed != expected)
            state.SkipWithError("the selection was not changed");
        t.close();
        state.ResumeTiming();
    }
    state.counters["changed"] = expected;
    state.counters["progress_reports"] = reports;
}

// One level selected: < 1.5 s.
void GlobalModificationOfOneLevel(benchmark::State& state) {
    timeGlobalModification(state, QStringLiteral("Nive_Fich = 3 and ") + studyfile::kBaseFilter,
                           12500);
}
BENCHMARK(GlobalModificationOfOneLevel)->Iterations(3)->Unit(benchmark::kMillisecond);

// No selection: every card but the parked ones, < 10 s.
void GlobalModificationOfEveryCard(benchmark::State& state) {
    timeGlobalModification(state, studyfile::kBaseFilter, 87500);
}
BENCHMARK(GlobalModificationOfEveryCard)->Iterations(1)->Unit(benchmark::kMillisecond);

// The selection screen's grid columns.
std::vector<studyfile::GridColumn> selectionColumns() {
    return {{QStringLiteral("Niv. Fich."), QStringLiteral("Nive_Fich"), 79},
            {QStringLiteral("Clave"), QStringLiteral("Clav_Fich"), 74},
            {QStringLiteral("Niv. Imp."), QStringLiteral("Nive_Impo"), 74},
            {QStringLiteral("Pregunta"), QStringLiteral("Preg_Text"), 587}};
}

// Every cell of `rows` grid rows from `first`, as a screenful is painted.
qsizetype readScreenful(studyfile::CardGridModel& model, int first, int rows) {
    qsizetype characters = 0;
    const int last = std::min(model.rowCount(), first + rows);
    for (int row = first; row < last; ++row)
        for (int column = 0; column < model.columnCount(); ++column)
            characters += model.data(model.index(row, column)).toString().size();
    return characters;
}

// "  S&elección" with two condition rows on the 100,000-card table: the filter applied, the
// cards in view and the level-0 cards counted, the first screenful of 40 rows read: < 100 ms.
void SelectTwoRows(benchmark::State& state) {
    table::Table t;
    t.setFilter(studyfile::kBaseFilter);
    t.setFiltered(true);
    t.setTableName(hundredThousandCards());
    t.open();
    review::SelectionState selection;
    studyfile::DesignOptions design;
    design.importanceLevel = true;
    int round = 0;
    int count = 0;
    for (auto _ : state) {
        // Two selections in turn, so that every round applies a new filter.
        std::vector<editing::ConditionRow> rows(2);
        rows[0].field = editing::kLevelField;
        rows[0].op = editing::kGreaterOrEqualOperator;
        rows[0].value = round++ % 2 == 0 ? QStringLiteral("3") : QStringLiteral("4");
        rows[1].connector = editing::kAndConnector;
        rows[1].field = editing::kImportanceField;
        rows[1].op = 0;
        rows[1].value = QStringLiteral("1");
        const editing::SelectionFilter result =
            editing::selectCards(t, rows, true, design, selection);
        if (!result.accepted())
            state.SkipWithError("the selection was refused");
        count = t.recordCount();
        benchmark::DoNotOptimize(t.countMatching(QStringLiteral("Nive_Fich = 0")));
        studyfile::CardGridModel model(t, selectionColumns());
        benchmark::DoNotOptimize(readScreenful(model, 0, 40));
    }
    state.counters["selected"] = count;
}
BENCHMARK(SelectTwoRows)->Iterations(20)->Unit(benchmark::kMillisecond);

// A cold screenful of 40 rows (a new model) at the start, the middle and the end of the base
// view of 87,500 cards: < 3 ms each.
void ScrollScreenful(benchmark::State& state) {
    table::Table t;
    t.setFilter(studyfile::kBaseFilter);
    t.setFiltered(true);
    t.setTableName(hundredThousandCards());
    t.open();
    const int first = state.range(0) < 0 ? t.recordCount() - 40 : int(state.range(0));
    qint64 rowsRead = 0;
    for (auto _ : state) {
        studyfile::CardGridModel model(t, selectionColumns());
        benchmark::DoNotOptimize(readScreenful(model, first, 40));
        rowsRead = model.rowsRead();
    }
    state.counters["first_row"] = first;
    state.counters["rows_read"] = static_cast<double>(rowsRead);
}
BENCHMARK(ScrollScreenful)
    ->Arg(0)
    ->Arg(50000)
    ->Arg(-1)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(0.5);

// "Borrar &Todas las Fichas": every card in view deleted in one transaction, on a fresh copy.
void DeleteEveryCardInView(benchmark::State& state, const QString& filter, int expected) {
    for (auto _ : state) {
        state.PauseTiming();
        table::Table t;
        t.setFilter(filter);
        t.setFiltered(true);
        t.setTableName(fixture().freshCopy(hundredThousandCards()));
        t.open();
        state.ResumeTiming();
        t.deleteBookmarks(t.visibleKeys());
        state.PauseTiming();
        t.setFiltered(false);
        if (t.recordCount() != 100000 - expected)
            state.SkipWithError("the cards were not deleted");
        t.close();
        state.ResumeTiming();
    }
    state.counters["deleted"] = expected;
}

// One level in view (12,500 cards): < 1 s.
void DeleteOneLevel(benchmark::State& state) {
    DeleteEveryCardInView(state, QStringLiteral("Nive_Fich = 3 and ") + studyfile::kBaseFilter,
                          12500);
}
BENCHMARK(DeleteOneLevel)->Iterations(3)->Unit(benchmark::kMillisecond);

// The whole base view (87,500 cards): < 4 s.
void DeleteBaseView(benchmark::State& state) {
    DeleteEveryCardInView(state, studyfile::kBaseFilter, 87500);
}
BENCHMARK(DeleteBaseView)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return bench::runOffscreen(argc, argv);
}
