#pragma once

#include "vdrDialog.h"

#include <memory>

namespace Ui {
class TfrmRepairs;
}

// The dialog for one repair description: add a new one, change one, or
// select one for a maintenance event (an existing description picked or
// typed, or a new one made of the typed text). Nothing is written before OK.
class TfrmRepairs : public TvdrDialog {
public:
    enum TMode { rmAdd, rmModify, rmSelect };

    // `repairNbr`: the description changed (modify) or preset (select; -1
    // for none); unused when adding.
    TfrmRepairs(TMode mode, qint32 repairNbr, QWidget *parent = nullptr);
    ~TfrmRepairs() override;

    // True when the user confirmed with OK; then `repairNbr` is the new
    // description's number.
    static bool ExecuteAdd(qint32 &repairNbr, QWidget *parent = nullptr);
    static bool ExecuteModify(qint32 repairNbr, QWidget *parent = nullptr);
    // In: the preset description (-1 for none); out, on OK: the chosen or
    // newly made description.
    static bool ExecuteSelect(qint32 &repairNbr, QWidget *parent = nullptr);

    TMode Mode() const { return m_mode; }
    qint32 RepairNbr() const { return m_repairNbr; }

    void FormShow() override;
    void btnOKClick();
    void btnCancelClick();

    Ui::TfrmRepairs &Form() const { return *m_ui; }

private:
    std::unique_ptr<Ui::TfrmRepairs> m_ui;
    TMode m_mode;
    qint32 m_repairNbr;
};
