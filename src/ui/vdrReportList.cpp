#include "vdrReportList.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTreeWidget>

namespace {

// Aligns by column, so no item carries an alignment of its own (a list
// fills faster), and draws the grid lines after each cell.
class TGridDelegate : public QStyledItemDelegate {
public:
    TGridDelegate(QObject *parent, const QList<int> &rightAligned)
        : QStyledItemDelegate(parent), m_rightAligned(rightAligned) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        painter->save();
        painter->setPen(option.palette.color(QPalette::Midlight));
        const QRect r = option.rect;
        painter->drawLine(r.bottomLeft(), r.bottomRight());
        painter->drawLine(r.topRight(), r.bottomRight());
        painter->restore();
    }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (m_rightAligned.contains(index.column()))
            option->displayAlignment = Qt::AlignRight | Qt::AlignVCenter;
    }

private:
    QList<int> m_rightAligned;
};

// Shows a right-aligned section's image just left of its caption, where a
// list view in report style shows it, instead of at the section's far edge.
class TReportHeader : public QHeaderView {
public:
    explicit TReportHeader(QWidget *parent) : QHeaderView(Qt::Horizontal, parent) {}

protected:
    void initStyleOptionForIndex(QStyleOptionHeader *option, int logicalIndex) const override {
        QHeaderView::initStyleOptionForIndex(option, logicalIndex);
        if (option->textAlignment & Qt::AlignRight)
            option->icon = QIcon();
    }
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override {
        QHeaderView::paintSection(painter, rect, logicalIndex);
        const auto alignment =
            Qt::Alignment(model()->headerData(logicalIndex, orientation(), Qt::TextAlignmentRole).toInt());
        const QIcon icon =
            model()->headerData(logicalIndex, orientation(), Qt::DecorationRole).value<QIcon>();
        if (!(alignment & Qt::AlignRight) || icon.isNull())
            return;
        const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this);
        const int size = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
        const QString text = model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString();
        const int x = rect.right() - margin - fontMetrics().horizontalAdvance(text) - margin - size;
        const QRect place(qMax(rect.left() + margin, x), rect.top() + (rect.height() - size) / 2, size, size);
        painter->save();
        painter->setClipRect(rect);
        icon.paint(painter, place);
        painter->restore();
    }
};

} // namespace

void SetUpReportList(QTreeWidget *list, const QList<int> &rightAligned) {
    list->setSortingEnabled(false);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setAllColumnsShowFocus(true);
    list->setItemDelegate(new TGridDelegate(list, rightAligned));
    list->setHeader(new TReportHeader(list));
    QHeaderView *header = list->header();
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setSectionsClickable(true);
    header->setSectionsMovable(false);
    header->setStretchLastSection(false);
    header->setMinimumSectionSize(0);
    for (int column : rightAligned)
        list->headerItem()->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
}

void ShowSortImage(QTreeWidget *list, int column, const QList<QIcon> &images, int imageIndex) {
    QTreeWidgetItem *header = list->headerItem();
    for (int i = 0; i < list->columnCount(); ++i)
        header->setIcon(i, i == column && imageIndex >= 0 && imageIndex < images.size() ? images[imageIndex]
                                                                                        : QIcon());
}
