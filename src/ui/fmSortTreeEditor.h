#pragma once

#include "vdrDialog.h"

#include <QStringList>

#include <memory>

class TvdrSortOrderRec;
namespace Ui {
class TfrmSortTreeEditor;
}

// The sort order editor: the sort orders in menu order, each entry owning a
// copy of its record, so Cancel discards every change. OK rewrites the sort
// orders table with the entries numbered 0, 1, 2, ... in list order.
class TfrmSortTreeEditor : public TvdrDialog {
public:
    explicit TfrmSortTreeEditor(QWidget *parent = nullptr);
    ~TfrmSortTreeEditor() override;

    void FormShow() override;
    void spbAddClick();
    // Also the list's double-click.
    void spbChangeClick();
    void spbDeleteClick();
    void spbUpClick();
    void spbDownClick();
    void btnOKClick();
    void btnCancelClick();

    // The record of entry `row`; null when out of range.
    TvdrSortOrderRec *RecordAt(int row) const;
    Ui::TfrmSortTreeEditor &Form() const { return *m_ui; }

private:
    void AddEntry(const TvdrSortOrderRec &rec);
    // The names of every entry but `row`.
    QStringList NamesBesides(int row) const;

    std::unique_ptr<Ui::TfrmSortTreeEditor> m_ui;
};

// Shows the sort order editor; true when the user confirmed with OK (the
// sort orders table is rewritten and saved by then).
bool ExecuteSortTreeEditor(QWidget *parent = nullptr);
