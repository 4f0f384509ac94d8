#include "bench_support.h"

#include "platform/memory.h"
#include "platform/table/table.h"
#include "studyfile/card_table.h"

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

void fillCardTable(const QString& path, int cards, int levels) {
    studyfile::createCardTable(path);
    table::Table t;
    t.setTableName(path);
    t.open();
    table::BatchScope batch(t);
    for (int i = 0; i < cards; ++i) {
        t.append();
        t.fieldByName("Nive_Fich").setInteger(i % levels);
        t.fieldByName("Nive_Impo").setInteger(i % 3);
        t.fieldByName("Preg_Text").setString(QStringLiteral("Pregunta número %1").arg(i));
        t.fieldByName("Tipo_Preg_Imag").setString(QStringLiteral("NO"));
        t.fieldByName("Tipo_Resp_Imag").setString(QStringLiteral("NO"));
        t.fieldByName("Fech_Crea").setString(QStringLiteral("20240101"));
        t.fieldByName("Fech_Prox_Repa")
            .setString(QStringLiteral("2024%1").arg(101 + i % 28, 4, 10, QChar(u'0')));
        t.fieldByName("Total_Repa").setInteger(i % 11);
        t.fieldByName("Ficha_Comp_Encr").setString(QStringLiteral("N"));
        t.fieldByName("Camp_Logi").setBoolean(false);
        t.post();
    }
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
