// Text imports at the sizes a learner brings in from a spreadsheet: a text file of 10,000 lines,
// and a text-and-files import of 500 pairs, each with a 100 KiB JPEG question picture and a
// 100 KiB BMP answer picture, each into a plain study file and into a compressed and enciphered
// one. What is timed is what the import screens do under the wait cursor: reading the file, the
// plan and the run. Every run imports into a fresh empty card table.
#include "bench_support.h"
#include "exchange/text_export.h"
#include "exchange/text_import.h"
#include "platform/picture/picture.h"
#include "platform/table/table.h"
#include "platform/text_file.h"
#include "streams/qx_streams.h"
#include "studyfile/card_content.h"
#include "studyfile/card_table.h"
#include "studyfile/creation.h"
#include "studyfile/font_style.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kTextLines = 10000;
constexpr int kPairs = 500;

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// A study file created once, and a fresh copy of its empty card table for every run.
struct StudyFile {
    QString folder;
    QString emptyTable;
    studyfile::DesignOptions design;
    QString password;

    StudyFile(const QString& base, const QString& name, studyfile::DesignOptions options,
              bool packed) {
        folder = base + u'/' + name;
        QDir().mkpath(folder);
        studyfile::CreationRequest r;
        r.datFolder = folder;
        r.name = QStringLiteral("Curso");
        r.options = options;
        r.options.compressed = packed;
        if (packed)
            r.password = QStringLiteral("clave");
        studyfile::createStudyFile(r);
        design = r.options;
        design.enciphered = packed;
        password = r.password;
        emptyTable = folder + QStringLiteral("/Empty.DB");
        QFile::copy(folder + QStringLiteral("/Curso.DB"), emptyTable);
    }
};

// One timed import per iteration; the fresh table is made outside the timing.
void timeImport(benchmark::State& state, const StudyFile& s, const QString& textFile,
                exchange::ImportMode mode, int expected) {
    streams::TQXStreams qxs;
    studyfile::configureContentContainer(qxs, s.design, s.password);
    const QString run = s.folder + QStringLiteral("/Curso.DB");
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(run);
        QFile::copy(s.emptyTable, run);
        table::Table cards;
        cards.setFilter(studyfile::kBaseFilter);
        cards.setFiltered(true);
        cards.open(s.folder, QStringLiteral("Curso.DB"));
        state.ResumeTiming();

        const QStringList lines = textfile::readTextLines(textFile);
        const exchange::TextImportPlan plan = exchange::planTextImport(
            lines, mode, u'#', QStringLiteral("1"), s.design, QFileInfo(textFile).absolutePath());
        int failed = 0;
        const int posted = exchange::runTextImport(
            cards, qxs, s.design, s.design.packedContent(), plan, QStringLiteral("20240301"),
            studyfile::defaultFontStyle(), [&failed](int, const QString&) { ++failed; });
        if (posted != expected || failed != 0)
            state.SkipWithError("not every card or picture was imported");
    }
    state.counters["cards"] = expected;
}

studyfile::DesignOptions textDesign() {
    studyfile::DesignOptions d;
    d.cardKey = true;
    d.importanceLevel = true;
    d.questionSize = 60;
    d.shortAnswerSize = 100;
    return d;
}

struct TextFixture {
    QTemporaryDir dir;
    QString textFile;
    StudyFile plain{dir.path(), QStringLiteral("plain"), textDesign(), false};
    StudyFile packed{dir.path(), QStringLiteral("packed"), textDesign(), true};

    TextFixture() {
        // 40-character questions, 30-character answers, a key and an importance.
        QStringList lines;
        for (int i = 0; i < kTextLines; ++i)
            lines << QStringLiteral("¿Cómo se dice la palabra número %1?")
                             .arg(i, 5, 10, QChar(u'0'))
                             .leftJustified(40, u'.') +
                         u'#' +
                         QStringLiteral("Respuesta corta %1").arg(i).leftJustified(30, u'.') +
                         QStringLiteral("#tema%1#%2").arg(i % 13).arg(i % 50);
        textFile = dir.filePath(QStringLiteral("lista.txt"));
        textfile::writeTextLines(textFile, lines);
    }
};

TextFixture& textFixture() {
    static auto* f = new TextFixture;
    return *f;
}

// import-text of 10,000 lines: floor < 2 s, ambition 0.7 s.
void ImportTextPlain(benchmark::State& state) {
    TextFixture& f = textFixture();
    timeImport(state, f.plain, f.textFile, exchange::ImportMode::Text, kTextLines);
}
BENCHMARK(ImportTextPlain)->Iterations(3)->Unit(benchmark::kMillisecond);

// The same into a compressed and enciphered study file: floor < 5 s, ambition 2 s.
void ImportTextPacked(benchmark::State& state) {
    TextFixture& f = textFixture();
    timeImport(state, f.packed, f.textFile, exchange::ImportMode::Text, kTextLines);
}
BENCHMARK(ImportTextPacked)->Iterations(3)->Unit(benchmark::kMillisecond);

