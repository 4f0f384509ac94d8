// The card content loader (what moving to a card costs in the review screen) on one card with a
// short answer, a long answer, a 640 x 480 JPEG question picture and a 640 x 480 bitmap answer
// picture, in the four packing forms; and creating an enciphered, compressed study file through
// the code the creation screen and orbanel-tool share.
#include "bench_support.h"
#include "platform/table/table.h"
#include "streams/memory_stream.h"
#include "streams/qx_streams.h"
#include "studyfile/card_content.h"
#include "studyfile/card_store.h"
#include "studyfile/creation.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

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

} // namespace

int main(int argc, char** argv) {
    return bench::runOffscreen(argc, argv);
}
