// A banded report of our own: equal boxes ("bands") in one or two columns per page, each holding
// up to three items (a short text, a picture, a rich-text document) that a band source supplies
// just before the band is drawn. It draws on any QPagedPaintDevice (a PDF writer or a printer),
// or one page at a time onto any painter, so that it runs without widgets or a printer.
//
// Lengths are millimetres (report_geometry.h); they are turned into device pixels with the
// device's resolution and the painter is never scaled, so point-sized fonts keep their size.
#pragma once

#include "platform/report/report_geometry.h"

#include <QFont>
#include <QImage>
#include <QRectF>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QPagedPaintDevice;
class QPaintDevice;
class QPainter;
class QTextDocument;

namespace report {

// What a band shows. A band whose content could not all be prepared carries what was prepared and
// the reason in failure; it is drawn all the same.
struct BandContent {
    QString text;
    QImage picture;
    std::shared_ptr<QTextDocument> richText;
    QString failure;
};

struct BandFailure {
    int row = 0; // 0-based report row
    QString reason;
};

struct ReportLayout {
    Paper paper = Paper::A4;
    int columns = 2;        // 1 or 2
    int boxesPerColumn = 3; // 3, 4 or 5
    bool frame = true;      // a 0.25 mm frame drawn inside every band, empty ones included
    bool stretch = false;   // the picture fills its item exactly
    bool fit = true; // without stretch, a picture larger than its item is shrunk (else cropped)
    bool centreText = true; // the text item centred, else left-aligned
    QFont font = defaultFont();
    // The items, in mm from the band's top-left corner; empty: not drawn.
    std::optional<QRectF> textItem;
    std::optional<QRectF> pictureItem;
    std::optional<QRectF> richTextItem;

    static QFont defaultFont();
};

// Gives the content of report row `row`; it may throw platform::Error, which fails that band only.
using BandSource = std::function<BandContent(int row)>;
// Called after a band was drawn.
using AfterBand = std::function<void(int row)>;
// Told page `page` (1-based) of `count` is next; returns false to cancel the run.
using Progress = std::function<bool(int page, int count)>;

enum class RunOutcome { Done, Cancelled, Failed };

struct RunResult {
    RunOutcome outcome = RunOutcome::Done;
    QString error; // why the run failed (the painter could not start)
    std::vector<BandFailure> failures;
};

class Report {
public:
    Report(ReportLayout layout, int rowCount, BandSource source, AfterBand after = {});

    const ReportLayout& layout() const { return layout_; }
    const BandGrid& grid() const { return grid_; }
    int rowCount() const { return rowCount_; }
    // At least one: a report without rows prints one blank page.
    int pageCount() const;

    // Draws pages from..to (1-based, inclusive; clamped to the report) on device, whose page
    // layout it sets to the report's paper with no margins. A device that a painter cannot start
    // on fails the run; failing bands are collected and the run goes on.
    RunResult print(QPagedPaintDevice& device, int fromPage, int toPage,
                    const Progress& progress = {}) const;
    RunResult print(QPagedPaintDevice& device) const { return print(device, 1, pageCount()); }

    // Draws page `page` (0-based) onto painter, whose device's resolution sizes both the boxes
    // and the text, with the page's top-left corner at the origin. Failing bands are appended to
    // failures.
    void drawPage(QPainter& painter, int page, std::vector<BandFailure>& failures) const;

private:
    void drawBand(QPainter& painter, int row, const QRectF& bandMm, double dpi,
                  std::vector<BandFailure>& failures) const;

    ReportLayout layout_;
    BandGrid grid_;
    int rowCount_;
    BandSource source_;
    AfterBand after_;
};

// Draws into a PDF file at path through draw, written to a temporary file that replaces the old
// one only when the run is done: a failed or cancelled run (or, with keepOnlyWhole, a run with
// band failures) leaves no half-written file and an older one untouched. A file that cannot be
// written fails the run.
RunResult writePdfFile(const QString& path,
                       const std::function<RunResult(QPagedPaintDevice&)>& draw,
                       bool keepOnlyWhole = false);

// The picture's drawn rectangle (mm) inside its item: the item itself with stretch; else its
// natural size (one pixel = 1/96 in) centred, shrunk proportionally to fit the item when larger
// and fit is on (cropped to the item otherwise, by the caller's clip).
QRectF pictureRectMm(const QRectF& itemMm, QSize pixels, bool stretch, bool fit);

} // namespace report
