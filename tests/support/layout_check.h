// The layout check of a screen's design area: every visible control of `panel` inside `area` of
// the window, no two of them overlapping, and every label's and button's caption wide enough
// for its text.
#pragma once

#include <QAbstractButton>
#include <QLabel>
#include <QList>
#include <QRect>
#include <QWidget>

#include <gtest/gtest.h>

// Returns the number of controls checked.
inline int expectControlsFit(QWidget& window, QWidget& panel, const QRect& area) {
    QList<QRect> placed;
    for (QWidget* w : panel.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!w->isVisibleTo(&window) || w->size().isEmpty())
            continue;
        const QRect r(w->mapTo(&window, QPoint(0, 0)), w->size());
        const std::string what =
            w->objectName().toStdString() + " " + w->property("text").toString().toStdString();
        EXPECT_TRUE(area.contains(r)) << what;
        for (const QRect& other : placed)
            EXPECT_FALSE(other.intersects(r)) << what;
        placed << r;
        if (qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w)) {
            EXPECT_LE(w->sizeHint().width(), w->width()) << what;
        }
    }
    return int(placed.size());
}
