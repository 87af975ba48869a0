#include "vdrUDF.h"

#include "vdrCmRtn.h"
#include "vdrCodePage.h"
#include "vdrCompareText.h"
#include "vdrKeyAllocation.h"
#include "vdrPrefixList.h"
#include "vdrSingleton.h"
#include "vdrStrUtils.h"

namespace {

const QString kTab = QStringLiteral("\t");

QString EncodeRow(qint32 udfNbr, qint32 sortOrder, const QString &name) {
    return TvdrCmRtn::FormatKey(udfNbr) + kTab + TvdrCmRtn::FormatKey(sortOrder) + kTab +
           Trim(SingleLine(name));
}

} // namespace

TvdrUDF::TvdrUDF() : TvdrStringList(QStringLiteral("TvdrUDF")) {
    TvdrSingleton<TvdrUDF>::CheckCreation("UDF");
    SetSorted(true);
}

TvdrUDF &UDF() {
    return TvdrSingleton<TvdrUDF>::Instance();
}

qint32 TvdrUDF::AddUdf(qint32 sortOrder, const QString &name) {
    TvdrWriteGuard guard(Lock());
    const qint32 udfNbr = NextUdfNbr();
    Add(EncodeRow(udfNbr, sortOrder, name));
    return udfNbr;
}

void TvdrUDF::AddUdfAs(qint32 udfNbr, qint32 sortOrder, const QString &name) {
    TvdrWriteGuard guard(Lock());
    SortByNumber();
    Add(EncodeRow(udfNbr, sortOrder, name));
}

qint32 TvdrUDF::NextUdfNbr() {
    TvdrWriteGuard guard(Lock());
    SortByNumber();
    return TvdrKeyAllocation::FirstFreeNumber(
        *this, [](const QString &row) { return TvdrPrefixList::NumberField(row, 1); });
}

void TvdrUDF::RemoveUdf(qint32 udfNbr) {
    TvdrWriteGuard guard(Lock());
    const int index = IndexOfUdf(udfNbr);
    if (index >= 0)
        Delete(index);
}

void TvdrUDF::UpdateUdf(qint32 udfNbr, qint32 sortOrder, const QString &name) {
    TvdrWriteGuard guard(Lock());
    const int index = IndexOfUdf(udfNbr);
    if (index < 0)
        return;
    // The number leads the row, so the new row takes the old one's place.
    Delete(index);
    Add(EncodeRow(udfNbr, sortOrder, name));
}

void TvdrUDF::SortByNumber() {
    SetSorted(true);
}

void TvdrUDF::SortBySortOrder() {
    TvdrWriteGuard guard(Lock());
    SetSorted(false);
    // Stable, so that equal positions keep number order.
    ReorderLines([](QByteArrayView a, QByteArrayView b) {
        return TvdrPrefixList::NumberField(a, 2) < TvdrPrefixList::NumberField(b, 2);
    });
}

QString TvdrUDF::UdfName(qint32 udfNbr) {
    TvdrWriteGuard guard(Lock());
    const int index = IndexOfUdf(udfNbr);
    return index < 0 ? QString() : NameAt(index);
}

qint32 TvdrUDF::FindUdf(const QString &name) {
    TvdrWriteGuard guard(Lock());
    SortByNumber();
    const QString wanted = Trim(name);
    for (int i = 0; i < Count(); ++i)
        if (SameText(NameAt(i), wanted))
            return UdfNbrAt(i);
    return -1;
}

bool TvdrUDF::IsStorableName(const QString &name) {
    return SingleLine(name) == name && vdrCodePage::CanEncode(name);
}

qint32 TvdrUDF::UdfNbrAt(int index) const {
    return TvdrPrefixList::NumberField(Get(index), 1);
}

qint32 TvdrUDF::UdfSortOrderAt(int index) const {
    return TvdrPrefixList::NumberField(Get(index), 2);
}

QString TvdrUDF::NameAt(int index) const {
    return ExtractWord(3, Get(index), kTab);
}

QString TvdrUDF::RowProblem(const QString &row) const {
    const QStringList fields = row.split(kTab);
    if (fields.size() < 2 || !TvdrCmRtn::IsKey(fields[0]) || !TvdrCmRtn::IsKey(fields[1], true))
        return QStringLiteral("the row does not start with a field number and a position");
    return QString();
}

int TvdrUDF::IndexOfUdf(qint32 udfNbr) {
    SortByNumber();
    const QString prefix = TvdrCmRtn::FormatKey(udfNbr) + kTab;
    int index = 0;
    Find(prefix, index);
    if (index < Count() && SameText(Get(index).left(prefix.size()), prefix))
        return index;
    return -1;
}
