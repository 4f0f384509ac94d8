// A review over a compressed and enciphered study file of 5,000 cards, each with a 1600 x 1200
// JPEG answer picture: moving to the next card with the card content loader (unpack, decode, fit
// into the review box) and answering it (the schedule rule and the post, flushed to disk).
#include "bench_support.h"
#include "platform/table/table.h"
#include "review/schedule.h"
#include "streams/qx_streams.h"
#include "studyfile/card_content.h"
#include "studyfile/card_store.h"
#include "studyfile/creation.h"
#include "viewers/picture_fit.h"

#include <QDate>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kCards = 5000;

// The study file, made once for all benchmarks.
struct Fixture {
    QTemporaryDir dir;
    studyfile::DesignOptions design;
    streams::TQXStreams qxs;
    table::Table cards;
    qint64 jpegBytes = 0;

    Fixture() {
        studyfile::CreationRequest r;
        r.datFolder = dir.path();
        r.name = QStringLiteral("Bench");
        r.options.answerImage = true;
        r.options.compressed = true;
        r.password = QStringLiteral("clave");
        studyfile::createStudyFile(r);
        design = r.options;
        design.enciphered = true;
        studyfile::configureContentContainer(qxs, design, r.password);
        cards.open(dir.path(), QStringLiteral("Bench.DB"));

        studyfile::CardEdit content;
        content.question = QStringLiteral("¿Qué ciudad muestra la imagen?");
        content.shortAnswer = QStringLiteral("Una capital europea");
        content.answerPicture = picture::Picture::jpegFromImage(bench::photoImage(1600, 1200), 85);
        jpegBytes = content.answerPicture->bytes().size();
        // The first card is written as the card editor writes it; the others copy its packed
        // fields (packing each anew would only make the set-up slower).
        cards.append();
        studyfile::writeCard(cards, qxs, design, true, content, nullptr,
                             QStringLiteral("20240101"));
        cards.post();
        // The fields of the first card, kept as they are stored (blank ones stay blank).
        struct Value {
            QString name;
            table::FieldType type;
            bool null;
            qint64 number;
            QString text;
            QByteArray bytes;
        };
        std::vector<Value> values;
        for (const table::FieldDef& def : cards.fieldDefs()) {
            table::Field fld = cards.fieldByName(def.name);
            if (def.type == table::FieldType::AutoInc || fld.isNull())
                continue;
            values.push_back({def.name, def.type, false,
                              def.type == table::FieldType::SmallInt ? fld.asInteger() : 0,
                              fld.asString(), fld.asBytes()});
        }
        table::BatchScope batch(cards);
        for (int i = 1; i < kCards; ++i) {
            cards.append();
            for (const Value& v : values) {
                table::Field fld = cards.fieldByName(v.name);
                switch (v.type) {
                case table::FieldType::Blob:
                    fld.setBytes(v.bytes);
                    break;
                case table::FieldType::SmallInt:
                    fld.setInteger(v.number);
                    break;
                default:
                    fld.setString(v.text);
                    break;
                }
            }
            cards.post();
        }
    }
};

Fixture& fixture() {
    static auto* f = new Fixture;
    return *f;
}

void NextCardWithContentLoader(benchmark::State& state) {
    Fixture& f = fixture();
    studyfile::CardView view;
    f.cards.first();
    for (auto _ : state) {
        f.cards.next();
        if (f.cards.eof())
            f.cards.first();
        studyfile::loadCardView(view, f.cards, f.qxs, f.design, true);
        // The answer picture alone in the review screen: picture number 6.
        const FitBox box = fitBoxForPicture(picture_number::reviewAnswerAlone);
        const QRect placed = AdaptaImagen(box.width, box.height, box.left, box.top,
                                          view.answerPicture.width(), view.answerPicture.height());
        if (view.answerPicture.width() != 1600 || placed.width() <= 0)
            state.SkipWithError("the card did not load");
        benchmark::DoNotOptimize(placed);
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel(QStringLiteral("%1 cards, JPEG %2 KB")
                       .arg(f.cards.recordCount())
                       .arg(f.jpegBytes / 1024)
                       .toStdString());
}
BENCHMARK(NextCardWithContentLoader)->Unit(benchmark::kMillisecond)->MinTime(3.0);

void AnswerCard(benchmark::State& state) {
    Fixture& f = fixture();
    const review::ReviewIntervals intervals = review::kDefaultReviewIntervals;
    // Kept across the runs of this benchmark: every answer falls on a later day than the last.
    static QDate day(2030, 1, 1);
    f.cards.first();
    int answered = 0;
    for (auto _ : state) {
        // A new day for every answer, so that each one changes its card and posts it.
        day = day.addDays(1);
        const bool posted = review::recordAnswer(
            f.cards, answered % 3 == 0 ? review::Answer::Wrong : review::Answer::Correct, intervals,
            day);
        if (!posted)
            state.SkipWithError("the answer was not posted");
        ++answered;
        f.cards.next();
        if (f.cards.eof())
            f.cards.first();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(AnswerCard)->Unit(benchmark::kMillisecond)->MinTime(3.0);

} // namespace

int main(int argc, char** argv) {
    return bench::runOffscreen(argc, argv);
}
