#pragma once

#include "vdrListItem.h"
#include "vdrPrefixList.h"

#include <QStringList>

// One row per repair done at an event: FormatKey(CarNbr), TAB,
// FormatKey(MaintNbr), TAB, FormatKey(RepairNbr). A repair stands at most
// once per event. No operation saves. One per process: reach it through
// MaintRepairs().
class TvdrMaintRepairs : public TvdrPrefixList {
public:
    struct TLink {
        qint32 CarNbr = 0;
        qint32 MaintNbr = 0;
        qint32 RepairNbr = 0;
    };

    TvdrMaintRepairs();

    void AddLink(qint32 carNbr, qint32 maintNbr, qint32 repairNbr);
    // AddLink of each, in one merge whatever their order.
    void AddLinks(const QList<TLink> &links);
    void RemoveEventLinks(qint32 carNbr, qint32 maintNbr);
    void RemoveCarLinks(qint32 carNbr);
    bool HasRepair(qint32 carNbr, qint32 maintNbr, qint32 repairNbr) const;

    // The event's repairs with their descriptions, sorted by description
    // ignoring case, descending when `direction` is 1.
    void GetEventRepairs(qint32 carNbr, qint32 maintNbr, quint8 direction, TvdrListItems &items) const;
    // The event's repairs in ascending RepairNbr order.
    void ListEventRepairs(qint32 carNbr, qint32 maintNbr, TvdrListItems &items) const;

    // The descriptions of the cars that use the repair, sorted ignoring case,
    // once each. True when no link names it.
    bool CarsUsingRepair(qint32 repairNbr, QStringList &list) const;
    bool IsRepairUnlinked(qint32 repairNbr) const;

    TLink LinkAt(int index) const;

    // Three record numbers: car, event, repair.
    QString RowProblem(const QString &row) const override;
};

TvdrMaintRepairs &MaintRepairs();
