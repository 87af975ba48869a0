#include "vdrOrderedList.h"

namespace vdrOrderedList {

void SetUp(QListWidget *list) {
    list->setSelectionMode(QAbstractItemView::SingleSelection);
}

int SelectedRow(const QListWidget *list) {
    const QList<QListWidgetItem *> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.constFirst());
}

void SelectRow(QListWidget *list, int row) {
    if (row < 0 || row >= list->count())
        return;
    list->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
}

std::unique_ptr<QListWidgetItem> TakeSelected(QListWidget *list) {
    const int row = SelectedRow(list);
    if (row < 0)
        return nullptr;
    std::unique_ptr<QListWidgetItem> taken(list->takeItem(row));
    list->clearSelection();
    SelectRow(list, 0);
    return taken;
}

namespace {

bool MoveSelectedBy(QListWidget *list, int step) {
    const int row = SelectedRow(list);
    const int target = row + step;
    if (row < 0 || target < 0 || target >= list->count())
        return false;
    QListWidgetItem *item = list->takeItem(row);
    list->insertItem(target, item);
    SelectRow(list, target);
    return true;
}

} // namespace

bool MoveSelectedUp(QListWidget *list) {
    return MoveSelectedBy(list, -1);
}

bool MoveSelectedDown(QListWidget *list) {
    return MoveSelectedBy(list, 1);
}

} // namespace vdrOrderedList
