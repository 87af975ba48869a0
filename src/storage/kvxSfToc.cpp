#include "kvxSfToc.h"

#include "vdrCompareText.h"
#include "vdrError.h"

#include <algorithm>

namespace {

constexpr char kRecordSeparator = '\x02';

} // namespace

void TkvxSfToc::CheckIndex(int index) const {
    if (index < 0 || index >= Count())
        throw EvdrError(QStringLiteral("TOC index (%1) is out-of-range [0..%2]").arg(index).arg(Count() - 1));
}

TkvxSfTocEntry &TkvxSfToc::Entry(int index) {
    CheckIndex(index);
    return m_entries[size_t(index)];
}

const TkvxSfTocEntry &TkvxSfToc::Entry(int index) const {
    CheckIndex(index);
    return m_entries[size_t(index)];
}

void TkvxSfToc::Delete(int index) {
    CheckIndex(index);
    m_entries.erase(m_entries.begin() + index);
}

int TkvxSfToc::IndexOfId(const QString &id) const {
    const QString wanted = TrimTocId(id);
    if (wanted.isEmpty())
        return -1;
    for (int i = 0; i < Count(); ++i)
        if (SameText(m_entries[size_t(i)].Id, wanted))
            return i;
    return -1;
}

TkvxSfTocEntry &TkvxSfToc::EntryById(const QString &id) {
    const int index = IndexOfId(id);
    if (index < 0)
        throw EvdrError(QStringLiteral("Id (%1) does not exist").arg(id));
    return m_entries[size_t(index)];
}

void TkvxSfToc::Add(const TkvxSfTocEntry &entry) {
    if (Exists(entry.Id))
        throw EvdrError(QStringLiteral("Id (%1) already exists").arg(entry.Id));
    m_entries.push_back(entry);
    m_entries.back().Id = TrimTocId(entry.Id);
}

void TkvxSfToc::AddEntry(qint32 offset, qint32 size, const QString &id, bool free, qint32 tag) {
    TkvxSfTocEntry entry;
    entry.Offset = offset;
    entry.Size = size;
    entry.Id = id;
    entry.Free = free;
    entry.Tag = tag;
    Add(entry);
}

int TkvxSfToc::Release(const QString &id) {
    int i = IndexOfId(id);
    if (i < 0)
        return -1;
    TkvxSfTocEntry &released = m_entries[size_t(i)];
    released.Free = true;
    released.Tag = 0;
    released.Id.clear();
    if (i + 1 < Count() && m_entries[size_t(i + 1)].Free) {
        m_entries[size_t(i)].Size += m_entries[size_t(i + 1)].Size;
        Delete(i + 1);
    }
    if (i > 0 && m_entries[size_t(i - 1)].Free) {
        TkvxSfTocEntry &previous = m_entries[size_t(i - 1)];
        previous.Size += m_entries[size_t(i)].Size;
        Delete(i);
        --i;
    }
    return i;
}

int TkvxSfToc::FindFree(qint32 size) {
    for (int i = 0; i < Count(); ++i) {
        TkvxSfTocEntry &gap = m_entries[size_t(i)];
        if (!gap.Free || gap.Size < size)
            continue;
        if (gap.Size > size) {
            TkvxSfTocEntry rest;
            rest.Offset = gap.Offset + size;
            rest.Size = gap.Size - size;
            gap.Size = size;
            // The used part lies at the front of the gap, the rest right
            // behind it, so inserting after it keeps the offset order.
            m_entries.insert(m_entries.begin() + i + 1, rest);
        }
        return i;
    }
    return -1;
}

void TkvxSfToc::Sort() {
    std::stable_sort(m_entries.begin(), m_entries.end(),
                     [](const TkvxSfTocEntry &a, const TkvxSfTocEntry &b) { return a.Offset < b.Offset; });
}

QByteArray TkvxSfToc::AsText() const {
    QByteArray text;
    text.reserve(qsizetype(Count()) * 40);
    for (int i = 0; i < Count(); ++i) {
        if (i > 0)
            text += kRecordSeparator;
        m_entries[size_t(i)].AppendTo(text);
    }
    return text;
}

void TkvxSfToc::FromText(const QByteArray &text) {
    Clear();
    const QList<QByteArray> records = SplitTocText(text, kRecordSeparator);
    m_entries.reserve(size_t(records.size()));
    std::vector<int> named;
    for (const QByteArray &record : records) {
        TkvxSfTocEntry entry;
        entry.FromText(record);
        if (!entry.Id.isEmpty())
            named.push_back(Count());
        m_entries.push_back(std::move(entry));
    }
    // Repeated Ids are found by one sort, not by a search per entry: a
    // damaged file can hold millions of entries. The one reported is the
    // first that repeats an earlier Id, as adding them in turn would find.
    const auto idLess = [this](int a, int b) {
        return CompareText(m_entries[size_t(a)].Id, m_entries[size_t(b)].Id) < 0;
    };
    std::stable_sort(named.begin(), named.end(), idLess);
    int repeat = -1;
    for (size_t i = 1; i < named.size(); ++i) {
        if (!idLess(named[i - 1], named[i]) && (repeat < 0 || named[i] < repeat))
            repeat = named[i];
    }
    if (repeat >= 0) {
        const QString id = m_entries[size_t(repeat)].Id;
        Clear();
        throw EvdrError(QStringLiteral("Id (%1) already exists").arg(id));
    }
}

void TkvxSfToc::DropEmptyGaps() {
    m_entries.erase(std::remove_if(m_entries.begin(), m_entries.end(),
                                   [](const TkvxSfTocEntry &e) { return e.Free && e.Size == 0; }),
                    m_entries.end());
}
