// Card printing at the sizes of large decks: filling the print table for 10,000 cards (the wait
// before a preview opens), drawing 1,000 text cards into a PDF (the preview of a large deck), and
// 120 photographs unpacked from a compressed and enciphered study file, decoded, scaled and drawn.
#include "bench_support.h"
#include "platform/picture/picture.h"
#include "platform/table/table.h"
#include "printing/print_job.h"
#include "printing/print_table.h"
#include "streams/qx_streams.h"
#include "studyfile/card_content.h"
#include "studyfile/card_store.h"
#include "studyfile/card_table.h"

#include <QBuffer>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {

struct Deck {
    QString path;
    printing::PrintSource source;
    std::vector<qint64> keys;
};

// The card tables of the benchmarks, each built once.
class Fixture {
public:
    // `cards` text cards, or cards with a 1600 x 1200 photograph as answer picture, packed.
    const Deck& deck(int cards, bool photos) {
        const QString name = QStringLiteral("D%1_%2.DB").arg(cards).arg(photos ? 1 : 0);
        auto found = decks_.find(name);
        if (found != decks_.end())
            return found->second;
        Deck d;
        d.path = dir_.filePath(name);
        d.source.design.answerImage = photos;
        d.source.design.compressed = photos;
        d.source.design.enciphered = photos;
        d.source.packedContent = photos;
        d.source.key = photos ? QStringLiteral("clave") : QString();
        studyfile::createCardTable(d.path);
        table::Table t;
        t.setTableName(d.path);
        t.open();
        streams::TQXStreams qxs;
        studyfile::configureContentContainer(qxs, d.source.design, d.source.key);
        std::vector<picture::Picture> pictures;
        if (photos)
            for (int v = 0; v < 4; ++v)
                pictures.push_back(
                    picture::Picture::jpegFromImage(bench::photoImage(1600, 1200, v)));
        {
            table::BatchScope batch(t);
            for (int i = 0; i < cards; ++i) {
                studyfile::CardEdit e;
                e.question = QStringLiteral("¿Cuál es la pregunta número %1?").arg(i);
                e.shortAnswer = QStringLiteral("La respuesta de la ficha %1").arg(i);
                if (photos)
                    e.answerPicture = pictures[static_cast<size_t>(i) % pictures.size()];
                studyfile::storeCard(t, qxs, d.source.design, d.source.packedContent, e, 0,
                                     QStringLiteral("20240101"));
            }
        }
        t.setFilter(studyfile::kBaseFilter);
        t.setFiltered(true);
        d.keys = t.visibleKeys();
        return decks_.emplace(name, std::move(d)).first->second;
    }

    QString folder() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
    std::map<QString, Deck> decks_;
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void openPrintTable(table::Table& printTable) {
    printTable.setTableName(studyfile::createPrintTable(fixture().folder()));
    printTable.open();
}

void FillPrintTable(benchmark::State& state) {
    const Deck& deck = fixture().deck(10'000, false);
    table::Table printTable;
    openPrintTable(printTable);
    table::Table cards;
    cards.setTableName(deck.path);
    cards.open();
    int rows = 0;
    for (auto _ : state)
        rows = printing::fillPrintTable(printTable, cards, deck.keys, printing::Side::Answers, 6,
                                        deck.source);
    state.counters["rows"] = rows;
    state.counters["rows_per_s"] =
        benchmark::Counter(static_cast<double>(rows) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
}
BENCHMARK(FillPrintTable)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// Draws the answer run of `cards` cards of a deck into a PDF in memory.
void drawDeck(benchmark::State& state, int cards, bool photos, printing::AnswerChoice answer) {
    const Deck& deck = fixture().deck(cards, photos);
    table::Table printTable;
    openPrintTable(printTable);
    table::Table reader;
    reader.setTableName(deck.path);
    reader.open();
    const int rows = printing::fillPrintTable(printTable, reader, deck.keys,
                                              printing::Side::Answers, 6, deck.source);
    printing::PrintSettings settings;
    settings.choices.answer = answer;
    const report::Report report =
        printing::printReport(printTable, printing::Side::Answers, settings, deck.source);
    qint64 pdfSize = 0;
    size_t failures = 0;
    for (auto _ : state) {
        QByteArray pdf;
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        {
            QPdfWriter writer(&buffer);
            writer.setResolution(300);
            failures = report.print(writer).failures.size();
        }
        pdfSize = pdf.size();
    }
    state.counters["pages"] = report.pageCount();
    state.counters["failures"] = static_cast<double>(failures);
    state.counters["pdf_MB"] = static_cast<double>(pdfSize) / 1e6;
    state.counters["boxes_per_s"] =
        benchmark::Counter(static_cast<double>(rows) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
}

void DrawTextCards(benchmark::State& state) {
    drawDeck(state, 1'000, false, printing::AnswerChoice::Text);
}
BENCHMARK(DrawTextCards)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void DrawPackedPhotographs(benchmark::State& state) {
    drawDeck(state, 120, true, printing::AnswerChoice::Image);
}
BENCHMARK(DrawPackedPhotographs)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    return bench::runOffscreen(argc, argv);
}
