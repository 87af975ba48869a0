#pragma once

#include <QIcon>
#include <QList>

class QTreeWidget;

// A QTreeWidget as a list view in report style: one item per row, whole
// rows selected, read-only, grid lines between the cells, the given columns
// right-aligned (header and cells), and the header's clicks left to the
// caller (Qt's own sorting stays off).
void SetUpReportList(QTreeWidget *list, const QList<int> &rightAligned = {});

// The column sort image (index 0 ascending, 1 descending) on `column` and no
// image on the others; -1 clears them all.
void ShowSortImage(QTreeWidget *list, int column, const QList<QIcon> &images, int imageIndex);
