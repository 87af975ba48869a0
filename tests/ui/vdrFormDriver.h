#pragma once

// Drives the views and dialogs as a user would: header clicks, double-clicks
// and keys go through the widgets' own event handling.

#include "vdrListView.h"
#include "vdrModal.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QPainter>
#include <QPixmap>
#include <QTest>
#include <QTreeWidget>

// Two column sort images that tell apart: 0 ascending, 1 descending.
inline QList<QIcon> TestSortImages() {
    QList<QIcon> images;
    for (const QColor &color : {QColor(Qt::darkGreen), QColor(Qt::darkRed)}) {
        QPixmap pixmap(12, 12);
        pixmap.fill(color);
        images.append(QIcon(pixmap));
    }
    return images;
}

// Which of the two images the column shows: 0, 1, or -1 for neither.
inline int ShownSortImage(const QTreeWidget *list, const QList<QIcon> &images, int column = 0) {
    const qint64 key = list->headerItem()->icon(column).cacheKey();
    for (int i = 0; i < images.size(); ++i)
        if (images[i].cacheKey() == key)
            return i;
    return -1;
}

inline QStringList Captions(const QTreeWidget *list) {
    QStringList captions;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        captions.append(list->topLevelItem(i)->text(0));
    return captions;
}

inline QList<qint32> RowNumbers(const QTreeWidget *list) {
    QList<qint32> numbers;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        numbers.append(RowNumber(list->topLevelItem(i)));
    return numbers;
}

// The caption of the selected row; empty when none is selected.
inline QString SelectedCaption(const QTreeWidget *list) {
    const QTreeWidgetItem *row = SelectedRow(list);
    return row ? row->text(0) : QString();
}

inline void ClickHeader(QTreeWidget *list, int column = 0) {
    QHeaderView *header = list->header();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

// A press and release, then the double-click, as the window system sends
// them.
inline void DoubleClickRow(QTreeWidget *list, QTreeWidgetItem *row) {
    const QPoint at = list->visualItemRect(row).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

// A dialog planned with QueueDialogScript that never opened fails the test;
// its script is dropped, so that it cannot answer the next test's dialog.
inline void ExpectEveryPlannedDialogShown() {
    EXPECT_EQ(PendingDialogScripts(), 0) << "a dialog that was planned did not open";
    ClearDialogScripts();
}
