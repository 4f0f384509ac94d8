// The card content loader (what moving to a card costs in the review screen) on one card with a
// short answer, a long answer, a 640 x 480 JPEG question picture and a 640 x 480 bitmap answer
// picture, in the four packing forms; creating an enciphered, compressed study file through the
// code the creation screen and orbanel-tool share; and the counts of the information screen on
// 100,000 cards, beside the old way of counting by setting filters on the card table.
#include "bench_support.h"
#include "platform/table/table.h"
#include "streams/memory_stream.h"
#include "streams/qx_streams.h"
#include "studyfile/card_content.h"
#include "studyfile/card_store.h"
#include "studyfile/card_table.h"
#include "studyfile/creation.h"
#include "studyfile/study_file_info.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

QImage sampleImage() {
    QImage image(640, 480, QImage::Format_RGB32);
    QPainter p(&image);
    for (int y = 0; y < 480; y += 16)
        for (int x = 0; x < 640; x += 16)
            p.fillRect(x, y, 16, 16, QColor((x * 7) % 256, (y * 5) % 256, (x + y) % 256));
    return image;
}

const char* const kForms[] = {"plain", "compressed", "enciphered", "compressed+enciphered"};

void LoadCard(benchmark::State& state) {
    const int form = int(state.range(0));
    QTemporaryDir dir;
    studyfile::CreationRequest r;
    r.datFolder = dir.path();
    r.name = QStringLiteral("B");
    r.options.questionImage = r.options.answerImage = true;
    r.options.compressed = form == 1 || form == 3;
    r.password = form >= 2 ? QStringLiteral("clave") : QString();
    const QString path = studyfile::createStudyFile(r);
    studyfile::DesignOptions design = r.options;
    design.enciphered = form >= 2;

    streams::TQXStreams qxs;
    studyfile::configureContentContainer(qxs, design, r.password);
    table::Table cards;
    cards.open(dir.path(), QStringLiteral("B.DB"));
    cards.append();
    studyfile::CardEdit content;
    content.question = QStringLiteral("¿Qué muestra la imagen?");
    content.shortAnswer = QStringLiteral("Un mosaico de colores");
    content.questionPicture = picture::Picture::jpegFromImage(sampleImage());
    content.answerPicture = picture::Picture::fromImage(sampleImage());
    studyfile::writeCard(cards, qxs, design, design.packedContent(), content, nullptr,
                         QStringLiteral("20240101"));
    cards.post();

    studyfile::CardView view;
    qint64 bytes = 0;
    for (auto _ : state) {
        studyfile::loadCardView(view, cards, qxs, design, design.packedContent());
        if (view.answerPicture.isEmpty() || view.questionPicture.isEmpty())
            state.SkipWithError("card did not load");
        bytes += content.questionPicture->bytes().size() + content.answerPicture->bytes().size();
    }
    state.SetBytesProcessed(bytes);
    state.SetLabel(kForms[form]);
}
BENCHMARK(LoadCard)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

void CreateEncipheredStudyFile(benchmark::State& state) {
    QTemporaryDir dir;
    int n = 0;
    for (auto _ : state) {
        studyfile::CreationRequest r;
        r.datFolder = dir.path();
        r.name = QStringLiteral("F%1").arg(n++);
        r.options.compressed = true;
        r.description = studyfile::descriptionTemplate();
        r.password = QStringLiteral("clave");
        studyfile::createStudyFile(r);
    }
}
BENCHMARK(CreateEncipheredStudyFile)->Unit(benchmark::kMillisecond);

// 100,000 cards over levels 0 to 7, every other card packed ("S"), the rest plain ("N"); built
// once for the benchmarks that count them.
class InfoTable {
public:
    static const QString& path() {
        static InfoTable table;
        return table.path_;
    }

private:
    InfoTable() {
        path_ = dir_.filePath(QStringLiteral("Info.DB"));
        bench::fillCardTable(path_, 100000, 8);
        table::Table t;
        t.setTableName(path_);
        t.open();
        table::BatchScope batch(t);
        int i = 0;
        for (t.first(); !t.eof(); t.next(), ++i) {
            if (i % 2 == 0) {
                t.edit();
                t.fieldByName(QStringLiteral("Ficha_Comp_Encr")).setString(QStringLiteral("S"));
                t.post();
            }
        }
    }
    QTemporaryDir dir_;
    QString path_;
};

