#pragma once

#include "vdrLock.h"
#include "vdrRows.h"

#include <QString>
#include <QStringList>

#include <functional>

class TkvxStreamFile;

// An ordered list of text lines bound to one stream of the container: the
// base of every table. Loaded whole and saved whole; in the stream every line
// ends with CR LF and the text is code page 1252. The lines are held as the
// stream holds them (TvdrRows), so a line holds what a reload gives back: a
// character 1252 cannot hold is "?" as soon as it is added.
//
// Sorted lists keep their lines in ascending CompareText order; a line added
// to one that CompareText finds equal to a line it holds is not added. A line
// must not contain CR, LF or NUL: it would come back as several lines (or
// cut short) after a reload, so free text is escaped by its owner first.
//
// Every operation takes the list's lock; the lock is recursive for its
// writer, so operations may call one another while it is held.
class TvdrStringList {
public:
    explicit TvdrStringList(const QString &streamId = QString());
    virtual ~TvdrStringList();
    TvdrStringList(const TvdrStringList &) = delete;
    TvdrStringList &operator=(const TvdrStringList &) = delete;

    QString StreamId() const;
    void SetStreamId(const QString &streamId);
    // Not owned; must stay alive while it is set. Null leaves the list unbound.
    TkvxStreamFile *StreamFile() const;
    void SetStreamFile(TkvxStreamFile *streamFile);
    TvdrLock &Lock() const { return m_lock; }

    bool Sorted() const;
    // Switching on sorts the lines and keeps every one, equal ones too; only
    // lines added afterwards are dropped when equal to one already there.
    void SetSorted(bool sorted);

    // Both do nothing while the list is unbound. A missing or damaged stream
    // loads as an empty list and raises nothing; a damaged one is kept aside
    // first (NoteUnreadableStream). Save lets container errors through.
    void Load();
    // Writes the stream, unless the lines are known to be those it holds and
    // the block would go back where it lies: then it would change no byte.
    void Save();
    // While the lines are those the stream holds (after a Load that read
    // them exactly, or a Save, until any change of them or of the stream):
    // a mark of that state; -1 otherwise.
    qint64 StoredMark() const;
    // Save, where the lines were as stored at `mark` and `unchanged` is the
    // caller's word that its changes since left every line as it was, knows
    // them to be as stored again.
    void SaveUnlessUnchanged(qint64 mark, bool unchanged);
    // What the last Load found wrong with a stream that is there but could not
    // be read, as one sentence; empty after a sound or missing stream.
    QString LoadProblem() const;

    // Load in three steps, so that the middle one, which touches nothing but
    // its job, can run on another thread for several tables at once
    // (BindTables). Load is the three in a row.
    struct TLoadJob {
        bool Bound = false;  // unbound, the list is left as it is
        bool Closed = false; // a closed container holds no rows
        QByteArray Block;    // as stored: length and zlib data
        TvdrRows Rows;
        bool Ordered = false;
        QString Error; // why the stream could not be read
    };
    TLoadJob ReadForLoad() const;
    void DecodeForLoad(TLoadJob &job) const;
    void FinishLoad(TLoadJob &job);

    // Appends, or on a sorted list inserts in order; returns the line's index.
    // On a sorted list an equal line adds nothing and its index is returned.
    int Add(const QString &line);
    // Adds every line as Add does, one after the other, but in one merge
    // with the list instead of an insert into its middle per line.
    void AddLines(const QStringList &lines);
    void AddRows(TvdrRows rows);
    // Not allowed on a sorted list. `index` may be Count() to append.
    void Insert(int index, const QString &line);
    void Clear();
    void Delete(int index);
    int Count() const;
    QString Get(int index) const;
    // Not allowed on a sorted list.
    void Put(int index, const QString &line);

    // The lines as they are now, for a walk over many of them without a lock
    // per line: the copy shares the list until either side changes.
    TvdrRows Snapshot() const;

    // Every line followed by CR LF.
    QString Text() const;
    // Replaces all lines, exactly as Load does with a stream's text.
    void SetText(const QString &text);

    // Binary search of a sorted list: whether `line` is present, and in
    // `index` where it is or would be inserted.
    bool Find(const QString &line, int &index) const;
    // Index of the line equal to `line` under CompareText, or -1.
    int IndexOf(const QString &line) const;

    // The shape of this table's rows, for a check of a stream's text
    // (vdrDatabaseCheck): why `row` is not of that shape, empty when it is.
    virtual QString RowProblem(const QString &row) const;
    // The key a look-up finds a well-shaped `row` by; empty when rows are
    // not found by a key or may share one.
    virtual QString RowKey(const QString &row) const;

    // The line model: a line ends at CR, LF or CR LF; NUL ends the text; a
    // break at the very end makes no further empty line.
    static QStringList SplitLines(const QString &text);

protected:
    // The one binary search of the tables, over `rows` in ascending order of
    // `compare(row)`, which gives CompareText of the row's key against the
    // wanted one: whether a row matches, and in `index` the first match or
    // where the key belongs. A key past the last row is found at once.
    template <class Compare> static bool SearchRows(const TvdrRows &rows, int &index, Compare compare);

    // For derived classes that already hold the lock (or must not take it).
    const TvdrRows &Lines() const { return m_rows; }
    // Replaces every line with `rows`, which are in the list's order
    // already. Under the write lock.
    void SetLines(TvdrRows rows);

    // Whether `next` may follow `previous` in the order the list promises,
    // and bringing loaded lines that are out of it into it. A sorted list
    // keeps CompareText order without equal lines; an unsorted one the order
    // its derived class gives below. Called under the lock.
    bool InOrder(QByteArrayView previous, QByteArrayView next) const;
    void Reorder(TvdrRows &rows) const;
    virtual bool UnsortedInOrder(QByteArrayView previous, QByteArrayView next) const;
    virtual void ReorderUnsorted(TvdrRows &rows) const;
    // Puts the lines of an unsorted list in the order of `less` (stable).
    void ReorderLines(const std::function<bool(QByteArrayView, QByteArrayView)> &less);

private:
    // `ordered`: the lines were found in order already.
    void ReplaceLines(TvdrRows rows, bool ordered = false);
    // The stream's lines, checked for length and order in one pass.
    TvdrRows LoadLines(QByteArray bytes, bool &ordered) const;
    void CheckIndex(int index, int count) const;
    void CheckUnsorted() const;
    // The lines, for a change: counts it.
    TvdrRows &Changing();

    mutable TvdrLock m_lock;
    QString m_streamId;
    TkvxStreamFile *m_streamFile = nullptr;
    bool m_sorted = false;
    TvdrRows m_rows;
    bool IsStored() const;
    void MarkStored();

    // Changes so far, and their count when the lines were last those the
    // stream holds; -1 while that is not known. That knowledge holds while
    // the stream's TkvxStreamFile::Version stays what it was then.
    qint64 m_generation = 0;
    qint64 m_storedGeneration = -1;
    quint64 m_storedVersion = 0;
    QString m_loadProblem;
};

template <class Compare> bool TvdrStringList::SearchRows(const TvdrRows &rows, int &index, Compare compare) {
    int lo = 0;
    int hi = int(rows.size()) - 1;
    // Rows written in key order (a new event, an import) go at the end.
    if (hi < 0 || compare(rows.At(hi)) < 0) {
        index = hi + 1;
        return false;
    }
    bool found = false;
    while (lo <= hi) {
        const int mid = lo + (hi - lo) / 2;
        const int c = compare(rows.At(mid));
        if (c < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (c == 0)
                found = true;
        }
    }
    index = lo;
    return found;
}
