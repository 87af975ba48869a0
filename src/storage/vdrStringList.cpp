#include "vdrStringList.h"

#include "kvxStreamFile.h"
#include "vdrCodePage.h"
#include "vdrCompareText.h"
#include "vdrError.h"
#include "vdrLimits.h"
#include "vdrLineModel.h"
#include "vdrStreamDamage.h"

#include <algorithm>
#include <utility>

namespace {

QString LongRowText(qsizetype row, qsizetype length) {
    return QStringLiteral("row %1 is %2 characters long, more than the %3 a row may hold")
        .arg(row)
        .arg(length)
        .arg(vdrLimits::kMaxRowLength);
}

// CompareText order, for sorts over stored rows.
bool BytesLess(QByteArrayView a, QByteArrayView b) {
    return CompareText(a, b) < 0;
}

// Into CompareText order; of equal rows the first stays.
void SortDroppingEqual(TvdrRows &rows) {
    rows.StableSort(BytesLess);
    std::vector<int> unique;
    unique.reserve(size_t(rows.size()));
    for (qsizetype j = 0; j < rows.size(); ++j)
        if (unique.empty() || !SameText(rows.At(unique.back()), rows.At(j)))
            unique.push_back(int(j));
    rows.Select(unique);
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
    m_storedGeneration = -1;
}

TkvxStreamFile *TvdrStringList::StreamFile() const {
    TvdrReadGuard guard(m_lock);
    return m_streamFile;
}

void TvdrStringList::SetStreamFile(TkvxStreamFile *streamFile) {
    TvdrWriteGuard guard(m_lock);
    m_streamFile = streamFile;
    m_storedGeneration = -1;
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
        Changing().StableSort(BytesLess);
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
        job.Rows = LoadLines(text, job.Ordered);
    } catch (const std::exception &e) {
        job.Rows.Clear();
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
    ReplaceLines(std::move(job.Rows), job.Error.isEmpty() && job.Ordered);
    // Rows in order, each ended by CR LF and nothing else: a save would
    // write back the very text it read.
    m_storedGeneration = -1;
    if (job.Error.isEmpty() && job.Ordered && m_rows.IsPacked())
        MarkStored();
}

// Each line is checked while it is fresh in the cache. The inflated text
// is the rows' buffer as it stands.
TvdrRows TvdrStringList::LoadLines(QByteArray bytes, bool &ordered) const {
    ordered = true;
    QByteArrayView previous;
    return TvdrRows::Split(std::move(bytes), [&](qsizetype index, QByteArrayView line) {
        if (line.size() > vdrLimits::kMaxRowLength)
            throw EvdrError(LongRowText(index, line.size()));
        if (ordered && index > 0)
            ordered = InOrder(previous, line);
        previous = line;
    });
}

QString TvdrStringList::LoadProblem() const {
    TvdrReadGuard guard(m_lock);
    return m_loadProblem;
}

void TvdrStringList::Save() {
    TvdrWriteGuard guard(m_lock);
    if (m_streamId.isEmpty() || !m_streamFile)
        return;
    if (IsStored() && m_streamFile->RewriteKeepsPlace(m_streamId, 0))
        return;
    for (qsizetype row = 0; row < m_rows.size(); ++row)
        if (const qsizetype length = m_rows.At(row).size(); length > vdrLimits::kMaxRowLength)
            throw EvdrError(
                QStringLiteral("%1 cannot be saved: %2").arg(m_streamId, LongRowText(row, length)));
    m_streamFile->WriteStream(m_streamId, 0, m_rows.StreamText());
    MarkStored();
}

bool TvdrStringList::IsStored() const {
    return m_storedGeneration == m_generation && m_streamFile &&
           m_storedVersion == m_streamFile->Version(m_streamId);
}

void TvdrStringList::MarkStored() {
    m_storedGeneration = m_generation;
    m_storedVersion = m_streamFile ? m_streamFile->Version(m_streamId) : 0;
}

qint64 TvdrStringList::StoredMark() const {
    TvdrReadGuard guard(m_lock);
    return IsStored() ? m_generation : -1;
}

void TvdrStringList::SaveUnlessUnchanged(qint64 mark, bool unchanged) {
    TvdrWriteGuard guard(m_lock);
    if (unchanged && mark >= 0 && mark == m_storedGeneration && m_streamFile &&
        m_storedVersion == m_streamFile->Version(m_streamId))
        MarkStored();
    Save();
}

TvdrRows &TvdrStringList::Changing() {
    ++m_generation;
    return m_rows;
}

int TvdrStringList::Add(const QString &line) {
    TvdrWriteGuard guard(m_lock);
    const QByteArray bytes = vdrCodePage::FromUnicode(line);
    if (!m_sorted) {
        Changing().Append(bytes);
        return int(m_rows.size()) - 1;
    }
    int index = 0;
    if (!Find(line, index))
        Changing().Insert(index, bytes);
    return index;
}

void TvdrStringList::AddLines(const QStringList &lines) {
    TvdrRows rows;
    for (const QString &line : lines)
        rows.Append(QStringView(line));
    AddRows(std::move(rows));
}

void TvdrStringList::AddRows(TvdrRows rows) {
    TvdrWriteGuard guard(m_lock);
    if (!m_sorted) {
        Changing().Absorb(std::move(rows));
        return;
    }
    // Of equal new rows the first is added, as Add one by one would. Rows
    // that come in order (an import of rows in key order) need no sort, and
    // when they all sort after the list's last they are appended.
    SortDroppingEqual(rows);
    if (rows.isEmpty())
        return;
    if (m_rows.isEmpty() || CompareText(m_rows.At(m_rows.size() - 1), rows.At(0)) < 0) {
        Changing().Absorb(std::move(rows));
        return;
    }
    const qsizetype old = m_rows.size();
    const qsizetype added = Changing().Absorb(std::move(rows));
    std::vector<int> merged;
    merged.reserve(size_t(m_rows.size()));
    qsizetype i = 0;
    qsizetype j = added;
    while (i < old && j < m_rows.size()) {
        const int c = CompareText(m_rows.At(i), m_rows.At(j));
        if (c < 0)
            merged.push_back(int(i++));
        else if (c > 0)
            merged.push_back(int(j++));
        else
            ++j; // equal to a line there: adds nothing
    }
    for (; i < old; ++i)
        merged.push_back(int(i));
    for (; j < m_rows.size(); ++j)
        merged.push_back(int(j));
    Changing().Select(merged);
}

void TvdrStringList::SetLines(TvdrRows rows) {
    TvdrWriteGuard guard(m_lock);
    Changing() = std::move(rows);
}

void TvdrStringList::Insert(int index, const QString &line) {
    TvdrWriteGuard guard(m_lock);
    CheckUnsorted();
    CheckIndex(index, int(m_rows.size()) + 1);
    Changing().Insert(index, vdrCodePage::FromUnicode(line));
}

void TvdrStringList::Clear() {
    TvdrWriteGuard guard(m_lock);
    Changing().Clear();
}

void TvdrStringList::Delete(int index) {
    TvdrWriteGuard guard(m_lock);
    CheckIndex(index, int(m_rows.size()));
    Changing().Remove(index);
}

int TvdrStringList::Count() const {
    TvdrReadGuard guard(m_lock);
    return int(m_rows.size());
}

QString TvdrStringList::Get(int index) const {
    TvdrReadGuard guard(m_lock);
    CheckIndex(index, int(m_rows.size()));
    return m_rows.Text(index);
}

void TvdrStringList::Put(int index, const QString &line) {
    TvdrWriteGuard guard(m_lock);
    CheckUnsorted();
    CheckIndex(index, int(m_rows.size()));
    Changing().Replace(index, vdrCodePage::FromUnicode(line));
}

TvdrRows TvdrStringList::Snapshot() const {
    TvdrReadGuard guard(m_lock);
    return m_rows;
}

QString TvdrStringList::Text() const {
    TvdrRows rows = Snapshot();
    return vdrCodePage::ToUnicode(rows.StreamText());
}

void TvdrStringList::SetText(const QString &text) {
    TvdrWriteGuard guard(m_lock);
    QByteArray bytes = vdrCodePage::FromUnicode(text);
    ReplaceLines(TvdrRows::Split(std::move(bytes), [](qsizetype, QByteArrayView) {}));
}

bool TvdrStringList::Find(const QString &line, int &index) const {
    TvdrReadGuard guard(m_lock);
    // As stored: a character the code page cannot hold finds the "?" that
    // stands for it.
    const QByteArray bytes = vdrCodePage::FromUnicode(line);
    return SearchRows(m_rows, index, [&bytes](QByteArrayView row) { return CompareText(row, bytes); });
}

int TvdrStringList::IndexOf(const QString &line) const {
    TvdrReadGuard guard(m_lock);
    if (m_sorted) {
        int index = 0;
        return Find(line, index) ? index : -1;
    }
    const QByteArray bytes = vdrCodePage::FromUnicode(line);
    for (int i = 0; i < int(m_rows.size()); ++i)
        if (SameText(m_rows.At(i), bytes))
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

bool TvdrStringList::InOrder(QByteArrayView previous, QByteArrayView next) const {
    return m_sorted ? CompareText(previous, next) < 0 : UnsortedInOrder(previous, next);
}

void TvdrStringList::Reorder(TvdrRows &rows) const {
    if (!m_sorted) {
        ReorderUnsorted(rows);
        return;
    }
    SortDroppingEqual(rows);
}

bool TvdrStringList::UnsortedInOrder(QByteArrayView, QByteArrayView) const {
    return true;
}

void TvdrStringList::ReorderUnsorted(TvdrRows &) const {}

void TvdrStringList::ReorderLines(const std::function<bool(QByteArrayView, QByteArrayView)> &less) {
    TvdrWriteGuard guard(m_lock);
    CheckUnsorted();
    Changing().StableSort(less);
}

void TvdrStringList::ReplaceLines(TvdrRows rows, bool ordered) {
    // Written by this program the rows are in order already, so the common
    // case is one linear check.
    if (!ordered) {
        ordered = true;
        for (qsizetype i = 1; i < rows.size() && ordered; ++i)
            ordered = InOrder(rows.At(i - 1), rows.At(i));
    }
    if (!ordered)
        Reorder(rows);
    Changing() = std::move(rows);
}

void TvdrStringList::CheckIndex(int index, int count) const {
    if (index < 0 || index >= count)
        throw EvdrError(QStringLiteral("List index (%1) is out of bounds (%2 lines in %3)")
                            .arg(index)
                            .arg(m_rows.size())
                            .arg(m_streamId.isEmpty() ? QStringLiteral("the list") : m_streamId));
}

void TvdrStringList::CheckUnsorted() const {
    if (m_sorted)
        throw EvdrError(QStringLiteral("Operation not allowed on sorted list %1").arg(m_streamId).trimmed());
}
