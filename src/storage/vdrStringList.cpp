#include "vdrStringList.h"

#include "kvxStreamFile.h"
#include "vdrCodePage.h"
#include "vdrCompareText.h"
#include "vdrError.h"
#include "vdrLimits.h"
#include "vdrLineModel.h"
#include "vdrRowBlocks.h"
#include "vdrStreamDamage.h"

#include <algorithm>
#include <utility>

namespace {

// The first line longer than a row may be, or -1.
qsizetype LongRow(const QStringList &lines) {
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (lines[i].size() > vdrLimits::kMaxRowLength)
            return i;
    return -1;
}

QString LongRowText(qsizetype row, qsizetype length) {
    return QStringLiteral("row %1 is %2 characters long, more than the %3 a row may hold")
        .arg(row)
        .arg(length)
        .arg(vdrLimits::kMaxRowLength);
}

} // namespace

TvdrStringList::TvdrStringList(const QString &streamId) : m_streamId(streamId) {}

TvdrStringList::~TvdrStringList() = default;

QString TvdrStringList::StreamId() const {
    TvdrReadGuard guard(m_lock);
    return m_streamId;
}

void TvdrStringList::SetStreamId(const QString &streamId) {
    TvdrWriteGuard guard(m_lock);
    m_streamId = streamId;
}

TkvxStreamFile *TvdrStringList::StreamFile() const {
    TvdrReadGuard guard(m_lock);
    return m_streamFile;
}

void TvdrStringList::SetStreamFile(TkvxStreamFile *streamFile) {
    TvdrWriteGuard guard(m_lock);
    m_streamFile = streamFile;
}

bool TvdrStringList::Sorted() const {
    TvdrReadGuard guard(m_lock);
    return m_sorted;
}

void TvdrStringList::SetSorted(bool sorted) {
    TvdrWriteGuard guard(m_lock);
    // Every line stays, equal ones too: they are the table's rows, and a row
    // dropped here would be gone from the file at the next save.
    if (sorted && !m_sorted)
        std::stable_sort(m_lines.begin(), m_lines.end(), TvdrTextLess());
    m_sorted = sorted;
}

void TvdrStringList::Load() {
    TvdrWriteGuard guard(m_lock);
    TLoadJob job = ReadForLoad();
    DecodeForLoad(job);
    FinishLoad(job);
}

TvdrStringList::TLoadJob TvdrStringList::ReadForLoad() const {
    TvdrReadGuard guard(m_lock);
    TLoadJob job;
    job.Bound = !m_streamId.isEmpty() && m_streamFile;
    if (!job.Bound)
        return job;
    job.Closed = !m_streamFile->IsOpen();
    try {
        job.Block = m_streamFile->RawBlock(m_streamId);
    } catch (const std::exception &e) {
        job.Error = QString::fromUtf8(e.what());
    }
    return job;
}

void TvdrStringList::DecodeForLoad(TLoadJob &job) const {
    if (!job.Bound || job.Closed || !job.Error.isEmpty())
        return;
    try {
        // The stored block is done with once inflated: it need not wait for
        // the rows.
        const QByteArray text = TkvxStreamFile::Decompress(std::exchange(job.Block, QByteArray()));
        job.Lines = LoadLines(text, job.Ordered);
    } catch (const std::exception &e) {
        job.Lines.clear();
        job.Error = QString::fromUtf8(e.what());
    }
    job.Block.clear();
}

void TvdrStringList::FinishLoad(TLoadJob &job) {
    TvdrWriteGuard guard(m_lock);
    m_loadProblem.clear();
    if (!job.Bound || !m_streamFile)
        return;
    // A table that cannot be read starts empty, and the next Save rewrites
    // its stream: a damaged one is copied aside first.
    if (!job.Error.isEmpty())
        m_loadProblem = NoteUnreadableStream(*m_streamFile, m_streamId, job.Error);
    ReplaceLines(std::move(job.Lines), job.Error.isEmpty() && job.Ordered);
    m_looseRows = 0;
}

// Each line is checked while it is fresh in the cache.
QStringList TvdrStringList::LoadLines(const QByteArray &bytes, bool &ordered) const {
    QStringList lines;
    // Rows end in CR LF: counting the LFs first spares the list its growth
    // by copies, and the spare room each copy leaves.
    lines.reserve(vdrLineModel::CountBytes(bytes.cbegin(), bytes.cend(), '\n') + 1);
    ordered = true;
    // The whole text decoded at once, one character a byte, into one block
    // that every row shares instead of a string each.
    QString whole = vdrCodePage::ToUnicode(bytes);
    QString::DataPointer &block = whole.data_ptr();
    const char *begin = bytes.constData();
    QByteArrayView previous;
    vdrLineModel::ForEachLine(begin, begin + bytes.size(), [&](const char *from, const char *to, bool) {
        const QByteArrayView line(from, to - from);
        if (line.size() > vdrLimits::kMaxRowLength)
            throw EvdrError(LongRowText(lines.size(), line.size()));
        lines.append(TvdrRowBlocks::ShareOf(block, from - begin, to - from));
        if (ordered && lines.size() > 1)
            ordered = InOrder(previous, line, lines[lines.size() - 2], lines.last());
        previous = line;
    });
    return lines;
}

