#pragma once

#include "vdrApplication.h"

#include <QAbstractButton>
#include <QListWidget>

#include <memory>

// The list of the dialogs that keep an ordered list with the buttons Add,
// Change, Delete, Up and Down. At most one entry is selected; "the selected
// entry" is that one, not merely the current one.
namespace vdrOrderedList {

// Single selection.
void SetUp(QListWidget *list);
// -1 when no entry is selected.
int SelectedRow(const QListWidget *list);
// Makes `row` current and selected; nothing when out of range.
void SelectRow(QListWidget *list, int row);
// Takes the selected entry out of the list (the caller owns it) and selects
// the first entry left; null when none is selected.
std::unique_ptr<QListWidgetItem> TakeSelected(QListWidget *list);
// Swaps the selected entry with its neighbour; it stays selected. False when
// nothing moved (none selected, or already first or last).
bool MoveSelectedUp(QListWidget *list);
bool MoveSelectedDown(QListWidget *list);

// Connects the form's buttons spbAdd, spbChange, spbDelete, spbUp, spbDown,
// btnOK and btnCancel, and the list's double-click (as Change), to the
// form's handlers of those names, each through RunGuarded.
template <class TForm, class TControls> void Connect(TForm *form, QListWidget *list, const TControls &ui) {
    const auto guarded = [form](void (TForm::*handler)()) {
        return [form, handler] { RunGuarded([form, handler] { (form->*handler)(); }); };
    };
    QObject::connect(ui.spbAdd, &QAbstractButton::clicked, form, guarded(&TForm::spbAddClick));
    QObject::connect(ui.spbChange, &QAbstractButton::clicked, form, guarded(&TForm::spbChangeClick));
    QObject::connect(ui.spbDelete, &QAbstractButton::clicked, form, guarded(&TForm::spbDeleteClick));
    QObject::connect(ui.spbUp, &QAbstractButton::clicked, form, guarded(&TForm::spbUpClick));
    QObject::connect(ui.spbDown, &QAbstractButton::clicked, form, guarded(&TForm::spbDownClick));
    QObject::connect(ui.btnOK, &QAbstractButton::clicked, form, guarded(&TForm::btnOKClick));
    QObject::connect(ui.btnCancel, &QAbstractButton::clicked, form, guarded(&TForm::btnCancelClick));
    QObject::connect(list, &QListWidget::itemDoubleClicked, form, guarded(&TForm::spbChangeClick));
}

} // namespace vdrOrderedList
