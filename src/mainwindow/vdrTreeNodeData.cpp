#include "vdrTreeNodeData.h"

#include "vdrMainIcons.h"

#include <array>

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

QString &TvdrTreeItem::KindText(TvdrNodeKind kind) {
    static std::array<QString, nkPicture + 1> texts;
    return texts.at(size_t(kind));
}

void TvdrTreeItem::SetKindText(TvdrNodeKind kind, const QString &text) {
    KindText(kind) = text;
}

QVariant TvdrTreeItem::data(int column, int role) const {
    // Hundreds of nodes share four images and the captions of a car's two
    // child nodes: each takes them from its kind, instead of holding copies
    // that are made, and freed, one node at a time.
    if (column == 0 && role == Qt::DecorationRole)
        return TreeImage(Data.Kind);
    QVariant own = QTreeWidgetItem::data(column, role);
    if (column == 0 && (role == Qt::DisplayRole || role == Qt::EditRole) && !own.isValid() &&
        !KindText(Data.Kind).isNull())
        return KindText(Data.Kind);
    return own;
}

const TvdrTreeNodeData *NodeData(const QTreeWidgetItem *item) {
    const auto *node = dynamic_cast<const TvdrTreeItem *>(item);
    return node ? &node->Data : nullptr;
}
