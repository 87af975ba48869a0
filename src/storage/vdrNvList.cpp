#include "vdrNvList.h"

#include "vdrCmRtn.h"
#include "vdrCodePage.h"
#include "vdrCompareText.h"
#include "vdrStrUtils.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

TvdrNvList::TvdrNvList(const QString &streamId) : TvdrStringList(streamId) {}

QString TvdrNvList::DefaultValue() const {
    TvdrReadGuard guard(Lock());
    return m_defaultValue;
}

void TvdrNvList::SetDefault(const QString &text) {
    TvdrWriteGuard guard(Lock());
    m_defaultValue = Trim(text);
}

void TvdrNvList::SetDefault(qint64 number) {
    TvdrWriteGuard guard(Lock());
    m_defaultValue = QString::number(number);
}

int TvdrNvList::IndexOfName(const QString &name) const {
    TvdrReadGuard guard(Lock());
    int index = 0;
    return FindInsertPos(name, index) ? index : -1;
}

bool TvdrNvList::FindInsertPos(const QString &name, int &index) const {
    // As stored, like the rows' own names.
    const QByteArray bytes = vdrCodePage::FromUnicode(name);
    return SearchRows(Lines(), index,
                      [&bytes](QByteArrayView row) { return CompareText(NameBytes(row), bytes); });
}

QString TvdrNvList::GetValue(const QString &name) const {
    TvdrReadGuard guard(Lock());
    const QString key = Trim(name);
    if (key.isEmpty())
        return m_defaultValue;
    const int index = IndexOfName(key);
    if (index < 0)
        return m_defaultValue;
    const QByteArrayView row = Lines().At(index);
    return vdrCodePage::ToUnicode(row.sliced(NameBytes(row).size() + 1));
}

void TvdrNvList::DeleteName(const QString &name) {
    TvdrWriteGuard guard(Lock());
    const QString key = Trim(name);
    if (key.isEmpty())
        return;
    const int index = IndexOfName(key);
    if (index >= 0)
        Delete(index);
}

void TvdrNvList::SetValue(const QString &name, const QString &value) {
    TvdrWriteGuard guard(Lock());
    // The name is stored trimmed: look-ups trim theirs, and a row they could
    // not find would be duplicated by the next SetValue.
    const QString key = Trim(name);
    const QString row = key + QLatin1Char('=') + value;
    // The very row there already: the delete and add below would put it back
    // where it is, and the table would count as changed for nothing.
    if (!key.isEmpty() && !Trim(value).isEmpty()) {
        const int index = IndexOfName(key);
        if (index >= 0 && Lines().At(index) == QByteArrayView(vdrCodePage::FromUnicode(row)))
            return;
    }
    DeleteName(name);
    if (key.isEmpty() || Trim(value).isEmpty())
        return;
    if (Sorted()) {
        Add(row);
        return;
    }
    int index = 0;
    FindInsertPos(key, index);
    Insert(index, row);
}

void TvdrNvList::SetValues(QList<QPair<QString, QString>> rows) {
    TvdrWriteGuard guard(Lock());
    if (Sorted()) {
        for (const auto &[name, value] : std::as_const(rows))
            SetValue(name, value);
        return;
    }
    // The last value of each name; a row of a blank value only removes it.
    // Each given pair is let go once its row is made, so the two never
    // fill memory together.
    TRowChanges changes;
    changes.Rows.Reserve(rows.size(), 0);
    changes.Changes.reserve(size_t(rows.size()));
    for (auto &[name, value] : rows) {
        const QString key = Trim(name);
        if (!key.isEmpty())
            changes.Add(key, Trim(value).isEmpty() ? QStringView() : QStringView(value));
        name = QString();
        value = QString();
    }
    rows = {};
    MergeChanges(std::move(changes));
}

