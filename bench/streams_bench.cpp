// Benchmarks of the stream container and its codecs on 1 MiB of mixed data (a BMP picture and
// Spanish text), and a comparison of our -lh5- decoder with the lhasa extractor.
#include "streams/block_cipher.h"
#include "streams/lzh.h"
#include "streams/qx_streams.h"

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>

namespace {

constexpr int kSize = 1 << 20;

QByteArray picture() {
    QImage img(420, 400, QImage::Format_RGB888);
    QLinearGradient sky(0, 0, 0, 400);
    sky.setColorAt(0, QColor(30, 80, 200));
    sky.setColorAt(1, QColor(250, 220, 150));
    QPainter p(&img);
    p.fillRect(img.rect(), sky);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 200, 40));
    p.drawEllipse(300, 30, 80, 80);
    p.setBrush(QColor(40, 120, 50));
    p.drawRect(0, 280, 420, 120);
    p.end();
    QRandomGenerator gen(7);
    for (int y = 280; y < 400; ++y)
        for (int x = 0; x < 420; ++x) {
            const QColor c = img.pixelColor(x, y);
            const int n = int(gen.bounded(50)) - 25;
            img.setPixelColor(x, y,
                              QColor(qBound(0, c.red() + n, 255), qBound(0, c.green() + n, 255),
                                     qBound(0, c.blue() + n, 255)));
        }
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, "BMP");
    return bmp;
}

QByteArray spanishText(int n) {
    static const char* words[] = {"el",      "repaso",   "de",        "las",   "fichas",
                                  "estudio", "pregunta", "respuesta", "nivel", "día",
                                  "próximo", "memoria",  "aprender",  "con",   "una",
                                  "imagen",  "texto",    "largo",     "corto", "fecha"};
    QRandomGenerator gen(3);
    QByteArray out;
    while (out.size() < n) {
        out.append(words[gen.bounded(20)]);
        out.append(gen.bounded(9) == 0 ? ".\r\n" : " ");
    }
    out.truncate(n);
    return out;
}

const QByteArray& mixedData() {
    static const QByteArray data = [] {
        QByteArray d = picture();
        d += spanishText(kSize - int(d.size()));
        d.truncate(kSize);
        return d;
    }();
    return data;
}

const QByteArray& packedData() {
    static const QByteArray packed = streams::lzhCompressBytes(mixedData());
    return packed;
}

const QByteArray kKey("Contraseña del fichero");

void BM_LZHCompress(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(streams::lzhCompressBytes(mixedData()));
    state.SetBytesProcessed(state.iterations() * kSize);
    state.counters["ratio"] = double(packedData().size()) / kSize;
}
BENCHMARK(BM_LZHCompress)->Unit(benchmark::kMillisecond);

// A small payload (a few cards), where setting up the encoder's tables weighs most.
void BM_LZHCompressSmall(benchmark::State& state) {
    const QByteArray small = mixedData().right(4096);
    for (auto _ : state)
        benchmark::DoNotOptimize(streams::lzhCompressBytes(small));
    state.SetBytesProcessed(state.iterations() * small.size());
}
BENCHMARK(BM_LZHCompressSmall)->Unit(benchmark::kMicrosecond);

void BM_LZHDecompress(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(streams::lzhDecompressBytes(packedData()));
    state.SetBytesProcessed(state.iterations() * kSize);
}
BENCHMARK(BM_LZHDecompress)->Unit(benchmark::kMillisecond);

void BM_EncipherStream(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        streams::MemoryStream s(mixedData());
        state.ResumeTiming();
        streams::EncipherStream(s, kKey);
        benchmark::DoNotOptimize(s.Memory());
    }
    state.SetBytesProcessed(state.iterations() * kSize);
}
BENCHMARK(BM_EncipherStream)->Unit(benchmark::kMillisecond);

void BM_DecipherStream(benchmark::State& state) {
    streams::MemoryStream enciphered(mixedData());
    streams::EncipherStream(enciphered, kKey);
    for (auto _ : state) {
        state.PauseTiming();
        streams::MemoryStream s(enciphered.Bytes());
        s.Memory(); // detach from the shared copy outside the timing
        state.ResumeTiming();
        streams::DecipherStream(s, kKey);
        benchmark::DoNotOptimize(s.Memory());
    }
    state.SetBytesProcessed(state.iterations() * kSize);
}
BENCHMARK(BM_DecipherStream)->Unit(benchmark::kMillisecond);