// export-text of 10,000 cards: the table filled once by an import, then written out as text per
// iteration. Floor < 1 s plain, < 3 s compressed and enciphered.
void timeExport(benchmark::State& state, const StudyFile& s, const QString& textFile) {
    streams::TQXStreams qxs;
    studyfile::configureContentContainer(qxs, s.design, s.password);
    const QString full = s.folder + QStringLiteral("/Full.DB");
    if (!QFile::exists(full)) {
        QFile::copy(s.emptyTable, full);
        table::Table cards;
        cards.open(s.folder, QStringLiteral("Full.DB"));
        const exchange::TextImportPlan plan = exchange::planTextImport(
            textfile::readTextLines(textFile), exchange::ImportMode::Text, u'#',
            QStringLiteral("1"), s.design, QFileInfo(textFile).absolutePath());
        exchange::runTextImport(cards, qxs, s.design, s.design.packedContent(), plan,
                                QStringLiteral("20240301"), studyfile::defaultFontStyle(),
                                [](int, const QString&) {});
    }
    table::Table cards;
    cards.open(s.folder, QStringLiteral("Full.DB"));
    int exported = 0;
    for (auto _ : state)
        exported = exchange::exportText(cards, qxs, s.design, s.design.packedContent(),
                                        s.folder + QStringLiteral("/salida.txt"), {})
                       .cards;
    if (exported != kTextLines)
        state.SkipWithError("not every card was exported");
    state.counters["cards"] = exported;
}

void ExportTextPlain(benchmark::State& state) {
    TextFixture& f = textFixture();
    timeExport(state, f.plain, f.textFile);
}
BENCHMARK(ExportTextPlain)->Iterations(3)->Unit(benchmark::kMillisecond);

void ExportTextPacked(benchmark::State& state) {
    TextFixture& f = textFixture();
    timeExport(state, f.packed, f.textFile);
}
BENCHMARK(ExportTextPacked)->Iterations(3)->Unit(benchmark::kMillisecond);

studyfile::DesignOptions imageDesign() {
    studyfile::DesignOptions d = textDesign();
    d.questionImage = true;
    d.answerImage = true;
    return d;
}

// A picture's file bytes of about 100 KiB.
QByteArray jpegOfAbout100KiB(int variant) {
    int side = 300;
    QByteArray bytes;
    for (;;) {
        bytes = picture::Picture::jpegFromImage(bench::photoImage(side, side, variant), 90).bytes();
        if (bytes.size() >= 100 * 1024 || side > 2000)
            return bytes;
        side = int(side * 1.15);
    }
}

QByteArray bmpOfAbout100KiB(int variant) {
    // 24-bit pixels, rows padded to 4 bytes: 188 x 180 x 3 is about 100 KiB.
    const QImage image =
        bench::photoImage(188, 180, variant).convertToFormat(QImage::Format_RGB888);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

struct ImageFixture {
    QTemporaryDir dir;
    QString textFile;
    StudyFile plain{dir.path(), QStringLiteral("plain"), imageDesign(), false};
    StudyFile packed{dir.path(), QStringLiteral("packed"), imageDesign(), true};
    qint64 pictureBytes = 0;

    ImageFixture() {
        const QString pictures = dir.filePath(QStringLiteral("import"));
        QDir().mkpath(pictures);
        // Ten different pictures of each kind, each written under 50 names.
        QList<QByteArray> jpegs, bmps;
        for (int v = 0; v < 10; ++v) {
            jpegs << jpegOfAbout100KiB(v);
            bmps << bmpOfAbout100KiB(v);
        }
        QStringList lines;
        for (int i = 0; i < kPairs; ++i) {
            const QString q = QStringLiteral("P%1.JPG").arg(i);
            const QString a = QStringLiteral("r%1.bmp").arg(i);
            writeFile(pictures + u'/' + q, jpegs[i % 10]);
            writeFile(pictures + u'/' + a, bmps[i % 10]);
            pictureBytes += jpegs[i % 10].size() + bmps[i % 10].size();
            lines << QStringLiteral("Pregunta con imagen %1#Respuesta %1#tema#%2").arg(i).arg(i % 9)
                  << QStringLiteral("p%1.jpg#R%1.BMP#").arg(i);
        }
        textFile = pictures + QStringLiteral("/lista.txt");
        textfile::writeTextLines(textFile, lines);
    }
};

ImageFixture& imageFixture() {
    static auto* f = new ImageFixture;
    return *f;
}

// import-text-images of 500 pairs with two 100 KiB pictures each: floor < 2 s.
void ImportTextImagesPlain(benchmark::State& state) {
    ImageFixture& f = imageFixture();
    timeImport(state, f.plain, f.textFile, exchange::ImportMode::TextAndFiles, kPairs);
    state.SetBytesProcessed(state.iterations() * f.pictureBytes);
}
BENCHMARK(ImportTextImagesPlain)->Iterations(3)->Unit(benchmark::kMillisecond);

// The same into a compressed and enciphered study file: floor < 8 s (the LZH codec's floor is
// 20 MiB/s).
void ImportTextImagesPacked(benchmark::State& state) {
    ImageFixture& f = imageFixture();
    timeImport(state, f.packed, f.textFile, exchange::ImportMode::TextAndFiles, kPairs);
    state.SetBytesProcessed(state.iterations() * f.pictureBytes);
}
BENCHMARK(ImportTextImagesPacked)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return bench::runOffscreen(argc, argv);
}
