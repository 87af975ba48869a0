#include "vdrSortOrder.h"

#include "kvxLang.h"
#include "vdrCompareText.h"
#include "vdrSingleton.h"
#include "vdrSortOrderList.h"
#include "vdrStrUtils.h"

TvdrSortOrder::TvdrSortOrder() : TvdrEntity(QStringLiteral("TvdrSortOrder")) {
    TvdrSingleton<TvdrSortOrder>::CheckCreation("SortOrder");
}

TvdrSortOrderRec *TvdrSortOrder::SortOrderAt(int index) {
    TvdrReadGuard guard(Lock());
    if (index < 0 || index >= Count())
        return nullptr;
    m_cursor.Decode(Lines().Text(index));
    return &m_cursor;
}

TvdrSortOrderRec *TvdrSortOrder::FindSortOrder(const QString &name) {
    TvdrReadGuard guard(Lock());
    // Whole-row order can differ from name order ("Year-old=1" sorts before
    // "Year=0"), so a binary search over the names could miss.
    const QString wanted = Trim(name);
    for (qsizetype i = 0; i < Lines().size(); ++i) {
        const QString row = Lines().Text(i);
        if (SameText(Trim(NameOf(row)), wanted)) {
            m_cursor.Decode(row);
            return &m_cursor;
        }
    }
    return nullptr;
}

void TvdrSortOrder::AddSortOrder(const TvdrSortOrderRec &rec) {
    Add(rec.Encode());
}

std::unique_ptr<TvdrSortOrderList> TvdrSortOrder::SortOrderList() {
    return std::make_unique<TvdrSortOrderList>(*this);
}

void TvdrSortOrder::RemoveUdfFromSortOrders(qint32 udfNbr) {
    TvdrWriteGuard guard(Lock());
    std::unique_ptr<TvdrSortOrderList> list = SortOrderList();
    for (int i = 0; i < list->Count(); ++i) {
        TvdrSortOrderRec *rec = list->Items(i);
        for (int f = rec->SortFieldCount() - 1; f >= 0; --f) {
            // Every non-zero kind compares as a user-defined field, so every
            // one of them must go: a stale one would sort by the next field
            // that is given this number.
            const TvdrSortOrderField *field = rec->SortFieldAt(f);
            if (field->IsUserDefined() && field->FieldNbr == udfNbr)
                rec->DeleteSortField(f);
        }
    }
    Clear();
    for (int i = 0; i < list->Count(); ++i)
        AddSortOrder(*list->Items(i));
}

TvdrSortOrderRec TvdrSortOrder::DefaultSortOrder() {
    const QStringList lines =
        TvdrStringList::SplitLines(Lang().GetText(QStringLiteral("SortOrderDirectionsList")));
    const QString first = lines.isEmpty() ? QString() : Trim(lines.first());
    TvdrSortOrderRec rec;
    // Without a language text the default still needs a name to be found by.
    rec.SetName(first.isEmpty() ? QStringLiteral("Ascending") : first);
    rec.SortOrderNbr = 0;
    rec.AddSortField(TvdrSortOrderField::Year, TvdrSortOrderField::BuiltIn, 0);
    rec.AddSortField(TvdrSortOrderField::Make, TvdrSortOrderField::BuiltIn, 0);
    rec.AddSortField(TvdrSortOrderField::Model, TvdrSortOrderField::BuiltIn, 0);
    return rec;
}

QString TvdrSortOrder::RowKey(const QString &) const {
    return QString();
}

TvdrSortOrder &SortOrder() {
    return TvdrSingleton<TvdrSortOrder>::Instance();
}
