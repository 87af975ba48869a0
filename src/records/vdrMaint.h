#pragma once

#include "vdrEntity.h"
#include "vdrMaintRec.h"

#include <memory>

class TvdrMaintSortedList;

// The maintenance events of all cars: rows keyed by (CarNbr, MaintNbr), in
// ascending CarNbr, then MaintNbr order. MaintNbr is unique within its car.
//
// EventAt and FindEvent parse into the table's one cursor record and return
// it: the next of them overwrites it, so a caller that keeps an event copies
// it (Clone). No operation saves. One per process: reach it through Maint().
class TvdrMaint : public TvdrEntity {
public:
    TvdrMaint();

    // Row `index` in the cursor; null for a row without "=" or out of range.
    TvdrMaintRec *EventAt(int index);
    // The cursor at the car's event; null when there is none.
    TvdrMaintRec *FindEvent(qint32 carNbr, qint32 maintNbr);
    // Whether the car has that event; the cursor is left alone.
    bool HasEvent(qint32 carNbr, qint32 maintNbr) const;
    // The car's largest MaintNbr plus one; 0 for a car without events.
    qint32 NextMaintNbr(qint32 carNbr) const;
    void RemoveEvent(qint32 carNbr, qint32 maintNbr);
    void RemoveCarEvents(qint32 carNbr);
    // SetValue(rec.EncodeKey(), rec.Encode()): adds or replaces the event.
    void StoreEvent(const TvdrMaintRec &rec);
    // StoreEvent of each in turn, in one merge whatever their order.
    void StoreEvents(const QList<TvdrMaintRec> &recs);

    std::unique_ptr<TvdrMaintSortedList> SortedList(qint32 carNbr, quint8 sortColumn, quint8 sortDirection);

    // Keyed by two record numbers, car and event.
    QString RowProblem(const QString &row) const override;

private:
    TvdrMaintRec m_cursor;
};

TvdrMaint &Maint();
