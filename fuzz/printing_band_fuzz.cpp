// Splits arbitrary bytes into one print-table row (picture, long answer, short answer and the
// row's flags) and a design, prepares its band as a print run does and draws it onto a small
// image. Every input gives a band or a recorded failure: never a crash, a hang or a read outside
// the data.

#include "platform/report/report.h"
#include "printing/band_layout.h"
#include "printing/print_table.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <cstdlib>

// The font cache that drawing text fills lives until the process ends; it is not a leak of ours.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n";
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Flags, then two 16-bit lengths: the picture and the long answer; the rest is the short
    // answer.
    if (size < 5)
        return 0;
    const uint8_t flags = data[0];
    const size_t imagSize = std::min<size_t>(size - 5, size_t(data[1]) | size_t(data[2]) << 8);
    const size_t memoSize =
        std::min<size_t>(size - 5 - imagSize, size_t(data[3]) | size_t(data[4]) << 8);
    const char* bytes = reinterpret_cast<const char*>(data) + 5;

    printing::PrintRow row;
    row.imag = QByteArray(bytes, static_cast<qsizetype>(imagSize));
    row.memo = QByteArray(bytes + imagSize, static_cast<qsizetype>(memoSize));
    row.memo2 = QByteArray(bytes + imagSize + memoSize,
                           static_cast<qsizetype>(size - 5 - imagSize - memoSize));
    row.text = QStringLiteral("Pregunta");
    row.text2 = flags & 0x04 ? QStringLiteral("JPG") : QString();
    row.compEncr = flags & 0x08 ? QStringLiteral("Fs") : QStringLiteral("Fn");

    printing::PrintSource source;
    const bool packed = flags & 0x02;
    source.design.compressed = packed;
    source.design.enciphered = packed && (flags & 0x80);
    source.packedContent = packed;
    source.key = QStringLiteral("clave");
    source.design.questionImage = flags & 0x10;
    source.design.answerImage = flags & 0x10;
    source.design.longAnswerText = flags & 0x20;
    source.design.shortAnswerSize = flags & 0x40 ? 100 : 0;
    const printing::Side side = flags & 0x01 ? printing::Side::Answers : printing::Side::Questions;

    const report::BandContent content = printing::prepareBand(row, side, source);

    report::ReportLayout layout;
    layout.columns = 1;
    layout.boxesPerColumn = 5;
    layout.stretch = flags & 0x01;
    layout.fit = flags & 0x02;
    layout.textItem = QRectF(1, 1, 92, 20);
    layout.pictureItem = QRectF(96, 1, 92, 53);
    layout.richTextItem = QRectF(1, 22, 92, 32);
    report::Report report(layout, 1, [&](int) { return content; });
    QImage page(80, 110, QImage::Format_RGB32);
    page.setDotsPerMeterX(394); // 10 dpi
    page.setDotsPerMeterY(394);
    page.fill(Qt::white);
    QPainter painter(&page);
    std::vector<report::BandFailure> failures;
    report.drawPage(painter, 0, failures);
    painter.end();
    if (failures.size() != (content.failure.isEmpty() ? 0u : 1u)) {
        std::fprintf(stderr, "a band failure was lost or invented\n");
        std::abort();
    }
    return 0;
}
