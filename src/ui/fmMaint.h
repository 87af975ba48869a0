#pragma once

#include "vdrDialog.h"

#include <QIcon>
#include <QList>

#include <memory>

namespace Ui {
class TfrmMaint;
}

// The dialog of one maintenance event of a car, new or existing: date,
// mileage, cost, the repairs done (picked through the repair description
// dialog) and the note. Nothing reaches the tables before OK, which writes
// the event, then its repair links, then its note. Keeps the repairs
// column's direction in the options beside its placement.
class TfrmMaint : public TvdrDialog {
public:
    // `maintNbr` -1: a new event of the car.
    TfrmMaint(qint32 carNbr, qint32 maintNbr, const QList<QIcon> &images, QWidget *parent = nullptr);
    ~TfrmMaint() override;

    // True when the user confirmed with OK; `maintNbr` is then the new
    // event's number, -1 otherwise.
    static bool ExecuteAdd(qint32 carNbr, qint32 &maintNbr, const QList<QIcon> &images,
                           QWidget *parent = nullptr);
    static bool ExecuteModify(qint32 carNbr, qint32 maintNbr, const QList<QIcon> &images,
                              QWidget *parent = nullptr);

    qint32 CarNbr() const { return m_carNbr; }
    // -1 for a new event until OK.
    qint32 MaintNbr() const { return m_maintNbr; }
    bool AddMode() const { return m_addMode; }
    // 0 ascending, 1 descending.
    int RepairsDirection() const { return m_repairsDirection; }
    // Stores the direction, shows its image and sorts the repairs.
    void SetRepairsDirection(int direction);

    void FormShow() override;
    void btnOKClick();
    void btnCancelClick();
    void bbnAddClick();
    void bbnDeleteClick();
    void lvwRepairsDblClick();
    void lvwRepairsKeyPress();
    void lvwRepairsColumnClick();

    Ui::TfrmMaint &Form() const { return *m_ui; }

private:
    void ChangeSelectedRepair();

    std::unique_ptr<Ui::TfrmMaint> m_ui;
    QList<QIcon> m_images;
    qint32 m_carNbr;
    qint32 m_maintNbr;
    bool m_addMode;
    int m_repairsDirection = 0;
};
