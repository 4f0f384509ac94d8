#include "studyfile/ui/level_chart.h"

#include <QFontMetrics>
#include <QHelpEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

namespace {

const QColor kParked(128, 128, 128);
const QColor kNavy(0, 0, 128);
const QColor kBaseline(64, 64, 64);
constexpr int kSide = 4; // free pixels left and right of the bars

} // namespace

LevelChart::LevelChart(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("LevelChart"));
    setAccessibleName(QStringLiteral("Fichas en cada nivel"));
    setCounts({}, 0);
}

void LevelChart::setCounts(const std::array<int, studyfile::kLevelLines>& counts, int total) {
    counts_ = counts;
    total_ = total;
    QStringList parts;
    for (int line = 0; line < studyfile::kLevelLines; ++line) {
        const int n = counts_[std::size_t(line)];
        parts << QStringLiteral("Nivel %1: %2 %3")
                     .arg(line < studyfile::kLevelLines - 1 ? QString::number(line)
                                                            : QStringLiteral("6 o mayor"))
                     .arg(n)
                     .arg(n == 1 ? QStringLiteral("ficha") : QStringLiteral("fichas"));
    }
    setAccessibleDescription(parts.join(QStringLiteral("; ")) + QLatin1Char('.'));
    update();
}

bool LevelChart::empty() const {
    return std::all_of(counts_.begin(), counts_.end(), [](int n) { return n <= 0; });
}

QString LevelChart::notice() const {
    return empty() ? QStringLiteral("Sin fichas") : QString();
}

QString LevelChart::levelName(int line) {
    if (line == studyfile::kLevelLines - 1)
        return QStringLiteral("%1+").arg(line);
    return QString::number(line);
}

QString LevelChart::barToolTip(int line) const {
    if (line < 0 || line >= studyfile::kLevelLines)
        return QString();
    return studyfile::levelLine(line, counts_[std::size_t(line)], total_);
}

QFont LevelChart::textFont() const {
    QFont f = font();
    // Small charts get small text, so that the bars keep some room.
    f.setPixelSize(std::clamp(height() / 12, 7, 13));
    return f;
}

int LevelChart::textHeight() const {
    return QFontMetrics(textFont()).height();
}

QRect LevelChart::plotRect() const {
    const int text = textHeight();
    // A line of text above (the counts) and below (the level names) the bars.
    const int top = text + 2;
    const int bottom = height() - text - 3;
    return QRect(QPoint(kSide, top), QPoint(width() - 1 - kSide, std::max(top, bottom)));
}

QRect LevelChart::barRect(int line) const {
    if (line < 0 || line >= studyfile::kLevelLines)
        return QRect();
    const QRect plot = plotRect();
    const int columns = studyfile::kLevelLines;
    const int slotLeft = plot.left() + plot.width() * line / columns;
    const int slotRight = plot.left() + plot.width() * (line + 1) / columns;
    const int slot = std::max(0, slotRight - slotLeft);
    const int barWidth = std::max(1, slot * 3 / 5);
    const int left = slotLeft + (slot - barWidth) / 2;
    const int largest = *std::max_element(counts_.begin(), counts_.end());
    const int count = std::max(0, counts_[std::size_t(line)]);
    int height = 0;
    if (largest > 0) {
        // Proportional to the largest count, which fills the plot; a bar of at least one card
        // stays visible.
        height = int((qint64(count) * plot.height() + largest / 2) / largest);
        if (count > 0)
            height = std::max(height, std::min(1, plot.height()));
    }
    return QRect(left, plot.bottom() + 1 - height, barWidth, height);
}

QSize LevelChart::sizeHint() const {
    return QSize(300, 180);
}

QSize LevelChart::minimumSizeHint() const {
    return QSize(60, 40);
}

bool LevelChart::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        for (int line = 0; line < studyfile::kLevelLines; ++line) {
            // The whole column of a bar, its count and level name included.
            const QRect bar = barRect(line);
            const QRect column(bar.left(), 0, bar.width(), height());
            if (column.contains(help->pos())) {
                QToolTip::showText(help->globalPos(), barToolTip(line), this, column);
                return true;
            }
        }
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    return QWidget::event(event);
}

void LevelChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QFont f = textFont();
    p.setFont(f);
    const QFontMetrics metrics(f);
    const QRect plot = plotRect();

    p.setPen(kBaseline);
    p.drawLine(plot.left(), plot.bottom() + 1, plot.right(), plot.bottom() + 1);

    if (empty()) {
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(QRect(0, 0, width(), plot.bottom()), Qt::AlignCenter, notice());
    }
    for (int line = 0; line < studyfile::kLevelLines; ++line) {
        const QRect bar = barRect(line);
        const QColor colour = line == 0 ? kParked : kNavy;
        if (bar.height() > 0)
            p.fillRect(bar, colour);
        // The slot of the bar, wide enough for its texts.
        const int centre = bar.left() + bar.width() / 2;
        const int slot = std::max(bar.width(), plot.width() / studyfile::kLevelLines);
        const QRect under(centre - slot / 2, plot.bottom() + 2, slot, metrics.height());
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(under, Qt::AlignHCenter | Qt::AlignTop, levelName(line));
        if (!empty()) {
            const QRect over(centre - slot / 2, bar.top() - metrics.height() - 1, slot,
                             metrics.height());
            p.setPen(colour);
            p.drawText(over, Qt::AlignHCenter | Qt::AlignBottom,
                       QString::number(counts_[std::size_t(line)]));
        }
    }
}
