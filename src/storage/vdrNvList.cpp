#include "vdrNvList.h"

#include "vdrCmRtn.h"
#include "vdrCompareText.h"
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
    const QStringList &rows = Lines();
    int lo = 0;
    int hi = int(rows.size()) - 1;
    bool found = false;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        const int c = CompareText(NameOf(rows[mid]), name);
        if (c < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (c == 0) {
                found = true;
                lo = mid;
            }
        }
    }
    index = lo;
    return found;
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

void TvdrNvList::SetValues(const QList<QPair<QString, QString>> &rows) {
    TvdrWriteGuard guard(Lock());
    if (Sorted()) {
        for (const auto &[name, value] : rows)
            SetValue(name, value);
        return;
    }
    // The last value of each name; a null row only removes (a blank value).
    std::vector<std::pair<QString, QString>> changes;
    changes.reserve(size_t(rows.size()));
    for (const auto &[name, value] : rows) {
        QString key = Trim(name);
        if (!key.isEmpty())
            changes.emplace_back(key, Trim(value).isEmpty() ? QString() : key + QLatin1Char('=') + value);
    }
    const auto keyLess = [](const auto &a, const auto &b) { return CompareText(a.first, b.first) < 0; };
    if (!std::is_sorted(changes.begin(), changes.end(), keyLess))
        std::stable_sort(changes.begin(), changes.end(), keyLess);
    const QStringList &old = Lines();
    QStringList merged;
    merged.reserve(old.size() + qsizetype(changes.size()));
    qsizetype i = 0;
    for (size_t j = 0; j < changes.size(); ++j) {
        if (j + 1 < changes.size() && CompareText(changes[j].first, changes[j + 1].first) == 0)
            continue; // a later value of this name replaces it
        int c = -1;
        while (i < old.size() && (c = CompareText(NameOf(old[i]), changes[j].first)) < 0)
            merged.append(old[i++]);
        if (i < old.size() && c == 0)
            ++i; // the row this name replaces
        if (!changes[j].second.isNull())
            merged.append(changes[j].second);
    }
    while (i < old.size())
        merged.append(old[i++]);
    SetLines(std::move(merged));
}

int TvdrNvList::FirstFreeNumber() const {
    return FirstFreeNumber([](const QString &row) { return ParseRowNumber(NameOf(row)); });
}

int TvdrNvList::OnePastLastNumber() const {
    return OnePastLastNumber([](const QString &row) { return ParseRowNumber(NameOf(row)); });
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
    const qsizetype eq = row.indexOf(QLatin1Char('='));
    return eq < 0 ? QString() : row.left(eq);
}

void TvdrNvList::PutInOrder(QStringList &lines) const {
    if (Sorted()) {
        TvdrStringList::PutInOrder(lines);
        return;
    }
    bool ascending = true;
    QString previous;
    for (qsizetype i = 0; i < lines.size() && ascending; ++i) {
        QString name = NameOf(lines[i]);
        ascending = i == 0 || CompareText(previous, name) <= 0;
        previous = std::move(name);
    }
    if (ascending)
        return;
    // Stable, so rows of equal names keep their stored order.
    std::vector<std::pair<QString, QString>> rows;
    rows.reserve(lines.size());
    for (QString &line : lines) {
        QString name = NameOf(line);
        rows.emplace_back(std::move(name), std::move(line));
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [](const auto &a, const auto &b) { return CompareText(a.first, b.first) < 0; });
    lines.clear();
    for (auto &row : rows)
        lines.append(std::move(row.second));
}
