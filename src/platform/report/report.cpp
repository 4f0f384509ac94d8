#include "platform/report/report.h"

#include "platform/error.h"

#include <QAbstractTextDocumentLayout>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>
#include <QTextOption>

#include <algorithm>
#include <cmath>

namespace report {

namespace {

constexpr double kMmPerInch = 25.4;
constexpr double kFrameMm = 0.25;
constexpr double kPictureDpiLimit = 300;
constexpr double kScreenDpi = 96;
// PDF pages are drawn at this resolution: text and frames are vectors anyway, and pictures are
// scaled to it.
constexpr int kPdfDpi = 300;

QRectF toPixels(const QRectF& mm, double dpi) {
    const double f = dpi / kMmPerInch;
    return QRectF(mm.x() * f, mm.y() * f, mm.width() * f, mm.height() * f);
}

// Lays a document out for the device and draws it at the item's place, clipped to the item.
void drawDocument(QPainter& painter, QTextDocument& doc, const QRectF& itemPx) {
    if (painter.device() != nullptr)
        doc.documentLayout()->setPaintDevice(painter.device());
    doc.setTextWidth(itemPx.width());
    painter.save();
    painter.setClipRect(itemPx, Qt::IntersectClip);
    painter.translate(itemPx.topLeft());
    doc.drawContents(&painter, QRectF(QPointF(0, 0), itemPx.size()));
    painter.restore();
}

} // namespace

QFont ReportLayout::defaultFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(9);
    return font;
}

QRectF pictureRectMm(const QRectF& itemMm, QSize pixels, bool stretch, bool fit) {
    if (stretch || pixels.isEmpty())
        return itemMm;
    double w = pixels.width() * kMmPerInch / kScreenDpi;
    double h = pixels.height() * kMmPerInch / kScreenDpi;
    if (fit && (w > itemMm.width() || h > itemMm.height())) {
        const double scale = std::min(itemMm.width() / w, itemMm.height() / h);
        w *= scale;
        h *= scale;
    }
    return QRectF(itemMm.center().x() - w / 2, itemMm.center().y() - h / 2, w, h);
}

Report::Report(ReportLayout layout, int rowCount, BandSource source, AfterBand after)
    : layout_(std::move(layout)),
      grid_(bandGrid(pageSizeMm(layout_.paper), layout_.columns, layout_.boxesPerColumn)),
      rowCount_(std::max(0, rowCount)), source_(std::move(source)), after_(std::move(after)) {}

int Report::pageCount() const {
    return grid_.pageCount(rowCount_);
}

void Report::drawPage(QPainter& painter, int page, std::vector<BandFailure>& failures) const {
    const double dpi = painter.device() != nullptr ? painter.device()->logicalDpiX() : 96;
    const int perPage = grid_.boxesPerPage();
    const int first = page * perPage;
    const int last = std::min(rowCount_, first + perPage);
    for (int row = first; row < last; ++row)
        drawBand(painter, row, grid_.boxOfRow(row), dpi, failures);
}

