#pragma once

#include <QDate>
#include <QString>

// One maintenance event, parsed. The row name is FormatKey(CarNbr), TAB,
// FormatKey(MaintNbr); the value Date (day number), TAB, Mileage, TAB, Cost
// (general format, 15 significant digits, the user's decimal separator).
class TvdrMaintRec {
public:
    qint32 CarNbr = 0;
    qint32 MaintNbr = 0;
    qint32 Date = 0; // day number, 1 = 1 January of year 1; 0 or less: not set
    qint32 Mileage = 0;
    double Cost = 0.0;

    void SetCarNbr(qint32 carNbr) { CarNbr = carNbr; }
    void SetMaintNbr(qint32 maintNbr) { MaintNbr = maintNbr; }
    void SetMileage(qint32 mileage) { Mileage = mileage; }
    void SetCost(double cost) { Cost = cost; }

    // Stores the day of a date-time value (days since 30 December 1899); the
    // time of day is dropped.
    void SetDateTime(double dateTime);
    // The day at midnight as a date-time value. A date that is not set gives
    // the current date and time and stores today, so that later calls give
    // today at midnight.
    double GetDateTime();
    void SetDate(const QDate &date);
    // The stored day; today (stored) when the date is not set.
    QDate GetDate();

    // Words of the key and value cut on TAB (runs of TABs count as one);
    // numbers that do not parse read as 0, a cost with either a point or a
    // comma as its decimal separator is read.
    void DecodeKey(const QString &text);
    QString EncodeKey() const;
    void Decode(const QString &value);
    QString Encode() const;

    // A copy carrying exactly what the stored text carries (the cost to 15
    // significant digits).
    TvdrMaintRec Clone() const;
};
