#pragma once

#include "vdrDialog.h"
#include "vdrSortOrderRec.h"

#include <QStringList>

#include <memory>

class TkvxControlGrid;
namespace Ui {
class TfrmSortOrderFieldEditor;
}

// Edits one sort order: its name and its rows of (field, direction) on a
// TkvxControlGrid. The record is written only on OK, and only with a name
// that is not empty, can be stored as a row and no other sort order has.
class TfrmSortOrderFieldEditor : public TvdrDialog {
public:
    // `rec` null: add mode, on a new record of the dialog's own. `otherNames`
    // are the names of the other sort orders.
    TfrmSortOrderFieldEditor(TvdrSortOrderRec *rec, const QStringList &otherNames, QWidget *parent = nullptr);
    ~TfrmSortOrderFieldEditor() override;

    // Add mode; on OK `newRec` is the new sort order.
    static bool ExecuteAdd(TvdrSortOrderRec &newRec, const QStringList &otherNames = {},
                           QWidget *parent = nullptr);
    // Modify mode; on OK `rec` has been rewritten, on Cancel it is unchanged.
    static bool ExecuteModify(TvdrSortOrderRec &rec, const QStringList &otherNames = {},
                              QWidget *parent = nullptr);

    void FormShow() override;
    void spbAddClick();
    // Removes the row that holds the focus, unless it is the only row.
    void spbDeleteClick();
    void btnOKClick();
    void btnCancelClick();

    bool AddMode() const { return m_addMode; }
    // The record edited: the given one, or in add mode the new one.
    TvdrSortOrderRec &Record() const { return *m_rec; }
    TkvxControlGrid &Grid() const;
    Ui::TfrmSortOrderFieldEditor &Form() const { return *m_ui; }

private:
    void FillLists();
    // A row choosing field entry `field` and direction `direction` (-1:
    // nothing chosen).
    void AddFieldRow(int field, int direction);
    int FieldEntryOf(const TvdrSortOrderField &field) const;
    int DirectionEntryOf(const TvdrSortOrderField &field) const;
    bool CheckName(const QString &name);

    std::unique_ptr<Ui::TfrmSortOrderFieldEditor> m_ui;
    TvdrSortOrderRec m_newRec;
    TvdrSortOrderRec *m_rec;
    bool m_addMode;
    QStringList m_otherNames;
};