QString TvdrStringList::LoadProblem() const {
    TvdrReadGuard guard(m_lock);
    return m_loadProblem;
}

void TvdrStringList::Save() {
    TvdrWriteGuard guard(m_lock);
    if (m_streamId.isEmpty() || !m_streamFile)
        return;
    if (const qsizetype row = LongRow(m_lines); row >= 0)
        throw EvdrError(
            QStringLiteral("%1 cannot be saved: %2").arg(m_streamId, LongRowText(row, m_lines[row].size())));
    QByteArray bytes = vdrCodePage::FromUnicodeLines(m_lines);
    m_streamFile->WriteStream(m_streamId, 0, bytes);
    if (bytes.size() >= kPackFrom && m_looseRows * 2 >= m_lines.size())
        Pack(std::move(bytes));
}

// Rows made one by one (an import's) cost a string each; taken from the
// bytes just saved they share one block, as loaded rows do. A row is only
// replaced by its stored form when the two are equal, so the list's content
// never changes by it (a character the stream cannot hold stops the pack),
// and each row's own string goes as soon as it is replaced.
void TvdrStringList::Pack(QByteArray bytes) {
    QString whole = vdrCodePage::ToUnicode(bytes);
    bytes = QByteArray();
    QString::DataPointer &block = whole.data_ptr();
    if (!block.d_ptr())
        return;
    qsizetype offset = 0;
    qsizetype packed = 0;
    for (QString &row : m_lines) {
        const qsizetype size = row.size();
        if (offset + size > whole.size() || QStringView(whole).sliced(offset, size) != row)
            break;
        row = TvdrRowBlocks::ShareOf(block, offset, size);
        offset += size + 2; // and CR LF
        ++packed;
    }
    m_looseRows = m_lines.size() - packed;
}

int TvdrStringList::Add(const QString &line) {
    TvdrWriteGuard guard(m_lock);
    ++m_looseRows;
    if (!m_sorted) {
        m_lines.append(line);
        return int(m_lines.size()) - 1;
    }
    int index = 0;
    if (!Find(line, index))
        m_lines.insert(index, line);
    return index;
}

void TvdrStringList::AddLines(QStringList lines, bool blockRows) {
    TvdrWriteGuard guard(m_lock);
    if (!blockRows)
        m_looseRows += lines.size();
    if (!m_sorted) {
        m_lines.append(lines);
        return;
    }
    // Of equal new lines the first is added, as Add one by one would. Lines
    // that come in order (an import of rows in key order) need no sort, and
    // when they all sort after the list's last they are appended.
    if (!std::is_sorted(lines.begin(), lines.end(), TvdrTextLess()))
        std::stable_sort(lines.begin(), lines.end(), TvdrTextLess());
    lines.erase(std::unique(lines.begin(), lines.end(), SameText), lines.end());
    if (lines.isEmpty())
        return;
    if (m_lines.isEmpty()) {
        m_lines = std::move(lines);
        return;
    }
    if (CompareText(m_lines.constLast(), lines.constFirst()) < 0) {
        m_lines.append(std::move(lines));
        return;
    }
    QStringList merged;
    merged.reserve(m_lines.size() + lines.size());
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < m_lines.size() && j < lines.size()) {
        const int c = CompareText(m_lines[i], lines[j]);
        if (c < 0)
            merged.append(std::move(m_lines[i++]));
        else if (c > 0)
            merged.append(std::move(lines[j++]));
        else
            ++j; // equal to a line there: adds nothing
    }
    for (; i < m_lines.size(); ++i)
        merged.append(std::move(m_lines[i]));
    for (; j < lines.size(); ++j)
        merged.append(std::move(lines[j]));
    m_lines = std::move(merged);
}

void TvdrStringList::SetLines(QStringList lines, bool blockRows) {
    TvdrWriteGuard guard(m_lock);
    if (!blockRows)
        m_looseRows += qMax<qsizetype>(0, lines.size() - m_lines.size());
    m_lines = std::move(lines);
    m_looseRows = qMin(m_looseRows, m_lines.size());
}

void TvdrStringList::Insert(int index, const QString &line) {
    TvdrWriteGuard guard(m_lock);
    CheckUnsorted();
    CheckIndex(index, int(m_lines.size()) + 1);
    m_lines.insert(index, line);
    ++m_looseRows;
}

void TvdrStringList::Clear() {
    TvdrWriteGuard guard(m_lock);
    m_lines.clear();
    m_looseRows = 0;
}

void TvdrStringList::Delete(int index) {
    TvdrWriteGuard guard(m_lock);
    CheckIndex(index, int(m_lines.size()));
    m_lines.removeAt(index);
    m_looseRows = qMin(m_looseRows, m_lines.size());
}

