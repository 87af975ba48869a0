#include "vdrMaintRepairs.h"

#include "vdrCars.h"
#include "vdrCmRtn.h"
#include "vdrCompareText.h"
#include "vdrRepairs.h"
#include "vdrSingleton.h"

#include <algorithm>

TvdrMaintRepairs::TvdrMaintRepairs() : TvdrPrefixList(QStringLiteral("TvdrMaintRepairs")) {
    TvdrSingleton<TvdrMaintRepairs>::CheckCreation("MaintRepairs");
}

TvdrMaintRepairs &MaintRepairs() {
    return TvdrSingleton<TvdrMaintRepairs>::Instance();
}

void TvdrMaintRepairs::AddLink(qint32 carNbr, qint32 maintNbr, qint32 repairNbr) {
    Add(KeyPrefix(carNbr, maintNbr) + TvdrCmRtn::FormatKey(repairNbr));
}

void TvdrMaintRepairs::AddLinks(const QList<TLink> &links) {
    TvdrRows rows;
    rows.Reserve(links.size(), 24 * links.size());
    for (const TLink &link : links) {
        TKeyText row;
        row.Add(link.CarNbr);
        row.Add(link.MaintNbr);
        row.Add(link.RepairNbr, false);
        rows.Append(row.View());
    }
    AddRows(std::move(rows));
}

void TvdrMaintRepairs::RemoveEventLinks(qint32 carNbr, qint32 maintNbr) {
    RemoveByPrefix(KeyPrefix(carNbr, maintNbr));
}

void TvdrMaintRepairs::RemoveCarLinks(qint32 carNbr) {
    RemoveByPrefix(KeyPrefix(carNbr));
}

bool TvdrMaintRepairs::HasRepair(qint32 carNbr, qint32 maintNbr, qint32 repairNbr) const {
    TvdrReadGuard guard(Lock());
    int first = 0;
    int end = 0;
    PrefixRange(KeyPrefix(carNbr, maintNbr), first, end);
    for (int i = first; i < end; ++i)
        if (NumberField(Lines().At(i), 3) == repairNbr)
            return true;
    return false;
}

void TvdrMaintRepairs::GetEventRepairs(qint32 carNbr, qint32 maintNbr, quint8 direction,
                                       TvdrListItems &items) const {
    ListEventRepairs(carNbr, maintNbr, items);
    std::stable_sort(items.begin(), items.end(), [direction](const TvdrListItem &a, const TvdrListItem &b) {
        return direction == 1 ? CompareText(b.Caption, a.Caption) < 0 : CompareText(a.Caption, b.Caption) < 0;
    });
}

void TvdrMaintRepairs::ListEventRepairs(qint32 carNbr, qint32 maintNbr, TvdrListItems &items) const {
    TvdrReadGuard guard(Lock());
    items.clear();
    int first = 0;
    int end = 0;
    PrefixRange(KeyPrefix(carNbr, maintNbr), first, end);
    for (int i = first; i < end; ++i) {
        const qint32 repairNbr = NumberField(Lines().At(i), 3);
        items.append({Repairs().Description(repairNbr), repairNbr});
    }
}

bool TvdrMaintRepairs::CarsUsingRepair(qint32 repairNbr, QStringList &list) const {
    TvdrReadGuard guard(Lock());
    list.clear();
    QList<qint32> cars;
    const TvdrRows &rows = Lines();
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const QByteArrayView row = rows.At(i);
        if (NumberField(row, 3) != repairNbr)
            continue;
        const qint32 carNbr = NumberField(row, 1);
        if (cars.isEmpty() || cars.last() != carNbr)
            cars.append(carNbr);
    }
    for (qint32 carNbr : cars)
        list.append(Cars().CarDescription(carNbr));
    std::stable_sort(list.begin(), list.end(), TvdrTextLess());
    list.erase(std::unique(list.begin(), list.end(),
                           [](const QString &a, const QString &b) { return SameText(a, b); }),
               list.end());
    return cars.isEmpty();
}

bool TvdrMaintRepairs::IsRepairUnlinked(qint32 repairNbr) const {
    TvdrReadGuard guard(Lock());
    const TvdrRows &rows = Lines();
    for (qsizetype i = 0; i < rows.size(); ++i)
        if (NumberField(rows.At(i), 3) == repairNbr)
            return false;
    return true;
}

QString TvdrMaintRepairs::RowProblem(const QString &row) const {
    return HasLeadingKeys(row, 3, true)
               ? QString()
               : QStringLiteral("the row is not three record numbers (car, event, repair)");
}

TvdrMaintRepairs::TLink TvdrMaintRepairs::LinkAt(int index) const {
    const QString row = Get(index);
    return {NumberField(row, 1), NumberField(row, 2), NumberField(row, 3)};
}
