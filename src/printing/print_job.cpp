#include "printing/print_job.h"

#include "platform/table/table.h"
#include "printing/band_layout.h"

namespace printing {

const QString kNotPrintableMessage =
    QStringLiteral("No podrá imprimr, ni hacer visualización previa, pues esta\r\ropción está "
                   "desconectada en este Fichero de Estudio.");
const QString kPreviewFailedMessage = QStringLiteral(" Ha habido un error en la visualización.");
const QString kPrintFailedMessage = QStringLiteral(" Ha habido un error en la impresión.");

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
    report::ReportLayout layout = reportLayout(side, settings, source.design);
    const BandItemsUsed used{layout.textItem.has_value(), layout.pictureItem.has_value(),
                             layout.richTextItem.has_value()};
    return report::Report(std::move(layout), printTable.recordCount(),
                          [&printTable, side, source, used](int row) {
                              return prepareBand(printTable, row, side, source, used);
                          });
}

report::RunResult writePdf(const report::Report& report, const QString& path,
                           const report::Progress& progress, bool keepOnlyWhole) {
    return report::writePdfFile(
        path,
        [&](QPagedPaintDevice& device) {
            return report.print(device, 1, report.pageCount(), progress);
        },
        keepOnlyWhole);
}

} // namespace printing
