#include "vdrTreeNodeData.h"

TvdrTreeItem::TCompare &TvdrTreeItem::ActiveCompare() {
    static TCompare compare;
    return compare;
}

void TvdrTreeItem::SortChildren(QTreeWidgetItem *parent, const TCompare &compare) {
    if (!parent)
        return;
    // Qt's item sort is stable and moves the view's persistent indexes along,
    // so expanded nodes and the current node survive it.
    ActiveCompare() = compare;
    parent->sortChildren(0, Qt::AscendingOrder);
    ActiveCompare() = nullptr;
}

bool TvdrTreeItem::operator<(const QTreeWidgetItem &other) const {
    const auto *that = dynamic_cast<const TvdrTreeItem *>(&other);
    if (!ActiveCompare() || !that)
        return QTreeWidgetItem::operator<(other);
    return ActiveCompare()(*this, *that) < 0;
}

const TvdrTreeNodeData *NodeData(const QTreeWidgetItem *item) {
    const auto *node = dynamic_cast<const TvdrTreeItem *>(item);
    return node ? &node->Data : nullptr;
}