void BM_KeySchedule(benchmark::State& state) {
    streams::BlockCipher cipher;
    for (auto _ : state)
        benchmark::DoNotOptimize(cipher.SetCipherKey(kKey, 16));
}
BENCHMARK(BM_KeySchedule)->Unit(benchmark::kMicrosecond);

streams::TQXStreams& filledContainer() {
    static streams::TQXStreams q;
    static bool filled = false;
    if (!filled) {
        q.Compressed = true;
        q.Encrypted = true;
        q.Key = QString::fromUtf8(kKey);
        streams::MemoryStream entry(mixedData());
        q.AddStream("1", entry);
        filled = true;
    }
    return q;
}

void BM_ContainerSave(benchmark::State& state) {
    const streams::TQXStreams& q = filledContainer();
    for (auto _ : state) {
        streams::MemoryStream out;
        q.SaveToStream(out);
        benchmark::DoNotOptimize(out.Memory());
    }
    state.SetBytesProcessed(state.iterations() * kSize);
}
BENCHMARK(BM_ContainerSave)->Unit(benchmark::kMillisecond);

void BM_ContainerLoad(benchmark::State& state) {
    streams::MemoryStream image;
    filledContainer().SaveToStream(image);
    streams::TQXStreams q;
    q.Key = QString::fromUtf8(kKey);
    for (auto _ : state)
        q.LoadFromStream(image);
    state.SetBytesProcessed(state.iterations() * kSize);
}
BENCHMARK(BM_ContainerLoad)->Unit(benchmark::kMillisecond);

// A level-0 LZH archive with one -lh5- member.
QByteArray archive(const QByteArray& original, const QByteArray& bits) {
    auto le32 = [](QByteArray& out, quint32 v) {
        for (int i = 0; i < 4; ++i)
            out.append(char(v >> (8 * i) & 0xFF));
    };
    quint16 crc = 0;
    for (char c : original) {
        crc ^= quint8(c);
        for (int i = 0; i < 8; ++i)
            crc = (crc & 1) ? quint16((crc >> 1) ^ 0xA001) : quint16(crc >> 1);
    }
    QByteArray h("-lh5-");
    le32(h, quint32(bits.size()));
    le32(h, quint32(original.size()));
    le32(h, 0x5A210000u);
    h.append(char(0x20)).append(char(0)).append(char(8)).append("data.bin");
    h.append(char(crc & 0xFF)).append(char(crc >> 8));
    int sum = 0;
    for (char c : h)
        sum += quint8(c);
    QByteArray a;
    a.append(char(h.size())).append(char(sum & 0xFF)).append(h).append(bits).append(char(0));
    return a;
}

// Best of n runs, in seconds.
template <class F> double best(int n, F f) {
    double b = 1e9;
    for (int i = 0; i < n; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        f();
        b = std::min(b,
                     std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    return b;
}

void compareWithLhasa() {
    const QString lha = QStandardPaths::findExecutable("lha");
    if (lha.isEmpty()) {
        std::printf("lhasa: not installed, no comparison\n");
        return;
    }
    QTemporaryDir dir;
    const QString path = dir.filePath("mixed.lzh");
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(archive(mixedData(), packedData().mid(4)));
    f.close();
    bool same = true;
    const double lhasa = best(7, [&] {
        QProcess p;
        p.start(lha, {"-pq", path});
        p.waitForFinished(60000);
        same = same && p.readAllStandardOutput() == mixedData();
    });
    const QString tiny = dir.filePath("tiny.lzh");
    QFile t(tiny);
    t.open(QIODevice::WriteOnly);
    t.write(archive("x", streams::lzhCompressBytes("x").mid(4)));
    t.close();
    const double startup = best(7, [&] {
        QProcess p;
        p.start(lha, {"-pq", tiny});
        p.waitForFinished(60000);
    });
    const double ours =
        best(7, [] { benchmark::DoNotOptimize(streams::lzhDecompressBytes(packedData())); });
    const double mib = double(kSize) / (1 << 20);
    std::printf("lhasa extract 1 MiB -lh5- archive: %.2f ms (%.1f MiB/s, output %s); "
                "process start alone %.2f ms\n",
                lhasa * 1e3, mib / lhasa, same ? "identical" : "DIFFERENT", startup * 1e3);
    std::printf("our decoder: %.2f ms (%.1f MiB/s); speed ratio ours/lhasa = %.2f "
                "(%.2f against lhasa without its process start)\n",
                ours * 1e3, mib / ours, lhasa / ours, std::max(lhasa - startup, 1e-9) / ours);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    compareWithLhasa();
    return 0;
}