// The card table as the program keeps it: behind the base filter, on its first card.
std::unique_ptr<table::Table> openInfoTable() {
    auto t = std::make_unique<table::Table>();
    t->setTableName(InfoTable::path());
    t->setFilter(studyfile::kBaseFilter);
    t->setFiltered(true);
    t->open();
    return t;
}

// What each activation of the information screen counts and writes: countStudyFile and
// infoScreenTexts, beside the cursor.
void InfoScreenCounts(benchmark::State& state) {
    const auto t = openInfoTable();
    studyfile::DesignOptions design;
    design.compressed = true;
    for (auto _ : state) {
        const studyfile::StudyFileCounts counts = studyfile::countStudyFile(*t, true);
        const QStringList texts =
            studyfile::infoScreenTexts(QStringLiteral("Info"), design, counts);
        if (counts.total != 100000 || counts.packed != 50000 || texts.size() != 50)
            state.SkipWithError("wrong counts");
        benchmark::DoNotOptimize(texts);
    }
    state.SetLabel("countStudyFile + infoScreenTexts, 100,000 cards");
}
BENCHMARK(InfoScreenCounts)->Unit(benchmark::kMillisecond);

// The old way, for comparison: eleven filters set on the card table, each followed by its record
// count (level 0, "S", "N", the seven level lines, and the filter put back), every one of them
// reloading the visible keys and moving the cursor.
void InfoScreenCountsBySettingFilters(benchmark::State& state) {
    const auto t = openInfoTable();
    const QString saved = t->filter();
    QStringList filters{QStringLiteral("nive_fich = 0"), QStringLiteral("Ficha_Comp_Encr = 'S'"),
                        QStringLiteral("Ficha_Comp_Encr = 'N'")};
    for (int level = 0; level < 6; ++level)
        filters << QStringLiteral("nive_fich = %1").arg(level);
    filters << QStringLiteral("nive_fich >= 6") << saved;
    for (auto _ : state) {
        qint64 sum = 0;
        for (const QString& filter : filters) {
            t->setFilter(filter);
            sum += t->recordCount();
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetLabel("11 x setFilter + recordCount, 100,000 cards");
}
BENCHMARK(InfoScreenCountsBySettingFilters)->Unit(benchmark::kMillisecond);

// The same counts on 2,000 cards that each carry a 50,000-byte answer picture: the packing state
// and the review count stand after the pictures in each row, so every scan that reads them reads
// the pictures too (three such scans: "S", "N" and the reviews).
void InfoScreenCountsWithPictures(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Fotos.DB"));
    studyfile::createCardTable(path);
    table::Table t;
    t.setTableName(path);
    t.open();
    {
        table::BatchScope batch(t);
        const QByteArray picture(50000, 'x');
        for (int i = 0; i < 2000; ++i) {
            t.append();
            t.fieldByName(QStringLiteral("Nive_Fich")).setInteger(i % 8);
            t.fieldByName(QStringLiteral("Preg_Text")).setString(QStringLiteral("P%1").arg(i));
            t.fieldByName(QStringLiteral("Resp_Imag")).setBytes(picture);
            t.fieldByName(QStringLiteral("Total_Repa")).setInteger(i % 11);
            t.fieldByName(QStringLiteral("Ficha_Comp_Encr"))
                .setString(i % 2 == 0 ? QStringLiteral("S") : QStringLiteral("N"));
            t.post();
        }
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(studyfile::countStudyFile(t, true));
    state.SetLabel("countStudyFile, 2,000 cards of 50,000-byte pictures");
}
BENCHMARK(InfoScreenCountsWithPictures)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return bench::runOffscreen(argc, argv);
}