void TvdrNvList::TRowChanges::Add(QStringView name, QStringView value) {
    Rows.BeginRow();
    Rows.Put(name);
    // In bytes: a character outside the BMP is one "?".
    Changes.push_back({int(Rows.size()), int(Rows.RowBytes()), value.isNull()});
    if (!value.isNull()) {
        Rows.Put(QByteArrayView("=", 1));
        Rows.Put(value);
    }
    Rows.EndRow();
}

void TvdrNvList::MergeChanges(TRowChanges changes) {
    TvdrWriteGuard guard(Lock());
    const TvdrRows &fresh = changes.Rows;
    const auto name = [&fresh](const TRowChange &change) {
        return fresh.At(change.Row).first(change.NameLength);
    };
    const auto keyLess = [&name](const TRowChange &a, const TRowChange &b) {
        return CompareText(name(a), name(b)) < 0;
    };
    std::vector<TRowChange> &order = changes.Changes;
    if (!std::is_sorted(order.begin(), order.end(), keyLess))
        std::stable_sort(order.begin(), order.end(), keyLess);
    TvdrRows rows = Lines();
    SetLines(TvdrRows()); // the list's rows are not shared while they grow
    const qsizetype old = rows.size();
    const qsizetype base = rows.Absorb(std::move(changes.Rows));
    const auto changed = [&rows, base](const TRowChange &change) {
        return rows.At(base + change.Row).first(change.NameLength);
    };
    std::vector<int> merged;
    merged.reserve(size_t(old) + order.size());
    qsizetype i = 0;
    for (size_t j = 0; j < order.size(); ++j) {
        if (j + 1 < order.size() && CompareText(changed(order[j]), changed(order[j + 1])) == 0)
            continue; // a later value of this name replaces it
        int c = -1;
        while (i < old && (c = CompareText(NameBytes(rows.At(i)), changed(order[j]))) < 0)
            merged.push_back(int(i++));
        if (i < old && c == 0)
            ++i; // the row this name replaces
        if (!order[j].Removes)
            merged.push_back(int(base + order[j].Row));
    }
    while (i < old)
        merged.push_back(int(i++));
    order = {};
    rows.Select(merged);
    SetLines(std::move(rows));
}

QString TvdrNvList::RowProblem(const QString &row) const {
    return row.contains(QLatin1Char('=')) ? QString() : QStringLiteral("the row has no \"=\"");
}

QString TvdrNvList::RowKey(const QString &row) const {
    return NameOf(row);
}

QString TvdrNvList::NumberKeyProblem(const QString &row) {
    const QString name = NameOf(row);
    if (TvdrCmRtn::IsKey(name))
        return QString();
    return QStringLiteral("key \"%1\" is not a record number").arg(TvdrCmRtn::EscapeText(name));
}

QString TvdrNvList::NameOf(const QString &row) {
    return NameView(row).toString();
}

QStringView TvdrNvList::NameView(const QString &row) {
    // Names are short: a plain loop beats a call into Qt's vector search.
    const QChar *begin = row.constData();
    const QChar *end = begin + row.size();
    for (const QChar *p = begin; p < end; ++p)
        if (*p == QLatin1Char('='))
            return QStringView(begin, p - begin);
    return QStringView();
}

QByteArrayView TvdrNvList::NameBytes(QByteArrayView row) {
    if (row.isEmpty())
        return QByteArrayView();
    const auto *eq = static_cast<const char *>(std::memchr(row.data(), '=', size_t(row.size())));
    return eq ? QByteArrayView(row.data(), eq - row.data()) : QByteArrayView();
}

bool TvdrNvList::UnsortedInOrder(QByteArrayView previous, QByteArrayView next) const {
    return CompareText(NameBytes(previous), NameBytes(next)) <= 0;
}

void TvdrNvList::ReorderUnsorted(TvdrRows &rows) const {
    // Stable, so rows of equal names keep their stored order.
    rows.StableSort(
        [](QByteArrayView a, QByteArrayView b) { return CompareText(NameBytes(a), NameBytes(b)) < 0; });
}