void Report::drawBand(QPainter& painter, int row, const QRectF& bandMm, double dpi,
                      std::vector<BandFailure>& failures) const {
    BandContent content;
    if (source_) {
        try {
            content = source_(row);
        } catch (const std::exception& e) {
            content = BandContent();
            content.failure = QString::fromUtf8(e.what());
        }
    }
    if (!content.failure.isEmpty())
        failures.push_back({row, content.failure});

    const QRectF bandPx = toPixels(bandMm, dpi);
    painter.save();
    painter.setClipRect(bandPx);
    const auto itemPx = [&](const QRectF& itemMm) {
        return toPixels(itemMm.translated(bandMm.topLeft()), dpi);
    };

    if (layout_.textItem && !content.text.isEmpty()) {
        QTextDocument doc;
        doc.setDefaultFont(layout_.font);
        QTextOption option(layout_.centreText ? Qt::AlignHCenter : Qt::AlignLeft);
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        doc.setDefaultTextOption(option);
        doc.setDocumentMargin(0);
        doc.setPlainText(content.text);
        drawDocument(painter, doc, itemPx(*layout_.textItem));
    }
    if (layout_.pictureItem && !content.picture.isNull()) {
        const QRectF itemMm = layout_.pictureItem->translated(bandMm.topLeft());
        const QRectF drawnMm =
            pictureRectMm(itemMm, content.picture.size(), layout_.stretch, layout_.fit);
        // Only the part inside the item is drawn (a picture cropped without fit can be far larger
        // than its item), scaled once to its drawn size at no more than 300 dpi, so that a PDF or
        // a preview's page cache holds no more pixels than paper can show.
        const QRectF visibleMm = drawnMm.intersected(itemMm);
        if (!visibleMm.isEmpty()) {
            const double sx = content.picture.width() / drawnMm.width();
            const double sy = content.picture.height() / drawnMm.height();
            const QRect source =
                QRectF((visibleMm.x() - drawnMm.x()) * sx, (visibleMm.y() - drawnMm.y()) * sy,
                       visibleMm.width() * sx, visibleMm.height() * sy)
                    .toAlignedRect()
                    .intersected(content.picture.rect());
            const QImage part =
                source == content.picture.rect() ? content.picture : content.picture.copy(source);
            const double pictureDpi = std::min(dpi, kPictureDpiLimit);
            const QSize scaledSize(
                std::max(1, int(std::lround(visibleMm.width() * pictureDpi / kMmPerInch))),
                std::max(1, int(std::lround(visibleMm.height() * pictureDpi / kMmPerInch))));
            const QImage scaled =
                part.size() == scaledSize
                    ? part
                    : part.scaled(scaledSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            painter.drawImage(toPixels(visibleMm, dpi), scaled);
        }
    }
    if (layout_.richTextItem && content.richText) {
        content.richText->setDocumentMargin(0);
        drawDocument(painter, *content.richText, itemPx(*layout_.richTextItem));
    }
    painter.restore();

    if (layout_.frame) {
        const double penPx = kFrameMm * dpi / kMmPerInch;
        painter.save();
        QPen pen(Qt::black);
        pen.setWidthF(penPx);
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        // Inside the band: the pen's outer edge on the band's rectangle.
        painter.drawRect(bandPx.adjusted(penPx / 2, penPx / 2, -penPx / 2, -penPx / 2));
        painter.restore();
    }
    if (after_)
        after_(row);
}

RunResult Report::print(QPagedPaintDevice& device, int fromPage, int toPage,
                        const Progress& progress) const {
    RunResult result;
    const int pages = pageCount();
    fromPage = std::clamp(fromPage, 1, pages);
    toPage = std::clamp(toPage, fromPage, pages);
    device.setPageLayout(QPageLayout(pageSize(layout_.paper), QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    QPainter painter;
    if (!painter.begin(&device)) {
        result.outcome = RunOutcome::Failed;
        result.error = QStringLiteral("No se puede empezar a dibujar las páginas.");
        return result;
    }
    for (int page = fromPage; page <= toPage; ++page) {
        if (progress && !progress(page - fromPage + 1, toPage - fromPage + 1)) {
            result.outcome = RunOutcome::Cancelled;
            break;
        }
        if (page > fromPage && !device.newPage()) {
            result.outcome = RunOutcome::Failed;
            result.error = QStringLiteral("No se puede empezar una página nueva.");
            break;
        }
        drawPage(painter, page - 1, result.failures);
    }
    painter.end();
    return result;
}

RunResult writePdfFile(const QString& path,
                       const std::function<RunResult(QPagedPaintDevice&)>& draw,
                       bool keepOnlyWhole) {
    RunResult result;
    const QString cannotWrite = QStringLiteral("No se puede escribir el archivo %1").arg(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        result.outcome = RunOutcome::Failed;
        result.error = cannotWrite;
        return result;
    }
    {
        // The PDF engine neither opens nor closes the device it is given.
        QPdfWriter writer(&file);
        writer.setResolution(kPdfDpi);
        writer.setCreator(QStringLiteral("Orbanel"));
        result = draw(writer);
    }
    if (result.outcome != RunOutcome::Done || (keepOnlyWhole && !result.failures.empty())) {
        file.cancelWriting();
        return result;
    }
    if (!file.commit()) {
        result.outcome = RunOutcome::Failed;
        result.error = cannotWrite;
    }
    return result;
}

} // namespace report
