#include "vdrKeyAllocation.h"

#include "vdrError.h"
#include "vdrNvList.h"
#include "vdrStrUtils.h"
#include "vdrStringList.h"

#include <limits>

int TvdrKeyAllocation::FirstFreeNumber(const TvdrStringList &list, const TRowNumber &rowNumber) {
    TWalk walk;
    return FirstFreeNumber(list, rowNumber, walk);
}

int TvdrKeyAllocation::FirstFreeNumber(const TvdrStringList &list, const TRowNumber &rowNumber, TWalk &walk) {
    TvdrReadGuard guard(list.Lock());
    const int count = list.Count();
    for (; walk.Row < count; ++walk.Row) {
        const int number = rowNumber(list.Get(walk.Row));
        if (number > walk.Next)
            break;
        if (number == walk.Next)
            ++walk.Next;
    }
    return walk.Next;
}

int TvdrKeyAllocation::OnePastLastNumber(const TvdrStringList &list, const TRowNumber &rowNumber) {
    TvdrReadGuard guard(list.Lock());
    // A damaged last row would count as -1 and hand out 0, a number in use.
    int last = -1;
    for (int i = list.Count() - 1; i >= 0 && last < 0; --i)
        last = rowNumber(list.Get(i));
    if (last < 0)
        return 0;
    if (last == std::numeric_limits<int>::max())
        throw EvdrError(QStringLiteral("No number is left after %1 in %2").arg(last).arg(list.StreamId()));
    return last + 1;
}

int TvdrKeyAllocation::ParseRowNumber(const QString &text) {
    bool ok = false;
    const int n = text.toInt(&ok, 10);
    return ok ? n : -1;
}

int TvdrKeyAllocation::StoredNameNumber(QByteArrayView row) {
    int number = 0;
    return ToInt(TvdrNvList::NameBytes(row), number) ? number : -1;
}

int TvdrKeyAllocation::NameNumber(const QString &row) {
    bool ok = false;
    const int n = TvdrNvList::NameView(row).toInt(&ok, 10);
    return ok ? n : -1;
}
