#pragma once

#include "vdrPrefixList.h"

// The cars' values of the user-defined fields: rows FormatKey(CarNbr), TAB,
// FormatKey(UdfNbr), TAB, Value; at most one row per car and field. A car
// without a row for a field has the empty value. No operation saves. One per
// process: reach it through CarsUDF().
class TvdrCarsUDF : public TvdrPrefixList {
public:
    struct TValue {
        qint32 CarNbr = 0;
        qint32 UdfNbr = 0;
        QString Value;
    };

    TvdrCarsUDF();

    // Replaces the car's value (trimmed, single line); an empty value is
    // stored too.
    void SetCarValue(qint32 carNbr, qint32 udfNbr, const QString &value);
    // SetCarValue of each in turn, in one merge whatever their order.
    void SetCarValues(const QList<TValue> &values);
    QString CarValue(qint32 carNbr, qint32 udfNbr) const;
    void RemoveCarValue(qint32 carNbr, qint32 udfNbr);
    void RemoveCarValues(qint32 carNbr);
    void RemoveUdfValues(qint32 udfNbr);

    qint32 CarNbrAt(int index) const;
    qint32 UdfNbrAt(int index) const;
    QString ValueAt(int index) const;

    // Car and field, each followed by a TAB, then the value.
    QString RowProblem(const QString &row) const override;
};

TvdrCarsUDF &CarsUDF();
