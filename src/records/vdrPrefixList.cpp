#include "vdrPrefixList.h"

#include "vdrCmRtn.h"
#include "vdrCodePage.h"
#include "vdrCompareText.h"
#include "vdrStrUtils.h"

#include <QHash>

#include <algorithm>
#include <cstring>

namespace {

const QString kTab = QStringLiteral("\t");

// The row's first `keys` fields with the TAB after each, as KeyPrefix
// writes them; empty when the row has fewer.
QByteArrayView LeadingKeys(QByteArrayView row, int keys) {
    qsizetype end = -1;
    for (int k = 0; k < keys; ++k) {
        end = row.indexOf('\t', end + 1);
        if (end < 0)
            return QByteArrayView();
    }
    return row.first(end + 1);
}

// How the start of `row` compares with `prefix`.
int ComparePrefix(QByteArrayView row, QByteArrayView prefix) {
    return CompareText(row.first(qMin(row.size(), prefix.size())), prefix);
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

qint32 TvdrPrefixList::NumberField(QByteArrayView row, int n) {
    int number = 0;
    return ToInt(ExtractTabWord(n, row), number) ? number : 0;
}

void TvdrPrefixList::TKeyText::Add(qint32 key, bool tab) {
    char text[TvdrCmRtn::kKeyBytes];
    const qsizetype size = TvdrCmRtn::FormatKey(key, text);
    std::memcpy(m_text + m_size, text, size_t(size));
    m_size += size;
    if (tab)
        m_text[m_size++] = '\t';
}

void TvdrPrefixList::AppendKeyedRow(TvdrRows &rows, qint32 a, qint32 b, QStringView text) {
    TKeyText keys;
    keys.Add(a);
    keys.Add(b);
    rows.BeginRow();
    rows.Put(keys.View());
    rows.Put(text);
    rows.EndRow();
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
    const QByteArray bytes = vdrCodePage::FromUnicode(prefix);
    const TvdrRows &rows = Lines();
    while (first < rows.size() && ComparePrefix(rows.At(first), bytes) < 0)
        ++first;
    end = first;
    while (end < rows.size() && ComparePrefix(rows.At(end), bytes) == 0)
        ++end;
}

QByteArray TvdrPrefixList::RowsUnder(const QString &prefix) const {
    TvdrReadGuard guard(Lock());
    int first = 0;
    int end = 0;
    PrefixRange(prefix, first, end);
    QByteArray rows;
    for (int i = first; i < end; ++i)
        rows.append(Lines().At(i)).append('\n');
    return rows;
}

void TvdrPrefixList::ChangeUnder(qint32 a, qint32 b, const std::function<void()> &change) {
    TvdrWriteGuard guard(Lock());
    const QString prefix = KeyPrefix(a, b);
    const qint64 mark = StoredMark();
    const QByteArray before = mark >= 0 ? RowsUnder(prefix) : QByteArray();
    change();
    SaveUnlessUnchanged(mark, mark >= 0 && RowsUnder(prefix) == before);
}

void TvdrPrefixList::RemoveByPrefix(const QString &prefix) {
    TvdrWriteGuard guard(Lock());
    int first = 0;
    int end = 0;
    PrefixRange(prefix, first, end);
    for (int i = end - 1; i >= first; --i)
        Delete(i);
}

void TvdrPrefixList::RemoveWhere(const std::function<bool(QByteArrayView row)> &match) {
    TvdrWriteGuard guard(Lock());
    TvdrRows rows = Lines();
    rows.RemoveIf(match);
    SetLines(std::move(rows));
}

void TvdrPrefixList::ReplaceByPrefix(TvdrRows rows, int keys) {
    TvdrWriteGuard guard(Lock());
    // Keyed by views of the rows themselves: no string per prefix. Picking
    // rows leaves their bytes where they are, so the views stay valid.
    QHash<QByteArrayView, int> at;
    at.reserve(rows.size());
    std::vector<int> kept;
    kept.reserve(size_t(rows.size()));
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const QByteArrayView prefix = LeadingKeys(rows.At(i), keys);
        const auto found = at.constFind(prefix);
        if (found != at.constEnd()) {
            kept[size_t(*found)] = int(i);
        } else {
            at.insert(prefix, int(kept.size()));
            kept.push_back(int(i));
        }
    }
    rows.Select(kept);
    kept = {};
    RemoveWhere([&at, keys](QByteArrayView row) { return at.contains(LeadingKeys(row, keys)); });
    at = {};
    AddRows(std::move(rows));
}
