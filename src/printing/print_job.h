// One print run put together: the settings the print screen (or orbanel-tool) reads when a run
// starts, the report laid out from them, and the report drawn over the filled print table.
#pragma once

#include "platform/report/report.h"
#include "printing/print_choices.h"
#include "printing/print_order.h"
#include "printing/print_table.h"

#include <QFont>
#include <QString>

namespace table {
class Table;
}

namespace printing {

extern const QString kNotPrintableMessage;
extern const QString kPreviewFailedMessage;
extern const QString kPrintFailedMessage;

struct PrintSettings {
    PrintChoices choices;
    report::Paper paper = report::Paper::A4;
    bool frame = true;
    bool stretch = false;
    bool fit = true;
    bool centreText = true;
    QFont font = report::ReportLayout::defaultFont();
};

// The answer choice a study file starts with: the short text when it has one, else the long text
// when it has one, else the picture.
AnswerChoice defaultAnswerChoice(const studyfile::DesignOptions& design);

report::ReportLayout reportLayout(Side side, const PrintSettings& settings,
                                  const studyfile::DesignOptions& design);

// The report over the rows of a filled print table; its bands are prepared from the table as they
// are drawn, so the table must stay open and unchanged while the report is used.
report::Report printReport(table::Table& printTable, Side side, const PrintSettings& settings,
                           const PrintSource& source);

// Draws the whole report into a PDF file at path, written through a temporary file that replaces
// the old one only when the run is done (band failures included): a failed or cancelled run
// leaves no half-written file and an older one untouched. A file that cannot be written fails
// the run. With keepOnlyWhole, a run with band failures leaves the old file as well.
report::RunResult writePdf(const report::Report& report, const QString& path,
                           const report::Progress& progress = {}, bool keepOnlyWhole = false);

} // namespace printing
