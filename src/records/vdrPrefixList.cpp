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
QString LeadingKeys(const QString &row, int keys) {
    qsizetype end = -1;
    for (int k = 0; k < keys; ++k) {
        end = row.indexOf(kTab, end + 1);
        if (end < 0)
            return QString();
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
    TvdrCmRtn::AppendKey(prefix, a);
    prefix.append(QLatin1Char('\t'));
    TvdrCmRtn::AppendKey(prefix, b);
    prefix.append(QLatin1Char('\t'));
    return prefix;
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

void TvdrPrefixList::ReplaceByPrefix(const QList<QPair<QString, QString>> &rows, int keys, bool blockRows) {
    TvdrWriteGuard guard(Lock());
    QHash<QString, QString> last;
    last.reserve(rows.size());
    for (const auto &[prefix, row] : rows)
        last.insert(prefix, row);
    RemoveWhere([&last, keys](const QString &row) { return last.contains(LeadingKeys(row, keys)); });
    AddLines(last.values(), blockRows);
}
