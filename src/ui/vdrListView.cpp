#include "vdrListView.h"

#include "vdrApplication.h"
#include "vdrCompareText.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTreeWidget>

#include <algorithm>

namespace {

// A row with its number as a plain member: filling a list of thousands
// then costs one allocation less per row than item data would.
class TListRow : public QTreeWidgetItem {
public:
    TListRow(const QString &caption, qint32 number)
        : QTreeWidgetItem(QStringList(caption), UserType), Number(number) {}

    qint32 Number;
};

// Draws the grid line under and to the right of every cell.
class TGridDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        const QRect r = option.rect;
        const QColor line = option.palette.color(QPalette::Midlight);
        painter->fillRect(QRect(r.left(), r.bottom(), r.width(), 1), line);
        painter->fillRect(QRect(r.right(), r.top(), 1, r.height()), line);
    }
};

class TEnterKeyFilter : public QObject {
public:
    TEnterKeyFilter(QObject *parent, std::function<void()> handler)
        : QObject(parent), m_handler(std::move(handler)) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return QObject::eventFilter(watched, event);
        RunGuarded(m_handler);
        return true;
    }

private:
    std::function<void()> m_handler;
};

} // namespace

void SetUpListView(QTreeWidget *list) {
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSortingEnabled(false);
    list->header()->setSectionsClickable(true);
    list->header()->setSectionsMovable(false);
    list->setItemDelegate(new TGridDelegate(list));
}

QTreeWidgetItem *NewRow(const QString &caption, qint32 number) {
    return new TListRow(caption, number);
}

void SetRow(QTreeWidgetItem *row, const QString &caption, qint32 number) {
    row->setText(0, caption);
    static_cast<TListRow *>(row)->Number = number;
}

qint32 RowNumber(const QTreeWidgetItem *row) {
    return row ? static_cast<const TListRow *>(row)->Number : -1;
}

void ReplaceRows(QTreeWidget *list, const QList<QTreeWidgetItem *> &rows) {
    const bool updates = list->updatesEnabled();
    list->setUpdatesEnabled(false);
    list->clear();
    list->addTopLevelItems(rows);
    list->setUpdatesEnabled(updates);
}

void ReplaceRows(QTreeWidget *list, const TvdrListItems &items) {
    QList<QTreeWidgetItem *> rows;
    rows.reserve(items.size());
    for (const TvdrListItem &item : items)
        rows.append(NewRow(item.Caption, item.Data));
    ReplaceRows(list, rows);
}

QTreeWidgetItem *SelectedRow(const QTreeWidget *list) {
    const QList<QTreeWidgetItem *> selected = list->selectedItems();
    return selected.isEmpty() ? nullptr : selected.constFirst();
}

QTreeWidgetItem *FindRow(const QTreeWidget *list, qint32 number) {
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        if (RowNumber(list->topLevelItem(i)) == number)
            return list->topLevelItem(i);
    return nullptr;
}

void SelectRow(QTreeWidget *list, QTreeWidgetItem *row) {
    if (!row) {
        list->clearSelection();
        list->setCurrentItem(nullptr);
        return;
    }
    // One row at a time: making it current selects it alone.
    list->setCurrentItem(row);
    list->scrollToItem(row);
}

void ShowSortImage(QTreeWidget *list, int column, const QList<QIcon> &images, bool descending) {
    const QIcon image = images.value(descending ? 1 : 0);
    // An unchanged image would still lay the header out anew.
    if (list->headerItem()->icon(column).cacheKey() != image.cacheKey())
        list->headerItem()->setIcon(column, image);
}

void SortRowsByCaption(QTreeWidget *list, bool descending) {
    QTreeWidgetItem *selected = SelectedRow(list);
    QTreeWidgetItem *current = list->currentItem();
    QList<QTreeWidgetItem *> rows;
    rows.reserve(list->topLevelItemCount());
    while (list->topLevelItemCount() > 0)
        rows.append(list->takeTopLevelItem(list->topLevelItemCount() - 1));
    std::reverse(rows.begin(), rows.end());
    std::stable_sort(rows.begin(), rows.end(),
                     [descending](const QTreeWidgetItem *a, const QTreeWidgetItem *b) {
                         const int result = CompareText(a->text(0), b->text(0));
                         return descending ? result > 0 : result < 0;
                     });
    list->addTopLevelItems(rows);
    if (current)
        list->setCurrentItem(current, 0, QItemSelectionModel::NoUpdate);
    if (selected)
        selected->setSelected(true);
}

void OnEnterKey(QTreeWidget *list, std::function<void()> handler) {
    list->installEventFilter(new TEnterKeyFilter(list, std::move(handler)));
}
