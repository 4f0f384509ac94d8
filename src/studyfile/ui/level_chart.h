// A bar chart of the cards per level, beside the level lines of the information screen: seven
// vertical bars "0" to "5" and "6+", each as tall against the plot as its count against the
// largest count, the count above the bar and the level below it. Level 0 (parked cards) is grey,
// the others navy. Without cards it shows the baseline and "Sin fichas".
#pragma once

#include "studyfile/study_file_info.h"

#include <QWidget>

#include <array>

class LevelChart : public QWidget {
    Q_OBJECT
public:
    explicit LevelChart(QWidget* parent = nullptr);

    // The counts of the seven level lines (levels 0..5, 6 and above) and the total they are a
    // share of; tooltips and the accessible description follow them.
    void setCounts(const std::array<int, studyfile::kLevelLines>& counts, int total);
    const std::array<int, studyfile::kLevelLines>& counts() const { return counts_; }

    // The area the bars stand in: from the baseline (its bottom) up to the height of the tallest
    // bar.
    QRect plotRect() const;
    // Where bar `line` (0..6) is drawn; a bar of no card has height 0 on the baseline. An empty
    // rectangle for any other line.
    QRect barRect(int line) const;
    // The text under a bar: "0" ... "5", "6+".
    static QString levelName(int line);
    // The tooltip of a bar: its level line.
    QString barToolTip(int line) const;
    // No level has a card.
    bool empty() const;
    // What the chart says across its plot: "Sin fichas" while it is empty, else nothing.
    QString notice() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // The font of the counts and level names, smaller in a small chart.
    QFont textFont() const;
    int textHeight() const;

    std::array<int, studyfile::kLevelLines> counts_{};
    int total_ = 0;
};
