#include "vdrRows.h"

#include "vdrCodePage.h"
#include "vdrError.h"

#include <limits>

namespace {

// Offsets are 32 bits: a stream holds far less, but rows changed over and
// over between saves leave their old bytes behind.
constexpr qsizetype kMaxBuffer = std::numeric_limits<quint32>::max();

void CheckSize(qsizetype bytes) {
    if (bytes > kMaxBuffer)
        throw EvdrError(QStringLiteral("The table's rows outgrow what one table may hold"));
}

} // namespace

QString TvdrRows::Text(qsizetype i) const {
    return vdrCodePage::ToUnicode(At(i));
}

void TvdrRows::Reserve(qsizetype rows, qsizetype bytes) {
    m_spans.reserve(m_spans.size() + rows);
    m_bytes.reserve(m_bytes.size() + bytes + 2 * rows);
}

void TvdrRows::MakeRoom(qsizetype bytes) {
    if (m_bytes.size() + bytes + 2 <= kMaxBuffer)
        return;
    Pack();
    CheckRoom(bytes);
}

void TvdrRows::CheckRoom(qsizetype bytes) const {
    CheckSize(m_bytes.size() + bytes + 2);
}

// Resizing grows the buffer's room in steps, as appending does, at less
// cost per call: rows are made a few bytes at a time.
char *TvdrRows::Extend(qsizetype bytes) {
    const qsizetype at = m_bytes.size();
    m_bytes.resize(at + bytes);
    return m_bytes.data() + at;
}

TvdrRows::TSpan TvdrRows::Write(QByteArrayView row) {
    MakeRoom(row.size());
    const TSpan span{quint32(m_bytes.size()), quint32(row.size())};
    char *at = Extend(row.size() + 2);
    if (!row.isEmpty())
        std::memcpy(at, row.data(), size_t(row.size()));
    at[row.size()] = '\r';
    at[row.size() + 1] = '\n';
    return span;
}

void TvdrRows::Append(QByteArrayView row) {
    m_spans.append(Write(row));
}

void TvdrRows::Append(QStringView row) {
    BeginRow();
    Put(row);
    EndRow();
}

void TvdrRows::BeginRow() {
    m_rowStart = m_bytes.size();
}

// A row being built is not packed away: past the limit it fails.
void TvdrRows::Put(QByteArrayView bytes) {
    CheckRoom(bytes.size());
    if (!bytes.isEmpty())
        std::memcpy(Extend(bytes.size()), bytes.data(), size_t(bytes.size()));
}

void TvdrRows::Put(QStringView text) {
    CheckRoom(text.size());
    vdrCodePage::Append(m_bytes, text);
}

void TvdrRows::EndRow() {
    m_spans.append({quint32(m_rowStart), quint32(m_bytes.size() - m_rowStart)});
    std::memcpy(Extend(2), "\r\n", 2);
    m_rowStart = -1;
}

void TvdrRows::Insert(qsizetype i, QByteArrayView row) {
    if (i == m_spans.size()) {
        Append(row);
        return;
    }
    m_spans.insert(i, Write(row));
    m_packed = false;
}

void TvdrRows::Replace(qsizetype i, QByteArrayView row) {
    const TSpan old = m_spans[i];
    // A row of the same length is written over: data() first parts the
    // buffer from any copy that shares it.
    if (old.Length == row.size()) {
        if (!row.isEmpty())
            std::memcpy(m_bytes.data() + old.Offset, row.data(), size_t(row.size()));
        return;
    }
    m_spans[i] = Write(row);
    m_packed = false;
}

void TvdrRows::Remove(qsizetype i) {
    const TSpan span = m_spans[i];
    m_spans.remove(i);
    // The last row of a packed buffer takes its bytes with it.
    if (m_packed && i == m_spans.size() && span.Offset + span.Length + 2 == quint32(m_bytes.size()))
        m_bytes.truncate(span.Offset);
    else
        m_packed = false;
}

void TvdrRows::Clear() {
    m_bytes = QByteArray();
    m_spans = QList<TSpan>();
    m_packed = true;
}

qsizetype TvdrRows::Absorb(TvdrRows other) {
    const qsizetype first = m_spans.size();
    if (m_spans.isEmpty()) {
        *this = std::move(other);
        return first;
    }
    if (other.isEmpty())
        return first;
    if (!other.m_packed)
        other.Pack();
    MakeRoom(other.m_bytes.size());
    const quint32 base = quint32(m_bytes.size());
    // A packed buffer stays packed when the other's follows it.
    m_bytes.append(other.m_bytes);
    other.m_bytes = QByteArray();
    m_spans.reserve(first + other.m_spans.size());
    for (const TSpan span : std::as_const(other.m_spans))
        m_spans.append({base + span.Offset, span.Length});
    return first;
}

void TvdrRows::Select(const std::vector<int> &indices) {
    bool same = qsizetype(indices.size()) == m_spans.size();
    for (size_t i = 0; i < indices.size() && same; ++i)
        same = indices[i] == int(i);
    if (same)
        return;
    QList<TSpan> spans;
    spans.reserve(qsizetype(indices.size()));
    for (const int index : indices)
        spans.append(m_spans[index]);
    m_spans = std::move(spans);
    m_packed = false;
}

QByteArray TvdrRows::StreamText() {
    if (!m_packed)
        Pack();
    // Room kept for rows still to come is given back once they are saved:
    // the rows of an import stay as long as the program runs.
    if (m_bytes.isDetached() && m_bytes.capacity() > m_bytes.size())
        m_bytes.squeeze();
    return m_bytes;
}

qsizetype TvdrRows::Loose() const {
    qsizetype used = 0;
    for (const TSpan span : m_spans)
        used += span.Length + 2;
    return m_bytes.size() - used;
}

void TvdrRows::Pack() {
    qsizetype size = 0;
    for (const TSpan span : std::as_const(m_spans))
        size += span.Length + 2;
    CheckSize(size);
    // Only a new buffer can pack: rows may stand in any order in the old.
    // Most stand as they were loaded or last packed, one after the other
    // with their CR LF: each such run is one copy.
    QByteArray packed(size, Qt::Uninitialized);
    char *const start = packed.data();
    char *out = start;
    const char *in = m_bytes.constData();
    const qsizetype inSize = m_bytes.size();
    const auto endsInLineBreak = [&](TSpan span) {
        const qsizetype end = qsizetype(span.Offset) + span.Length;
        return end + 2 <= inSize && in[end] == '\r' && in[end + 1] == '\n';
    };
    TSpan *spans = m_spans.data();
    const qsizetype count = m_spans.size();
    for (qsizetype i = 0; i < count;) {
        const qsizetype from = spans[i].Offset;
        qsizetype end = from;
        qsizetype j = i;
        for (; j < count && spans[j].Offset == end && endsInLineBreak(spans[j]); ++j) {
            spans[j].Offset = quint32(out - start + (end - from));
            end += spans[j].Length + 2;
        }
        if (j > i) {
            std::memcpy(out, in + from, size_t(end - from));
            out += end - from;
            i = j;
            continue;
        }
        // A row the buffer holds without its CR LF after it.
        if (spans[i].Length > 0)
            std::memcpy(out, in + from, spans[i].Length);
        spans[i].Offset = quint32(out - start);
        out += spans[i].Length;
        *out++ = '\r';
        *out++ = '\n';
        ++i;
    }
    m_bytes = std::move(packed);
    m_packed = true;
}
