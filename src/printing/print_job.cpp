#include "printing/print_job.h"

#include "platform/table/table.h"
#include "printing/band_layout.h"

#include <QPdfWriter>
#include <QSaveFile>

namespace printing {

const QString kNotPrintableMessage =
    QStringLiteral("No podrá imprimr, ni hacer visualización previa, pues esta\r\ropción está "
                   "desconectada en este Fichero de Estudio.");
const QString kPreviewFailedMessage = QStringLiteral(" Ha habido un error en la visualización.");
const QString kPrintFailedMessage = QStringLiteral(" Ha habido un error en la impresión.");

namespace {

// PDF pages are drawn at this resolution: text and frames are vectors anyway, and pictures are
// scaled to it.
constexpr int kPdfDpi = 300;

} // namespace

AnswerChoice defaultAnswerChoice(const studyfile::DesignOptions& design) {
    if (design.shortAnswerSize > 0)
        return AnswerChoice::Text;
    return design.longAnswerText ? AnswerChoice::LongText : AnswerChoice::Image;
}

report::ReportLayout reportLayout(Side side, const PrintSettings& settings,
                                  const studyfile::DesignOptions& design) {
    report::ReportLayout layout;
    layout.paper = settings.paper;
    layout.columns = columnsFor(settings.choices.perPage);
    layout.boxesPerColumn = settings.choices.perPage / layout.columns;
    layout.frame = settings.frame;
    layout.stretch = settings.stretch;
    layout.fit = settings.fit;
    layout.centreText = settings.centreText;
    layout.font = settings.font;
    const report::BandGrid grid =
        report::bandGrid(report::pageSizeMm(settings.paper), layout.columns, layout.boxesPerColumn);
    const BandItems items =
        bandItems(side, settings.choices, design, layout.columns, grid.bandWidth, grid.bandHeight);
    layout.textItem = items.text;
    layout.pictureItem = items.picture;
    layout.richTextItem = items.richText;
    return layout;
}

report::Report printReport(table::Table& printTable, Side side, const PrintSettings& settings,
                           const PrintSource& source) {
    return report::Report(reportLayout(side, settings, source.design), printTable.recordCount(),
                          [&printTable, side, source](int row) {
                              return prepareBand(printTable, row, side, source);
                          });
}

report::RunResult writePdf(const report::Report& report, const QString& path,
                           const report::Progress& progress, bool keepOnlyWhole) {
    report::RunResult result;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        result.outcome = report::RunOutcome::Failed;
        result.error = QStringLiteral("No se puede escribir el archivo %1").arg(path);
        return result;
    }
    {
        // The PDF engine neither opens nor closes the device it is given.
        QPdfWriter writer(&file);
        writer.setResolution(kPdfDpi);
        writer.setCreator(QStringLiteral("Orbanel"));
        result = report.print(writer, 1, report.pageCount(), progress);
    }
    if (result.outcome != report::RunOutcome::Done || (keepOnlyWhole && !result.failures.empty())) {
        file.cancelWriting();
        return result;
    }
    if (!file.commit()) {
        result.outcome = report::RunOutcome::Failed;
        result.error = QStringLiteral("No se puede escribir el archivo %1").arg(path);
    }
    return result;
}

} // namespace printing
