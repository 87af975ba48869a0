#pragma once

#include "vdrListItem.h"

#include <QIcon>
#include <QList>

#include <functional>

class QTreeWidget;
class QTreeWidgetItem;

// The report-style list views: a QTreeWidget without root decoration, one
// top-level item per row, each carrying the number it stands for (a
// RepairNbr, a MaintNbr).

// Whole-row selection of one row, no editing, grid lines, clickable headers
// without Qt's own sorting: the caller decides the order.
void SetUpListView(QTreeWidget *list);

// Rows are made here only: RowNumber and SetRow take no other item.
QTreeWidgetItem *NewRow(const QString &caption, qint32 number);
void SetRow(QTreeWidgetItem *row, const QString &caption, qint32 number);
// -1 for null.
qint32 RowNumber(const QTreeWidgetItem *row);
// Removes every row, then adds `rows` in one go with repainting suspended.
void ReplaceRows(QTreeWidget *list, const QList<QTreeWidgetItem *> &rows);
void ReplaceRows(QTreeWidget *list, const TvdrListItems &items);

// The selected row; null when none is.
QTreeWidgetItem *SelectedRow(const QTreeWidget *list);
// The first row carrying `number`; null when none does.
QTreeWidgetItem *FindRow(const QTreeWidget *list, qint32 number);
// Selects `row`, makes it the focused row and scrolls it into view; null
// leaves nothing selected or focused.
void SelectRow(QTreeWidget *list, QTreeWidgetItem *row);

// Image 0 (ascending) or 1 (descending) of `images` on `column`'s header.
void ShowSortImage(QTreeWidget *list, int column, const QList<QIcon> &images, bool descending);
// Sorts the rows by their caption, ignoring letter case; the selected and
// focused row stay so.
void SortRowsByCaption(QTreeWidget *list, bool descending);

// Runs `handler` for Enter or Return in `list` and stops the key there, so a
// dialog's default button does not take it as well.
void OnEnterKey(QTreeWidget *list, std::function<void()> handler);
