#pragma once

#include "vdrLineModel.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>

#include <algorithm>
#include <cstring>
#include <vector>

// A table's rows as its stream holds them: code page 1252 bytes, all in one
// buffer, each row followed there by CR LF. A row costs its bytes and eight
// more, not a string of its own; a loaded stream's text is the buffer as it
// is, and a buffer that holds nothing but its rows in order is the text a
// save writes, without a copy.
//
// A change to a row writes the new row at the buffer's end and leaves the old
// bytes behind until the next StreamText, which packs the buffer. A copy
// shares the buffer until either side changes.
class TvdrRows {
public:
    qsizetype size() const { return m_spans.size(); }
    bool isEmpty() const { return m_spans.isEmpty(); }

    QByteArrayView At(qsizetype i) const {
        const TSpan span = m_spans[i];
        return QByteArrayView(m_bytes.constData() + span.Offset, span.Length);
    }
    // The row decoded.
    QString Text(qsizetype i) const;

    // The rows of a stream's text under the line model (vdrLineModel);
    // `check(i, row)` sees each as it is split off. The text becomes the
    // buffer.
    template <class Check> static TvdrRows Split(QByteArray text, Check check);

    void Reserve(qsizetype rows, qsizetype bytes);
    void Append(QByteArrayView row);
    // Encoded; a character code page 1252 cannot hold becomes "?".
    void Append(QStringView row);
    // A row made of parts, straight into the buffer: BeginRow, then the
    // parts in turn, then EndRow.
    void BeginRow();
    void Put(QByteArrayView bytes);
    void Put(QStringView text);
    // How many bytes the row being built holds so far.
    qsizetype RowBytes() const { return m_bytes.size() - m_rowStart; }
    void EndRow();

    void Insert(qsizetype i, QByteArrayView row);
    void Replace(qsizetype i, QByteArrayView row);
    void Remove(qsizetype i);
    void Clear();

    // Appends the rows of `other`; returns the index the first of them got.
    qsizetype Absorb(TvdrRows other);
    // Keeps the rows at `indices`, in that order; a row may not be named
    // twice. The others are gone.
    void Select(const std::vector<int> &indices);
    // Removes the rows `remove(row)` holds for, in one pass.
    template <class Match> void RemoveIf(Match remove);
    // Puts the rows in the order of `less(a, b)` over their bytes (stable).
    template <class Less> void StableSort(Less less);

    // Every row followed by CR LF. Packs the buffer first when it holds
    // anything else, so the text and the rows share it afterwards.
    QByteArray StreamText();
    // Whether the buffer is StreamText() as it stands, with nothing to pack.
    bool IsPacked() const { return m_packed; }
    // Bytes of the buffer no row uses.
    qsizetype Loose() const;

private:
    struct TSpan {
        quint32 Offset;
        quint32 Length;
    };
    // Room for `bytes` more at the buffer's end; a buffer that would
    // outgrow the spans' offsets is packed first.
    void MakeRoom(qsizetype bytes);
    void CheckRoom(qsizetype bytes) const;
    TSpan Write(QByteArrayView row);
    char *Extend(qsizetype bytes);
    void Pack();

    QByteArray m_bytes;
    QList<TSpan> m_spans;
    // Whether the buffer is exactly every row followed by CR LF, in order.
    bool m_packed = true;
    qsizetype m_rowStart = -1; // of the row being built
};

template <class Check> TvdrRows TvdrRows::Split(QByteArray text, Check check) {
    TvdrRows rows;
    const char *begin = text.constData();
    const char *end = begin + text.size();
    // Rows end in CR LF: counting the LFs first spares the spans their
    // growth by copies.
    rows.m_spans.reserve(vdrLineModel::CountBytes(begin, end, '\n') + 1);
    // Packed: every row ends in CR LF and the last one ends the text.
    bool packed = true;
    const char *last = begin;
    vdrLineModel::ForEachLine(begin, end, [&](const char *from, const char *to, bool) {
        check(rows.m_spans.size(), QByteArrayView(from, to - from));
        rows.m_spans.append({quint32(from - begin), quint32(to - from)});
        packed = packed && end - to >= 2 && to[0] == '\r' && to[1] == '\n';
        last = to + 2;
    });
    rows.m_packed = packed && last == end;
    rows.m_bytes = std::move(text);
    return rows;
}

template <class Match> void TvdrRows::RemoveIf(Match remove) {
    const auto gone = std::remove_if(m_spans.begin(), m_spans.end(), [this, &remove](TSpan span) {
        return remove(QByteArrayView(m_bytes.constData() + span.Offset, span.Length));
    });
    if (gone == m_spans.end())
        return;
    m_spans.erase(gone, m_spans.end());
    m_packed = false;
}

template <class Less> void TvdrRows::StableSort(Less less) {
    const auto spanLess = [this, &less](TSpan a, TSpan b) {
        return less(QByteArrayView(m_bytes.constData() + a.Offset, a.Length),
                    QByteArrayView(m_bytes.constData() + b.Offset, b.Length));
    };
    if (std::is_sorted(m_spans.cbegin(), m_spans.cend(), spanLess))
        return;
    std::stable_sort(m_spans.begin(), m_spans.end(), spanLess);
    m_packed = false;
}
