#pragma once

#include "kvxSfTocEntry.h"

#include <QByteArray>
#include <QString>
#include <vector>

// The table of contents: entries kept in ascending Offset order by its users.
// Every access by index checks it and raises
// "TOC index (%d) is out-of-range [0..%d]".
class TkvxSfToc {
public:
    int Count() const { return int(m_entries.size()); }
    TkvxSfTocEntry &Entry(int index);
    const TkvxSfTocEntry &Entry(int index) const;
    void Clear() { m_entries.clear(); }
    void Delete(int index);

    // -1 for a blank Id or an Id that is not there (compared without case).
    int IndexOfId(const QString &id) const;
    bool Exists(const QString &id) const { return IndexOfId(id) != -1; }
    // Raises "Id (%s) does not exist".
    TkvxSfTocEntry &EntryById(const QString &id);

    // Both raise "Id (%s) already exists" for an Id already in use.
    void Add(const TkvxSfTocEntry &entry);
    void AddEntry(qint32 offset, qint32 size, const QString &id, bool free, qint32 tag);

    // Frees the entry of `id` and merges it with free neighbours, so that two
    // free gaps are never adjacent. Returns the index of the free gap, or -1
    // when there was no such Id.
    int Release(const QString &id);

    // First fit: the first free entry of at least `size` bytes, cut to `size`
    // with the remainder left behind it as a new free gap. Returns its index
    // or -1.
    int FindFree(qint32 size);

    void Sort();
    // Removes the free entries of size 0 (they cover nothing), in one pass.
    void DropEmptyGaps();

    QByteArray AsText() const;
    // Replaces every entry; keeps the order of the text.
    void FromText(const QByteArray &text);

private:
    void CheckIndex(int index) const;

    std::vector<TkvxSfTocEntry> m_entries;
};
