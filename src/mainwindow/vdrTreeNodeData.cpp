#include "vdrTreeNodeData.h"

#include "vdrMainIcons.h"

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

QVariant TvdrTreeItem::data(int column, int role) const {
    // Hundreds of nodes share four images: each takes its own from its
    // kind, instead of holding a copy set one node at a time.
    if (column == 0 && role == Qt::DecorationRole)
        return TreeImage(Data.Kind);
    return QTreeWidgetItem::data(column, role);
}

const TvdrTreeNodeData *NodeData(const QTreeWidgetItem *item) {
    const auto *node = dynamic_cast<const TvdrTreeItem *>(item);
    return node ? &node->Data : nullptr;
}
