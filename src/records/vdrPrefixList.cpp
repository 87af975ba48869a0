#include "vdrPrefixList.h"

#include "vdrCmRtn.h"
#include "vdrCompareText.h"
#include "vdrStrUtils.h"

#include <QHash>

#include <algorithm>

namespace {

const QString kTab = QStringLiteral("\t");

// The row's first `keys` fields with the TAB after each, as KeyPrefix
// writes them; empty when the row has fewer.
QStringView LeadingKeys(QStringView row, int keys) {
    qsizetype end = -1;
    for (int k = 0; k < keys; ++k) {
        end = row.indexOf(kTab, end + 1);
        if (end < 0)
            return QStringView();
    }
    return row.left(end + 1);
}

// How the start of `row` compares with `prefix`.
int ComparePrefix(const QString &row, const QString &prefix) {
    return CompareText(QStringView(row).left(prefix.size()), prefix);
}

} // namespace

TvdrPrefixList::TvdrPrefixList(const QString &streamId) : TvdrStringList(streamId) {
    SetSorted(true);
}

QString TvdrPrefixList::KeyPrefix(qint32 a) {
    QString prefix;
    prefix.reserve(16);
    TvdrCmRtn::AppendKey(prefix, a);
    prefix.append(QLatin1Char('\t'));
    return prefix;
}

QString TvdrPrefixList::KeyPrefix(qint32 a, qint32 b) {
    // Room for the third key of a link row, which the table keeps as built.
    QString prefix;
    prefix.reserve(23);
    AppendKeyPrefix(prefix, a, b);
    return prefix;
}

void TvdrPrefixList::AppendKeyPrefix(QString &text, qint32 a, qint32 b) {
    TvdrCmRtn::AppendKey(text, a);
    text.append(QLatin1Char('\t'));
    TvdrCmRtn::AppendKey(text, b);
    text.append(QLatin1Char('\t'));
}

qint32 TvdrPrefixList::NumberField(const QString &row, int n) {
    bool ok = false;
    const qint32 number = ExtractWord(n, row, kTab).toInt(&ok, 10);
    return ok ? number : 0;
}

bool TvdrPrefixList::HasLeadingKeys(const QString &row, int keys, bool exact) {
    const QStringList fields = row.split(kTab);
    if (exact ? fields.size() != keys : fields.size() <= keys)
        return false;
    for (int k = 0; k < keys; ++k)
        if (!TvdrCmRtn::IsKey(fields[k]))
            return false;
    return true;
}

void TvdrPrefixList::PrefixRange(const QString &prefix, int &first, int &end) const {
    TvdrReadGuard guard(Lock());
    Find(prefix, first);
    const QStringList &rows = Lines();
    while (first < rows.size() && ComparePrefix(rows[first], prefix) < 0)
        ++first;
    end = first;
    while (end < rows.size() && ComparePrefix(rows[end], prefix) == 0)
        ++end;
}

void TvdrPrefixList::RemoveByPrefix(const QString &prefix) {
    TvdrWriteGuard guard(Lock());
    int first = 0;
    int end = 0;
    PrefixRange(prefix, first, end);
    for (int i = end - 1; i >= first; --i)
        Delete(i);
}

void TvdrPrefixList::RemoveWhere(const std::function<bool(const QString &row)> &match) {
    TvdrWriteGuard guard(Lock());
    QStringList rows = Lines();
    rows.erase(std::remove_if(rows.begin(), rows.end(), match), rows.end());
    SetLines(std::move(rows));
}

void TvdrPrefixList::ReplaceByPrefix(QStringList rows, int keys, bool blockRows) {
    TvdrWriteGuard guard(Lock());
    // Keyed by views of the rows themselves: no string per prefix. A view
    // lives as long as its row stays in `rows`, so a replaced row's key is
    // taken out with it.
    QHash<QStringView, qsizetype> at;
    at.reserve(rows.size());
    qsizetype kept = 0;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const auto found = at.constFind(LeadingKeys(rows[i], keys));
        qsizetype index = kept;
        if (found != at.constEnd()) {
            index = *found;
            at.erase(found);
        } else {
            ++kept;
        }
        if (index != i)
            rows[index] = std::move(rows[i]);
        at.insert(LeadingKeys(rows[index], keys), index);
    }
    rows.resize(kept);
    RemoveWhere([&at, keys](const QString &row) { return at.contains(LeadingKeys(row, keys)); });
    AddLines(std::move(rows), blockRows);
}
