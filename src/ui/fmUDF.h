#pragma once

#include "vdrDialog.h"
#include "vdrUdfChanges.h"

#include <QList>

#include <memory>

namespace Ui {
class TfrmUDF;
}

// The user-defined fields dialog: the field names in their display order,
// edited in the list only; OK writes removals, positions and new fields to
// the tables, Cancel writes nothing. Each entry carries its field's UdfNbr
// (-1 for a field added here).
class TfrmUDF : public TvdrDialog {
public:
    explicit TfrmUDF(QWidget *parent = nullptr);
    ~TfrmUDF() override;

    void FormShow() override;
    void spbAddClick();
    // Also the list's double-click.
    void spbChangeClick();
    void spbDeleteClick();
    void spbUpClick();
    void spbDownClick();
    void btnOKClick();
    void btnCancelClick();

    // The list as it stands, in order.
    QList<TvdrUdfEntry> Entries() const;
    // The entries deleted so far, in the order of deletion.
    const QList<TvdrUdfEntry> &Removed() const { return m_removed; }
    Ui::TfrmUDF &Form() const { return *m_ui; }

private:
    // Asks for a field name until one that can be stored is given; false
    // when the user cancels.
    bool AskName(const QString &captionKey, QString &name);
    void AddEntry(const TvdrUdfEntry &entry);

    std::unique_ptr<Ui::TfrmUDF> m_ui;
    QList<TvdrUdfEntry> m_removed;
};

// Shows the dialog; true when the user confirmed with OK (the tables are
// written and saved by then).
bool ExecuteUDF(QWidget *parent = nullptr);
