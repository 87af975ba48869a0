#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <map>

class TkvxSfFile;

// A stretch of a file.
struct TkvxSfRange {
    qint64 Offset = 0;
    qint64 Length = 0;

    qint64 End() const { return Offset + Length; }
    bool operator==(const TkvxSfRange &other) const {
        return Offset == other.Offset && Length == other.Length;
    }
};

// Sorted, without overlaps or touching neighbours.
QList<TkvxSfRange> MergeRanges(QList<TkvxSfRange> ranges);
// What both sorted, merged lists cover.
QList<TkvxSfRange> IntersectRanges(const QList<TkvxSfRange> &a, const QList<TkvxSfRange> &b);

// The writes and cuts of a transaction, held in memory until it commits: the
// file itself stays as it was, and reads through here see it as the changes
// so far have made it. ApplyTo then makes the same file the same sequence of
// writes and cuts would have made, in a few operations.
class TkvxSfPending {
public:
    // `length`: the file's length when the transaction began.
    explicit TkvxSfPending(qint64 length = 0);

    bool IsEmpty() const { return m_writes.empty() && m_size == m_original && m_cut == m_original; }
    qint64 Size() const { return m_size; }
    qint64 OriginalSize() const { return m_original; }
    // The shortest length the file is cut to on the way; before it, bytes
    // not written are the file's own, from it on they are zeros.
    qint64 Lowest() const { return m_cut; }
    // The longest length the file reaches on the way.
    qint64 Highest() const { return m_highest; }

    void WriteAt(qint64 offset, const QByteArray &bytes);
    void Truncate(qint64 length);
    // The bytes as changed; what the changes do not cover is read from
    // `file`. Raises like TkvxSfFile::ReadAt outside the changed length.
    QByteArray ReadAt(const TkvxSfFile &file, qint64 offset, qint64 length) const;
    // The same from the file's bytes at `offset`, already read: `own` holds
    // at least those before the cut.
    QByteArray Overlay(qint64 offset, qint64 length, QByteArrayView own) const;
    // Whether those bytes are still the file's own, untouched by any change.
    bool LeavesAlone(qint64 offset, qint64 length) const;

    // Where the changes touch the file's original bytes: written over or cut
    // away.
    QList<TkvxSfRange> Touched() const;
    // Cuts to Lowest() when that is shorter, writes, then cuts or extends to
    // Size(): the file never holds a byte the journal cannot account for.
    // The first cut is left out when the writes cover what it would cut
    // away up to the new length (a new table of contents in place of the
    // old): the same bytes come out, and the file keeps its length when the
    // change does.
    void ApplyTo(TkvxSfFile &file) const;

private:
    // Whether writes leave no byte of [from, to) as it was.
    bool WritesCover(qint64 from, qint64 to) const;
    // The first write that ends past `offset`.
    std::map<qint64, QByteArray>::const_iterator FirstWriteInto(qint64 offset) const;

    qint64 m_original = 0;
    qint64 m_size = 0;
    qint64 m_cut = 0;
    qint64 m_highest = 0;
    std::map<qint64, QByteArray> m_writes; // by offset, no overlaps
};
