#include "vdrCarsUDF.h"

#include "vdrSingleton.h"
#include "vdrStrUtils.h"

TvdrCarsUDF::TvdrCarsUDF() : TvdrPrefixList(QStringLiteral("TvdrCarsUDF")) {
    TvdrSingleton<TvdrCarsUDF>::CheckCreation("CarsUDF");
}

TvdrCarsUDF &CarsUDF() {
    return TvdrSingleton<TvdrCarsUDF>::Instance();
}

void TvdrCarsUDF::SetCarValue(qint32 carNbr, qint32 udfNbr, const QString &value) {
    TvdrWriteGuard guard(Lock());
    RemoveCarValue(carNbr, udfNbr);
    Add(KeyPrefix(carNbr, udfNbr) + Trim(SingleLine(value)));
}

void TvdrCarsUDF::SetCarValues(const QList<TValue> &values) {
    TvdrRows rows;
    qsizetype bytes = 0; // as stored: two keys and their TABs, then the value
    for (const TValue &v : values)
        bytes += 16 + v.Value.size();
    rows.Reserve(values.size(), bytes);
    for (const TValue &v : values)
        AppendKeyedRow(rows, v.CarNbr, v.UdfNbr, Trim(SingleLine(v.Value)));
    ReplaceByPrefix(std::move(rows), 2);
}

QString TvdrCarsUDF::CarValue(qint32 carNbr, qint32 udfNbr) const {
    TvdrReadGuard guard(Lock());
    int first = 0;
    int end = 0;
    PrefixRange(KeyPrefix(carNbr, udfNbr), first, end);
    return first < end ? ExtractWord(3, Lines().Text(first), QStringLiteral("\t")) : QString();
}

// Every row of the pair, so that a file holding two of them comes back to
// one value per car and field.
void TvdrCarsUDF::RemoveCarValue(qint32 carNbr, qint32 udfNbr) {
    RemoveByPrefix(KeyPrefix(carNbr, udfNbr));
}

void TvdrCarsUDF::RemoveCarValues(qint32 carNbr) {
    RemoveByPrefix(KeyPrefix(carNbr));
}

void TvdrCarsUDF::RemoveUdfValues(qint32 udfNbr) {
    RemoveWhere([udfNbr](QByteArrayView row) { return NumberField(row, 2) == udfNbr; });
}

QString TvdrCarsUDF::RowProblem(const QString &row) const {
    return HasLeadingKeys(row, 2, false)
               ? QString()
               : QStringLiteral("the row does not start with two record numbers, each followed by a TAB");
}

qint32 TvdrCarsUDF::CarNbrAt(int index) const {
    return NumberField(Get(index), 1);
}

qint32 TvdrCarsUDF::UdfNbrAt(int index) const {
    return NumberField(Get(index), 2);
}

QString TvdrCarsUDF::ValueAt(int index) const {
    return ExtractWord(3, Get(index), QStringLiteral("\t"));
}
