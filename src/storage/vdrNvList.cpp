#include "vdrNvList.h"

#include "vdrCmRtn.h"
#include "vdrCompareText.h"
#include "vdrRowBlocks.h"
#include "vdrStrUtils.h"

#include <algorithm>
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
    return SearchRows(Lines(), index,
                      [&name](const QString &row) { return CompareText(NameView(row), name); });
}

QString TvdrNvList::GetValue(const QString &name) const {
    TvdrReadGuard guard(Lock());
    const QString key = Trim(name);
    if (key.isEmpty())
        return m_defaultValue;
    const int index = IndexOfName(key);
    if (index < 0)
        return m_defaultValue;
    // A match under CompareText has the key's length, so the "=" follows it.
    return Lines()[index].mid(key.size() + 1);
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
    DeleteName(name);
    // The name is stored trimmed: look-ups trim theirs, and a row they could
    // not find would be duplicated by the next SetValue.
    const QString key = Trim(name);
    if (key.isEmpty() || Trim(value).isEmpty())
        return;
    const QString row = key + QLatin1Char('=') + value;
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
    // fill memory together. The new rows share blocks, as loaded rows do:
    // an import's thousands cost their characters, not a string each.
    TvdrRowBlocks blocks(rows.size());
    std::vector<TRowChange> changes;
    changes.reserve(size_t(rows.size()));
    for (auto &[name, value] : rows) {
        QString key = Trim(name);
        if (!key.isEmpty()) {
            const bool removes = Trim(value).isEmpty();
            const qsizetype length = key.size();
            changes.push_back({removes ? std::move(key) : blocks.Make({key, u"=", value}), length, removes});
        }
        name = QString();
        value = QString();
    }
    rows = {};
    MergeChanges(std::move(changes), blocks.Shared());
}

void TvdrNvList::MergeChanges(std::vector<TRowChange> changes, bool shared) {
    TvdrWriteGuard guard(Lock());
    const auto keyLess = [](const TRowChange &a, const TRowChange &b) {
        return CompareText(a.Name(), b.Name()) < 0;
    };
    if (!std::is_sorted(changes.begin(), changes.end(), keyLess))
        std::stable_sort(changes.begin(), changes.end(), keyLess);
    const QStringList &old = Lines();
    QStringList merged;
    merged.reserve(old.size() + qsizetype(changes.size()));
    qsizetype i = 0;
    for (size_t j = 0; j < changes.size(); ++j) {
        if (j + 1 < changes.size() && CompareText(changes[j].Name(), changes[j + 1].Name()) == 0)
            continue; // a later value of this name replaces it
        int c = -1;
        while (i < old.size() && (c = CompareText(NameView(old[i]), changes[j].Name())) < 0)
            merged.append(old[i++]);
        if (i < old.size() && c == 0)
            ++i; // the row this name replaces
        if (!changes[j].Removes)
            merged.append(std::move(changes[j].Row));
    }
    while (i < old.size())
        merged.append(old[i++]);
    SetLines(std::move(merged), shared);
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

bool TvdrNvList::UnsortedInOrder(const QString &previous, const QString &next) const {
    return CompareText(NameView(previous), NameView(next)) <= 0;
}

bool TvdrNvList::UnsortedInOrder(QByteArrayView previous, QByteArrayView next, const QString &previousLine,
                                 const QString &nextLine) const {
    // The name's bytes: up to the first "=", none without one.
    const auto name = [](QByteArrayView row) {
        const qsizetype eq = row.indexOf('=');
        return eq < 0 ? QByteArrayView() : row.first(eq);
    };
    bool decided = false;
    const int c = CompareTextBytes(name(previous), name(next), decided);
    return decided ? c <= 0 : UnsortedInOrder(previousLine, nextLine);
}

void TvdrNvList::ReorderUnsorted(QStringList &lines) const {
    // Stable, so rows of equal names keep their stored order.
    std::vector<std::pair<QStringView, QString>> rows;
    rows.reserve(lines.size());
    for (QString &line : lines)
        rows.emplace_back(QStringView(), std::move(line));
    for (auto &row : rows)
        row.first = NameView(row.second);
    std::stable_sort(rows.begin(), rows.end(),
                     [](const auto &a, const auto &b) { return CompareText(a.first, b.first) < 0; });
    lines.clear();
    for (auto &row : rows)
        lines.append(std::move(row.second));
}
