#include "kvxSfPending.h"

#include "kvxSfFile.h"
#include "vdrError.h"

#include <algorithm>
#include <cstring>

QList<TkvxSfRange> MergeRanges(QList<TkvxSfRange> ranges) {
    std::sort(ranges.begin(), ranges.end(),
              [](const TkvxSfRange &a, const TkvxSfRange &b) { return a.Offset < b.Offset; });
    QList<TkvxSfRange> merged;
    for (const TkvxSfRange &range : ranges) {
        if (range.Length <= 0)
            continue;
        if (!merged.isEmpty() && range.Offset <= merged.last().End())
            merged.last().Length = qMax(merged.last().End(), range.End()) - merged.last().Offset;
        else
            merged.append(range);
    }
    return merged;
}

QList<TkvxSfRange> IntersectRanges(const QList<TkvxSfRange> &a, const QList<TkvxSfRange> &b) {
    QList<TkvxSfRange> both;
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const qint64 from = qMax(a[i].Offset, b[j].Offset);
        const qint64 to = qMin(a[i].End(), b[j].End());
        if (from < to)
            both.append({from, to - from});
        if (a[i].End() < b[j].End())
            ++i;
        else
            ++j;
    }
    return both;
}

TkvxSfPending::TkvxSfPending(qint64 length)
    : m_original(length), m_size(length), m_cut(length), m_highest(length) {}

void TkvxSfPending::WriteAt(qint64 offset, const QByteArray &bytes) {
    if (bytes.isEmpty())
        return;
    const qint64 end = offset + bytes.size();
    // Earlier writes keep only what lies outside the new one.
    auto it = m_writes.upper_bound(offset);
    if (it != m_writes.begin())
        --it;
    while (it != m_writes.end() && it->first < end) {
        const qint64 start = it->first;
        const qint64 stop = start + it->second.size();
        if (stop <= offset) {
            ++it;
            continue;
        }
        const QByteArray old = it->second;
        it = m_writes.erase(it);
        if (start < offset)
            m_writes.emplace(start, old.left(offset - start));
        if (stop > end)
            it = m_writes.emplace(end, old.mid(end - start)).first;
    }
    m_writes.emplace(offset, bytes);
    m_size = qMax(m_size, end);
    m_highest = qMax(m_highest, m_size);
}

void TkvxSfPending::Truncate(qint64 length) {
    if (length < m_size) {
        auto it = m_writes.lower_bound(length);
        if (it != m_writes.begin()) {
            auto previous = std::prev(it);
            if (previous->first + previous->second.size() > length)
                previous->second.truncate(length - previous->first);
        }
        m_writes.erase(it, m_writes.end());
        m_cut = qMin(m_cut, length);
    }
    m_size = length;
    m_highest = qMax(m_highest, m_size);
}

QByteArray TkvxSfPending::ReadAt(const TkvxSfFile &file, qint64 offset, qint64 length) const {
    if (offset < 0 || length < 0 || length > m_size - offset)
        throw EvdrError(QStringLiteral("%1 is damaged: %2 bytes at offset %3 lie outside the file")
                            .arg(file.FileName())
                            .arg(length)
                            .arg(offset));
    // Bytes no change touches are the file's own: no copy of them.
    if (LeavesAlone(offset, length))
        return file.ReadAt(offset, length);
    const qint64 own = qBound<qint64>(0, m_cut - offset, length);
    return Overlay(offset, length, own > 0 ? file.ReadAt(offset, own) : QByteArray());
}

QByteArray TkvxSfPending::Overlay(qint64 offset, qint64 length, QByteArrayView own) const {
    const qint64 end = offset + length;
    QByteArray bytes(length, '\0');
    if (const qint64 kept = qMin(qBound<qint64>(0, m_cut - offset, length), qint64(own.size())); kept > 0)
        std::memcpy(bytes.data(), own.data(), size_t(kept));
    for (auto it = FirstWriteInto(offset); it != m_writes.end() && it->first < end; ++it) {
        const qint64 from = qMax(offset, it->first);
        const qint64 to = qMin(end, it->first + qint64(it->second.size()));
        if (from < to)
            std::memcpy(bytes.data() + (from - offset), it->second.constData() + (from - it->first),
                        size_t(to - from));
    }
    return bytes;
}

std::map<qint64, QByteArray>::const_iterator TkvxSfPending::FirstWriteInto(qint64 offset) const {
    auto first = m_writes.upper_bound(offset);
    if (first != m_writes.begin() &&
        std::prev(first)->first + qint64(std::prev(first)->second.size()) > offset)
        --first;
    return first;
}

bool TkvxSfPending::LeavesAlone(qint64 offset, qint64 length) const {
    const auto first = FirstWriteInto(offset);
    return offset + length <= m_cut && (first == m_writes.end() || first->first >= offset + length);
}

QList<TkvxSfRange> TkvxSfPending::Touched() const {
    QList<TkvxSfRange> touched;
    for (const auto &[offset, bytes] : m_writes)
        if (offset < m_original)
            touched.append({offset, qMin(offset + bytes.size(), m_original) - offset});
    if (m_cut < m_original)
        touched.append({m_cut, m_original - m_cut});
    return MergeRanges(touched);
}

void TkvxSfPending::ApplyTo(TkvxSfFile &file) const {
    if (m_cut < m_original && !WritesCover(m_cut, qMin(m_size, m_original)))
        file.Truncate(m_cut);
    for (const auto &[offset, bytes] : m_writes)
        file.WriteAt(offset, bytes);
    if (file.Size() != m_size)
        file.Truncate(m_size);
}

bool TkvxSfPending::WritesCover(qint64 from, qint64 to) const {
    for (auto it = FirstWriteInto(from); from < to; ++it) {
        if (it == m_writes.end() || it->first > from)
            return false;
        from = it->first + qint64(it->second.size());
    }
    return true;
}
