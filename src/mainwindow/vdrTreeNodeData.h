#pragma once

#include <QTreeWidgetItem>

#include <functional>

// What a node of the navigation tree stands for. The values live in memory
// only.
enum TvdrNodeKind : qint32 {
    nkCarsRoot = 0,
    nkCar = 1,
    nkMaint = 2,
    nkRepairs = 3,
    nkPicture = 4,
};

struct TvdrTreeNodeData {
    TvdrNodeKind Kind = nkCarsRoot;
    qint32 CarNbr = 0; // 0 on the two top-level nodes
};

// A tree node with its data; the data is freed with the node.
class TvdrTreeItem : public QTreeWidgetItem {
public:
    explicit TvdrTreeItem(const TvdrTreeNodeData &data) : QTreeWidgetItem(UserType), Data(data) {}

    TvdrTreeNodeData Data;

    // The order of sibling nodes while SortChildren runs (< 0, 0, > 0).
    using TCompare = std::function<int(const TvdrTreeItem &, const TvdrTreeItem &)>;
    // Sorts the children of `parent` by `compare`, stably, keeping which
    // nodes are expanded and which is current.
    static void SortChildren(QTreeWidgetItem *parent, const TCompare &compare);

    bool operator<(const QTreeWidgetItem &other) const override;
    // The image of the node's kind, which no node stores for itself, and
    // the text of its kind where the node has none of its own.
    QVariant data(int column, int role) const override;

    // The caption of every node of `kind` that is given no text of its own.
    static void SetKindText(TvdrNodeKind kind, const QString &text);

private:
    static TCompare &ActiveCompare();
    static QString &KindText(TvdrNodeKind kind);
};

// The data of `item`, or null for an item that is not a TvdrTreeItem.
const TvdrTreeNodeData *NodeData(const QTreeWidgetItem *item);
