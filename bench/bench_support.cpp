#include "bench_support.h"

#include "platform/memory.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace bench {

QImage photoImage(int width, int height, int variant) {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient g(0, 0, width, height);
    g.setColorAt(0, QColor(30 + variant * 40 % 200, 60, 140));
    g.setColorAt(1, QColor(220, 180 - variant * 30 % 150, 90));
    p.fillRect(image.rect(), g);
    for (int i = 0; i < 400; ++i)
        p.fillRect((i * 397) % width, (i * 211) % height, 24, 18,
                   QColor((i * 37 + variant) % 256, (i * 91) % 256, (i * 53) % 256));
    return image;
}

int runOffscreen(int argc, char** argv) {
    platform::keepFreedMemoryForReuse();
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace bench
