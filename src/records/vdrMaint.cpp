#include "vdrMaint.h"

#include "vdrCmRtn.h"
#include "vdrMaintSortedList.h"
#include "vdrPrefixList.h"
#include "vdrSingleton.h"
#include "vdrStrUtils.h"

#include <algorithm>
#include <vector>

namespace {

// The row's two numbers; false for a row without "=", which holds no event.
bool KeyOfRow(const QString &row, TvdrMaintRec &key) {
    const qsizetype eq = row.indexOf(QLatin1Char('='));
    if (eq < 0)
        return false;
    key.DecodeKey(row.left(eq));
    return true;
}

// The car number of an event's row, or -1 for a row that holds no event.
qint32 CarOfRow(QByteArrayView row) {
    const QByteArrayView name = TvdrNvList::NameBytes(row);
    if (name.isEmpty() && !row.contains('='))
        return -1;
    return TvdrPrefixList::NumberField(name, 1);
}

} // namespace

TvdrMaint::TvdrMaint() : TvdrEntity(QStringLiteral("TvdrMaint")) {
    TvdrSingleton<TvdrMaint>::CheckCreation("Maint");
}

TvdrMaintRec *TvdrMaint::EventAt(int index) {
    TvdrReadGuard guard(Lock());
    if (index < 0 || index >= Lines().size())
        return nullptr;
    const QString row = Lines().Text(index);
    TvdrMaintRec rec;
    if (!KeyOfRow(row, rec))
        return nullptr;
    rec.Decode(row.mid(row.indexOf(QLatin1Char('=')) + 1));
    m_cursor = rec;
    return &m_cursor;
}

TvdrMaintRec *TvdrMaint::FindEvent(qint32 carNbr, qint32 maintNbr) {
    TvdrMaintRec key;
    key.SetCarNbr(carNbr);
    key.SetMaintNbr(maintNbr);
    // Rows are written under their encoded key and kept in name order.
    TvdrReadGuard guard(Lock());
    const int index = IndexOfName(key.EncodeKey());
    return index < 0 ? nullptr : EventAt(index);
}

bool TvdrMaint::HasEvent(qint32 carNbr, qint32 maintNbr) const {
    TvdrMaintRec key;
    key.SetCarNbr(carNbr);
    key.SetMaintNbr(maintNbr);
    return IndexOfName(key.EncodeKey()) >= 0;
}

qint32 TvdrMaint::NextMaintNbr(qint32 carNbr) const {
    TvdrReadGuard guard(Lock());
    // The car's rows stand together under its key and a TAB; only they are
    // read, not the whole table.
    const QString prefix = TvdrCmRtn::FormatKey(carNbr) + QLatin1Char('\t');
    const QByteArray prefixBytes = prefix.toLatin1();
    int index = 0;
    FindInsertPos(prefix, index);
    qint32 next = 0;
    for (; index < Lines().size(); ++index) {
        const QByteArrayView name = NameBytes(Lines().At(index));
        if (!name.startsWith(prefixBytes))
            break;
        // The number up to its TAB: 0 when it is none.
        QByteArrayView number = name.sliced(prefixBytes.size());
        number = number.first(number.contains('\t') ? number.indexOf('\t') : number.size());
        int maintNbr = 0;
        ToInt(number, maintNbr); // left 0 when it is none
        next = std::max(next, maintNbr + 1);
    }
    return next;
}

void TvdrMaint::RemoveEvent(qint32 carNbr, qint32 maintNbr) {
    m_cursor.SetCarNbr(carNbr);
    m_cursor.SetMaintNbr(maintNbr);
    DeleteName(m_cursor.EncodeKey());
}

void TvdrMaint::RemoveCarEvents(qint32 carNbr) {
    TvdrWriteGuard guard(Lock());
    TvdrRows rows = Lines();
    rows.RemoveIf([carNbr](QByteArrayView row) { return CarOfRow(row) == carNbr; });
    SetLines(std::move(rows));
}

void TvdrMaint::StoreEvent(const TvdrMaintRec &rec) {
    SetValue(rec.EncodeKey(), rec.Encode());
}

void TvdrMaint::StoreEvents(const QList<TvdrMaintRec> &recs) {
    // Each row is made once, straight into the rows, and merged: an
    // import's thousands of events never exist as pairs of strings besides.
    TRowChanges changes;
    changes.Rows.Reserve(recs.size(), 40 * recs.size());
    changes.Changes.reserve(size_t(recs.size()));
    for (const TvdrMaintRec &rec : recs)
        changes.Add(rec.EncodeKey(), rec.Encode());
    MergeChanges(std::move(changes));
}

std::unique_ptr<TvdrMaintSortedList> TvdrMaint::SortedList(qint32 carNbr, quint8 sortColumn,
                                                           quint8 sortDirection) {
    return std::make_unique<TvdrMaintSortedList>(carNbr, sortColumn, sortDirection);
}

QString TvdrMaint::RowProblem(const QString &row) const {
    QString problem = TvdrEntity::RowProblem(row);
    if (!problem.isEmpty())
        return problem;
    const QString name = NameOf(row);
    const QStringList parts = name.split(QLatin1Char('\t'));
    if (parts.size() != 2 || !TvdrCmRtn::IsKey(parts[0]) || !TvdrCmRtn::IsKey(parts[1]))
        return QStringLiteral("key \"%1\" is not two record numbers (car, event)")
            .arg(TvdrCmRtn::EscapeText(name));
    return QString();
}

TvdrMaint &Maint() {
    return TvdrSingleton<TvdrMaint>::Instance();
}