int TvdrStringList::Count() const {
    TvdrReadGuard guard(m_lock);
    return int(m_lines.size());
}

QString TvdrStringList::Get(int index) const {
    TvdrReadGuard guard(m_lock);
    CheckIndex(index, int(m_lines.size()));
    return m_lines[index];
}

void TvdrStringList::Put(int index, const QString &line) {
    TvdrWriteGuard guard(m_lock);
    CheckUnsorted();
    CheckIndex(index, int(m_lines.size()));
    m_lines[index] = line;
    ++m_looseRows;
}

QStringList TvdrStringList::Snapshot() const {
    TvdrReadGuard guard(m_lock);
    return m_lines;
}

QString TvdrStringList::Text() const {
    TvdrReadGuard guard(m_lock);
    qsizetype size = 0;
    for (const QString &line : m_lines)
        size += line.size() + 2;
    QString text;
    text.reserve(size);
    for (const QString &line : m_lines) {
        text.append(line);
        text.append(QLatin1String("\r\n"));
    }
    return text;
}

void TvdrStringList::SetText(const QString &text) {
    TvdrWriteGuard guard(m_lock);
    ReplaceLines(SplitLines(text));
    m_looseRows = m_lines.size();
}

bool TvdrStringList::Find(const QString &line, int &index) const {
    TvdrReadGuard guard(m_lock);
    return SearchRows(m_lines, index, [&line](const QString &row) { return CompareText(row, line); });
}

int TvdrStringList::IndexOf(const QString &line) const {
    TvdrReadGuard guard(m_lock);
    if (m_sorted) {
        int index = 0;
        return Find(line, index) ? index : -1;
    }
    for (int i = 0; i < int(m_lines.size()); ++i)
        if (SameText(m_lines[i], line))
            return i;
    return -1;
}

QString TvdrStringList::RowProblem(const QString &) const {
    return QString();
}

QString TvdrStringList::RowKey(const QString &) const {
    return QString();
}

QStringList TvdrStringList::SplitLines(const QString &text) {
    QStringList lines;
    vdrLineModel::ForEachLine(
        text.constData(), text.constData() + text.size(),
        [&lines](const QChar *from, const QChar *to) { lines.append(QString(from, to - from)); });
    return lines;
}

bool TvdrStringList::InOrder(const QString &previous, const QString &next) const {
    return m_sorted ? CompareText(previous, next) < 0 : UnsortedInOrder(previous, next);
}

void TvdrStringList::Reorder(QStringList &lines) const {
    if (!m_sorted) {
        ReorderUnsorted(lines);
        return;
    }
    std::stable_sort(lines.begin(), lines.end(), TvdrTextLess());
    lines.erase(std::unique(lines.begin(), lines.end(), SameText), lines.end());
}

bool TvdrStringList::UnsortedInOrder(const QString &, const QString &) const {
    return true;
}

bool TvdrStringList::InOrder(QByteArrayView previous, QByteArrayView next, const QString &previousLine,
                             const QString &nextLine) const {
    if (!m_sorted)
        return UnsortedInOrder(previous, next, previousLine, nextLine);
    bool decided = false;
    const int c = CompareTextBytes(previous, next, decided);
    return decided ? c < 0 : CompareText(previousLine, nextLine) < 0;
}

bool TvdrStringList::UnsortedInOrder(QByteArrayView, QByteArrayView, const QString &previousLine,
                                     const QString &nextLine) const {
    return UnsortedInOrder(previousLine, nextLine);
}

void TvdrStringList::ReorderUnsorted(QStringList &) const {}

void TvdrStringList::ReorderLines(const std::function<bool(const QString &, const QString &)> &less) {
    TvdrWriteGuard guard(m_lock);
    CheckUnsorted();
    std::stable_sort(m_lines.begin(), m_lines.end(), less);
}

void TvdrStringList::ReplaceLines(QStringList lines, bool ordered) {
    // Written by this program the rows are in order already, so the common
    // case is one linear check.
    if (!ordered) {
        ordered = true;
        for (qsizetype i = 1; i < lines.size() && ordered; ++i)
            ordered = InOrder(lines[i - 1], lines[i]);
    }
    if (!ordered)
        Reorder(lines);
    m_lines = std::move(lines);
}

void TvdrStringList::CheckIndex(int index, int count) const {
    if (index < 0 || index >= count)
        throw EvdrError(QStringLiteral("List index (%1) is out of bounds (%2 lines in %3)")
                            .arg(index)
                            .arg(m_lines.size())
                            .arg(m_streamId.isEmpty() ? QStringLiteral("the list") : m_streamId));
}

void TvdrStringList::CheckUnsorted() const {
    if (m_sorted)
        throw EvdrError(QStringLiteral("Operation not allowed on sorted list %1").arg(m_streamId).trimmed());
}
