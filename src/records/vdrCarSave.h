#pragma once

#include <QList>
#include <QPair>
#include <QString>

// What the car view holds when it writes a car back.
struct TvdrCarEntry {
    qint32 CarNbr = 0;
    qint32 Year = 0;
    QString Make;
    QString Model;
    QList<QPair<qint32, QString>> Values; // (UdfNbr, value) of every grid row
};

// Writes Year, Make and Model (the picture extension stays) and saves the
// cars table, then every value (empty ones too) and saves the values table;
// both as one change of the database.
void SaveCar(const TvdrCarEntry &entry);

// The values the car view shows for a car: one per definition, in display
// order, empty where the car has none.
QList<QPair<qint32, QString>> CarValuesForAllFields(qint32 carNbr);
