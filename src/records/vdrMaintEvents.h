#pragma once

#include <QDate>
#include <QList>
#include <QString>

// What the maintenance entry dialog hands over on OK.
struct TvdrMaintEntry {
    qint32 CarNbr = 0;
    qint32 MaintNbr = -1; // -1: a new event
    QDate Date;
    qint32 Mileage = 0;
    double Cost = 0.0;
    QList<qint32> RepairNbrs; // in the dialog's list order
    QString Note;             // as typed
};

// Adds or changes one event: its row, then its repair links, then its note,
// each table saved after its change, all as one change of the database
// (InOneTransaction). Returns the event's MaintNbr (the car's next number for
// a new event).
qint32 SaveMaintEvent(const TvdrMaintEntry &entry);

// Removes one event with its repair links and note, each table saved, as one
// change of the database.
void DeleteMaintEvent(qint32 carNbr, qint32 maintNbr);
